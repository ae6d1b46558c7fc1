#include "eventwait.h"

#include <QCoreApplication>
#include <QTimer>

#include <climits>
#include <cmath>

int waitMs(double seconds)
{
    const double ms = std::ceil(seconds * 1000);
    if (!(ms >= 1))
        return 1;
    return ms < INT_MAX ? int(ms) : INT_MAX;
}

void sleepInEventLoop(double seconds)
{
    const int ms = waitMs(seconds);
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(ms < PreciseTimerBelowMs ? Qt::PreciseTimer : Qt::CoarseTimer);
    timer.start(ms);
    // Returns after the first event handled, the timer's included; no nested loop to start and
    // stop for every character that arrives.
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}
