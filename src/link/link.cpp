#include "link.h"

Q_LOGGING_CATEGORY(lcLink, "veltra.link", QtWarningMsg)

Link::Link(SerialControl &comm, const Clock &clock, QObject *parent)
    : QObject(parent),
      Comm1(comm),
      m_clock(clock)
{
    // The table is ready from the start, so that even a failure before the first
    // identification has its "Veltra" title.
    InitDeviceTables();
    connect(&Comm1, &SerialControl::commEvent, this, &Link::Comm1_CommEvent);
}

void Link::Comm1_CommEvent()
{
    if (Comm1.eventCode() == ParityErrorEvent)
        ParityError = 1;
}

QString Link::deviceName() const
{
    return DeviceNameTable.value(Instrument.DeviceType);
}

ConnectionSettings Link::settings() const
{
    return {ComPortNo, BluetoothOn, BtPromptTimeout, BtReplyTimeout};
}

void Link::setSettings(const ConnectionSettings &settings)
{
    ComPortNo = settings.ComPortNo;
    BluetoothOn = settings.BluetoothOn;
    BtPromptTimeout = settings.BtPromptTimeout;
    BtReplyTimeout = settings.BtReplyTimeout;
}

Link::ScopedProfile::ScopedProfile(Link &link, qint16 bluetoothOn)
    : m_link(link),
      m_bluetoothOn(link.BluetoothOn)
{
    m_link.BluetoothOn = bluetoothOn;
}

Link::ScopedProfile::~ScopedProfile()
{
    m_link.BluetoothOn = m_bluetoothOn;
}

Link::ScopedEventfulWait::ScopedEventfulWait(Link &link)
    : m_link(link),
      m_eventful(link.m_eventfulPrompt)
{
    m_link.m_eventfulPrompt = true;
}

Link::ScopedEventfulWait::~ScopedEventfulWait()
{
    m_link.m_eventfulPrompt = m_eventful;
}
