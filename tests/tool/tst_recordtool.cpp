// veltra-calib's commands on the calibration record alone, as a process on a real SQLite record:
// "history --verify" and its exit codes, "due" in each of its forms, the calendar read back
// with libical, "label" and "certificate" found by id or certificate number, "release" by the
// calling account and "certificate --check" against the record as written and as tampered with.

#include "calibrecord.h"
#include "filebytes.h"
#include "labpki.h"
#include "recordchain.h"
#include "recordhistory.h"
#include "recordrelease.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <libical/ical.h>

#include <memory>

namespace {

struct ToolRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// A settings folder whose record the tests fill, and the tool run on it.
struct RecordRig
{
    QTemporaryDir folder;

    QString iniPath() const { return folder.filePath(QStringLiteral("VeltraSetCheckDate.ini")); }
    RecordSettings settings() const { return RecordSettings::fromSettingsFile(iniPath()); }

    ToolRun run(const QStringList &arguments) const
    {
        QProcess tool;
        tool.start(qEnvironmentVariable("VELTRA_CALIB"),
                   QStringList{QStringLiteral("--settings"), iniPath()} + arguments);
        ToolRun result;
        if (!tool.waitForFinished(30000))
            return result;
        result.exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
        result.out = tool.readAllStandardOutput();
        result.err = tool.readAllStandardError();
        return result;
    }

    // A write of serial's instrument that started at startedAt, completed with outcome; by
    // account, or by the account running the test.
    bool keep(const QString &serial, const QDateTime &startedAt, const QDate &expiration,
              RecordOutcome outcome = RecordOutcome::Verified, const QString &account = {})
    {
        CalibRecord record(settings());
        RecordEntry entry = RecordEntry::startedNow(RecordSource::Window);
        if (!account.isEmpty())
            entry.account = account;
        entry.startedAt = startedAt;
        entry.serial = serial;
        entry.model = QStringLiteral("Veltra KX-2");
        entry.technician = QStringLiteral("Maria Keller");
        entry.calibrationAsked = startedAt.date();
        entry.expirationAsked = expiration;
        if (!record.add(entry)) {
            qWarning() << record.errorText();
            return false;
        }
        entry.finishedAt = startedAt.addSecs(5);
        entry.outcome = outcome;
        return record.complete(entry);
    }

    // Any client's statement on the record, as the attacker of a test.
    bool execute(const QStringList &statements)
    {
        CalibRecord record(settings());
        if (!record.open())
            return false;
        QSqlQuery query(record.database());
        for (const QString &statement : statements) {
            if (!query.exec(statement))
                return false;
        }
        return true;
    }
};

QDateTime daysAgo(int days)
{
    return QDateTime(QDate::currentDate().addDays(-days), QTime(10, 0), QTimeZone::utc());
}

QDate inDays(int days)
{
    return QDate::currentDate().addDays(days);
}

} // namespace

class RecordToolTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void verifyWalksTheChain_data();
    void verifyWalksTheChain();
    void dueListsTheLatestVerifiedWrite_data();
    void dueListsTheLatestVerifiedWrite();
    void dueCalendarReadsBackWithLibical();
    void dueOptionsBelongToDue_data();
    void dueOptionsBelongToDue();
    void pagesOfAVerifiedEntryOnly_data();
    void pagesOfAVerifiedEntryOnly();
    void releaseByTheCallingAccount_data();
    void releaseByTheCallingAccount();
    void checkHoldsTheCertificateAgainstTheRecord_data();
    void checkHoldsTheCertificateAgainstTheRecord();
};

void RecordToolTest::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("VELTRA_CALIB"))
        QSKIP("VELTRA_CALIB is needed");
}

