// The calibration record on a real SQLite file and a real PostgreSQL server: what an entry keeps,
// what an unfinished one reads as, the history's order and filter, the exports, and the record
// that cannot be used (damaged, read-only, unreachable) saying why without touching the file.

#include "calibrecord.h"
#include "filebytes.h"
#include "pgserver.h"
#include "recordbackends.h"
#include "recordhistory.h"
#include "unprivileged.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(RecordEntry)
Q_DECLARE_METATYPE(RecordSettings)
Q_DECLARE_METATYPE(HistoryFilter)

namespace {

QDateTime utc(const char *text)
{
    return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODateWithMs);
}

// A write of 2026-12-01 / 2027-12-01 into an instrument that held 2025-11-20 / 2026-11-20.
RecordEntry sampleEntry()
{
    RecordEntry e;
    e.startedAt = utc("2026-12-10T09:15:02.250Z");
    e.account = QStringLiteral("mkeller");
    e.host = QStringLiteral("bench-2");
    e.programVersion = QStringLiteral("1.2.2");
    e.source = RecordSource::Window;
    e.port = 3;
    e.device = QStringLiteral("/dev/ttyUSB0");
    e.model = QStringLiteral("Veltra KX-2");
    e.serial = QStringLiteral("104233");
    e.firmware = 1.605;
    e.checksum = QStringLiteral("A71F");
    e.calibrationBefore = QDate(2025, 11, 20);
    e.expirationBefore = QDate(2026, 11, 20);
    e.calibrationAsked = QDate(2026, 12, 1);
    e.expirationAsked = QDate(2027, 12, 1);
    return e;
}

RecordEntry finished(RecordEntry e, RecordOutcome outcome, QDate calibration, QDate expiration,
                     const QString &detail = QString())
{
    e.finishedAt = e.startedAt.addMSecs(4180);
    e.calibrationReadBack = calibration;
    e.expirationReadBack = expiration;
    e.outcome = outcome;
    e.detail = detail;
    return e;
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// A real SQLite record that says it has format 3.
QByteArray newerRecordBytes()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("newer.db"));
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("newer"));
        db.setDatabaseName(path);
        db.open();
        QSqlQuery query(db);
        query.exec(QStringLiteral(
            "CREATE TABLE calibration_record (id INTEGER PRIMARY KEY, future TEXT)"));
        query.exec(QStringLiteral("PRAGMA user_version = 4"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("newer"));
    return fileBytes(path);
}

// The child run of readOnlyFileRefusesTheEntry, as an ordinary user, gets the file from here.
const char *const ReadOnlyRecordVariable = "VELTRA_READONLY_RECORD";

QList<RecordEntry> history(CalibRecord &record, const HistoryFilter &filter = {})
{
    QList<RecordEntry> entries;
    const bool read = forEachEntry(record, filter, [&](const RecordEntry &e) {
        entries << e;
        return true;
    });
    return read ? entries : QList<RecordEntry>();
}

void compareEntries(const RecordEntry &actual, const RecordEntry &expected)
{
    QCOMPARE(actual.startedAt, expected.startedAt);
    QCOMPARE(actual.finishedAt, expected.finishedAt);
    QCOMPARE(actual.account, expected.account);
    QCOMPARE(actual.host, expected.host);
    QCOMPARE(actual.programVersion, expected.programVersion);
    QCOMPARE(actual.source, expected.source);
    QCOMPARE(actual.port, expected.port);
    QCOMPARE(actual.device, expected.device);
    QCOMPARE(actual.model, expected.model);
    QCOMPARE(actual.serial, expected.serial);
    QCOMPARE(actual.firmware, expected.firmware);
    QCOMPARE(actual.checksum, expected.checksum);
    QCOMPARE(actual.calibrationBefore, expected.calibrationBefore);
    QCOMPARE(actual.expirationBefore, expected.expirationBefore);
    QCOMPARE(actual.calibrationAsked, expected.calibrationAsked);
    QCOMPARE(actual.expirationAsked, expected.expirationAsked);
    QCOMPARE(actual.calibrationReadBack, expected.calibrationReadBack);
    QCOMPARE(actual.expirationReadBack, expected.expirationReadBack);
    QCOMPARE(outcomeText(actual.outcome), outcomeText(expected.outcome));
    QCOMPARE(actual.detail, expected.detail);
}

} // namespace

