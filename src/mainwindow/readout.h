#pragma once
// How the read-out shows the instrument's identification and dates. Pure functions, so the rules
// can be checked without a window or an instrument.

#include <QDate>
#include <QString>

#include <optional>

// The version caption: the identity text without its last 6 characters (the checksum field).
// Empty when the identity text is shorter than that: the caption then stays as it was.
std::optional<QString> VersionCaption(const QString &ident);

// Firmware above this version reports a checksum in its extended identity text.
constexpr double ChecksumFirmware = 1.205;

// The checksum caption from the extended identity text: its last 6 characters, or, when those
// hold a "." (a version number rather than a checksum), the 5 characters before them.
QString ChecksumCaption(const QString &identEx);

// "3.7 V", with the locale's decimal sign.
QString BatteryCaption(double volts);

// A date word "yymmdd" of the instrument. Month and day outside their range roll over into the
// neighbouring month or year. A null date for an empty word (the label is cleared); no result
// when no date can be built (the label keeps its caption).
std::optional<QDate> InstrumentDate(const QString &word);
