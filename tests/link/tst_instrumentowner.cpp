// The instrument's owner: requests run one at a time on its thread while the asking thread's event
// loop runs on, a stop ends a search at once, a port that goes away ends its request, a parity
// error is asked on the asking thread.

#include "blockingwaits.h"
#include "connector.h"
#include "fakeinstrument.h"
#include "instrumentowner.h"
#include "link.h"
#include "scriptedserialcontrol.h"
#include "testclock.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

constexpr double ClockSpeed = 10;

// A control and a link for the owner, the port open, the instrument answering "V".
struct Rig
{
    ScriptedSerialControl control;
    FakeInstrument instrument{control};
    TestClock clock;
    Link link{control, clock};
    InstrumentOwner owner{link};
    QObject receiver;

    explicit Rig(double clockSpeed = ClockSpeed) : clock(36000, clockSpeed)
    {
        instrument.answer("V", {"#Veltra K 1.10\r\n"});
        instrument.answer("WR", {"#100921 110921\r\n"});
        link.OpenComPort(1, 0);
    }

    // `action` runs on the owner's thread after each terminator the instrument receives.
    void afterCommand(std::function<void()> action)
    {
        control.onWrite = [answer = control.onWrite, action](const QByteArray &frame) {
            answer(frame);
            if (frame == "\n")
                action();
        };
    }
};

} // namespace

class TestInstrumentOwner : public QObject
{
    Q_OBJECT
private slots:
    // A request made while another runs waits for it: the frames of the two never mix, the
    // results come in order, and the asking thread's timers run while the instrument is awaited.
    void requestQueuedBehindAnother()
    {
        Rig rig;
        rig.instrument.replyDelayMs = 200;
        QList<QString> results;
        for (const QString &command : {QStringLiteral("V"), QStringLiteral("WR")})
            rig.owner.request(
                &rig.receiver,
                [command](Link &link) {
                    return link.DoTransfer(command, 0) == 1 ? link.responseText() : QString();
                },
                [&](QString reply) { results.append(reply); });
        QVERIFY(rig.owner.busy());

        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] { ticks += results.isEmpty() ? 1 : 0; });
        ticker.start(10);
        QTRY_COMPARE(results.size(), 2);
        QCOMPARE(results, (QList<QString>{"Veltra K 1.10", "100921 110921"}));
        QCOMPARE(rig.control.written, (QByteArrayList{"@", "V\r", "\n", "@", "WR\r", "\n"}));
        QVERIFY2(ticks > 0, "the asking thread's event loop stood still during the request");
        QCOMPARE(rig.link.thread(), QThread::currentThread());
        QCOMPARE(rig.control.thread(), QThread::currentThread());
        QVERIFY(!rig.owner.busy());
    }

    // Cancel while a search waits on a silent port: the search ends there, opens no further port
    // and sends nothing more; its result says it was cancelled.
    void cancelDuringSearch()
    {
        // At the real speed a silent port holds the search for seconds.
        Rig rig(1);
        rig.instrument.prompt.clear();
        rig.control.portsPresent = {1, 2, 3, 4};
        QList<int> progress;
        std::optional<Connector::SearchResult> result;
        QPointer<QObject> receiver(&rig.receiver);
        rig.owner.request(
            &rig.receiver,
            [&rig, receiver, &progress](Link &link) {
                const auto reportPort = [&rig, receiver, &progress](int portNo) {
                    rig.owner.report(receiver, [&progress, portNo] { progress.append(portNo); });
                };
                return Connector(link).search({1, 2, 3, 4}, 0,
                                              {reportPort, &BlockingWaits::stopRequested});
            },
            [&](Connector::SearchResult found) { result = found; });
        QTRY_VERIFY_WITH_TIMEOUT(progress.contains(2), 10000);
        rig.owner.cancel();
        QTRY_VERIFY_WITH_TIMEOUT(result.has_value(), 10000);

        QVERIFY(result->cancelled);
        QVERIFY(!result->found);
        QVERIFY(!progress.contains(3));
        for (const auto &opening : std::as_const(rig.control.openings))
            QVERIFY2(opening.first <= 2, "a port opened after the cancel");
        // Port 1 had its three wake-ups; port 2 not all of its own.
        QVERIFY(rig.control.written.count("@") < 6);
    }

    // The adapter goes away while the instrument's reply is awaited: the request ends with a
    // failure, sends nothing more, and hands the link back.
    void adapterUnpluggedMidTransfer()
    {
        Rig rig;
        rig.instrument.answer("V", {});
        rig.afterCommand([&rig] { rig.control.failWithResourceError(5); });
        std::optional<qint16> result;
        rig.owner.request(
            &rig.receiver, [](Link &link) { return link.DoTransfer(QStringLiteral("V"), 1); },
            [&](qint16 transfer) { result = transfer; });
        QTRY_VERIFY(result.has_value());
        QCOMPARE(*result, qint16(-1));
        QCOMPARE(rig.control.written, (QByteArrayList{"@", "V\r", "\n"}));
        QVERIFY(!rig.control.openState());
        QCOMPARE(rig.link.thread(), QThread::currentThread());
    }

    // A parity error in a request is the asking thread's question; the request waits for it.
    void parityQuestionOnTheAskingThread()
    {
        Rig rig;
        rig.instrument.replyDelayMs = 50;
        rig.afterCommand([&rig] { rig.control.raiseCommEvent(ParityErrorEvent, 1); });
        QThread *askedOn = nullptr;
        rig.owner.setParityDecision([&askedOn] {
            askedOn = QThread::currentThread();
            return ParityDecision::Ignore;
        });
        std::optional<qint16> result;
        rig.owner.request(
            &rig.receiver, [](Link &link) { return link.DoTransfer(QStringLiteral("V"), 0); },
            [&](qint16 transfer) { result = transfer; });
        QTRY_VERIFY(result.has_value());
        QCOMPARE(askedOn, QThread::currentThread());
        QCOMPARE(*result, qint16(1));
    }

    // stop() ends the running request and drops everything queued: no result comes, and the
    // port can be closed on the asking thread right after.
    void stopDropsRunningAndQueued()
    {
        Rig rig;
        rig.instrument.prompt.clear();
        int results = 0;
        bool started = false;
        const QPointer<QObject> receiver(&rig.receiver);
        for (int i = 0; i < 2; ++i)
            rig.owner.request(
                &rig.receiver,
                [&rig, receiver, &started](Link &link) {
                    rig.owner.report(receiver, [&started] { started = true; });
                    return link.DoTransfer(QStringLiteral("V"), 0);
                },
                [&](qint16) { ++results; });
        QTRY_VERIFY(started);
        rig.owner.stop();
        QVERIFY(!rig.owner.busy());
        QCOMPARE(rig.link.thread(), QThread::currentThread());
        const QByteArrayList writtenAtStop = rig.control.written;
        rig.link.closeComPort();
        QVERIFY(!rig.control.openState());

        // A request after the stop runs (on the closed port) and its result is the only one:
        // the stopped ones' would have come before it.
        rig.owner.request(
            &rig.receiver, [](Link &link) { return link.DoTransfer(QStringLiteral("V"), 0); },
            [&](qint16) { ++results; });
        QTRY_COMPARE(results, 1);
        QCOMPARE(rig.control.written, writtenAtStop);
    }
};

QTEST_GUILESS_MAIN(TestInstrumentOwner)
#include "tst_instrumentowner.moc"
