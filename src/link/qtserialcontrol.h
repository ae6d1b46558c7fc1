#pragma once
// The serial control on QSerialPort.
//
// Ports are opened by path through PortMap, so pseudo-terminals, /dev/serial/by-id links and
// rfcomm nodes work like any other port. On Linux, parity marking on the native terminal brings
// back the parity-error event (EventCode 1009) that Qt 6 no longer reports. When the device goes
// away (adapter unplugged) the port closes, the error is recorded and the link's wait ends.

#include "paritymarkdecoder.h"
#include "portmap.h"
#include "serialcontrol.h"

#include <QElapsedTimer>
#include <QSerialPort>

class QtSerialControl final : public SerialControl
{
public:
    // iniPath: the settings file holding the port map; empty means IniFileName at each use.
    explicit QtSerialControl(PortMap::SystemPortSource systemPorts = &PortMap::systemPorts,
                             QString iniPath = QString(), QObject *parent = nullptr);
    ~QtSerialControl() override;

    void setCommPort(int portNo) override { m_commPort = portNo; }
    int commPort() const override { return m_commPort; }
    void setSettings(const QString &settings) override;
    QString settings() const override { return m_settings; }
    bool openState() const override { return m_port.isOpen(); }
    void setOpenState(bool open) override;
    bool isPresent(int portNo) override;
    QList<int> presentPorts() override;
    int inCount() override;
    QByteArray inText() override;
    void clearInput() override;
    void outText(const QByteArray &frame) override;
    int outCount() override;
    int eventCode() const override { return m_eventCode; }
    QString portDescription(int portNo) override;
    QString devicePath(int portNo) override;
    PortDiagnosis diagnose(int portNo) override;
    QString portCondition(int portNo) override;
    bool hasError() const override { return m_error; }
    void clearError() override { m_error = false; }
    bool waitForInput(int msecs) override;

private:
    QString iniPath() const;
    void updateMap();
    bool applySettings();
    bool openDevice(const QString &path);
    void pullInput();
    void onError(QSerialPort::SerialPortError error);

    QSerialPort m_port;
    PortMap m_map;
    PortDiagnoser m_diagnoser;
    // The port whose last opening failed, and what the serial port said about it.
    int m_failedPortNo = 0;
    QString m_failedText;
    QString m_iniPath;
    QElapsedTimer m_lastUpdate;
    ParityMarkDecoder m_decoder;
    bool m_parityMarking = false;
    bool m_pseudoTerminal = false;
    QByteArray m_input;
    int m_commPort = 1;
    QString m_settings = QStringLiteral("9600,e,7,2");
    int m_eventCode = 0;
    bool m_error = false;
    bool m_ignoreErrors = false;
};
