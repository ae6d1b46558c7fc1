// The window and veltra-calib read one settings file into the same connection settings.

#include "filebytes.h"
#include "frmveltra.h"
#include "programpaths.h"
#include "scriptedserialcontrol.h"
#include "scriptedui.h"
#include "toolsettings.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class SettingsPaths : public QObject
{
    Q_OBJECT
private slots:
    void windowAndToolAgree_data()
    {
        QTest::addColumn<QByteArray>("ini");
        // ComPortNo, BluetoothOn, BtPromptTimeout, BtReplyTimeout
        QTest::addColumn<QList<int>>("values");

        QTest::newRow("no settings file gives the defaults")
            << QByteArray() << QList<int>{1, 0, 3, 5};
        QTest::newRow("a port and a full Bluetooth setting are taken as written")
            << QByteArray("[Appl]\nComPort=7\nConnectViaBluetooth=1;4;6\n")
            << QList<int>{7, 1, 4, 6};
        QTest::newRow("Bluetooth alone raises the missing limits to 1 and 2")
            << QByteArray("[Appl]\nConnectViaBluetooth=1\n") << QList<int>{1, 1, 1, 2};
        QTest::newRow("limits below 1 and 2 are raised")
            << QByteArray("[Appl]\nConnectViaBluetooth=0;0;1\n") << QList<int>{1, 0, 1, 2};
        QTest::newRow("a port that is not a number reads as -1")
            << QByteArray("[Appl]\nComPort=abc\n") << QList<int>{-1, 0, 3, 5};
        QTest::newRow("a port number that does not fit stops the reading with port 0")
            << QByteArray("[Appl]\nComPort=99999\nConnectViaBluetooth=1;3;5\n")
            << QList<int>{0, 0, 0, 0};
        QTest::newRow("a later key that does not fit keeps the limits unraised")
            << QByteArray("[Appl]\nComPort=4\nConnectViaBluetooth=1;0;1\nValidMonthOfCalib=70000\n")
            << QList<int>{4, 1, 0, 1};
    }
    void windowAndToolAgree()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QList<int>, values);

        QTemporaryDir dir;
        setProgramPaths(dir.path());
        if (!ini.isEmpty()) {
            QVERIFY(writeFileBytes(IniFileName, ini));
        }
        ScriptedUi ui;
        ScriptedSerialControl comm;
        frmVeltra window(comm);
        window.Form_Load();
        window.TimerStart->stop();
        const ConnectionSettings byWindow = window.link().settings();
        const ConnectionSettings byTool = toolConnectionSettings(ToolOptions());

        QCOMPARE((QList<int>{byWindow.ComPortNo, byWindow.BluetoothOn, byWindow.BtPromptTimeout,
                             byWindow.BtReplyTimeout}),
                 values);
        QCOMPARE((QList<int>{byTool.ComPortNo, byTool.BluetoothOn, byTool.BtPromptTimeout,
                             byTool.BtReplyTimeout}),
                 values);
    }

    void commandLineOverridesPortAndType()
    {
        QTemporaryDir dir;
        setProgramPaths(dir.path());
        QVERIFY(writeFileBytes(IniFileName, "[Appl]\nComPort=7\nConnectViaBluetooth=0;4;6\n"));

        ToolOptions options;
        options.port = 9;
        options.bluetooth = true;
        QCOMPARE(toolConnectionSettings(options), (ConnectionSettings{9, 1, 4, 6}));
        options.device = QStringLiteral("/dev/pts/9");
        QCOMPARE(toolConnectionSettings(options).ComPortNo, qint16(1));
    }
};

QTEST_MAIN(SettingsPaths)
#include "tst_settingspaths.moc"
