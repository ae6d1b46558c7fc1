// Bench mode: instruments placed on the virtual instrument's adapter one after another (its
// script) are read as they come, the status line leads the user, a serial number written twice is
// flagged, nothing is sent while the mode is off, and the window answers while it polls.

#include "benchsettings.h"
#include "commandtexts.h"
#include "filebytes.h"
#include "inifile.h"
#include "instrumentwatch.h"
#include "scriptedserialcontrol.h"
#include "testclock.h"
#include "windowsimrig.h"

#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

namespace {

const QString PlaceNext = QStringLiteral("Place the next instrument");
const QString Question = QStringLiteral("Calibration date will be set now.\n\nYou are sure?");
const QString Success = QStringLiteral("Check date successful written!");

// Generous for a busy machine: a removal is seen after one poll of the empty adapter (three
// prompt limits on the window's clock), a placement after one poll and one read.
constexpr int NoticeMsecs = 15000;
// Polls follow one another quickly, so the script's steps can be short.
constexpr double PollSeconds = 0.1;

// The window on the virtual instrument, run by a script, with bench mode on at PollSeconds.
struct BenchRig : WindowSimRig
{
    // Each status line in the order shown; a cleared line is an empty text.
    QStringList statusLines;

    bool startBench(const QByteArray &script, const Clock &clock,
                    QStringList simArguments = QStringList())
    {
        const QString scriptFile = folder.filePath(QStringLiteral("bench.script"));
        QFile file(scriptFile);
        if (!file.open(QIODevice::WriteOnly) || file.write(script) != script.size())
            return false;
        file.close();
        if (!start(simArguments << QStringLiteral("--script") << scriptFile, clock))
            return false;
        if (!IniFile::writeString(IniFileName, QStringLiteral("Bench"),
                                  QStringLiteral("PollSeconds"), QString::number(PollSeconds)))
            return false;
        window->InitProgram();
        window->ShowInfoPswMsg = 0;
        QObject::connect(window->statusBar(), &QStatusBar::messageChanged, window.get(),
                         [this](const QString &line) { statusLines << line; });
        window->mnuBenchMode->trigger();
        return true;
    }

    QByteArrayList commands() const { return commandsWithoutStatus(port.sim.commands()); }
};

} // namespace

class tst_MainWindowBench : public QObject
{
    Q_OBJECT

private slots:
    void settingsRead_data();
    void settingsRead();
    void menuKeepsTheMode();
    void instrumentsOneAfterAnother();
    void nothingSentWhileOff();
    void answersWhilePollingAnEmptyAdapter();
    void clickDuringAPollRunsAfterIt();
    void readOutFillsInOneRepaint();
};

void tst_MainWindowBench::settingsRead_data()
{
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<double>("pollSeconds");

    QTest::newRow("no section: off, every 2 s") << QByteArray() << false << 2.0;
    QTest::newRow("enabled, every 0.5 s")
        << QByteArray("[Bench]\nEnabled=1\nPollSeconds=0.5\n") << true << 0.5;
    QTest::newRow("a comma as decimal sign")
        << QByteArray("[Bench]\nEnabled=1\nPollSeconds=1,5\n") << true << 1.5;
    QTest::newRow("Enabled=0 is off") << QByteArray("[Bench]\nEnabled=0\n") << false << 2.0;
    QTest::newRow("Enabled that is no number is off")
        << QByteArray("[Bench]\nEnabled=yes\n") << false << 2.0;
    QTest::newRow("PollSeconds that is no number gives 2 s")
        << QByteArray("[Bench]\nPollSeconds=fast\n") << false << 2.0;
    QTest::newRow("PollSeconds 0 gives 2 s")
        << QByteArray("[Bench]\nPollSeconds=0\n") << false << 2.0;
    QTest::newRow("negative PollSeconds gives 2 s")
        << QByteArray("[Bench]\nPollSeconds=-3\n") << false << 2.0;
}

