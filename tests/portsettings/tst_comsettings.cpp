// The port settings dialog against a bank of fake ports: the list, the start-up selection, the
// connection type, probing, searching, storing, and closing the dialog while a handler waits.

#include "comsettings.h"
#include "link.h"
#include "modaldriver.h"
#include "programpaths.h"
#include "scriptedportbank.h"
#include "scriptedui.h"
#include "testclock.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

using Kind = ScriptedPortBank::Kind;

namespace {

// A port of the bank: its number, how it behaves and what it answers.
struct PortSpec
{
    int portNo = 0;
    Kind kind = Kind::Silent;
    QByteArray reply;
};
using Ports = QList<PortSpec>;
// Port number to how often something happened to it.
using Counts = QMap<int, int>;

const QColor Green(0, 255, 0);
const QString NotFound = QStringLiteral("Veltra not found!");
const QString InvalidPort = QStringLiteral("Invalid selected com port.\nPlease select com port!");
const PortDiagnosis BusyPort5{PortProblem::Busy,
                              {"Com port 5 (/dev/ttyUSB0) is in use by minicom (process 4321): "
                               "close that program or choose another port.",
                               "Process 4321 has the device open."}};
const QString AbsentPort0 =
    QStringLiteral("Com port 0 names no device: choose a port that is present.");

QString cannotOpen(int portNo)
{
    return QStringLiteral("Cannot open com port %1 .\nCheck other running programs or select "
                          "available com port !")
        .arg(portNo);
}

// One program run: the ports, the link on them, the recorded boxes and a fresh program folder.
struct Fixture
{
    ScriptedPortBank bank;
    // Four times as fast: a silent port's time limits pass in a quarter of the time.
    const TestClock clock{36000, 4};
    Link link{bank, clock};
    ScriptedUi ui;
    QTemporaryDir folder;

    Fixture() { setProgramPaths(folder.path()); }

    // The connection settings the program would have read: the port and the connection type.
    void configure(int portNo, int bluetoothOn = 0)
    {
        link.setSettings({qint16(portNo), qint16(bluetoothOn), 3, 5});
    }

    void addPorts(const Ports &ports)
    {
        for (const PortSpec &port : ports)
            bank.add(port.portNo, port.kind, port.reply);
    }

    // Shows the dialog and waits for its start-up sequence to end.
    std::unique_ptr<ComSettings> open()
    {
        auto dialog = std::make_unique<ComSettings>(link);
        dialog->show();
        if (!QTest::qWaitFor([&] { return dialog->bFormLoading == 0; }, 5000))
            qWarning("the start-up sequence did not end");
        return dialog;
    }
};

QStringList entryTexts(const QComboBox *combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts.append(combo->itemText(i));
    return texts;
}

QList<int> entryPorts(const QComboBox *combo)
{
    QList<int> ports;
    for (int i = 0; i < combo->count(); ++i)
        ports.append(combo->itemData(i).toInt());
    return ports;
}

bool controlsEnabled(const ComSettings &dialog)
{
    return dialog.ComOK->isEnabled() && dialog.ComRead->isEnabled() && dialog.ComSearch->isEnabled()
        && dialog.Combo1->isEnabled() && dialog.OptSpeed[0]->isEnabled()
        && dialog.OptSpeed[2]->isEnabled();
}

QColor panelColor(const ComSettings &dialog)
{
    return dialog.Panel1->palette().color(QPalette::Window);
}

void selectPort(ComSettings &dialog, int portNo)
{
    dialog.Combo1->setCurrentIndex(dialog.Combo1->findData(portNo));
}

// Port 3 configured and open, 5 in use elsewhere, 8 free, and an entry without a number.
void addEntryPorts(Fixture &fixture)
{
    fixture.bank.add(3, Kind::Silent);
    fixture.bank.add(5, Kind::Unopenable);
    fixture.bank.add(8, Kind::Silent);
    fixture.bank.listed = QList<int>{3, 5, 8, 0};
    fixture.bank.diagnoses[5] = BusyPort5;
    fixture.bank.diagnoses[0] = {PortProblem::Absent, {AbsentPort0}};
    fixture.bank.conditions[5] = QStringLiteral("Busy: in use by minicom (process 4321).");
    fixture.configure(3);
}

} // namespace

