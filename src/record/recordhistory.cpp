#include "recordhistory.h"

#include "calibrecord.h"
#include "recordschema.h"

#include <QIODevice>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

using ExportFields = QList<std::pair<QString, QJsonValue>>;

// The exported fields of an entry, in order: texts, numbers, and null where there is none.
ExportFields exportFields(const RecordEntry &e)
{
    const auto text = [](const QString &t) { return t.isEmpty() ? QJsonValue() : QJsonValue(t); };
    const auto date = [&](const QDate &d) { return text(dateText(d)); };
    return {
        {QStringLiteral("started_at"), text(instantText(e.startedAt))},
        {QStringLiteral("finished_at"), text(instantText(e.finishedAt))},
        {QStringLiteral("account"), e.account},
        {QStringLiteral("host"), e.host},
        {QStringLiteral("source"), sourceText(e.source)},
        {QStringLiteral("port"), e.port ? QJsonValue(*e.port) : QJsonValue()},
        {QStringLiteral("device"), text(e.device)},
        {QStringLiteral("model"), text(e.model)},
        {QStringLiteral("serial"), text(e.serial)},
        {QStringLiteral("firmware"), e.firmware ? QJsonValue(*e.firmware) : QJsonValue()},
        {QStringLiteral("checksum"), text(e.checksum)},
        {QStringLiteral("calibration_before"), date(e.calibrationBefore)},
        {QStringLiteral("expiration_before"), date(e.expirationBefore)},
        {QStringLiteral("calibration_asked"), date(e.calibrationAsked)},
        {QStringLiteral("expiration_asked"), date(e.expirationAsked)},
        {QStringLiteral("calibration_read_back"), date(e.calibrationReadBack)},
        {QStringLiteral("expiration_read_back"), date(e.expirationReadBack)},
        {QStringLiteral("outcome"), outcomeText(e.outcome)},
        {QStringLiteral("detail"), text(e.detail)},
        {QStringLiteral("program_version"), e.programVersion},
        {QStringLiteral("id"), e.id},
        {QStringLiteral("certificate"), text(e.certificate)},
        {QStringLiteral("technician"), text(e.technician)},
        {QStringLiteral("reference"), text(e.reference)},
        {QStringLiteral("hash"), text(e.hash)},
        {QStringLiteral("released_by"), text(e.releasedBy)},
        {QStringLiteral("released_at"), text(instantText(e.releasedAt))},
    };
}

QStringList csvTexts(const ExportFields &fields)
{
    QStringList texts;
    for (const auto &[key, value] : fields)
        texts << (value.isDouble() ? QString::number(value.toDouble(), 'g', 15) : value.toString());
    return texts;
}

bool writeAll(QIODevice &out, const QByteArray &bytes)
{
    return out.write(bytes) == bytes.size();
}

} // namespace

QByteArray csvLine(const QStringList &texts)
{
    QByteArrayList fields;
    for (QString text : texts) {
        if (text.contains(u'"') || text.contains(u',') || text.contains(u'\r')
            || text.contains(u'\n'))
            text = u'"' + text.replace(u'"', QStringLiteral("\"\"")) + u'"';
        fields << text.toUtf8();
    }
    return fields.join(',') + "\r\n";
}

QString historyCondition(const HistoryFilter &filter)
{
    QStringList conditions;
    if (!filter.serial.isEmpty()) {
        // substr compares exactly and alike on both databases; LIKE differs in case and escapes.
        conditions << (filter.serialPrefix
                           ? QStringLiteral("substr(serial, 1, %1) = ?").arg(filter.serial.size())
                           : QStringLiteral("serial = ?"));
    }
    if (filter.outcome) {
        // An entry never completed has no outcome stored.
        conditions << (*filter.outcome == RecordOutcome::Interrupted
                           ? QStringLiteral("outcome IS NULL")
                           : QStringLiteral("outcome = ?"));
    }
    return conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(u" AND ");
}

void bindHistoryFilter(QSqlQuery &query, const HistoryFilter &filter)
{
    if (!filter.serial.isEmpty())
        query.addBindValue(filter.serial);
    if (filter.outcome && *filter.outcome != RecordOutcome::Interrupted)
        query.addBindValue(outcomeText(*filter.outcome));
}

std::optional<RecordEntry> readEntry(CalibRecord &record, qint64 id)
{
    if (!record.open())
        return std::nullopt;
    QSqlQuery query(record.database());
    query.prepare(entrySelection() + QStringLiteral(" WHERE id = ?"));
    query.addBindValue(id);
    if (!query.exec()) {
        record.fail(CalibRecord::tr("cannot be read"), query.lastError());
        return std::nullopt;
    }
    if (!query.next())
        return std::nullopt;
    return entryFromRow(query.record());
}

bool forEachEntry(CalibRecord &record, const HistoryFilter &filter,
                  const std::function<bool(const RecordEntry &)> &visit)
{
    if (!record.open())
        return false;
    QSqlQuery query(record.database());
    query.setForwardOnly(true);
    const QString sql = entrySelection() + historyCondition(filter)
        + QStringLiteral(" ORDER BY started_at DESC, id DESC");
    query.prepare(sql);
    bindHistoryFilter(query, filter);
    if (!query.exec())
        return record.fail(CalibRecord::tr("cannot be read"), query.lastError());
    while (query.next()) {
        if (!visit(entryFromRow(query.record())))
            return true;
    }
    return query.lastError().type() == QSqlError::NoError
        || record.fail(CalibRecord::tr("cannot be read"), query.lastError());
}

QStringList exportKeys()
{
    QStringList keys;
    for (const auto &[key, value] : exportFields(RecordEntry()))
        keys << key;
    return keys;
}

bool writeCsv(CalibRecord &record, const HistoryFilter &filter, QIODevice &out)
{
    bool written = writeAll(out, csvLine(exportKeys()));
    return forEachEntry(record, filter,
                        [&](const RecordEntry &entry) {
                            written =
                                written && writeAll(out, csvLine(csvTexts(exportFields(entry))));
                            return written;
                        })
        && written;
}

bool writeJson(CalibRecord &record, const HistoryFilter &filter, QIODevice &out)
{
    bool written = writeAll(out, "[");
    bool first = true;
    const bool read = forEachEntry(record, filter, [&](const RecordEntry &entry) {
        QJsonObject object;
        for (const auto &[key, value] : exportFields(entry))
            object.insert(key, value);
        written =
            written
            && writeAll(
                out, (first ? "\n" : ",\n") + QJsonDocument(object).toJson(QJsonDocument::Compact));
        first = false;
        return written;
    });
    written = written && writeAll(out, "\n]\n");
    return read && written;
}
