#pragma once
// The log of every frame the virtual instrument received and sent, one line per frame:
//
//   <seconds> RX|TX "<bytes>"
//
// seconds: monotonic time since the simulator started, six decimals, taken when the frame's last
// byte was received or written. Bytes 0x20..0x7E stand for themselves except '"' and '\', which
// like every other byte are written \xNN (two upper-case hex digits). Lines starting with '#' are
// comments (the first one gives the wall-clock start time). Each line is flushed at once.

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>

// Seconds since the simulator started, on the monotonic clock that every timing of the simulator
// and its log uses.
double simSeconds();

enum class Direction { Received, Sent };

class FrameLog
{
public:
    // Without a path nothing is logged.
    bool open(const QString &path);
    void write(Direction direction, const QByteArray &bytes);
    // A comment line "# <seconds> <text>" for what happened on the line besides frames.
    void note(const QByteArray &text);

    static QByteArray escape(const QByteArray &bytes);

private:
    QFile m_file;
};