Q_DECLARE_METATYPE(PortSpec)
Q_DECLARE_METATYPE(MsgIcon)

class TestComSettings : public QObject
{
    Q_OBJECT
private slots:
    void portList_data();
    void portList();
    void startSelection_data();
    void startSelection();
    void connectionTypeSwitches();
    void secondConnectionTypeClickDuringReopenIsDropped();
    void entryListTellsWhyAPortWillNotOpen();
    void choosingAnEntry_data();
    void choosingAnEntry();
    void probe_data();
    void probe();
    void search_data();
    void search();
    void okStores_data();
    void okStores();
    void okRefuses_data();
    void okRefuses();
    void closingBeforeStartUpOpensNothing();
    void closingWhileProbeWaits_data();
    void closingWhileProbeWaits();
    void closingModalDialogWhileProbeWaits();
};

void TestComSettings::portList_data()
{
    QTest::addColumn<QList<int>>("listed");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<int>>("ports");

    QTest::newRow("one-digit ports get two spaces, two-digit ports one")
        << QList<int>{3, 12} << QStringList{"Com  3", "Com 12"} << QList<int>{3, 12};
    QTest::newRow("the list keeps port order whatever the enumeration order")
        << QList<int>{12, 3, 1, 255} << QStringList{"Com  1", "Com  3", "Com 12", "Com 255"}
        << QList<int>{1, 3, 12, 255};
    QTest::newRow("port 0 gets an entry of its own")
        << QList<int>{0, 4} << QStringList{"Com  0", "Com  4"} << QList<int>{0, 4};
    QTest::newRow("no ports give an empty list") << QList<int>{} << QStringList{} << QList<int>{};
}

void TestComSettings::portList()
{
    QFETCH(QList<int>, listed);
    QFETCH(QStringList, texts);
    QFETCH(QList<int>, ports);

    Fixture fixture;
    for (int portNo : ports)
        fixture.bank.add(portNo, Kind::Silent);
    fixture.bank.listed = listed;
    fixture.configure(99);
    const auto dialog = fixture.open();

    QCOMPARE(entryTexts(dialog->Combo1), texts);
    QCOMPARE(entryPorts(dialog->Combo1), ports);
    QCOMPARE(dialog->Combo1->currentIndex(), -1);
    if (ports.contains(3)) {
        QCOMPARE(dialog->Combo1->itemData(dialog->Combo1->findData(3), Qt::ToolTipRole).toString(),
                 QStringLiteral("/dev/fake3 test adapter"));
    }
    QCOMPARE(dialog->Panel1->text(), QStringLiteral("Please select com port!"));
    QCOMPARE(panelColor(*dialog), Green);
    QVERIFY(fixture.ui.boxes.isEmpty());
}

void TestComSettings::startSelection_data()
{
    QTest::addColumn<int>("configured");
    QTest::addColumn<int>("openBefore");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("openAfter");
    QTest::addColumn<int>("openingsOfConfigured");

    QTest::newRow("configured port present and no port open: selected and opened")
        << 5 << 0 << "Com  5" << 5 << 1;
    QTest::newRow("configured port present and another port open: selected, the open one kept")
        << 5 << 12 << "Com  5" << 12 << 0;
    QTest::newRow("configured port present and open already: selected, not reopened")
        << 5 << 5 << "Com  5" << 5 << 1;
    QTest::newRow("configured port absent: no selection") << 7 << 0 << "" << 0 << 0;
}

void TestComSettings::startSelection()
{
    QFETCH(int, configured);
    QFETCH(int, openBefore);
    QFETCH(QString, selected);
    QFETCH(int, openAfter);
    QFETCH(int, openingsOfConfigured);

    Fixture fixture;
    for (int portNo : {3, 5, 12})
        fixture.bank.add(portNo, Kind::Silent);
    if (openBefore != 0) {
        fixture.bank.setCommPort(openBefore);
        fixture.bank.setOpenState(true);
    }
    fixture.configure(qint16(configured));
    const auto dialog = fixture.open();

    QCOMPARE(dialog->Combo1->currentText(), selected);
    QCOMPARE(fixture.bank.openPort(), openAfter);
    QCOMPARE(fixture.bank.ports.value(configured).openings, openingsOfConfigured);
    QCOMPARE(dialog->Panel1->text(), QStringLiteral("Please select com port!"));
    QCOMPARE(panelColor(*dialog), Green);
    QVERIFY(controlsEnabled(*dialog));
    QVERIFY(!fixture.ui.busy);
    QVERIFY(fixture.ui.boxes.isEmpty());
}

