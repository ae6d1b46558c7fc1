// One exchange (SendReceive): prompt, framing, and the reply rules of both framings.

#include "fakeinstrument.h"
#include "link.h"
#include "scriptedserialcontrol.h"
#include "testclock.h"

#include <QTest>

class TestExchange : public QObject
{
    Q_OBJECT
private slots:
    void replyRules_data()
    {
        QTest::addColumn<QByteArray>("prompt");
        QTest::addColumn<QByteArrayList>("pieces");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("responseText");

        const QByteArray plain = ">";
        const QByteArray framed = "\x07";
        QTest::newRow("plain complete reply")
            << plain << QByteArrayList{"#Veltra K 1.10\r\n"} << 0 << "Veltra K 1.10";
        QTest::newRow("plain text before the hash is skipped")
            << plain << QByteArrayList{"xx#ABC\r\n"} << 0 << "ABC";
        QTest::newRow("plain empty payload") << plain << QByteArrayList{"#\r\n"} << 0 << "";
        QTest::newRow("plain rejection line gives -4")
            << plain << QByteArrayList{"#?\r\n"} << -4 << "";
        QTest::newRow("plain line ending in LF without CR loses its last character")
            << plain << QByteArrayList{"#V1.2\n"} << 0 << "V1.";
        QTest::newRow("plain noise line before the reply in its own piece is dropped")
            << plain << QByteArrayList{"noise\r\n", "#ABC\r\n"} << 0 << "ABC";
        QTest::newRow("plain noise line and reply in one piece wait for more characters")
            << plain << QByteArrayList{"noise\r\n#ABC\r\n", "x"} << 0 << "ABC";
        QTest::newRow("plain noise line and reply in one piece alone time out")
            << plain << QByteArrayList{"noise\r\n#ABC\r\n"} << -1 << "";
        QTest::newRow("plain reply in pieces")
            << plain << QByteArrayList{"#AB", "C\r", "\n"} << 0 << "ABC";
        QTest::newRow("plain line without end times out")
            << plain << QByteArrayList{"#ABC"} << -1 << "";
        QTest::newRow("plain silence times out") << plain << QByteArrayList{} << -1 << "";

        // STX and ETX in octal: a hex escape would take the hex digits after it ("\x02AB").
        QTest::newRow("framed complete reply")
            << framed << QByteArrayList{"\002ABCC8\003"} << 0 << "ABC";
        QTest::newRow("framed noise before STX is skipped")
            << framed << QByteArrayList{"xx\002ABCC8\003"} << 0 << "ABC";
        QTest::newRow("framed reply in pieces")
            << framed << QByteArrayList{"\002AB", "CC", "8\x03"} << 0 << "ABC";
        QTest::newRow("framed empty payload") << framed << QByteArrayList{"\00202\003"} << 0 << "";
        QTest::newRow("framed wrong checksum is rejected")
            << framed << QByteArrayList{"\002ABCC9\003"} << -4 << "";
        QTest::newRow("framed lower-case checksum is rejected")
            << framed << QByteArrayList{"\002ABCc8\003"} << -4 << "";
        QTest::newRow("framed frame too short for a checksum is rejected")
            << framed << QByteArrayList{"\002A\003"} << -4 << "";
        QTest::newRow("framed NAK is a rejection") << framed << QByteArrayList{"\x15"} << -4 << "";
        QTest::newRow("framed ACK returns everything received")
            << framed << QByteArrayList{"ok\x06"} << 0 << "ok\x06";
        QTest::newRow("framed frame without ETX times out")
            << framed << QByteArrayList{"\002ABCC8"} << -1 << "";
        QTest::newRow("framed silence times out") << framed << QByteArrayList{} << -1 << "";
    }
    void replyRules()
    {
        QFETCH(QByteArray, prompt);
        QFETCH(QByteArrayList, pieces);
        ScriptedSerialControl control;
        control.onWrite = [&](const QByteArray &frame) {
            if (frame == "@")
                control.deliver(prompt, 1);
            if (frame == "\n" || frame == "\x03") {
                int delay = 1;
                for (const QByteArray &piece : pieces)
                    control.deliver(piece, delay += 20);
            }
        };
        // Four times real time: the 2-second reply limit passes in half a second.
        const TestClock clock(36000, 4);
        Link link(control, clock);
        QCOMPARE(link.OpenComPort(1, 0), 0);

        QTEST(int(link.SendReceive("V", 0.7, 2.0)), "result");
        QTEST(link.responseText(), "responseText");
        QCOMPARE(link.exchangeBusy(), 0);
        QCOMPARE(link.protocolMode(), prompt == ">" ? 0 : 1);
    }

