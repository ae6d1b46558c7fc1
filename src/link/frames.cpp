#include "frames.h"

#include "link.h"

QString CalcChecksum(const QString &text)
{
    unsigned sum = Ctrl::STX;
    for (const char c : text.toLatin1())
        sum += static_cast<unsigned char>(c);
    return QStringLiteral("%1").arg(sum % 256, 2, 16, QLatin1Char('0')).toUpper();
}

CommandFrame BuildCommandFrame(const QString &command, qint16 protocolMode)
{
    if (protocolMode == 0)
        return {command.toLatin1() + Ctrl::CR, QByteArray(1, Ctrl::LF)};
    return {Ctrl::STX + command.toLatin1() + CalcChecksum(command).toLatin1(),
            QByteArray(1, Ctrl::ETX)};
}
