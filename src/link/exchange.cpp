// One exchange with the instrument: wake-up, prompt, command, reply.

#include "blockingwaits.h"
#include "eventwait.h"
#include "exitrequest.h"
#include "frames.h"
#include "linesettings.h"
#include "link.h"
#include "timelimit.h"

#include <QScopeGuard>
#include <QThread>

#include <algorithm>

using namespace Ctrl;

namespace {

// Seconds the driver needs to put `characters` on the line with the control's settings.
double lineSeconds(const SerialControl &control, int characters)
{
    const LineSettings line = parseLineSettings(control.settings()).value_or(LineSettings());
    return characters * characterSeconds(line);
}

// Asked to end (SIGINT, SIGTERM), or the owner stopped the request: nothing more is sent, so a
// prompt wait ends at once too, as its command would not go out. On an exit request the reply to
// a command already sent is still awaited: it tells what the instrument did with it.
bool stopAsked()
{
    return exitRequested() || BlockingWaits::stopRequested();
}

} // namespace

qint16 Link::SendReceive(const QString &command, double promptTimeout, double replyTimeout)
{
    if (ExchangeBusy == 1)
        return 2;
    if (!Comm1.openState())
        return -3;
    ExchangeBusy = 1;
    const auto notBusy = qScopeGuard([this] { ExchangeBusy = 0; });

    double promptLimit = promptTimeout;
    double replyLimit = replyTimeout;
    if (BluetoothOn != 0) {
        if (BtPromptTimeout > promptTimeout)
            promptLimit = BtPromptTimeout;
        if (BtReplyTimeout > replyTimeout)
            replyLimit = BtReplyTimeout;
    }

    // The TMJ gets its wake-up without the pause.
    if (Instrument.DeviceType != 22)
        pause();
    if (Comm1.inCount() != 0)
        Comm1.inText();
    Comm1.clearInput();
    ResponseText.clear();
    ParityError = 0;

    send("@");
    if (!waitForDrain(replyLimit) || !waitForPrompt(promptLimit))
        return -1;
    const qint16 sent = SendCommand(command, replyLimit);
    if (sent != 0)
        return sent;
    const qint16 result = ProtocolMode == 0 ? ReadReply(replyLimit) : ReadFramedReply(replyLimit);
    if (result != 0)
        ResponseText.clear();
    return result;
}

qint16 Link::SendCommand(const QString &command, double replyTimeout)
{
    const CommandFrame frame = buildCommandFrame(command, ProtocolMode);
    pause();
    ParityError = 0;
    send(frame.frame);
    if (!waitForDrain(replyTimeout))
        return -1;
    // The instrument echoes the frame; what has come back by now is that echo.
    if (Comm1.inCount() > 0)
        Comm1.inText();
    Comm1.clearInput();
    ResponseText.clear();
    send(frame.terminator);
    return waitForDrain(replyTimeout) ? 0 : -1;
}

qint16 Link::ReadReply(double replyTimeout)
{
    return readReply(replyTimeout, &scanPlainReply);
}

qint16 Link::ReadFramedReply(double replyTimeout)
{
    return readReply(replyTimeout, &scanFramedReply);
}

// Collects the reply in ResponseText and lets `scan` judge it each time characters arrive.
qint16 Link::readReply(double replyTimeout, ReplyState (*scan)(QString &))
{
    TimeLimit limit(m_clock, replyTimeout);
    EventWait wait;
    for (;;) {
        const bool arrived = Comm1.inCount() > 0;
        if (arrived && !takeInput())
            return replyFailed();
        // The serial control drops a byte that came with a parity error, so the error may come
        // without any characters.
        if (ParityError != 0)
            return parityDrain(limit);
        if (arrived) {
            switch (scan(ResponseText)) {
            case ReplyState::Complete:
                return 0;
            case ReplyState::Rejected:
                return -4;
            case ReplyState::Incomplete:
                break;
            }
        }
        if (!Comm1.openState() || limit.passed() || BlockingWaits::stopRequested())
            return replyFailed();
        if (Comm1.inCount() == 0)
            wait.sleepForInput(Comm1, limit.sleepSeconds());
    }
}

// A plain sleep of the thread: precise to well under a millisecond, and nothing else runs in it.
void Link::pause() const
{
    QThread::msleep(2);
}

void Link::send(const QByteArray &bytes)
{
    // Not one more byte to the instrument; the program ends as soon as its event loop runs again.
    if (stopAsked())
        return;
    qCDebug(lcLink) << "sent" << bytes;
    Comm1.outText(bytes);
}

bool Link::waitForDrain(double limit)
{
    TimeLimit timeLimit(m_clock, limit);
    EventWait wait;
    int lastQueued = 0;
    double pause = 0;
    for (int queued = Comm1.outCount(); queued > 0; queued = Comm1.outCount()) {
        if (!Comm1.openState() || timeLimit.passed() || BlockingWaits::stopRequested())
            return false;
        // The driver empties its queue at line speed without telling anyone: sleep for the time
        // the queued characters need on the line, then look again. A queue that did not move
        // (flow held by the other side) is looked at after twice the time before.
        pause = queued < lastQueued || pause == 0 ? lineSeconds(Comm1, queued) : 2 * pause;
        lastQueued = queued;
        wait.sleep(std::min(timeLimit.sleepSeconds(), pause));
    }
    return Comm1.openState();
}

bool Link::waitForPrompt(double limit)
{
    TimeLimit timeLimit(m_clock, limit);
    EventWait wait;
    for (;;) {
        if (Comm1.inCount() > 0) {
            const QByteArray text = Comm1.inText();
            qCDebug(lcLink) << "prompt?" << text;
            if (text.contains('>')) {
                ProtocolMode = 0;
                return true;
            }
            if (text.contains(BEL)) {
                ProtocolMode = 1;
                return true;
            }
        }
        if (!Comm1.openState() || timeLimit.passed() || stopAsked())
            return false;
        // The prompt follows the wake-up within milliseconds; it is awaited without letting
        // other handlers run in between, unless the caller asked otherwise.
        if (m_eventfulPrompt)
            wait.sleepForInput(Comm1, timeLimit.sleepSeconds());
        else
            Comm1.waitForInput(BlockingWaits::sliceMs(waitMs(timeLimit.sleepSeconds())));
    }
}

// Appends what has arrived to ResponseText; false when the reply has outgrown any real reply.
bool Link::takeInput()
{
    const QByteArray bytes = Comm1.inText();
    qCDebug(lcLink) << "received" << bytes;
    ResponseText += QString::fromLatin1(bytes);
    return ResponseText.size() <= ReplyBufferCap;
}

qint16 Link::parityDrain(TimeLimit &limit)
{
    // Take in the rest of the garbled reply so it does not spill into the next exchange.
    do {
        if (Comm1.inCount() > 0 && !takeInput())
            break;
        WaitSeconds(0.02);
    } while (Comm1.inCount() > 0 && Comm1.openState() && !limit.passed()
             && !BlockingWaits::stopRequested());
    ResponseText.clear();
    return -2;
}

qint16 Link::replyFailed()
{
    ResponseText.clear();
    return -1;
}
