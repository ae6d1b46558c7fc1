#pragma once
// Fills a calibration record with many entries in one transaction, for the history's tests and
// benchmark: entry i has serial number "1<i mod 500>", starts i minutes after 2020-01-01 00:00 UTC
// and is verified, except every tenth, which is left open (reads as interrupted).

#include "calibrecord.h"
#include "recordschema.h"

#include <QSqlQuery>
#include <QTimeZone>

inline bool fillRecord(CalibRecord &record, int count)
{
    if (!record.open())
        return false;
    QSqlDatabase db = record.database();
    const QStringList columns = recordColumns();
    QList<QVariantList> values(columns.size());
    const QDateTime first(QDate(2020, 1, 1), QTime(0, 0), QTimeZone::utc());
    for (int i = 0; i < count; ++i) {
        RecordEntry e = RecordEntry::startedNow(RecordSource::Window);
        e.startedAt = first.addSecs(60LL * i);
        e.serial = QStringLiteral("1%1").arg(i % 500, 3, 10, QLatin1Char('0'));
        e.model = QStringLiteral("Veltra KX-2");
        e.port = 1;
        e.calibrationBefore = QDate(2019, 1, 1);
        e.calibrationAsked = e.calibrationReadBack = QDate(2020, 1, 1).addDays(i / 1440);
        if (i % 10 != 0) {
            e.finishedAt = e.startedAt.addSecs(4);
            e.outcome = RecordOutcome::Verified;
        }
        const QVariantList row = rowValues(e);
        for (qsizetype c = 0; c < columns.size(); ++c)
            values[c] << row[c];
    }
    db.transaction();
    QSqlQuery insert(db);
    QStringList marks;
    marks.fill(QStringLiteral("?"), columns.size());
    insert.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                       .arg(RecordTable, columns.join(u", "), marks.join(u", ")));
    for (const QVariantList &column : values)
        insert.addBindValue(column);
    const bool inserted = insert.execBatch();
    insert.finish();
    return inserted && db.commit();
}
