// veltra-calib as a process against the virtual instrument: each command, --json parsed back,
// the exact commands of a write, and every exit code.

#include "commandtexts.h"
#include "filebytes.h"
#include "passwordstore.h"
#include "portentry.h"
#include "programpaths.h"
#include "siminstrument.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>

using Commands = QByteArrayList;

namespace {

struct ToolRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;

    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

// A settings folder with the simulator entered as COM3, and the tool run on it.
struct ToolRig
{
    QTemporaryDir folder;
    SimInstrument sim;
    // Runs name COM3 unless they name a port or device themselves, or this is cleared.
    bool onPort3 = true;
    // The locale the tool runs in, when not the test's own.
    QString locale;

    QString iniPath() const { return folder.filePath(SettingsFileName); }

    bool start(const QStringList &simArguments)
    {
        if (!sim.start(simArguments, 3, iniPath())) {
            qWarning() << sim.errorText();
            return false;
        }
        return true;
    }

    ToolRun run(const QStringList &arguments, const QByteArray &input = {}) const
    {
        QStringList all{QStringLiteral("--settings"), iniPath()};
        if (onPort3 && !arguments.contains(QStringLiteral("--device"))
            && !arguments.contains(QStringLiteral("--port")))
            all << QStringLiteral("--port") << QStringLiteral("3");
        QProcess tool;
        if (!locale.isEmpty()) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("LC_ALL"), locale);
            environment.insert(QStringLiteral("LANG"), locale);
            environment.remove(QStringLiteral("LANGUAGE"));
            tool.setProcessEnvironment(environment);
        }
        tool.start(qEnvironmentVariable("VELTRA_CALIB"), all + arguments);
        ToolRun result;
        if (!tool.waitForStarted(5000))
            return result;
        tool.write(input);
        tool.closeWriteChannel();
        // A silent instrument takes three attempts with their time limits.
        if (!tool.waitForFinished(30000)) {
            tool.kill();
            tool.waitForFinished();
            return result;
        }
        result.exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
        result.out = tool.readAllStandardOutput();
        result.err = tool.readAllStandardError();
        return result;
    }

    // Sets the access password of this settings folder.
    bool setPassword(const QString &password)
    {
        PrgPath = folder.path() + QLatin1Char('/');
        PasswordStore store;
        store.setPassword(password);
        return store.WritePassword().ok();
    }
};

// veltra-calib running until it is interrupted, its output lines kept as they come.
struct RunningTool
{
    QProcess process;
    QList<QByteArray> lines;
    QByteArray err;

    bool start(const ToolRig &rig, const QStringList &arguments, const QByteArray &input = {})
    {
        QObject::connect(&process, &QProcess::readyReadStandardOutput, &process, [this] {
            while (process.canReadLine())
                lines << process.readLine().trimmed();
        });
        QObject::connect(&process, &QProcess::readyReadStandardError, &process,
                         [this] { err += process.readAllStandardError(); });
        process.start(qEnvironmentVariable("VELTRA_CALIB"),
                      QStringList{"--settings", rig.iniPath(), "--port", "3", "--poll", "0.2"}
                          + arguments);
        if (!process.waitForStarted(5000))
            return false;
        process.write(input);
        process.closeWriteChannel();
        return true;
    }

    // SIGINT, then the exit code; -1 when it does not end by itself.
    int interrupt()
    {
        ::kill(pid_t(process.processId()), SIGINT);
        if (!process.waitForFinished(10000)) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        lines << process.readAllStandardOutput().split('\n');
        lines.removeAll(QByteArray());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    // "placed 12345", "removed"...: the event and serial number of each line of watch, plain or
    // JSON.
    QStringList events() const
    {
        QStringList names;
        for (const QByteArray &line : lines) {
            const QJsonObject json = QJsonDocument::fromJson(line).object();
            if (!json.isEmpty()) {
                names << (json["event"].toString() + u' ' + json["serial"].toString()).trimmed();
                continue;
            }
            const QString text = QString::fromUtf8(line);
            const QString name = text.section(u' ', 0, 0);
            const QString serial =
                text.section(QStringLiteral("Serial No.: "), 1).section(u';', 0, 0);
            names << (name + u' ' + serial).trimmed();
        }
        return names;
    }
};

// The simulator's received commands without the status queries, from index `from` on.
Commands commandsFrom(const SimInstrument &sim, qsizetype from)
{
    return commandsWithoutStatus(sim.commands().mid(from));
}

} // namespace

class VeltraCalibTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void readGivesEveryField_data();
    void readGivesEveryField();
    void identifyAndPlainOutput();
    void writeVerifiesTheDates_data();
    void writeVerifiesTheDates();
    void machineOutputIsTheSameInEveryLanguage_data();
    void machineOutputIsTheSameInEveryLanguage();
    void deviceByPathAndSearchByNumber();
    void portsListsTheMap();
    void versionHelpAndVerbose();
    void exitCodes_data();
    void exitCodes();
    void passwordProtectsWriting_data();
    void passwordProtectsWriting();
    void unreadablePasswordFileRefuses();
    void portHeldByAnotherProgramIsBusy();
    void recordKeepsEveryAttempt_data();
    void recordKeepsEveryAttempt();
    void damagedRecordStopsTheWrite();
    void killedWriteReadsBackInterrupted();
    void watchFollowsTheBench();
    void watchFollowsTheAdapter();
    void writeEachWritesEveryInstrument_data();
    void writeEachWritesEveryInstrument();
};

void VeltraCalibTest::initTestCase()
{
    if (SimInstrument::simulatorPath().isEmpty() || qEnvironmentVariableIsEmpty("VELTRA_CALIB"))
        QSKIP("VELTRA_SIM and VELTRA_CALIB are needed");
}

void VeltraCalibTest::readGivesEveryField_data()
{
    QTest::addColumn<QString>("framing");
    QTest::addColumn<QString>("dates");
    QTest::addColumn<QJsonValue>("expiration");
    QTest::newRow("plain, both dates") << "plain"
                                       << "240115 250115" << QJsonValue("2025-01-15");
    QTest::newRow("framed, both dates") << "framed"
                                        << "240115 250115" << QJsonValue("2025-01-15");
    QTest::newRow("framed, a model without an expiration date")
        << "framed"
        << "240115" << QJsonValue(QJsonValue::Null);
}

void VeltraCalibTest::readGivesEveryField()
{
    QFETCH(QString, framing);
    QFETCH(QString, dates);
    QFETCH(QJsonValue, expiration);
    ToolRig rig;
    QVERIFY(rig.start({"--framing", framing, "--dates", dates}));

    const ToolRun run = rig.run({"read", "--json"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QByteArray());
    const QJsonObject json = run.json();
    QCOMPARE(json.value("port"), QJsonValue(3));
    QCOMPARE(json.value("device"), QJsonValue(rig.sim.devicePath()));
    QCOMPARE(json.value("model"), QJsonValue("Veltra K-40"));
    QCOMPARE(json.value("serial"), QJsonValue("12345"));
    QCOMPARE(json.value("version"), QJsonValue("Veltra K-40"));
    QCOMPARE(json.value("firmware"), QJsonValue(1.61));
    QCOMPARE(json.value("battery_volts"), QJsonValue(3.7));
    QCOMPARE(json.value("checksum"), QJsonValue("3A7F1C"));
    QCOMPARE(json.value("calibration_date"), QJsonValue("2024-01-15"));
    QCOMPARE(json.value("expiration_date"), expiration);
    // Negative: these dates passed long ago.
    QCOMPARE(json.value("days_left"),
             expiration.isNull() ? QJsonValue(QJsonValue::Null)
                                 : QJsonValue(QDate::currentDate().daysTo(QDate(2025, 1, 15))));
}

void VeltraCalibTest::identifyAndPlainOutput()
{
    ToolRig rig;
    QVERIFY(rig.start({"--ident", "Veltra K 1.200", "--ident-ex", "K 1.200 CRC 3A7F1C"}));

    const ToolRun identify = rig.run({"identify", "--json"});
    QCOMPARE(identify.exitCode, 0);
    const QJsonObject json = identify.json();
    QCOMPARE(json.value("checksum"), QJsonValue(QJsonValue::Null));
    QVERIFY(!json.contains("calibration_date"));
    QCOMPARE(commandsFrom(rig.sim, 0), (Commands{"V", "Vx", "#R", "Ux"}));

    const ToolRun read = rig.run({"read"});
    QCOMPARE(read.exitCode, 0);
    QVERIFY2(read.out.contains("Serial No.:       12345\n"), read.out);
    QVERIFY2(read.out.contains("Calibration date: 2024-01-15\n"), read.out);
    QCOMPARE(rig.run({"read", "--quiet"}).out, QByteArray());
}

void VeltraCalibTest::writeVerifiesTheDates_data()
{
    QTest::addColumn<QString>("framing");
    QTest::addColumn<QString>("dates");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QJsonValue>("writtenExpiration");
    QTest::newRow("plain, both dates") << "plain"
                                       << "240115 250115" << QStringList{"2024-03-01", "2025-03-01"}
                                       << QByteArray("WW240301 250301") << QJsonValue("2025-03-01");
    QTest::newRow("framed, no expiration date: 1 January 2001")
        << "framed"
        << "240115 250115" << QStringList{"2024-03-01", "--no-expiration"}
        << QByteArray("WW240301 010101") << QJsonValue("2001-01-01");
    QTest::newRow("framed, a model with one date")
        << "framed"
        << "240115" << QStringList{"2024-03-01"} << QByteArray("WW240301")
        << QJsonValue(QJsonValue::Null);
}

void VeltraCalibTest::writeVerifiesTheDates()
{
    QFETCH(QString, framing);
    QFETCH(QString, dates);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, command);
    QFETCH(QJsonValue, writtenExpiration);
    ToolRig rig;
    QVERIFY(rig.start({"--framing", framing, "--dates", dates}));

    const ToolRun run = rig.run(QStringList{"write", "--json"} + arguments);
    QCOMPARE(run.exitCode, 0);
    QTRY_COMPARE_WITH_TIMEOUT(
        commandsFrom(rig.sim, 0),
        (Commands{"V", "Vx", "#R", "Ux", "WR", "#R", "WR", command, "EW1", "WR"}), 5000);
    const QJsonObject json = run.json();
    QCOMPARE(json.value("serial"), QJsonValue("12345"));
    QCOMPARE(json.value("written").toObject().value("calibration_date"), QJsonValue("2024-03-01"));
    QCOMPARE(json.value("written").toObject().value("expiration_date"), writtenExpiration);
    QCOMPARE(json.value("read_back").toObject().value("calibration_date"),
             QJsonValue("2024-03-01"));
    QCOMPARE(json.value("read_back").toObject().value("expiration_date"), writtenExpiration);
    QCOMPARE(json.value("verified"), QJsonValue(true));
    QCOMPARE(json.value("certificate").toString(),
             QStringLiteral("VC-%1-000001").arg(QDate::currentDate().year()));
}

