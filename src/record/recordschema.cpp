#include "recordschema.h"

#include <QSqlRecord>

#include <array>
#include <utility>

namespace {

// Instants and dates are text (see recordentry.h), so both databases keep and sort them alike.
using ColumnDefinitions = std::pair<QLatin1StringView, QLatin1StringView>;

const std::array<ColumnDefinitions, 22> Columns{{
    {QLatin1StringView("started_at"), QLatin1StringView("TEXT NOT NULL")},
    {QLatin1StringView("finished_at"), QLatin1StringView("TEXT")},
    {QLatin1StringView("account"), QLatin1StringView("TEXT NOT NULL")},
    {QLatin1StringView("technician"), QLatin1StringView("TEXT")},
    {QLatin1StringView("host"), QLatin1StringView("TEXT NOT NULL")},
    {QLatin1StringView("program_version"), QLatin1StringView("TEXT NOT NULL")},
    {QLatin1StringView("source"), QLatin1StringView("TEXT NOT NULL")},
    {QLatin1StringView("port"), QLatin1StringView("INTEGER")},
    {QLatin1StringView("device"), QLatin1StringView("TEXT")},
    {QLatin1StringView("model"), QLatin1StringView("TEXT")},
    {QLatin1StringView("serial"), QLatin1StringView("TEXT")},
    {QLatin1StringView("firmware"), QLatin1StringView("DOUBLE PRECISION")},
    {QLatin1StringView("checksum"), QLatin1StringView("TEXT")},
    {QLatin1StringView("calibration_before"), QLatin1StringView("TEXT")},
    {QLatin1StringView("expiration_before"), QLatin1StringView("TEXT")},
    {QLatin1StringView("calibration_asked"), QLatin1StringView("TEXT")},
    {QLatin1StringView("expiration_asked"), QLatin1StringView("TEXT")},
    {QLatin1StringView("calibration_read_back"), QLatin1StringView("TEXT")},
    {QLatin1StringView("expiration_read_back"), QLatin1StringView("TEXT")},
    {QLatin1StringView("outcome"), QLatin1StringView("TEXT")},
    {QLatin1StringView("detail"), QLatin1StringView("TEXT")},
    {QLatin1StringView("reference"), QLatin1StringView("TEXT")},
}};

// Set once, when the entry is completed (recordchain.h).
const std::array<ColumnDefinitions, 4> ChainColumns{{
    {QLatin1StringView("certificate"), QLatin1StringView("TEXT")},
    {QLatin1StringView("chain_seq"), QLatin1StringView("BIGINT")},
    {QLatin1StringView("previous_hash"), QLatin1StringView("TEXT")},
    {QLatin1StringView("hash"), QLatin1StringView("TEXT")},
}};

// A release: the entry it releases and that entry's hash, who released it and when; then its link
// in the chain.
const std::array<ColumnDefinitions, 8> ReleaseColumns{{
    {QLatin1StringView("entry_id"), QLatin1StringView("BIGINT NOT NULL")},
    {QLatin1StringView("entry_hash"), QLatin1StringView("TEXT NOT NULL")},
    {QLatin1StringView("account"), QLatin1StringView("TEXT NOT NULL")},
    {QLatin1StringView("released_by"), QLatin1StringView("TEXT NOT NULL")},
    {QLatin1StringView("released_at"), QLatin1StringView("TEXT NOT NULL")},
    {QLatin1StringView("chain_seq"), QLatin1StringView("BIGINT NOT NULL")},
    {QLatin1StringView("previous_hash"), QLatin1StringView("TEXT")},
    {QLatin1StringView("hash"), QLatin1StringView("TEXT NOT NULL")},
}};

// The message of the triggers; any client that tries gets it.
const QString KeptText =
    QStringLiteral("entries of the calibration record are kept as written: %1 refused");

// A table's rows can no longer be changed once condition holds (empty: never), nor deleted,
// whoever asks.
QStringList keptTriggers(const QString &table, bool postgres, const QString &condition)
{
    QStringList statements;
    if (postgres) {
        const QString trigger = QStringLiteral(
            "CREATE TRIGGER %1_%2 BEFORE %3 ON %1 FOR EACH %4 EXECUTE FUNCTION %5_kept()");
        const QString row = condition.isEmpty()
            ? QStringLiteral("ROW")
            : QStringLiteral("ROW WHEN (OLD.%1)").arg(condition);
        statements << trigger.arg(table, QStringLiteral("no_update"), QStringLiteral("UPDATE"), row,
                                  RecordTable)
                   << trigger.arg(table, QStringLiteral("no_delete"), QStringLiteral("DELETE"),
                                  QStringLiteral("ROW"), RecordTable)
                   << trigger.arg(table, QStringLiteral("no_truncate"), QStringLiteral("TRUNCATE"),
                                  QStringLiteral("STATEMENT"), RecordTable);
    } else {
        const QString trigger = QStringLiteral(
            "CREATE TRIGGER IF NOT EXISTS %1_%2 BEFORE %3 ON %1%4 BEGIN SELECT RAISE(ABORT, '%5'); "
            "END");
        statements << trigger.arg(table, QStringLiteral("no_update"), QStringLiteral("UPDATE"),
                                  condition.isEmpty() ? QString()
                                                      : QStringLiteral(" WHEN OLD.") + condition,
                                  KeptText.arg(QStringLiteral("UPDATE")))
                   << trigger.arg(table, QStringLiteral("no_delete"), QStringLiteral("DELETE"),
                                  QString(), KeptText.arg(QStringLiteral("DELETE")));
    }
    return statements;
}

// What format 2 adds to format 1: the person, the reference, the certificate and the chain; a
// completed entry can no longer be changed and no entry deleted, whoever asks.
QStringList keepingStatements(bool postgres)
{
    QStringList statements{
        QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS %1_certificate ON %1 (certificate)")
            .arg(RecordTable),
        QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS %1_chain ON %1 (chain_seq)")
            .arg(RecordTable),
        // Each instrument's newest entry of an outcome in one step (what falls due).
        QStringLiteral("CREATE INDEX IF NOT EXISTS %1_newest ON %1 (serial, outcome, started_at, "
                       "id)")
            .arg(RecordTable),
    };
    if (postgres) {
        statements << QStringLiteral("CREATE OR REPLACE FUNCTION %1_kept() RETURNS trigger "
                                     "LANGUAGE plpgsql AS $$ BEGIN RAISE EXCEPTION '%2', TG_OP; "
                                     "END $$")
                          .arg(RecordTable, KeptText.arg(QStringLiteral("%")));
    }
    return statements + keptTriggers(RecordTable, postgres, QStringLiteral("hash IS NOT NULL"));
}

// What format 3 adds: the releases, each a link of the chain, kept as written from the start.
QStringList releaseStatements(bool postgres)
{
    QStringList definitions{
        postgres ? QStringLiteral("id BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY")
                 : QStringLiteral("id INTEGER PRIMARY KEY AUTOINCREMENT")};
    for (const auto &[name, type] : ReleaseColumns)
        definitions << name + QLatin1Char(' ') + type;
    return QStringList{
               QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2)")
                   .arg(ReleaseTable, definitions.join(u", ")),
               QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS %1_entry ON %1 (entry_id)")
                   .arg(ReleaseTable),
               QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS %1_chain ON %1 (chain_seq)")
                   .arg(ReleaseTable)}
    + keptTriggers(ReleaseTable, postgres, QString());
}

