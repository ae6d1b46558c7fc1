#include "frames.h"

#include <algorithm>

QString CalcChecksum(const QString &text)
{
    unsigned sum = Ctrl::STX;
    for (const char c : text.toLatin1())
        sum += static_cast<unsigned char>(c);
    return QStringLiteral("%1").arg(sum % 256, 2, 16, QLatin1Char('0')).toUpper();
}

CommandFrame buildCommandFrame(const QString &command, qint16 protocolMode)
{
    if (protocolMode == 0)
        return {command.toLatin1() + Ctrl::CR, QByteArray(1, Ctrl::LF)};
    return {Ctrl::STX + command.toLatin1() + CalcChecksum(command).toLatin1(),
            QByteArray(1, Ctrl::ETX)};
}

ReplyState scanPlainReply(QString &text)
{
    const qsizetype lf = text.indexOf(QLatin1Char(Ctrl::LF));
    if (lf < 0)
        return ReplyState::Incomplete;
    const qsizetype hash = text.indexOf(QLatin1Char('#'));
    if (hash < 0 || hash > lf) {
        // Only one line is dropped per arrival: a reply line that came in the same piece as a
        // noise line is looked at when further characters arrive.
        text.remove(0, lf + 1);
        return ReplyState::Incomplete;
    }
    if (text.contains(QLatin1String("#?\r\n"))) {
        text.clear();
        return ReplyState::Rejected;
    }
    // The payload ends two characters before the LF, where the CR belongs: a line that ends in
    // LF alone loses its last character, as it always has.
    text = text.mid(hash + 1, std::max<qsizetype>(0, lf - hash - 2));
    return ReplyState::Complete;
}

ReplyState scanFramedReply(QString &text)
{
    const qsizetype stx = text.indexOf(QLatin1Char(Ctrl::STX));
    if (stx < 0) {
        if (text.contains(QLatin1Char(Ctrl::NAK))) {
            text.clear();
            return ReplyState::Rejected;
        }
        return text.contains(QLatin1Char(Ctrl::ACK)) ? ReplyState::Complete
                                                     : ReplyState::Incomplete;
    }
    const qsizetype etx = text.indexOf(QLatin1Char(Ctrl::ETX));
    if (etx <= stx)
        return ReplyState::Incomplete;
    // STX, payload, two checksum characters, ETX; anything shorter is no frame.
    if (etx - stx >= 3) {
        const QString checksum = text.mid(etx - 2, 2);
        const QString payload = text.mid(stx + 1, etx - stx - 3);
        if (CalcChecksum(payload) == checksum) {
            text = payload;
            return ReplyState::Complete;
        }
    }
    text.clear();
    return ReplyState::Rejected;
}