void RecordToolTest::verifyWalksTheChain_data()
{
    QTest::addColumn<QStringList>("tampering");
    QTest::addColumn<bool>("damaged");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("says");
    QTest::newRow("an untouched record is intact")
        << QStringList() << false << 0 << QByteArray("intact: 3 entries\n");
    QTest::newRow("a changed date names its entry and certificate")
        << QStringList{"DROP TRIGGER calibration_record_no_update",
                       "UPDATE calibration_record SET expiration_asked = '2099-01-01' WHERE id = 2"}
        << false << 4 << QByteArray("entry 2 (VC-2026-000002): its fields do not match");
    QTest::newRow("a removed entry names the one after it")
        << QStringList{"DROP TRIGGER calibration_record_no_delete",
                       "DELETE FROM calibration_record WHERE id = 2"}
        << false << 4 << QByteArray("entry 3 (VC-2026-000003): it does not follow");
    QTest::newRow("a record that cannot be read")
        << QStringList() << true << 1 << QByteArray("VeltraCalibRecord.db");
}

void RecordToolTest::verifyWalksTheChain()
{
    QFETCH(QStringList, tampering);
    QFETCH(bool, damaged);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, says);
    RecordRig rig;
    if (damaged) {
        QFile file(rig.settings().sqliteFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
    } else {
        for (int i = 0; i < 3; ++i) {
            const QDateTime started(QDate(2026, 3, 1 + i), QTime(9, 0), QTimeZone::utc());
            QVERIFY(rig.keep(QStringLiteral("10423%1").arg(i), started, QDate(2027, 3, 1)));
        }
        QVERIFY(rig.execute(tampering));
    }

    const ToolRun run = rig.run({"history", "--verify"});
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2((exitCode == 0 ? run.out : run.err).contains(says), run.out + run.err);
    QCOMPARE((run.out + run.err).count('\n'), 1);
}

void RecordToolTest::dueListsTheLatestVerifiedWrite_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("serials");
    QTest::newRow("thirty days by default")
        << QStringList{"due", "--json"} << QStringList{"1001", "1002", "1005"};
    QTest::newRow("a wider window takes the later ones too")
        << QStringList{"due", "--json", "--within", "120"}
        << QStringList{"1001", "1002", "1005", "1003"};
    QTest::newRow("no days ahead: only what has expired")
        << QStringList{"due", "--json", "--within", "0"} << QStringList{"1001"};
}

// 1001 expired 10 days ago, 1002 expires in 5 days, 1003 in 100 days; 1004 was calibrated again
// and expires in a year now; 1005's latest write failed, so its verified one before counts; 1006
// keeps no expiration date.
void RecordToolTest::dueListsTheLatestVerifiedWrite()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, serials);
    RecordRig rig;
    QVERIFY(rig.keep("1003", daysAgo(265), inDays(100)));
    QVERIFY(rig.keep("1001", daysAgo(375), inDays(-10)));
    QVERIFY(rig.keep("1004", daysAgo(360), inDays(5)));
    QVERIFY(rig.keep("1004", daysAgo(1), inDays(364)));
    QVERIFY(rig.keep("1002", daysAgo(360), inDays(5)));
    QVERIFY(rig.keep("1005", daysAgo(340), inDays(25)));
    QVERIFY(rig.keep("1005", daysAgo(2), inDays(363), RecordOutcome::Failed));
    QVERIFY(rig.keep("1006", daysAgo(400), QDate()));

    const ToolRun run = rig.run(arguments);
    QCOMPARE(run.exitCode, 0);
    const QJsonArray due = QJsonDocument::fromJson(run.out).array();
    QStringList found;
    for (const QJsonValue &value : due)
        found << value.toObject().value("serial").toString();
    QCOMPARE(found, serials);
    const QJsonObject first = due.first().toObject();
    QCOMPARE(first.keys(),
             (QStringList{"calibration_date", "certificate", "days_left", "expiration_date",
                          "model", "serial", "technician"}));
    QCOMPARE(first.value("days_left").toInteger(), -10);
    QCOMPARE(first.value("expiration_date").toString(), inDays(-10).toString(Qt::ISODate));
    QCOMPARE(first.value("calibration_date").toString(), daysAgo(375).date().toString(Qt::ISODate));
    QCOMPARE(first.value("certificate").toString(),
             QStringLiteral("VC-%1-000002").arg(daysAgo(375).date().year()));
    QCOMPARE(first.value("technician").toString(), QStringLiteral("Maria Keller"));
    QCOMPARE(first.value("model").toString(), QStringLiteral("Veltra KX-2"));

    const ToolRun csv = rig.run(QStringList{"due", "--csv"} + arguments.mid(2));
    QCOMPARE(csv.exitCode, 0);
    QVERIFY(csv.out.startsWith("serial,model,calibration_date,expiration_date,days_left,"
                               "certificate,technician\r\n1001,Veltra KX-2,"));
    QCOMPARE(csv.out.count("\r\n"), serials.size() + 1);
}

