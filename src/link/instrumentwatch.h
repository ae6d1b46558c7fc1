#pragma once
// Notices instruments placed on the adapter and taken off, and the adapter plugged and unplugged:
// while running, it asks the instrument for its serial number ("#R", read-only) at every poll.
//
// Contract:
// - Polls only while running, while the port is open and while the link is in no transfer or
//   exchange (a refused poll would read as an instrument taken off);
//   nothing is sent otherwise. With an InstrumentOwner (setOwner) a poll is one of its requests
//   and is skipped while another runs: this thread goes on while the owner's waits for the
//   instrument. Without one, a poll's prompt waits sleep in the event loop
//   (Link::ScopedEventfulWait), so handlers run inside a poll: a transfer they start gets -1
//   (DoTransfer refuses re-entry). Either way polling() tells them a poll is on.
// - placed(serialNo) when an answer brings another serial number than the last one seen, or the
//   first one after none; removed() when the instrument that answered stops answering. Both
//   come after the poll's transfer has ended, so their handlers may use the link at once; the
//   next poll is timed from the end of the handlers.
//   forget() makes the next answer count as placed again (a read that failed after placed()).
// - unplugged() and plugged() pass on the device watch's presenceChanged. The watch neither
//   opens nor closes the port: that is its owner's, in its own handler of the device watch (the
//   window already has one). Unplugged forgets the instrument without removed() and stops the
//   polls; plugged polls at once, from the event loop after the presence handlers have run, so it finds the port
//   opened again.
// - The link and the device watch belong to the owner and outlive this object.
// - The frames of the polls are traced as every transfer's (QT_LOGGING_RULES="veltra.link.debug=true").

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>

class DeviceWatch;
class InstrumentOwner;
class Link;

class InstrumentWatch : public QObject
{
    Q_OBJECT
public:
    static constexpr double DefaultPollSeconds = 2;

    InstrumentWatch(Link &link, DeviceWatch &adapter, QObject *parent = nullptr);

    void setPollSeconds(double seconds);
    // Polls only while this says the owner is idle (a window with a box open is not); a poll
    // that finds it busy is skipped like one during a transfer. None: always idle.
    void setIdleCheck(std::function<bool()> idle) { m_idle = std::move(idle); }
    // Polls become requests of `owner`, whose link must be this watch's link.
    void setOwner(InstrumentOwner *owner) { m_owner = owner; }
    // start() polls at once, then every poll interval; stop() sends nothing more (a poll under
    // way ends with its transfer, and reports nothing).
    void start();
    void stop();
    bool running() const { return m_running; }
    bool polling() const { return m_polling; }
    void forget() { m_serialNo.clear(); }

signals:
    void placed(const QString &serialNo);
    void removed();
    void unplugged();
    void plugged();

private:
    void poll();
    // What a poll saw: the reply to "#R", none when the transfer failed.
    void polled(const std::optional<QString> &reply, unsigned changes, qint64 transferMs);
    void adapterChanged(bool present);

    Link &m_link;
    InstrumentOwner *m_owner = nullptr;
    std::function<bool()> m_idle;
    QTimer m_timer;
    // Kept apart from the timer's: a poll at once starts the timer with 0, which would become its
    // interval.
    int m_intervalMs = 0;
    QString m_serialNo; // of the instrument that answered last; empty while none does
    bool m_running = false;
    bool m_polling = false;
    // Counts the adapter's changes, so a poll that saw one while it waited reports nothing.
    unsigned m_adapterChanges = 0;
};
