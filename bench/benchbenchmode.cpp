// Bench mode benchmark: ten instruments placed one after another on veltra-sim pacing its line at
// 9600 baud 7E2 (its script), the main window in this process with bench mode on and polls every
// 2 s. A scripted user writes each instrument as soon as it is shown. Per instrument: the time from
// placing (the script's time) to the read-out shown, against the poll interval plus one read
// (measured once at start), and the user's actions (the button, then each box or dialog), against
// at most three after the first. Then the process's CPU time while bench mode polls for a minute,
// with the last instrument left on the adapter and with the adapter empty; target at most 0.5 %.

#include "benchsetup.h"
#include "frmveltra.h"
#include "instrumentwatch.h"
#include "measure.h"
#include "msgform.h"
#include "programpaths.h"
#include "qtserialcontrol.h"
#include "scriptedui.h"
#include "siminstrument.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int Instruments = 10;
constexpr double PollSeconds = 2;
// The script: the simulator's own instrument goes, then each instrument stays a while and the
// adapter is empty a while before the next.
constexpr double FirstPlaced = 3;
constexpr double OnSeconds = 5;
constexpr double Every = 8;
constexpr double IdleSeconds = 60;
// After the last write, the last instrument stays for a minute's measure, then the adapter is
// empty for another.
constexpr double LastOnFor = IdleSeconds + 5;
constexpr double Settle = 3;
constexpr int MaxActions = 3;

double placedAt(int index)
{
    return FirstPlaced + Every * index;
}

QString serialOf(int index)
{
    return QString::number(50001 + index);
}

QByteArray script()
{
    QByteArray text = "1 remove\n";
    for (int i = 0; i < Instruments; ++i) {
        text += QByteArray::number(placedAt(i)) + " place serial=" + serialOf(i).toLatin1()
            + " dates=240101 250101\n";
        const double on = i + 1 < Instruments ? OnSeconds : LastOnFor;
        text += QByteArray::number(placedAt(i) + on) + " remove\n";
    }
    return text;
}

struct Instrument
{
    double shown = -1; // seconds after the simulator's start
    int actions = 0;
    bool verified = false;
};

