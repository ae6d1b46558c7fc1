// Start-up benchmark: from the start to a complete read-out against veltra-sim pacing its line at
// 9600 baud, 7E2, with a fresh simulator per run. Two tables: the main window in this process on
// the real serial control (its start measured from the window's construction, the read's CPU
// time measured exactly), and the real program in its own process from its start. Each prints
// per run and as the median: the wall time, the limit (the 250 ms start timer plus what the line
// itself costs, from the simulator's log) and the time above it, and the CPU time during the read
// as a share of its wall time (the program's read starts with the first wake-up the simulator
// logs). Targets: the program at most 0.15 s above the limit, CPU during the read at most 2 % of
// its wall time.

#include "benchsetup.h"
#include "frmveltra.h"
#include "linebudget.h"
#include "measure.h"
#include "programpaths.h"
#include "qtserialcontrol.h"
#include "scriptedui.h"
#include "siminstrument.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr int Runs = 10;
constexpr double StartTimerSeconds = 0.250;
constexpr int RunLimitMsecs = 30000;

// Notes wall and CPU time when the start timer fires, before its handler runs.
class ReadStart : public QObject
{
public:
    ReadStart(QTimer *timer, const QElapsedTimer &clock) : m_clock(clock)
    {
        timer->installEventFilter(this);
    }
    double wall = -1;
    double cpu = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Timer && wall < 0) {
            wall = static_cast<double>(m_clock.nsecsElapsed()) / 1e9;
            cpu = cpuSeconds();
        }
        return false;
    }

private:
    const QElapsedTimer &m_clock;
};

// Quits `loop` when the start has ended: "&Read" enabled again, which the window does last.
class StartEnd : public QObject
{
public:
    StartEnd(QWidget *readButton, QEventLoop &loop) : m_button(readButton), m_loop(loop)
    {
        readButton->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::EnabledChange && m_button->isEnabled())
            m_loop.quit();
        return false;
    }

private:
    QWidget *m_button;
    QEventLoop &m_loop;
};

struct Run
{
    double wall = 0;
    double limit = 0;
    double cpu = 0; // seconds: in-process those of the read, the program's in all
    double readCpu = 0; // share of the read's wall time
    int characters = 0;
};

// A program folder whose settings name the simulator, paced at 9600 7E2, as COM1.
class Bench
{
public:
    bool start()
    {
        setProgramPaths(m_folder.path());
        QFile ini(IniFileName);
        if (!ini.open(QIODevice::WriteOnly) || ini.write("[Appl]\nComPort=1\n") < 0)
            return false;
        ini.close();
        if (!sim.start({QStringLiteral("--baud-pace")}, 1, IniFileName)) {
            std::fprintf(stderr, "bench-startup: %s\n", qPrintable(sim.errorText()));
            return false;
        }
        return true;
    }

    // The limit of the run: the start timer and what the line itself cost.
    void finish(Run &run)
    {
        // The simulator logs its last reply after writing it.
        sim.waitForFrames(SimFrame::Direction::Sent, sim.received().size());
        const LineBudget budget = budgetOf(sim.frames());
        run.limit = StartTimerSeconds + budget.total();
        run.characters = budget.characters;
    }

    QString folder() const { return m_folder.path(); }
    SimInstrument sim;

private:
    QTemporaryDir m_folder;
};

bool runInProcess(Run &run)
{
    Bench bench;
    if (!bench.start())
        return false;
    ScriptedUi ui;

    QElapsedTimer clock;
    clock.start();
    QtSerialControl comm([] { return QList<SystemPort>(); });
    frmVeltra window(comm);
    ReadStart readStart(window.TimerStart, clock);
    QEventLoop loop;
    const StartEnd startEnd(window.ComRead, loop);
    QTimer::singleShot(RunLimitMsecs, &loop, &QEventLoop::quit);
    window.show();
    window.Form_Load();
    loop.exec();
    run.wall = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    const double readCpu = cpuSeconds() - readStart.cpu;
    const double readWall = run.wall - readStart.wall;

    if (!ui.boxes.isEmpty() || window.LabelSerialNo->text().isEmpty()
        || !window.ComRead->isEnabled()) {
        std::fprintf(stderr, "bench-startup: the read-out did not complete (%lld boxes)\n",
                     qlonglong(ui.boxes.size()));
        return false;
    }
    bench.finish(run);
    run.cpu = readCpu;
    run.readCpu = readWall > 0 ? readCpu / readWall : 0;
    return true;
}