QVariant textOrNull(const QString &text)
{
    return text.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
}

QVariant dateOrNull(const QDate &date)
{
    return textOrNull(dateText(date));
}

} // namespace

QStringList recordColumns()
{
    QStringList names;
    for (const auto &column : Columns)
        names << column.first;
    return names;
}

QStringList chainColumns()
{
    QStringList names;
    for (const auto &column : ChainColumns)
        names << column.first;
    return names;
}

QStringList entryColumns()
{
    return QStringList{QStringLiteral("id")} + recordColumns() + chainColumns();
}

QStringList releaseColumns()
{
    QStringList names;
    for (const auto &column : ReleaseColumns)
        names << column.first;
    return names;
}

QString entrySelection()
{
    const QString release = QStringLiteral("(SELECT %3 FROM %2 WHERE %2.entry_id = %1.id) AS %3")
                                .arg(RecordTable, ReleaseTable);
    return QStringLiteral("SELECT %1, %2, %3 FROM %4")
        .arg(entryColumns().join(u", "), release.arg(QStringLiteral("released_by")),
             release.arg(QStringLiteral("released_at")), RecordTable);
}

QStringList createTableStatements(bool postgres)
{
    QStringList definitions{
        postgres ? QStringLiteral("id BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY")
                 : QStringLiteral("id INTEGER PRIMARY KEY AUTOINCREMENT")};
    for (const auto &[name, type] : Columns)
        definitions << name + QLatin1Char(' ') + type;
    for (const auto &[name, type] : ChainColumns)
        definitions << name + QLatin1Char(' ') + type;
    return QStringList{
               QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2)")
                   .arg(RecordTable, definitions.join(u", ")),
               // Newest first, for everything and for one instrument.
               QStringLiteral("CREATE INDEX IF NOT EXISTS %1_started ON %1 (started_at)")
                   .arg(RecordTable),
               QStringLiteral("CREATE INDEX IF NOT EXISTS %1_serial ON %1 (serial, started_at)")
                   .arg(RecordTable),
           }
    + keepingStatements(postgres) + releaseStatements(postgres);
}

