#include "recorddue.h"

#include "calibrecord.h"
#include "recordschema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

bool dueEntries(CalibRecord &record, const QDate &today, int withinDays, QList<DueEntry> &due)
{
    due.clear();
    if (!record.open())
        return false;
    const QString columns = entryColumns().join(u", ");
    // Per serial number, its newest verified entry: one step down the index on (serial,
    // started_at) each, where a window function over the whole record would sort all of it.
    // Dates are "YYYY-MM-DD" text, which compares in date order.
    const QString sql =
        QStringLiteral("SELECT %1 FROM %2 WHERE id IN (SELECT (SELECT id FROM %2 AS newest WHERE "
                       "newest.serial = serials.serial AND newest.outcome = '%3' ORDER BY "
                       "newest.started_at DESC, newest.id DESC LIMIT 1) FROM (SELECT DISTINCT "
                       "serial FROM %2 WHERE serial IS NOT NULL) AS serials) AND expiration_asked "
                       "<= ? ORDER BY expiration_asked, serial")
            .arg(columns, RecordTable, outcomeText(RecordOutcome::Verified));
    QSqlQuery query(record.database());
    query.setForwardOnly(true);
    query.prepare(sql);
    query.addBindValue(dateText(today.addDays(withinDays)));
    if (!query.exec())
        return record.fail(CalibRecord::tr("cannot be read"), query.lastError());
    while (query.next()) {
        const RecordEntry entry = entryFromRow(query.record());
        due << DueEntry{entry, today.daysTo(entry.expirationAsked)};
    }
    return query.lastError().type() == QSqlError::NoError
        || record.fail(CalibRecord::tr("cannot be read"), query.lastError());
}