// CPU time of a running process so far, from the scheduler's account of each of its threads
// (nanoseconds; the clock ticks of /proc/<pid>/stat are too coarse for a read of a few ms).
double processCpuSeconds(qint64 pid)
{
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    double seconds = 0;
    for (const QString &task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile schedstat(tasks + QLatin1Char('/') + task + QStringLiteral("/schedstat"));
        if (schedstat.open(QIODevice::ReadOnly))
            seconds += schedstat.readAll().split(' ').value(0).toDouble() / 1e9;
    }
    return seconds;
}

// The read is complete once the simulator has answered "WR" and the status query after it.
bool readComplete(const SimInstrument &sim)
{
    const QList<QByteArray> commands = sim.commands();
    const qsizetype wr = commands.indexOf(QByteArray("\x02WRAB\x03"));
    return wr >= 0 && wr + 1 < commands.size() && sim.sent().size() >= commands.size() * 2;
}

// The real program, copied alone into the folder, from its process start; the end is seen in the
// simulator's log (polled every 2 ms), so the program's last few steps after the final reply
// are not counted.
bool runProgram(Run &run)
{
    Bench bench;
    if (!bench.start())
        return false;
    const QString program = bench.folder() + QStringLiteral("/veltra-setcalibdate");
    if (!QFile::copy(QCoreApplication::applicationDirPath()
                         + QStringLiteral("/veltra-setcalibdate"),
                     program))
        return false;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    process.start(program, {});
    double readStartWall = -1;
    double readStartCpu = 0;
    while (!readComplete(bench.sim) && clock.elapsed() < RunLimitMsecs
           && process.state() != QProcess::NotRunning) {
        if (readStartWall < 0 && !bench.sim.received().isEmpty()) {
            readStartWall = static_cast<double>(clock.nsecsElapsed()) / 1e9;
            readStartCpu = processCpuSeconds(process.processId());
        }
        QThread::msleep(2);
    }
    run.wall = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    run.cpu = processCpuSeconds(process.processId());
    if (readStartWall >= 0 && run.wall > readStartWall)
        run.readCpu = (run.cpu - readStartCpu) / (run.wall - readStartWall);
    process.kill();
    process.waitForFinished();
    if (!readComplete(bench.sim)) {
        std::fprintf(stderr, "bench-startup: the program did not complete its read\n");
        return false;
    }
    bench.finish(run);
    return true;
}

bool table(const char *title, const char *cpuColumn, bool (*runOnce)(Run &))
{
    std::printf("%s, %d runs\n\n", title, Runs);
    std::printf("%-6s %6s %9s %9s %10s %11s %10s\n", "run", "chars", "wall ms", "limit ms",
                "above ms", "read CPU %", cpuColumn);
    QList<double> walls, limits, above, readCpus, cpus;
    for (int i = 1; i <= Runs; ++i) {
        Run run;
        if (!runOnce(run))
            return false;
        walls.append(run.wall);
        limits.append(run.limit);
        above.append(run.wall - run.limit);
        readCpus.append(run.readCpu);
        cpus.append(run.cpu);
        std::printf("%-6d %6d %9.1f %9.1f %10.1f %11.2f %10.1f\n", i, run.characters,
                    run.wall * 1000, run.limit * 1000, (run.wall - run.limit) * 1000,
                    run.readCpu * 100, run.cpu * 1000);
    }
    std::printf("%-6s %6s %9.1f %9.1f %10.1f %11.2f %10.1f\n\n", "median", "", median(walls) * 1000,
                median(limits) * 1000, median(above) * 1000, median(readCpus) * 100,
                median(cpus) * 1000);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    preferOffscreen();
    QApplication app(argc, argv);
    findSimulatorNextToBenchmark();

    const bool ok = table("Main window start (in this process) to complete read-out at 9600 7E2 "
                          "(paced simulator)",
                          "read CPU ms", runInProcess)
        && table("Program start (its own process, offscreen) to complete read-out at 9600 7E2",
                 "CPU ms", runProgram);
    std::printf("limit = 250 ms start timer + line time + the protocol's pauses + the simulator's "
                "turnaround\ntargets: above <= 150 ms (program), read CPU <= 2 %%\n");
    return ok ? 0 : 1;
}
