#pragma once
// The instrument's side of the protocol on a ScriptedSerialControl: answers the wake-up with its
// prompt, takes a command frame and, after the terminator, delivers the reply bytes scripted for
// that command. Replies for one command answer in turn; the last one repeats. An empty reply, or
// a command without scripted replies, gets silence.

#include "commandtexts.h"
#include "scriptedserialcontrol.h"

#include <QByteArrayList>
#include <QHash>

class FakeInstrument
{
public:
    explicit FakeInstrument(ScriptedSerialControl &control, QByteArray promptBytes = ">")
        : prompt(std::move(promptBytes)),
          m_control(control)
    {
        control.onWrite = [this](const QByteArray &frame) { received(frame); };
    }

    // Bytes sent for a wake-up ("" sends nothing); the prompt decides the framing.
    QByteArray prompt;
    // Bytes sent back while the command frame is written (discarded by the program as echo).
    QByteArray echo;
    int replyDelayMs = 1;

    void answer(const QByteArray &command, const QByteArrayList &replies)
    {
        m_replies[command] = replies;
    }

    // Commands in the order their terminators arrived.
    QByteArrayList commands;

private:
    void received(const QByteArray &frame)
    {
        if (frame == "@") {
            if (!prompt.isEmpty())
                m_control.deliver(prompt, 1);
        } else if (frame == "\n" || frame == "\x03") {
            commands.append(m_command);
            QByteArrayList &replies = m_replies[m_command];
            if (!replies.isEmpty()) {
                if (!replies.first().isEmpty())
                    m_control.deliver(replies.first(), replyDelayMs);
                if (replies.size() > 1)
                    replies.removeFirst();
            }
        } else {
            // "V\r" or STX "V58".
            m_command = commandText(frame);
            if (!echo.isEmpty())
                m_control.deliver(echo);
        }
    }

    ScriptedSerialControl &m_control;
    QHash<QByteArray, QByteArrayList> m_replies;
    QByteArray m_command;
};
