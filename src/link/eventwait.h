#pragma once
// The one way the link waits while letting the window work: events are processed until one has
// been handled (the serial control's data, drained output or failure among them) or the one
// timer armed for the wait runs out. The caller looks at what changed and decides whether to
// wait again.

// Waits shorter than this get a precise timer: a coarse one may stretch them by a millisecond or
// more, which is much of a short wait.
constexpr int PreciseTimerBelowMs = 20;

// Whole milliseconds for a wait of `seconds`, rounded up so that the wait does not end just
// before its limit and then spin: at least 1.
int waitMs(double seconds);

// Processes events until at least one has been handled or `seconds` of real time have passed.
void sleepInEventLoop(double seconds);
