#include "recordcommands.h"

#include "calibrecord.h"
#include "duecalendar.h"
#include "recordchain.h"
#include "recorddue.h"
#include "recordhistory.h"
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
