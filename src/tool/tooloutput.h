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
QJsonValue dateValue(const std::optional<QDate> &date);

QJsonObject readOutJson(const PortPlace &place, const ReadOut &readOut, bool withDates);
void addWriteJson(QJsonObject &object, const WriteReport &report, bool keepsExpiration);

QStringList readOutLines(const PortPlace &place, const ReadOut &readOut, bool withDates);
QStringList writeLines(const WriteReport &report, bool keepsExpiration);

// The certificate number of the write's entry in the record: null or no line when it has none.
void addCertificateJson(QJsonObject &object, const QString &certificate);
QStringList certificateLines(const QString &certificate);

// "Serial No.:" and friends padded so the values line up.
QString alignedLine(const QString &label, const QString &value);