void VeltraCalibTest::machineOutputIsTheSameInEveryLanguage_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("English") << "C.UTF-8";
    QTest::newRow("German") << "de_DE.UTF-8";
}

// JSON keys, CSV columns, outcome words and exit codes are for programs: the language of the
// texts for people leaves them alone.
void VeltraCalibTest::machineOutputIsTheSameInEveryLanguage()
{
    QFETCH(QString, locale);
    ToolRig rig;
    rig.locale = locale;
    QVERIFY(rig.start({"--dates", "240115 250115"}));
    const auto keys = [](const QByteArray &json) {
        const QJsonDocument document = QJsonDocument::fromJson(json);
        QStringList names =
            (document.isArray() ? document.array().first().toObject() : document.object()).keys();
        names.sort();
        return names.join(u',');
    };
    const auto firstLine = [](const QByteArray &csv) { return csv.left(csv.indexOf("\r\n")); };
    const QString readKeys = QStringLiteral(
        "battery_volts,calibration_date,checksum,days_left,device,expiration_date,firmware,model,"
        "port,serial,version");
    const QByteArray historyColumns =
        "started_at,finished_at,account,host,source,port,device,model,serial,firmware,checksum,"
        "calibration_before,expiration_before,calibration_asked,expiration_asked,"
        "calibration_read_back,expiration_read_back,outcome,detail,program_version,id,certificate,"
        "technician,reference,hash,released_by,released_at";
    const QByteArray dueColumns =
        "serial,model,calibration_date,expiration_date,days_left,certificate,technician";

    const ToolRun write = rig.run({"write", "--json", "2024-03-01", "2024-04-01"});
    QCOMPARE(write.exitCode, 0);
    QCOMPARE(keys(write.out),
             QStringLiteral("battery_volts,calibration_date,certificate,checksum,days_left,device,"
                            "expiration_date,firmware,model,port,read_back,serial,verified,"
                            "version,written"));
    QCOMPARE(write.json().value("written").toObject().keys(),
             (QStringList{"calibration_date", "expiration_date"}));
    QCOMPARE(keys(rig.run({"ports", "--json"}).out),
             QStringLiteral("description,device,port,present"));
    const ToolRun identify = rig.run({"identify", "--json"});
    QCOMPARE(identify.exitCode, 0);
    QCOMPARE(keys(identify.out),
             QStringLiteral("battery_volts,checksum,device,firmware,model,port,serial,version"));
    QCOMPARE(keys(rig.run({"read", "--json"}).out), readKeys);

    const ToolRun history = rig.run({"history", "--json"});
    QCOMPARE(history.exitCode, 0);
    const QJsonObject entry = QJsonDocument::fromJson(history.out).array().first().toObject();
    QCOMPARE(entry.value("outcome"), QJsonValue("verified"));
    QCOMPARE(entry.value("source"), QJsonValue("tool"));
    QCOMPARE(firstLine(rig.run({"history", "--csv"}).out), historyColumns);
    QCOMPARE(keys(rig.run({"due", "--json"}).out),
             QStringLiteral(
                 "calibration_date,certificate,days_left,expiration_date,model,serial,technician"));
    QCOMPARE(firstLine(rig.run({"due", "--csv"}).out), dueColumns);
    // Exit codes too: an instrument that keeps its old dates.
    ToolRig keeping;
    keeping.locale = locale;
    QVERIFY(keeping.start({"--dates", "240115 250115", "--ignore-writes"}));
    QCOMPARE(keeping.run({"write", "2024-03-01", "2024-04-01"}).exitCode, 4);
}

