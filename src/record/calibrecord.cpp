#include "calibrecord.h"

#include "recordchain.h"
#include "recordhistory.h"
#include "recordrelease.h"
#include "recordschema.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

// The one lock of a shared record: creating or upgrading the table and completing entries take
// it, so benches that complete at the same moment still build one chain.
constexpr int RecordLockKey = 7346519;

// SQLite's result codes for a file that is no database or whose pages are broken.
const QStringList SqliteDamaged{QStringLiteral("11"), QStringLiteral("26")};

QString uniqueConnectionName()
{
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("veltra-record-%1").arg(counter.fetchAndAddRelaxed(1));
}

QString placeholders(qsizetype count)
{
    QStringList marks;
    marks.fill(QStringLiteral("?"), count);
    return marks.join(u", ");
}

bool execBound(QSqlQuery &query, const QString &sql, const QVariantList &values)
{
    if (!query.prepare(sql))
        return false;
    for (const QVariant &value : values)
        query.addBindValue(value);
    return query.exec();
}

} // namespace

CalibRecord::CalibRecord(RecordSettings settings)
    : m_settings(std::move(settings)),
      m_connectionName(uniqueConnectionName())
{ }

CalibRecord::~CalibRecord()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

QSqlDatabase CalibRecord::database() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

bool CalibRecord::open()
{
    if (m_ready)
        return true;
    QSqlDatabase db = QSqlDatabase::contains(m_connectionName)
        ? QSqlDatabase::database(m_connectionName, false)
        : QSqlDatabase::addDatabase(m_settings.driver, m_connectionName);
    if (!db.isValid()) {
        m_error = tr("The calibration record cannot be used: the settings file names "
                     "the database driver \"%1\" (section [Record], key Driver); "
                     "QSQLITE or QPSQL are known.")
                      .arg(m_settings.driver);
        return false;
    }
    if (!openConnection(db))
        return false;
    if (!m_settings.isPostgres() && !prepareSqlite(db))
        return false;
    if (!createTable(db))
        return false;
    m_ready = true;
    return true;
}

bool CalibRecord::openConnection(QSqlDatabase &db)
{
    db.close();
    if (m_settings.isPostgres()) {
        db.setHostName(m_settings.host);
        db.setPort(m_settings.port);
        db.setDatabaseName(m_settings.database);
        db.setUserName(m_settings.user);
        // A server that does not answer must not hold the write for long.
        db.setConnectOptions(QStringLiteral("connect_timeout=5"));
    } else {
        // SQLite makes the file, but not its folder.
        if (!QFileInfo(QFileInfo(m_settings.sqliteFile).absolutePath()).isDir())
            return fail(tr("cannot be created (its folder is missing)"), QSqlError());
        db.setDatabaseName(m_settings.sqliteFile);
    }
    if (!db.open())
        return fail(m_settings.isPostgres() ? tr("cannot be reached") : tr("cannot be opened"),
                    db.lastError());
    return true;
}

// Reads before it writes: the version check is the first thing to touch the file, so a file
// that is no record fails here and nothing is ever written into it.
bool CalibRecord::prepareSqlite(QSqlDatabase &db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return fail(tr("cannot be opened"), query.lastError());
    const int version = query.value(0).toInt();
    if (version > RecordSchemaVersion) {
        m_error = tr("The calibration record %1 was made by a newer version of this "
                     "program (format %2); this one knows format %3 and leaves it as it is.")
                      .arg(m_settings.describe())
                      .arg(version)
                      .arg(RecordSchemaVersion);
        return false;
    }
    // Readers never block the writer. A read-only file keeps its journal mode: reading it still
    // works, and the first write says why it cannot be made.
    query.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    return true;
}

int CalibRecord::format(QSqlDatabase &db)
{
    if (!db.tables().contains(RecordTable))
        return 0;
    if (m_settings.isPostgres()) {
        if (db.tables().contains(ReleaseTable))
            return 3;
        return db.record(RecordTable).contains(QStringLiteral("hash")) ? 2 : 1;
    }
    // A table without a version stamp is of the first format.
    QSqlQuery query(db);
    return query.exec(QStringLiteral("PRAGMA user_version")) && query.next()
        ? qMax(1, query.value(0).toInt())
        : 1;
}

