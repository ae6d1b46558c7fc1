#include "recordchain.h"

#include "calibrecord.h"
#include "recordschema.h"

#include <QCryptographicHash>
#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>

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
    static const QByteArrayList names = [] {
        QByteArrayList utf8;
        for (const QString &name : hashedColumns())
            utf8 << name.toUtf8();
        return utf8;
    }();
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

bool readChainTail(QSqlQuery &query, ChainTail &tail)
{
    if (!query.exec(QStringLiteral("SELECT chain_seq, hash FROM %1 WHERE chain_seq IS NOT NULL "
                                   "ORDER BY chain_seq DESC LIMIT 1")
                        .arg(RecordTable)))
        return false;
    tail = query.next() ? ChainTail{query.value(0).toLongLong(), query.value(1).toString()}
                        : ChainTail();
    query.finish();
    return true;
}

QString ChainVerdict::text() const
{
    switch (kind) {
    case Kind::Intact:
        return CalibRecord::tr("intact: %n entries", nullptr, int(entries));
    case Kind::Broken: {
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

ChainVerdict verifyChain(CalibRecord &record)
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
    const QStringList names = hashedColumns();
    const qsizetype idColumn = 0;
    const qsizetype certificateColumn = names.indexOf(QStringLiteral("certificate"));
    const qsizetype previousColumn = names.indexOf(QStringLiteral("previous_hash"));
    const qsizetype hashColumn = names.size();
    QSqlQuery query(record.database());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT %1, hash FROM %2 WHERE hash IS NOT NULL ORDER BY "
                                   "chain_seq, id")
                        .arg(names.join(u", "), RecordTable)))
        return unreadable(&query);
    QString previous;
    QVariantList values(names.size());
    while (query.next()) {
        for (qsizetype i = 0; i < names.size(); ++i)
            values[i] = query.value(int(i));
        const QString hash = query.value(int(hashColumn)).toString();
        verdict.linkBroken = values[previousColumn].toString() != previous;
        if (verdict.linkBroken || chainHash(values) != hash) {
            verdict.kind = ChainVerdict::Kind::Broken;
            verdict.id = values[idColumn].toLongLong();
            verdict.certificate = values[certificateColumn].toString();
            return verdict;
        }
        previous = hash;
        ++verdict.entries;
    }
    if (query.lastError().type() != QSqlError::NoError)
        return unreadable(&query);
    verdict.kind = ChainVerdict::Kind::Intact;
    return verdict;
}
