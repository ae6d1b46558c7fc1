// The port settings dialog: start-up, the port list, enabling, and opening the selected port.

#include "comsettings.h"

#include "connector.h"
#include "devicewatch.h"
#include "settingvalue.h"
#include "uiservices.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>

namespace {

const QColor RestColor(0, 255, 0);
const QColor BusyColor(0, 255, 255);

} // namespace

ComSettings::ComSettings(Link &link, QWidget *parent) : QDialog(parent), m_link(link)
{
    buildForm();
    showBusy(Panel1->text());
    auto *watch = new DeviceWatch(
        [this] { return m_link.Comm1.devicePath(m_link.settings().ComPortNo); }, this);
    connect(watch, &DeviceWatch::devicesChanged, this, &ComSettings::followPorts);
}

QString ComSettings::portEntryText(qint16 portNo)
{
    // The second space keeps one-digit ports aligned with two-digit ones.
    const QString prefix = portNo < 10 ? QStringLiteral("Com  ") : QStringLiteral("Com ");
    return prefix + QString::number(portNo);
}

void ComSettings::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_loaded) {
        m_loaded = true;
        Form_Load();
    }
}

void ComSettings::Form_Load()
{
    bFormLoading = FlagTrue;
    bUnloaded = FlagFalse;
    ui().setBusyPointer(true);
    InitBlueTooth(m_link.settings().BluetoothOn == 0);
    TimerStart->start();
}

void ComSettings::TimerStart_Timer()
{
    const QPointer<ComSettings> self(this);
    TimerStart->stop();
    EnableMenue(false);
    const int speedIndex = m_link.settings().BluetoothOn != 0 ? 2 : 0;
    OptSpeed[speedIndex]->setChecked(true);
    OptSpeed_Click(speedIndex);
    Combo1->setEnabled(true);
    Panel1->setVisible(true);
    FillComPorts();

    const qint16 configured = m_link.settings().ComPortNo;
    for (int i = 0; i < Combo1->count(); ++i) {
        if (Combo1->itemData(i).toInt() != configured)
            continue;
        Combo1->setCurrentIndex(i);
        Combo1->repaint();
        if (!m_link.Comm1.openState()) {
            ReOpenComPort();
            if (unloaded(self))
                return;
        }
    }

    ShowSelPort();
    EnableMenue(true);
    ui().setBusyPointer(false);
    bFormLoading = FlagFalse;
}

void ComSettings::FillComPorts()
{
    setPanel1(Panel1->palette().color(QPalette::Window),
              tr("Searching available com ports \nPlease wait..."));

    Combo1->clear();
    for (const int portNo : m_link.Comm1.presentPorts())
        addPortEntry(qint16(portNo));
    // Adding to an empty list selects the first entry; the configured port is chosen afterwards.
    Combo1->setCurrentIndex(-1);
}

void ComSettings::followPorts()
{
    if (!m_loaded || bFormLoading)
        return;
    // While the dialog talks to a port the list stays; it is looked at again a moment later.
    if (!Combo1->isEnabled()) {
        QTimer::singleShot(DeviceWatch::SettleMsecs, this, &ComSettings::followPorts);
        return;
    }
    const QSignalBlocker noOpening(Combo1);
    const qint16 selected = selectedPortNo();
    Combo1->clear();
    for (const int portNo : m_link.Comm1.presentPorts())
        addPortEntry(qint16(portNo));
    Combo1->setCurrentIndex(Combo1->findData(selected));
}

void ComSettings::addPortEntry(qint16 portNo)
{
    // The list stays in port order whatever order the enumeration reports.
    int position = 0;
    while (position < Combo1->count() && Combo1->itemData(position).toInt() <= portNo)
        ++position;
    Combo1->insertItem(position, portEntryText(portNo), portNo);
    QString toolTip = m_link.Comm1.portDescription(portNo);
    const QString condition = m_link.Comm1.portCondition(portNo);
    if (!condition.isEmpty())
        toolTip += u'\n' + condition;
    Combo1->setItemData(position, toolTip, Qt::ToolTipRole);
}