void VeltraCalibTest::deviceByPathAndSearchByNumber()
{
    ToolRig rig;
    QVERIFY(rig.start({}));

    const ToolRun byPath = rig.run({"identify", "--json", "--device", rig.sim.devicePath()});
    QCOMPARE(byPath.exitCode, 0);
    QCOMPARE(byPath.json().value("port"), QJsonValue(QJsonValue::Null));
    QCOMPARE(byPath.json().value("device"), QJsonValue(rig.sim.devicePath()));

    // Nothing behind COM200: the search finds the instrument and stores its port as the window
    // does.
    const ToolRun searched = rig.run({"identify", "--json", "--port", "200", "--search"});
    QCOMPARE(searched.exitCode, 0);
    QCOMPARE(searched.json().value("port"), QJsonValue(3));
    QCOMPARE(searched.err, QByteArray()); // no progress bar without a terminal
    rig.onPort3 = false;
    QCOMPARE(rig.run({"identify", "--json"}).json().value("port"), QJsonValue(3));
    QFile ini(rig.iniPath());
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QVERIFY(ini.readAll().contains("ComPort=3"));
}

void VeltraCalibTest::portsListsTheMap()
{
    ToolRig rig;
    QVERIFY(rig.start({}));
    const ToolRun run = rig.run({"ports", "--json"});
    QCOMPARE(run.exitCode, 0);
    QJsonObject entry;
    for (const QJsonValue &port : QJsonDocument::fromJson(run.out).array()) {
        if (port.toObject().value("port") == QJsonValue(3))
            entry = port.toObject();
    }
    QCOMPARE(entry.value("device"), QJsonValue(rig.sim.devicePath()));
    QCOMPARE(entry.value("present"), QJsonValue(true));
    QVERIFY(entry.contains("description"));
}

void VeltraCalibTest::versionHelpAndVerbose()
{
    ToolRig rig;
    QVERIFY(rig.start({}));
    QVERIFY(rig.run({"version"}).out.startsWith("veltra-calib "));
    QVERIFY(rig.run({"--version"}).out.startsWith("veltra-calib "));
    const ToolRun help = rig.run({"--help"});
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.out.contains("5  refused"));
    const ToolRun verbose = rig.run({"identify", "-v"});
    QCOMPARE(verbose.exitCode, 0);
    QVERIFY2(verbose.err.contains("veltra.link") || verbose.err.contains("sent"), verbose.err);
    QVERIFY(verbose.err.contains("Veltra K-40 V1.610"));
}

