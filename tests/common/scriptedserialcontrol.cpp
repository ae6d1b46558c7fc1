#include "scriptedserialcontrol.h"

#include <QThread>
#include <algorithm>
#include <limits>
#include <utility>

ScriptedSerialControl::ScriptedSerialControl(QObject *parent) : SerialControl(parent), m_timer(this)
{
    m_clock.start();
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { runDue(true); });
}

void ScriptedSerialControl::reply(const QByteArray &frame, const QByteArray &bytes, int delayMs)
{
    m_replies[frame].append(bytes);
    m_replyDelays[frame].append(delayMs);
}

void ScriptedSerialControl::deliver(const QByteArray &bytes, int delayMs)
{
    schedule(
        delayMs,
        [this, bytes] {
            if (!m_open)
                return;
            m_input += bytes;
        },
        false);
}

void ScriptedSerialControl::raiseCommEvent(int code, int delayMs)
{
    schedule(
        delayMs,
        [this, code] {
            m_eventCode = code;
            emit commEvent();
        },
        false);
}

void ScriptedSerialControl::failWithResourceError(int delayMs)
{
    schedule(
        delayMs,
        [this] {
            m_open = false;
            m_error = true;
            m_input.clear();
        },
        false);
}

void ScriptedSerialControl::atEventLoop(int delayMs, std::function<void()> action)
{
    schedule(delayMs, std::move(action), true);
}

QByteArray ScriptedSerialControl::allWritten() const
{
    QByteArray all;
    for (const QByteArray &frame : written)
        all += frame;
    return all;
}

void ScriptedSerialControl::setOpenState(bool open)
{
    if (!open) {
        if (m_open)
            ++closings;
        m_open = false;
        m_input.clear();
        return;
    }
    if (m_open)
        return;
    if (!portsPresent.contains(m_commPort) || refusedPorts.contains(m_commPort)) {
        m_error = true;
        return;
    }
    m_open = true;
    openings.append({m_commPort, m_settings});
}

QByteArray ScriptedSerialControl::inText()
{
    return std::exchange(m_input, QByteArray());
}

void ScriptedSerialControl::outText(const QByteArray &frame)
{
    if (!m_open) {
        m_error = true;
        return;
    }
    written.append(frame);
    m_pendingOut = frame.size();
    m_drainedAtMs = m_clock.elapsed() + drainMs;
    // The drain has no event of its own; a timer at the moment it completes ends the link's sleep.
    if (!neverDrains)
        schedule(
            drainMs, [] {}, false);

    auto replies = m_replies.find(frame);
    if (replies != m_replies.end()) {
        QList<int> &delays = m_replyDelays[frame];
        deliver(replies->first(), delays.first());
        if (replies->size() > 1) {
            replies->removeFirst();
            delays.removeFirst();
        }
    }
    if (onWrite)
        onWrite(frame);
}

int ScriptedSerialControl::outCount()
{
    if (!m_open || (!neverDrains && m_clock.elapsed() >= m_drainedAtMs))
        return 0;
    return int(m_pendingOut);
}

QList<int> ScriptedSerialControl::presentPorts()
{
    QList<int> ports = portsPresent.values();
    std::sort(ports.begin(), ports.end());
    return ports;
}

QString ScriptedSerialControl::portDescription(int portNo)
{
    return portsPresent.contains(portNo) ? QStringLiteral("/dev/scripted%1").arg(portNo)
                                         : QString();
}

bool ScriptedSerialControl::waitForInput(int msecs)
{
    ++inputWaits;
    const qint64 until = m_clock.elapsed() + std::max(0, msecs);
    for (;;) {
        runDue(false);
        if (!m_input.isEmpty())
            return true;
        if (!m_open)
            return false;
        const qint64 now = m_clock.elapsed();
        if (now >= until)
            return false;
        QThread::msleep(quint64(std::min(until, nextDueMs(false)) - now));
    }
}

void ScriptedSerialControl::schedule(int delayMs, std::function<void()> run, bool eventLoopOnly)
{
    const qint64 due = m_clock.elapsed() + std::max(0, delayMs);
    // Keep the list in due order; equal times run in the order they were scheduled.
    const auto at = std::upper_bound(m_actions.begin(), m_actions.end(), due,
                                     [](qint64 t, const Action &a) { return t < a.dueMs; });
    m_actions.insert(at, Action{due, std::move(run), eventLoopOnly});
    armTimer();
}

void ScriptedSerialControl::runDue(bool fromEventLoop)
{
    for (;;) {
        const qint64 now = m_clock.elapsed();
        const auto due = std::find_if(m_actions.begin(), m_actions.end(), [&](const Action &a) {
            return a.dueMs <= now && (fromEventLoop || !a.eventLoopOnly);
        });
        if (due == m_actions.end())
            break;
        const std::function<void()> run = due->run;
        m_actions.erase(due);
        run();
    }
    armTimer();
}

void ScriptedSerialControl::armTimer()
{
    const qint64 next = nextDueMs(true);
    if (next == std::numeric_limits<qint64>::max()) {
        m_timer.stop();
        return;
    }
    m_timer.start(int(std::max<qint64>(0, next - m_clock.elapsed())));
}

qint64 ScriptedSerialControl::nextDueMs(bool fromEventLoop) const
{
    for (const Action &action : m_actions) {
        if (fromEventLoop || !action.eventLoopOnly)
            return action.dueMs;
    }
    return std::numeric_limits<qint64>::max();
}
