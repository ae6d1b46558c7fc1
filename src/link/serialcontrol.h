#pragma once
// The serial control: the operations the program needs from one serial port.
//
// One instance serves the whole program (the main window owns it; the port dialog works on the
// same one). Ports are numbered 1 to 255 ("COM n"); the real implementation maps numbers to
// devices. Failing writes (a missing port, a port in use) do not throw: they record an error that
// hasError() reports until clearError(). Waiting code sleeps in the event loop; data, written
// output and a failing port come as events that end its sleep.

#include "portdiagnosis.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

class SerialControl : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // CommPort: the port number the next opening uses.
    virtual void setCommPort(int portNo) = 0;
    virtual int commPort() const = 0;

    // Settings: "9600,e,7,2" or "115200,n,8,1" (baud, parity n/e, data bits, stop bits).
    virtual void setSettings(const QString &settings) = 0;
    virtual QString settings() const = 0;

    // OpenState: true while a port is open; writing true opens CommPort, false closes.
    virtual bool openState() const = 0;
    virtual void setOpenState(bool open) = 0;

    // Whether port portNo has a device behind it now (it may still refuse to open).
    virtual bool isPresent(int portNo) = 0;
    // The numbers of the ports present now, in number order (asks the system afresh).
    virtual QList<int> presentPorts() = 0;

    // InCount, InText (one character per byte, taken out of the receive buffer), InCount = 0.
    virtual int inCount() = 0;
    virtual QByteArray inText() = 0;
    virtual void clearInput() = 0;

    // OutText queues a frame; OutCount is what has not gone yet.
    virtual void outText(const QByteArray &frame) = 0;
    virtual int outCount() = 0;

    // EventCode of the last communication event; 1009 is a parity error in received data.
    virtual int eventCode() const = 0;

    // What the user should see to tell ports apart: device path and, where known, description,
    // maker and serial number. Empty for a number that names no device.
    virtual QString portDescription(int portNo) = 0;
    // The device path behind port portNo, whether the device is there or not; empty where the
    // number names none or the control has no paths.
    virtual QString devicePath(int portNo)
    {
        Q_UNUSED(portNo);
        return {};
    }

    // Why port portNo cannot be opened now, in sentences for the user; an empty diagnosis where
    // nothing is known.
    virtual PortDiagnosis diagnose(int portNo)
    {
        Q_UNUSED(portNo);
        return {};
    }
    // The state of port portNo's device for the port list, read without opening it: empty when
    // nothing speaks against opening it, else one short sentence.
    virtual QString portCondition(int portNo)
    {
        Q_UNUSED(portNo);
        return {};
    }

    virtual bool hasError() const = 0;
    virtual void clearError() = 0;

    // Blocks up to msecs for received data without processing the application's events.
    virtual bool waitForInput(int msecs) = 0;

signals:
    void commEvent();
};

constexpr int ParityErrorEvent = 1009;
