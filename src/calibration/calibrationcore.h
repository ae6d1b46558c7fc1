#pragma once
// The calibration core: the rules of reading an instrument and writing its dates, shared by the
// main window and the command-line tool, without any widget.
//
// Contract:
// - The core talks to the instrument only through the Link it is given (not owned). Each step
//   is one or a few DoTransfer calls; like them it runs on the caller's thread and processes
//   events while it waits, so callers lock their own controls around a step.
// - Results are values: an Outcome names the command that failed or the reason of a refusal.
//   The core shows no message; the window turns outcomes into its message boxes, the tool into
//   text and exit codes.
// - A write is one CalibrationWrite (calibrationwrite.h): its steps in order, with an observer
//   told before the first "WW" and once when the write ends.
// - Trace of every frame: the link's category, QT_LOGGING_RULES="veltra.link.debug=true".

#include "instrumentdate.h"
#include "outcome.h"
#include "readout.h"

class Link;
struct InstrumentInfo;

class CalibrationCore
{
public:
    explicit CalibrationCore(Link &link) : m_link(link) { }

    Link &link() const { return m_link; }

    // One command with the status query; a failure names the command as sent.
    Outcome transfer(const QString &command);
    // "V", "Vx", "#R", "Ux" into the link's Instrument.
    Outcome identify();
    // "WR" with the status query; on success `words` holds the dates the instrument keeps.
    Outcome readDates(DateWords &words);
    // identify() and readDates(); `out` describes what was read, also after a failed "WR".
    Outcome read(ReadOut &out);

    // The read-out of the instrument identified last, with these dates.
    ReadOut readOut(const DateWords &words) const;

private:
    Link &m_link;
};

// Firmware of the KX models below this version has no calibration flag.
constexpr double KxCalibFlagFirmware = 1.605;
bool kxFirmwareTooOld(const InstrumentInfo &instrument);
