#include "framelog.h"

#include <QDateTime>

double simSeconds()
{
    static const QElapsedTimer start = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return static_cast<double>(start.nsecsElapsed()) / 1e9;
}

bool FrameLog::open(const QString &path)
{
    if (path.isEmpty())
        return true;
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return false;
    simSeconds();
    const QByteArray header = "# veltra-sim started "
        + QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toLatin1()
        + "; seconds since start, RX = received, TX = sent\n";
    m_file.write(header);
    m_file.flush();
    return true;
}

void FrameLog::write(Direction direction, const QByteArray &bytes)
{
    if (!m_file.isOpen() || bytes.isEmpty())
        return;
    QByteArray line = QByteArray::number(simSeconds(), 'f', 6);
    line += direction == Direction::Received ? " RX \"" : " TX \"";
    line += escape(bytes);
    line += "\"\n";
    m_file.write(line);
    m_file.flush();
}

void FrameLog::note(const QByteArray &text)
{
    if (!m_file.isOpen())
        return;
    m_file.write("# " + QByteArray::number(simSeconds(), 'f', 6) + ' ' + text + '\n');
    m_file.flush();
}

QByteArray FrameLog::escape(const QByteArray &bytes)
{
    QByteArray text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto code = static_cast<unsigned char>(c);
        if (code >= 0x20 && code <= 0x7E && c != '"' && c != '\\')
            text += c;
        else
            text += "\\x" + QByteArray::number(code, 16).rightJustified(2, '0').toUpper();
    }
    return text;
}
