// The automatic connection at start: the configured port, else a search over all ports.

#include "frmveltra.h"

#include "comsettings.h"
#include "linkmessages.h"
#include "programpaths.h"
#include "uiservices.h"

#include <QFrame>
#include <QLabel>
#include <QTimer>

namespace {

constexpr qint16 LastPortNo = 255;

} // namespace

void frmVeltra::TimerStart_Timer()
{
    TimerStart->stop();
    const MenuLock lock(*this);
    ui().setBusyPointer(true);
    setPanelWaitText(QStringLiteral("Reading Veltra!\rPlease wait..."));
    PictureWait->show();
    PictureWait->repaint();
    // No calibration of the protocol's short pauses: the link sleeps on the clock for them.

    Link &l = m_link;
    bool found = false;
    qint16 result = -1;
    // Why the configured port did not open, for the question's details.
    PortDiagnosis configuredFailure;
    if (l.Comm1.portState(l.ComPortNo - 1) == 1) {
        StartComPort = l.ComPortNo;
        if (l.BluetoothOn != 0) {
            ComSettings settings(l, this);
            ui().showDialog(settings);
            PictureWait->hide();
            return;
        }
        if (l.OpenComPort(l.ComPortNo, l.BluetoothOn) == 0) {
            found = true;
            result = l.DoTransfer(QStringLiteral("V"), 1);
        } else {
            configuredFailure = l.OpenFailure;
        }
    } else {
        configuredFailure = l.Comm1.diagnose(l.ComPortNo);
    }

    if (result == -1) {
        found = false;
        if (l.Comm1.openState())
            l.closeComPort();
        const qint16 savedPortNo = l.ComPortNo;
        const QString question =
            QStringLiteral("Veltra not found (com port %1) !\r\rSearch Veltra on com ports?")
                .arg(l.ComPortNo);
        // A search that met only ports this account may not open explains its failure by them,
        // the configured port's reason first.
        QList<PortDiagnosis> denied;
        bool otherOutcome = false;
        if (msgBox(question, MsgButtons::YesNo, MsgIcon::Question, l.deviceName(), MsgResult::No,
                   configuredFailure.text())
            == MsgResult::Yes) {
            PictureWait->show();
            PictureWait->repaint();
            for (qint16 portNo = 1; portNo <= LastPortNo && !found; ++portNo) {
                l.ComPortNo = portNo;
                setPanelWaitText(QStringLiteral("Search on com port %1 ...").arg(portNo));
                if (l.Comm1.portState(portNo - 1) != 1)
                    continue;
                if (l.OpenComPort(portNo, l.BluetoothOn) != 0) {
                    if (l.OpenFailure.problem != PortProblem::NoPermission)
                        otherOutcome = true;
                    else if (portNo == savedPortNo)
                        denied.prepend(l.OpenFailure);
                    else
                        denied.append(l.OpenFailure);
                    continue;
                }
                otherOutcome = true;
                found = l.DoTransfer(QStringLiteral("V"), 0) != -1;
            }
        }
        if (!found) {
            l.ComPortNo = savedPortNo;
            const bool allDenied = !otherOutcome && !denied.isEmpty();
            ShowTransferError(l, QStringLiteral("V"),
                              allDenied ? denied.first().text() : QString());
            l.OpenComPort(l.ComPortNo, l.BluetoothOn);
        }
    }

    if (found) {
        setPanelWaitText(QStringLiteral("Reading Veltra!\rPlease wait..."));
        PictureWait->hide();
        PictureWait->repaint();
        ComRead_Click();
        if (l.ComPortNo != StartComPort)
            writeAppSetting(QStringLiteral("ComPort"), QString::number(l.ComPortNo));
    }

    PictureWait->hide();
}
