// veltra-sim: a virtual Veltra instrument on a pseudo-terminal, for tests, benchmarks,
// demonstrations and training. See --help.

#include "framelog.h"
#include "instrumentmodel.h"
#include "linewriter.h"
#include "portentry.h"
#include "protocolserver.h"
#include "ptydevice.h"
#include "simoptions.h"
#include "simscript.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

int stopPipe[2] = {-1, -1};

void requestStop(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(stopPipe[1], &byte, 1);
}

// SIGTERM and SIGINT end the event loop through a pipe, so the exit runs the normal clean-up.
bool installStopSignals()
{
    if (::pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action
    { };
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    return sigaction(SIGTERM, &action, nullptr) == 0 && sigaction(SIGINT, &action, nullptr) == 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    int exitCode = 0;
    const std::optional<SimOptions> parsed = parseSimOptions(app.arguments(), exitCode);
    if (!parsed)
        return exitCode;
    const SimOptions &options = *parsed;

    if (!installStopSignals()) {
        std::perror("veltra-sim: signals");
        return 1;
    }
    QSocketNotifier stopNotifier(stopPipe[0], QSocketNotifier::Read);
    QObject::connect(&stopNotifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);

    FrameLog log;
    if (!log.open(options.logFile)) {
        std::fprintf(stderr, "veltra-sim: cannot write log %s\n", qPrintable(options.logFile));
        return 1;
    }
    PtyDevice device;
    QString error;
    if (!device.open(error)) {
        std::fprintf(stderr, "veltra-sim: cannot open a pseudo-terminal: %s\n", qPrintable(error));
        return 1;
    }
    if (options.registerPort > 0
        && !writePortEntry(options.iniFile, options.registerPort, device.path())) {
        std::fprintf(stderr, "veltra-sim: cannot write %s\n", qPrintable(options.iniFile));
        return 1;
    }

    std::optional<QList<SimStep>> steps = QList<SimStep>();
    if (!options.scriptFile.isEmpty()) {
        QFile file(options.scriptFile);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "veltra-sim: cannot read %s\n", qPrintable(options.scriptFile));
            return 1;
        }
        // A script is a handful of lines; a larger file is not one.
        steps = parseSimScript(file.read(1 << 20), error);
        if (!steps) {
            std::fprintf(stderr, "veltra-sim: %s: %s\n", qPrintable(options.scriptFile),
                         qPrintable(error));
            return 2;
        }
    }

    InstrumentModel model(options);
    LineWriter writer(device, log, options.baudPace ? options.charSeconds() : 0);
    ProtocolServer server(options, model, device, writer, log);
    QObject::connect(&server, &ProtocolServer::hungUp, &app, &QCoreApplication::quit);

    playSimScript(*steps, model, &app);
    std::printf("%s\n", qPrintable(device.path()));
    std::fflush(stdout);
    return app.exec();
}
