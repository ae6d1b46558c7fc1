// The instrument watch: instruments placed and taken off, the adapter unplugged and plugged in,
// nothing sent while stopped, and the event loop running while a poll waits for a silent port.

#include "devicewatch.h"
#include "fakeinstrument.h"
#include "filebytes.h"
#include "instrumentwatch.h"
#include "link.h"
#include "programpaths.h"
#include "simrig.h"
#include "testclock.h"

#include <QFile>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <utility>

namespace {

// Generous: the device watch settles for a moment after each change, and the machine may be busy.
constexpr int NoticeMsecs = 5000;
constexpr double PollSeconds = 0.05;

// A link on a scripted instrument, on a clock fast enough that a silent poll is over at once,
// watched on a path that stands for the adapter.
struct WatchRig
{
    WatchRig()
    {
        instrument.answer("#R", {"#12345\r\n"});
        QVERIFY(writeFileBytes(device, {}));
        QVERIFY(QFile::link(device, adapterPath));
        // The adapter is there from the start.
        adapter.restart();
        QCOMPARE(link.OpenComPort(1, 0), 0);
        watch.setPollSeconds(PollSeconds);
    }

    QTemporaryDir dir;
    const QString device = dir.filePath(QStringLiteral("device"));
    const QString adapterPath = dir.filePath(QStringLiteral("adapter"));
    ScriptedSerialControl control;
    FakeInstrument instrument{control};
    const TestClock clock{36000, 20};
    Link link{control, clock};
    DeviceWatch adapter{[this] { return adapterPath; }};
    InstrumentWatch watch{link, adapter};
    QSignalSpy placed{&watch, &InstrumentWatch::placed};
    QSignalSpy removed{&watch, &InstrumentWatch::removed};
};

QStringList serialsOf(const QSignalSpy &placed)
{
    QStringList serials;
    for (const QList<QVariant> &arguments : placed)
        serials << arguments.first().toString();
    return serials;
}

} // namespace

class tst_InstrumentWatch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void followsTheInstruments();
    void sendsNothingWhileStopped();
    void waitsForTheOwnersExchange();
    void followsTheAdapter();
    void eventLoopRunsWhileAPollWaits();
    void benchOfTheVirtualInstrument();

private:
    QTemporaryDir m_programDir;
};

void tst_InstrumentWatch::initTestCase()
{
    QVERIFY(m_programDir.isValid());
    setProgramPaths(m_programDir.path());
}

void tst_InstrumentWatch::followsTheInstruments()
{
    WatchRig rig;
    rig.watch.start();
    QTRY_COMPARE_WITH_TIMEOUT(rig.placed.size(), 1, NoticeMsecs);
    QCOMPARE(serialsOf(rig.placed), QStringList{"12345"});

    // The same instrument answering again is no news.
    const qsizetype polls = rig.instrument.commands.size();
    QTRY_VERIFY_WITH_TIMEOUT(rig.instrument.commands.size() >= polls + 3, NoticeMsecs);
    QCOMPARE(rig.placed.size(), 1);
    QCOMPARE(rig.removed.size(), 0);

    // Taken off: no prompt any more.
    rig.instrument.prompt.clear();
    QTRY_COMPARE_WITH_TIMEOUT(rig.removed.size(), 1, NoticeMsecs);

    rig.instrument.answer("#R", {"#40124\r\n"});
    rig.instrument.prompt = ">";
    QTRY_COMPARE_WITH_TIMEOUT(rig.placed.size(), 2, NoticeMsecs);

    // Swapped without a poll in between that saw the adapter empty.
    rig.instrument.answer("#R", {"#40125\r\n"});
    QTRY_COMPARE_WITH_TIMEOUT(rig.placed.size(), 3, NoticeMsecs);
    QCOMPARE(serialsOf(rig.placed), (QStringList{"12345", "40124", "40125"}));
    QCOMPARE(rig.removed.size(), 1);
    // Only the serial number is ever asked.
    QCOMPARE(QSet<QByteArray>(rig.instrument.commands.begin(), rig.instrument.commands.end()),
             QSet<QByteArray>{"#R"});
}

void tst_InstrumentWatch::sendsNothingWhileStopped()
{
    WatchRig idle;
    WatchRig stopped;
    WatchRig running;
    stopped.watch.start();
    QTRY_COMPARE_WITH_TIMEOUT(stopped.placed.size(), 1, NoticeMsecs);
    stopped.watch.stop();
    QVERIFY(!stopped.watch.running());
    const QList<QByteArray> sentBeforeStop = stopped.control.written;

    // A watch beside them polls a few times: time enough for the others to have polled too.
    running.watch.start();
    QTRY_VERIFY_WITH_TIMEOUT(running.instrument.commands.size() >= 4, NoticeMsecs);
    QVERIFY(idle.control.written.isEmpty());
    QCOMPARE(stopped.control.written, sentBeforeStop);
}

