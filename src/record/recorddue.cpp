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
    // Dates are "YYYY-MM-DD" text, which compares in date order.
    const QString sql =
        QStringLiteral("SELECT %1 FROM (SELECT %1, ROW_NUMBER() OVER (PARTITION BY serial ORDER "
                       "BY started_at DESC, id DESC) AS newest FROM %2 WHERE outcome = '%3' AND "
                       "serial IS NOT NULL) AS latest WHERE newest = 1 AND expiration_asked <= ? "
                       "ORDER BY expiration_asked, serial")
            .arg(columns, RecordTable, outcomeText(RecordOutcome::Verified));
    QSqlQuery query(record.database());
    query.setForwardOnly(true);
    query.prepare(sql);
    query.addBindValue(dateText(today.addDays(withinDays)));
    if (!query.exec())
        return record.fail(QStringLiteral("cannot be read"), query.lastError());
    while (query.next()) {
        const RecordEntry entry = entryFromRow(query.record());
        due << DueEntry{entry, today.daysTo(entry.expirationAsked)};
    }
    return query.lastError().type() == QSqlError::NoError
        || record.fail(QStringLiteral("cannot be read"), query.lastError());
}
