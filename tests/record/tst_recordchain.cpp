// The record as evidence, on a real SQLite file and a real PostgreSQL server: the database itself
// refuses to change a completed entry or delete one, the chain finds an entry changed or removed
// behind its back, benches completing at once still build one chain, a record of the first
// format is upgraded in place with every entry kept; releases by a second person are refused
// with the reason or kept as links of the chain, and a record without them keeps its hashes.

#include "calibrecord.h"
#include "pgserver.h"
#include "recordbackends.h"
#include "recordchain.h"
#include "recordhistory.h"
#include "recordrelease.h"
#include "recordschema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <memory>
#include <thread>

namespace {

// A verified write of instrument serial, started minute minutes after 09:00 on 10 December 2026.
RecordEntry verifiedEntry(const QString &serial, int minute)
{
    RecordEntry e = RecordEntry::startedNow(RecordSource::Tool);
    e.startedAt = QDateTime(QDate(2026, 12, 10), QTime(9, minute), QTimeZone::utc());
    e.serial = serial;
    e.model = QStringLiteral("Veltra KX-2");
    e.firmware = 1.605;
    e.calibrationAsked = e.calibrationReadBack = QDate(2026, 12, 10);
    e.expirationAsked = e.expirationReadBack = QDate(2027, 12, 10);
    e.detail = QStringLiteral("line one\nline two \\ with a backslash");
    return e;
}

bool addAndComplete(CalibRecord &record, RecordEntry &entry)
{
    const RecordEntry done = entry;
    if (!record.add(entry))
        return false;
    const qint64 id = entry.id;
    entry = done;
    entry.id = id;
    entry.finishedAt = entry.startedAt.addSecs(4);
    entry.outcome = RecordOutcome::Verified;
    return record.complete(entry);
}

// The statement that drops a trigger of table on backend, as an attacker of a test would.
QString dropTrigger(const QString &backend, const QString &table, const char *trigger)
{
    const QString name = table + u'_' + QLatin1String(trigger);
    return backend == Sqlite ? QStringLiteral("DROP TRIGGER %1").arg(name)
                             : QStringLiteral("DROP TRIGGER %1 ON %2").arg(name, table);
}

// A new row of a test's table, tagged "<backend>: what".
QTestData &backendRow(const QString &backend, const char *what)
{
    return QTest::newRow(qPrintable(QStringLiteral("%1: %2").arg(backend, QLatin1String(what))));
}

// Runs SQL on the record's own connection, as any client could; the database's error, or empty.
QString execute(CalibRecord &record, const QString &sql)
{
    QSqlQuery query(record.database());
    return query.exec(sql) ? QString() : query.lastError().text();
}

} // namespace

class TestRecordChain : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void completedEntryIsKeptByTheDatabase_data();
    void completedEntryIsKeptByTheDatabase();
    void chainFindsWhatWasChanged_data();
    void chainFindsWhatWasChanged();
    void benchesCompletingAtOnceBuildOneChain();
    void firstFormatIsUpgradedInPlace_data();
    void firstFormatIsUpgradedInPlace();
    void certificateAndPersonAreKept();
    void releaseIsRefusedWithTheReason_data();
    void releaseIsRefusedWithTheReason();
    void releaseIsALinkOfTheChain_data();
    void releaseIsALinkOfTheChain();
    void recordWithoutReleasesKeepsItsHashes_data();
    void recordWithoutReleasesKeepsItsHashes();
    void onlyAVerifiedWriteHasACertificate_data();
    void onlyAVerifiedWriteHasACertificate();

private:
    std::unique_ptr<CalibRecord> freshRecord(const QString &backend);
    RecordSettings settingsFor(const QString &backend) const;
    void addBackendColumn();

    PgServer m_pg;
    bool m_pgRunning = false;
    std::unique_ptr<QTemporaryDir> m_folder;
};

void TestRecordChain::initTestCase()
{
    m_pgRunning = startPgServer(m_pg);
}

void TestRecordChain::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
}

RecordSettings TestRecordChain::settingsFor(const QString &backend) const
{
    return recordSettingsFor(backend, m_pg, m_folder->filePath(RecordFileName));
}

