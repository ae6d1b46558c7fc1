#pragma once
// How the read-out shows the instrument's identification and dates: the rules as data, so the
// window and the command-line tool show the same, and the rules can be checked without either.

#include "instrumentdate.h"

#include <QDate>
#include <QString>

#include <optional>

struct InstrumentInfo;

// The version caption: the identity text without its last 6 characters (the checksum field).
// Empty when the identity text is shorter than that: the caption then stays as it was.
std::optional<QString> versionCaption(const QString &ident);

// Firmware above this version reports a checksum in its extended identity text.
constexpr double ChecksumFirmware = 1.205;

// The checksum caption from the extended identity text, trimmed first: its last 6 characters,
// or, when those hold a "." (a version number rather than a checksum), the 5 characters before
// them.
QString checksumCaption(const QString &identEx);

// "3.7 V", with the locale's decimal sign and never a thousands separator.
QString batteryCaption(double volts);

// Everything the read-out shows of one instrument.
struct ReadOut
{
    QString deviceName;
    QString serialNo;
    // No value: the identity text is too short to hold one (the caption stays as it was).
    std::optional<QString> version;
    double firmware = 0;
    double batteryVolts = 0;
    QString battery;
    // No value: firmware that shows no checksum.
    std::optional<QString> checksum;
    DateWords dateWords;
    // A null date for an empty date word; no value when no date can be built from the word.
    std::optional<QDate> calibrationDate;
    std::optional<QDate> expirationDate;

    // A model that keeps an expiration date answers "WR" with a second word; only it offers the
    // expiration controls.
    bool offersExpiration() const { return !dateWords.expiration.isEmpty(); }
};

// Within this many days an expiration date falls due.
constexpr int DueWithinDays = 30;

// The days from today to the expiration date read, negative once it has passed; none when the
// instrument shows no expiration date (or 1 January 2001, which a write without one leaves).
std::optional<qint64> expirationDaysLeft(const ReadOut &readOut, const QDate &today);
// "expired" once the date has passed, "due in N days" within DueWithinDays, else empty.
QString expirationNote(qint64 daysLeft);

ReadOut makeReadOut(const InstrumentInfo &instrument, const QString &deviceName,
                    const DateWords &dateWords);
