// Opening the port with the line profiles, waiting, and the transfer error message.

#include "link.h"
#include "linkmessages.h"
#include "scriptedserialcontrol.h"
#include "scriptedui.h"
#include "testclock.h"

#include <QTest>
#include <QTimer>

class TestPortOpening : public QObject
{
    Q_OBJECT
private slots:
    void openWithProfile_data()
    {
        QTest::addColumn<int>("fastProfile");
        QTest::addColumn<QString>("settings");
        QTest::newRow("standard profile for cable and infrared") << 0 << "9600,e,7,2";
        QTest::newRow("fast profile for Bluetooth") << 1 << "115200,n,8,1";
        QTest::newRow("any non-zero value is the fast profile") << -1 << "115200,n,8,1";
    }
    void openWithProfile()
    {
        QFETCH(int, fastProfile);
        QFETCH(QString, settings);
        ScriptedSerialControl control;
        control.portsPresent = {3};
        Link link(control);
        QCOMPARE(link.OpenComPort(3, qint16(fastProfile)), 0);
        QVERIFY(control.openState());
        QCOMPARE(control.openings, (QList<QPair<int, QString>>{{3, settings}}));
    }

    void absentPortLeavesEverythingUnchanged()
    {
        ScriptedSerialControl control;
        control.portsPresent = {1};
        control.setSettings("1200,n,8,1");
        control.setCommPort(1);
        Link link(control);
        QCOMPARE(link.OpenComPort(5, 0), 17);
        QCOMPARE(control.settings(), "1200,n,8,1");
        QCOMPARE(control.commPort(), 1);
        QVERIFY(control.openings.isEmpty());
        QCOMPARE(link.OpenComPort(0, 0), 17);
        QCOMPARE(link.OpenComPort(256, 0), 17);
    }

    void openPortIsClosedBeforeAnotherOpens()
    {
        ScriptedSerialControl control;
        control.portsPresent = {1, 2};
        Link link(control);
        QCOMPARE(link.OpenComPort(1, 0), 0);
        QCOMPARE(link.OpenComPort(2, 0), 0);
        QCOMPARE(control.closings, 1);
        QCOMPARE(control.commPort(), 2);
        QVERIFY(control.openState());
    }

    void refusedPortLeavesNoPortOpen()
    {
        ScriptedSerialControl control;
        control.portsPresent = {1, 2};
        control.refusedPorts = {2};
        Link link(control);
        QCOMPARE(link.OpenComPort(1, 0), 0);
        QCOMPARE(link.OpenComPort(2, 0), 17);
        QVERIFY(!control.openState());
        // An error from earlier does not spoil the next opening.
        QCOMPARE(link.OpenComPort(1, 0), 0);
    }

    void portFailingWhileSettlingGives17()
    {
        ScriptedSerialControl control;
        control.failWithResourceError(0);
        Link link(control);
        QCOMPARE(link.OpenComPort(1, 0), 17);
        QVERIFY(!control.openState());
    }

    void setComSettings_data()
    {
        QTest::addColumn<int>("bluetoothOn");
        QTest::addColumn<QString>("settings");
        QTest::newRow("cable") << 0 << "9600,e,7,2";
        QTest::newRow("Bluetooth") << 1 << "115200,n,8,1";
    }
    void setComSettings()
    {
        QFETCH(int, bluetoothOn);
        ScriptedSerialControl control;
        Link link(control);
        link.setSettings({1, qint16(bluetoothOn), 3, 5});
        link.SetComSettings();
        QTEST(control.settings(), "settings");
        QVERIFY(!control.openState());
    }

    void waitAcrossMidnightEndsOnTime()
    {
        // 0.05 seconds before midnight; the clock wraps to 0 during the wait.
        const TestClock clock(86399.95);
        ScriptedSerialControl control;
        Link link(control, clock);
        link.WaitSeconds(0.1);
        // Ended in the new day, not before the deadline 0.05 s after midnight; one that waited
        // for the clock to pass 0.05 s of a day-later reading would not have come back at all.
        const double now = clock.secondsSinceMidnight();
        QVERIFY2(now >= 0.05 && now < SecondsPerDay / 2, qPrintable(QString::number(now)));
    }

    void waitProcessesEvents()
    {
        ScriptedSerialControl control;
        Link link(control);
        bool timerRan = false;
        QTimer::singleShot(10, this, [&] { timerRan = true; });
        link.WaitSeconds(0.1);
        QVERIFY(timerRan);
    }

    void waitOfNoTimeReturnsAtOnce_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::newRow("zero") << 0.0;
        QTest::newRow("negative") << -5.0;
    }
    void waitOfNoTimeReturnsAtOnce()
    {
        QFETCH(double, seconds);
        ScriptedSerialControl control;
        Link link(control);
        bool timerRan = false;
        QTimer::singleShot(0, this, [&] { timerRan = true; });
        link.WaitSeconds(seconds);
        QVERIFY(!timerRan);
    }

    void transferError_data()
    {
        QTest::addColumn<int>("bluetoothOn");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("deviceType");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::newRow("identity over Bluetooth before identification")
            << 1 << "V" << 0
            << "Data transfer to instrument fails (V) !\nPlease check bluetooth,\n"
               "Com port (Selection!) and device status !"
            << "Veltra";
        QTest::newRow("date read over cable from a KX")
            << 0 << "WR" << 18
            << "Data transfer to instrument fails (WR) !\nPlease check connection cable,\n"
               "Com port (Selection!) and device status !"
            << "Veltra KX";
    }
    void transferError()
    {
        QFETCH(int, bluetoothOn);
        QFETCH(QString, command);
        QFETCH(int, deviceType);
        ScriptedUi ui;
        ScriptedSerialControl control;
        Link link(control);
        link.setSettings({1, qint16(bluetoothOn), 3, 5});
        // A model's own name identifies it as that model.
        link.ParseIdentity(link.deviceNameTable().value(deviceType));
        ShowTransferError(link, command);
        QCOMPARE(ui.beeps, 1);
        QCOMPARE(ui.boxes.size(), 1);
        QTEST(ui.boxes.first().text, "text");
        QTEST(ui.boxes.first().title, "title");
        QCOMPARE(ui.boxes.first().icon, MsgIcon::Exclamation);
        QCOMPARE(ui.boxes.first().buttons, MsgButtons::Ok);
    }
};

QTEST_GUILESS_MAIN(TestPortOpening)
#include "tst_portopening.moc"
