#include "linewriter.h"

#include "framelog.h"
#include "ptydevice.h"

#include <algorithm>

LineWriter::LineWriter(PtyDevice &device, FrameLog &log, double charSeconds, QObject *parent)
    : QObject(parent),
      m_device(device),
      m_log(log),
      m_charSeconds(charSeconds)
{
    connect(&m_timer, &PreciseTimer::timeout, this, &LineWriter::pump);
}

void LineWriter::send(const QByteArray &frame, int delayMs, int pieceSize, int gapMs)
{
    if (frame.isEmpty())
        return;
    m_queue.enqueue({frame, 0, simSeconds() + delayMs / 1000.0, pieceSize, gapMs / 1000.0});
    pump();
}

void LineWriter::clear()
{
    m_queue.clear();
    m_timer.stop();
}

void LineWriter::pump()
{
    while (!m_queue.isEmpty()) {
        Pending &item = m_queue.head();
        const double now = simSeconds();
        if (item.notBefore > now)
            return schedule(item.notBefore);
        const qsizetype pieceEnd = item.pieceSize > 0
            ? std::min(item.bytes.size(), (item.sent / item.pieceSize + 1) * item.pieceSize)
            : item.bytes.size();
        qsizetype count = pieceEnd - item.sent;
        double lineFree = std::max(m_lineFree, item.notBefore);
        if (m_charSeconds > 0) {
            // A character may go once its last bit would have left the line.
            count = 0;
            while (item.sent + count < pieceEnd && lineFree + m_charSeconds <= now) {
                lineFree += m_charSeconds;
                ++count;
            }
            if (count == 0)
                return schedule(lineFree + m_charSeconds);
        } else {
            lineFree = now;
        }
        const qsizetype written = m_device.write(item.bytes.mid(item.sent, count));
        if (written == 0 && !m_device.isOpen()) {
            clear();
            return;
        }
        m_lineFree = lineFree;
        item.sent += written;
        if (item.sent == item.bytes.size()) {
            m_log.write(Direction::Sent, item.bytes);
            m_queue.dequeue();
        } else if (item.sent == pieceEnd) {
            item.notBefore = now + item.gap;
        } else if (written < count) {
            // The terminal is full: try again shortly.
            item.notBefore = now + 0.001;
        }
    }
}

void LineWriter::schedule(double at)
{
    m_timer.start(at - simSeconds());
}