void TestComSettings::connectionTypeSwitches()
{
    Fixture fixture;
    ScriptedPortBank::Port &port = fixture.bank.add(3, Kind::Silent);
    fixture.configure(3, 1);
    ComSettings dialog(fixture.link);
    dialog.show();
    // Hidden from the first moment, before the start-up sequence has run.
    QVERIFY(dialog.ComSearch->isHidden());
    QCOMPARE(port.openings, 0);
    QTRY_COMPARE(dialog.bFormLoading, qint16(0));

    QVERIFY(dialog.OptSpeed[2]->isChecked());
    QVERIFY(dialog.ComSearch->isHidden());
    QCOMPARE(port.openings, 1);
    QCOMPARE(port.openedWith, QStringLiteral("115200,n,8,1"));

    dialog.OptSpeed[0]->click();
    QVERIFY(!dialog.ComSearch->isHidden());
    QCOMPARE(port.openings, 2);
    QCOMPARE(port.openedWith, QStringLiteral("9600,e,7,2"));

    dialog.OptSpeed[2]->click();
    QVERIFY(dialog.ComSearch->isHidden());
    QCOMPARE(port.openings, 3);
    QCOMPARE(port.openedWith, QStringLiteral("115200,n,8,1"));

    dialog.OptSpeed[0]->click();
    QCOMPARE(port.openings, 4);
    dialog.OptSpeed[0]->click();
    QCOMPARE(port.openings, 4);
    QVERIFY(!dialog.ComSearch->isHidden());
    QVERIFY(controlsEnabled(dialog));

    dialog.close();
    QCOMPARE(fixture.link.settings().BluetoothOn, 1);
    QCOMPARE(fixture.link.settings().ComPortNo, 3);
    QVERIFY(!QFile::exists(IniFileName));
}

void TestComSettings::secondConnectionTypeClickDuringReopenIsDropped()
{
    Fixture fixture;
    ScriptedPortBank::Port &port = fixture.bank.add(3, Kind::Silent);
    fixture.configure(3, 1);
    const auto dialog = fixture.open();
    QCOMPARE(port.openings, 1);

    // Reopening waits after closing the port; a click that arrives then must not start another.
    QTimer::singleShot(10, dialog.get(), [&] { dialog->OptSpeed_Click(2); });
    dialog->OptSpeed[0]->click();
    QCOMPARE(port.openings, 2);
    QCOMPARE(port.openedWith, QStringLiteral("9600,e,7,2"));
    QCOMPARE(dialog->nSpeedIndex, 0);
    QVERIFY(!dialog->bOptBusy);
    QVERIFY(!dialog->ComSearch->isHidden());
}

void TestComSettings::entryListTellsWhyAPortWillNotOpen()
{
    Fixture fixture;
    addEntryPorts(fixture);
    const auto dialog = fixture.open();

    // The list tells without opening anything.
    QCOMPARE(fixture.bank.ports[5].openings, 0);
    const auto toolTip = [&](int portNo) {
        return dialog->Combo1->itemData(dialog->Combo1->findData(portNo), Qt::ToolTipRole)
            .toString();
    };
    QCOMPARE(toolTip(5),
             QStringLiteral("/dev/fake5 test adapter\nBusy: in use by minicom (process 4321)."));
    QCOMPARE(toolTip(3), QStringLiteral("/dev/fake3 test adapter"));
}

void TestComSettings::choosingAnEntry_data()
{
    QTest::addColumn<QList<int>>("chosen");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QStringList>("details");
    QTest::addColumn<int>("openAfter");

    // The box keeps its words; the reason waits behind "Show Details...".
    QTest::newRow("a port in use closes the open port and says why")
        << QList<int>{5} << QStringList{cannotOpen(5)} << QStringList{BusyPort5.text()} << 0;
    QTest::newRow("an entry without a number is never opened and says why")
        << QList<int>{0} << QStringList{cannotOpen(0)} << QStringList{AbsentPort0} << 3;
    QTest::newRow("each entry that will not open has its own box")
        << QList<int>{5, 0} << QStringList{cannotOpen(5), cannotOpen(0)}
        << QStringList{BusyPort5.text(), AbsentPort0} << 0;
    QTest::newRow("a free port opens with the standard settings after one that would not")
        << QList<int>{5, 8} << QStringList{cannotOpen(5)} << QStringList{BusyPort5.text()} << 8;
}

