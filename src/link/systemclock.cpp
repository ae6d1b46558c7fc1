#include "clock.h"

#include <QtGlobal>

#include <chrono>
#include <ctime>

// The local time of day without Qt's QTime::currentTime(), which re-reads the time zone (a stat
// of /etc/localtime) on every call; the link reads its clock at every wake-up of a wait. The C
// library reads the zone once, so a zone changed while the program runs counts from its next
// start.
double SystemClock::secondsSinceMidnight() const
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
#ifdef Q_OS_WIN
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    const auto sinceSecond = now - std::chrono::system_clock::from_time_t(seconds);
    const double fraction = std::chrono::duration<double>(sinceSecond).count();
    return local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec + fraction;
}

const SystemClock &SystemClock::instance()
{
    static const SystemClock clock;
    return clock;
}
