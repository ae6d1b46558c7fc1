#include "eventwait.h"

#include "blockingwaits.h"
#include "serialcontrol.h"

#include <QCoreApplication>
#include <QThread>

#include <climits>
#include <cmath>

int waitMs(double seconds)
{
    const double ms = std::ceil(seconds * 1000);
    if (!(ms >= 1))
        return 1;
    return ms < INT_MAX ? int(ms) : INT_MAX;
}

EventWait::EventWait()
{
    m_timer.setSingleShot(true);
}

void EventWait::sleep(double seconds)
{
    if (BlockingWaits::active()) {
        QThread::msleep(static_cast<unsigned long>(BlockingWaits::sliceMs(waitMs(seconds))));
        return;
    }
    if (!m_timer.isActive()) {
        const int ms = waitMs(seconds);
        m_timer.setTimerType(ms < PreciseTimerBelowMs ? Qt::PreciseTimer : Qt::CoarseTimer);
        m_timer.start(ms);
    }
    // Returns after the first event handled, the timer's included; no nested loop to start and
    // stop for every character that arrives.
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void EventWait::sleepForInput(SerialControl &control, double seconds)
{
    if (BlockingWaits::active())
        control.waitForInput(BlockingWaits::sliceMs(waitMs(seconds)));
    else
        sleep(seconds);
}
