#pragma once
// The one way the link waits while letting the window work: a nested event loop that ends when
// the serial control reports activity or the time is up.

class SerialControl;

// Longest single sleep. The link's clock is the wall clock (seconds since midnight), which can
// wrap or be set; re-reading it at this pace keeps every limit bound to that clock.
constexpr int MaxSleepSliceMs = 25;

// Processes events until `wake` (may be null) emits activity() or `seconds` (at most one slice)
// have passed.
void sleepInEventLoop(SerialControl *wake, double seconds);

// Milliseconds for one slice of a wait with `seconds` left: at least 1, at most MaxSleepSliceMs.
int sleepSliceMs(double seconds);
