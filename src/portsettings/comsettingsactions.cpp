// The port settings dialog's three actions: probe the selected port, search all ports, store the
// choice.

#include "comsettings.h"

#include "link.h"
#include "programpaths.h"
#include "settingvalue.h"
#include "uiservices.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

qint16 ComSettings::probe()
{
    return m_link.DoTransfer(QStringLiteral("V"), 0);
}

void ComSettings::ComRead_Click()
{
    const QPointer<ComSettings> self(this);
    // The link outlives the dialog: what must happen after a close goes through this reference.
    Link &link = m_link;

    EnableMenue(false);
    if (!link.Comm1.openState()) {
        const qint16 failed = ReOpenComPort();
        if (unloaded(self))
            return;
        if (failed) {
            EnableMenue(true);
            return;
        }
    }
    showBusy(QStringLiteral("Reading Veltra..."));
    PanelRead->clear();

    // A Standard probe runs with the standard time limits whatever the stored connection type;
    // the stored value comes back as soon as the probe is over, in every outcome.
    const qint16 rememberedBluetooth = link.BluetoothOn;
    if (connectionType() == 0)
        link.BluetoothOn = 0;
    const bool answered = probe() != -1;
    link.BluetoothOn = rememberedBluetooth;
    if (unloaded(self))
        return;

    ShowSelPort();
    if (answered) {
        PanelRead->setText(link.ResponseText);
        link.ParseIdentity();
    } else {
        msgBox(QStringLiteral("Veltra not found!"), MsgButtons::Ok, MsgIcon::Information);
        if (unloaded(self))
            return;
    }
    EnableMenue(true);
}

void ComSettings::ComSearch_Click()
{
    const QPointer<ComSettings> self(this);
    Link &link = m_link;

    if (Combo1->currentIndex() < 0) {
        if (Combo1->count() == 0) {
            msgBox(QStringLiteral("No com port available!"), MsgButtons::Ok, MsgIcon::Exclamation);
            return;
        }
        Combo1->setCurrentIndex(0);
        if (unloaded(self))
            return;
    }
    EnableMenue(false);
    qint16 portNo = selectedPortNo();
    const qint16 type = connectionType();
    showBusy(QStringLiteral("Search on com port %1...").arg(portNo));
    PanelRead->clear();

    // First the port that is open now, then every listed port in list order.
    bool found = probe() != -1;
    if (unloaded(self))
        return;
    for (int i = 0; !found && i < Combo1->count(); ++i) {
        portNo = qint16(Combo1->itemData(i).toInt());
        showBusy(QStringLiteral("Search on com port %1...").arg(portNo));
        if (link.Comm1.portState(portNo - 1) != 1)
            continue;
        const qint16 opened = link.OpenComPort(portNo, type);
        if (unloaded(self))
            return;
        if (opened != 0)
            continue;
        found = probe() != -1;
        if (unloaded(self))
            return;
        if (found)
            link.ParseIdentity();
    }

    if (found) {
        PanelRead->setText(link.ResponseText);
        msgBox(QStringLiteral("Veltra found on port %1 !").arg(portNo), MsgButtons::Ok,
               MsgIcon::Information);
        if (unloaded(self))
            return;
        // The port is open already; the selection only follows it.
        bFormLoading = FlagTrue;
        Combo1->setCurrentIndex(Combo1->findData(portNo));
        bFormLoading = FlagFalse;
    } else {
        msgBox(QStringLiteral("Veltra not found!"), MsgButtons::Ok, MsgIcon::Information);
        link.OpenComPort(link.ComPortNo, link.BluetoothOn);
        if (unloaded(self))
            return;
    }
    ShowSelPort();
    EnableMenue(true);
}

void ComSettings::ComOK_Click()
{
    const QPointer<ComSettings> self(this);
    Link &link = m_link;

    if (Combo1->currentIndex() < 0) {
        showInvalidSelection();
        return;
    }
    ComOK->setEnabled(false);
    if (!link.Comm1.openState()) {
        const qint16 failed = ReOpenComPort();
        if (unloaded(self))
            return;
        if (failed) {
            ComOK->setEnabled(true);
            return;
        }
    }
    ui().setBusyPointer(true);
    link.ComPortNo = selectedPortNo();
    link.BluetoothOn = connectionType();
    writeAppSetting(QStringLiteral("ComPort"), QString::number(link.ComPortNo));
    writeAppSetting(QStringLiteral("ConnectViaBluetooth"),
                    QStringLiteral("%1;%2;%3")
                        .arg(link.BluetoothOn)
                        .arg(link.BtPromptTimeout)
                        .arg(link.BtReplyTimeout));
    accept();
}