bool CalibRecord::createTable(QSqlDatabase &db)
{
    if (format(db) == RecordSchemaVersion)
        return true;
    if (const QSqlError error = beginLocked(db); error.type() != QSqlError::NoError)
        return failWrite(db, error);
    QSqlQuery query(db);
    // Another bench may have made or upgraded it while this one waited for the lock.
    const int found = format(db);
    const QStringList statements = found == 0 ? createTableStatements(m_settings.isPostgres())
        : found < RecordSchemaVersion         ? upgradeStatements(m_settings.isPostgres(), found)
                                              : QStringList();
    for (const QString &statement : statements) {
        if (!query.exec(statement))
            return failWrite(db, query.lastError());
    }
    if (found == 1 && !chainFormerEntries(query))
        return failWrite(db, query.lastError());
    if (!m_settings.isPostgres()
        && !query.exec(QStringLiteral("PRAGMA user_version = %1").arg(RecordSchemaVersion)))
        return failWrite(db, query.lastError());
    query.finish();
    if (!db.commit())
        return failWrite(db, db.lastError());
    return true;
}

// Entries completed before the chain existed join it in the order they were completed. They
// named no technician: the account stands in, as it does for an account without a full name.
bool CalibRecord::chainFormerEntries(QSqlQuery &query)
{
    if (!query.exec(QStringLiteral("SELECT id, %1 FROM %2 WHERE outcome IS NOT NULL ORDER BY "
                                   "COALESCE(finished_at, started_at), id")
                        .arg(recordColumns().join(u", "), RecordTable)))
        return false;
    QList<RecordEntry> former;
    while (query.next())
        former << entryFromRow(query.record());
    query.finish();
    ChainTail tail;
    for (RecordEntry &entry : former) {
        entry.technician = entry.account;
        if (!chainEntry(query, entry, tail))
            return false;
    }
    return true;
}

QSqlError CalibRecord::beginLocked(QSqlDatabase &db)
{
    QSqlQuery query(db);
    if (m_settings.isPostgres()) {
        if (!db.transaction())
            return db.lastError();
        query.exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(RecordLockKey));
    } else {
        // Takes the write lock at once: a deferred transaction that read the chain's tail could
        // not write after another bench wrote in between.
        query.exec(QStringLiteral("BEGIN IMMEDIATE"));
    }
    return query.lastError();
}

bool CalibRecord::chainEntry(QSqlQuery &query, RecordEntry &entry, ChainTail &tail)
{
    static const QString sql =
        QStringLiteral("UPDATE %1 SET %2 = ?, hash = ? WHERE id = ? AND hash IS NULL")
            .arg(RecordTable, (recordColumns() + chainColumns().mid(0, 3)).join(u" = ?, "));
    RecordEntry chained = entry;
    // A certificate vouches for dates the instrument was seen to hold; no other outcome gets one.
    chained.certificate = entry.outcome == RecordOutcome::Verified
        ? certificateNumber(entry.startedAt, entry.id)
        : QString();
    const QVariantList hashed = hashedValues(chained, tail.seq + 1, tail.hash);
    chained.hash = chainHash(hashed);
    if (!execBound(query, sql,
                   rowValues(chained) + hashed.mid(hashed.size() - 3)
                       + QVariantList{chained.hash, chained.id}))
        return false;
    if (query.numRowsAffected() != 1) {
        m_error = tr("The calibration record %1 holds no open entry %2 to complete.")
                      .arg(m_settings.describe())
                      .arg(entry.id);
        return false;
    }
    tail = ChainTail{tail.seq + 1, chained.hash};
    entry = chained;
    return true;
}

bool CalibRecord::transact(const std::function<bool(QSqlQuery &)> &work)
{
    if (!open())
        return false;
    QSqlDatabase db = database();
    if (const QSqlError error = beginLocked(db); error.type() != QSqlError::NoError)
        return failWrite(db, error);
    {
        QSqlQuery query(db);
        if (!work(query)) {
            if (query.lastError().type() != QSqlError::NoError)
                return failWrite(db, query.lastError());
            db.rollback();
            return false;
        }
    }
    if (!db.commit())
        return failWrite(db, db.lastError());
    return true;
}

