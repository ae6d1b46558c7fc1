#include "siminstrument.h"

#include "filebytes.h"

#include <QDeadlineTimer>
#include <QTest>

namespace {

constexpr int StartLimitMs = 5000;
constexpr int StopLimitMs = 3000;

QByteArray unescape(QByteArrayView text)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
            bytes += char(text.sliced(i + 2, 2).toByteArray().toInt(nullptr, 16));
            i += 3;
        } else {
            bytes += text[i];
        }
    }
    return bytes;
}

} // namespace

SimInstrument::~SimInstrument()
{
    stop();
}

QString SimInstrument::simulatorPath()
{
    return qEnvironmentVariable("VELTRA_SIM");
}

QString SimInstrument::logPath() const
{
    return m_dir.filePath(QStringLiteral("sim.log"));
}

bool SimInstrument::start(const QStringList &arguments, int portNo, const QString &iniFile)
{
    m_error.clear();
    if (simulatorPath().isEmpty()) {
        m_error = QStringLiteral("VELTRA_SIM is not set");
        return false;
    }
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder for the log");
        return false;
    }
    QStringList all = arguments;
    all << QStringLiteral("--log") << logPath();
    if (portNo > 0)
        all << QStringLiteral("--register") << QString::number(portNo) << QStringLiteral("--ini")
            << iniFile;
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(simulatorPath(), all);

    const QDeadlineTimer deadline(StartLimitMs);
    while (!m_process.canReadLine()) {
        if (deadline.hasExpired() || !m_process.waitForReadyRead(int(deadline.remainingTime()))) {
            m_error =
                QStringLiteral("veltra-sim gave no device path (%1)").arg(m_process.errorString());
            stop();
            return false;
        }
    }
    m_devicePath = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    return true;
}

void SimInstrument::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(StopLimitMs)) {
        m_process.kill();
        m_process.waitForFinished(StopLimitMs);
    }
}

QList<SimFrame> SimInstrument::frames() const
{
    return parseLog(fileBytes(logPath()));
}

QList<SimFrame> SimInstrument::parseLog(const QByteArray &text)
{
    QList<SimFrame> result;
    for (const QByteArray &line : text.split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const qsizetype firstSpace = line.indexOf(' ');
        const qsizetype quote = line.indexOf('"');
        if (firstSpace < 0 || quote < firstSpace || !line.endsWith('"'))
            continue;
        SimFrame frame;
        frame.seconds = line.left(firstSpace).toDouble();
        frame.direction = line.mid(firstSpace + 1, 2) == "TX" ? SimFrame::Direction::Sent
                                                              : SimFrame::Direction::Received;
        frame.bytes = unescape(QByteArrayView(line).sliced(quote + 1, line.size() - quote - 2));
        result.append(frame);
    }
    return result;
}

QList<QByteArray> SimInstrument::bytesOf(SimFrame::Direction direction) const
{
    QList<QByteArray> result;
    for (const SimFrame &frame : frames()) {
        if (frame.direction == direction)
            result.append(frame.bytes);
    }
    return result;
}

bool SimInstrument::waitForFrames(SimFrame::Direction direction, qsizetype count, int msecs) const
{
    return QTest::qWaitFor([&] { return bytesOf(direction).size() >= count; }, msecs);
}

QList<QByteArray> SimInstrument::received() const
{
    return bytesOf(SimFrame::Direction::Received);
}

QList<QByteArray> SimInstrument::sent() const
{
    return bytesOf(SimFrame::Direction::Sent);
}

QList<QByteArray> SimInstrument::commands() const
{
    QList<QByteArray> result = received();
    result.removeAll(QByteArray("@"));
    return result;
}
