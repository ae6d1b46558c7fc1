#pragma once
// The one way the link waits while letting the window work.

#include <QTimer>

// Waits shorter than this get a precise timer: a coarse one may stretch them by a millisecond or
// more, which is much of a short wait.
constexpr int PreciseTimerBelowMs = 20;

// Whole milliseconds for a wait of `seconds`, rounded up so that the wait does not end just
// before its limit and then spin: at least 1.
int waitMs(double seconds);

// One wait: each sleep() processes events until one has been handled (the serial control's data,
// drained output or failure among them) or the wait's timer has run out. The caller looks at what
// changed and decides whether to sleep again. The timer is armed by the first sleep and again
// only after it has run out, not at every wake: a reply wakes its wait once per character.
class EventWait
{
public:
    EventWait();
    void sleep(double seconds);

private:
    QTimer m_timer;
};
