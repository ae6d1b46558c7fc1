#pragma once
// The clock that every timed wait of the link reads: seconds since midnight, as the instrument
// protocol's time limits were designed around. Injected so tests can put midnight where they
// need it.

class Clock
{
public:
    virtual ~Clock() = default;
    virtual double secondsSinceMidnight() const = 0;
};

class SystemClock final : public Clock
{
public:
    double secondsSinceMidnight() const override;
    static const SystemClock &instance();
};