void tst_MainWindowBench::settingsRead()
{
    QFETCH(QByteArray, section);
    QFETCH(bool, enabled);
    QFETCH(double, pollSeconds);
    QTemporaryDir folder;
    setProgramPaths(folder.path());
    QVERIFY(writeFileBytes(IniFileName, "[Appl]\nComPort=1\n" + section));

    const BenchSettings settings = readBenchSettings();
    QCOMPARE(settings.enabled, enabled);
    QCOMPARE(settings.pollSeconds, pollSeconds);
}

void tst_MainWindowBench::menuKeepsTheMode()
{
    QTemporaryDir folder;
    setProgramPaths(folder.path());
    QVERIFY(writeFileBytes(IniFileName, "[Appl]\nComPort=1\n[Bench]\nEnabled=1\n"));
    ScriptedUi ui;
    ScriptedSerialControl comm;
    frmVeltra window(comm);
    window.InitProgram();
    QVERIFY(window.mnuBenchMode->isChecked());
    QVERIFY(window.instrumentWatch().running());
    // "Options" stays usable while the window is locked; the item is in it.
    QVERIFY(window.mnuOptions->actions().contains(window.mnuBenchMode));

    window.mnuBenchMode->trigger();
    QVERIFY(!window.instrumentWatch().running());
    QCOMPARE(readBenchSettings().enabled, false);
    QCOMPARE(IniFile::readString(IniFileName, QStringLiteral("Bench"), QStringLiteral("Enabled"),
                                 QString()),
             QStringLiteral("0"));
    window.mnuBenchMode->trigger();
    QVERIFY(window.instrumentWatch().running());
    QCOMPARE(readBenchSettings().enabled, true);
    QCOMPARE(window.statusBar()->currentMessage(), QString());

    // A folder where the file was: it cannot be written, even by root.
    QVERIFY(QFile::remove(IniFileName) && QDir().mkdir(IniFileName));
    for (const bool on : {false, true}) {
        window.statusBar()->clearMessage();
        window.mnuBenchMode->trigger();
        QCOMPARE(window.instrumentWatch().running(), on);
        QVERIFY2(window.statusBar()->currentMessage().contains(
                     QStringLiteral("%1 cannot be written").arg(IniFileName)),
                 qPrintable(window.statusBar()->currentMessage()));
    }
}

void tst_MainWindowBench::instrumentsOneAfterAnother()
{
    SKIP_WITHOUT_SIMULATOR();
    // The window's clock at half speed from 10:00: a poll of the empty adapter is over in about
    // one second, and the time of a write reads 10:00 for the whole test.
    const TestClock clock(36000, 2);
    BenchRig rig;
    // The simulator's own instrument (12345) first; then 40002, 40003 and 40002 again, each
    // after a while with the adapter empty.
    QVERIFY(rig.startBench("2.0 remove\n"
                           "4.5 place serial=40002 dates=240301 250301\n"
                           "9.0 remove\n"
                           "11.5 place serial=40003 dates=240401 250401\n"
                           "13.5 remove\n"
                           "16.0 place serial=40002 dates=240301 250301\n",
                           clock));
    frmVeltra &w = *rig.window;
    w.setToday([] { return QDate(2025, 6, 2); });

    QTRY_COMPARE_WITH_TIMEOUT(w.statusBar()->currentMessage(), PlaceNext, NoticeMsecs);
    QCOMPARE(w.LabelSerialNo->text(), QString());
    QCOMPARE(w.LabelCalDate[0]->text(), QString());
    QVERIFY(!w.ComChange->isEnabled());

    // What the window shows the moment it reports a placed instrument: read at once.
    QStringList shownWhenPlaced;
    QObject::connect(&w.instrumentWatch(), &InstrumentWatch::placed, &w, [&] {
        shownWhenPlaced << w.LabelSerialNo->text() + QLatin1Char(' ') + w.LabelCalDate[0]->text()
                + QLatin1Char(' ') + w.DTPicker1[0]->date().toString(Qt::ISODate) + QLatin1Char(' ')
                + w.DTPicker1[1]->date().toString(Qt::ISODate);
    });

    // 40002: read at once; written, the status line sends the user on.
    QTRY_COMPARE_WITH_TIMEOUT(w.LabelSerialNo->text(), QStringLiteral("40002"), NoticeMsecs);
    QVERIFY(w.ComChange->isEnabled());
    rig.ui.answers.enqueue(MsgResult::Yes);
    w.ComChange_Click();
    QCOMPARE(rig.ui.boxes.size(), 2);
    QCOMPARE(rig.ui.boxes.at(0).text, Question);
    QCOMPARE(rig.ui.boxes.at(1).text, Success);
    QCOMPARE(w.statusBar()->currentMessage(),
             QStringLiteral("Done: serial 40002, verified. Take it off and place the next "
                            "instrument"));

    QTRY_COMPARE_WITH_TIMEOUT(w.LabelSerialNo->text(), QStringLiteral("40003"), 2 * NoticeMsecs);
    QTRY_COMPARE_WITH_TIMEOUT(w.LabelSerialNo->text(), QStringLiteral("40002"), 2 * NoticeMsecs);
    QTRY_COMPARE_WITH_TIMEOUT(w.statusBar()->currentMessage(),
                              QStringLiteral("Serial 40002 was written at 10:00 in this run"),
                              NoticeMsecs);

    const QString cal0301 = QLocale().toString(QDate(2024, 3, 1), QLocale::ShortFormat);
    const QString cal0401 = QLocale().toString(QDate(2024, 4, 1), QLocale::ShortFormat);
    // The pickers are preset anew for each instrument: today and twelve months on.
    QCOMPARE(shownWhenPlaced,
             QStringList({QStringLiteral("40002 %1 2025-06-02 2026-06-02").arg(cal0301),
                          QStringLiteral("40003 %1 2025-06-02 2026-06-02").arg(cal0401),
                          QStringLiteral("40002 %1 2025-06-02 2026-06-02").arg(cal0301)}));
    QCOMPARE(rig.statusLines,
             QStringList({PlaceNext, QString(),
                          QStringLiteral("Done: serial 40002, verified. Take it off and place the "
                                         "next instrument"),
                          PlaceNext, QString(), PlaceNext,
                          QStringLiteral("Serial 40002 was written at 10:00 in this run")}));
    QCOMPARE(rig.ui.boxes.size(), 2);
}