class TestCalibRecord : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void entrySurvivesAddAndComplete_data();
    void entrySurvivesAddAndComplete();
    void entryNeverCompletedReadsInterrupted_data();
    void entryNeverCompletedReadsInterrupted();
    void historyIsNewestFirstAndFiltersBySerial_data();
    void historyIsNewestFirstAndFiltersBySerial();
    void twoBenchesShareOneDatabase();
    void sqliteRecordIsMadeOnFirstUse();
    void csvExportIsRfc4180();
    void jsonExportHasTheDocumentedKeys();
    void damagedFileIsLeftAsItIs_data();
    void damagedFileIsLeftAsItIs();
    void readOnlyFileRefusesTheEntry();
    void unusableSettingsAreNamed_data();
    void unusableSettingsAreNamed();
    void serverGoneAfterTheStartStopsTheCompletion();
    void settingsSectionIsRead_data();
    void settingsSectionIsRead();

private:
    // A fresh, empty record on the backend; nullptr when its table could not be cleared.
    std::unique_ptr<CalibRecord> freshRecord(const QString &backend);
    RecordSettings settingsFor(const QString &backend) const;
    QString sqliteFile() const { return m_folder->filePath(RecordFileName); }

    PgServer m_pg;
    bool m_pgRunning = false;
    std::unique_ptr<QTemporaryDir> m_folder;
};

void TestCalibRecord::initTestCase()
{
    if (qEnvironmentVariableIsSet(ReadOnlyRecordVariable))
        return; // the child run needs no server
    m_pgRunning = startPgServer(m_pg);
}

void TestCalibRecord::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
}

RecordSettings TestCalibRecord::settingsFor(const QString &backend) const
{
    return recordSettingsFor(backend, m_pg, sqliteFile());
}

std::unique_ptr<CalibRecord> TestCalibRecord::freshRecord(const QString &backend)
{
    auto record = std::make_unique<CalibRecord>(settingsFor(backend));
    if (backend == Postgres) {
        // The server lives for the whole test case; every test starts from a missing table.
        if (!record->open())
            return nullptr;
        QSqlQuery drop(record->database());
        if (!drop.exec(QStringLiteral("DROP TABLE calibration_record"))
            || !drop.exec(QStringLiteral("DROP TABLE calibration_release")))
            return nullptr;
        record = std::make_unique<CalibRecord>(settingsFor(backend));
    }
    return record;
}

void TestCalibRecord::entrySurvivesAddAndComplete_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<RecordEntry>("entry");
    QTest::addColumn<bool>("addedComplete");

    const RecordEntry start = sampleEntry();
    RecordEntry tool = start;
    tool.source = RecordSource::Tool;
    tool.port.reset();
    tool.device = QStringLiteral("/dev/pts/7");
    tool.checksum.clear();
    tool.expirationBefore = QDate();
    tool.expirationAsked = QDate();
    RecordEntry refused = start;
    refused.calibrationBefore = QDate();
    refused.expirationBefore = QDate();
    refused.firmware = 1.6;

    for (const QString &backend : {Sqlite, Postgres}) {
        const auto row = [&](const char *what) {
            return &QTest::newRow(
                qPrintable(QStringLiteral("%1: %2").arg(backend, QLatin1String(what))));
        };
        *row("verified write keeps every field")
            << backend
            << finished(start, RecordOutcome::Verified, QDate(2026, 12, 1), QDate(2027, 12, 1))
            << false;
        *row("mismatch keeps the dates read back")
            << backend
            << finished(start, RecordOutcome::Mismatch, QDate(2025, 11, 20), QDate(2026, 11, 20))
            << false;
        *row("failed write names the command and read nothing back")
            << backend
            << finished(start, RecordOutcome::Failed, QDate(), QDate(),
                        QStringLiteral("\"EW1\" failed: no prompt from the instrument"))
            << false;
        *row("tool write on a device path without an expiration date or checksum")
            << backend << finished(tool, RecordOutcome::Verified, QDate(2026, 12, 1), QDate())
            << false;
        *row("refused attempt is stored complete at once")
            << backend
            << finished(
                   refused, RecordOutcome::Refused, QDate(), QDate(),
                   QStringLiteral("Firmware of Veltra KX too old, no calibration flag available!"))
            << true;
        *row("text beyond Latin-1 and quotes survive")
            << backend
            << finished(start, RecordOutcome::Refused, QDate(), QDate(),
                        QStringLiteral("Passwort falsch \u2013 \"M\u00fcller\"; it's 'wrong'"))
            << true;
    }
}