bool CalibRecord::add(RecordEntry &entry)
{
    const QStringList columns = recordColumns();
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING id")
                            .arg(RecordTable, columns.join(u", "), placeholders(columns.size()));
    RecordEntry added = entry;
    const bool stored = transact([&](QSqlQuery &query) {
        if (!execBound(query, sql, rowValues(added)) || !query.next())
            return false;
        added.id = query.value(0).toLongLong();
        query.finish();
        // A refused attempt comes complete: it joins the chain in the same transaction.
        ChainTail tail;
        return added.outcome == RecordOutcome::Open
            || (readChainTail(query, tail) && chainEntry(query, added, tail));
    });
    if (stored)
        entry = added;
    return stored;
}

bool CalibRecord::complete(RecordEntry &entry)
{
    return transact([&](QSqlQuery &query) {
        ChainTail tail;
        return readChainTail(query, tail) && chainEntry(query, entry, tail);
    });
}

CalibRecord::Release CalibRecord::release(qint64 id, const Releaser &by, const QDateTime &at,
                                          RecordEntry &released)
{
    static const QString sql = QStringLiteral("INSERT INTO %1 (id, %2) VALUES (%3)")
                                   .arg(ReleaseTable, releaseColumns().join(u", "),
                                        placeholders(releaseColumns().size() + 1));
    bool refused = false;
    m_error.clear();
    const bool stored = transact([&](QSqlQuery &query) {
        // Read under the lock: two people releasing the same entry at once find it in turn.
        std::optional<RecordEntry> entry = readEntry(*this, id);
        if (!entry) {
            refused = m_error.isEmpty();
            if (refused)
                m_error = tr("The calibration record %1 holds no entry %2.")
                              .arg(m_settings.describe())
                              .arg(id);
            return false;
        }
        if (const QString why = releaseRefusal(*entry, by); !why.isEmpty()) {
            m_error = why;
            refused = true;
            return false;
        }
        ChainTail tail;
        if (!readChainTail(query, tail)
            || !query.exec(
                QStringLiteral("SELECT COALESCE(MAX(id), 0) + 1 FROM %1").arg(ReleaseTable))
            || !query.next())
            return false;
        const qint64 releaseId = query.value(0).toLongLong();
        query.finish();
        const QVariant previous =
            tail.hash.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(tail.hash);
        QVariantList values{releaseId, entry->id,       entry->hash,  by.account,
                            by.name,   instantText(at), tail.seq + 1, previous};
        const QString hash = releaseHash(values);
        if (!execBound(query, sql, values << hash))
            return false;
        entry->releasedBy = by.name;
        entry->releasedAt = at;
        released = *entry;
        return true;
    });
    if (stored)
        return Release::Done;
    return refused ? Release::Refused : Release::Failed;
}

bool CalibRecord::failWrite(QSqlDatabase &db, const QSqlError &error)
{
    db.rollback();
    return fail(tr("cannot be written"), error);
}

bool CalibRecord::fail(const QString &doing, const QSqlError &error)
{
    // The database's own words; Qt's "Unable to fetch row" adds nothing for the user.
    const QString reason =
        (error.databaseText().isEmpty() ? error.driverText() : error.databaseText()).simplified();
    if (!m_settings.isPostgres() && SqliteDamaged.contains(error.nativeErrorCode())) {
        m_error = tr("The calibration record %1 is damaged or is not a record file "
                     "(%2). It was left as it is; move it elsewhere to start a new "
                     "record, and keep it for the entries it holds.")
                      .arg(m_settings.describe(), reason);
    } else {
        const QString what = m_settings.isPostgres()
            ? QStringLiteral("(%1)").arg(m_settings.describe())
            : m_settings.describe();
        m_error = reason.isEmpty()
            ? tr("The calibration record %1 %2.").arg(what, doing)
            : tr("The calibration record %1 %2: %3").arg(what, doing, reason);
    }
    // The connection may be broken: the next call connects again.
    m_ready = false;
    return false;
}