void VeltraCalibTest::exitCodes_data()
{
    QTest::addColumn<QStringList>("simArguments");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("error");
    QTest::newRow("an unknown command is a usage error")
        << QStringList{} << QStringList{"frobnicate"} << 1 << QByteArray("unknown command");
    QTest::newRow("write without a date is a usage error")
        << QStringList{} << QStringList{"write"} << 1 << QByteArray("CALIB");
    QTest::newRow("a model with an expiration date needs one or --no-expiration")
        << QStringList{} << QStringList{"write", "2024-03-01"} << 1 << QByteArray("EXPIRES");
    QTest::newRow("an expiration date before the calibration date names both")
        << QStringList{} << QStringList{"write", "2027-01-01", "2026-01-01"} << 1
        << QByteArray("The expiration date 2026-01-01 lies before the calibration date "
                      "2027-01-01.");
    QTest::newRow("--each belongs to write")
        << QStringList{} << QStringList{"read", "--each"} << 1 << QByteArray("--each belongs");
    QTest::newRow("--poll takes seconds")
        << QStringList{} << QStringList{"watch", "--poll", "0"} << 1 << QByteArray("--poll takes");
    QTest::newRow("watch on a missing device cannot start")
        << QStringList{} << QStringList{"watch", "--device", "/dev/veltra-none"} << 2
        << QByteArray("/dev/veltra-none");
    QTest::newRow("a missing device cannot be opened")
        << QStringList{} << QStringList{"read", "--device", "/dev/veltra-none"} << 2
        << QByteArray("/dev/veltra-none");
    QTest::newRow("a silent instrument") << QStringList{"--silent"} << QStringList{"read"} << 3
                                         << QByteArray("no instrument answered");
    QTest::newRow("a rejected command is named")
        << QStringList{"--reject", "WR"} << QStringList{"read"} << 3 << QByteArray("\"WR\"");
    QTest::newRow("an instrument that keeps its old dates")
        << QStringList{"--ignore-writes"} << QStringList{"write", "2024-03-01", "2025-03-01"} << 4
        << QByteArray("does not hold");
    QTest::newRow("old KX firmware is refused")
        << QStringList{"--ident", "Veltra KX V1.600"}
        << QStringList{"write", "2024-03-01", "2025-03-01"} << 5 << QByteArray("too old");
    QTest::newRow("another instrument after the read is refused")
        << QStringList{"--swap-after", "1"} << QStringList{"write", "2024-03-01", "2025-03-01"} << 5
        << QByteArray("serial number 12345, now 67890");
}

void VeltraCalibTest::exitCodes()
{
    QFETCH(QStringList, simArguments);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, error);
    ToolRig rig;
    QVERIFY(rig.start(simArguments));

    const ToolRun run = rig.run(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.contains(error), run.err);
    QCOMPARE(run.err.count('\n'), 1);
    if (exitCode == 5)
        QVERIFY(!commandsFrom(rig.sim, 0).join(' ').contains("WW"));
}

void VeltraCalibTest::passwordProtectsWriting_data()
{
    QTest::addColumn<bool>("viaStdin");
    QTest::addColumn<QByteArray>("typed");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("the right password") << true << QByteArray("Secret \n") << 0;
    QTest::newRow("a wrong password") << true << QByteArray("secret \n") << 5;
    QTest::newRow("no terminal and no --password-stdin") << false << QByteArray("Secret \n") << 5;
}

void VeltraCalibTest::passwordProtectsWriting()
{
    QFETCH(bool, viaStdin);
    QFETCH(QByteArray, typed);
    QFETCH(int, exitCode);
    ToolRig rig;
    QVERIFY(rig.start({}));
    QVERIFY(rig.setPassword(QStringLiteral("Secret ")));

    QStringList arguments{"write", "2024-03-01", "2025-03-01"};
    if (viaStdin)
        arguments << "--password-stdin";
    const ToolRun run = rig.run(arguments, typed);
    QCOMPARE(run.exitCode, exitCode);
    // A refused password writes nothing: the instrument is only read, as the window reads it
    // before its password is asked.
    if (exitCode != 0)
        QCOMPARE(commandsFrom(rig.sim, 0), (Commands{"V", "Vx", "#R", "Ux", "WR"}));
}

// A password file that is there but cannot be read (here a folder) protects as much as a password.
void VeltraCalibTest::unreadablePasswordFileRefuses()
{
    ToolRig rig;
    QVERIFY(rig.start({}));
    QVERIFY(QDir(rig.folder.path()).mkdir(PasswordFileName));

    const ToolRun run = rig.run({"write", "2024-03-01", "2025-03-01", "--password-stdin"}, "\n");
    QCOMPARE(run.exitCode, 5);
    QVERIFY2(run.err.contains(PasswordFileName.toUtf8()), run.err);
    QCOMPARE(rig.sim.commands(), Commands());
}

