#pragma once
// A single-shot timer with microsecond precision (Linux timerfd in the event loop). Qt's timers
// round to milliseconds, and at 9600 baud a character takes 1.15 ms: paced characters would
// each come up to a millisecond late.

#include <QObject>

class QSocketNotifier;

class PreciseTimer : public QObject
{
    Q_OBJECT
public:
    explicit PreciseTimer(QObject *parent = nullptr);
    ~PreciseTimer() override;
    PreciseTimer(const PreciseTimer &) = delete;
    PreciseTimer &operator=(const PreciseTimer &) = delete;

    // Fires once, `seconds` from now (at once when 0 or less); a new start replaces the old one.
    void start(double seconds);
    void stop();

signals:
    void timeout();

private:
    void expired();

    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
};
