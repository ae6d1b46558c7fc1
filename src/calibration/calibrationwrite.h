#pragma once
// One write of the calibration dates, step by step:
//   checkFirmware()  no wire: old KX firmware is refused
//   checkIdentity()  "#R": the instrument on the adapter is still the one that was read
//   writeDates()     "WR" (does it keep an expiration date?), "WW" with one or two dates, "EW1"
//   verify()         "WR" again and the verdict: does the instrument hold the dates asked?
// run() does them all in order and stops at the first that is not done. The window runs them
// itself, because it asks the user between them and reads the instrument again before verify().
//
// The observer hears of the write twice: right before the first "WW" (the dates held and the
// command; when it answers false, nothing is written and the outcome is NotRecorded), and once
// when the write ends, with the whole report: after the verdict, or, when
// verify() never runs, as the write goes away. A step that is not done is kept as the report's
// outcome (the first one only); later steps may still run.

#include "calibrationcore.h"

#include <optional>

// The dates to write. Without an expiration date, an instrument that keeps one receives
// 1 January 2001 ("010101"), as the window writes with its box unticked.
struct DateRequest
{
    QDate calibration;
    std::optional<QDate> expiration;
};

// An expiration date before the calibration date: most often the two given the wrong way round.
bool expiresBeforeCalibration(const DateRequest &asked);
// "The expiration date 2026-01-01 lies before the calibration date 2027-01-01."
QString expiresBeforeCalibrationText(const DateRequest &asked);

struct WriteReport
{
    DateRequest asked;
    // The answer to the "WR" that opened the write.
    std::optional<DateWords> held;
    // The "WW" command, once built.
    QString command;
    // "WW" and "EW1" were both accepted.
    bool written = false;
    // The answer to the "WR" of the check, and whether it holds the dates asked.
    std::optional<DateWords> readBack;
    std::optional<bool> verified;
    // The first step that was not done (refusal or failed command); Done when none.
    Outcome outcome;
};

class WriteObserver
{
public:
    virtual ~WriteObserver() = default;
    // False stops the write before anything is written.
    virtual bool aboutToWrite(const WriteReport &report) = 0;
    virtual void writeEnded(const WriteReport &report) = 0;
};

class CalibrationWrite
{
public:
    CalibrationWrite(CalibrationCore &core, const DateRequest &asked,
                     WriteObserver *observer = nullptr);
    ~CalibrationWrite();
    CalibrationWrite(const CalibrationWrite &) = delete;
    CalibrationWrite &operator=(const CalibrationWrite &) = delete;

    // The user said no: nothing is written, the report says why.
    void decline();
    Outcome checkFirmware();
    // serialRead: the serial number shown since the last read.
    Outcome checkIdentity(const QString &serialRead);
    Outcome writeDates();
    // Compares the read-back with the dates asked. alsoWhenHeld: an expiration date to compare
    // as well when the read-back holds a number there, though none was asked for.
    Outcome verify(const std::optional<QDate> &alsoWhenHeld = std::nullopt);

    // All steps in order (no question); the report tells the rest.
    Outcome run(const QString &serialRead);

    const WriteReport &report() const { return m_report; }

private:
    Outcome note(const Outcome &outcome);
    void end();

    CalibrationCore &m_core;
    WriteObserver *m_observer;
    WriteReport m_report;
    bool m_ended = false;
};