// Each event is read back as a calendar program would: its day, its UID, its summary.
void RecordToolTest::dueCalendarReadsBackWithLibical()
{
    RecordRig rig;
    QVERIFY(rig.keep("1002", daysAgo(360), inDays(5)));
    QVERIFY(rig.keep("1001", daysAgo(375), inDays(-10)));

    const ToolRun first = rig.run({"due", "--ics"});
    QCOMPARE(first.exitCode, 0);
    const std::unique_ptr<icalcomponent, decltype(&icalcomponent_free)> calendar(
        icalparser_parse_string(first.out.constData()), &icalcomponent_free);
    QVERIFY(calendar);
    QCOMPARE(icalcomponent_isa(calendar.get()), ICAL_VCALENDAR_COMPONENT);
    QStringList uids;
    QList<QDate> days;
    QStringList summaries;
    for (icalcomponent *event =
             icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT);
         event; event = icalcomponent_get_next_component(calendar.get(), ICAL_VEVENT_COMPONENT)) {
        const icaltimetype start = icalcomponent_get_dtstart(event);
        QVERIFY(start.is_date);
        days << QDate(start.year, start.month, start.day);
        uids << QString::fromUtf8(icalcomponent_get_uid(event));
        summaries << QString::fromUtf8(icalcomponent_get_summary(event));
    }
    QCOMPARE(days, (QList<QDate>{inDays(-10), inDays(5)}));
    QCOMPARE(summaries,
             (QStringList{"Calibration expires: Veltra KX-2 1001",
                          "Calibration expires: Veltra KX-2 1002"}));
    QCOMPARE(uids[0],
             QStringLiteral("veltra-due-1001-%1@veltra-setcalibdate")
                 .arg(inDays(-10).toString(QStringLiteral("yyyyMMdd"))));

    // Another run, with another entry since: the same instruments keep their UIDs.
    QVERIFY(rig.keep("1003", daysAgo(350), inDays(15)));
    const ToolRun second = rig.run({"due", "--ics"});
    QCOMPARE(second.exitCode, 0);
    for (const QString &uid : uids)
        QVERIFY2(second.out.contains(uid.toUtf8()), qPrintable(uid));
    QCOMPARE(second.out.count("BEGIN:VEVENT"), 3);
}

void RecordToolTest::dueOptionsBelongToDue_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("says");
    QTest::newRow("--within is a number of days")
        << QStringList{"due", "--within", "soon"} << QByteArray("--within");
    QTest::newRow("--ics belongs to due") << QStringList{"history", "--ics"} << QByteArray("due");
    QTest::newRow("--verify belongs to history")
        << QStringList{"due", "--verify"} << QByteArray("history");
    QTest::newRow("one form of output at a time")
        << QStringList{"due", "--json", "--ics"} << QByteArray("one of");
}

void RecordToolTest::dueOptionsBelongToDue()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, says);
    RecordRig rig;
    const ToolRun run = rig.run(arguments);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(says), run.err);
    QVERIFY(run.out.isEmpty());
}

