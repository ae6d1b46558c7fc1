// The link against the virtual instrument on real pseudo-terminals: both framings, rejections,
// time limits, checksums, the transfer status, replies that never end and a device that vanishes.

#include "filebytes.h"
#include "link.h"
#include "programpaths.h"
#include "qtserialcontrol.h"
#include "scriptedui.h"
#include "siminstrument.h"
#include "simrig.h"
#include "testclock.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

using Commands = QList<QByteArray>;

namespace {

QStringList withFraming(const QString &framing, QStringList arguments)
{
    return arguments << QStringLiteral("--framing") << framing;
}

// The control flags of the terminal at path, -1 when it cannot be read.
tcflag_t controlFlags(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios line{};
    const bool read = fd >= 0 && ::tcgetattr(fd, &line) == 0;
    if (fd >= 0)
        ::close(fd);
    return read ? line.c_cflag : tcflag_t(-1);
}

int countOf(const Commands &frames, const QByteArray &frame)
{
    return int(frames.count(frame));
}

} // namespace

class LinkSimTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void identificationFillsInstrument_data();
    void identificationFillsInstrument();
    void framedCommandGoesOutAsSpecifiedBytes();
    void rejectedCommandIsTriedThreeTimes_data();
    void rejectedCommandIsTriedThreeTimes();
    void transferStatusDecides_data();
    void transferStatusDecides();
    void rejectionIsFollowedByTheStatusQuery_data();
    void rejectionIsFollowedByTheStatusQuery();
    void faultyInstrumentFailsWithinLimits_data();
    void faultyInstrumentFailsWithinLimits();
    void unendingReplyIsCutAtTheCap_data();
    void unendingReplyIsCutAtTheCap();
    void awkwardButValidRepliesAreRead_data();
    void awkwardButValidRepliesAreRead();
    void instrumentVanishingMidTransferFails();
    void writtenDatesAreKeptAcrossRestarts();
    void twoInstrumentsServeAsTwoPorts();
    void lineSettingsLeftBehindAreReset();
    void scriptTakesInstrumentsOffAndOn();
    void badScriptIsRefused_data();
    void badScriptIsRefused();

private:
    QTemporaryDir m_programDir;
    ScriptedUi m_ui;
};

void LinkSimTest::initTestCase()
{
    QVERIFY(!SimInstrument::simulatorPath().isEmpty());
    QVERIFY(m_programDir.isValid());
    setProgramPaths(m_programDir.path());
}

void LinkSimTest::init()
{
    m_ui.boxes.clear();
}

void LinkSimTest::identificationFillsInstrument_data()
{
    QTest::addColumn<QString>("framing");
    QTest::addColumn<Commands>("expected");
    QTest::newRow("plain framing")
        << "plain" << Commands{"@", "V\r\n", "@", "Vx\r\n", "@", "#R\r\n",
                               "@", "t\r\n", "@", "Ux\r\n", "@", "t\r\n"};
    QTest::newRow("framed with checksum")
        << "framed" << Commands{"@", "\x02V58\x03", "@", "\x02VxD0\x03", "@", "\x02#R77\x03",
                                "@", "\x02t76\x03", "@", "\x02UxCF\x03", "@", "\x02t76\x03"};
}

void LinkSimTest::identificationFillsInstrument()
{
    QFETCH(QString, framing);
    QFETCH(Commands, expected);
    SimLink c;
    QVERIFY(c.open(withFraming(framing,
                               {"--ident", "Veltra KX 2.05", "--ident-ex", "KX 2.05 CRC 0B12C4",
                                "--serial", "  4711 ", "--battery", "41 7"})));

    QCOMPARE(c.link.ReadInstrumentInfo(), QString());
    QCOMPARE(c.link.instrument().Ident, QStringLiteral("Veltra KX 2.05"));
    QCOMPARE(c.link.instrument().IdentEx, QStringLiteral("KX 2.05 CRC 0B12C4"));
    QCOMPARE(c.link.instrument().SerialNo, QStringLiteral("4711"));
    QCOMPARE(c.link.instrument().DeviceType, qint16(18));
    QCOMPARE(c.link.instrument().FwVersion, 2.05);
    QCOMPARE(c.link.instrument().BattVoltage, 4.1);
    QCOMPARE(c.link.protocolMode(), qint16(framing == QLatin1String("framed") ? 1 : 0));
    QCOMPARE(c.sim.received(), expected);
    QVERIFY(m_ui.boxes.isEmpty());
}

