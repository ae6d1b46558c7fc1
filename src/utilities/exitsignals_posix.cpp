#include "exitsignals.h"

#include "exitrequest.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The self-pipe: the handler writes one byte, the event loop reads it.
int signalPipe[2] = {-1, -1};

void noteSignal(int)
{
    noteExitRequest();
    const int savedErrno = errno;
    const char byte = 1;
    // A full pipe already holds a request; nothing more to say.
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = savedErrno;
}

} // namespace

ExitSignals::ExitSignals(QObject *parent) : QObject(parent)
{
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ExitSignals::take);

    struct sigaction action
    { };
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

void ExitSignals::take()
{
    char bytes[16];
    while (::read(signalPipe[0], bytes, sizeof bytes) > 0) { }
    emit received();
}
