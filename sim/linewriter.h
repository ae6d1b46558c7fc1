#pragma once
// Sends the instrument's frames: after an optional delay, in pieces with gaps when asked, and
// with pacing, each character no earlier than its time on the line at the configured speed.
// Every frame goes to the log once its last byte is out.

#include "precisetimer.h"

#include <QByteArray>
#include <QObject>
#include <QQueue>

class FrameLog;
class PtyDevice;

class LineWriter : public QObject
{
    Q_OBJECT
public:
    // charSeconds 0: no pacing, a frame (or piece) goes out at once.
    LineWriter(PtyDevice &device, FrameLog &log, double charSeconds, QObject *parent = nullptr);

    void send(const QByteArray &frame, int delayMs = 0, int pieceSize = 0, int gapMs = 0);
    // Drops everything not yet sent (the client went away, a new wake-up came).
    void clear();
    bool isIdle() const { return m_queue.isEmpty(); }

private:
    struct Pending
    {
        QByteArray bytes;
        qsizetype sent = 0;
        double notBefore = 0;
        int pieceSize = 0;
        double gap = 0;
    };

    void pump();
    void schedule(double at);

    PtyDevice &m_device;
    FrameLog &m_log;
    double m_charSeconds;
    double m_lineFree = 0;
    QQueue<Pending> m_queue;
    PreciseTimer m_timer;
};
