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
// Completing is done by CalibRecord under a lock that orders benches sharing one database.

#include "recordentry.h"

#include <QVariantList>

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

// The last completed entry, read with query inside the write's transaction.
bool readChainTail(QSqlQuery &query, ChainTail &tail);

struct ChainVerdict
{
    enum class Kind { Intact, Broken, Unreadable };
    Kind kind = Kind::Unreadable;
    qint64 entries = 0; // completed entries walked
    qint64 id = 0; // Broken: the first entry that does not match
    QString certificate;
    bool linkBroken = false; // Broken: its link, not its fields, does not match
    QString errorText; // Unreadable

    // "intact: N entries", or which entry breaks the chain and how, or why it cannot be read.
    QString text() const;
};

// Walks the completed entries in the order they were completed.
ChainVerdict verifyChain(CalibRecord &record);
