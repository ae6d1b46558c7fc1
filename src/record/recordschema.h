#pragma once
// The record's one table, the same on SQLite and PostgreSQL, and the conversion of entries to
// and from its rows.
//
// calibration_record: id, the entry's fields (recordColumns()), then what completing it sets
// (chainColumns(): certificate, chain_seq, previous_hash, hash; see recordchain.h). Unique indexes
// on certificate and chain_seq; one on (serial, outcome, started_at, id) for what falls due.
// Triggers made with the table refuse, for every client:
// - UPDATE of a completed entry (hash set): calibration_record_no_update;
// - DELETE of any entry: calibration_record_no_delete (an open entry is a write attempt too);
// - on PostgreSQL, TRUNCATE: calibration_record_no_truncate; the three call
//   calibration_record_kept(), which raises the error.
// calibration_release (format 3): one row per verified entry a second person released
// (releaseColumns(); recordrelease.h), a link of the same chain; unique indexes on entry_id and
// chain_seq; triggers refuse UPDATE, DELETE and TRUNCATE of any row.
// Format 1 had neither the person, the reference nor the chain; opening it adds them in place
// and chains its completed entries (CalibRecord::open()). Format 2 had no releases; opening it
// adds their table and leaves every row as it is.

#include "recordentry.h"

#include <QStringList>
#include <QVariantList>

class QSqlRecord;

inline const QString RecordTable = QStringLiteral("calibration_record");
inline const QString ReleaseTable = QStringLiteral("calibration_release");
// Kept in PRAGMA user_version of a SQLite record.
constexpr int RecordSchemaVersion = 3;

// The entry's columns but id, as add() stores them.
QStringList recordColumns();
// The columns that completing an entry sets.
QStringList chainColumns();
// Every column, id first: what entryFromRow() reads.
QStringList entryColumns();
// The columns of a release but id.
QStringList releaseColumns();
// "SELECT ... FROM calibration_record": entryColumns() and the entry's released_by and
// released_at; the caller adds its condition and order.
QString entrySelection();
// The statements that create the tables, their indexes and triggers when missing.
QStringList createTableStatements(bool postgres);
// The statements that turn a record of format from into the current one (entries of format 1
// are chained apart).
QStringList upgradeStatements(bool postgres, int from);

// The values of recordColumns() for an entry: an empty text, an unset date and an open outcome
// are stored as NULL.
QVariantList rowValues(const RecordEntry &entry);
// An entry from a row that holds id, recordColumns() and chainColumns(), and released_by and
// released_at where the row has them; NULL outcome reads as Interrupted.
RecordEntry entryFromRow(const QSqlRecord &row);
