// `veltra-calib read` as a whole process against veltra-sim pacing its line at 9600 7E2: the
// median wall time from the start of the process to its end, next to the limit the line sets
// (from the simulator's log) and the cost of a process start alone (`veltra-calib version`).
// Target: wall at most 0.12 s above the line's limit.
// Also `veltra-calib watch` on an empty adapter (a silent simulator): SIGINT while a poll waits
// for its prompt, to the end of the process. Target: at most 0.3 s.

#include "benchtool.h"

#include "linebudget.h"
#include "measure.h"
#include "programpaths.h"
#include "siminstrument.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <cstdio>

namespace {

constexpr int ToolRuns = 10;
constexpr int InterruptRuns = 5;

// Wall seconds of one run of the tool; negative when it failed.
double runTool(const QStringList &arguments)
{
    QProcess tool;
    QElapsedTimer wall;
    wall.start();
    tool.start(QCoreApplication::applicationDirPath() + QStringLiteral("/veltra-calib"), arguments);
    if (!tool.waitForFinished(30000) || tool.exitStatus() != QProcess::NormalExit
        || tool.exitCode() != 0) {
        std::fprintf(stderr, "bench-link: veltra-calib %s failed: %s\n",
                     qPrintable(arguments.join(u' ')), tool.readAllStandardError().constData());
        return -1;
    }
    return static_cast<double>(wall.nsecsElapsed()) / 1e9;
}

bool toolRow(const QString &framing)
{
    QTemporaryDir folder;
    const QString ini = folder.filePath(SettingsFileName);
    SimInstrument sim;
    if (!sim.start({QStringLiteral("--framing"), framing, QStringLiteral("--baud-pace")}, 1, ini)) {
        std::fprintf(stderr, "bench-link: %s\n", qPrintable(sim.errorText()));
        return false;
    }
    const QStringList read{QStringLiteral("--settings"), ini, QStringLiteral("--port"),
                           QStringLiteral("1"), QStringLiteral("read")};
    QList<double> walls, limits, starts;
    qsizetype logged = sim.frames().size();
    for (int run = 0; run < ToolRuns; ++run) {
        const double start =
            runTool({QStringLiteral("--settings"), ini, QStringLiteral("version")});
        const double wall = runTool(read);
        if (start < 0 || wall < 0)
            return false;
        // Let the simulator's last log line land before reading it.
        QThread::msleep(50);
        const QList<SimFrame> frames = sim.frames();
        limits.append(budgetOf(frames.mid(logged)).total());
        logged = frames.size();
        walls.append(wall);
        starts.append(start);
    }
    const double wall = median(walls);
    const double limit = median(limits);
    std::printf("%-8s %9.1f %9.1f %9.1f %10.1f\n", qPrintable(framing), wall * 1000, limit * 1000,
                median(starts) * 1000, (wall - limit) * 1000);
    return true;
}

// Seconds from SIGINT to the end of `veltra-calib watch`, sent while a poll of the silent
// simulator waits for its prompt; negative when it failed.
double interruptedWatch(SimInstrument &sim, const QString &ini)
{
    QProcess tool;
    tool.start(QCoreApplication::applicationDirPath() + QStringLiteral("/veltra-calib"),
               {QStringLiteral("--settings"), ini, QStringLiteral("--port"), QStringLiteral("1"),
                QStringLiteral("watch")});
    const qsizetype wakeUps = sim.received().size();
    // The poll's first wake-up has reached the simulator: the tool waits for a prompt now.
    if (!tool.waitForStarted(10000)
        || !sim.waitForFrames(SimFrame::Direction::Received, wakeUps + 1, 10000)) {
        tool.kill();
        tool.waitForFinished();
        std::fprintf(stderr, "bench-link: veltra-calib watch sent no wake-up\n");
        return -1;
    }
    QElapsedTimer wall;
    wall.start();
    ::kill(static_cast<pid_t>(tool.processId()), SIGINT);
    if (!tool.waitForFinished(30000) || tool.exitStatus() != QProcess::NormalExit) {
        tool.kill();
        tool.waitForFinished();
        std::fprintf(stderr, "bench-link: veltra-calib watch did not end on SIGINT\n");
        return -1;
    }
    return static_cast<double>(wall.nsecsElapsed()) / 1e9;
}

bool interruptRow()
{
    QTemporaryDir folder;
    const QString ini = folder.filePath(SettingsFileName);
    SimInstrument sim;
    if (!sim.start({QStringLiteral("--silent")}, 1, ini)) {
        std::fprintf(stderr, "bench-link: %s\n", qPrintable(sim.errorText()));
        return false;
    }
    QList<double> exits;
    for (int run = 0; run < InterruptRuns; ++run) {
        const double exit = interruptedWatch(sim, ini);
        if (exit < 0)
            return false;
        exits.append(exit);
    }
    std::printf("%-24s %9.1f %9.1f\n", "SIGINT in a poll -> exit", median(exits) * 1000,
                *std::max_element(exits.cbegin(), exits.cend()) * 1000);
    return true;
}

} // namespace

bool printToolTable()
{
    std::printf("\nveltra-calib read as a process (paced simulator), median of %d runs\n\n",
                ToolRuns);
    std::printf("%-8s %9s %9s %9s %10s\n", "framing", "wall ms", "limit ms", "start ms",
                "above ms");
    bool allOk = true;
    for (const QString &framing : {QStringLiteral("plain"), QStringLiteral("framed")})
        allOk = toolRow(framing) && allOk;
    std::printf(
        "\ntarget: wall at most 120 ms above the line's limit (start = veltra-calib version)\n");

    std::printf("\nveltra-calib watch on an empty adapter (silent simulator), %d runs\n\n",
                InterruptRuns);
    std::printf("%-24s %9s %9s\n", "", "median ms", "max ms");
    allOk = interruptRow() && allOk;
    std::printf("\ntarget: at most 300 ms\n");
    return allOk;
}