void TestCalibRecord::entrySurvivesAddAndComplete()
{
    QFETCH(QString, backend);
    QFETCH(RecordEntry, entry);
    QFETCH(bool, addedComplete);
    SKIP_WITHOUT_SERVER(backend, m_pgRunning);
    const std::unique_ptr<CalibRecord> record = freshRecord(backend);
    QVERIFY(record);

    RecordEntry stored = entry;
    if (!addedComplete) {
        stored.finishedAt = QDateTime();
        stored.calibrationReadBack = stored.expirationReadBack = QDate();
        stored.outcome = RecordOutcome::Open;
        stored.detail.clear();
    }
    QVERIFY2(record->add(stored), qPrintable(record->errorText()));
    QVERIFY(stored.id > 0);
    if (!addedComplete) {
        entry.id = stored.id;
        QVERIFY2(record->complete(entry), qPrintable(record->errorText()));
    }

    const QList<RecordEntry> entries = history(*record);
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0].id, stored.id);
    compareEntries(entries[0], entry);
}

void TestCalibRecord::entryNeverCompletedReadsInterrupted_data()
{
    QTest::addColumn<QString>("backend");
    QTest::newRow("SQLite") << Sqlite;
    QTest::newRow("PostgreSQL") << Postgres;
}

void TestCalibRecord::entryNeverCompletedReadsInterrupted()
{
    QFETCH(QString, backend);
    SKIP_WITHOUT_SERVER(backend, m_pgRunning);
    RecordEntry entry = sampleEntry();
    {
        // The program ends between the two steps: only a new connection reads the entry.
        const std::unique_ptr<CalibRecord> record = freshRecord(backend);
        QVERIFY(record);
        QVERIFY2(record->add(entry), qPrintable(record->errorText()));
    }
    CalibRecord reader(settingsFor(backend));
    const QList<RecordEntry> entries = history(reader);
    QCOMPARE(entries.size(), 1);
    QCOMPARE(outcomeText(entries[0].outcome), QStringLiteral("interrupted"));
    QVERIFY(!entries[0].finishedAt.isValid());
    QVERIFY(!entries[0].calibrationReadBack.isValid());
    QCOMPARE(entries[0].calibrationBefore, QDate(2025, 11, 20));
}

