#include "instrumentwatch.h"

#include "devicewatch.h"
#include "eventwait.h"
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
    // Skipped, not queued: an exchange of the owner is on, the owner is busy, or the adapter has
    // no port open.
    if (m_link.inTransfer() != 0 || m_link.exchangeBusy() != 0 || !m_link.Comm1.openState()
        || (m_idle && !m_idle())) {
        m_timer.start(m_intervalMs);
        return;
    }
    const unsigned changes = m_adapterChanges;
    bool answered = false;
    QElapsedTimer transfer;
    transfer.start();
    {
        const QScopedValueRollback busy(m_polling, true);
        const Link::ScopedEventfulWait eventful(m_link);
        answered = m_link.DoTransfer(QStringLiteral("#R"), 0) == 1;
    }
    // Stopped, or the adapter came or went, while the poll waited: what it saw is no news.
    if (!m_running || changes != m_adapterChanges)
        return;
    const qint64 transferMs = transfer.elapsed();
    const QString serialNo = answered ? m_link.responseText().trimmed() : QString();
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
