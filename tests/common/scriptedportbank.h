#pragma once
// A scripted serial control with several numbered ports behind it, each with its own behaviour:
// an instrument that answers "V" in the plain framing (at once or after a delay), a port where
// nothing answers, a port that is listed but refuses to open, a port that is listed but gone.
// Records what was done to each port. (ScriptedSerialControl scripts one port's traffic in
// detail; this one scripts which port answers.)

#include "serialcontrol.h"

#include <QMap>
#include <QThread>
#include <QTimer>
#include <functional>

class ScriptedPortBank final : public SerialControl
{
public:
    enum class Kind { Answering, Silent, Unopenable, Gone };

    struct Port
    {
        Kind kind = Kind::Silent;
        QByteArray reply;
        int replyDelayMs = 0;
        int openings = 0;
        int stateQueries = 0;
        QString openedWith; // line settings of the last opening
    };

    QMap<int, Port> ports;
    // What the enumeration reports, in its order; the ports' own numbers when empty.
    QList<int> listed;
    // What the bank says about ports that do not open, and the states it reports for the list.
    QMap<int, PortDiagnosis> diagnoses;
    QMap<int, QString> conditions;
    // Runs for every frame sent, with the number of the open port.
    std::function<void(int portNo, const QByteArray &frame)> onSend;

    Port &add(int portNo, Kind kind, const QByteArray &reply = {}, int replyDelayMs = 0)
    {
        Port &port = ports[portNo];
        port.kind = kind;
        port.reply = reply;
        port.replyDelayMs = replyDelayMs;
        return port;
    }

    int openPort() const { return m_open; }
    int totalOpenings() const
    {
        int total = 0;
        for (const Port &port : ports)
            total += port.openings;
        return total;
    }

    void setCommPort(int portNo) override { m_commPort = portNo; }
    int commPort() const override { return m_commPort; }
    void setSettings(const QString &settings) override { m_settings = settings; }
    QString settings() const override { return m_settings; }

    bool openState() const override { return m_open != 0; }
    void setOpenState(bool open) override
    {
        m_input.clear();
        if (!open) {
            m_open = 0;
            return;
        }
        const auto it = ports.find(m_commPort);
        if (it == ports.end() || it->kind == Kind::Unopenable || it->kind == Kind::Gone) {
            m_error = true;
            return;
        }
        ++it->openings;
        it->openedWith = m_settings;
        m_open = m_commPort;
    }

    bool isPresent(int portNo) override
    {
        const auto it = ports.find(portNo);
        if (it == ports.end())
            return false;
        ++it->stateQueries;
        return it->kind != Kind::Gone;
    }
    QList<int> presentPorts() override { return listed.isEmpty() ? ports.keys() : listed; }

    int inCount() override { return int(m_input.size()); }
    QByteArray inText() override { return std::exchange(m_input, {}); }
    void clearInput() override { m_input.clear(); }

    void outText(const QByteArray &frame) override
    {
        const int portNo = m_open;
        if (onSend)
            onSend(portNo, frame);
        if (portNo == 0 || ports[portNo].kind != Kind::Answering)
            return;
        const Port &port = ports[portNo];
        if (frame == "@") {
            m_input += ">";
        } else if (frame.endsWith('\r')) {
            m_input += frame; // the echo
        } else if (frame == "\n") {
            const QByteArray line = "#" + port.reply + "\r\n";
            if (port.replyDelayMs == 0)
                m_input += line;
            else
                QTimer::singleShot(port.replyDelayMs, this, [this, portNo, line] {
                    if (m_open == portNo)
                        m_input += line;
                });
        }
    }
    int outCount() override { return 0; }
    int eventCode() const override { return 0; }

    QString portDescription(int portNo) override
    {
        return ports.contains(portNo) ? QStringLiteral("/dev/fake%1 test adapter").arg(portNo)
                                      : QString();
    }

    PortDiagnosis diagnose(int portNo) override { return diagnoses.value(portNo); }
    QString portCondition(int portNo) override { return conditions.value(portNo); }

    bool hasError() const override { return m_error; }
    void clearError() override { m_error = false; }

    bool waitForInput(int msecs) override
    {
        // Like a real line: a silent port keeps the caller waiting.
        if (m_input.isEmpty())
            QThread::msleep(msecs);
        return !m_input.isEmpty();
    }

private:
    int m_commPort = 1;
    QString m_settings;
    int m_open = 0;
    bool m_error = false;
    QByteArray m_input;
};
