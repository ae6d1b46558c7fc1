// DoTransfer: attempts, the transfer status, re-entry, parity errors, Bluetooth limits, runaway
// replies and a port that goes away.

#include "fakeinstrument.h"
#include "link.h"
#include "linkmessages.h"
#include "scriptedserialcontrol.h"
#include "scriptedui.h"
#include "testclock.h"

#include <QTest>

class TestDoTransfer : public QObject
{
    Q_OBJECT
private slots:
    void attempts_data()
    {
        QTest::addColumn<QByteArrayList>("replies");
        QTest::addColumn<QByteArrayList>("statusReplies");
        QTest::addColumn<int>("verifyStatus");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("responseText");
        QTest::addColumn<QByteArrayList>("commands");

        QTest::newRow("first attempt succeeds")
            << QByteArrayList{"#A\r\n"} << QByteArrayList{} << 0 << 1 << "A" << QByteArrayList{"V"};
        QTest::newRow("two rejections then success")
            << QByteArrayList{"#?\r\n", "#?\r\n", "#A\r\n"} << QByteArrayList{} << 0 << 1 << "A"
            << QByteArrayList{"V", "V", "V"};
        QTest::newRow("three rejections fail") << QByteArrayList{"#?\r\n"} << QByteArrayList{} << 0
                                               << -1 << "" << QByteArrayList{"V", "V", "V"};
        QTest::newRow("status 0 restores the command's own reply")
            << QByteArrayList{"#A\r\n"} << QByteArrayList{"#0\r\n"} << 1 << 1 << "A"
            << QByteArrayList{"V", "t"};
        QTest::newRow("status 3 fails at once")
            << QByteArrayList{"#A\r\n"} << QByteArrayList{"#3\r\n"} << 1 << -1 << ""
            << QByteArrayList{"V", "t"};
        QTest::newRow("no answer to the status query resends the command")
            << QByteArrayList{"#A\r\n", "#B\r\n"} << QByteArrayList{"", "", "", "#0\r\n"} << 1 << 1
            << "B" << QByteArrayList{"V", "t", "t", "t", "V", "t"};
        QTest::newRow("status that is no number counts as no status")
            << QByteArrayList{"#A\r\n"} << QByteArrayList{"#x\r\n"} << 1 << -1 << ""
            << QByteArrayList{"V", "t", "V", "t", "V", "t"};
        QTest::newRow("each rejection is followed by the status query, and they fail even where "
                      "the status says 0")
            << QByteArrayList{"#?\r\n"} << QByteArrayList{"#0 ok\r\n"} << 1 << -1 << ""
            << QByteArrayList{"V", "t", "V", "t", "V", "t"};
        QTest::newRow("a rejection, its status query, then success")
            << QByteArrayList{"#?\r\n", "#A\r\n"} << QByteArrayList{"#0\r\n"} << 1 << 1 << "A"
            << QByteArrayList{"V", "t", "V", "t"};
    }
    void attempts()
    {
        QFETCH(QByteArrayList, replies);
        QFETCH(QByteArrayList, statusReplies);
        QFETCH(int, verifyStatus);
        ScriptedSerialControl control;
        FakeInstrument instrument(control);
        instrument.answer("V", replies);
        instrument.answer("t", statusReplies);
        const TestClock clock(36000, 8);
        Link link(control, clock);
        QCOMPARE(link.OpenComPort(1, 0), 0);

        QTEST(int(link.DoTransfer("V", qint16(verifyStatus))), "result");
        QTEST(link.responseText(), "responseText");
        QTEST(instrument.commands, "commands");
        QCOMPARE(link.inTransfer(), 0);
        QCOMPARE(link.exchangeBusy(), 0);
    }

    void transferStartedInsideAWaitIsRefused()
    {
        ScriptedSerialControl control;
        FakeInstrument instrument(control);
        instrument.replyDelayMs = 100;
        instrument.answer("V", {"#A\r\n"});
        Link link(control);
        QCOMPARE(link.OpenComPort(1, 0), 0);
        qint16 nested = 0;
        QByteArrayList writtenBefore;
        // A handler that runs while the reply is awaited.
        control.onWrite = [&, forward = control.onWrite](const QByteArray &frame) {
            forward(frame);
            if (frame == "\n")
                control.atEventLoop(30, [&] {
                    writtenBefore = control.written;
                    nested = link.DoTransfer("Vx", 0);
                });
        };

        QCOMPARE(link.DoTransfer("V", 0), 1);
        QCOMPARE(nested, -1);
        QCOMPARE(control.written, writtenBefore);
        QCOMPARE(link.responseText(), "A");
        QCOMPARE(instrument.commands, QByteArrayList{"V"});
        QCOMPARE(link.inTransfer(), 0);
    }

