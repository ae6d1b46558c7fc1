// Link benchmark: a full identification and the read of the dates ("V", "Vx", "#R" and "Ux" with
// status, "WR" with status) against veltra-sim pacing its line at 9600 baud, 7E2. Prints, per
// framing, the median wall time against the limit the line itself sets: the characters on the
// line times the character time, the protocol's own pauses and the simulator's turnaround, all
// taken from the simulator's log. Target: wall / limit <= 1.05, program CPU <= 2 % of wall.

#include "benchsetup.h"
#include "benchtool.h"
#include "linebudget.h"
#include "link.h"
#include "measure.h"
#include "programpaths.h"
#include "qtserialcontrol.h"
#include "scriptedui.h"
#include "siminstrument.h"
#include "simrig.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int Runs = 20;

struct Result
{
    double wall = 0;
    double limit = 0;
    double turnaround = 0;
    int characters = 0;
    double cpuShare = 0;
};

bool runFraming(const QString &framing, Result &result)
{
    SimLink rig;
    const SimInstrument &sim = rig.sim;
    Link &link = rig.link;
    if (!rig.open({QStringLiteral("--framing"), framing, QStringLiteral("--baud-pace")})) {
        std::fprintf(stderr, "bench-link: the simulator did not start or its port did not open\n");
        return false;
    }
    QList<double> walls, limits, turnarounds, cpuShares;
    qsizetype logged = sim.frames().size();
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer wall;
        const double cpuStart = cpuSeconds();
        wall.start();
        const bool ok =
            link.ReadInstrumentInfo().isEmpty() && link.DoTransfer(QStringLiteral("WR"), 1) == 1;
        const double wallSeconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
        const double cpu = cpuSeconds() - cpuStart;
        if (!ok) {
            std::fprintf(stderr, "bench-link: run %d failed (%s)\n", run + 1, qPrintable(framing));
            return false;
        }
        // The simulator logs its last reply after writing it.
        if (!sim.waitForFrames(SimFrame::Direction::Sent, sim.received().size())) {
            std::fprintf(stderr, "bench-link: the simulator's log is incomplete\n");
            return false;
        }
        const QList<SimFrame> frames = sim.frames();
        const LineBudget budget = budgetOf(frames.mid(logged));
        logged = frames.size();
        walls.append(wallSeconds);
        limits.append(budget.total());
        turnarounds.append(budget.turnaroundSeconds);
        cpuShares.append(cpu / wallSeconds);
        result.characters = budget.characters;
    }
    result.wall = median(walls);
    result.limit = median(limits);
    result.turnaround = median(turnarounds);
    result.cpuShare = median(cpuShares);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    findSimulatorNextToBenchmark();
    QTemporaryDir programDir;
    setProgramPaths(programDir.path());
    ScriptedUi ui;

    std::printf("Identification + \"WR\" at 9600 7E2 (paced simulator), median of %d runs\n\n",
                Runs);
    std::printf("%-8s %6s %9s %9s %12s %7s %8s\n", "framing", "chars", "wall ms", "limit ms",
                "sim turn ms", "ratio", "CPU %");
    bool allOk = true;
    for (const QString &framing : {QStringLiteral("plain"), QStringLiteral("framed")}) {
        Result result;
        if (!runFraming(framing, result)) {
            allOk = false;
            continue;
        }
        std::printf("%-8s %6d %9.1f %9.1f %12.1f %7.3f %8.2f\n", qPrintable(framing),
                    result.characters, result.wall * 1000, result.limit * 1000,
                    result.turnaround * 1000, result.wall / result.limit, result.cpuShare * 100);
    }
    std::printf("\ntargets: ratio <= 1.05, CPU <= 2 %%\n");
    allOk = printToolTable() && allOk;
    return allOk ? 0 : 1;
}