void RecordToolTest::pagesOfAVerifiedEntryOnly_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("says");

    const QString year = QString::number(daysAgo(3).date().year());
    QTest::newRow("by record id") << QStringList{"label", "1", "-o", "FILE"} << 0 << QByteArray();
    QTest::newRow("by certificate number")
        << QStringList{"label", "VC-" + year + "-000001", "-o", "FILE"} << 0 << QByteArray();
    QTest::newRow("a certificate number of another year")
        << QStringList{"label", "VC-1999-000001", "-o", "FILE"} << 1
        << QByteArray("no entry \"VC-1999-000001\"");
    QTest::newRow("an id the record does not hold")
        << QStringList{"label", "7", "-o", "FILE"} << 1 << QByteArray("no entry \"7\"");
    QTest::newRow("an entry whose dates did not read back")
        << QStringList{"label", "2", "-o", "FILE"} << 5
        << QByteArray("entry 2 was not verified (mismatch): no label");
    QTest::newRow("a file that cannot be written")
        << QStringList{"label", "1", "-o", "FILE/missing/label.pdf"} << 1
        << QByteArray("cannot be written");
    QTest::newRow("a certificate of a verified entry")
        << QStringList{"certificate", "1", "-o", "FILE"} << 0 << QByteArray();
    QTest::newRow("no certificate for an entry whose dates did not read back")
        << QStringList{"certificate", "2", "-o", "FILE"} << 5
        << QByteArray("entry 2 was not verified (mismatch): no certificate");
    QTest::newRow("without a file to write or a printer")
        << QStringList{"label", "1"} << 1
        << QByteArray("label needs -o FILE.pdf or --printer NAME");
    QTest::newRow("a file and a printer")
        << QStringList{"label", "1", "-o", "FILE", "--printer", "QL"} << 1
        << QByteArray("give -o or --printer, not both");
    QTest::newRow("a printer for a certificate")
        << QStringList{"certificate", "1", "-o", "FILE", "--printer", "QL"} << 1
        << QByteArray("--printer belongs to label");
    QTest::newRow("a print queue that no scheduler answers")
        << QStringList{"label", "1", "--printer", "QL"} << 1
        << QByteArray("the print queue \"QL\" takes no job");
}

void RecordToolTest::pagesOfAVerifiedEntryOnly()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, says);
    RecordRig rig;
    QVERIFY(rig.keep(QStringLiteral("40417"), daysAgo(3), inDays(360)));
    QVERIFY(rig.keep(QStringLiteral("40418"), daysAgo(2), inDays(360), RecordOutcome::Mismatch));
    const QString pdf = rig.folder.filePath(QStringLiteral("label.pdf"));
    arguments.replaceInStrings(QStringLiteral("FILE"), pdf);
    // A scheduler's socket where none listens, so that no system scheduler takes a job.
    qputenv("CUPS_SERVER", QFile::encodeName(rig.folder.filePath(QStringLiteral("cups.sock"))));
    // As under cron or a service: no runtime folder, about which Qt would have a word to say.
    qunsetenv("XDG_RUNTIME_DIR");
    const ToolRun run = rig.run(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.contains(says), run.err);
    // Only the tool's own lines on stderr.
    for (const QByteArray &line : run.err.split('\n')) {
        if (!line.isEmpty())
            QVERIFY2(line.startsWith("veltra-calib: "), line);
    }
    // The PDF's contents are the label's own test; here only that it was written or not.
    QCOMPARE(fileBytes(pdf).startsWith("%PDF-"), exitCode == 0);
}

void RecordToolTest::releaseByTheCallingAccount_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("says");

    // 1: verified, by mkeller; 2: mismatch, by mkeller; 3: verified, by this account;
    // 4: verified, by mkeller, released by Jonas Brandt.
    const QByteArray year = QByteArray::number(daysAgo(3).date().year());
    QTest::newRow("another account's verified entry")
        << QStringList{"release", "1"} << QByteArray() << 0
        << "entry 1 (VC-" + year + "-000001) released by ";
    QTest::newRow("found by its certificate number")
        << QStringList{"release", "VC-" + year + "-000001"} << QByteArray() << 0
        << QByteArray("released by ");
    QTest::newRow("an entry that did not verify")
        << QStringList{"release", "2"} << QByteArray() << 5
        << QByteArray("entry 2 was not verified (mismatch)");
    QTest::newRow("this account's own work") << QStringList{"release", "3"} << QByteArray() << 5
                                             << QByteArray("entry 3 was written by this account");
    QTest::newRow("an entry released before says by whom and when")
        << QStringList{"release", "4"} << QByteArray() << 5
        << QByteArray("entry 4 was already released by Jonas Brandt on 2026-12-11T08:30:00Z");
    QTest::newRow("an id the record does not hold")
        << QStringList{"release", "9"} << QByteArray() << 1 << QByteArray("no entry \"9\"");
    QTest::newRow("release without an entry")
        << QStringList{"release"} << QByteArray() << 1 << QByteArray("release takes one ID");
    const QByteArray required = "[Certificate]\nRequireRelease=1\n";
    QTest::newRow("no certificate of an unreleased entry where a release is required")
        << QStringList{"certificate", "1", "-o", "FILE"} << required << 5
        << QByteArray("entry 1 is not released");
    QTest::newRow("the certificate of a released entry where a release is required")
        << QStringList{"certificate", "4", "-o", "FILE"} << required << 0 << QByteArray();
}