void TestCalibRecord::historyIsNewestFirstAndFiltersBySerial_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<HistoryFilter>("filter");
    QTest::addColumn<QStringList>("expected");

    for (const QString &backend : {Sqlite, Postgres}) {
        const auto row = [&](const char *what) {
            return &QTest::newRow(
                qPrintable(QStringLiteral("%1: %2").arg(backend, QLatin1String(what))));
        };
        *row("every entry, newest first")
            << backend << HistoryFilter()
            << QStringList{"1042 at 12:00", "20417 at 11:00", "104 at 10:00",
                           "1042 at 09:00 (second)", "1042 at 09:00 (first)"};
        *row("one serial number exactly")
            << backend << HistoryFilter{QStringLiteral("1042"), false, {}}
            << QStringList{"1042 at 12:00", "1042 at 09:00 (second)", "1042 at 09:00 (first)"};
        *row("serial numbers that start with the text")
            << backend << HistoryFilter{QStringLiteral("104"), true, {}}
            << QStringList{"1042 at 12:00", "104 at 10:00", "1042 at 09:00 (second)",
                           "1042 at 09:00 (first)"};
        *row("an unknown serial number gives nothing")
            << backend << HistoryFilter{QStringLiteral("9"), false, {}} << QStringList();
        *row("a wildcard is no wildcard")
            << backend << HistoryFilter{QStringLiteral("10%"), true, {}} << QStringList();
        // Every entry here was left open.
        *row("entries never completed are the interrupted ones")
            << backend << HistoryFilter{QStringLiteral("104"), true, RecordOutcome::Interrupted}
            << QStringList{"1042 at 12:00", "104 at 10:00", "1042 at 09:00 (second)",
                           "1042 at 09:00 (first)"};
        *row("an outcome no entry has gives nothing")
            << backend << HistoryFilter{QString(), false, RecordOutcome::Verified} << QStringList();
    }
}

void TestCalibRecord::historyIsNewestFirstAndFiltersBySerial()
{
    QFETCH(QString, backend);
    QFETCH(HistoryFilter, filter);
    QFETCH(QStringList, expected);
    SKIP_WITHOUT_SERVER(backend, m_pgRunning);
    const std::unique_ptr<CalibRecord> record = freshRecord(backend);
    QVERIFY(record);

    // Stored out of time order; two starts in the same millisecond keep the order they were added.
    const QList<std::pair<const char *, const char *>> rows{{"1042", "2026-12-10T09:00:00.000Z"},
                                                            {"104", "2026-12-10T10:00:00.000Z"},
                                                            {"1042", "2026-12-10T12:00:00.000Z"},
                                                            {"20417", "2026-12-10T11:00:00.000Z"},
                                                            {"1042", "2026-12-10T09:00:00.000Z"}};
    for (qsizetype i = 0; i < rows.size(); ++i) {
        RecordEntry entry = sampleEntry();
        entry.serial = QString::fromLatin1(rows[i].first);
        entry.startedAt = utc(rows[i].second);
        entry.detail = i == 0 ? QStringLiteral(" (first)")
            : i == 4          ? QStringLiteral(" (second)")
                              : QString();
        QVERIFY2(record->add(entry), qPrintable(record->errorText()));
    }

    QStringList seen;
    for (const RecordEntry &e : history(*record, filter))
        seen << QStringLiteral("%1 at %2%3")
                    .arg(e.serial, e.startedAt.toString(QStringLiteral("HH:mm")), e.detail);
    QCOMPARE(seen, expected);
}

void TestCalibRecord::twoBenchesShareOneDatabase()
{
    SKIP_WITHOUT_SERVER(Postgres, m_pgRunning);
    const std::unique_ptr<CalibRecord> first = freshRecord(Postgres);
    QVERIFY(first);
    CalibRecord second(settingsFor(Postgres));
    RecordEntry a = sampleEntry();
    a.host = QStringLiteral("bench-a");
    RecordEntry b = sampleEntry();
    b.host = QStringLiteral("bench-b");
    b.startedAt = a.startedAt.addSecs(60);
    // Both open before either writes: the table is made once.
    QVERIFY2(first->open() && second.open(), qPrintable(first->errorText() + second.errorText()));
    QVERIFY(first->add(a));
    QVERIFY(second.add(b));

    CalibRecord reader(settingsFor(Postgres));
    QStringList hosts;
    for (const RecordEntry &e : history(reader))
        hosts << e.host;
    QCOMPARE(hosts, (QStringList{"bench-b", "bench-a"}));
}

