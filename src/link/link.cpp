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
