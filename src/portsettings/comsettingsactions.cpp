// The port settings dialog's three actions: probe the selected port, search all ports, store the
// choice.

#include "comsettings.h"

#include "appsettings.h"
#include "connector.h"
#include "settingvalue.h"
#include "uiservices.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

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
    showBusy(tr("Reading Veltra..."));
    PanelRead->clear();

    std::optional<QString> identity;
    {
        // A Standard probe runs with the standard time limits whatever the stored connection
        // type.
        const Link::ScopedProfile profile(
            link, connectionType() == 0 ? qint16(0) : link.settings().BluetoothOn);
        identity = Connector(link).probe();
    }
    if (unloaded(self))
        return;

    ShowSelPort();
    if (identity) {
        // The reply as the instrument gave it; the instrument record gets the current model name.
        PanelRead->setText(*identity);
        link.ParseIdentity(*identity);
    } else {
        msgBox(tr("Veltra not found!"), MsgButtons::Ok, MsgIcon::Information);
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
            msgBox(tr("No com port available!"), MsgButtons::Ok, MsgIcon::Exclamation);
            return;
        }
        Combo1->setCurrentIndex(0);
        if (unloaded(self))
            return;
    }
    EnableMenue(false);
    qint16 portNo = selectedPortNo();
    showBusy(tr("Search on com port %1...").arg(portNo));
    PanelRead->clear();

    // First the port that is open now, then every listed port in list order.
    Connector connector(link);
    std::optional<QString> identity = connector.probe();
    if (unloaded(self))
        return;
    if (!identity) {
        QList<int> listed;
        for (int i = 0; i < Combo1->count(); ++i)
            listed.append(Combo1->itemData(i).toInt());
        const auto progress = [this](int listedNo) {
            showBusy(tr("Search on com port %1...").arg(listedNo));
        };
        const Connector::SearchResult search = connector.search(
            listed, connectionType(), {progress, [self] { return unloaded(self); }});
        if (search.cancelled)
            return;
        if (search.found) {
            portNo = qint16(*search.found);
            // Found by the sweep: shown as identified, with an older model's current name.
            identity = link.ParseIdentity(*search.identity).Ident;
        }
    }

    if (identity) {
        PanelRead->setText(*identity);
        msgBox(tr("Veltra found on port %1 !").arg(portNo), MsgButtons::Ok, MsgIcon::Information);
        if (unloaded(self))
            return;
        // The port is open already; the selection only follows it.
        bFormLoading = FlagTrue;
        Combo1->setCurrentIndex(Combo1->findData(portNo));
        bFormLoading = FlagFalse;
    } else {
        msgBox(tr("Veltra not found!"), MsgButtons::Ok, MsgIcon::Information);
        const ConnectionSettings configured = link.settings();
        connector.open(configured.ComPortNo, configured.BluetoothOn);
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
    ConnectionSettings settings = link.settings();
    settings.ComPortNo = selectedPortNo();
    settings.BluetoothOn = connectionType();
    link.setSettings(settings);
    writeConnectionSettings(settings);
    accept();
}
