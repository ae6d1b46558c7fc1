// The automatic connection at start: the configured port, else a search over all ports.

#include "frmveltra.h"

#include "comsettings.h"
#include "connector.h"
#include "linkmessages.h"
#include "uiservices.h"

#include <QFrame>
#include <QLabel>
#include <QTimer>

void frmVeltra::TimerStart_Timer()
{
    TimerStart->stop();
    const MenuLock lock(*this);
    ui().setBusyPointer(true);
    setPanelWaitText(tr("Reading Veltra!\rPlease wait..."));
    PictureWait->show();
    PictureWait->repaint();
    // No calibration of the protocol's short pauses: the link sleeps on the clock for them.

    Link &l = m_link;
    Connector connector(l);
    const ConnectionSettings configured = l.settings();
    std::optional<int> found;
    // Why the configured port did not open, for the question's details.
    PortDiagnosis configuredFailure;
    if (l.Comm1.isPresent(configured.ComPortNo)) {
        StartComPort = configured.ComPortNo;
        if (configured.BluetoothOn != 0) {
            ComSettings settings(l, this);
            ui().showDialog(settings);
            PictureWait->hide();
            return;
        }
        if (connector.open(configured.ComPortNo, configured.BluetoothOn) == 0) {
            if (connector.probe(true))
                found = configured.ComPortNo;
        } else {
            configuredFailure = l.openFailure();
        }
    } else {
        configuredFailure = l.Comm1.diagnose(configured.ComPortNo);
    }

    if (!found) {
        if (l.Comm1.openState())
            l.closeComPort();
        const QString question =
            tr("Veltra not found (com port %1) !\r\rSearch Veltra on com ports?")
                .arg(configured.ComPortNo);
        Connector::SearchResult search;
        if (msgBox(question, MsgButtons::YesNo, MsgIcon::Question, l.deviceName(), MsgResult::No,
                   configuredFailure.text())
            == MsgResult::Yes) {
            PictureWait->show();
            PictureWait->repaint();
            const auto progress = [this](int portNo) {
                setPanelWaitText(tr("Search on com port %1 ...").arg(portNo));
            };
            search =
                connector.search(Connector::allPorts(), configured.BluetoothOn, {progress, {}});
            found = search.found;
        }
        if (!found) {
            // A search that met only ports this account may not open explains its failure by
            // them, the configured port's reason first.
            const QString details = search.onlyDenied()
                ? search.openFailures.value(configured.ComPortNo, search.openFailures.first())
                      .text()
                : QString();
            ShowTransferError(l, QStringLiteral("V"), details);
            connector.open(configured.ComPortNo, configured.BluetoothOn);
        }
    }

    if (found) {
        setPanelWaitText(tr("Reading Veltra!\rPlease wait..."));
        PictureWait->hide();
        PictureWait->repaint();
        ComRead_Click();
        connector.keepPort(*found);
    }
    watchConfiguredPort();

    PictureWait->hide();
}
