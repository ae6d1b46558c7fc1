#include "eventwait.h"

#include "serialcontrol.h"

#include <QEventLoop>
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

void sleepInEventLoop(SerialControl *wake, double seconds)
{
    const int ms = waitMs(seconds);
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(ms < PreciseTimerBelowMs ? Qt::PreciseTimer : Qt::CoarseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    if (wake)
        QObject::connect(wake, &SerialControl::activity, &loop, &QEventLoop::quit);
    timer.start(ms);
    loop.exec();
}