void TestComSettings::choosingAnEntry()
{
    QFETCH(QList<int>, chosen);
    QFETCH(QStringList, boxes);
    QFETCH(QStringList, details);
    QFETCH(int, openAfter);

    Fixture fixture;
    addEntryPorts(fixture);
    const auto dialog = fixture.open();
    QCOMPARE(fixture.bank.openPort(), 3);

    QList<bool> lockedDuringBox;
    fixture.ui.onBox = [&](const MessageRequest &) {
        lockedDuringBox.append(!dialog->ComOK->isEnabled() && !dialog->Combo1->isEnabled()
                               && fixture.ui.busy);
    };
    for (int portNo : chosen)
        selectPort(*dialog, portNo);

    QCOMPARE(fixture.ui.texts(), boxes);
    QCOMPARE(lockedDuringBox, QList<bool>(boxes.size(), true));
    for (qsizetype i = 0; i < boxes.size(); ++i) {
        QCOMPARE(fixture.ui.boxes[i].icon, MsgIcon::Exclamation);
        QCOMPARE(fixture.ui.boxes[i].title, QStringLiteral("VeltraSetCalibDate"));
        QCOMPARE(fixture.ui.boxes[i].detailedText, details[i]);
    }
    QCOMPARE(dialog->Combo1->currentText(), QStringLiteral("Com %1").arg(chosen.last(), 2));
    QCOMPARE(fixture.bank.openPort(), openAfter);
    if (openAfter == 8)
        QCOMPARE(fixture.bank.ports[8].openedWith, QStringLiteral("9600,e,7,2"));
    QVERIFY(controlsEnabled(*dialog));
    QVERIFY(!fixture.ui.busy);
    QCOMPARE(panelColor(*dialog), Green);
}

void TestComSettings::probe_data()
{
    QTest::addColumn<int>("storedBluetooth");
    QTest::addColumn<int>("chosenType");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("panelRead");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<int>("bluetoothDuringProbe");

    QTest::newRow("an answering port shows its reply as delivered")
        << 0 << 0 << int(Kind::Answering) << "MX70B5 V1.6" << QStringList{} << 0;
    QTest::newRow("a silent port reports that no instrument was found")
        << 0 << 0 << int(Kind::Silent) << "" << QStringList{NotFound} << 0;
    QTest::newRow("Standard while the stored type is Bluetooth probes with Bluetooth off")
        << 1 << 0 << int(Kind::Answering) << "MX70B5 V1.6" << QStringList{} << 0;
    QTest::newRow("Bluetooth while the stored type is Standard keeps Bluetooth off")
        << 0 << 2 << int(Kind::Answering) << "MX70B5 V1.6" << QStringList{} << 0;
    QTest::newRow("Bluetooth chosen and stored probes with Bluetooth on")
        << 1 << 2 << int(Kind::Answering) << "MX70B5 V1.6" << QStringList{} << 1;
}

void TestComSettings::probe()
{
    QFETCH(int, storedBluetooth);
    QFETCH(int, chosenType);
    QFETCH(int, kind);
    QFETCH(QString, panelRead);
    QFETCH(QStringList, boxes);
    QFETCH(int, bluetoothDuringProbe);

    Fixture fixture;
    fixture.bank.add(3, Kind(kind), "MX70B5 V1.6");
    fixture.configure(3, qint16(storedBluetooth));
    const auto dialog = fixture.open();
    if (!dialog->OptSpeed[chosenType]->isChecked())
        dialog->OptSpeed[chosenType]->click();

    int bluetoothSeen = -99;
    fixture.bank.onSend = [&](int, const QByteArray &frame) {
        if (frame == "@")
            bluetoothSeen = fixture.link.settings().BluetoothOn;
    };
    dialog->ComRead->click();

    QCOMPARE(bluetoothSeen, bluetoothDuringProbe);
    QCOMPARE(fixture.link.settings().BluetoothOn, storedBluetooth);
    QCOMPARE(dialog->PanelRead->text(), panelRead);
    QCOMPARE(fixture.ui.texts(), boxes);
    for (const MessageRequest &box : fixture.ui.boxes)
        QCOMPARE(box.icon, MsgIcon::Information);
    if (!panelRead.isEmpty())
        QCOMPARE(fixture.link.instrument().Ident, QStringLiteral("Veltra K V1.6"));
    QCOMPARE(fixture.bank.openPort(), 3);
    QCOMPARE(dialog->Panel1->text(), QStringLiteral("Please select com port!"));
    QCOMPARE(panelColor(*dialog), Green);
    QVERIFY(controlsEnabled(*dialog));
}

