#include "recordcommands.h"

#include "calibrecord.h"
#include "certificate.h"
#include "duecalendar.h"
#include "recordchain.h"
#include "recorddue.h"
#include "recordhistory.h"
#include "recordrelease.h"
#include "tooltext.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {

QJsonObject dueJson(const DueEntry &due)
{
    const auto text = [](const QString &t) { return t.isEmpty() ? QJsonValue() : QJsonValue(t); };
    const RecordEntry &e = due.entry;
    return {{QStringLiteral("serial"), e.serial},
            {QStringLiteral("model"), text(e.model)},
            {QStringLiteral("calibration_date"), text(dateText(e.calibrationAsked))},
            {QStringLiteral("expiration_date"), dateText(e.expirationAsked)},
            {QStringLiteral("days_left"), due.daysLeft},
            {QStringLiteral("certificate"), text(e.certificate)},
            {QStringLiteral("technician"), text(e.technician)}};
}

QByteArray dueText(const QList<DueEntry> &due, const ToolOptions &options)
{
    if (options.ics)
        return dueCalendar(due, QDateTime::currentDateTimeUtc());
    if (options.json) {
        QJsonArray array;
        for (const DueEntry &entry : due)
            array << dueJson(entry);
        return QJsonDocument(array).toJson(QJsonDocument::Compact) + '\n';
    }
    const QStringList keys{"serial",    "model",       "calibration_date", "expiration_date",
                           "days_left", "certificate", "technician"};
    QByteArray text = options.csv ? csvLine(keys) : QByteArray();
    for (const DueEntry &entry : due) {
        const QJsonObject object = dueJson(entry);
        QStringList fields;
        for (const QString &key : keys) {
            const QJsonValue field = object.value(key);
            fields << (field.isDouble() ? QString::number(field.toInteger()) : field.toString());
        }
        if (options.csv) {
            text += csvLine(fields);
            continue;
        }
        const qint64 days = entry.daysLeft;
        text += QStringLiteral("%1  %2  %3  %4  %5  %6\n")
                    .arg(fields[3], fields[0].leftJustified(10), fields[1].leftJustified(14),
                         days < 0 ? ToolText::tr("expired %n days ago", nullptr, int(-days))
                                  : ToolText::tr("due in %n days", nullptr, int(days)),
                         fields[5], fields[6])
                    .toUtf8();
    }
    return text;
}

} // namespace

std::optional<RecordEntry> namedEntry(CalibRecord &record, const QString &id)
{
    bool isNumber = false;
    const qint64 number = id.toLongLong(&isNumber);
    const std::optional<qint64> entryId =
        isNumber ? std::optional<qint64>(number) : idOfCertificate(id);
    std::optional<RecordEntry> entry = entryId ? readEntry(record, *entryId) : std::nullopt;
    if (!entry && !record.errorText().isEmpty()) {
        printError(record.errorText());
        return std::nullopt;
    }
    if (!entry || (!isNumber && entry->certificate != id)) {
        printError(ToolText::tr("the calibration record holds no entry \"%1\"").arg(id));
        return std::nullopt;
    }
    return entry;
}

int verifyRecord(const RecordSettings &settings, const ToolOptions &options)
{
    CalibRecord record(settings);
    const ChainVerdict verdict = verifyChain(record);
    switch (verdict.kind) {
    case ChainVerdict::Kind::Intact:
        if (!options.quiet)
            std::printf("%s\n", qPrintable(verdict.text()));
        return ExitDone;
    case ChainVerdict::Kind::Broken:
        printError(verdict.text());
        return ExitNotHeld;
    case ChainVerdict::Kind::Unreadable:
        break;
    }
    printError(verdict.text());
    return ExitUsage;
}

int listDue(const RecordSettings &settings, const ToolOptions &options)
{
    CalibRecord record(settings);
    QList<DueEntry> due;
    if (!dueEntries(record, QDate::currentDate(), options.withinDays, due)) {
        printError(record.errorText());
        return ExitUsage;
    }
    const QByteArray text = dueText(due, options);
    const bool machine = options.json || options.csv || options.ics;
    if ((machine || !options.quiet)
        && std::fwrite(text.constData(), 1, size_t(text.size()), stdout) != size_t(text.size())) {
        printError(ToolText::tr("standard output cannot be written"));
        return ExitUsage;
    }
    return ExitDone;
}

int releaseEntry(const RecordSettings &settings, const ToolOptions &options)
{
    CalibRecord record(settings);
    const std::optional<RecordEntry> entry = namedEntry(record, options.entryId);
    if (!entry)
        return ExitUsage;
    RecordEntry released;
    switch (record.release(entry->id, Releaser::thisAccount(), QDateTime::currentDateTimeUtc(),
                           released)) {
    case CalibRecord::Release::Done:
        if (!options.quiet)
            std::printf("%s\n",
                        qPrintable(ToolText::tr("entry %1 (%2) released by %3")
                                       .arg(QString::number(released.id), released.certificate,
                                            released.releasedBy)));
        return ExitDone;
    case CalibRecord::Release::Refused:
        printError(record.errorText());
        return ExitRefused;
    case CalibRecord::Release::Failed:
        break;
    }
    printError(record.errorText());
    return ExitUsage;
}

int checkCertificate(const RecordSettings &settings, const ToolOptions &options)
{
    QString error;
    const std::optional<CertificateMark> mark = readCertificateMark(options.checkFile, error);
    if (!mark) {
        printError(error);
        return ExitUsage;
    }
    const auto broken = [&](const QString &why) {
        printError(QStringLiteral("%1: %2").arg(mark->certificate, why));
        return ExitNotHeld;
    };
    CalibRecord record(settings);
    const std::optional<qint64> id = idOfCertificate(mark->certificate);
    const std::optional<RecordEntry> entry = id ? readEntry(record, *id) : std::nullopt;
    if (!entry && !record.errorText().isEmpty()) {
        printError(record.errorText());
        return ExitUsage;
    }
    if (!entry || entry->certificate != mark->certificate)
        return broken(ToolText::tr("the calibration record holds no entry of this certificate"));
    // Whoever rewrote the entry and its chain could not rewrite the paper.
    if (entry->hash != mark->hash)
        return broken(ToolText::tr("entry %1 of the record no longer gives the certificate's "
                                   "hash: it was changed since")
                          .arg(entry->id));
    const ChainVerdict verdict = verifyChain(record, entry->chainSeq);
    switch (verdict.kind) {
    case ChainVerdict::Kind::Intact:
        break;
    case ChainVerdict::Kind::Broken:
        return broken(ToolText::tr("chain %1").arg(verdict.text()));
    case ChainVerdict::Kind::Unreadable:
        printError(verdict.text());
        return ExitUsage;
    }
    QString line =
        ToolText::tr("%1: matches entry %2 of the record; chain intact (%3 entries)")
            .arg(mark->certificate, QString::number(entry->id), QString::number(verdict.entries));
    // Who signed it; whether the signature still holds is pdfsig's check.
    if (!mark->signer.isEmpty())
        line += ToolText::tr("; signed by %1").arg(mark->signer);
    if (!options.quiet)
        std::printf("%s\n", qPrintable(line));
    return ExitDone;
}