void tst_MainWindowBench::nothingSentWhileOff()
{
    SKIP_WITHOUT_SIMULATOR();
    BenchRig rig;
    QVERIFY(rig.startBench("1.0 remove\n2.0 place serial=40002\n", SystemClock::instance()));
    frmVeltra &w = *rig.window;
    QTRY_COMPARE_WITH_TIMEOUT(w.LabelSerialNo->text(), QStringLiteral("40002"), NoticeMsecs);

    w.mnuBenchMode->trigger();
    QVERIFY(!w.mnuBenchMode->isChecked());
    // A poll under way ends with its transfer; the instrument's reply to it is logged a moment
    // after it was sent.
    QTRY_VERIFY(!w.instrumentWatch().polling());
    SimInstrument &sim = rig.port.sim;
    QTRY_COMPARE(sim.frames().last().direction, SimFrame::Direction::Sent);
    const qsizetype before = sim.commands().size();
    // Timers fire in the order they fall due: this one comes after the next poll would have.
    bool pollsWereDue = false;
    QTimer::singleShot(int(3 * PollSeconds * 1000), &w, [&] { pollsWereDue = true; });
    QTRY_VERIFY(pollsWereDue);
    // A read now: a poll sent after the mode went off would stand before it on the wire.
    w.ComRead_Click();
    QTRY_VERIFY(commandsWithoutStatus(sim.commands().mid(before)).contains("WR"));
    QCOMPARE(commandsWithoutStatus(sim.commands().mid(before)).mid(0, 5),
             QByteArrayList({"V", "Vx", "#R", "Ux", "WR"}));
    QCOMPARE(w.LabelSerialNo->text(), QStringLiteral("40002"));
    QVERIFY(rig.ui.boxes.isEmpty());

    // On again: the next frames are a poll for the serial number.
    QTRY_VERIFY(w.ComRead->isEnabled());
    const qsizetype afterRead = sim.received().size();
    w.mnuBenchMode->trigger();
    QVERIFY(sim.waitForFrames(SimFrame::Direction::Received, afterRead + 2));
    QCOMPARE(commandsWithoutStatus(sim.received().mid(afterRead)).mid(0, 2),
             QByteArrayList({"@", "#R"}));
}

