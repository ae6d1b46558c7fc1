#pragma once
// What a conversation with the paced simulator costs at the least, from the simulator's log: the
// characters on the line at 9600 baud 7E2, the protocol's own pauses and the simulator's
// turnaround. Shared by the benchmarks that compare wall time against the line.

#include "siminstrument.h"

#include <QList>
#include <algorithm>

namespace LineBudgetRules {
// 11 bits per character at 9600 7E2.
constexpr double CharSeconds = 11.0 / 9600;
// The link pauses about 2 ms before each wake-up and each command frame, and waits 30 ms after
// "WR".
constexpr double PauseSeconds = 0.002;
constexpr double AfterWrSeconds = 0.030;
} // namespace LineBudgetRules

struct LineBudget
{
    double lineSeconds = 0;
    double pauseSeconds = 0;
    double turnaroundSeconds = 0;
    int characters = 0;
    double total() const { return lineSeconds + pauseSeconds + turnaroundSeconds; }
};

// A sent frame is logged when its last character left, so it started its characters' time before
// that; the turnaround is the gap between the received frame and that start.
inline LineBudget budgetOf(const QList<SimFrame> &frames)
{
    using namespace LineBudgetRules;
    LineBudget budget;
    double lastReceived = -1;
    for (const SimFrame &frame : frames) {
        budget.characters += int(frame.bytes.size());
        if (frame.direction == SimFrame::Direction::Received) {
            lastReceived = frame.seconds;
            budget.pauseSeconds += PauseSeconds;
            if (frame.bytes.startsWith("\x02WR") || frame.bytes.startsWith("WR\r"))
                budget.pauseSeconds += AfterWrSeconds;
        } else if (lastReceived >= 0) {
            const double started =
                frame.seconds - static_cast<double>(frame.bytes.size()) * CharSeconds;
            budget.turnaroundSeconds += std::max(0.0, started - lastReceived);
            lastReceived = -1;
        }
    }
    budget.lineSeconds = budget.characters * CharSeconds;
    return budget;
}