double seconds(const QElapsedTimer &timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char *argv[])
{
    preferOffscreen();
    QApplication app(argc, argv);
    findSimulatorNextToBenchmark();

    QTemporaryDir folder;
    setProgramPaths(folder.path());
    const QString scriptFile = folder.filePath(QStringLiteral("bench.script"));
    if (!writeFile(IniFileName,
                   "[Appl]\nComPort=1\n[Bench]\nEnabled=1\nPollSeconds="
                       + QByteArray::number(PollSeconds) + "\n")
        || !writeFile(scriptFile, script())) {
        std::fprintf(stderr, "bench-benchmode: cannot write into %s\n", qPrintable(folder.path()));
        return 1;
    }
    SimInstrument sim;
    if (!sim.start({QStringLiteral("--baud-pace"), QStringLiteral("--script"), scriptFile}, 1,
                   IniFileName)) {
        std::fprintf(stderr, "bench-benchmode: %s\n", qPrintable(sim.errorText()));
        return 1;
    }
    // The script's clock starts just before the simulator prints its path.
    QElapsedTimer simClock;
    simClock.start();

    ScriptedUi ui;
    QtSerialControl comm([] { return QList<SystemPort>(); });
    frmVeltra window(comm);
    window.show();
    QEventLoop loop;
    QObject::connect(window.TimerStart, &QTimer::timeout, &loop, &QEventLoop::quit);
    window.Form_Load();
    loop.exec();
    // One read, the part of the limit that is not the poll interval.
    QElapsedTimer readTimer;
    readTimer.start();
    window.ComRead_Click();
    const double readSeconds = seconds(readTimer);

    QList<Instrument> instruments(Instruments);
    // The user at the bench: as soon as an instrument shows, "&Change Calib Date...", the
    // question's Yes and the result's OK (the information about passwords once, before the first).
    QObject::connect(
        &window.instrumentWatch(), &InstrumentWatch::placed, &window, [&](const QString &serialNo) {
            const int index = int(serialNo.toInt() - 50001);
            if (index < 0 || index >= Instruments || window.LabelSerialNo->text() != serialNo)
                return;
            instruments[index].shown = seconds(simClock);
            QTimer::singleShot(0, &window, [&, index] {
                if (index == 0)
                    ui.answerDialog<MsgForm>([](MsgForm &notice) { notice.reject(); });
                const qsizetype boxes = ui.boxes.size();
                const qsizetype dialogs = ui.dialogs.size();
                ui.answers.enqueue(MsgResult::Yes);
                window.ComChange_Click();
                instruments[index].actions =
                    1 + int(ui.boxes.size() - boxes + ui.dialogs.size() - dialogs);
                instruments[index].verified =
                    window.statusBar()->currentMessage().startsWith(QStringLiteral("Done: serial"));
            });
        });

    // The two minutes of polling an unchanged adapter.
    const double lastPlaced = placedAt(Instruments - 1);
    const double onFrom = lastPlaced + OnSeconds;
    const double emptyFrom = lastPlaced + LastOnFor + Settle;
    double cpuAtStart = 0;
    double cpuOn = 0;
    double cpuEmpty = 0;
    const auto at = [&](double simSeconds, auto action) {
        QTimer::singleShot(int((simSeconds - seconds(simClock)) * 1000), &window, action);
    };
    at(onFrom, [&] { cpuAtStart = cpuSeconds(); });
    at(onFrom + IdleSeconds, [&] { cpuOn = cpuSeconds() - cpuAtStart; });
    at(emptyFrom, [&] { cpuAtStart = cpuSeconds(); });
    at(emptyFrom + IdleSeconds, [&] {
        cpuEmpty = cpuSeconds() - cpuAtStart;
        loop.quit();
    });
    loop.exec();

    std::printf("Bench mode: %d instruments placed one after another on the paced simulator "
                "(9600 7E2), polls every %.1f s, one read %.0f ms\n\n",
                Instruments, PollSeconds, readSeconds * 1000);
    std::printf("%-11s %7s %16s %10s %9s %8s %9s\n", "instrument", "serial", "placed-shown ms",
                "limit ms", "verified", "actions", "target");
    QList<double> latencies;
    bool ok = true;
    for (int i = 0; i < Instruments; ++i) {
        const Instrument &m = instruments[i];
        const double latency = m.shown < 0 ? -1 : m.shown - placedAt(i);
        if (m.shown >= 0)
            latencies.append(latency);
        ok = ok && m.shown >= 0 && m.verified;
        std::printf("%-11d %7s %16.0f %10.0f %9s %8d %9s\n", i + 1, qPrintable(serialOf(i)),
                    latency * 1000, (PollSeconds + readSeconds) * 1000, m.verified ? "yes" : "no",
                    m.actions, i == 0 ? "(first)" : "<= 3");
        ok = ok && (i == 0 || m.actions <= MaxActions);
    }
    std::printf("%-11s %7s %16.0f %10.0f\n\n", "median", "", median(latencies) * 1000,
                (PollSeconds + readSeconds) * 1000);
    std::printf("CPU while bench mode polls for %.0f s: %.3f %% with an instrument on the adapter, "
                "%.3f %% with the adapter empty\n",
                IdleSeconds, cpuOn / IdleSeconds * 100, cpuEmpty / IdleSeconds * 100);
    std::printf("targets: placed-shown <= poll interval + one read; at most %d actions per "
                "instrument after the first; CPU <= 0.5 %%\n",
                MaxActions);
    if (!ok)
        std::fprintf(stderr, "bench-benchmode: an instrument was not shown or not verified\n");
    return ok ? 0 : 1;
}