void TestComSettings::search_data()
{
    QTest::addColumn<Ports>("ports");
    QTest::addColumn<int>("configured");
    QTest::addColumn<int>("chosenBefore");
    QTest::addColumn<QString>("selectedBefore");
    QTest::addColumn<int>("openedAtStart");
    QTest::addColumn<QString>("box");
    QTest::addColumn<MsgIcon>("icon");
    QTest::addColumn<QString>("selectedAfter");
    QTest::addColumn<int>("openAfter");
    QTest::addColumn<QString>("panelRead");
    QTest::addColumn<QString>("ident");
    QTest::addColumn<Counts>("openings");
    QTest::addColumn<Counts>("stateQueries");
    QTest::addColumn<QStringList>("captionsSeen");

    QTest::newRow("an empty list says that no port is available")
        << Ports{} << 1 << 0 << "" << 0 << "No com port available!" << MsgIcon::Exclamation << ""
        << 0 << ""
        << "" << Counts{} << Counts{} << QStringList{};
    // The first try, on the open port or else the first entry, shows the reply as delivered and
    // does not interpret it.
    QTest::newRow("without a selection the search starts at the first entry")
        << Ports{{3, Kind::Answering, "Veltra 2 V2.1"}, {5, Kind::Answering, "Veltra 3 V2.1"}} << 9
        << 0 << "" << 0 << "Veltra found on port 3 !" << MsgIcon::Information << "Com  3" << 3
        << "Veltra 2 V2.1"
        << "" << Counts{{3, 1}, {5, 0}} << Counts{} << QStringList{};
    QTest::newRow("an answer on the open port ends the search at once")
        << Ports{{3, Kind::Answering, "Veltra 2 V2.1"}, {5, Kind::Answering, "MX70B5 V1.6"}} << 5
        << 0 << "Com  5" << 1 << "Veltra found on port 5 !" << MsgIcon::Information << "Com  5" << 5
        << "MX70B5 V1.6"
        << "" << Counts{{5, 1}} << Counts{{3, 0}} << QStringList{};
    // Found by the sweep: the panel shows the reply as identified, an older model under its
    // current name, as the instrument record has it.
    QTest::newRow("the sweep passes a silent and a vanished port and finds the third entry")
        << Ports{{2, Kind::Silent, ""},
                 {4, Kind::Gone, ""},
                 {6, Kind::Answering, "MX70B5 Rev B V1.2.1"},
                 {8, Kind::Answering, "Veltra 3 V2.1"}}
        << 2 << 0 << "Com  2" << 1 << "Veltra found on port 6 !" << MsgIcon::Information << "Com  6"
        << 6 << "Veltra K Rev B V1.2.1"
        << "Veltra K Rev B V1.2.1" << Counts{{2, 2}, {4, 0}, {6, 1}} << Counts{{4, 1}, {8, 0}}
        << QStringList{"Search on com port 2...", "Search on com port 6..."};
    QTest::newRow("finding nothing reopens the configured port and keeps the selection")
        << Ports{{2, Kind::Silent, ""}, {5, Kind::Unopenable, ""}} << 2 << 5 << "Com  5" << 1
        << NotFound << MsgIcon::Information << "Com  5" << 2 << ""
        << "" << Counts{{2, 3}} << Counts{} << QStringList{};
}

