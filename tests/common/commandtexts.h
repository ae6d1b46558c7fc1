#pragma once
// The command texts in recorded traffic: frames without their framing, and without the
// transfer-status queries that follow many commands.

#include <QByteArray>
#include <QList>

// "V\r", "V\r\n", STX "V58" or STX "V58" ETX: "V".
inline QByteArray commandText(QByteArray frame)
{
    if (frame.startsWith('\x02')) {
        frame.remove(0, 1);
        if (frame.endsWith('\x03'))
            frame.chop(1);
        frame.chop(2); // the checksum
        return frame;
    }
    if (frame.endsWith('\n'))
        frame.chop(1);
    if (frame.endsWith('\r'))
        frame.chop(1);
    return frame;
}

// The commands of whole frames, the status queries ("t") left out.
inline QList<QByteArray> commandsWithoutStatus(const QList<QByteArray> &frames)
{
    QList<QByteArray> commands;
    for (const QByteArray &frame : frames) {
        const QByteArray command = commandText(frame);
        if (command != "t")
            commands.append(command);
    }
    return commands;
}
