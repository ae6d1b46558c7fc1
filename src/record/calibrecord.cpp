#include "calibrecord.h"

#include "recordschema.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace {

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
        m_error = QStringLiteral("The calibration record cannot be used: the settings file names "
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
            return fail(QStringLiteral("cannot be created (its folder is missing)"), QSqlError());
        db.setDatabaseName(m_settings.sqliteFile);
    }
    if (!db.open())
        return fail(m_settings.isPostgres() ? QStringLiteral("cannot be reached")
                                            : QStringLiteral("cannot be opened"),
                    db.lastError());
    return true;
}

// Reads before it writes: the version check is the first thing to touch the file, so a file
// that is no record fails here and nothing is ever written into it.
bool CalibRecord::prepareSqlite(QSqlDatabase &db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return fail(QStringLiteral("cannot be opened"), query.lastError());
    const int version = query.value(0).toInt();
    if (version > RecordSchemaVersion) {
        m_error =
            QStringLiteral("The calibration record %1 was made by a newer version of this "
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

bool CalibRecord::createTable(QSqlDatabase &db)
{
    if (db.tables().contains(RecordTable))
        return true;
    if (!db.transaction())
        return failWrite(db, db.lastError());
    QSqlQuery query(db);
    // Two benches starting on an empty lab database at once must not both create the table.
    if (m_settings.isPostgres()
        && !query.exec(QStringLiteral("SELECT pg_advisory_xact_lock(7346519)")))
        return failWrite(db, query.lastError());
    for (const QString &statement : createTableStatements(m_settings.isPostgres())) {
        if (!query.exec(statement))
            return failWrite(db, query.lastError());
    }
    if (!m_settings.isPostgres()
        && !query.exec(QStringLiteral("PRAGMA user_version = %1").arg(RecordSchemaVersion)))
        return failWrite(db, query.lastError());
    if (!db.commit())
        return failWrite(db, db.lastError());
    return true;
}

bool CalibRecord::transact(const std::function<bool(QSqlQuery &)> &work)
{
    if (!open())
        return false;
    QSqlDatabase db = database();
    if (!db.transaction())
        return failWrite(db, db.lastError());
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
    qint64 id = 0;
    const bool added = transact([&](QSqlQuery &query) {
        if (!execBound(query, sql, rowValues(entry)) || !query.next())
            return false;
        id = query.value(0).toLongLong();
        query.finish();
        return true;
    });
    if (added)
        entry.id = id;
    return added;
}

bool CalibRecord::complete(const RecordEntry &entry)
{
    const QString sql = QStringLiteral("UPDATE %1 SET %2 = ? WHERE id = ?")
                            .arg(RecordTable, recordColumns().join(QStringLiteral(" = ?, ")));
    return transact([&](QSqlQuery &query) {
        if (!execBound(query, sql, rowValues(entry) << entry.id))
            return false;
        if (query.numRowsAffected() == 1)
            return true;
        m_error = QStringLiteral("The calibration record %1 holds no entry %2 to complete.")
                      .arg(m_settings.describe())
                      .arg(entry.id);
        return false;
    });
}

bool CalibRecord::failWrite(QSqlDatabase &db, const QSqlError &error)
{
    db.rollback();
    return fail(QStringLiteral("cannot be written"), error);
}

bool CalibRecord::fail(const QString &doing, const QSqlError &error)
{
    // The database's own words; Qt's "Unable to fetch row" adds nothing for the user.
    const QString reason =
        (error.databaseText().isEmpty() ? error.driverText() : error.databaseText()).simplified();
    if (!m_settings.isPostgres() && SqliteDamaged.contains(error.nativeErrorCode())) {
        m_error = QStringLiteral("The calibration record %1 is damaged or is not a record file "
                                 "(%2). It was left as it is; move it elsewhere to start a new "
                                 "record, and keep it for the entries it holds.")
                      .arg(m_settings.describe(), reason);
    } else {
        const QString what = m_settings.isPostgres()
            ? QStringLiteral("(%1)").arg(m_settings.describe())
            : m_settings.describe();
        m_error = reason.isEmpty()
            ? QStringLiteral("The calibration record %1 %2.").arg(what, doing)
            : QStringLiteral("The calibration record %1 %2: %3").arg(what, doing, reason);
    }
    // The connection may be broken: the next call connects again.
    m_ready = false;
    return false;
}
