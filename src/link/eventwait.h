#pragma once
// The one way the link waits: in the event loop on the thread that owns the window, blocking on
// the instrument owner's thread (blockingwaits.h).

#include <QTimer>

class SerialControl;

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
// On the owner's thread a sleep blocks the thread for at most one slice instead, and
// sleepForInput() ends early when characters arrive.
class EventWait
{
public:
    EventWait();
    void sleep(double seconds);
    void sleepForInput(SerialControl &control, double seconds);

private:
    QTimer m_timer;
};
