// The port settings dialog on real pseudo-terminals: two virtual instruments entered as ports,
// one silent and one answering, found by the search and stored by OK.

#include "comsettings.h"
#include "inifile.h"
#include "link.h"
#include "programpaths.h"
#include "qtserialcontrol.h"
#include "scriptedui.h"
#include "siminstrument.h"
#include "testclock.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

QList<SystemPort> noSystemPorts()
{
    return {};
}

} // namespace

class TestComSettingsSim : public QObject
{
    Q_OBJECT
private slots:
    void searchFindsTheAnsweringInstrumentAndOkStoresIt();
};

void TestComSettingsSim::searchFindsTheAnsweringInstrumentAndOkStoresIt()
{
    QVERIFY2(!SimInstrument::simulatorPath().isEmpty(), "VELTRA_SIM names no simulator");
    QTemporaryDir folder;
    setProgramPaths(folder.path());
    ScriptedUi ui;

    SimInstrument silent;
    SimInstrument answering;
    QVERIFY2(silent.start({"--silent"}, 3, IniFileName), qPrintable(silent.errorText()));
    QVERIFY2(answering.start({"--ident", "MX70B5 V1.6"}, 7, IniFileName),
             qPrintable(answering.errorText()));
    // An entry whose device has gone stays out of the list.
    QVERIFY(IniFile::writeString(IniFileName, "Ports", "COM5", "/dev/veltra-test-gone"));

    QtSerialControl comm(&noSystemPorts, IniFileName);
    // Four times as fast: the silent port's time limits pass in a quarter of the time, and the
    // answering simulator still gives its prompt within milliseconds.
    const TestClock clock(36000, 4);
    Link link(comm, clock);
    link.setSettings({3, 0, 3, 5});
    ComSettings dialog(link);
    dialog.show();
    QTRY_COMPARE_WITH_TIMEOUT(dialog.bFormLoading, qint16(0), 5000);

    QCOMPARE(dialog.Combo1->count(), 2);
    QCOMPARE(dialog.Combo1->itemText(0), QStringLiteral("Com  3"));
    QCOMPARE(dialog.Combo1->itemText(1), QStringLiteral("Com  7"));
    const QString tooltip = dialog.Combo1->itemData(1, Qt::ToolTipRole).toString();
    QVERIFY(tooltip.contains(answering.devicePath()));
    QCOMPARE(dialog.Combo1->currentText(), QStringLiteral("Com  3"));
    QVERIFY2(comm.openState(), qPrintable(ui.texts().join("/")));

    dialog.ComSearch->click();
    QCOMPARE(ui.texts(), QStringList{"Veltra found on port 7 !"});
    QCOMPARE(dialog.Combo1->currentText(), QStringLiteral("Com  7"));
    // Found by the sweep: identified; a probe shows the reply as it came (below).
    QCOMPARE(dialog.PanelRead->text(), QStringLiteral("Veltra K V1.6"));
    QCOMPARE(link.instrument().Ident, QStringLiteral("Veltra K V1.6"));
    QCOMPARE(silent.commands(), QList<QByteArray>{});
    QCOMPARE(answering.commands(), QList<QByteArray>{"\x02V58\x03"});

    dialog.ComRead->click();
    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(dialog.PanelRead->text(), QStringLiteral("MX70B5 V1.6"));

    dialog.ComOK->click();
    QVERIFY(dialog.isHidden());
    QCOMPARE(link.settings().ComPortNo, qint16(7));
    QCOMPARE(readAppSetting("ComPort", ""), QStringLiteral("7"));
    QCOMPARE(readAppSetting("ConnectViaBluetooth", ""), QStringLiteral("0;3;5"));
    QCOMPARE(answering.commands().size(), 2);
}

QTEST_MAIN(TestComSettingsSim)
#include "tst_comsettingssim.moc"