void TestCalibRecord::sqliteRecordIsMadeOnFirstUse()
{
    QVERIFY(!QFile::exists(sqliteFile()));
    {
        CalibRecord record(settingsFor(Sqlite));
        RecordEntry entry = sampleEntry();
        QVERIFY2(record.add(entry), qPrintable(record.errorText()));
    }
    QVERIFY(QFile::exists(sqliteFile()));
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        db.setDatabaseName(sqliteFile());
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("PRAGMA journal_mode")) && query.next());
        QCOMPARE(query.value(0).toString(), QStringLiteral("wal"));
        QVERIFY(query.exec(QStringLiteral("PRAGMA user_version")) && query.next());
        QCOMPARE(query.value(0).toInt(), 3);
        QVERIFY(query.exec(QStringLiteral("SELECT count(*) FROM calibration_record"))
                && query.next());
        QCOMPARE(query.value(0).toInt(), 1);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
}

void TestCalibRecord::csvExportIsRfc4180()
{
    CalibRecord record(settingsFor(Sqlite));
    RecordEntry entry = finished(sampleEntry(), RecordOutcome::Failed, QDate(), QDate(),
                                 QStringLiteral("\"WW\" failed, twice\nthen \u00bbgave up\u00ab"));
    entry.model = QStringLiteral("Veltra \u00c4");
    entry.port.reset();
    QVERIFY(record.add(entry));

    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QVERIFY(writeCsv(record, {}, out));
    QCOMPARE(
        out.data(),
        "started_at,finished_at,account,host,source,port,device,model,serial,firmware,checksum,"
        "calibration_before,expiration_before,calibration_asked,expiration_asked,"
        "calibration_read_back,expiration_read_back,outcome,detail,program_version,id,certificate,"
        "technician,reference,hash,released_by,released_at\r\n"
        "2026-12-10T09:15:02.250Z,2026-12-10T09:15:06.430Z,mkeller,bench-2,window,,/dev/ttyUSB0,"
        "Veltra \xc3\x84,104233,1.605,A71F,2025-11-20,2026-11-20,2026-12-01,2027-12-01,,,failed,"
        "\"\"\"WW\"\" failed, twice\nthen \xc2\xbbgave up\xc2\xab\",1.2.2,1,,,,"
        "003362f829d49db40b5db3164db76d0f2fa3d4cfd068771489d50c3f11421798,,\r\n");
}

void TestCalibRecord::jsonExportHasTheDocumentedKeys()
{
    CalibRecord record(settingsFor(Sqlite));
    RecordEntry open = sampleEntry();
    open.serial = QStringLiteral("7");
    RecordEntry done =
        finished(sampleEntry(), RecordOutcome::Verified, QDate(2026, 12, 1), QDate(2027, 12, 1));
    QVERIFY(record.add(open));
    QVERIFY(record.add(done));

    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QVERIFY(writeJson(record, HistoryFilter{QStringLiteral("104233"), false, {}}, out));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(out.data(), &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(document.array().size(), 1);
    const QJsonObject object = document.array().at(0).toObject();
    QCOMPARE(object.keys(),
             (QStringList{"account",
                          "calibration_asked",
                          "calibration_before",
                          "calibration_read_back",
                          "certificate",
                          "checksum",
                          "detail",
                          "device",
                          "expiration_asked",
                          "expiration_before",
                          "expiration_read_back",
                          "finished_at",
                          "firmware",
                          "hash",
                          "host",
                          "id",
                          "model",
                          "outcome",
                          "port",
                          "program_version",
                          "reference",
                          "released_at",
                          "released_by",
                          "serial",
                          "source",
                          "started_at",
                          "technician"}));
    QCOMPARE(object["started_at"].toString(), QStringLiteral("2026-12-10T09:15:02.250Z"));
    QCOMPARE(object["calibration_read_back"].toString(), QStringLiteral("2026-12-01"));
    QCOMPARE(object["port"].toInt(), 3);
    QCOMPARE(object["firmware"].toDouble(), 1.605);
    QVERIFY(object["detail"].isNull());
    QCOMPARE(object["outcome"].toString(), QStringLiteral("verified"));
    QCOMPARE(object["id"].toInt(), 2);
    QCOMPARE(object["certificate"].toString(), QStringLiteral("VC-2026-000002"));
    QVERIFY(object["reference"].isNull());

    QBuffer empty;
    empty.open(QIODevice::WriteOnly);
    QVERIFY(writeJson(record, HistoryFilter{QStringLiteral("1"), false, {}}, empty));
    QCOMPARE(QJsonDocument::fromJson(empty.data()).array().size(), 0);
}

void TestCalibRecord::damagedFileIsLeftAsItIs_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("says");

    QTest::newRow("a record of a newer program")
        << newerRecordBytes()
        << QStringLiteral("was made by a newer version of this program (format 4)");
    QTest::newRow("a text file in the record's place")
        << QByteArray("Calibration notes\n2026-12-01 bench 2\n").repeated(200)
        << QStringLiteral("is damaged or is not a record file");
    // A real record's header with its pages cut off.
    QByteArray header("SQLite format 3\0", 16);
    header +=
        QByteArray::fromHex("1000020200402020000000050000000500000000000000000000000400000004");
    header += QByteArray(4096 - header.size(), '\xAB');
    QTest::newRow("a record whose pages are garbage")
        << header.repeated(3) << QStringLiteral("is damaged or is not a record file");
}