void TestComSettings::search()
{
    QFETCH(Ports, ports);
    QFETCH(int, configured);
    QFETCH(int, chosenBefore);
    QFETCH(QString, selectedBefore);
    QFETCH(int, openedAtStart);
    QFETCH(QString, box);
    QFETCH(MsgIcon, icon);
    QFETCH(QString, selectedAfter);
    QFETCH(int, openAfter);
    QFETCH(QString, panelRead);
    QFETCH(QString, ident);
    QFETCH(Counts, openings);
    QFETCH(Counts, stateQueries);
    QFETCH(QStringList, captionsSeen);

    Fixture fixture;
    fixture.addPorts(ports);
    fixture.configure(qint16(configured));
    const auto dialog = fixture.open();
    if (chosenBefore != 0) {
        selectPort(*dialog, chosenBefore);
        fixture.ui.boxes.clear();
    }
    QCOMPARE(dialog->Combo1->currentText(), selectedBefore);
    QCOMPARE(fixture.bank.ports.value(configured).openings, openedAtStart);

    QStringList captions;
    fixture.bank.onSend = [&](int, const QByteArray &frame) {
        if (frame == "@")
            captions.append(dialog->Panel1->text());
    };
    dialog->ComSearch->click();

    QCOMPARE(fixture.ui.texts(), QStringList{box});
    QCOMPARE(fixture.ui.boxes.first().icon, icon);
    QCOMPARE(dialog->Combo1->currentText(), selectedAfter);
    QCOMPARE(fixture.bank.openPort(), openAfter);
    QCOMPARE(dialog->PanelRead->text(), panelRead);
    QCOMPARE(fixture.link.instrument().Ident, ident);
    for (auto it = openings.cbegin(); it != openings.cend(); ++it)
        QCOMPARE(fixture.bank.ports[it.key()].openings, it.value());
    for (auto it = stateQueries.cbegin(); it != stateQueries.cend(); ++it)
        QCOMPARE(fixture.bank.ports[it.key()].stateQueries, it.value());
    if (!captionsSeen.isEmpty())
        QCOMPARE(captions.first(), captionsSeen.first());
    for (const QString &caption : captionsSeen)
        QVERIFY2(captions.contains(caption), qPrintable(caption));
    // A search changes no setting.
    QCOMPARE(fixture.link.settings().ComPortNo, configured);
    QVERIFY(!QFile::exists(IniFileName));
    QCOMPARE(panelColor(*dialog), Green);
    QVERIFY(controlsEnabled(*dialog));
}

void TestComSettings::okStores_data()
{
    QTest::addColumn<int>("storedBluetooth");
    QTest::addColumn<int>("chosenType");
    QTest::addColumn<int>("chosenPort");
    QTest::addColumn<QString>("comPortKey");
    QTest::addColumn<QString>("bluetoothKey");

    QTest::newRow("Bluetooth chosen on the configured port") << 0 << 2 << 3 << "3"
                                                             << "1;3;5";
    QTest::newRow("Standard chosen on another port") << 1 << 0 << 12 << "12"
                                                     << "0;3;5";
}

void TestComSettings::okStores()
{
    QFETCH(int, storedBluetooth);
    QFETCH(int, chosenType);
    QFETCH(int, chosenPort);
    QFETCH(QString, comPortKey);
    QFETCH(QString, bluetoothKey);

    Fixture fixture;
    fixture.bank.add(3, Kind::Silent);
    fixture.bank.add(12, Kind::Silent);
    fixture.configure(3, qint16(storedBluetooth));
    const auto dialog = fixture.open();
    selectPort(*dialog, chosenPort);
    if (!dialog->OptSpeed[chosenType]->isChecked())
        dialog->OptSpeed[chosenType]->click();
    const int openings = fixture.bank.totalOpenings();

    dialog->ComOK->click();
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QVERIFY(dialog->isHidden());
    QVERIFY(dialog->bUnloaded);
    QCOMPARE(fixture.link.settings().ComPortNo, chosenPort);
    QCOMPARE(fixture.link.settings().BluetoothOn, chosenType == 2 ? 1 : 0);
    QCOMPARE(readAppSetting("ComPort", "none"), comPortKey);
    QCOMPARE(readAppSetting("ConnectViaBluetooth", "none"), bluetoothKey);
    QCOMPARE(fixture.bank.totalOpenings(), openings);
    QVERIFY(fixture.ui.boxes.isEmpty());
}