void VeltraCalibTest::portHeldByAnotherProgramIsBusy()
{
    ToolRig rig;
    QVERIFY(rig.start({}));
    QSerialPort window;
    window.setPortName(rig.sim.devicePath());
    QVERIFY(window.open(QIODevice::ReadWrite));

    const ToolRun run = rig.run({"read"});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains("is in use by"), run.err);
    QCOMPARE(rig.sim.commands(), Commands());
}

void VeltraCalibTest::recordKeepsEveryAttempt_data()
{
    QTest::addColumn<QStringList>("simArguments");
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("outcome");
    // The dates held before come from the "WR" that opens the write; a refusal comes before it.
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("readBack");
    // Only a verified write has a certificate number.
    QTest::addColumn<bool>("certified");
    QTest::newRow("a verified write")
        << QStringList{} << QByteArray() << 0 << QStringLiteral("verified")
        << QStringLiteral("2023-02-01") << QStringLiteral("2024-03-01") << true;
    QTest::newRow("an instrument that keeps its old dates")
        << QStringList{"--ignore-writes"} << QByteArray() << 4 << QStringLiteral("mismatch")
        << QStringLiteral("2023-02-01") << QStringLiteral("2023-02-01") << false;
    QTest::newRow("a wrong password")
        << QStringList{} << QByteArray("wrong\n") << 5 << QStringLiteral("refused") << QString()
        << QString() << false;
    QTest::newRow("old KX firmware")
        << QStringList{"--ident", "Veltra KX V1.600"} << QByteArray() << 5
        << QStringLiteral("refused") << QString() << QString() << false;
}

// Each write attempt of the tool leaves one entry, read back through "history --json".
void VeltraCalibTest::recordKeepsEveryAttempt()
{
    QFETCH(QStringList, simArguments);
    QFETCH(QByteArray, password);
    QFETCH(int, exitCode);
    QFETCH(QString, outcome);
    QFETCH(QString, before);
    QFETCH(QString, readBack);
    QFETCH(bool, certified);
    ToolRig rig;
    QVERIFY(rig.start(simArguments + QStringList{"--dates", "230201 240201"}));
    QStringList arguments{"write", "2024-03-01", "2025-03-01", "--reference", "Cs-137 S-0042"};
    if (!password.isEmpty()) {
        QVERIFY(rig.setPassword(QStringLiteral("Secret")));
        arguments << "--password-stdin";
    }
    const ToolRun write = rig.run(arguments, password);
    QCOMPARE(write.exitCode, exitCode);
    QCOMPARE(write.out.contains("Certificate No."), certified);

    const ToolRun history = rig.run({"history", "--json", "--serial", "12345"});
    QCOMPARE(history.exitCode, 0);
    const QJsonArray entries = QJsonDocument::fromJson(history.out).array();
    QCOMPARE(entries.size(), 1);
    const QJsonObject entry = entries[0].toObject();
    QCOMPARE(entry["outcome"].toString(), outcome);
    QCOMPARE(entry["source"].toString(), QStringLiteral("tool"));
    QCOMPARE(entry["port"].toInt(), 3);
    QCOMPARE(entry["device"].toString(), rig.sim.devicePath());
    QCOMPARE(entry["serial"].toString(), QStringLiteral("12345"));
    QCOMPARE(entry["calibration_before"].toString(), before);
    QCOMPARE(entry["calibration_asked"].toString(), QStringLiteral("2024-03-01"));
    QCOMPARE(entry["calibration_read_back"].toString(), readBack);
    QVERIFY(!entry["finished_at"].isNull());
    QCOMPARE(entry["certificate"],
             certified ? QJsonValue(QStringLiteral("VC-%1-000001").arg(QDate::currentDate().year()))
                       : QJsonValue(QJsonValue::Null));
    QVERIFY(!entry["technician"].toString().isEmpty());
    QCOMPARE(entry["reference"].toString(), QStringLiteral("Cs-137 S-0042"));

    const ToolRun csv = rig.run({"history", "--csv"});
    QCOMPARE(csv.exitCode, 0);
    QCOMPARE(csv.out.count("\r\n"), 2);
}

// A record that cannot keep the write stops it before any date reaches the instrument, names the
// file, and leaves the file as it was.
void VeltraCalibTest::damagedRecordStopsTheWrite()
{
    ToolRig rig;
    QVERIFY(rig.start({}));
    const QString recordPath = rig.folder.filePath(QStringLiteral("VeltraCalibRecord.db"));
    const QByteArray damaged(4096, 'x');
    QFile file(recordPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(damaged), damaged.size());
    file.close();

    const ToolRun run = rig.run({"write", "2024-03-01", "2025-03-01"});
    QCOMPARE(run.exitCode, 5);
    QVERIFY2(run.err.contains("VeltraCalibRecord.db"), run.err);
    for (const QByteArray &command : commandsFrom(rig.sim, 0))
        QVERIFY2(!command.startsWith("WW"), command);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), damaged);
}

