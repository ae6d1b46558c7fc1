// Loading the main window: the settings keys, their rules and the presets of the date pickers.

#include "filebytes.h"
#include "frmveltra.h"
#include "programpaths.h"
#include "scriptedserialcontrol.h"
#include "scriptedui.h"

#include <QAction>
#include <QDateEdit>
#include <QFile>
#include <QFrame>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QDate Today(2024, 3, 15);

} // namespace

class MainWindowSettings : public QObject
{
    Q_OBJECT
private slots:
    void keyTable_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QList<int>>("values"); // ComPortNo, BluetoothOn, BtPromptTimeout,
            // BtReplyTimeout, ShowInfoPswMsg, ValidMonthOfCalib
        QTest::addColumn<QByteArray>("validMonthsAfter");
        QTest::addColumn<QDate>("expirationPreset");

        QTest::newRow("no settings file gives the defaults")
            << QByteArray() << QList<int>{1, 0, 3, 5, 1, 12} << QByteArray() << QDate(2025, 3, 15);
        QTest::newRow("months that are not a number are repaired to 12")
            << QByteArray("[Appl]\nValidMonthOfCalib=abc\n") << QList<int>{1, 0, 3, 5, 1, 12}
            << QByteArray("12") << QDate(2025, 3, 15);
        QTest::newRow("months -1 are repaired to 12")
            << QByteArray("[Appl]\nValidMonthOfCalib=-1\n") << QList<int>{1, 0, 3, 5, 1, 12}
            << QByteArray("12") << QDate(2025, 3, 15);
        QTest::newRow("months 0 preset today and stay in the file")
            << QByteArray("[Appl]\nValidMonthOfCalib=0\n") << QList<int>{1, 0, 3, 5, 1, 0}
            << QByteArray("0") << QDate(2024, 3, 15);
        QTest::newRow("months 61 lie beyond the picker's limit and are not preset")
            << QByteArray("[Appl]\nValidMonthOfCalib=61\n") << QList<int>{1, 0, 3, 5, 1, 61}
            << QByteArray("61") << QDate(2000, 1, 1);
        QTest::newRow("Bluetooth time limits are raised to 1 and 2")
            << QByteArray("[Appl]\nComPort=4\nConnectViaBluetooth=1;0;1\n")
            << QList<int>{4, 1, 1, 2, 1, 12} << QByteArray() << QDate(2025, 3, 15);
        QTest::newRow("missing Bluetooth time limits read as -1 and are raised")
            << QByteArray("[Appl]\nConnectViaBluetooth=1\n") << QList<int>{1, 1, 1, 2, 1, 12}
            << QByteArray() << QDate(2025, 3, 15);
        QTest::newRow("an overflowing number stops the reading at its key")
            << QByteArray("[Appl]\nComPort=7\nConnectViaBluetooth=1;0;1\nShowInfoPswMsg=40000\n"
                          "ValidMonthOfCalib=-1\n")
            << QList<int>{7, 1, 0, 1, 0, 0} << QByteArray("-1") << QDate(2024, 3, 15);
        QTest::newRow("an overflowing port number leaves every key at 0")
            << QByteArray("[Appl]\nComPort=99999\nValidMonthOfCalib=6\n")
            << QList<int>{0, 0, 0, 0, 0, 0} << QByteArray("6") << QDate(2024, 3, 15);
    }
    void keyTable()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QList<int>, values);
        QFETCH(QByteArray, validMonthsAfter);
        QFETCH(QDate, expirationPreset);

        QTemporaryDir dir;
        setProgramPaths(dir.path());
        if (!ini.isEmpty()) {
            QFile file(IniFileName);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(ini);
        }
        ScriptedUi ui;
        ScriptedSerialControl comm;
        frmVeltra window(comm);
        window.setToday([] { return Today; });
        window.DTPicker1[1]->setDate(QDate(2000, 1, 1));
        window.Form_Load();
        window.TimerStart->stop();

        const ConnectionSettings l = window.link().settings();
        QCOMPARE((QList<int>{l.ComPortNo, l.BluetoothOn, l.BtPromptTimeout, l.BtReplyTimeout,
                             window.ShowInfoPswMsg, window.ValidMonthOfCalib}),
                 values);
        const QByteArray after = fileBytes(IniFileName);
        if (validMonthsAfter.isEmpty())
            QCOMPARE(after, ini);
        else
            QVERIFY2(after.contains("ValidMonthOfCalib=" + validMonthsAfter), after.constData());
        QCOMPARE(window.DTPicker1[0]->date(), Today);
        QCOMPARE(window.DTPicker1[0]->maximumDate(), Today);
        QCOMPARE(window.DTPicker1[1]->maximumDate(), QDate(2029, 3, 15));
        QCOMPARE(window.DTPicker1[1]->date(), expirationPreset);
        QVERIFY(ui.boxes.isEmpty());
    }

    void loadingLocksTheWindowAndArmsTheTimer()
    {
        QTemporaryDir dir;
        setProgramPaths(dir.path());
        ScriptedUi ui;
        ScriptedSerialControl comm;
        frmVeltra window(comm);
        window.Form_Load();
        // The start runs once, from the event loop, after the window could show: not yet.
        QVERIFY(window.TimerStart->isActive());
        QVERIFY(window.TimerStart->isSingleShot());
        QVERIFY(window.PictureWait->isHidden());
        QVERIFY(ui.busy);
        for (QWidget *control : std::initializer_list<QWidget *>{window.ComRead, window.ComChange})
            QVERIFY(!control->isEnabled());
        for (QMenu *menu : {window.mnuFile, window.mnuFunctions, window.mnuInf})
            QVERIFY(!menu->menuAction()->isEnabled());
        QVERIFY(window.mnuOptions->menuAction()->isEnabled());
        window.TimerStart->stop();

        window.EnableMenue(true);
        QVERIFY(!ui.busy);
        QVERIFY(window.ComRead->isEnabled());
        QVERIFY(window.mnuFile->menuAction()->isEnabled());
    }
};

QTEST_MAIN(MainWindowSettings)
#include "tst_mainwindowsettings.moc"