void LinkSimTest::framedCommandGoesOutAsSpecifiedBytes()
{
    SimLink c;
    QVERIFY(c.open({"--framing", "framed"}));
    QCOMPARE(c.link.DoTransfer(QStringLiteral("V"), 0), qint16(1));
    QCOMPARE(c.link.responseText(), QStringLiteral("Veltra K-40 V1.610"));
    QVERIFY(c.sim.waitForFrames(SimFrame::Direction::Sent, 2));
    QCOMPARE(c.sim.received(), (Commands{"@", QByteArray("\x02\x56\x35\x38\x03")}));
    QCOMPARE(c.sim.sent(), (Commands{"\x07", "\x02Veltra K-40 V1.610D8\x03"}));
}

void LinkSimTest::rejectedCommandIsTriedThreeTimes_data()
{
    QTest::addColumn<QString>("framing");
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("plain rejection line") << "plain" << QByteArray("Vx\r\n");
    QTest::newRow("framed NAK") << "framed" << QByteArray("\x02VxD0\x03");
}

void LinkSimTest::rejectedCommandIsTriedThreeTimes()
{
    QFETCH(QString, framing);
    QFETCH(QByteArray, frame);
    SimLink c;
    QVERIFY(c.open(withFraming(framing, {"--reject", "Vx"})));

    QCOMPARE(c.link.ReadInstrumentInfo(), QStringLiteral("Vx"));
    QCOMPARE(c.link.responseText(), QString());
    QCOMPARE(countOf(c.sim.received(), frame), 3);
    QCOMPARE(c.sim.commands().size(), 4); // "V" once, "Vx" three times, nothing after it
    QVERIFY(m_ui.boxes.isEmpty());
}

void LinkSimTest::transferStatusDecides_data()
{
    QTest::addColumn<QString>("framing");
    QTest::addColumn<QStringList>("simArguments");
    QTest::addColumn<qint16>("result");
    QTest::addColumn<QString>("response");
    QTest::addColumn<int>("commandFrames");
    QTest::addColumn<int>("statusFrames");
    QTest::newRow("plain, status 0 keeps the command's reply")
        << "plain" << QStringList{} << qint16(1) << "12345" << 1 << 1;
    QTest::newRow("framed, status 0 keeps the command's reply")
        << "framed" << QStringList{} << qint16(1) << "12345" << 1 << 1;
    QTest::newRow("plain, status 3 fails without another attempt")
        << "plain" << QStringList{"--status", "3"} << qint16(-1) << "" << 1 << 1;
    QTest::newRow("framed, status 3 fails without another attempt")
        << "framed" << QStringList{"--status", "3"} << qint16(-1) << "" << 1 << 1;
    QTest::newRow("plain, no status resends the command")
        << "plain" << QStringList{"--reject", "t"} << qint16(-1) << "" << 3 << 9;
    QTest::newRow("framed, no status resends the command")
        << "framed" << QStringList{"--reject", "t"} << qint16(-1) << "" << 3 << 9;
}

void LinkSimTest::transferStatusDecides()
{
    QFETCH(QString, framing);
    QFETCH(QStringList, simArguments);
    QFETCH(qint16, result);
    QFETCH(QString, response);
    QFETCH(int, commandFrames);
    QFETCH(int, statusFrames);
    SimLink c;
    QVERIFY(c.open(withFraming(framing, simArguments)));

    QCOMPARE(c.link.DoTransfer(QStringLiteral("#R"), 1), result);
    QCOMPARE(c.link.responseText(), response);
    const Commands frames = c.sim.commands();
    const bool plain = framing == QLatin1String("plain");
    QCOMPARE(countOf(frames, plain ? "#R\r\n" : "\x02#R77\x03"), commandFrames);
    QCOMPARE(countOf(frames, plain ? "t\r\n" : "\x02t76\x03"), statusFrames);
}

