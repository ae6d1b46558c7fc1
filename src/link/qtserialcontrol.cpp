#include "qtserialcontrol.h"

#include "linesettings.h"
#include "linktrace.h"
#include "nativeserial.h"
#include "programpaths.h"

#include <QScopedValueRollback>

#include <limits>
#include <utility>

namespace {

// A port that no entry names may belong to a device plugged in since the last look; the system
// is asked again at most this often.
constexpr qint64 SystemPortsMaxAgeMs = 1000;

} // namespace

QtSerialControl::QtSerialControl(PortMap::SystemPortSource systemPorts, QString iniPath,
                                 QObject *parent)
    : SerialControl(parent),
      // A child, so that the port moves with the control to the instrument owner's thread.
      m_port(this),
      m_map(std::move(systemPorts)),
      m_iniPath(std::move(iniPath))
{
    connect(&m_port, &QSerialPort::readyRead, this, &QtSerialControl::pullInput);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialControl::onError);
}

QtSerialControl::~QtSerialControl()
{
    if (m_port.isOpen())
        m_port.close();
}

void QtSerialControl::setSettings(const QString &settings)
{
    if (!parseLineSettings(settings)) {
        m_error = true;
        return;
    }
    m_settings = settings;
    if (m_port.isOpen() && !applySettings())
        m_error = true;
}

void QtSerialControl::setOpenState(bool open)
{
    if (!open) {
        if (m_port.isOpen())
            m_port.close();
        m_input.clear();
        return;
    }
    if (m_port.isOpen())
        return;
    m_map.reload(iniPath());
    if (m_map.devicePath(m_commPort).isEmpty())
        updateMap();
    const QString path = m_map.devicePath(m_commPort);
    if (path.isEmpty() || !openDevice(path)) {
        qCDebug(lcLink) << "cannot open COM" << m_commPort << path << m_port.errorString();
        m_failedPortNo = m_commPort;
        m_failedText = path.isEmpty() ? QString() : m_port.errorString();
        m_error = true;
        return;
    }
    qCDebug(lcLink) << "opened COM" << m_commPort << path << m_settings;
}

bool QtSerialControl::openDevice(const QString &path)
{
    m_port.setPortName(path);
    m_input.clear();
    m_decoder.reset();
    m_eventCode = 0;
    const QScopedValueRollback quiet(m_ignoreErrors, true);
    m_pseudoTerminal = isPseudoTerminal(path);
    if (!applySettings())
        return false;
    if (!m_port.open(QIODevice::ReadWrite)) {
        const auto error = m_port.error();
        if (error == QSerialPort::PermissionError || error == QSerialPort::DeviceNotFoundError
            || !resetLineSettings(path) || !m_port.open(QIODevice::ReadWrite))
            return false;
    }
    // Once more on the open port, for the parity marking on its native terminal.
    applySettings();
    // Infrared adapters draw their power from these lines. A pseudo-terminal has none; that
    // does not make the opening fail.
    m_port.setDataTerminalReady(true);
    m_port.setRequestToSend(true);
    m_port.clearError();
    return true;
}

bool QtSerialControl::applySettings()
{
    const std::optional<LineSettings> line = parseLineSettings(m_settings);
    if (!line)
        return false;
    // A pseudo-terminal goes raw 8N1 whatever the profile; the parity marks still pass through
    // its line discipline, so the marking works on it as on a real port.
    const LineSettings raw;
    const LineSettings &applied = m_pseudoTerminal ? raw : *line;
    const bool done = m_port.setBaudRate(line->baudRate) && m_port.setParity(applied.parity)
        && m_port.setDataBits(applied.dataBits) && m_port.setStopBits(applied.stopBits)
        && m_port.setFlowControl(QSerialPort::NoFlowControl);
    m_parityMarking = done && line->parity != QSerialPort::NoParity;
    if (m_parityMarking && m_port.isOpen())
        m_parityMarking = enableParityMarking(m_port.handle());
    return done;
}

bool QtSerialControl::isPresent(int portNo)
{
    if (portNo < 1 || portNo > PortMap::MaxPortNo)
        return false;
    m_map.reload(iniPath());
    if (m_map.devicePath(portNo).isEmpty()
        && (!m_lastUpdate.isValid() || m_lastUpdate.hasExpired(SystemPortsMaxAgeMs)))
        updateMap();
    return m_map.isPresent(portNo);
}

