#include "recordchain.h"

#include "calibrecord.h"
#include "recordschema.h"

#include <QCryptographicHash>
#include <QHash>
#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>

#include <limits>

namespace {

QByteArray valueText(const QVariant &value)
{
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
        return QByteArray::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    QByteArray text = value.toString().toUtf8();
    if (text.contains('\\') || text.contains('\n'))
        text.replace('\\', "\\\\").replace('\n', "\\n");
    return text;
}

QString hashOf(const QByteArrayList &names, const QVariantList &values)
{
    QByteArray text;
    text.reserve(1024);
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QVariant value = values.value(i);
        text += names[i];
        if (!value.isNull())
            text += '=' + valueText(value);
        text += '\n';
    }
    return QString::fromLatin1(QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex());
}

QByteArrayList utf8(const QStringList &names)
{
    QByteArrayList list;
    for (const QString &name : names)
        list << name.toUtf8();
    return list;
}

// A release as walked: its link, and the entry it names with the hash that entry had.
struct ReleaseLink
{
    QVariantList values; // releaseHashedColumns()
    QString hash;
    qint64 seq = 0;
    qint64 entryId = 0;
    QString entryHash;
};

} // namespace

QStringList hashedColumns()
{
    return QStringList{QStringLiteral("id")} + recordColumns()
        + QStringList{QStringLiteral("certificate"), QStringLiteral("chain_seq"),
                      QStringLiteral("previous_hash")};
}

QVariantList hashedValues(const RecordEntry &entry, qint64 seq, const QString &previousHash)
{
    // NULL, as stored and read back, for none.
    const auto textOrNull = [](const QString &text) {
        return text.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
    };
    return QVariantList{entry.id} + rowValues(entry)
        + QVariantList{textOrNull(entry.certificate), seq, textOrNull(previousHash)};
}

QString chainHash(const QVariantList &values)
{
    static const QByteArrayList names = utf8(hashedColumns());
    return hashOf(names, values);
}

QStringList releaseHashedColumns()
{
    QStringList names = QStringList{QStringLiteral("id")} + releaseColumns();
    names.removeLast(); // its hash
    return names;
}

QString releaseHash(const QVariantList &values)
{
    static const QByteArrayList names = utf8(releaseHashedColumns());
    return hashOf(names, values);
}

bool readChainTail(QSqlQuery &query, ChainTail &tail)
{
    // The entries and the releases share one chain: its tail is the later of their two.
    tail = ChainTail();
    for (const QString &table : {RecordTable, ReleaseTable}) {
        if (!query.exec(QStringLiteral("SELECT chain_seq, hash FROM %1 WHERE chain_seq IS NOT "
                                       "NULL ORDER BY chain_seq DESC LIMIT 1")
                            .arg(table)))
            return false;
        if (query.next() && query.value(0).toLongLong() > tail.seq)
            tail = ChainTail{query.value(0).toLongLong(), query.value(1).toString()};
        query.finish();
    }
    return true;
}

QString ChainVerdict::text() const
{
    switch (kind) {
    case Kind::Intact:
        return CalibRecord::tr("intact: %n entries", nullptr, int(entries));
    case Kind::Broken: {
        if (release) {
            return CalibRecord::tr("broken at the release of entry %1: it does not follow the "
                                   "link before it or no longer matches its hash or its entry")
                .arg(id);
        }
        const QString entry =
            CalibRecord::tr("entry %1 (%2)")
                .arg(id)
                .arg(certificate.isEmpty() ? CalibRecord::tr("no certificate") : certificate);
        return linkBroken
            ? CalibRecord::tr("broken at %1: it does not follow the entry completed "
                              "before it, which was removed or changed")
                  .arg(entry)
            : CalibRecord::tr("broken at %1: its fields do not match its hash").arg(entry);
    }
    case Kind::Unreadable:
        break;
    }
    return errorText;
}

