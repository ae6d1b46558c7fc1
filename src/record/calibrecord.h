#pragma once
// The calibration record: one entry per write attempt, kept in SQLite (a file beside the settings
// file) or in a PostgreSQL database shared by the benches of a lab (see recordsettings.h).
//
// Contract:
// - A write stores its entry with add() before the first write command goes to the instrument
//   (outcome Open) and completes it with complete() afterwards; each call is its own transaction.
//   An entry that is never completed reads back as Interrupted. A refused attempt is added
//   already complete. Completing gives the entry its link in the chain (recordchain.h) and, when
//   verified, its certificate number; after that the database refuses to change it, and it never
//   deletes an entry (recordschema.h). Nothing here deletes one either.
// - When add() fails, nothing may be written to the instrument: errorText() says why, naming the
//   file or the server, in a sentence fit for the user.
// - A damaged record file is never deleted, repaired or rewritten: every call fails and says so.
// - Calls do not process events and never run inside one another. The connection belongs to the
//   thread that made the CalibRecord; queries handed out by database() must be gone before the
//   CalibRecord is destroyed.
// - Open one CalibRecord per write attempt: a server that went away in between is then reached
//   again without any retry logic.

#include "recordentry.h"
#include "recordsettings.h"

#include <QCoreApplication>
#include <QSqlDatabase>

#include <functional>

struct ChainTail;
struct Releaser;
class QSqlError;
class QSqlQuery;

class CalibRecord
{
    Q_DECLARE_TR_FUNCTIONS(CalibRecord)

public:
    explicit CalibRecord(RecordSettings settings);
    ~CalibRecord();
    CalibRecord(const CalibRecord &) = delete;
    CalibRecord &operator=(const CalibRecord &) = delete;

    // Connects and creates the table when missing; called by the others when needed.
    bool open();
    // Stores a new entry and sets its id; an entry that is not Open is completed as well.
    bool add(RecordEntry &entry);
    // Stores the outcome and everything else learned since add(), and sets the certificate
    // number and hash. Fails for an entry completed before.
    bool complete(RecordEntry &entry);

    enum class Release { Done, Refused, Failed };
    // Releases the entry with this id as by, at this instant: a link of the chain
    // (recordrelease.h), in a transaction of its own; released is the entry as released. Refused
    // when releaseRefusal() objects or the entry is gone, Failed when the record cannot be read
    // or written; errorText() says why, and the record is unchanged.
    Release release(qint64 id, const Releaser &by, const QDateTime &at, RecordEntry &released);

    QString errorText() const { return m_error; }
    // Words a failed statement on the record for errorText() ("cannot be read") and returns
    // false; the history's queries report through it too.
    bool fail(const QString &doing, const QSqlError &error);
    const RecordSettings &settings() const { return m_settings; }
    // The open connection, for queries of the history; invalid until open() succeeded.
    QSqlDatabase database() const;

private:
    bool openConnection(QSqlDatabase &db);
    bool prepareSqlite(QSqlDatabase &db);
    // The table's format: 0 when missing, RecordSchemaVersion when current.
    int format(QSqlDatabase &db);
    bool createTable(QSqlDatabase &db);
    bool chainFormerEntries(QSqlQuery &query);
    // A transaction that holds the record's lock until it ends.
    QSqlError beginLocked(QSqlDatabase &db);
    // Completes the open entry as the link after tail, and moves tail on.
    bool chainEntry(QSqlQuery &query, RecordEntry &entry, ChainTail &tail);
    // Runs work in a transaction of its own. work returns false on failure: with the query's
    // error, or having set m_error itself.
    bool transact(const std::function<bool(QSqlQuery &)> &work);
    bool failWrite(QSqlDatabase &db, const QSqlError &error);

    RecordSettings m_settings;
    QString m_connectionName;
    bool m_ready = false;
    QString m_error;
};
