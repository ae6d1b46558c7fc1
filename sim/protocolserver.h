#pragma once
// The instrument's side of the protocol: wake-up "@" and prompt, the command frame and its
// terminator, the checksum, and the reply in the configured framing, with the faults the options
// ask for.

#include "precisetimer.h"
#include "simoptions.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTimer>

class FrameLog;
class InstrumentModel;
class LineWriter;
class PtyDevice;
struct SimReply;

// (2 + sum of the byte codes) mod 256 as two upper-case hex digits.
QByteArray frameChecksum(const QByteArray &text);

class ProtocolServer : public QObject
{
    Q_OBJECT
public:
    ProtocolServer(const SimOptions &options, InstrumentModel &model, PtyDevice &device,
                   LineWriter &writer, FrameLog &log, QObject *parent = nullptr);

signals:
    // The device hung up on purpose (--hangup-after); the simulator ends.
    void hungUp();

private:
    enum class State { Idle, Command, Terminator };

    void receive(const QByteArray &bytes);
    void takeDueBytes();
    void process(const QByteArray &bytes);
    void processByte(char c);
    void wakeUp();
    void commandFrameDone();
    void finishFramed(const QByteArray &frame);
    void answer(const QByteArray &command);
    QByteArray replyFrame(const SimReply &reply) const;
    void streamEndless();
    void reset();

    const SimOptions &m_options;
    InstrumentModel &m_model;
    PtyDevice &m_device;
    LineWriter &m_writer;
    FrameLog &m_log;

    State m_state = State::Idle;
    QByteArray m_frame; // command frame received so far, terminator included at the end
    QByteArray m_ignored; // bytes outside any frame, logged as they come
    QByteArray m_echo; // frame bytes of this batch, sent back with --echo
    int m_commands = 0;

    // Received characters waiting for their time on the line (--baud-pace).
    struct Arrival
    {
        char byte;
        double due;
    };
    QList<Arrival> m_arrivals;
    double m_receiveFree = 0;
    PreciseTimer m_arrivalTimer;
    QTimer m_endlessTimer;
};