void LinkSimTest::rejectionIsFollowedByTheStatusQuery_data()
{
    QTest::addColumn<QStringList>("simArguments");
    QTest::addColumn<Commands>("expected");
    const QByteArray wr("\x02WRAB\x03");
    const QByteArray t("\x02t76\x03");
    QTest::newRow("plain rejection line")
        << QStringList{"--framing", "plain", "--reject", "WR"}
        << Commands{"WR\r\n", "t\r\n", "WR\r\n", "t\r\n", "WR\r\n", "t\r\n"};
    QTest::newRow("framed NAK") << QStringList{"--framing", "framed", "--reject", "WR"}
                                << Commands{wr, t, wr, t, wr, t};
    // The status replies are garbled too, so each status query takes its own three attempts.
    QTest::newRow("framed reply with a wrong checksum")
        << QStringList{"--framing", "framed", "--bad-checksum"}
        << Commands{wr, t, t, t, wr, t, t, t, wr, t, t, t};
}

// A rejected or garbled reply is followed by the status query before the next attempt, and the
// transfer fails although the status says 0.
void LinkSimTest::rejectionIsFollowedByTheStatusQuery()
{
    QFETCH(QStringList, simArguments);
    QFETCH(Commands, expected);
    SimLink c;
    QVERIFY(c.open(simArguments));

    QCOMPARE(c.link.DoTransfer(QStringLiteral("WR"), 1), qint16(-1));
    QCOMPARE(c.link.responseText(), QString());
    QVERIFY(c.sim.waitForFrames(SimFrame::Direction::Received, 2 * expected.size()));
    QCOMPARE(c.sim.commands(), expected);
}

void LinkSimTest::faultyInstrumentFailsWithinLimits_data()
{
    QTest::addColumn<QStringList>("simArguments");
    QTest::addColumn<double>("clockSpeed");
    QTest::addColumn<int>("commandFrames");
    QTest::newRow("silent instrument: no prompt") << QStringList{"--silent"} << 4.0 << 0;
    QTest::newRow("plain prompt, no reply")
        << QStringList{"--framing", "plain", "--no-reply"} << 4.0 << 3;
    QTest::newRow("framed prompt, no reply")
        << QStringList{"--framing", "framed", "--no-reply"} << 4.0 << 3;
    QTest::newRow("wrong checksum") << QStringList{"--bad-checksum"} << 1.0 << 3;
    QTest::newRow("lower-case checksum") << QStringList{"--lowercase-checksum"} << 1.0 << 3;
}

// Where a time limit must pass, the link's clock runs four times as fast, so its 0.7 s and 2 s
// limits pass in a quarter of the time; the simulator's prompt still comes within milliseconds.
void LinkSimTest::faultyInstrumentFailsWithinLimits()
{
    QFETCH(QStringList, simArguments);
    QFETCH(double, clockSpeed);
    QFETCH(int, commandFrames);
    const TestClock clock(36000, clockSpeed);
    SimLink c(clock);
    QVERIFY(c.open(simArguments));

    QCOMPARE(c.link.DoTransfer(QStringLiteral("V"), 0), qint16(-1));
    QCOMPARE(c.link.responseText(), QString());
    QCOMPARE(c.link.exchangeBusy(), qint16(0));
    QCOMPARE(c.link.inTransfer(), qint16(0));
    // The link may give up before the simulator has logged what it received last.
    QVERIFY(c.sim.waitForFrames(SimFrame::Direction::Received, 3 + commandFrames));
    const Commands frames = c.sim.received();
    QCOMPARE(countOf(frames, "@"), 3);
    QCOMPARE(c.sim.commands().size(), commandFrames);
}

void LinkSimTest::unendingReplyIsCutAtTheCap_data()
{
    QTest::addColumn<QString>("framing");
    QTest::newRow("plain reply that never ends") << "plain";
    QTest::newRow("framed reply that never ends") << "framed";
}

// The link's clock runs a hundred times slower than real time, so the 2 s reply limit would
// take over three minutes of real time per attempt: every attempt that ends sooner on that clock
// was ended by the 64 KiB cap, however slow the machine.
void LinkSimTest::unendingReplyIsCutAtTheCap()
{
    QFETCH(QString, framing);
    const TestClock clock(36000, 0.01);
    SimLink c(clock);
    QVERIFY(c.open(withFraming(framing, {"--endless"})));

    QCOMPARE(c.link.DoTransfer(QStringLiteral("V"), 0), qint16(-1));
    QVERIFY2(clock.secondsSinceMidnight() - 36000 < 2.0, "an attempt ran into the time limit");
    QCOMPARE(c.link.responseText(), QString());
    const Commands frames = c.sim.received();
    QCOMPARE(countOf(frames, "@"), 3);
    QCOMPARE(c.sim.commands().size(), 3);
}

