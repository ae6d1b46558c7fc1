// A command with its attempts, the transfer status and the parity question.

#include "link.h"

#include "settingvalue.h"

namespace {

constexpr int Attempts = 3;
constexpr double PromptTimeout = 0.7;
constexpr double ReplyTimeout = 2.0;

} // namespace

qint16 Link::DoTransfer(const QString &command, qint16 verifyStatus)
{
    // An event handler that runs during a wait of this transfer gets -1 and leaves it alone.
    if (InTransfer == 1)
        return -1;
    InTransfer = 1;

    qint16 result = -1;
    for (int attempt = 1; attempt <= Attempts; ++attempt) {
        result = SendReceive(command, PromptTimeout, ReplyTimeout);
        if (command == QLatin1String("WR"))
            WaitSeconds(0.03);
        if (result == 0) {
            const QString reply = ResponseText;
            if (verifyStatus == 0)
                break;
            result = QueryTransferStatus();
            if (result != -1) {
                ResponseText = reply;
                break;
            }
        }
        // The status is still asked after a rejected or garbled reply, as an instrument may need
        // the query to clear its state before the next attempt. The rejection stays a failure
        // whatever the status says: counting it as success would hand the status reply to the
        // caller as if it were the command's data (a "WR" read as the date "0", a write then
        // sent without its expiration date).
        if (result == -4 && verifyStatus != 0)
            QueryTransferStatus();
        qCDebug(lcLink) << command << "attempt" << attempt << "result" << result;
    }

    if (result == -2 && m_parityDecision && m_parityDecision() == ParityDecision::Ignore)
        result = 0;

    InTransfer = 0;
    if (result != 0) {
        ResponseText.clear();
        return -1;
    }
    return 1;
}

void Link::setParityDecision(std::function<ParityDecision()> decide)
{
    m_parityDecision = std::move(decide);
}

qint16 Link::QueryTransferStatus()
{
    qint16 result = -1;
    for (int attempt = 1; attempt <= Attempts && result != 0; ++attempt)
        result = SendReceive(QStringLiteral("t"), PromptTimeout, ReplyTimeout);
    if (result != 0 || ResponseText.isEmpty())
        return -1;
    QString line = ResponseText;
    return GetValue(line, 0, QStringLiteral(" ")).toInt16().value_or(-1);
}