// The tool killed after "WW" went out and before the read-back: the entry stored before the write
// stays, and reads back as interrupted.
void VeltraCalibTest::killedWriteReadsBackInterrupted()
{
    ToolRig rig;
    QVERIFY(rig.start({"--stall", "WW"}));
    QProcess tool;
    tool.start(qEnvironmentVariable("VELTRA_CALIB"),
               {"--settings", rig.iniPath(), "--port", "3", "write", "2024-03-01", "2025-03-01"});
    QVERIFY(tool.waitForStarted(5000));
    const auto writeWentOut = [&rig] {
        const Commands commands = commandsFrom(rig.sim, 0);
        return std::any_of(commands.begin(), commands.end(),
                           [](const QByteArray &command) { return command.startsWith("WW"); });
    };
    QTRY_VERIFY_WITH_TIMEOUT(writeWentOut(), 10000);
    tool.kill();
    QVERIFY(tool.waitForFinished(5000));

    const ToolRun history = rig.run({"history", "--json"});
    QCOMPARE(history.exitCode, 0);
    const QJsonArray entries = QJsonDocument::fromJson(history.out).array();
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0].toObject()["outcome"].toString(), QStringLiteral("interrupted"));
    QVERIFY(entries[0].toObject()["finished_at"].isNull());
}

// The simulator takes its instrument off and puts another on; SIGINT ends the watch with 0.
void VeltraCalibTest::watchFollowsTheBench()
{
    ToolRig rig;
    const QString script = rig.folder.filePath(QStringLiteral("bench.txt"));
    // Long enough apart for a busy machine: an empty adapter is seen after three silent attempts.
    QVERIFY(writeFileBytes(script, "4 remove\n9 place serial=40124 dates=240101 250101\n"));
    QVERIFY(rig.start({"--script", script}));
    RunningTool tool;
    QVERIFY(tool.start(rig, {"watch", "--json"}));

    const QStringList bench{"placed 12345", "removed", "placed 40124"};
    QTRY_COMPARE_WITH_TIMEOUT(tool.events(), bench, 20000);
    QCOMPARE(tool.interrupt(), 0);
    QCOMPARE(tool.events(), bench);
    const QJsonObject placed = QJsonDocument::fromJson(tool.lines[2]).object();
    QCOMPARE(placed["calibration_date"], QJsonValue("2024-01-01"));
    QCOMPARE(placed["expiration_date"], QJsonValue("2025-01-01"));
    QCOMPARE(placed["model"], QJsonValue("Veltra K-40"));
    QCOMPARE(placed["port"], QJsonValue(3));
    QCOMPARE(QJsonDocument::fromJson(tool.lines[1]).object().keys(), QStringList{"event"});
    // Only the serial number is asked while nothing changes, the rest at each instrument.
    QCOMPARE(commandsFrom(rig.sim, 0).count("V"), 2);
}

// The configured port is a link to the simulator's terminal: removed, the adapter is unplugged;
// made again, plugged in, and the instrument on it is read anew.
void VeltraCalibTest::watchFollowsTheAdapter()
{
    ToolRig rig;
    QVERIFY2(rig.sim.start({}), qPrintable(rig.sim.errorText()));
    const QString adapter = rig.folder.filePath(QStringLiteral("adapter"));
    QVERIFY(QFile::link(rig.sim.devicePath(), adapter));
    QVERIFY(writePortEntry(rig.iniPath(), 3, adapter));
    RunningTool tool;
    QVERIFY(tool.start(rig, {"watch"}));
    QTRY_COMPARE_WITH_TIMEOUT(tool.events(), QStringList{"placed 12345"}, 10000);
    QVERIFY(tool.lines[0].contains("Calibration date: 2024-01-15; Expiration date: 2025-01-15"));

    QVERIFY(QFile::remove(adapter));
    QTRY_COMPARE_WITH_TIMEOUT(tool.events(), (QStringList{"placed 12345", "unplugged"}), 10000);
    QVERIFY(QFile::link(rig.sim.devicePath(), adapter));
    const QStringList replugged{"placed 12345", "unplugged", "plugged", "placed 12345"};
    QTRY_COMPARE_WITH_TIMEOUT(tool.events(), replugged, 10000);
    QCOMPARE(tool.interrupt(), 0);
    QCOMPARE(tool.events(), replugged);
}