void tst_MainWindowBench::answersWhilePollingAnEmptyAdapter()
{
    SKIP_WITHOUT_SIMULATOR();
    // At half speed each prompt limit of a poll lasts 1.4 s: a poll that blocked the window for
    // its prompt would leave a gap that long in the ticks below.
    const TestClock clock(36000, 0.5);
    BenchRig rig;
    QVERIFY(rig.startBench("1.5 remove\n", clock));
    frmVeltra &w = *rig.window;

    // The poll that finds the adapter empty: three attempts, each waiting for a prompt.
    QTRY_COMPARE_WITH_TIMEOUT(w.statusBar()->currentMessage(), PlaceNext, NoticeMsecs);
    // The next one: while it waits for its first prompt, the window's events run.
    SimInstrument &sim = rig.port.sim;
    const qsizetype wakeUps = sim.received().count("@");
    QTRY_VERIFY_WITH_TIMEOUT(sim.received().count("@") > wakeUps, NoticeMsecs);
    bool ran = false;
    bool pollingWhenRun = false;
    qsizetype wakeUpsWhenRun = 0;
    QTimer::singleShot(0, &w, [&] {
        ran = true;
        pollingWhenRun = w.instrumentWatch().polling();
        wakeUpsWhenRun = sim.received().count("@");
    });
    QTRY_VERIFY_WITH_TIMEOUT(ran, NoticeMsecs);
    QVERIFY(pollingWhenRun);
    // Still within the attempt whose wake-up was seen (1.4 s on the window's clock): a prompt
    // wait that held the window would let it run only at a later attempt.
    QCOMPARE(wakeUpsWhenRun, wakeUps + 1);
    QVERIFY(rig.ui.boxes.isEmpty());
}

void tst_MainWindowBench::clickDuringAPollRunsAfterIt()
{
    SKIP_WITHOUT_SIMULATOR();
    BenchRig rig;
    // Every reply comes late: a poll is under way for a while.
    QVERIFY(rig.startBench({}, SystemClock::instance(),
                           {QStringLiteral("--delay"), QStringLiteral("300")}));
    frmVeltra &w = *rig.window;
    // "&Read" is clicked while a poll waits for its reply, as a user would.
    qsizetype before = -1;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, &user, [&] {
        if (!w.instrumentWatch().polling())
            return;
        user.stop();
        before = rig.commands().size();
        w.ComRead->click();
    });
    user.start(10);
    QTRY_VERIFY_WITH_TIMEOUT(before >= 0, NoticeMsecs);
    // The read follows the poll, without the transfer error a second transfer would meet.
    QTRY_VERIFY_WITH_TIMEOUT(rig.commands().mid(before).contains("WR"), NoticeMsecs);
    QTRY_VERIFY(w.ComRead->isEnabled());
    QVERIFY(rig.ui.boxes.isEmpty());
    const QByteArrayList sent = rig.commands().mid(before);
    const qsizetype read = sent.indexOf("V");
    QCOMPARE(sent.mid(read, 5), QByteArrayList({"V", "Vx", "#R", "Ux", "WR"}));
}

void tst_MainWindowBench::readOutFillsInOneRepaint()
{
    SKIP_WITHOUT_SIMULATOR();
    WindowSimRig rig;
    QVERIFY(rig.start({QStringLiteral("--serial"), QStringLiteral("40124")}));
    frmVeltra &w = *rig.window;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    // Counts the repaints of a field.
    struct PaintCount : QObject
    {
        int paints = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            paints += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } serialNo;
    w.LabelSerialNo->installEventFilter(&serialNo);
    w.LabelSerialNo->clear();
    QTRY_COMPARE(serialNo.paints, 1);

    // The caption changes before the dates are read, the fields after them: one repaint.
    serialNo.paints = 0;
    w.ComRead_Click();
    QTRY_COMPARE(serialNo.paints, 1);
    QCOMPARE(w.LabelSerialNo->text(), QStringLiteral("40124"));
}

QTEST_MAIN(tst_MainWindowBench)
#include "tst_mainwindowbench.moc"