// Every test starts from a missing table; on the server, which lives for the whole test case,
// dropping it takes its triggers along.
std::unique_ptr<CalibRecord> TestRecordChain::freshRecord(const QString &backend)
{
    if (backend == Postgres) {
        RecordSettings settings = settingsFor(backend);
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("drop"));
        db.setHostName(settings.host);
        db.setPort(settings.port);
        db.setDatabaseName(settings.database);
        db.setUserName(settings.user);
        const bool dropped = db.open()
            && QSqlQuery(db).exec(QStringLiteral("DROP TABLE IF EXISTS calibration_record"))
            && QSqlQuery(db).exec(QStringLiteral("DROP TABLE IF EXISTS calibration_release"));
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("drop"));
        if (!dropped)
            return nullptr;
    }
    return std::make_unique<CalibRecord>(settingsFor(backend));
}

void TestRecordChain::addBackendColumn()
{
    QTest::addColumn<QString>("backend");
}

void TestRecordChain::completedEntryIsKeptByTheDatabase_data()
{
    addBackendColumn();
    QTest::addColumn<QString>("statement");
    QTest::addColumn<bool>("onOpenEntry");
    for (const QString &backend : {Sqlite, Postgres}) {
        const auto row = [&](const char *what) { return &backendRow(backend, what); };
        *row("a field of a completed entry cannot be changed")
            << backend << "UPDATE calibration_record SET expiration_read_back = '2030-01-01'"
            << false;
        *row("the chain of a completed entry cannot be changed")
            << backend << "UPDATE calibration_record SET hash = NULL" << false;
        *row("a completed entry cannot be deleted")
            << backend << "DELETE FROM calibration_record" << false;
        *row("an open entry cannot be deleted either")
            << backend << "DELETE FROM calibration_record" << true;
    }
    QTest::newRow("PostgreSQL: the record cannot be emptied at once")
        << Postgres << "TRUNCATE calibration_record" << false;
}

void TestRecordChain::completedEntryIsKeptByTheDatabase()
{
    QFETCH(QString, backend);
    QFETCH(QString, statement);
    QFETCH(bool, onOpenEntry);
    SKIP_WITHOUT_SERVER(backend, m_pgRunning);
    const std::unique_ptr<CalibRecord> record = freshRecord(backend);
    QVERIFY(record);
    RecordEntry entry = verifiedEntry(QStringLiteral("104233"), 0);
    QVERIFY2(onOpenEntry ? record->add(entry) : addAndComplete(*record, entry),
             qPrintable(record->errorText()));

    const QString error = execute(*record, statement);
    QVERIFY2(error.contains(QStringLiteral("kept as written")), qPrintable(error));
    QList<RecordEntry> entries;
    QVERIFY(forEachEntry(*record, {}, [&](const RecordEntry &e) {
        entries << e;
        return true;
    }));
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0].hash, entry.hash);
    QCOMPARE(entries[0].expirationReadBack, QDate(2027, 12, 10));
    QCOMPARE(verifyChain(*record).text(),
             onOpenEntry ? QStringLiteral("intact: 0 entries")
                         : QStringLiteral("intact: 1 entries"));
}

void TestRecordChain::chainFindsWhatWasChanged_data()
{
    addBackendColumn();
    QTest::addColumn<QStringList>("tampering");
    QTest::addColumn<QString>("verdict");
    // Entries 1 to 4, VC-2026-000001 to VC-2026-000004, completed in that order.
    for (const QString &backend : {Sqlite, Postgres}) {
        const QString dropUpdate = dropTrigger(backend, RecordTable, "no_update");
        const QString dropDelete = dropTrigger(backend, RecordTable, "no_delete");
        const auto row = [&](const char *what) { return &backendRow(backend, what); };
        *row("an untouched record is intact") << backend << QStringList() << "intact: 4 entries";
        *row("a date changed is found at its entry")
            << backend
            << QStringList{dropUpdate,
                           "UPDATE calibration_record SET expiration_read_back = "
                           "'2029-12-10' WHERE id = 2"}
            << "broken at entry 2 (VC-2026-000002): its fields do not match its hash";
        *row("a changed detail text is found at its entry")
            << backend
            << QStringList{dropUpdate,
                           "UPDATE calibration_record SET detail = 'line one' WHERE id = 3"}
            << "broken at entry 3 (VC-2026-000003): its fields do not match its hash";
        *row("a value emptied rather than removed is found")
            << backend
            << QStringList{dropUpdate, "UPDATE calibration_record SET reference = '' WHERE id = 1"}
            << "broken at entry 1 (VC-2026-000001): its fields do not match its hash";
        *row("a removed entry is found at the one after it")
            << backend << QStringList{dropDelete, "DELETE FROM calibration_record WHERE id = 2"}
            << "broken at entry 3 (VC-2026-000003): it does not follow the entry completed "
               "before it, which was removed or changed";
        *row("the first entry removed is found")
            << backend << QStringList{dropDelete, "DELETE FROM calibration_record WHERE id = 1"}
            << "broken at entry 2 (VC-2026-000002): it does not follow the entry completed "
               "before it, which was removed or changed";
        *row("an entry made open again is found at the one after it")
            << backend
            << QStringList{dropUpdate,
                           "UPDATE calibration_record SET hash = NULL, chain_seq = "
                           "NULL, outcome = NULL WHERE id = 3"}
            << "broken at entry 4 (VC-2026-000004): it does not follow the entry completed "
               "before it, which was removed or changed";
    }
}

