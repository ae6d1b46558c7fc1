// The automatic connection at start: the configured port, else a search over all ports. Each
// step that talks to the instrument is a request to the instrument's owner; the window goes on
// when its result comes, and answers the user meanwhile.

#include "frmveltra.h"

#include "blockingwaits.h"
#include "comsettings.h"
#include "connector.h"
#include "linkmessages.h"
#include "uiservices.h"

#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QTimer>

namespace {

// What the configured port said at start.
struct StartProbe
{
    bool found = false;
    // Why the port did not open, for the question's details.
    PortDiagnosis failure;
};

} // namespace

void frmVeltra::TimerStart_Timer()
{
    TimerStart->stop();
    // Held until the start has ended, across the requests it waits for.
    m_startLock.emplace(*this);
    ui().setBusyPointer(true);
    setPanelWaitText(tr("Reading Veltra!\rPlease wait..."));
    PictureWait->show();
    PictureWait->repaint();
    // No calibration of the protocol's short pauses: the link sleeps on the clock for them.

    const ConnectionSettings configured = m_link.settings();
    if (!m_link.Comm1.isPresent(configured.ComPortNo)) {
        offerSearch(m_link.Comm1.diagnose(configured.ComPortNo));
        return;
    }
    StartComPort = configured.ComPortNo;
    if (configured.BluetoothOn != 0) {
        ComSettings settings(m_link, this);
        ui().showDialog(settings);
        PictureWait->hide();
        m_startLock.reset();
        return;
    }
    m_owner.request(
        this,
        [configured](Link &link) {
            Connector connector(link);
            StartProbe probe;
            if (connector.open(configured.ComPortNo, configured.BluetoothOn) == 0)
                probe.found = connector.probe(true).has_value();
            else
                probe.failure = link.openFailure();
            return probe;
        },
        [this, configured](const StartProbe &probe) {
            if (probe.found)
                finishStart(configured.ComPortNo);
            else
                offerSearch(probe.failure);
        });
}

void frmVeltra::offerSearch(const PortDiagnosis &configuredFailure)
{
    const ConnectionSettings configured = m_link.settings();
    if (m_link.Comm1.openState())
        m_link.closeComPort();
    const QString question = tr("Veltra not found (com port %1) !\r\rSearch Veltra on com ports?")
                                 .arg(configured.ComPortNo);
    if (msgBox(question, MsgButtons::YesNo, MsgIcon::Question, m_link.deviceName(), MsgResult::No,
               configuredFailure.text())
        != MsgResult::Yes) {
        searchFailed({});
        return;
    }
    PictureWait->show();
    PictureWait->repaint();
    const QPointer<QObject> self(this);
    m_owner.request(
        this,
        [this, self, configured](Link &link) {
            const auto progress = [this, self](int portNo) {
                m_owner.report(self, [this, portNo] {
                    setPanelWaitText(tr("Search on com port %1 ...").arg(portNo));
                });
            };
            return Connector(link).search(Connector::allPorts(), configured.BluetoothOn,
                                          {progress, &BlockingWaits::stopRequested});
        },
        [this](const Connector::SearchResult &search) {
            if (search.found)
                finishStart(*search.found);
            else
                searchFailed(search);
        });
}

void frmVeltra::searchFailed(const Connector::SearchResult &search)
{
    const ConnectionSettings configured = m_link.settings();
    // A search that met only ports this account may not open explains its failure by them, the
    // configured port's reason first.
    const QString details = search.onlyDenied()
        ? search.openFailures.value(configured.ComPortNo, search.openFailures.first()).text()
        : QString();
    ShowTransferError(m_link, QStringLiteral("V"), details);
    m_owner.request(
        this,
        [configured](Link &link) {
            return Connector(link).open(configured.ComPortNo, configured.BluetoothOn);
        },
        [this](qint16) { endStart(); });
}

void frmVeltra::finishStart(int foundPortNo)
{
    setPanelWaitText(tr("Reading Veltra!\rPlease wait..."));
    PictureWait->hide();
    PictureWait->repaint();
    ComRead_Click();
    Connector(m_link).keepPort(foundPortNo);
    endStart();
}

void frmVeltra::endStart()
{
    watchConfiguredPort();
    PictureWait->hide();
    m_startLock.reset();
}
