#include "instrumentwatch.h"

#include "devicewatch.h"
#include "eventwait.h"
#include "instrumentowner.h"
#include "link.h"

#include <QElapsedTimer>
#include <QScopedValueRollback>

InstrumentWatch::InstrumentWatch(Link &link, DeviceWatch &adapter, QObject *parent)
    : QObject(parent),
      m_link(link)
{
    m_timer.setSingleShot(true);
    setPollSeconds(DefaultPollSeconds);
    connect(&m_timer, &QTimer::timeout, this, &InstrumentWatch::poll);
    connect(&adapter, &DeviceWatch::presenceChanged, this, &InstrumentWatch::adapterChanged);
}

void InstrumentWatch::setPollSeconds(double seconds)
{
    m_intervalMs = waitMs(seconds);
}

void InstrumentWatch::start()
{
    m_running = true;
    m_timer.start(0);
}

void InstrumentWatch::stop()
{
    m_running = false;
    m_timer.stop();
}

void InstrumentWatch::poll()
{
    if (!m_running || m_polling)
        return;
    // Skipped, not queued: a request or an exchange of the owner is on, the owner is busy, or the
    // adapter has no port open.
    if ((m_owner && m_owner->busy()) || m_link.inTransfer() != 0 || m_link.exchangeBusy() != 0
        || !m_link.Comm1.openState() || (m_idle && !m_idle())) {
        m_timer.start(m_intervalMs);
        return;
    }
    const unsigned changes = m_adapterChanges;
    QElapsedTimer transfer;
    transfer.start();
    const auto askSerialNo = [](Link &link) {
        return link.DoTransfer(QStringLiteral("#R"), 0) == 1
            ? std::optional<QString>(link.responseText())
            : std::nullopt;
    };
    if (m_owner) {
        m_polling = true;
        m_owner->request(this, askSerialNo,
                         [this, changes, transfer](const std::optional<QString> &reply) {
                             m_polling = false;
                             polled(reply, changes, transfer.elapsed());
                         });
        return;
    }
    std::optional<QString> reply;
    {
        const QScopedValueRollback busy(m_polling, true);
        const Link::ScopedEventfulWait eventful(m_link);
        reply = askSerialNo(m_link);
    }
    polled(reply, changes, transfer.elapsed());
}

void InstrumentWatch::polled(const std::optional<QString> &reply, unsigned changes,
                             qint64 transferMs)
{
    // Stopped, or the adapter came or went, while the poll waited: what it saw is no news.
    if (!m_running || changes != m_adapterChanges)
        return;
    const QString serialNo = reply ? reply->trimmed() : QString();
    if (serialNo != m_serialNo) {
        m_serialNo = serialNo;
        if (serialNo.isEmpty())
            emit removed();
        else
            emit placed(serialNo);
    }
    // Timed from the end of the handlers: a read of the instrument placed is no poll's business.
    // The poll's own wait counts: polls of an empty adapter, which wait for three prompts, follow
    // one another, so an instrument placed is seen within an interval.
    if (m_running && !m_timer.isActive())
        m_timer.start(int(qMax(qint64(0), m_intervalMs - transferMs)));
}

void InstrumentWatch::adapterChanged(bool present)
{
    ++m_adapterChanges;
    m_serialNo.clear();
    if (present) {
        emit plugged();
        if (m_running)
            m_timer.start(0);
    } else {
        m_timer.stop();
        emit unplugged();
    }
}