void TestRecordChain::chainFindsWhatWasChanged()
{
    QFETCH(QString, backend);
    QFETCH(QStringList, tampering);
    QFETCH(QString, verdict);
    SKIP_WITHOUT_SERVER(backend, m_pgRunning);
    const std::unique_ptr<CalibRecord> record = freshRecord(backend);
    QVERIFY(record);
    for (int i = 0; i < 4; ++i) {
        RecordEntry entry = verifiedEntry(QStringLiteral("10423%1").arg(i), i);
        entry.reference = QStringLiteral("Cs-137 S-0042");
        QVERIFY2(addAndComplete(*record, entry), qPrintable(record->errorText()));
    }
    // An entry left open is no link of the chain.
    RecordEntry open = verifiedEntry(QStringLiteral("104299"), 9);
    QVERIFY(record->add(open));

    for (const QString &statement : tampering)
        QVERIFY2(execute(*record, statement).isEmpty(), qPrintable(statement));
    const ChainVerdict found = verifyChain(*record);
    QCOMPARE(found.text(), verdict);
    QCOMPARE(found.kind == ChainVerdict::Kind::Intact, tampering.isEmpty());
}

// Two benches, each with its own connection, complete entries at the same moment; the lock
// orders them into one chain.
void TestRecordChain::benchesCompletingAtOnceBuildOneChain()
{
    SKIP_WITHOUT_SERVER(Postgres, m_pgRunning);
    QVERIFY(freshRecord(Postgres));
    constexpr int PerBench = 40;
    const RecordSettings settings = settingsFor(Postgres);
    // The table exists before the benches start, as it does in a lab.
    {
        CalibRecord first(settings);
        QVERIFY2(first.open(), qPrintable(first.errorText()));
    }
    // Made here: the account lookup behind startedNow() is not for two threads at once.
    QList<RecordEntry> entries[2];
    for (int number = 0; number < 2; ++number) {
        for (int i = 0; i < PerBench; ++i)
            entries[number] << verifiedEntry(QStringLiteral("%1%2").arg(number).arg(i), i);
    }
    QStringList errors[2];
    const auto bench = [&](int number) {
        CalibRecord record(settings);
        for (RecordEntry &entry : entries[number]) {
            if (!addAndComplete(record, entry))
                errors[number] << record.errorText();
        }
    };
    std::thread a(bench, 0);
    std::thread b(bench, 1);
    a.join();
    b.join();
    QVERIFY2(errors[0].isEmpty() && errors[1].isEmpty(),
             qPrintable(errors[0].join(u'\n') + errors[1].join(u'\n')));

    CalibRecord reader(settings);
    QCOMPARE(verifyChain(reader).text(), QStringLiteral("intact: %1 entries").arg(2 * PerBench));
}

void TestRecordChain::firstFormatIsUpgradedInPlace_data()
{
    addBackendColumn();
    QTest::newRow("SQLite") << Sqlite;
    QTest::newRow("PostgreSQL") << Postgres;
}

