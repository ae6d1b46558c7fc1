#include "precisetimer.h"

#include <QSocketNotifier>
#include <cstdint>
#include <sys/timerfd.h>
#include <unistd.h>

PreciseTimer::PreciseTimer(QObject *parent) : QObject(parent)
{
    m_fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_fd < 0)
        qFatal("veltra-sim: timerfd_create failed");
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PreciseTimer::expired);
}

PreciseTimer::~PreciseTimer()
{
    delete m_notifier;
    ::close(m_fd);
}

void PreciseTimer::start(double seconds)
{
    // A zero it_value would disarm the timer: the shortest wait is one nanosecond.
    const auto nanoseconds = std::max<std::int64_t>(1, std::int64_t(seconds * 1e9));
    itimerspec expiry{};
    expiry.it_value.tv_sec = time_t(nanoseconds / 1000000000);
    expiry.it_value.tv_nsec = long(nanoseconds % 1000000000);
    timerfd_settime(m_fd, 0, &expiry, nullptr);
}

void PreciseTimer::stop()
{
    const itimerspec disarm{};
    timerfd_settime(m_fd, 0, &disarm, nullptr);
    std::uint64_t expirations = 0;
    [[maybe_unused]] const ssize_t ignored = ::read(m_fd, &expirations, sizeof expirations);
}

void PreciseTimer::expired()
{
    std::uint64_t expirations = 0;
    if (::read(m_fd, &expirations, sizeof expirations) == ssize_t(sizeof expirations))
        emit timeout();
}