// The tool runs as this account; the entries name others, as the record's seam allows.
void RecordToolTest::releaseByTheCallingAccount()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, settings);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, says);
    RecordRig rig;
    QVERIFY(writeFileBytes(rig.iniPath(), settings));
    const QString other = QStringLiteral("mkeller");
    QVERIFY(rig.keep("40417", daysAgo(3), inDays(360), RecordOutcome::Verified, other));
    QVERIFY(rig.keep("40418", daysAgo(2), inDays(360), RecordOutcome::Mismatch, other));
    QVERIFY(rig.keep("40419", daysAgo(2), inDays(360)));
    QVERIFY(rig.keep("40420", daysAgo(1), inDays(360), RecordOutcome::Verified, other));
    {
        CalibRecord record(rig.settings());
        RecordEntry released;
        QCOMPARE(record.release(4, Releaser{"jbrandt", "Jonas Brandt"},
                                QDateTime(QDate(2026, 12, 11), QTime(8, 30), QTimeZone::utc()),
                                released),
                 CalibRecord::Release::Done);
    }
    const QByteArray before = rig.run({"history", "--json"}).out;
    const QString pdf = rig.folder.filePath(QStringLiteral("certificate.pdf"));
    arguments.replaceInStrings(QStringLiteral("FILE"), pdf);

    const ToolRun run = rig.run(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2((exitCode == 0 ? run.out : run.err).contains(says), run.out + run.err);
    const QByteArray after = rig.run({"history", "--json"}).out;
    const bool released = arguments[0] == QLatin1String("release") && exitCode == 0;
    QCOMPARE(after == before, !released);
    QCOMPARE(rig.run({"history", "--verify"}).out,
             "intact: " + QByteArray::number(released ? 6 : 5) + " entries\n");
    if (!released)
        return;
    const QJsonArray entries = QJsonDocument::fromJson(after).array();
    const QJsonObject first = entries.last().toObject();
    QCOMPARE(first.value("id").toInt(), 1);
    QVERIFY(!first.value("released_by").toString().isEmpty());
    QVERIFY(first.value("released_at").toString().endsWith(u'Z'));
    QCOMPARE(first.value("hash").toString().size(), 64);
    QCOMPARE(entries.first().toObject().value("released_by").toString(),
             QStringLiteral("Jonas Brandt"));
}

