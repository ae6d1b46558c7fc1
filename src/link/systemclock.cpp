#include "clock.h"

#include <QTime>

double SystemClock::secondsSinceMidnight() const
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

const SystemClock &SystemClock::instance()
{
    static const SystemClock clock;
    return clock;
}