QStringList upgradeStatements(bool postgres, int from)
{
    if (from >= 2)
        return releaseStatements(postgres);
    QStringList statements;
    for (const auto &[name, type] : Columns) {
        if (name == QLatin1String("technician") || name == QLatin1String("reference"))
            statements
                << QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(RecordTable, name, type);
    }
    for (const auto &[name, type] : ChainColumns)
        statements
            << QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(RecordTable, name, type);
    return statements + keepingStatements(postgres) + releaseStatements(postgres);
}

QVariantList rowValues(const RecordEntry &e)
{
    const QVariant port = e.port ? QVariant(*e.port) : QVariant(QMetaType::fromType<int>());
    const QVariant firmware =
        e.firmware ? QVariant(*e.firmware) : QVariant(QMetaType::fromType<double>());
    const QString outcome = e.outcome == RecordOutcome::Open ? QString() : outcomeText(e.outcome);
    return {instantText(e.startedAt),
            textOrNull(instantText(e.finishedAt)),
            e.account,
            textOrNull(e.technician),
            e.host,
            e.programVersion,
            sourceText(e.source),
            port,
            textOrNull(e.device),
            textOrNull(e.model),
            textOrNull(e.serial),
            firmware,
            textOrNull(e.checksum),
            dateOrNull(e.calibrationBefore),
            dateOrNull(e.expirationBefore),
            dateOrNull(e.calibrationAsked),
            dateOrNull(e.expirationAsked),
            dateOrNull(e.calibrationReadBack),
            dateOrNull(e.expirationReadBack),
            textOrNull(outcome),
            textOrNull(e.detail),
            textOrNull(e.reference)};
}

RecordEntry entryFromRow(const QSqlRecord &row)
{
    const auto text = [&](const char *name) { return row.value(QLatin1String(name)).toString(); };
    const auto date = [&](const char *name) { return dateFromText(text(name)); };
    RecordEntry e;
    e.id = row.value(QStringLiteral("id")).toLongLong();
    e.certificate = text("certificate");
    e.startedAt = instantFromText(text("started_at"));
    e.finishedAt = instantFromText(text("finished_at"));
    e.account = text("account");
    e.technician = text("technician");
    e.host = text("host");
    e.programVersion = text("program_version");
    e.source = sourceFromText(text("source")).value_or(RecordSource::Window);
    if (const QVariant port = row.value(QStringLiteral("port")); !port.isNull())
        e.port = port.toInt();
    e.device = text("device");
    e.model = text("model");
    e.serial = text("serial");
    if (const QVariant firmware = row.value(QStringLiteral("firmware")); !firmware.isNull())
        e.firmware = firmware.toDouble();
    e.checksum = text("checksum");
    e.calibrationBefore = date("calibration_before");
    e.expirationBefore = date("expiration_before");
    e.calibrationAsked = date("calibration_asked");
    e.expirationAsked = date("expiration_asked");
    e.calibrationReadBack = date("calibration_read_back");
    e.expirationReadBack = date("expiration_read_back");
    // Never completed: the program ended between the two steps.
    e.outcome = outcomeFromText(text("outcome")).value_or(RecordOutcome::Interrupted);
    e.detail = text("detail");
    e.reference = text("reference");
    e.hash = text("hash");
    e.chainSeq = row.value(QStringLiteral("chain_seq")).toLongLong();
    e.releasedBy = text("released_by");
    e.releasedAt = instantFromText(text("released_at"));
    return e;
}