void LinkSimTest::awkwardButValidRepliesAreRead_data()
{
    QTest::addColumn<QStringList>("simArguments");
    QTest::newRow("plain reply in pieces of 3 bytes")
        << QStringList{"--framing", "plain", "--split", "3"};
    QTest::newRow("framed reply in pieces of 2 bytes")
        << QStringList{"--framing", "framed", "--split", "2"};
    QTest::newRow("plain reply after a noise line") << QStringList{"--framing", "plain", "--noise"};
    QTest::newRow("slow plain reply") << QStringList{"--framing", "plain", "--delay", "300"};
    QTest::newRow("slow framed reply") << QStringList{"--framing", "framed", "--delay", "300"};
    QTest::newRow("plain with echo") << QStringList{"--framing", "plain", "--echo"};
    QTest::newRow("framed at 9600 baud line speed")
        << QStringList{"--framing", "framed", "--baud-pace"};
}

void LinkSimTest::awkwardButValidRepliesAreRead()
{
    QFETCH(QStringList, simArguments);
    SimLink c;
    QVERIFY(c.open(simArguments));

    QCOMPARE(c.link.DoTransfer(QStringLiteral("WR"), 1), qint16(1));
    QCOMPARE(c.link.responseText(), QStringLiteral("240115 250115"));
    QCOMPARE(c.sim.commands().size(), 2); // "WR" and "t", each once
}