void TestCalibRecord::damagedFileIsLeftAsItIs()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, says);
    writeBytes(sqliteFile(), bytes);

    CalibRecord record(settingsFor(Sqlite));
    RecordEntry entry = sampleEntry();
    QVERIFY(!record.add(entry));
    QVERIFY2(record.errorText().contains(says), qPrintable(record.errorText()));
    QVERIFY2(record.errorText().contains(QDir::toNativeSeparators(sqliteFile())),
             qPrintable(record.errorText()));
    QVERIFY(!forEachEntry(record, {}, [](const RecordEntry &) { return true; }));
    QCOMPARE(fileBytes(sqliteFile()), bytes);
}

void TestCalibRecord::readOnlyFileRefusesTheEntry()
{
    QString path = qEnvironmentVariable(ReadOnlyRecordVariable);
    if (path.isEmpty()) {
        path = sqliteFile();
        {
            CalibRecord record(settingsFor(Sqlite));
            RecordEntry entry = sampleEntry();
            QVERIFY(record.add(entry));
        }
        QVERIFY(QFile::setPermissions(
            path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
        // Root writes into any file: an ordinary user has to find the file read-only, so the
        // check runs again as one, on this file.
        if (runningAsRoot()) {
            QVERIFY(QFile::setPermissions(m_folder->path(),
                                          QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                              | QFileDevice::ExeOwner | QFileDevice::ReadOther
                                              | QFileDevice::ExeOther));
            const QByteArray before = fileBytes(path);
            const QStringList command =
                unprivilegedCommand(QCoreApplication::applicationFilePath(),
                                    {QStringLiteral("readOnlyFileRefusesTheEntry")});
            QProcess child;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QString::fromLatin1(ReadOnlyRecordVariable), path);
            child.setProcessEnvironment(environment);
            child.setProcessChannelMode(QProcess::MergedChannels);
            child.start(command.first(), command.mid(1));
            QVERIFY(child.waitForFinished(60000));
            QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                     child.readAll().constData());
            QCOMPARE(fileBytes(path), before);
            return;
        }
    }
    RecordSettings settings;
    settings.sqliteFile = path;
    CalibRecord record(settings);
    RecordEntry entry = sampleEntry();
    QVERIFY(!record.add(entry));
    QVERIFY2(record.errorText().contains(QDir::toNativeSeparators(path)),
             qPrintable(record.errorText()));
    QVERIFY2(record.errorText().contains(QStringLiteral("readonly")),
             qPrintable(record.errorText()));
}

