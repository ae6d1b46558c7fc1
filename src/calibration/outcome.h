#pragma once
// The result of one step of reading or writing an instrument, as a value: done, or why not.

#include <QString>

struct Outcome
{
    enum class Kind {
        Done,
        // The user declined the write when asked.
        Declined,
        // Firmware of the KX models below 1.605 has no calibration flag.
        FirmwareTooOld,
        // "#R" before the write gave another serial number than the read.
        InstrumentChanged,
        // A command failed after its attempts; `command` names it as sent.
        CommandFailed,
        // The calibration record could not store the entry before "WW": nothing was written.
        NotRecorded,
    };

    Kind kind = Kind::Done;
    QString command;
    // InstrumentChanged: the serial number that was read, and the one the instrument gives now.
    QString serialRead;
    QString serialNow;

    bool done() const { return kind == Kind::Done; }

    static Outcome failed(const QString &command) { return {Kind::CommandFailed, command, {}, {}}; }
    static Outcome refused(Kind kind) { return {kind, {}, {}, {}}; }
    static Outcome changed(const QString &read, const QString &now)
    {
        return {Kind::InstrumentChanged, QStringLiteral("#R"), read, now};
    }
};

// The words for a person: the window's message boxes and the tool's error lines.
QString instrumentChangedText(const Outcome &outcome);
inline const QString FirmwareTooOldText =
    QStringLiteral("Firmware of Veltra KX too old, no calibration flag available!");
