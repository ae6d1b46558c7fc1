#include "eventwait.h"

#include "serialcontrol.h"

#include <QEventLoop>
#include <QTimer>
#include <cmath>

int sleepSliceMs(double seconds)
{
    if (!(seconds * 1000 < MaxSleepSliceMs))
        return MaxSleepSliceMs;
    return std::max(1, int(std::ceil(seconds * 1000)));
}

void sleepInEventLoop(SerialControl *wake, double seconds)
{
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    if (wake)
        QObject::connect(wake, &SerialControl::activity, &loop, &QEventLoop::quit);
    timer.start(sleepSliceMs(seconds));
    loop.exec();
}
