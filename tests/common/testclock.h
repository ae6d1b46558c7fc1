#pragma once
// A clock for the link that runs `speed` times as fast as real time from `startSeconds` on and
// wraps at midnight like the wall clock. Speeding up lets a test see which time limit a wait
// used without waiting for it in real time.

#include "clock.h"

#include <QElapsedTimer>
#include <cmath>

class TestClock final : public Clock
{
public:
    explicit TestClock(double startSeconds = 36000, double speed = 1)
        : m_start(startSeconds),
          m_speed(speed)
    {
        m_elapsed.start();
    }

    double secondsSinceMidnight() const override
    {
        return std::fmod(m_start + static_cast<double>(m_elapsed.nsecsElapsed()) / 1e9 * m_speed,
                         SecondsPerDay);
    }

    double realSeconds(double seconds) const override { return seconds / m_speed; }

private:
    QElapsedTimer m_elapsed;
    double m_start;
    double m_speed;
};
