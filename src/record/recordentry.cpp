#include "recordentry.h"

#include "account.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSysInfo>

#include <array>
#include <utility>

namespace {

const std::array<std::pair<RecordOutcome, QLatin1StringView>, 6> OutcomeWords{{
    {RecordOutcome::Open, QLatin1StringView(QT_TRANSLATE_NOOP("RecordEntry", "open"))},
    {RecordOutcome::Verified, QLatin1StringView(QT_TRANSLATE_NOOP("RecordEntry", "verified"))},
    {RecordOutcome::Mismatch, QLatin1StringView(QT_TRANSLATE_NOOP("RecordEntry", "mismatch"))},
    {RecordOutcome::Failed, QLatin1StringView(QT_TRANSLATE_NOOP("RecordEntry", "failed"))},
    {RecordOutcome::Refused, QLatin1StringView(QT_TRANSLATE_NOOP("RecordEntry", "refused"))},
    {RecordOutcome::Interrupted,
     QLatin1StringView(QT_TRANSLATE_NOOP("RecordEntry", "interrupted"))},
}};

const std::array<std::pair<RecordSource, QLatin1StringView>, 2> SourceWords{{
    {RecordSource::Window, QLatin1StringView(QT_TRANSLATE_NOOP("RecordEntry", "window"))},
    {RecordSource::Tool, QLatin1StringView(QT_TRANSLATE_NOOP("RecordEntry", "tool"))},
}};

template<typename Value, std::size_t N>
QString wordOf(const std::array<std::pair<Value, QLatin1StringView>, N> &words, Value value)
{
    for (const auto &[v, word] : words) {
        if (v == value)
            return word;
    }
    return {};
}

template<typename Value, std::size_t N>
std::optional<Value> valueOf(const std::array<std::pair<Value, QLatin1StringView>, N> &words,
                             const QString &text)
{
    for (const auto &[v, word] : words) {
        if (text == word)
            return v;
    }
    return std::nullopt;
}

} // namespace

RecordEntry RecordEntry::startedNow(RecordSource source)
{
    RecordEntry entry;
    entry.startedAt = QDateTime::currentDateTimeUtc();
    entry.account = accountName();
    entry.technician = personName();
    entry.host = QSysInfo::machineHostName();
    entry.programVersion = QStringLiteral(VELTRA_VERSION);
    entry.source = source;
    return entry;
}

QString certificateNumber(const QDateTime &startedAt, qint64 id)
{
    return QStringLiteral("VC-%1-%2")
        .arg(startedAt.toUTC().date().year())
        .arg(id, 6, 10, QLatin1Char('0'));
}

std::optional<qint64> idOfCertificate(const QString &certificate)
{
    static const QRegularExpression Pattern(QStringLiteral("^VC-\\d{4}-(\\d{6,})$"));
    const QRegularExpressionMatch match = Pattern.match(certificate);
    bool ok = false;
    const qint64 id = match.hasMatch() ? match.captured(1).toLongLong(&ok) : 0;
    return ok ? std::optional<qint64>(id) : std::nullopt;
}

QString outcomeText(RecordOutcome outcome)
{
    return wordOf(OutcomeWords, outcome);
}
std::optional<RecordOutcome> outcomeFromText(const QString &text)
{
    return valueOf(OutcomeWords, text);
}
QString sourceText(RecordSource source)
{
    return wordOf(SourceWords, source);
}
std::optional<RecordSource> sourceFromText(const QString &text)
{
    return valueOf(SourceWords, text);
}

QString outcomeShown(RecordOutcome outcome)
{
    return QCoreApplication::translate("RecordEntry", qPrintable(outcomeText(outcome)));
}
QString sourceShown(RecordSource source)
{
    return QCoreApplication::translate("RecordEntry", qPrintable(sourceText(source)));
}

QString instantText(const QDateTime &instant)
{
    return instant.isValid() ? instant.toUTC().toString(Qt::ISODateWithMs) : QString();
}

QDateTime instantFromText(const QString &text)
{
    return QDateTime::fromString(text, Qt::ISODateWithMs).toUTC();
}

QString dateText(const QDate &date)
{
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

QDate dateFromText(const QString &text)
{
    return QDate::fromString(text, Qt::ISODate);
}