// An exchange of the owner (one without DoTransfer) lets polls come due while it waits: they are
// skipped, not refused and taken for an instrument gone.
void tst_InstrumentWatch::waitsForTheOwnersExchange()
{
    WatchRig rig;
    rig.watch.start();
    QTRY_COMPARE_WITH_TIMEOUT(rig.placed.size(), 1, NoticeMsecs);
    rig.instrument.answer("V", {"#Veltra K-40 V1.610\r\n"});
    rig.instrument.replyDelayMs = 300;
    const qsizetype polls = rig.instrument.commands.size();

    QCOMPARE(rig.link.SendReceive(QStringLiteral("V"), 20, 20), 0);
    QCOMPARE(rig.instrument.commands.mid(polls), QByteArrayList{"V"});
    rig.instrument.replyDelayMs = 1;
    QTRY_VERIFY_WITH_TIMEOUT(rig.instrument.commands.size() >= polls + 3, NoticeMsecs);
    QCOMPARE(rig.removed.size(), 0);
    QCOMPARE(rig.placed.size(), 1);
}

void tst_InstrumentWatch::followsTheAdapter()
{
    WatchRig rig;
    QSignalSpy unplugged(&rig.watch, &InstrumentWatch::unplugged);
    QSignalSpy plugged(&rig.watch, &InstrumentWatch::plugged);
    // The owner opens and closes the port.
    QObject::connect(&rig.adapter, &DeviceWatch::presenceChanged, &rig.link, [&rig](bool present) {
        if (present)
            rig.link.OpenComPort(1, 0);
        else
            rig.link.closeComPort();
    });
    rig.watch.start();
    QTRY_COMPARE_WITH_TIMEOUT(rig.placed.size(), 1, NoticeMsecs);

    QVERIFY(QFile::remove(rig.adapterPath));
    QTRY_COMPARE_WITH_TIMEOUT(unplugged.size(), 1, NoticeMsecs);
    const qsizetype sentWhileAway = rig.control.written.size();

    QVERIFY(QFile::link(rig.device, rig.adapterPath));
    QTRY_COMPARE_WITH_TIMEOUT(plugged.size(), 1, NoticeMsecs);
    // Plugged in again: the same instrument is news again, without removed() in between.
    QTRY_COMPARE_WITH_TIMEOUT(rig.placed.size(), 2, NoticeMsecs);
    QCOMPARE(serialsOf(rig.placed), (QStringList{"12345", "12345"}));
    QCOMPARE(rig.removed.size(), 0);
    QVERIFY(rig.control.written.size() > sentWhileAway);
}

// A poll of an adapter with no instrument waits for a prompt that never comes, three times; the
// handlers of the window go on running meanwhile, and a transfer they start is refused.
void tst_InstrumentWatch::eventLoopRunsWhileAPollWaits()
{
    SKIP_WITHOUT_SIMULATOR();
    // At half speed each prompt limit lasts 1.4 s: time enough for the simulator to log the
    // wake-up it waits after, on a busy machine too.
    const TestClock clock(36000, 0.5);
    SimLink rig(clock);
    QVERIFY(rig.open({QStringLiteral("--silent")}));
    DeviceWatch adapter([] { return QString(); });
    InstrumentWatch watch(rig.link, adapter);

    // Each tick notes how many wake-ups the simulator has seen while the poll is on. A prompt
    // wait that held the loop would let no tick run between a wake-up and the next one.
    QTimer tick;
    tick.setInterval(20);
    QSet<qsizetype> wakeUpsSeenWaiting;
    bool first = true;
    qint16 nested = 0;
    QObject::connect(&tick, &QTimer::timeout, &tick, [&] {
        if (!watch.polling())
            return;
        if (std::exchange(first, false))
            nested = rig.link.DoTransfer(QStringLiteral("V"), 0);
        wakeUpsSeenWaiting.insert(rig.sim.received().size());
    });
    tick.start();
    watch.start();
    // The three wake-ups of one poll, each without a prompt.
    QVERIFY(rig.sim.waitForFrames(SimFrame::Direction::Received, 3, 10000));
    QTRY_VERIFY_WITH_TIMEOUT(!watch.polling(), 10000);

    for (const qsizetype wakeUps : {1, 2, 3})
        QVERIFY2(wakeUpsSeenWaiting.contains(wakeUps), qPrintable(QString::number(wakeUps)));
    QCOMPARE(nested, -1);
    QCOMPARE(rig.sim.received(), (QList<QByteArray>{"@", "@", "@"}));
}

// The virtual instrument's bench: its instrument taken off and another put on.
void tst_InstrumentWatch::benchOfTheVirtualInstrument()
{
    SKIP_WITHOUT_SIMULATOR();
    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("bench.txt"));
    QVERIFY(writeFileBytes(script, "1.0 remove\n4.0 place serial=40124 dates=240101 250101\n"));
    const TestClock clock(36000, 10);
    SimLink rig(clock);
    QVERIFY(rig.open({QStringLiteral("--script"), script}));
    DeviceWatch adapter([] { return QString(); });
    InstrumentWatch watch(rig.link, adapter);
    watch.setPollSeconds(0.1);
    QSignalSpy placed(&watch, &InstrumentWatch::placed);
    QSignalSpy removed(&watch, &InstrumentWatch::removed);
    watch.start();

    QTRY_COMPARE_WITH_TIMEOUT(placed.size(), 2, 15000);
    QCOMPARE(serialsOf(placed), (QStringList{"12345", "40124"}));
    QCOMPARE(removed.size(), 1);
}

QTEST_GUILESS_MAIN(tst_InstrumentWatch)
#include "tst_instrumentwatch.moc"
