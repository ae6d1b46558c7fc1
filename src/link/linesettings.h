#pragma once
// The line settings text of the serial control, such as "9600,e,7,2".

#include <QSerialPort>
#include <QString>
#include <optional>

struct LineSettings
{
    qint32 baudRate = 9600;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
};

// Baud rate, parity (n, e, o, m, s), data bits (5 to 8), stop bits (1, 1.5, 2), separated by
// commas; std::nullopt for anything else.
std::optional<LineSettings> parseLineSettings(const QString &text);

// Seconds one character takes on the line: start bit, data bits, parity bit and stop bits at the
// baud rate.
double characterSeconds(const LineSettings &line);
