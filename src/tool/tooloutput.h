#pragma once
// What the tool prints on stdout: aligned lines for a person, or one JSON object.

#include "calibrationwrite.h"
#include "readout.h"

#include <QJsonObject>

#include <optional>

// Where the instrument was reached: a port number (none with --device) and its device path.
struct PortPlace
{
    std::optional<int> number;
    QString device;
};

// YYYY-MM-DD; null where the instrument has no date or the window would show none.
QJsonValue DateValue(const std::optional<QDate> &date);

QJsonObject ReadOutJson(const PortPlace &place, const ReadOut &readOut, bool withDates);
void AddWriteJson(QJsonObject &object, const WriteReport &report, bool keepsExpiration);

QStringList ReadOutLines(const PortPlace &place, const ReadOut &readOut, bool withDates);
QStringList WriteLines(const WriteReport &report, bool keepsExpiration);

// "Serial No.:" and friends padded so the values line up.
QString AlignedLine(const QString &label, const QString &value);