void TestCalibRecord::unusableSettingsAreNamed_data()
{
    QTest::addColumn<RecordSettings>("settings");
    QTest::addColumn<QStringList>("says");

    RecordSettings unknownDriver;
    unknownDriver.driver = QStringLiteral("QMYSQL");
    QTest::newRow("an unknown driver")
        << unknownDriver << QStringList{"\"QMYSQL\"", "[Record]", "QSQLITE or QPSQL"};
    RecordSettings noFolder;
    noFolder.sqliteFile = QStringLiteral("/nonexistent/folder/VeltraCalibRecord.db");
    QTest::newRow("a record file in a missing folder")
        << noFolder << QStringList{"/nonexistent/folder/VeltraCalibRecord.db", "folder is missing"};
    RecordSettings noServer;
    noServer.driver = QStringLiteral("QPSQL");
    noServer.host = QStringLiteral("/nonexistent/socket");
    noServer.port = 5999;
    noServer.database = QStringLiteral("lab");
    QTest::newRow("no server at the socket folder")
        << noServer
        << QStringList{"PostgreSQL server /nonexistent/socket, port 5999", "\"lab\"",
                       "cannot be reached"};
}

void TestCalibRecord::unusableSettingsAreNamed()
{
    QFETCH(RecordSettings, settings);
    QFETCH(QStringList, says);
    CalibRecord record(settings);
    RecordEntry entry = sampleEntry();
    QVERIFY(!record.add(entry));
    for (const QString &text : says)
        QVERIFY2(record.errorText().contains(text), qPrintable(record.errorText()));
    QCOMPARE(entry.id, 0);
}

void TestCalibRecord::serverGoneAfterTheStartStopsTheCompletion()
{
    PgServer server;
    if (!server.start())
        QSKIP(qPrintable(server.errorText()));
    RecordSettings settings = settingsFor(Postgres);
    settings.host = server.socketFolder();
    CalibRecord record(settings);
    RecordEntry entry = sampleEntry();
    QVERIFY2(record.add(entry), qPrintable(record.errorText()));

    server.stop();
    entry = finished(entry, RecordOutcome::Verified, entry.calibrationAsked, entry.expirationAsked);
    QVERIFY(!record.complete(entry));
    QVERIFY2(record.errorText().contains(
                 QStringLiteral("PostgreSQL server %1").arg(server.socketFolder())),
             qPrintable(record.errorText()));
    RecordEntry next = sampleEntry();
    QVERIFY(!record.add(next));
    QVERIFY2(record.errorText().contains(QStringLiteral("cannot be reached")),
             qPrintable(record.errorText()));
}

void TestCalibRecord::settingsSectionIsRead_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("driver");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("user");

    QTest::newRow("no section: SQLite beside the settings")
        << QByteArray("[Appl]\r\nComPort=3\r\n") << "QSQLITE"
        << "" << 5432 << "veltra"
        << "";
    QTest::newRow("a lab server") << QByteArray(
        "[Record]\r\nDriver=QPSQL\r\nHost=db.lab.example\r\nPort=6543\r\n"
        "Database=calib\r\nUser=bench\r\n")
                                  << "QPSQL"
                                  << "db.lab.example" << 6543 << "calib"
                                  << "bench";
    QTest::newRow("lower-case driver and blanks around values")
        << QByteArray("[record]\nDriver = qpsql \nHost= /run/postgresql\n") << "QPSQL"
        << "/run/postgresql" << 5432 << "veltra"
        << "";
    QTest::newRow("a port that is no port number")
        << QByteArray("[Record]\nDriver=QPSQL\nPort=fivefour\n") << "QPSQL"
        << "" << 0 << "veltra"
        << "";
}

void TestCalibRecord::settingsSectionIsRead()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, driver);
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(QString, database);
    QFETCH(QString, user);
    const QString iniFile = m_folder->filePath(QStringLiteral("VeltraSetCheckDate.ini"));
    writeBytes(iniFile, ini);

    const RecordSettings settings = RecordSettings::fromSettingsFile(iniFile);
    QCOMPARE(settings.driver, driver);
    QCOMPARE(settings.host, host);
    QCOMPARE(settings.port, port);
    QCOMPARE(settings.database, database);
    QCOMPARE(settings.user, user);
    QCOMPARE(settings.sqliteFile, sqliteFile());
}

QTEST_GUILESS_MAIN(TestCalibRecord)
#include "tst_calibrecord.moc"
