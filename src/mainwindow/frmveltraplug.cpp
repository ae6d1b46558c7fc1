// The configured port's adapter unplugged and plugged in again.

#include "frmveltra.h"

#include "connector.h"
#include "devicewatch.h"

#include <QGroupBox>
#include <QPushButton>
#include <QStatusBar>

#include <utility>

void frmVeltra::watchAdapter()
{
    // While a request has the link its serial control is not the window's to ask.
    m_adapterWatch = new DeviceWatch(
        [this] {
            if (!m_owner.busy())
                m_adapterPath = m_link.Comm1.devicePath(m_link.settings().ComPortNo);
            return m_adapterPath;
        },
        this);
    connect(m_adapterWatch, &DeviceWatch::presenceChanged, this,
            &frmVeltra::adapterPresenceChanged);
    connect(&m_owner, &InstrumentOwner::idle, this, [this] {
        if (m_lockDepth == 0)
            if (const std::optional<bool> present = std::exchange(m_pendingPresence, {}))
                adapterPresenceChanged(*present);
    });
}

void frmVeltra::watchConfiguredPort()
{
    m_adapterWatch->restart();
}

void frmVeltra::adapterPresenceChanged(bool present)
{
    // A transfer in progress ends by itself when its port goes; the window acts once idle and
    // the link is its own again.
    if (m_lockDepth > 0 || m_owner.busy()) {
        m_pendingPresence = present;
        return;
    }
    if (present)
        adapterPlugged();
    else
        adapterUnplugged();
}

void frmVeltra::adapterUnplugged()
{
    m_adapterAbsent = true;
    if (m_link.Comm1.openState())
        m_link.closeComPort();
    Frame1->setEnabled(false);
    ComChange->setEnabled(false);
    const int portNo = m_link.settings().ComPortNo;
    statusBar()->showMessage(
        tr("Adapter unplugged (com port %1, %2)").arg(portNo).arg(m_link.Comm1.devicePath(portNo)));
}

void frmVeltra::adapterPlugged()
{
    m_adapterAbsent = false;
    Frame1->setEnabled(true);
    statusBar()->clearMessage();
    const ConnectionSettings configured = m_link.settings();
    {
        const MenuLock lock(*this);
        // A failed opening shows itself as the read's transfer error, as "&Read" would show it.
        Connector(m_link).open(configured.ComPortNo, configured.BluetoothOn);
    }
    ComRead_Click();
}