// A record as the first format made it: two completed entries, the later one completed first,
// and one never completed.
void TestRecordChain::firstFormatIsUpgradedInPlace()
{
    QFETCH(QString, backend);
    SKIP_WITHOUT_SERVER(backend, m_pgRunning);
    const std::unique_ptr<CalibRecord> fresh = freshRecord(backend);
    QVERIFY(fresh);
    const RecordSettings settings = settingsFor(backend);
    {
        const QString name = QStringLiteral("format1");
        QSqlDatabase db = QSqlDatabase::addDatabase(settings.driver, name);
        db.setDatabaseName(backend == Sqlite ? settings.sqliteFile : settings.database);
        db.setHostName(settings.host);
        db.setPort(settings.port);
        db.setUserName(settings.user);
        QVERIFY(db.open());
        QSqlQuery query(db);
        const QString id = backend == Sqlite
            ? QStringLiteral("id INTEGER PRIMARY KEY AUTOINCREMENT")
            : QStringLiteral("id BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
        QVERIFY(query.exec(
            QStringLiteral(
                "CREATE TABLE calibration_record (%1, started_at TEXT NOT NULL, finished_at TEXT, "
                "account TEXT NOT NULL, host TEXT NOT NULL, program_version TEXT NOT NULL, source "
                "TEXT NOT NULL, port INTEGER, device TEXT, model TEXT, serial TEXT, firmware "
                "DOUBLE PRECISION, checksum TEXT, calibration_before TEXT, expiration_before "
                "TEXT, calibration_asked TEXT, expiration_asked TEXT, calibration_read_back "
                "TEXT, expiration_read_back TEXT, outcome TEXT, detail TEXT)")
                .arg(id)));
        QVERIFY(query.exec(QStringLiteral(
            "INSERT INTO calibration_record (started_at, finished_at, account, host, "
            "program_version, source, serial, firmware, outcome) VALUES "
            "('2025-01-02T08:00:00.000Z', '2025-01-02T08:09:00.000Z', 'mkeller', 'bench-1', "
            "'1.2.0', 'window', '104233', 1.605, 'verified'), "
            "('2025-01-02T08:05:00.000Z', '2025-01-02T08:06:00.000Z', 'akurz', 'bench-2', "
            "'1.2.0', 'tool', '104234', NULL, 'refused'), "
            "('2025-01-03T10:00:00.000Z', NULL, 'akurz', 'bench-2', '1.2.0', 'tool', "
            "'104235', NULL, NULL)")));
        if (backend == Sqlite)
            QVERIFY(query.exec(QStringLiteral("PRAGMA user_version = 1")));
        query.finish();
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
    }

    CalibRecord record(settings);
    QVERIFY2(record.open(), qPrintable(record.errorText()));
    QList<RecordEntry> entries;
    QVERIFY(forEachEntry(record, {}, [&](const RecordEntry &e) {
        entries << e;
        return true;
    }));
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries[0].serial, QStringLiteral("104235"));
    QCOMPARE(outcomeText(entries[0].outcome), QStringLiteral("interrupted"));
    QVERIFY(entries[0].certificate.isEmpty());
    // Refused: numbered by no program, and none is given now.
    QVERIFY(entries[1].certificate.isEmpty());
    QCOMPARE(entries[1].technician, QStringLiteral("akurz"));
    QCOMPARE(entries[2].certificate, QStringLiteral("VC-2025-000001"));
    QCOMPARE(entries[2].firmware, 1.605);
    QCOMPARE(verifyChain(record).text(), QStringLiteral("intact: 2 entries"));
    if (backend == Sqlite) {
        QSqlQuery query(record.database());
        QVERIFY(query.exec(QStringLiteral("PRAGMA user_version")) && query.next());
        QCOMPARE(query.value(0).toInt(), 3);
    }
    // Upgraded, it keeps its entries like a new one.
    QVERIFY(!execute(record, QStringLiteral("DELETE FROM calibration_record")).isEmpty());
    RecordEntry next = verifiedEntry(QStringLiteral("104236"), 0);
    QVERIFY2(addAndComplete(record, next), qPrintable(record.errorText()));
    QCOMPARE(verifyChain(record).text(), QStringLiteral("intact: 3 entries"));
}