    void parityError_data()
    {
        QTest::addColumn<QList<MsgResult>>("answers");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("asked");
        QTest::newRow("OK quits") << QList<MsgResult>{MsgResult::Ok} << QByteArray("#A\r\n") << -1
                                  << true;
        QTest::newRow("Cancel ignores the error")
            << QList<MsgResult>{MsgResult::Cancel} << QByteArray("#A\r\n") << 1 << true;
        QTest::newRow("the bad byte was the last one to come")
            << QList<MsgResult>{MsgResult::Cancel} << QByteArray() << 1 << true;
        QTest::newRow("a link with nobody to decide fails without a box")
            << QList<MsgResult>{} << QByteArray("#A\r\n") << -1 << false;
    }
    void parityError()
    {
        QFETCH(QList<MsgResult>, answers);
        QFETCH(QByteArray, reply);
        ScriptedUi ui;
        ui.answers.append(answers);
        ScriptedSerialControl control;
        FakeInstrument instrument(control);
        instrument.replyDelayMs = 10;
        instrument.answer("V", {reply});
        control.onWrite = [&, forward = control.onWrite](const QByteArray &frame) {
            forward(frame);
            if (frame == "\n")
                control.raiseCommEvent(ParityErrorEvent, 5);
        };
        Link link(control);
        QFETCH(bool, asked);
        if (asked)
            link.setParityDecision(&askParityError);
        QCOMPARE(link.OpenComPort(1, 0), 0);

        QTEST(int(link.DoTransfer("V", 0)), "result");
        QCOMPARE(link.responseText(), "");
        QCOMPARE(instrument.commands, (QByteArrayList{"V", "V", "V"}));
        if (!asked) {
            QVERIFY(ui.boxes.isEmpty());
            return;
        }
        QCOMPARE(ui.boxes.size(), 1);
        const MessageRequest &box = ui.boxes.first();
        QCOMPARE(box.text, "Parity Error\n\nPress Ok to Quit, Cancel to ignore.");
        QCOMPARE(box.title, "VeltraSetCalibDate");
        QCOMPARE(box.buttons, MsgButtons::OkCancel);
        QCOMPARE(box.icon, MsgIcon::Exclamation);
        QCOMPARE(box.defaultButton, MsgResult::Ok);
    }

    void otherCommunicationEventsAreIgnored()
    {
        ScriptedUi ui;
        ScriptedSerialControl control;
        FakeInstrument instrument(control);
        instrument.replyDelayMs = 10;
        instrument.answer("V", {"#A\r\n"});
        control.onWrite = [&, forward = control.onWrite](const QByteArray &frame) {
            forward(frame);
            if (frame == "\n")
                control.raiseCommEvent(1010, 5);
        };
        Link link(control);
        QCOMPARE(link.OpenComPort(1, 0), 0);
        QCOMPARE(link.DoTransfer("V", 0), 1);
        QCOMPARE(link.responseText(), "A");
        QVERIFY(ui.boxes.isEmpty());
    }

    void bluetoothLimits_data()
    {
        QTest::addColumn<int>("bluetoothOn");
        QTest::addColumn<int>("btPrompt");
        QTest::addColumn<int>("btReply");
        QTest::addColumn<double>("promptLimit");
        QTest::addColumn<double>("replyLimit");
        QTest::newRow("cable uses 0.7 and 2.0 seconds") << 0 << 3 << 5 << 0.7 << 2.0;
        QTest::newRow("Bluetooth defaults raise them to 3 and 5") << 1 << 3 << 5 << 3.0 << 5.0;
        QTest::newRow("Bluetooth 1 and 2 give 1 and 2.0") << 1 << 1 << 2 << 1.0 << 2.0;
    }
    void bluetoothLimits()
    {
        QFETCH(int, bluetoothOn);
        QFETCH(int, btPrompt);
        QFETCH(int, btReply);
        QFETCH(double, promptLimit);
        QFETCH(double, replyLimit);
        const TestClock clock(36000, 4);
        // How long, on the link's clock, an exchange takes to give up.
        const auto giveUpTime = [&](const QByteArray &prompt) {
            ScriptedSerialControl control;
            FakeInstrument instrument(control, prompt);
            Link link(control, clock);
            link.setSettings({1, qint16(bluetoothOn), qint16(btPrompt), qint16(btReply)});
            link.OpenComPort(1, link.settings().BluetoothOn);
            const double start = clock.secondsSinceMidnight();
            const qint16 result = link.SendReceive("V", 0.7, 2.0);
            return result == -1 ? clock.secondsSinceMidnight() - start : -1.0;
        };
        const double noPrompt = giveUpTime(QByteArray());
        QVERIFY2(noPrompt >= promptLimit && noPrompt < promptLimit + 0.9,
                 qPrintable(QString::number(noPrompt)));
        const double noReply = giveUpTime(">");
        QVERIFY2(noReply >= replyLimit && noReply < replyLimit + 0.9,
                 qPrintable(QString::number(noReply)));
    }

    void runawayReplyEndsAtTheCap()
    {
        ScriptedSerialControl control;
        control.onWrite = [&](const QByteArray &frame) {
            if (frame == "@")
                control.deliver(">");
            if (frame == "\n") {
                for (int piece = 0; piece < 70; ++piece)
                    control.deliver(QByteArray(1024, 'x'), 1);
            }
        };
        const TestClock clock;
        Link link(control, clock);
        QCOMPARE(link.OpenComPort(1, 0), 0);
        const double start = clock.secondsSinceMidnight();
        QCOMPARE(link.SendReceive("V", 0.7, 2.0), -1);
        QVERIFY(clock.secondsSinceMidnight() - start < 1.0);
        QCOMPARE(link.responseText(), "");
        QCOMPARE(link.exchangeBusy(), 0);
    }

    void portGoingAwayEndsTheTransferAtOnce()
    {
        ScriptedSerialControl control;
        FakeInstrument instrument(control);
        control.onWrite = [&, forward = control.onWrite](const QByteArray &frame) {
            forward(frame);
            if (frame == "\n")
                control.failWithResourceError(20);
        };
        const TestClock clock;
        Link link(control, clock);
        QCOMPARE(link.OpenComPort(1, 0), 0);
        const double start = clock.secondsSinceMidnight();
        QCOMPARE(link.DoTransfer("V", 1), -1);
        QVERIFY(clock.secondsSinceMidnight() - start < 1.0);
        QCOMPARE(instrument.commands, QByteArrayList{"V"});
        QVERIFY(!control.openState());
        QCOMPARE(link.responseText(), "");
        QCOMPARE(link.inTransfer(), 0);
        QCOMPARE(link.exchangeBusy(), 0);
    }
};

QTEST_GUILESS_MAIN(TestDoTransfer)
#include "tst_dotransfer.moc"
