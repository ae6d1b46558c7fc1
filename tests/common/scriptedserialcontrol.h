#pragma once
// An in-memory serial control for tests that must decide exactly when bytes arrive and which
// error comes.
//
// Ports: `portsPresent` holds the numbers that exist (isPresent, presentPorts);
// opening a number in `refusedPorts` or one that is not present fails and records an error.
// Opening records (port number, settings) in `openings`.
//
// Traffic: every frame given to outText() is recorded in `written` (allWritten() joins them) and
// then answered:
//   - by the rules added with reply(frame, bytes, delayMs): each time exactly `frame` is written,
//     `bytes` arrive after delayMs. Several rules for one frame answer in turn; the last repeats.
//   - by `onWrite`, called for every frame after the rules, for conversations that need state
//     (deliver(), raiseCommEvent() and friends may be called from it).
// Output drains at once unless `drainMs` is set (outCount() stays at the frame's size that long)
// or `neverDrains` is set.
//
// Timing: deliver(bytes, ms), raiseCommEvent(code, ms) and failWithResourceError(ms) take effect
// after ms milliseconds of real time, in order. They happen in the event loop (a timer) and also
// inside waitForInput(), which blocks like the real port without processing events. Actions
// scheduled with atEventLoop(ms, fn) run only from the event loop: they stand for timer, button
// and other event handlers of the program. Each arrival, drain and failure is a timer
// event, so it ends the link's sleep like the real port's events do.

#include "serialcontrol.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <QTimer>
#include <functional>

class ScriptedSerialControl final : public SerialControl
{
public:
    explicit ScriptedSerialControl(QObject *parent = nullptr);

    // Set-up.
    QSet<int> portsPresent{1};
    QSet<int> refusedPorts;
    // What diagnose() says about a port.
    QHash<int, PortDiagnosis> diagnoses;
    int drainMs = 0;
    bool neverDrains = false;
    std::function<void(const QByteArray &frame)> onWrite;

    void reply(const QByteArray &frame, const QByteArray &bytes, int delayMs = 0);
    void deliver(const QByteArray &bytes, int delayMs = 0);
    void raiseCommEvent(int code, int delayMs = 0);
    // The device goes away: the port closes, an error is recorded, waits end.
    void failWithResourceError(int delayMs = 0);
    void atEventLoop(int delayMs, std::function<void()> action);

    // What happened.
    QList<QByteArray> written;
    QByteArray allWritten() const;
    QList<QPair<int, QString>> openings;
    int closings = 0;
    // Calls of waitForInput(), the wait that must not process events.
    int inputWaits = 0;

    // SerialControl.
    void setCommPort(int portNo) override { m_commPort = portNo; }
    int commPort() const override { return m_commPort; }
    void setSettings(const QString &settings) override { m_settings = settings; }
    QString settings() const override { return m_settings; }
    bool openState() const override { return m_open; }
    void setOpenState(bool open) override;
    bool isPresent(int portNo) override { return portsPresent.contains(portNo); }
    QList<int> presentPorts() override;
    int inCount() override { return int(m_input.size()); }
    QByteArray inText() override;
    void clearInput() override { m_input.clear(); }
    void outText(const QByteArray &frame) override;
    int outCount() override;
    int eventCode() const override { return m_eventCode; }
    QString portDescription(int portNo) override;
    PortDiagnosis diagnose(int portNo) override { return diagnoses.value(portNo); }
    bool hasError() const override { return m_error; }
    void clearError() override { m_error = false; }
    bool waitForInput(int msecs) override;

private:
    struct Action
    {
        qint64 dueMs;
        std::function<void()> run;
        bool eventLoopOnly;
    };

    void schedule(int delayMs, std::function<void()> run, bool eventLoopOnly);
    // Runs the due actions (those allowed here) in order; rearms the timer.
    void runDue(bool fromEventLoop);
    void armTimer();
    qint64 nextDueMs(bool fromEventLoop) const;

    QElapsedTimer m_clock;
    QTimer m_timer;
    QList<Action> m_actions;
    QHash<QByteArray, QList<QByteArray>> m_replies;
    QHash<QByteArray, QList<int>> m_replyDelays;
    QByteArray m_input;
    qint64 m_drainedAtMs = 0;
    qsizetype m_pendingOut = 0;
    int m_commPort = 1;
    QString m_settings;
    bool m_open = false;
    bool m_error = false;
    int m_eventCode = 0;
};
