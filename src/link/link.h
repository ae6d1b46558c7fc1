#pragma once
// The instrument link: opening the port, the command/response protocol, error reporting and the
// identification of the instrument.
//
// Contract:
// - On one thread, waits sleep in the event loop until the serial control has an event or the
//   wait's timer runs out, so handlers can run inside a transfer; on the InstrumentOwner's thread
//   they block it in short slices instead (blockingwaits.h). DoTransfer refuses re-entry
//   (InTransfer, result -1); SendReceive refuses it (ExchangeBusy, result 2).
// - Deadlines are kept on the link's clock: a timer is set for the real time the clock needs to
//   reach the deadline (Clock::realSeconds), or to midnight if that comes first; on waking the
//   clock is read again and decides. The driver's output queue has no event: its drain is looked
//   at again after the time the queued characters need on the line.
// - Results are 16-bit codes, never exceptions: DoTransfer 1 / -1, OpenComPort 0 / 17,
//   SendReceive 0, 2, -1, -2, -3, -4. After a failed transfer ResponseText is "".
// - The prompt wait alone blocks without processing events: on the port (waitForInput) up to its
//   deadline, except inside a ScopedEventfulWait (the instrument watch's polls), where it sleeps in
//   the event loop like the other waits. The pause before each frame is a 2 ms sleep of the thread.
// - A reply that grows past ReplyBufferCap ends its exchange like a time limit; a port that
//   closes during a wait (the device went away) ends the exchange at once with -1.
// - The Link does not own the serial control or the clock. It shows nothing: failures are result
//   codes and values for its owner to show. A parity error is decided by the owner's
//   ParityDecision (the window asks the user); without one the transfer fails.
// - The link owns its state: others read it through accessors. The connection settings change
//   through setSettings(), or for a while through a ScopedProfile that puts them back.
// - A failed OpenComPort leaves the reason, in sentences for the user, in openFailure() and in
//   the trace; showing it is the caller's business.
// - Finding the instrument on a port (open, probe, search) is the Connector's (connector.h).
// - Trace of every frame: QT_LOGGING_RULES="veltra.link.debug=true".

#include "appsettings.h"
#include "clock.h"
#include "linktrace.h"
#include "serialcontrol.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class TimeLimit;
enum class ReplyState;

struct InstrumentInfo
{
    QString SerialNo;
    QString Ident;
    QString IdentEx;
    double FwVersion = 0;
    qint16 DeviceType = 0;
    double BattVoltage = 0;
};

constexpr int DeviceTypeCount = 25;
// OpenComPort's result for any failure (0 is open).
constexpr qint16 PortOpenFailed = 17;
constexpr int ReplyBufferCap = 64 * 1024;

// What becomes of a transfer whose attempts ended in a parity error.
enum class ParityDecision { Fail, Ignore };

class Link : public QObject
{
    Q_OBJECT
public:
    explicit Link(SerialControl &comm, const Clock &clock = SystemClock::instance(),
                  QObject *parent = nullptr);

    SerialControl &Comm1;

    // Connection settings: loaded at start, written by the port dialog.
    ConnectionSettings settings() const;
    void setSettings(const ConnectionSettings &settings);

    // Other connection settings for the life of this object, the link's own back afterwards,
    // in every outcome (a probe on "Standard" while Bluetooth is stored).
    class ScopedProfile
    {
    public:
        ScopedProfile(Link &link, qint16 bluetoothOn);
        ~ScopedProfile();
        ScopedProfile(const ScopedProfile &) = delete;
        ScopedProfile &operator=(const ScopedProfile &) = delete;

    private:
        Link &m_link;
        qint16 m_bluetoothOn;
    };

    // The prompt waits of the transfers made while this object lives sleep in the event loop, so
    // that the owner's window answers during a poll of an empty adapter; other exchanges keep
    // their blocking prompt wait.
    class ScopedEventfulWait
    {
    public:
        explicit ScopedEventfulWait(Link &link);
        ~ScopedEventfulWait();
        ScopedEventfulWait(const ScopedEventfulWait &) = delete;
        ScopedEventfulWait &operator=(const ScopedEventfulWait &) = delete;

    private:
        Link &m_link;
        bool m_eventful;
    };

    // Exchange state, kept by the link.
    const QString &responseText() const { return ResponseText; }
    qint16 protocolMode() const { return ProtocolMode; }
    qint16 exchangeBusy() const { return ExchangeBusy; }
    qint16 inTransfer() const { return InTransfer; }

    // The instrument last identified; forgetInstrument() goes back to the family's type 0.
    const InstrumentInfo &instrument() const { return Instrument; }
    void forgetInstrument() { Instrument.DeviceType = 0; }
    const QStringList &deviceNameTable() const { return DeviceNameTable; }

    // Opening and waiting.
    qint16 OpenComPort(qint16 portNo, qint16 fastProfile);
    void SetComSettings();
    void WaitSeconds(double seconds);
    // Closes the port when one is open.
    void closeComPort();
    // Why the last OpenComPort failed; empty after one that succeeded.
    const PortDiagnosis &openFailure() const { return OpenFailure; }

    // Transfers.
    qint16 DoTransfer(const QString &command, qint16 verifyStatus);
    qint16 SendReceive(const QString &command, double promptTimeout, double replyTimeout);
    qint16 QueryTransferStatus();
    // Asked by DoTransfer after a parity error: Ignore makes the transfer a success with an
    // empty ResponseText.
    void setParityDecision(std::function<ParityDecision()> decide);

    // Identification.
    void InitDeviceTables();
    // "V", "Vx", "#R" and "Ux" into Instrument: the command that failed, "" when all succeeded.
    // Fields of the steps before a failure keep their new values.
    QString ReadInstrumentInfo();
    // Takes the identity, model and firmware version from a reply to "V" into the instrument
    // record and hands them back; the reply itself is left as it is.
    InstrumentInfo ParseIdentity(const QString &reply);
    // DeviceNameTable entry of Instrument.DeviceType: the title of the boxes about the link.
    QString deviceName() const;

    // Handler of the serial control's communication event: records parity errors.
    void Comm1_CommEvent();

private:
    qint16 ComPortNo = 1;
    qint16 BluetoothOn = 0;
    qint16 BtPromptTimeout = 3;
    qint16 BtReplyTimeout = 5;

    QString ResponseText;
    qint16 ProtocolMode = 0;
    qint16 ExchangeBusy = 0;
    qint16 ParityError = 0;
    qint16 InTransfer = 0;
    bool m_eventfulPrompt = false;

    InstrumentInfo Instrument;
    QStringList DeviceNameTable;
    PortDiagnosis OpenFailure;

    qint16 openFailed(qint16 portNo);
    qint16 SendCommand(const QString &command, double replyTimeout);
    qint16 ReadReply(double replyTimeout);
    qint16 ReadFramedReply(double replyTimeout);

    // Pieces of the exchange (exchange.cpp).
    qint16 readReply(double replyTimeout, ReplyState (*scan)(QString &));
    void pause() const;
    void send(const QByteArray &bytes);
    bool waitForDrain(double limit);
    bool waitForPrompt(double limit);
    bool takeInput();
    qint16 parityDrain(TimeLimit &limit);
    qint16 replyFailed();

    const Clock &m_clock;
    std::function<ParityDecision()> m_parityDecision;
};

// The message for a failed command: which one, and what to check (the cable, or Bluetooth).
QString transferErrorText(const QString &command, bool bluetooth);

QString MapOldModelName(const QString &text);
double GetFwVersion(const QString &text);
int GetDeviceType(const QString &text);
