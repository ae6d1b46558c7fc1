#pragma once
// The time limit of one wait of the exchange, measured on the link's clock.

#include "clock.h"

#include <algorithm>

class TimeLimit
{
public:
    TimeLimit(const Clock &clock, double seconds)
        : m_clock(clock),
          m_seconds(seconds),
          m_start(clock.secondsSinceMidnight()),
          m_now(m_start)
    { }

    // Reads the clock. A reading below the start means midnight has passed: the wait then begins
    // anew, which also keeps a clock set back from ending it early. Compared at single precision
    // as the instrument's time limits were tuned that way.
    bool passed()
    {
        m_now = m_clock.secondsSinceMidnight();
        if (m_now < m_start)
            m_start = m_now;
        return float(m_now - m_start) > float(m_seconds);
    }

    // Seconds left at the last reading.
    double remaining() const { return m_seconds - (m_now - m_start); }

    // Real seconds a wait may sleep before it reads the clock again: until the limit or, when
    // that comes first, until midnight, where the wait begins anew.
    double sleepSeconds() const
    {
        return m_clock.realSeconds(std::min(remaining(), SecondsPerDay - m_now));
    }

private:
    const Clock &m_clock;
    double m_seconds;
    double m_start;
    double m_now;
};
