#include "readout.h"

#include "link.h"
#include "settingvalue.h"

#include <QLocale>

std::optional<QString> VersionCaption(const QString &ident)
{
    const QString s = TrimSpaces(ident);
    if (s.size() < 6)
        return std::nullopt;
    return TrimSpaces(s.left(s.size() - 6));
}

QString ChecksumCaption(const QString &identEx)
{
    // A trailing blank is no part of the checksum: trim before cutting.
    const QString s = TrimSpaces(identEx);
    const QString c = TrimSpaces(s.right(6));
    if (!c.contains(u'.'))
        return c;
    const QString front = TrimSpaces(s.left(qMax<qsizetype>(0, s.size() - 6)));
    return TrimSpaces(front.right(5));
}

QString BatteryCaption(double volts)
{
    // A garbled "Ux" can give thousands of volts; "1234.5 V" must not look like a list.
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(volts, 'f', 1) + QStringLiteral(" V");
}

ReadOut MakeReadOut(const InstrumentInfo &instrument, const QString &deviceName,
                    const DateWords &dateWords)
{
    ReadOut out;
    out.deviceName = deviceName;
    out.serialNo = instrument.SerialNo;
    out.version = VersionCaption(instrument.Ident);
    out.firmware = instrument.FwVersion;
    out.batteryVolts = instrument.BattVoltage;
    out.battery = BatteryCaption(instrument.BattVoltage);
    if (instrument.FwVersion > ChecksumFirmware)
        out.checksum = ChecksumCaption(instrument.IdentEx);
    out.dateWords = dateWords;
    out.calibrationDate = InstrumentDate(dateWords.calibration);
    out.expirationDate = InstrumentDate(dateWords.expiration);
    return out;
}