void TestRecordChain::certificateAndPersonAreKept()
{
    const std::unique_ptr<CalibRecord> record = freshRecord(Sqlite);
    RecordEntry entry = verifiedEntry(QStringLiteral("104233"), 0);
    entry.technician = QStringLiteral("Maria Keller");
    entry.reference = QStringLiteral("Cs-137 S-0042");
    QVERIFY(record->add(entry));
    QVERIFY(entry.certificate.isEmpty());
    RecordEntry second = verifiedEntry(QStringLiteral("104234"), 1);
    QVERIFY(addAndComplete(*record, second));
    entry.outcome = RecordOutcome::Verified;
    QVERIFY(record->complete(entry));
    QCOMPARE(entry.certificate, QStringLiteral("VC-2026-000001"));
    QCOMPARE(entry.hash.size(), 64);
    // Completed once: a second completion is refused by the program before the database.
    QVERIFY(!record->complete(entry));
    QVERIFY2(record->errorText().contains(QStringLiteral("no open entry 1")),
             qPrintable(record->errorText()));

    QList<RecordEntry> entries;
    QVERIFY(forEachEntry(*record, {}, [&](const RecordEntry &e) {
        entries << e;
        return true;
    }));
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries[1].technician, QStringLiteral("Maria Keller"));
    QCOMPARE(entries[1].reference, QStringLiteral("Cs-137 S-0042"));
    QCOMPARE(entries[1].certificate, QStringLiteral("VC-2026-000001"));
    QCOMPARE(entries[0].reference, QString());
    QCOMPARE(verifyChain(*record).text(), QStringLiteral("intact: 2 entries"));
}

namespace {

const Releaser SecondPerson{QStringLiteral("jbrandt"), QStringLiteral("Jonas Brandt")};
const QDateTime ReleasedAt(QDate(2026, 12, 11), QTime(8, 30), QTimeZone::utc());

QString releasedBy(CalibRecord &record, qint64 id)
{
    const std::optional<RecordEntry> entry = readEntry(record, id);
    return entry ? entry->releasedBy : QStringLiteral("(no entry)");
}

} // namespace

void TestRecordChain::releaseIsRefusedWithTheReason_data()
{
    addBackendColumn();
    QTest::addColumn<QString>("why");
    for (const QString &backend : {Sqlite, Postgres}) {
        const auto row = [&](const char *what) { return &backendRow(backend, what); };
        *row("no one releases their own work") << backend << "entry 1 was written by this account";
        *row("only a verified calibration")
            << backend << "entry 2 was not verified (mismatch): only a verified calibration";
        *row("a release is made once and names who made it")
            << backend << "entry 3 was already released by Jonas Brandt on 2026-12-11T08:30:00Z";
    }
}

// Entry 1 is the account's own, 2 did not verify, 3 was released already; each refusal leaves
// the record as it was.
void TestRecordChain::releaseIsRefusedWithTheReason()
{
    QFETCH(QString, backend);
    QFETCH(QString, why);
    SKIP_WITHOUT_SERVER(backend, m_pgRunning);
    const std::unique_ptr<CalibRecord> record = freshRecord(backend);
    QVERIFY(record);
    RecordEntry entries[3] = {verifiedEntry(QStringLiteral("104231"), 1),
                              verifiedEntry(QStringLiteral("104232"), 2),
                              verifiedEntry(QStringLiteral("104233"), 3)};
    for (RecordEntry &entry : entries)
        QVERIFY2(addAndComplete(*record, entry), qPrintable(record->errorText()));
    QVERIFY(execute(*record, dropTrigger(backend, RecordTable, "no_update")).isEmpty());
    // Recomputed whole, so the chain stays intact: only the outcome differs.
    QVERIFY(
        execute(*record,
                QStringLiteral("UPDATE calibration_record SET outcome = 'mismatch' WHERE id = 2"))
            .isEmpty());
    RecordEntry mismatch = entries[1];
    mismatch.outcome = RecordOutcome::Mismatch;
    mismatch.hash = chainHash(hashedValues(mismatch, 2, entries[0].hash));
    QVERIFY(execute(*record,
                    QStringLiteral("UPDATE calibration_record SET hash = '%1' WHERE id = 2")
                        .arg(mismatch.hash))
                .isEmpty());
    entries[2].hash = chainHash(hashedValues(entries[2], 3, mismatch.hash));
    QVERIFY(execute(*record,
                    QStringLiteral("UPDATE calibration_record SET previous_hash = '%1', "
                                   "hash = '%2' WHERE id = 3")
                        .arg(mismatch.hash, entries[2].hash))
                .isEmpty());
    RecordEntry released;
    QCOMPARE(record->release(3, SecondPerson, ReleasedAt, released), CalibRecord::Release::Done);
    QCOMPARE(verifyChain(*record).text(), QStringLiteral("intact: 4 entries"));

    const qint64 id = why.section(u' ', 1, 1).toLongLong();
    const Releaser by = id == 1 ? Releaser{entries[0].account, QStringLiteral("Maria Keller")}
                                : Releaser{QStringLiteral("akurz"), QStringLiteral("Anna Kurz")};
    QCOMPARE(record->release(id, by, ReleasedAt.addDays(1), released),
             CalibRecord::Release::Refused);
    QVERIFY2(record->errorText().startsWith(why), qPrintable(record->errorText()));
    QCOMPARE(releasedBy(*record, 1), QString());
    QCOMPARE(releasedBy(*record, 2), QString());
    QCOMPARE(releasedBy(*record, 3), QStringLiteral("Jonas Brandt"));
    QCOMPARE(verifyChain(*record).text(), QStringLiteral("intact: 4 entries"));
}

