#pragma once
// Test fixture: runs veltra-sim (the path comes from the environment variable VELTRA_SIM) on its
// own pseudo-terminal, optionally registers it as a port in a settings file, reads back the frames
// it logged, and stops it when the fixture goes away. Several fixtures may run at once.

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

// Skips the test function where the build named no simulator.
#define SKIP_WITHOUT_SIMULATOR()                                                                   \
    do {                                                                                           \
        if (SimInstrument::simulatorPath().isEmpty())                                              \
            QSKIP("VELTRA_SIM is not set: the virtual instrument is needed");                      \
    } while (false)

struct SimFrame
{
    enum class Direction { Received, Sent };
    double seconds = 0;
    Direction direction = Direction::Received;
    QByteArray bytes;
};

class SimInstrument
{
public:
    SimInstrument() = default;
    ~SimInstrument();
    SimInstrument(const SimInstrument &) = delete;
    SimInstrument &operator=(const SimInstrument &) = delete;

    // Starts the simulator with these options (plus its log) and waits up to 5 s for its device
    // path. With portNo > 0 the simulator enters itself as that port in iniFile. On failure
    // errorText() says why.
    bool start(const QStringList &arguments, int portNo = 0, const QString &iniFile = QString());
    // Runs in the simulator's process before it starts (limits for it alone); set before start().
    void setChildSetup(std::function<void()> setup) { m_process.setChildProcessModifier(setup); }
    void stop();

    QString devicePath() const { return m_devicePath; }
    QString errorText() const { return m_error; }
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    QString logPath() const;

    // Every frame of the log so far, in order.
    QList<SimFrame> frames() const;
    // Only the frames the simulator received (what the program sent), or only those it sent.
    QList<QByteArray> received() const;
    QList<QByteArray> sent() const;
    // Received command frames: everything the simulator took in except the wake-up "@".
    QList<QByteArray> commands() const;

    // Waits up to msecs for the log to hold at least `count` frames of `direction`. The simulator
    // logs a frame once it has written or read it, which may be after the program has its reply
    // or has given up waiting: a test waits for the lines it checks before reading the log.
    bool waitForFrames(SimFrame::Direction direction, qsizetype count, int msecs = 5000) const;

    // Parses the log's text: lines "<seconds> RX|TX "<bytes>"" with bytes escaped as \xNN.
    static QList<SimFrame> parseLog(const QByteArray &text);

    // Where veltra-sim lives, from VELTRA_SIM; empty when unset.
    static QString simulatorPath();

private:
    QList<QByteArray> bytesOf(SimFrame::Direction direction) const;

    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_devicePath;
    QString m_error;
};