void TestComSettings::okRefuses_data()
{
    QTest::addColumn<Ports>("ports");
    QTest::addColumn<int>("configured");
    QTest::addColumn<int>("chosenPort");
    QTest::addColumn<QString>("box");

    QTest::newRow("an empty list asks for a port") << Ports{} << 1 << 0 << InvalidPort;
    QTest::newRow("a chosen port that cannot open says so")
        << Ports{{3, Kind::Silent, ""}, {5, Kind::Unopenable, ""}} << 3 << 5 << cannotOpen(5);
}

void TestComSettings::okRefuses()
{
    QFETCH(Ports, ports);
    QFETCH(int, configured);
    QFETCH(int, chosenPort);
    QFETCH(QString, box);

    Fixture fixture;
    fixture.addPorts(ports);
    fixture.configure(qint16(configured));
    const auto dialog = fixture.open();
    if (chosenPort != 0) {
        selectPort(*dialog, chosenPort);
        fixture.ui.boxes.clear();
    }

    dialog->ComOK->click();
    QCOMPARE(fixture.ui.texts(), QStringList{box});
    QCOMPARE(fixture.ui.boxes.first().icon, MsgIcon::Exclamation);
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->bUnloaded);
    QVERIFY(dialog->ComOK->isEnabled());
    QCOMPARE(fixture.link.settings().ComPortNo, configured);
    QVERIFY(!QFile::exists(IniFileName));
}

void TestComSettings::closingBeforeStartUpOpensNothing()
{
    Fixture fixture;
    fixture.bank.add(3, Kind::Silent);
    fixture.configure(3);
    ComSettings dialog(fixture.link);
    dialog.show();
    QVERIFY(dialog.TimerStart->isActive());

    dialog.close();
    QVERIFY(!dialog.TimerStart->isActive());
    QCOMPARE(fixture.bank.totalOpenings(), 0);
}

void TestComSettings::closingWhileProbeWaits_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("closed with the close box") << "close";
    QTest::newRow("closed with Escape") << "escape";
    QTest::newRow("destroyed") << "delete";
}

void TestComSettings::closingWhileProbeWaits()
{
    QFETCH(QString, how);

    Fixture fixture;
    fixture.bank.add(3, Kind::Answering, "Veltra 2 V2.1", 300);
    fixture.configure(3, 1);
    QPointer<ComSettings> dialog = fixture.open().release();
    dialog->OptSpeed[0]->click();

    fixture.bank.onSend = [&](int, const QByteArray &frame) {
        if (frame != "\n")
            return;
        QTimer::singleShot(50, [&] {
            if (how == "close")
                dialog->close();
            else if (how == "escape")
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                delete dialog;
        });
    };
    dialog->ComRead_Click();

    QCOMPARE(fixture.link.settings().BluetoothOn, 1);
    QVERIFY(fixture.ui.boxes.isEmpty());
    if (how == "delete") {
        QVERIFY(dialog.isNull());
        return;
    }
    QVERIFY(dialog->isHidden());
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    // The handler ended without touching the dialog: no reply shown, controls still locked.
    QCOMPARE(dialog->PanelRead->text(), QString());
    QVERIFY(!dialog->ComOK->isEnabled());
    QCOMPARE(fixture.link.settings().ComPortNo, 3);
    delete dialog;
}

void TestComSettings::closingModalDialogWhileProbeWaits()
{
    Fixture fixture;
    fixture.bank.add(3, Kind::Answering, "Veltra 2 V2.1", 300);
    fixture.configure(3, 1);
    bool probeEnded = false;
    int result = -1;
    {
        ComSettings dialog(fixture.link);
        fixture.bank.onSend = [&](int, const QByteArray &frame) {
            if (frame == "\n")
                QTimer::singleShot(50, &dialog, &QDialog::close);
        };
        ModalDriver driver([&](QDialog &) {
            QTRY_VERIFY(!dialog.bFormLoading);
            dialog.OptSpeed[0]->click();
            dialog.ComRead->click();
            probeEnded = true;
            // Closed during the probe, not by the driver afterwards.
            QVERIFY(dialog.isHidden());
        });
        QTimer::singleShot(10000, &dialog, [&] { dialog.done(99); });
        result = dialog.exec();
        // exec() returns only once the handler that waited inside it has returned.
        QVERIFY(probeEnded);
    }
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(fixture.link.settings().BluetoothOn, 1);
    QVERIFY(fixture.ui.boxes.isEmpty());
}

QTEST_MAIN(TestComSettings)
#include "tst_comsettings.moc"