void TestRecordChain::releaseIsALinkOfTheChain_data()
{
    addBackendColumn();
    QTest::addColumn<QStringList>("tampering");
    QTest::addColumn<QString>("verdict");
    // Entries 1 and 2, the release of entry 1, then entry 3.
    const QString releaseBroken = QStringLiteral(
        "broken at the release of entry 1: it does not follow the link before it or no longer "
        "matches its hash or its entry");
    for (const QString &backend : {Sqlite, Postgres}) {
        const QString dropUpdate = dropTrigger(backend, ReleaseTable, "no_update");
        const QString dropDelete = dropTrigger(backend, ReleaseTable, "no_delete");
        const auto row = [&](const char *what) { return &backendRow(backend, what); };
        *row("a release is a link") << backend << QStringList() << "intact: 4 entries";
        *row("another releaser's name is found")
            << backend
            << QStringList{dropUpdate, "UPDATE calibration_release SET released_by = 'Anna Kurz'"}
            << releaseBroken;
        *row("a release moved to another entry is found")
            << backend << QStringList{dropUpdate, "UPDATE calibration_release SET entry_id = 2"}
            << "broken at the release of entry 2: it does not follow the link before it or no "
               "longer matches its hash or its entry";
        *row("a removed release is found at the entry after it")
            << backend << QStringList{dropDelete, "DELETE FROM calibration_release"}
            << "broken at entry 3 (VC-2026-000003): it does not follow the entry completed "
               "before it, which was removed or changed";
        *row("a released entry removed is found at the entry after it")
            << backend
            << QStringList{dropTrigger(backend, RecordTable, "no_delete"),
                           "DELETE FROM calibration_record WHERE id = 1"}
            << "broken at entry 2 (VC-2026-000002): it does not follow the entry completed "
               "before it, which was removed or changed";
    }
}

void TestRecordChain::releaseIsALinkOfTheChain()
{
    QFETCH(QString, backend);
    QFETCH(QStringList, tampering);
    QFETCH(QString, verdict);
    SKIP_WITHOUT_SERVER(backend, m_pgRunning);
    const std::unique_ptr<CalibRecord> record = freshRecord(backend);
    QVERIFY(record);
    for (int i = 0; i < 3; ++i) {
        RecordEntry entry = verifiedEntry(QStringLiteral("10423%1").arg(i), i);
        QVERIFY2(addAndComplete(*record, entry), qPrintable(record->errorText()));
        RecordEntry released;
        if (i == 1)
            QCOMPARE(record->release(1, SecondPerson, ReleasedAt, released),
                     CalibRecord::Release::Done);
    }
    // Kept as written by the database, whoever asks.
    for (const char *statement : {"UPDATE calibration_release SET released_by = 'Anna Kurz'",
                                  "DELETE FROM calibration_release"})
        QVERIFY(
            execute(*record, QLatin1String(statement)).contains(QStringLiteral("kept as written")));

    for (const QString &statement : tampering)
        QVERIFY2(execute(*record, statement).isEmpty(), qPrintable(statement));
    QCOMPARE(verifyChain(*record).text(), verdict);
}