void LinkSimTest::instrumentVanishingMidTransferFails()
{
    SimLink c;
    QVERIFY(c.open({"--hangup-after", "1"}));

    QCOMPARE(c.link.ReadInstrumentInfo(), QStringLiteral("Vx"));
    QCOMPARE(c.link.instrument().Ident, QStringLiteral("Veltra K-40 V1.610"));
    QVERIFY(m_ui.boxes.isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(!c.sim.isRunning(), 5000);
    QCOMPARE(c.link.DoTransfer(QStringLiteral("V"), 0), qint16(-1));
}

void LinkSimTest::writtenDatesAreKeptAcrossRestarts()
{
    const QString stateFile = m_programDir.filePath(QStringLiteral("instrument.state"));
    {
        SimLink c;
        QVERIFY(c.open({"--state", stateFile, "--dates", "100921 110921"}));
        QCOMPARE(c.link.DoTransfer(QStringLiteral("EW1"), 0), qint16(-1)); // no "WW" before it
        QCOMPARE(c.link.DoTransfer(QStringLiteral("WW240301 250301"), 1), qint16(1));
        QCOMPARE(c.link.DoTransfer(QStringLiteral("EW1"), 1), qint16(1));
        QCOMPARE(c.link.DoTransfer(QStringLiteral("WR"), 1), qint16(1));
        QCOMPARE(c.link.responseText(), QStringLiteral("240301 250301"));
    }
    SimLink restarted;
    QVERIFY(restarted.open({"--state", stateFile, "--dates", "100921 110921"}));
    QCOMPARE(restarted.link.DoTransfer(QStringLiteral("WR"), 1), qint16(1));
    QCOMPARE(restarted.link.responseText(), QStringLiteral("240301 250301"));

    SimLink ignoring;
    QVERIFY(ignoring.open({"--ignore-writes", "--dates", "100921"}));
    QCOMPARE(ignoring.link.DoTransfer(QStringLiteral("WW240301"), 1), qint16(1));
    QCOMPARE(ignoring.link.DoTransfer(QStringLiteral("WR"), 1), qint16(1));
    QCOMPARE(ignoring.link.responseText(), QStringLiteral("100921"));
}

void LinkSimTest::twoInstrumentsServeAsTwoPorts()
{
    SimLink first;
    SimLink second;
    QVERIFY(first.open({"--serial", "1111"}, 3));
    QVERIFY(second.open({"--serial", "2222", "--framing", "plain"}, 4));
    QVERIFY(first.sim.devicePath() != second.sim.devicePath());

    QCOMPARE(second.link.DoTransfer(QStringLiteral("#R"), 0), qint16(1));
    QCOMPARE(second.link.responseText(), QStringLiteral("2222"));
    QCOMPARE(first.link.DoTransfer(QStringLiteral("#R"), 0), qint16(1));
    QCOMPARE(first.link.responseText(), QStringLiteral("1111"));

    // Closing and opening again finds the instrument ready, with the line settings it had.
    first.link.closeComPort();
    QCOMPARE(first.link.OpenComPort(3, 0), qint16(0));
    QCOMPARE(first.link.DoTransfer(QStringLiteral("#R"), 0), qint16(1));
    QCOMPARE(first.link.responseText(), QStringLiteral("1111"));
}

// A client that leaves two stop bits behind (killed with the port open, say) must not spoil the
// next opening: the simulator puts the line back to raw 8N1 when the client has gone.
void LinkSimTest::lineSettingsLeftBehindAreReset()
{
    SimInstrument sim;
    QVERIFY2(sim.start({}), qPrintable(sim.errorText()));
    const QByteArray path = QFile::encodeName(sim.devicePath());
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    QVERIFY(fd >= 0);
    termios line{};
    QCOMPARE(::tcgetattr(fd, &line), 0);
    line.c_cflag |= CSTOPB;
    QCOMPARE(::tcsetattr(fd, TCSANOW, &line), 0);
    QCOMPARE(::tcgetattr(fd, &line), 0);
    QVERIFY(line.c_cflag & CSTOPB);
    ::close(fd);

    QTRY_VERIFY_WITH_TIMEOUT((controlFlags(sim.devicePath()) & (CSTOPB | CLOCAL)) == CLOCAL, 5000);
}

void LinkSimTest::scriptTakesInstrumentsOffAndOn()
{
    SKIP_WITHOUT_SIMULATOR();
    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("bench.txt"));
    QVERIFY(writeFileBytes(
        script, "# a bench\n0.5 remove\n\n1.5 place serial=40124 dates=240101 250101\n"));
    // Time limits run fast, so a read of the empty adapter gives up at once.
    const TestClock clock(36000, 20);
    SimLink rig(clock);
    QVERIFY(rig.open({QStringLiteral("--framing"), QStringLiteral("plain"),
                      QStringLiteral("--script"), script}));
    Link &l = rig.link;
    const auto serialNo = [&l]() -> QString {
        return l.DoTransfer(QStringLiteral("#R"), 0) == 1 ? l.responseText()
                                                          : QStringLiteral("(none)");
    };
    // Removed: no prompt, no reply; then another instrument, with its own dates.
    QTRY_COMPARE_WITH_TIMEOUT(serialNo(), QStringLiteral("(none)"), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(serialNo(), QStringLiteral("40124"), 10000);
    QCOMPARE(l.DoTransfer(QStringLiteral("WR"), 0), 1);
    QCOMPARE(l.responseText(), QStringLiteral("240101 250101"));
}

void LinkSimTest::badScriptIsRefused_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a step without a time") << QByteArray("remove\n") << "line 1";
    QTest::newRow("an unknown action") << QByteArray("1 swap\n") << "line 1";
    QTest::newRow("dates that are no dates")
        << QByteArray("# bench\n1 remove\n2 place dates=2401\n") << "line 3";
    QTest::newRow("an unknown key") << QByteArray("2 place colour=red\n") << "line 1";
}

void LinkSimTest::badScriptIsRefused()
{
    SKIP_WITHOUT_SIMULATOR();
    QFETCH(QByteArray, script);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.txt"));
    QVERIFY(writeFileBytes(path, script));
    QProcess sim;
    sim.start(SimInstrument::simulatorPath(), {QStringLiteral("--script"), path});
    QVERIFY(sim.waitForFinished(10000));
    QCOMPARE(sim.exitCode(), 2);
    QVERIFY2(sim.readAllStandardError().contains(reason.toLatin1()), qPrintable(reason));
}

QTEST_GUILESS_MAIN(LinkSimTest)
#include "tst_linksim.moc"
