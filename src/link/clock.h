#pragma once
// The clock that every timed wait of the link reads: seconds since midnight, as the instrument
// protocol's time limits were designed around. Injected so tests can put midnight where they
// need it.

constexpr double SecondsPerDay = 86400;

class Clock
{
public:
    virtual ~Clock() = default;
    virtual double secondsSinceMidnight() const = 0;
    // Real seconds until this clock has advanced by `seconds`: what a wait sets its timer to.
    // The wall clock runs at real speed; a test's clock may not.
    virtual double realSeconds(double seconds) const { return seconds; }
};

class SystemClock final : public Clock
{
public:
    double secondsSinceMidnight() const override;
    static const SystemClock &instance();
};