void RecordToolTest::checkHoldsTheCertificateAgainstTheRecord_data()
{
    QTest::addColumn<QStringList>("tampering");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("signedByLab");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("says");

    // Entries 1 to 3; the certificate is entry 2's.
    const QByteArray dropUpdate = "DROP TRIGGER calibration_record_no_update";
    const QByteArray dropDelete = "DROP TRIGGER calibration_record_no_delete";
    QTest::newRow("the record as written")
        << QStringList() << QByteArray() << false << 0
        << QByteArray("-000002: matches entry 2 of the record; chain intact (2 entries)\n");
    QTest::newRow("a certificate signed by the lab names its signer")
        << QStringList() << QByteArray() << true << 0
        << QByteArray("chain intact (2 entries); signed by Nordlicht Kalibrierlabor\n");
    QTest::newRow("an entry after it changed is not its concern")
        << QStringList{dropUpdate, "UPDATE calibration_record SET serial = 'x' WHERE id = 3"}
        << QByteArray() << false << 0 << QByteArray("chain intact (2 entries)");
    QTest::newRow("a field of its entry changed")
        << QStringList{dropUpdate, "UPDATE calibration_record SET serial = 'x' WHERE id = 2"}
        << QByteArray() << false << 4 << QByteArray("chain broken at entry 2 (VC-");
    QTest::newRow("its entry changed and its hash made anew")
        << QStringList{dropUpdate,
                       "UPDATE calibration_record SET serial = 'x', hash = 'HASH2' WHERE id = 2",
                       "UPDATE calibration_record SET previous_hash = 'HASH2', hash = 'HASH3' "
                       "WHERE id = 3"}
        << QByteArray() << false << 4
        << QByteArray("entry 2 of the record no longer gives the certificate's hash");
    QTest::newRow("an entry before it removed")
        << QStringList{dropDelete, "DELETE FROM calibration_record WHERE id = 1"} << QByteArray()
        << false << 4 << QByteArray("it does not follow the entry completed before it");
    QTest::newRow("its entry removed")
        << QStringList{dropDelete, "DELETE FROM calibration_record WHERE id = 2"} << QByteArray()
        << false << 4 << QByteArray("the calibration record holds no entry of this certificate");
    QTest::newRow("a PDF of another program")
        << QStringList()
        << QByteArray("%PDF-1.4\n1 0 obj\n<< /Title (Invoice) /Producer (LibreOffice) >>\nendobj\n"
                      "trailer\n<< /Root 1 0 R >>\n%%EOF\n")
        << false << 1 << QByteArray("is no calibration certificate of this program");
}

void RecordToolTest::checkHoldsTheCertificateAgainstTheRecord()
{
    QFETCH(QStringList, tampering);
    QFETCH(QByteArray, file);
    QFETCH(bool, signedByLab);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, says);
    RecordRig rig;
    if (signedByLab) {
        const LabIdentity lab = LabIdentity::make(QStringLiteral("Nordlicht Kalibrierlabor"));
        QVERIFY(writeFileBytes(rig.folder.filePath("lab-cert.pem"), lab.certificate));
        QVERIFY(writeFileBytes(rig.folder.filePath("lab-key.pem"), lab.key));
        QVERIFY(QFile::setPermissions(rig.folder.filePath("lab-key.pem"),
                                      QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(writeFileBytes(rig.iniPath(),
                               "[Certificate]\nSigningCertificate=lab-cert.pem\n"
                               "SigningKey=lab-key.pem\n"));
    }
    for (int i = 0; i < 3; ++i)
        QVERIFY(rig.keep(QStringLiteral("4041%1").arg(i), daysAgo(3 - i), inDays(360)));
    const QString pdf = rig.folder.filePath(QStringLiteral("certificate.pdf"));
    QCOMPARE(rig.run({"certificate", "2", "-o", pdf}).exitCode, 0);
    if (!file.isEmpty())
        QVERIFY(writeFileBytes(pdf, file));
    // Hashes made anew as whoever rewrote the entry would make them: the chain holds, the paper
    // does not.
    if (tampering.join(u' ').contains(QStringLiteral("HASH2"))) {
        CalibRecord record(rig.settings());
        std::optional<RecordEntry> second = readEntry(record, 2);
        std::optional<RecordEntry> third = readEntry(record, 3);
        QVERIFY(second && third);
        second->serial = QStringLiteral("x");
        second->hash = chainHash(hashedValues(*second, 2, readEntry(record, 1)->hash));
        third->hash = chainHash(hashedValues(*third, 3, second->hash));
        tampering.replaceInStrings(QStringLiteral("HASH2"), second->hash);
        tampering.replaceInStrings(QStringLiteral("HASH3"), third->hash);
        QVERIFY(rig.execute(tampering));
        QCOMPARE(rig.run({"history", "--verify"}).exitCode, 0);
    } else {
        QVERIFY(rig.execute(tampering));
    }

    const ToolRun run = rig.run({"certificate", "--check", pdf});
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2((exitCode == 0 ? run.out : run.err).contains(says), run.out + run.err);
}

QTEST_GUILESS_MAIN(RecordToolTest)
#include "tst_recordtool.moc"