    void framesOnTheLine_data()
    {
        QTest::addColumn<QByteArray>("prompt");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QByteArrayList>("written");
        QTest::newRow("prompt > chooses the plain framing")
            << QByteArray("\r\n>") << QByteArray("#1\r\n") << QByteArrayList{"@", "V\r", "\n"};
        QTest::newRow("prompt BEL chooses the framed form")
            << QByteArray("\x07") << QByteArray("\002133\003")
            << QByteArrayList{"@", "\x02V58", "\x03"};
    }
    void framesOnTheLine()
    {
        QFETCH(QByteArray, prompt);
        QFETCH(QByteArray, reply);
        ScriptedSerialControl control;
        FakeInstrument instrument(control, prompt);
        instrument.answer("V", {reply});
        Link link(control);
        QCOMPARE(link.OpenComPort(1, 0), 0);
        QCOMPARE(link.SendReceive("V", 0.7, 2.0), 0);
        QCOMPARE(link.responseText(), "1");
        QTEST(control.written, "written");
    }

    void promptIsAwaitedWithoutProcessingEvents()
    {
        ScriptedSerialControl control;
        qsizetype writtenWhenHandlerRan = -1;
        control.onWrite = [&](const QByteArray &frame) {
            if (frame == "@") {
                control.deliver("noise", 5);
                control.deliver(">", 40);
                // An event handler due while the prompt is awaited runs only after the command
                // has gone out.
                control.atEventLoop(10, [&] { writtenWhenHandlerRan = control.written.size(); });
            }
            if (frame == "\n")
                control.deliver("#1\r\n", 5);
        };
        Link link(control);
        QCOMPARE(link.OpenComPort(1, 0), 0);
        QCOMPARE(link.SendReceive("V", 0.7, 2.0), 0);
        QCOMPARE(link.responseText(), "1");
        QVERIFY(writtenWhenHandlerRan >= 2);
        QVERIFY(control.inputWaits > 0);
    }

    void missingPromptTimesOut()
    {
        ScriptedSerialControl control;
        FakeInstrument instrument(control, "no prompt here");
        Link link(control);
        QCOMPARE(link.OpenComPort(1, 0), 0);
        QCOMPARE(link.SendReceive("V", 0.7, 2.0), -1);
        QCOMPARE(control.written, QByteArrayList{"@"});
        QCOMPARE(link.exchangeBusy(), 0);
    }

    void waitAcrossMidnightStillEnds()
    {
        // The clock wraps to 0 during the prompt wait, which then begins anew: it ends on the
        // far side of midnight, a whole limit after it, and not at the wrap itself.
        const TestClock clock(86399.9);
        ScriptedSerialControl control;
        FakeInstrument instrument(control, QByteArray());
        Link link(control, clock);
        QCOMPARE(link.OpenComPort(1, 0), 0);
        QCOMPARE(link.SendReceive("V", 0.7, 2.0), -1);
        const double endedAt = clock.secondsSinceMidnight();
        QVERIFY2(endedAt >= 0.7 && endedAt < 86399.9, qPrintable(QString::number(endedAt)));
    }

    void closedPortAndBusyExchangeSendNothing()
    {
        ScriptedSerialControl control;
        control.drainMs = 20;
        const TestClock clock(36000, 8);
        Link link(control, clock);
        QCOMPARE(link.SendReceive("V", 0.7, 2.0), -3);
        QVERIFY(control.written.isEmpty());
        QCOMPARE(link.OpenComPort(1, 0), 0);
        // A handler that runs while the wake-up drains finds the exchange busy.
        qint16 nested = 0;
        control.atEventLoop(5, [&] { nested = link.SendReceive("V", 0.7, 2.0); });
        QCOMPARE(link.SendReceive("V", 0.7, 2.0), -1);
        QCOMPARE(nested, qint16(2));
        QCOMPARE(control.written, QByteArrayList{"@"});
    }

    void outputThatNeverDrainsTimesOut()
    {
        ScriptedSerialControl control;
        control.neverDrains = true;
        const TestClock clock(36000, 4);
        Link link(control, clock);
        QCOMPARE(link.OpenComPort(1, 0), 0);
        QCOMPARE(link.SendReceive("V", 0.7, 2.0), -1);
        QCOMPARE(control.written, QByteArrayList{"@"});
    }
};

QTEST_GUILESS_MAIN(TestExchange)
#include "tst_exchange.moc"
