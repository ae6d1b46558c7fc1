#include "readout.h"

#include "link.h"
#include "settingvalue.h"

#include <QCoreApplication>
#include <QLocale>

std::optional<QString> versionCaption(const QString &ident)
{
    const QString s = trimSpaces(ident);
    if (s.size() < 6)
        return std::nullopt;
    return trimSpaces(s.left(s.size() - 6));
}

QString checksumCaption(const QString &identEx)
{
    // A trailing blank is no part of the checksum: trim before cutting.
    const QString s = trimSpaces(identEx);
    const QString c = trimSpaces(s.right(6));
    if (!c.contains(u'.'))
        return c;
    const QString front = trimSpaces(s.left(qMax<qsizetype>(0, s.size() - 6)));
    return trimSpaces(front.right(5));
}

QString batteryCaption(double volts)
{
    // A garbled "Ux" can give thousands of volts; "1234.5 V" must not look like a list.
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(volts, 'f', 1) + QStringLiteral(" V");
}

ReadOut makeReadOut(const InstrumentInfo &instrument, const QString &deviceName,
                    const DateWords &dateWords)
{
    ReadOut out;
    out.deviceName = deviceName;
    out.serialNo = instrument.SerialNo;
    out.version = versionCaption(instrument.Ident);
    out.firmware = instrument.FwVersion;
    out.batteryVolts = instrument.BattVoltage;
    out.battery = batteryCaption(instrument.BattVoltage);
    if (instrument.FwVersion > ChecksumFirmware)
        out.checksum = checksumCaption(instrument.IdentEx);
    out.dateWords = dateWords;
    out.calibrationDate = instrumentDate(dateWords.calibration);
    out.expirationDate = instrumentDate(dateWords.expiration);
    return out;
}

std::optional<qint64> expirationDaysLeft(const ReadOut &readOut, const QDate &today)
{
    if (!readOut.offersExpiration() || !readOut.expirationDate || readOut.expirationDate->isNull()
        || *readOut.expirationDate == QDate(2001, 1, 1))
        return std::nullopt;
    return today.daysTo(*readOut.expirationDate);
}

QString expirationNote(qint64 daysLeft)
{
    if (daysLeft < 0)
        return QCoreApplication::translate("Calibration", "expired");
    if (daysLeft <= DueWithinDays)
        return QCoreApplication::translate("Calibration", "due in %n days", nullptr, int(daysLeft));
    return {};
}
