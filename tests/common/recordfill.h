#pragma once
// Fills a calibration record with many entries in one transaction, for the history's tests and
// benchmark: entry i has serial number "1<i mod 500>", starts i minutes after 2020-01-01 00:00 UTC
// and is verified with an expiration date a year after its calibration date, except every tenth,
// which is left open (reads as interrupted). The verified entries are chained after whatever the
// record held, as completing them one by one would.

#include "calibrecord.h"
#include "recordchain.h"
#include "recordschema.h"

#include <QSqlQuery>
#include <QTimeZone>

inline bool fillRecord(CalibRecord &record, int count)
{
    if (!record.open())
        return false;
    QSqlDatabase db = record.database();
    db.transaction();
    QSqlQuery query(db);
    ChainTail tail;
    if (!readChainTail(query, tail)
        || !query.exec(QStringLiteral("SELECT MAX(id) FROM %1").arg(RecordTable)) || !query.next())
        return false;
    const qint64 firstId = query.value(0).toLongLong() + 1;
    query.finish();

    const QStringList columns =
        QStringList{QStringLiteral("id")} + recordColumns() + chainColumns();
    QList<QVariantList> values(columns.size());
    const QDateTime first(QDate(2020, 1, 1), QTime(0, 0), QTimeZone::utc());
    for (int i = 0; i < count; ++i) {
        RecordEntry e = RecordEntry::startedNow(RecordSource::Window);
        e.id = firstId + i;
        e.startedAt = first.addSecs(60LL * i);
        e.serial = QStringLiteral("1%1").arg(i % 500, 3, 10, QLatin1Char('0'));
        e.model = QStringLiteral("Veltra KX-2");
        e.port = 1;
        e.calibrationBefore = QDate(2019, 1, 1);
        e.calibrationAsked = e.calibrationReadBack = QDate(2020, 1, 1).addDays(i / 1440);
        QVariantList chain{
            QVariant(QMetaType::fromType<QString>()), QVariant(QMetaType::fromType<qlonglong>()),
            QVariant(QMetaType::fromType<QString>()), QVariant(QMetaType::fromType<QString>())};
        if (i % 10 != 0) {
            e.expirationAsked = e.expirationReadBack = e.calibrationAsked.addYears(1);
            e.finishedAt = e.startedAt.addSecs(4);
            e.outcome = RecordOutcome::Verified;
            e.certificate = certificateNumber(e.startedAt, e.id);
            const QVariantList hashed = hashedValues(e, tail.seq + 1, tail.hash);
            tail = ChainTail{tail.seq + 1, chainHash(hashed)};
            chain = hashed.mid(hashed.size() - 3) << tail.hash;
        }
        const QVariantList row = QVariantList{e.id} + rowValues(e) + chain;
        for (qsizetype c = 0; c < columns.size(); ++c)
            values[c] << row[c];
    }
    QStringList marks;
    marks.fill(QStringLiteral("?"), columns.size());
    query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(RecordTable, columns.join(u", "), marks.join(u", ")));
    for (const QVariantList &column : values)
        query.addBindValue(column);
    if (!query.execBatch())
        return false;
    // The ids were given here: the server's own numbering goes on after them.
    if (record.settings().isPostgres()
        && !query.exec(QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', 'id'), "
                                      "(SELECT MAX(id) FROM %1))")
                           .arg(RecordTable)))
        return false;
    query.finish();
    return db.commit();
}
