#pragma once
// Requests to end the program from outside: SIGTERM, SIGINT and SIGHUP (a logout sends SIGTERM
// or SIGHUP, a terminal SIGINT). The signal handler only notes the signal; received() comes later
// from the event loop, also from the loops that run while a transfer waits. So a save, which
// never processes events, always runs to its end before the program acts on the request.
//
// The POSIX part lives in exitsignals_posix.cpp; another platform supplies its own.

#include <QObject>

class QSocketNotifier;

class ExitSignals : public QObject
{
    Q_OBJECT
public:
    // Installs the handlers; one instance per process.
    explicit ExitSignals(QObject *parent = nullptr);

signals:
    void received();

private:
    void take();

    QSocketNotifier *m_notifier = nullptr;
};
