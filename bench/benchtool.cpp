// `veltra-calib read` as a whole process against veltra-sim pacing its line at 9600 7E2: the
// median wall time from the start of the process to its end, next to the limit the line sets
// (from the simulator's log) and the cost of a process start alone (`veltra-calib version`).
// Target: wall at most 0.12 s above the line's limit.

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
#include <cstdio>

namespace {

constexpr int ToolRuns = 10;

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
    return allOk;
}