void TestRecordChain::recordWithoutReleasesKeepsItsHashes_data()
{
    firstFormatIsUpgradedInPlace_data();
}

// A record as the format before releases left it: opening it adds their table and changes no row.
void TestRecordChain::recordWithoutReleasesKeepsItsHashes()
{
    QFETCH(QString, backend);
    SKIP_WITHOUT_SERVER(backend, m_pgRunning);
    const std::unique_ptr<CalibRecord> fresh = freshRecord(backend);
    QVERIFY(fresh);
    RecordEntry entries[2] = {verifiedEntry(QStringLiteral("104231"), 1),
                              verifiedEntry(QStringLiteral("104232"), 2)};
    for (RecordEntry &entry : entries)
        QVERIFY2(addAndComplete(*fresh, entry), qPrintable(fresh->errorText()));
    QVERIFY(execute(*fresh, QStringLiteral("DROP TABLE calibration_release")).isEmpty());
    if (backend == Sqlite)
        QVERIFY(execute(*fresh, QStringLiteral("PRAGMA user_version = 2")).isEmpty());

    CalibRecord record(settingsFor(backend));
    QVERIFY2(record.open(), qPrintable(record.errorText()));
    QCOMPARE(readEntry(record, 1)->hash, entries[0].hash);
    QCOMPARE(readEntry(record, 2)->hash, entries[1].hash);
    RecordEntry released;
    QCOMPARE(record.release(2, SecondPerson, ReleasedAt, released), CalibRecord::Release::Done);
    QCOMPARE(released.releasedBy, QStringLiteral("Jonas Brandt"));
    QCOMPARE(verifyChain(record).text(), QStringLiteral("intact: 3 entries"));
}

void TestRecordChain::onlyAVerifiedWriteHasACertificate_data()
{
    addBackendColumn();
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("certificate");
    for (const QString &backend : {Sqlite, Postgres}) {
        const auto row = [&](const char *what) { return &backendRow(backend, what); };
        *row("a verified write is numbered")
            << backend << int(RecordOutcome::Verified) << QStringLiteral("VC-2026-000002");
        *row("an instrument that kept its old dates is not")
            << backend << int(RecordOutcome::Mismatch) << QString();
        *row("a write that failed is not") << backend << int(RecordOutcome::Failed) << QString();
    }
}

// Between two verified writes, so the chain runs through the entry without a number.
void TestRecordChain::onlyAVerifiedWriteHasACertificate()
{
    QFETCH(QString, backend);
    QFETCH(int, outcome);
    QFETCH(QString, certificate);
    SKIP_WITHOUT_SERVER(backend, m_pgRunning);
    const std::unique_ptr<CalibRecord> record = freshRecord(backend);
    QVERIFY(record);
    RecordEntry first = verifiedEntry(QStringLiteral("104233"), 0);
    QVERIFY2(addAndComplete(*record, first), qPrintable(record->errorText()));
    RecordEntry entry = verifiedEntry(QStringLiteral("104234"), 1);
    QVERIFY(record->add(entry));
    entry.outcome = RecordOutcome(outcome);
    QVERIFY2(record->complete(entry), qPrintable(record->errorText()));
    QCOMPARE(entry.certificate, certificate);
    // A refused attempt is added complete.
    RecordEntry refused = verifiedEntry(QStringLiteral("104235"), 2);
    refused.outcome = RecordOutcome::Refused;
    QVERIFY(record->add(refused));
    QCOMPARE(refused.certificate, QString());
    RecordEntry last = verifiedEntry(QStringLiteral("104236"), 3);
    QVERIFY(addAndComplete(*record, last));
    QCOMPARE(last.certificate, QStringLiteral("VC-2026-000004"));

    QStringList stored;
    QVERIFY(forEachEntry(*record, {}, [&](const RecordEntry &e) {
        stored.prepend(e.certificate);
        return true;
    }));
    QCOMPARE(stored, (QStringList{"VC-2026-000001", certificate, QString(), "VC-2026-000004"}));
    QCOMPARE(verifyChain(*record).text(), QStringLiteral("intact: 4 entries"));
}

QTEST_GUILESS_MAIN(TestRecordChain)
#include "tst_recordchain.moc"