void ComSettings::setPanel1(const QColor &color, const QString &caption)
{
    QPalette palette = Panel1->palette();
    palette.setColor(QPalette::Window, color);
    Panel1->setPalette(palette);
    Panel1->setText(caption);
    // The link's waits may not return to the event loop before the next caption.
    Panel1->repaint();
}

void ComSettings::showBusy(const QString &caption)
{
    setPanel1(BusyColor, caption);
}

void ComSettings::ShowSelPort()
{
    setPanel1(RestColor, tr("Please select com port!"));
}

void ComSettings::InitBlueTooth(bool bFlag)
{
    ComSearch->setVisible(bFlag);
}

void ComSettings::EnableMenue(bool bFlag)
{
    ui().setBusyPointer(!bFlag);
    ComOK->setEnabled(bFlag);
    ComRead->setEnabled(bFlag);
    OptSpeed[0]->setEnabled(bFlag);
    OptSpeed[2]->setEnabled(bFlag);
    Combo1->setEnabled(bFlag);
    ComSearch->setEnabled(bFlag);
}

qint16 ComSettings::selectedPortNo() const
{
    return qint16(Combo1->currentData().toInt());
}

qint16 ComSettings::connectionType() const
{
    return OptSpeed[2]->isChecked() ? 1 : 0;
}

void ComSettings::showInvalidSelection()
{
    msgBox(tr("Invalid selected com port.\nPlease select com port!"), MsgButtons::Ok,
           MsgIcon::Exclamation);
}

qint16 ComSettings::ReOpenComPort()
{
    const QPointer<ComSettings> self(this);
    if (Combo1->currentIndex() < 0) {
        showInvalidSelection();
        return 0;
    }
    const qint16 portNo = selectedPortNo();
    qint16 outcome = PortOpenFailed;
    if (portNo >= 1) {
        showBusy(tr("Opening com port %1...").arg(portNo));
        outcome = Connector(m_link).open(portNo, connectionType());
    }
    if (unloaded(self))
        return 0;
    if (outcome != 0) {
        // Behind "Show Details...": why, for a number never opened as much as for a failed one.
        const PortDiagnosis why =
            portNo >= 1 ? m_link.openFailure() : m_link.Comm1.diagnose(portNo);
        msgBox(tr("Cannot open com port %1 .\nCheck other running programs or select "
                  "available com port !")
                   .arg(portNo),
               MsgButtons::Ok, MsgIcon::Exclamation, ProgramTitle, MsgResult::Ok, why.text());
        if (unloaded(self))
            return -1;
    }
    ShowSelPort();
    return outcome != 0 ? -1 : 0;
}

void ComSettings::Combo1_Click()
{
    if (bFormLoading)
        return;
    const QPointer<ComSettings> self(this);
    EnableMenue(false);
    ReOpenComPort();
    if (unloaded(self))
        return;
    EnableMenue(true);
}

void ComSettings::OptSpeed_Click(int Index)
{
    if (bFormLoading) {
        nSpeedIndex = qint16(Index);
        return;
    }
    if (bOptBusy)
        return;
    bOptBusy = FlagTrue;
    const QPointer<ComSettings> self(this);
    const bool standard = Index == 0;
    InitBlueTooth(standard);
    // Back to Standard only needs the slow profile when the port was opened for Bluetooth.
    if (!standard || nSpeedIndex == 2) {
        EnableMenue(false);
        ReOpenComPort();
        if (unloaded(self))
            return;
        EnableMenue(true);
    }
    nSpeedIndex = qint16(Index);
    bOptBusy = FlagFalse;
}

void ComSettings::done(int result)
{
    bUnloaded = FlagTrue;
    // Closed before the start-up sequence ran: it must not open ports for a closed dialog.
    TimerStart->stop();
    QDialog::done(result);
}
