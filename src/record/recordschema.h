#pragma once
// The record's one table, the same on SQLite and PostgreSQL, and the conversion of entries to
// and from its rows.

#include "recordentry.h"

#include <QStringList>
#include <QVariantList>

class QSqlRecord;

inline const QString RecordTable = QStringLiteral("calibration_record");
// Kept in PRAGMA user_version of a SQLite record.
constexpr int RecordSchemaVersion = 1;

// Every column but id, in table order.
QStringList recordColumns();
// The statements that create the table and its indexes when missing.
QStringList createTableStatements(bool postgres);

// The values of recordColumns() for an entry: an empty text, an unset date and an open outcome
// are stored as NULL.
QVariantList rowValues(const RecordEntry &entry);
// An entry from a row that holds id and recordColumns(); NULL outcome reads as Interrupted.
RecordEntry entryFromRow(const QSqlRecord &row);
