#pragma once
// The instrument's frames, built as bytes (Latin-1, one byte per character).

#include <QByteArray>
#include <QString>

namespace Ctrl {
constexpr char STX = 2;
constexpr char ETX = 3;
constexpr char ACK = 6;
constexpr char BEL = 7;
constexpr char LF = 10;
constexpr char CR = 13;
constexpr char NAK = 21;
} // namespace Ctrl

// A command goes out in two parts: the frame, and after its echo has been discarded, the
// terminator.
struct CommandFrame
{
    QByteArray frame;
    QByteArray terminator;
};

// The two hexadecimal digits (upper case) that close a framed command.
QString CalcChecksum(const QString &text);

// Plain framing (protocolMode 0): command, CR; then LF. Framed (1): STX, command, checksum; then
// ETX.
CommandFrame buildCommandFrame(const QString &command, qint16 protocolMode);

// What a reply text says after new characters have been appended to it.
enum class ReplyState { Incomplete, Complete, Rejected };

// Plain framing. Complete: text is now the payload. Rejected ("#?" CR LF): text is cleared.
// Incomplete: the first line has been dropped when it was complete but no reply line.
ReplyState scanPlainReply(QString &text);

// Framed. Complete: text is the payload of a frame with a good checksum, or everything received
// when an ACK came without a frame. Rejected (NAK, bad checksum, frame too short): text is
// cleared.
ReplyState scanFramedReply(QString &text);