ChainVerdict verifyChain(CalibRecord &record, std::optional<qint64> throughSeq)
{
    ChainVerdict verdict;
    // A failed query is worded by the record; a failed open() has been already.
    const auto unreadable = [&](const QSqlQuery *failed) {
        if (failed)
            record.fail(CalibRecord::tr("cannot be read"), failed->lastError());
        verdict.kind = ChainVerdict::Kind::Unreadable;
        verdict.errorText = record.errorText();
        return verdict;
    };
    if (!record.open())
        return unreadable(nullptr);
    const QString through =
        throughSeq ? QStringLiteral(" AND chain_seq <= %1").arg(*throughSeq) : QString();
    QSqlQuery query(record.database());
    query.setForwardOnly(true);

    // Releases are few beside the entries: read them first, and walk them in between.
    const QStringList releaseNames = releaseHashedColumns();
    if (!query.exec(QStringLiteral("SELECT %1, hash FROM %2 WHERE hash IS NOT NULL%3 ORDER BY "
                                   "chain_seq, id")
                        .arg(releaseNames.join(u", "), ReleaseTable, through)))
        return unreadable(&query);
    const qsizetype entryIdColumn = releaseNames.indexOf(QStringLiteral("entry_id"));
    const qsizetype entryHashColumn = releaseNames.indexOf(QStringLiteral("entry_hash"));
    const qsizetype releaseSeqColumn = releaseNames.indexOf(QStringLiteral("chain_seq"));
    const qsizetype releasePreviousColumn = releaseNames.indexOf(QStringLiteral("previous_hash"));
    QList<ReleaseLink> releases;
    QHash<qint64, QString> releasedHashes; // the released entries' hashes, as the walk finds them
    while (query.next()) {
        ReleaseLink link;
        for (qsizetype i = 0; i < releaseNames.size(); ++i)
            link.values << query.value(int(i));
        link.hash = query.value(int(releaseNames.size())).toString();
        link.seq = link.values[releaseSeqColumn].toLongLong();
        link.entryId = link.values[entryIdColumn].toLongLong();
        link.entryHash = link.values[entryHashColumn].toString();
        releasedHashes.insert(link.entryId, QString());
        releases << link;
    }
    if (query.lastError().type() != QSqlError::NoError)
        return unreadable(&query);
    query.finish();

    QString previous;
    qsizetype nextRelease = 0;
    // Walks the releases that come before seq in the chain; false at the first that breaks it.
    const auto walkReleases = [&](qint64 seq) {
        for (; nextRelease < releases.size() && releases[nextRelease].seq < seq; ++nextRelease) {
            const ReleaseLink &link = releases[nextRelease];
            if (link.values[releasePreviousColumn].toString() != previous
                || releaseHash(link.values) != link.hash
                || releasedHashes.value(link.entryId) != link.entryHash) {
                verdict.kind = ChainVerdict::Kind::Broken;
                verdict.release = true;
                verdict.id = link.entryId;
                return false;
            }
            previous = link.hash;
            ++verdict.entries;
        }
        return true;
    };

    const QStringList names = hashedColumns();
    const qsizetype idColumn = 0;
    const qsizetype certificateColumn = names.indexOf(QStringLiteral("certificate"));
    const qsizetype seqColumn = names.indexOf(QStringLiteral("chain_seq"));
    const qsizetype previousColumn = names.indexOf(QStringLiteral("previous_hash"));
    const qsizetype hashColumn = names.size();
    if (!query.exec(QStringLiteral("SELECT %1, hash FROM %2 WHERE hash IS NOT NULL%3 ORDER BY "
                                   "chain_seq, id")
                        .arg(names.join(u", "), RecordTable, through)))
        return unreadable(&query);
    QVariantList values(names.size());
    while (query.next()) {
        for (qsizetype i = 0; i < names.size(); ++i)
            values[i] = query.value(int(i));
        if (!walkReleases(values[seqColumn].toLongLong()))
            return verdict;
        const QString hash = query.value(int(hashColumn)).toString();
        verdict.linkBroken = values[previousColumn].toString() != previous;
        if (verdict.linkBroken || chainHash(values) != hash) {
            verdict.kind = ChainVerdict::Kind::Broken;
            verdict.id = values[idColumn].toLongLong();
            verdict.certificate = values[certificateColumn].toString();
            return verdict;
        }
        if (const auto released = releasedHashes.find(values[idColumn].toLongLong());
            released != releasedHashes.end())
            *released = hash;
        previous = hash;
        ++verdict.entries;
    }
    if (query.lastError().type() != QSqlError::NoError)
        return unreadable(&query);
    if (!walkReleases(std::numeric_limits<qint64>::max()))
        return verdict;
    verdict.kind = ChainVerdict::Kind::Intact;
    return verdict;
}
