#pragma once
// The chain that makes the record tamper-evident: each entry, when completed, stores the SHA-256
// of its fields and of the hash of the entry completed before it. Changing, removing or
// reordering a completed entry breaks the chain at that entry or the one after it.
//
// The hashed text, one line per column of hashedColumns() in that order:
//   id, the entry's columns (recordColumns()), certificate, chain_seq, previous_hash
// each as "name=value\n", or "name\n" when the column is NULL. Values as stored: texts as they
// are, with "\" written as "\\" and a line end as "\n"; whole numbers in decimal; the firmware
// number in the shortest form that reads back as the same double. chain_seq counts the completed
// entries from 1; previous_hash is the hash of the entry with the chain_seq before, NULL for the
// first. hash is the SHA-256 of the text's UTF-8 bytes, in lower-case hexadecimal.
//
// A release (recordrelease.h) is a link of the same chain, kept in a table of its own; its text
// is made the same way from the columns of releaseHashedColumns(): id, entry_id, entry_hash (the
// released entry's hash), account, released_by, released_at, chain_seq, previous_hash. Links are
// numbered across both tables.
//
// Completing and releasing are done by CalibRecord under a lock that orders benches sharing one
// database.

#include "recordentry.h"

#include <QVariantList>

#include <optional>

class CalibRecord;
class QSqlQuery;

// The completed entry every new one links to; seq 0 and no hash before the first.
struct ChainTail
{
    qint64 seq = 0;
    QString hash;
};

QStringList hashedColumns();
// The values of hashedColumns() for an entry that becomes link seq after previousHash.
QVariantList hashedValues(const RecordEntry &entry, qint64 seq, const QString &previousHash);
// The hash of values of hashedColumns(), as plain values or as read from either database.
QString chainHash(const QVariantList &values);

QStringList releaseHashedColumns();
// The hash of values of releaseHashedColumns().
QString releaseHash(const QVariantList &values);

// The last link, an entry or a release, read with query inside the write's transaction.
bool readChainTail(QSqlQuery &query, ChainTail &tail);

struct ChainVerdict
{
    enum class Kind { Intact, Broken, Unreadable };
    Kind kind = Kind::Unreadable;
    qint64 entries = 0; // links walked: completed entries and releases
    qint64 id = 0; // Broken: the first entry that does not match
    QString certificate;
    bool linkBroken = false; // Broken: its link, not its fields, does not match
    bool release = false; // Broken: the release of entry id breaks it
    QString errorText; // Unreadable

    // "intact: N entries", or which entry breaks the chain and how, or why it cannot be read.
    QString text() const;
};

// Walks the completed entries and the releases in the order they were made; with throughSeq,
// only the links up to that one.
ChainVerdict verifyChain(CalibRecord &record, std::optional<qint64> throughSeq = std::nullopt);
