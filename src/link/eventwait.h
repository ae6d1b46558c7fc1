#pragma once
// The one way the link waits while letting the window work: a nested event loop that ends when
// the serial control reports activity or its one timer, armed for the whole wait, runs out.

class SerialControl;

// Waits shorter than this get a precise timer: a coarse one may stretch them by a millisecond or
// more, which is much of a 2 ms pause.
constexpr int PreciseTimerBelowMs = 20;

// Whole milliseconds for a wait of `seconds`, rounded up so that the wait does not end just
// before its limit and then spin: at least 1.
int waitMs(double seconds);

// Processes events until `wake` (may be null) emits activity() or `seconds` of real time have
// passed.
void sleepInEventLoop(SerialControl *wake, double seconds);