void VeltraCalibTest::writeEachWritesEveryInstrument_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<bool>("json");
    QTest::addColumn<QStringList>("results");
    QTest::addColumn<QByteArray>("summary");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("one of three keeps its old dates: 4")
        << QByteArray("4 place serial=40124 ignore-writes\n8 place serial=40125\n") << true
        << QStringList{"12345 verified", "40124 not held", "40125 verified"}
        << QByteArray(R"({"failed":1,"verified":2,"written":3})") << 4;
    QTest::newRow("all verified, one of them placed twice and written once: 0")
        << QByteArray("4 place serial=40124\n8 place serial=12345\n12 place serial=40125\n")
        << false << QStringList{"12345 verified", "40124 verified", "40125 verified"}
        << QByteArray("3 written, 3 verified, 0 failed") << 0;
    // The instrument that keeps one date is written with the calibration date alone.
    QTest::newRow("a model with one date after one with two: 0")
        << QByteArray("4 place serial=40126 dates=250101\n") << true
        << QStringList{"12345 verified 2027-03-01", "40126 verified null"}
        << QByteArray(R"({"failed":0,"verified":2,"written":2})") << 0;
    QTest::newRow("the same, in plain lines: 0")
        << QByteArray("4 place serial=40126 dates=250101\n") << false
        << QStringList{"12345 verified 2027-03-01", "40126 verified null"}
        << QByteArray("2 written, 2 verified, 0 failed") << 0;
}

// Instruments one after another, each written once, the password given once.
void VeltraCalibTest::writeEachWritesEveryInstrument()
{
    QFETCH(QByteArray, script);
    QFETCH(bool, json);
    QFETCH(QStringList, results);
    ToolRig rig;
    QVERIFY(rig.setPassword(QStringLiteral("bench")));
    const QString scriptPath = rig.folder.filePath(QStringLiteral("bench.txt"));
    QVERIFY(writeFileBytes(scriptPath, script));
    QVERIFY(rig.start({"--script", scriptPath}));
    RunningTool tool;
    QStringList arguments{"write", "--each", "2026-03-01", "2027-03-01", "--password-stdin"};
    if (json)
        arguments << QStringLiteral("--json");
    QVERIFY(tool.start(rig, arguments, "bench\n"));

    // The serial number and verdict of each result, "12345 verified", and for a model with one
    // date the expiration date written, "40126 verified null".
    const auto written = [&tool, json, &results] {
        QStringList found;
        QString serial;
        QString expiration;
        const auto verdict = [](bool held) {
            return held ? QStringLiteral(" verified") : QStringLiteral(" not held");
        };
        const bool withExpiration = results.last().count(u' ') == 2;
        for (const QByteArray &line : tool.lines) {
            const QJsonObject object = QJsonDocument::fromJson(line).object();
            if (json && object.contains("serial")) {
                const QJsonValue kept = object["written"].toObject()["expiration_date"];
                found << object["serial"].toString() + verdict(object["verified"].toBool())
                        + (withExpiration ? u' ' + (kept.isNull() ? "null" : kept.toString())
                                          : QString());
            }
            if (!json && line.startsWith("Serial No.:"))
                serial = QString::fromLatin1(line.mid(11).trimmed());
            if (!json && line.startsWith("Written:")) {
                expiration = line.endsWith("(keeps no expiration date)")
                    ? QStringLiteral("null")
                    : QString::fromLatin1(line).section(u' ', -1);
            }
            if (!json && line.startsWith("Verified:"))
                found << serial + verdict(line.endsWith("yes"))
                        + (withExpiration ? u' ' + expiration : QString());
        }
        return found;
    };
    QTRY_COMPARE_WITH_TIMEOUT(written(), results, 30000);
    const QByteArray repeated("serial 12345 was written at");
    if (script.contains("serial=12345"))
        QTRY_VERIFY2_WITH_TIMEOUT(tool.err.contains(repeated), tool.err.constData(), 10000);
    QTEST(tool.interrupt(), "exitCode");
    QTEST(tool.lines.last(), "summary");
    QCOMPARE(written(), results);
    QCOMPARE(commandsFrom(rig.sim, 0).count("EW1"), results.size());
}

QTEST_MAIN(VeltraCalibTest)
#include "tst_veltracalib.moc"
