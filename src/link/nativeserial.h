#pragma once
// The few things Qt's serial port does not offer, done on the native terminal.

#include <QString>

// Makes the driver mark bytes received with a parity or framing error ("\xFF\x00" before the
// byte, a good 0xFF doubled) instead of passing them on silently. False where not supported.
bool enableParityMarking(qintptr handle);

// Puts the terminal at `path` back to raw 8N1. A pseudo-terminal keeps the line settings of a
// client that was killed, which then makes the next opening fail.
bool resetLineSettings(const QString &path);

// True for the terminal side of a pseudo-terminal (the virtual instrument's port). It has no
// line: it refuses parity and 7 data bits, which Qt takes for a failed opening.
bool isPseudoTerminal(const QString &path);

// Bytes the driver still holds for sending (0 where unknown). Qt counts only its own buffer,
// which empties long before the bytes are on the line at 9600 baud.
int driverOutputQueue(qintptr handle);
