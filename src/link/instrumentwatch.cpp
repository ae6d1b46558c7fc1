#include "instrumentwatch.h"

#include "devicewatch.h"
#include "eventwait.h"
#include "link.h"

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
    // Skipped, not queued: a transfer of the owner is on, the owner is busy, or the adapter has no
    // port open.
    if (m_link.inTransfer() != 0 || !m_link.Comm1.openState() || (m_idle && !m_idle())) {
        m_timer.start(m_intervalMs);
        return;
    }
    const unsigned changes = m_adapterChanges;
    bool answered = false;
    {
        const QScopedValueRollback busy(m_polling, true);
        const Link::ScopedEventfulWait eventful(m_link);
        answered = m_link.DoTransfer(QStringLiteral("#R"), 0) == 1;
    }
    // Stopped, or the adapter came or went, while the poll waited: what it saw is no news.
    if (!m_running || changes != m_adapterChanges)
        return;
    // The next poll is timed from the end of this one, before the handlers below run.
    m_timer.start(m_intervalMs);
    const QString serialNo = answered ? m_link.responseText().trimmed() : QString();
    if (serialNo == m_serialNo)
        return;
    m_serialNo = serialNo;
    if (serialNo.isEmpty())
        emit removed();
    else
        emit placed(serialNo);
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