QList<int> QtSerialControl::presentPorts()
{
    updateMap();
    return m_map.presentPorts();
}

int QtSerialControl::inCount()
{
    pullInput();
    return int(std::min<qsizetype>(m_input.size(), std::numeric_limits<int>::max()));
}

QByteArray QtSerialControl::inText()
{
    pullInput();
    return std::exchange(m_input, QByteArray());
}

void QtSerialControl::clearInput()
{
    pullInput();
    m_input.clear();
}

void QtSerialControl::outText(const QByteArray &frame)
{
    if (!m_port.isOpen() || m_port.write(frame) != frame.size())
        m_error = true;
    // Straight to the driver: QSerialPort would otherwise wait for the event loop to write, and
    // the link would sleep once more for nothing.
    else
        m_port.flush();
}

int QtSerialControl::outCount()
{
    if (!m_port.isOpen())
        return 0;
    // On a pseudo-terminal the queue is what the other side has not read yet; there is no line
    // to wait for.
    const int queued = m_pseudoTerminal ? 0 : driverOutputQueue(m_port.handle());
    return int(m_port.bytesToWrite()) + queued;
}

QString QtSerialControl::portDescription(int portNo)
{
    if (!m_map.updated())
        updateMap();
    else
        m_map.reload(iniPath());
    return m_map.description(portNo);
}

QString QtSerialControl::devicePath(int portNo)
{
    m_map.reload(iniPath());
    return m_map.devicePath(portNo);
}

PortDiagnosis QtSerialControl::diagnose(int portNo)
{
    m_map.reload(iniPath());
    if (m_map.devicePath(portNo).isEmpty())
        updateMap();
    OpenAttempt attempt;
    attempt.portNo = portNo;
    attempt.path = m_map.devicePath(portNo);
    if (m_port.isOpen() && portNo == m_commPort)
        return {};
    attempt.settings = m_settings;
    // Qt folds "no permission" and "in use" into one error; opening the device once more tells
    // them apart.
    if (m_map.isPresent(portNo))
        attempt.error = PortDiagnoser::openError(attempt.path);
    if (portNo == m_failedPortNo)
        attempt.errorText = m_failedText;
    for (const int present : m_map.presentPorts())
        attempt.presentPorts.insert(present, m_map.devicePath(present));
    return m_diagnoser.diagnose(attempt);
}

QString QtSerialControl::portCondition(int portNo)
{
    const QString path = m_map.devicePath(portNo);
    return path.isEmpty() ? QString() : m_diagnoser.condition(path);
}

bool QtSerialControl::waitForInput(int msecs)
{
    if (!m_input.isEmpty())
        return true;
    if (!m_port.isOpen())
        return false;
    m_port.waitForReadyRead(msecs);
    return !m_input.isEmpty();
}

QString QtSerialControl::iniPath() const
{
    return m_iniPath.isEmpty() ? IniFileName : m_iniPath;
}

void QtSerialControl::updateMap()
{
    m_map.update(iniPath());
    m_lastUpdate.start();
}

void QtSerialControl::pullInput()
{
    if (!m_port.isOpen() || m_port.bytesAvailable() == 0)
        return;
    const QByteArray bytes = m_port.readAll();
    if (!m_parityMarking) {
        m_input += bytes;
        return;
    }
    const ParityMarkDecoder::Result decoded = m_decoder.decode(bytes);
    m_input += decoded.data;
    if (decoded.errorCount > 0) {
        qCDebug(lcLink) << decoded.errorCount << "byte(s) with parity or framing error dropped";
        m_eventCode = ParityErrorEvent;
        emit commEvent();
    }
}

void QtSerialControl::onError(QSerialPort::SerialPortError error)
{
    // A wait for input that runs out is no error of the port, nor is closing a closed one.
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError
        || error == QSerialPort::NotOpenError || m_ignoreErrors)
        return;
    qCDebug(lcLink) << "serial error" << error << m_port.errorString();
    m_error = true;
    // The device has gone (an adapter pulled out, the other end of a pseudo-terminal closed):
    // Qt reports that as a resource error or, depending on the errno it finds, as a read or
    // write error that would repeat on every notification.
    if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError
        || error == QSerialPort::WriteError) {
        m_port.close();
        m_input.clear();
    }
}
