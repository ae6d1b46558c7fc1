#include "linesettings.h"

#include <QStringList>

std::optional<LineSettings> parseLineSettings(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    LineSettings line;
    bool ok = false;
    line.baudRate = parts[0].trimmed().toInt(&ok);
    if (!ok || line.baudRate <= 0)
        return std::nullopt;
    const QString parity = parts[1].trimmed().toLower();
    if (parity == QLatin1String("n"))
        line.parity = QSerialPort::NoParity;
    else if (parity == QLatin1String("e"))
        line.parity = QSerialPort::EvenParity;
    else if (parity == QLatin1String("o"))
        line.parity = QSerialPort::OddParity;
    else if (parity == QLatin1String("m"))
        line.parity = QSerialPort::MarkParity;
    else if (parity == QLatin1String("s"))
        line.parity = QSerialPort::SpaceParity;
    else
        return std::nullopt;
    const int dataBits = parts[2].trimmed().toInt(&ok);
    if (!ok || dataBits < 5 || dataBits > 8)
        return std::nullopt;
    line.dataBits = QSerialPort::DataBits(dataBits);
    const QString stop = parts[3].trimmed();
    if (stop == QLatin1String("1"))
        line.stopBits = QSerialPort::OneStop;
    else if (stop == QLatin1String("1.5"))
        line.stopBits = QSerialPort::OneAndHalfStop;
    else if (stop == QLatin1String("2"))
        line.stopBits = QSerialPort::TwoStop;
    else
        return std::nullopt;
    return line;
}

double characterSeconds(const LineSettings &line)
{
    double stopBits = 1;
    if (line.stopBits == QSerialPort::OneAndHalfStop)
        stopBits = 1.5;
    else if (line.stopBits == QSerialPort::TwoStop)
        stopBits = 2;
    const int parityBits = line.parity == QSerialPort::NoParity ? 0 : 1;
    // The start bit, the data bits, the parity bit and the stop bits.
    return (1 + int(line.dataBits) + parityBits + stopBits) / line.baudRate;
}
