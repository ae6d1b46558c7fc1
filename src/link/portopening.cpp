#include "blockingwaits.h"
#include "eventwait.h"
#include "link.h"

#include <QCoreApplication>

namespace {

const QString FastLineProfile = QStringLiteral("115200,n,8,1");
const QString StandardLineProfile = QStringLiteral("9600,e,7,2");

} // namespace

qint16 Link::OpenComPort(qint16 portNo, qint16 fastProfile)
{
    if (Comm1.openState()) {
        Comm1.setOpenState(false);
        WaitSeconds(0.1);
    }
    Comm1.clearError();
    OpenFailure = {};
    if (!Comm1.isPresent(portNo))
        return openFailed(portNo);
    Comm1.setSettings(fastProfile != 0 ? FastLineProfile : StandardLineProfile);
    Comm1.setCommPort(portNo);
    Comm1.setOpenState(true);
    WaitSeconds(0.05);

    const auto isOpen = [this] { return !Comm1.hasError() && Comm1.openState(); };
    if (isOpen()) {
        // The port's first errors come as events; on the owner's thread its serial control
        // reports them as they happen.
        if (!BlockingWaits::active())
            QCoreApplication::processEvents();
        if (isOpen())
            return 0;
    }
    // A port that failed must not stay half open behind a failure result.
    closeComPort();
    return openFailed(portNo);
}

qint16 Link::openFailed(qint16 portNo)
{
    OpenFailure = Comm1.diagnose(portNo);
    qCDebug(lcLink).noquote() << "opening COM" << portNo << "failed:" << OpenFailure.text();
    return PortOpenFailed;
}

void Link::closeComPort()
{
    if (Comm1.openState())
        Comm1.setOpenState(false);
}

void Link::SetComSettings()
{
    Comm1.setSettings(BluetoothOn != 0 ? FastLineProfile : StandardLineProfile);
}

void Link::WaitSeconds(double seconds)
{
    const double start = m_clock.secondsSinceMidnight();
    double deadline = start + seconds;
    EventWait wait;
    for (;;) {
        const double now = m_clock.secondsSinceMidnight();
        // The clock has wrapped past midnight since the start: move the deadline into the new
        // day so the wait ends at the same moment of real time.
        if (now + 1 < start && deadline > start)
            deadline -= SecondsPerDay;
        if (!(float(now) < float(deadline)) || BlockingWaits::stopRequested())
            return;
        wait.sleep(m_clock.realSeconds(deadline - now));
    }
}
