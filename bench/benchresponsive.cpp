// Responsiveness benchmark: the longest time the window's thread does not answer while the program
// waits for silent instruments, measured as the longest gap between the ticks of a 10 ms timer in
// this process. Each scenario runs twice: the way the window did it before the instrument's owner
// (the link's calls made on the window's thread, as its handlers made them) and the window
// itself, which hands them to the owner. Scenarios: the start-up wait on a silent configured port
// (the search declined), a search over four silent ports, and bench polls of an empty adapter
// (the instrument watch polling on the window's thread, and through the owner) for 6 s.
// Target: at most 0.25 s.

#include "benchsetup.h"
#include "connector.h"
#include "devicewatch.h"
#include "frmveltra.h"
#include "instrumentowner.h"
#include "instrumentwatch.h"
#include "programpaths.h"
#include "qtserialcontrol.h"
#include "scriptedui.h"
#include "siminstrument.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr int TickMsecs = 10;
constexpr int RunLimitMsecs = 60000;
constexpr int PollingMsecs = 6000;

// The longest gap between two ticks of a 10 ms timer while it runs.
class Ticker
{
public:
    Ticker()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const double now = static_cast<double>(m_clock.nsecsElapsed()) / 1e9;
            m_longest = std::max(m_longest, now - m_last);
            m_last = now;
        });
        m_clock.start();
        m_timer.start(TickMsecs);
    }
    double longest() const { return m_longest; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_last = 0;
    double m_longest = 0;
};

// A program folder whose settings name COM1, silent simulators as ports 1 to `silentPorts`.
struct Rig
{
    QTemporaryDir folder;
    std::vector<std::unique_ptr<SimInstrument>> sims;

    bool start(int silentPorts)
    {
        setProgramPaths(folder.path());
        QFile ini(IniFileName);
        if (!ini.open(QIODevice::WriteOnly) || ini.write("[Appl]\nComPort=1\n") < 0)
            return false;
        ini.close();
        for (int portNo = 1; portNo <= silentPorts; ++portNo) {
            auto sim = std::make_unique<SimInstrument>();
            if (!sim->start({QStringLiteral("--silent")}, portNo, IniFileName)) {
                std::fprintf(stderr, "%s\n", qPrintable(sim->errorText()));
                return false;
            }
            sims.push_back(std::move(sim));
        }
        return true;
    }
};

// The start's waits as the window's handler made them on its own thread.
double beforeOwner(bool search)
{
    Rig rig;
    if (!rig.start(search ? 4 : 1))
        return -1;
    QtSerialControl comm([] { return QList<SystemPort>(); });
    Link link(comm);
    Connector connector(link);
    const Ticker ticker;
    if (connector.open(1, 0) == 0)
        connector.probe(true);
    if (search)
        connector.search(Connector::allPorts(), 0, {});
    // The next tick ends the last gap.
    QEventLoop loop;
    QTimer::singleShot(3 * TickMsecs, &loop, &QEventLoop::quit);
    loop.exec();
    return ticker.longest();
}

// The window's start, to its end.
double window(bool search)
{
    Rig rig;
    if (!rig.start(search ? 4 : 1))
        return -1;
    ScriptedUi ui;
    // The search question, then the transfer error's OK.
    ui.answers.enqueue(search ? MsgResult::Yes : MsgResult::No);
    QtSerialControl comm([] { return QList<SystemPort>(); });
    frmVeltra w(comm);
    w.setEndProgram([] {});
    const Ticker ticker;
    w.Form_Load();
    QElapsedTimer limit;
    limit.start();
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if ((w.ComRead->isEnabled() && !w.TimerStart->isActive())
            || limit.hasExpired(RunLimitMsecs))
            loop.quit();
    });
    check.start(50);
    loop.exec();
    return ticker.longest();
}

// Bench mode's polls of an adapter with no instrument on it, each waiting for three prompts.
double polls(bool throughOwner)
{
    Rig rig;
    if (!rig.start(1))
        return -1;
    QtSerialControl comm([] { return QList<SystemPort>(); });
    Link link(comm);
    if (link.OpenComPort(1, 0) != 0)
        return -1;
    DeviceWatch adapter([] { return QString(); });
    InstrumentWatch watch(link, adapter);
    std::optional<InstrumentOwner> owner;
    if (throughOwner) {
        owner.emplace(link);
        watch.setOwner(&*owner);
    }
    watch.setPollSeconds(0.1);
    const Ticker ticker;
    watch.start();
    QEventLoop loop;
    QTimer::singleShot(PollingMsecs, &loop, &QEventLoop::quit);
    loop.exec();
    watch.stop();
    const double longest = ticker.longest();
    if (owner)
        owner->stop();
    return longest;
}

} // namespace

int main(int argc, char *argv[])
{
    preferOffscreen();
    QApplication app(argc, argv);
    findSimulatorNextToBenchmark();

    std::printf("Longest answer of the window's thread (a 10 ms timer), seconds; target <= 0.25\n");
    std::printf("%-44s %10s %10s\n", "scenario", "before", "after");
    for (const bool search : {false, true}) {
        const double before = beforeOwner(search);
        const double after = window(search);
        std::printf("%-44s %10.3f %10.3f\n",
                    search ? "search over four silent ports" : "start-up wait on a silent port",
                    before, after);
    }
    const double pollsBefore = polls(false);
    const double pollsAfter = polls(true);
    std::printf("%-44s %10.3f %10.3f\n", "bench polls of an empty adapter", pollsBefore,
                pollsAfter);
    return 0;
}
