#include "protocolserver.h"

#include "framelog.h"
#include "instrumentmodel.h"
#include "linewriter.h"
#include "ptydevice.h"

#include <algorithm>
#include <utility>

namespace {

constexpr char STX = 2;
constexpr char ETX = 3;
constexpr char ACK = 6;
constexpr char BEL = 7;
constexpr char LF = 10;
constexpr char CR = 13;
constexpr char NAK = 21;

// A command frame longer than this is line noise, not a command.
constexpr qsizetype MaxFrameLength = 256;
constexpr int SplitGapMs = 5;
constexpr int NoiseLeadMs = 20;
constexpr int EndlessChunk = 4096;

} // namespace

QByteArray frameChecksum(const QByteArray &text)
{
    unsigned sum = 2;
    for (const char c : text)
        sum += static_cast<unsigned char>(c);
    return QByteArray::number(sum % 256, 16).toUpper().rightJustified(2, '0');
}

ProtocolServer::ProtocolServer(const SimOptions &options, InstrumentModel &model, PtyDevice &device,
                               LineWriter &writer, FrameLog &log, QObject *parent)
    : QObject(parent),
      m_options(options),
      m_model(model),
      m_device(device),
      m_writer(writer),
      m_log(log)
{
    connect(&m_device, &PtyDevice::received, this, &ProtocolServer::receive);
    connect(&m_device, &PtyDevice::clientGone, this, &ProtocolServer::reset);
    connect(&m_arrivalTimer, &PreciseTimer::timeout, this, &ProtocolServer::takeDueBytes);
    m_endlessTimer.setInterval(2);
    connect(&m_endlessTimer, &QTimer::timeout, this, &ProtocolServer::streamEndless);
}

// With pacing, a character counts as received once it would have crossed the line.
void ProtocolServer::receive(const QByteArray &bytes)
{
    if (!m_options.baudPace)
        return process(bytes);
    const double now = simSeconds();
    for (const char c : bytes) {
        m_receiveFree = std::max(m_receiveFree, now) + m_options.charSeconds();
        m_arrivals.append({c, m_receiveFree});
    }
    takeDueBytes();
}

void ProtocolServer::takeDueBytes()
{
    const double now = simSeconds();
    QByteArray due;
    while (!m_arrivals.isEmpty() && m_arrivals.first().due <= now)
        due += m_arrivals.takeFirst().byte;
    if (!m_arrivals.isEmpty())
        m_arrivalTimer.start(m_arrivals.first().due - now);
    process(due);
}

void ProtocolServer::process(const QByteArray &bytes)
{
    for (const char c : bytes)
        processByte(c);
    if (m_options.echo && !m_echo.isEmpty())
        m_writer.send(m_echo);
    m_echo.clear();
    m_log.write(Direction::Received, m_ignored);
    m_ignored.clear();
}

void ProtocolServer::processByte(char c)
{
    switch (m_state) {
    case State::Idle:
        if (c == '@')
            return wakeUp();
        m_ignored += c;
        return;
    case State::Command:
        if (m_frame.isEmpty() && c == '@')
            return wakeUp();
        if (m_frame.isEmpty() && m_options.framing == Framing::Framed && c != STX) {
            m_ignored += c;
            return;
        }
        m_frame += c;
        if (c != ETX)
            m_echo += c;
        if (m_options.framing == Framing::Plain && c == CR)
            m_state = State::Terminator;
        else if (m_options.framing == Framing::Framed && c == ETX)
            return commandFrameDone();
        if (m_frame.size() > MaxFrameLength) {
            m_ignored += m_frame;
            m_frame.clear();
            m_state = State::Idle;
        }
        return;
    case State::Terminator:
        if (c == LF) {
            m_frame += c;
            return commandFrameDone();
        }
        if (c == '@') {
            m_ignored += m_frame;
            return wakeUp();
        }
        m_ignored += c;
        return;
    }
}

void ProtocolServer::wakeUp()
{
    m_log.write(Direction::Received, m_ignored);
    m_ignored.clear();
    m_log.write(Direction::Received, "@");
    if (m_endlessTimer.isActive()) {
        m_endlessTimer.stop();
        m_writer.clear();
    }
    m_frame.clear();
    m_state = State::Command;
    if (m_options.silent || !m_model.present())
        return;
    m_writer.send(m_options.framing == Framing::Plain ? QByteArray("\r\n>") : QByteArray(1, BEL));
}

void ProtocolServer::commandFrameDone()
{
    const QByteArray frame = std::exchange(m_frame, {});
    m_log.write(Direction::Received, frame);
    m_state = State::Idle;
    if (m_options.hangupAfter >= 0 && ++m_commands > m_options.hangupAfter) {
        m_writer.clear();
        m_device.hangUp();
        emit hungUp();
        return;
    }
    if (m_options.framing == Framing::Plain)
        return answer(frame.chopped(2));
    finishFramed(frame);
}

void ProtocolServer::finishFramed(const QByteArray &frame)
{
    const QByteArray inner = frame.mid(1, frame.size() - 2);
    if (inner.size() >= 2 && frameChecksum(inner.chopped(2)) == inner.right(2))
        return answer(inner.chopped(2));
    if (!m_options.noReply && m_model.present())
        m_writer.send(QByteArray(1, NAK), m_options.delayMs);
}

void ProtocolServer::answer(const QByteArray &command)
{
    if (m_options.noReply || !m_model.present())
        return;
    for (const QString &stalled : m_options.stalled) {
        if (command.startsWith(stalled.toLatin1()))
            return;
    }
    if (m_options.endless) {
        m_writer.send(m_options.framing == Framing::Plain ? QByteArray("#") : QByteArray(1, STX),
                      m_options.delayMs);
        m_endlessTimer.start();
        return;
    }
    int delayMs = m_options.delayMs;
    if (m_options.noise && m_options.framing == Framing::Plain) {
        m_writer.send("Battery OK\r\n", delayMs);
        delayMs += NoiseLeadMs;
    }
    const int piece = m_options.splitBytes;
    m_writer.send(replyFrame(m_model.respond(command)), delayMs, piece, piece > 0 ? SplitGapMs : 0);
}

QByteArray ProtocolServer::replyFrame(const SimReply &reply) const
{
    if (m_options.framing == Framing::Plain) {
        switch (reply.kind) {
        case SimReply::Kind::Payload:
            return '#' + reply.payload + "\r\n";
        case SimReply::Kind::Ack:
            return "#\r\n";
        case SimReply::Kind::Reject:
            return "#?\r\n";
        }
    }
    switch (reply.kind) {
    case SimReply::Kind::Payload:
        break;
    case SimReply::Kind::Ack:
        return QByteArray(1, ACK);
    case SimReply::Kind::Reject:
        return QByteArray(1, NAK);
    }
    QByteArray checksum =
        frameChecksum(m_options.badChecksum ? reply.payload + '\x01' : reply.payload);
    if (m_options.lowercaseChecksum)
        checksum = checksum.toLower();
    return STX + reply.payload + checksum + ETX;
}

// The reply that never ends: more text, never the line end or ETX, until the next wake-up.
void ProtocolServer::streamEndless()
{
    if (m_writer.isIdle())
        m_writer.send(QByteArray(EndlessChunk, 'x'));
}

void ProtocolServer::reset()
{
    m_endlessTimer.stop();
    m_arrivalTimer.stop();
    m_arrivals.clear();
    m_writer.clear();
    m_log.write(Direction::Received, m_ignored + m_frame);
    m_log.note("client closed the port");
    m_ignored.clear();
    m_frame.clear();
    m_state = State::Idle;
}
