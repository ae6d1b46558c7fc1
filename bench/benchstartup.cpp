// Start-up benchmark: from the main window's start to a complete read-out against veltra-sim
// pacing its line at 9600 baud, 7E2. The window runs in this process on the real serial control
// and a fresh simulator per run. Prints per run and as the median of the runs: the wall time, the
// limit (the 250 ms start timer plus what the line itself costs, from the simulator's log), the
// program's own share above it, and the program's CPU time during the read as a share of its wall
// time. Targets: at most 0.3 s above the limit, CPU at most 5 %.

#include "frmveltra.h"
#include "linebudget.h"
#include "programpaths.h"
#include "qtserialcontrol.h"
#include "scriptedui.h"
#include "siminstrument.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr int Runs = 10;
constexpr double StartTimerSeconds = 0.250;
constexpr int RunLimitMsecs = 30000;

double cpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n == 0 ? 0 : (values[(n - 1) / 2] + values[n / 2]) / 2;
}

// Notes wall and CPU time when the start timer fires, before its handler runs.
class ReadStart : public QObject
{
public:
    ReadStart(QTimer *timer, const QElapsedTimer &clock) : m_clock(clock) { timer->installEventFilter(this); }
    double wall = -1;
    double cpu = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Timer && wall < 0) {
            wall = m_clock.nsecsElapsed() / 1e9;
            cpu = cpuSeconds();
        }
        return false;
    }

private:
    const QElapsedTimer &m_clock;
};

struct Run
{
    double wall = 0;
    double limit = 0;
    double readCpuShare = 0;
    int characters = 0;
};

bool runOnce(Run &run)
{
    QTemporaryDir programDir;
    SetProgramPaths(programDir.path());
    QFile ini(IniFileName);
    if (!ini.open(QIODevice::WriteOnly) || ini.write("[Appl]\nComPort=1\n") < 0)
        return false;
    ini.close();
    SimInstrument sim;
    if (!sim.start({QStringLiteral("--baud-pace")}, 1, IniFileName)) {
        std::fprintf(stderr, "bench-startup: %s\n", qPrintable(sim.errorText()));
        return false;
    }
    ScriptedUi ui;

    QElapsedTimer clock;
    clock.start();
    QtSerialControl comm([] { return QList<SystemPort>(); });
    frmVeltra window(comm);
    ReadStart readStart(window.TimerStart, clock);
    QEventLoop loop;
    // Connected after the window's own handler, so it runs once the whole read has ended.
    QObject::connect(window.TimerStart, &QTimer::timeout, &loop, &QEventLoop::quit);
    QTimer::singleShot(RunLimitMsecs, &loop, &QEventLoop::quit);
    window.show();
    window.Form_Load();
    loop.exec();
    run.wall = clock.nsecsElapsed() / 1e9;
    const double readCpu = cpuSeconds() - readStart.cpu;
    const double readWall = run.wall - readStart.wall;

    if (!ui.boxes.isEmpty() || window.LabelSerialNo->text().isEmpty() || !window.ComRead->isEnabled()) {
        std::fprintf(stderr, "bench-startup: the read-out did not complete (%lld boxes)\n",
                     qlonglong(ui.boxes.size()));
        return false;
    }
    // Let the simulator's last log line land before reading it.
    QThread::msleep(50);
    const LineBudget budget = budgetOf(sim.frames());
    run.limit = StartTimerSeconds + budget.total();
    run.characters = budget.characters;
    run.readCpuShare = readWall > 0 ? readCpu / readWall : 0;
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (SimInstrument::simulatorPath().isEmpty())
        qputenv("VELTRA_SIM", (QCoreApplication::applicationDirPath() + QStringLiteral("/veltra-sim")).toLocal8Bit());

    std::printf("Main window start to complete read-out at 9600 7E2 (paced simulator), %d runs\n\n", Runs);
    std::printf("%-6s %6s %9s %9s %10s %9s\n", "run", "chars", "wall ms", "limit ms", "above ms",
                "read CPU %");
    QList<double> walls, limits, above, cpuShares;
    for (int i = 1; i <= Runs; ++i) {
        Run run;
        if (!runOnce(run))
            return 1;
        walls.append(run.wall);
        limits.append(run.limit);
        above.append(run.wall - run.limit);
        cpuShares.append(run.readCpuShare);
        std::printf("%-6d %6d %9.1f %9.1f %10.1f %9.2f\n", i, run.characters, run.wall * 1000,
                    run.limit * 1000, (run.wall - run.limit) * 1000, run.readCpuShare * 100);
    }
    std::printf("%-6s %6s %9.1f %9.1f %10.1f %9.2f\n", "median", "", median(walls) * 1000,
                median(limits) * 1000, median(above) * 1000, median(cpuShares) * 100);
    std::printf("\nlimit = 250 ms start timer + line time + the protocol's pauses + the simulator's "
                "turnaround\ntargets: above <= 300 ms, read CPU <= 5 %%\n");
    return 0;
}
