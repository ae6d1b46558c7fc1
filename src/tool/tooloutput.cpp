#include "tooloutput.h"

#include "datetext.h"


namespace {

constexpr int LabelWidth = 18;

QString dateText(const std::optional<QDate> &date)
{
    return date && date->isValid() ? date->toString(Qt::ISODate) : QStringLiteral("-");
}

// The dates the "WW" command carried: the expiration date asked, or 1 January 2001 for an
// instrument that keeps one when none was asked.
std::optional<QDate> writtenExpiration(const WriteReport &report, bool keepsExpiration)
{
    if (!keepsExpiration)
        return std::nullopt;
    if (report.asked.expiration)
        return report.asked.expiration;
    return TextToDate(QStringLiteral("01.01.2001"), false).date();
}

QJsonObject datesJson(const std::optional<QDate> &calibration, const std::optional<QDate> &expiration)
{
    return {{QStringLiteral("calibration_date"), DateValue(calibration)},
            {QStringLiteral("expiration_date"), DateValue(expiration)}};
}

QString datesText(const std::optional<QDate> &calibration, const std::optional<QDate> &expiration)
{
    QString text = dateText(calibration);
    if (expiration)
        text += QStringLiteral(", expires ") + dateText(expiration);
    return text;
}

} // namespace

QJsonValue DateValue(const std::optional<QDate> &date)
{
    if (!date || !date->isValid())
        return QJsonValue::Null;
    return date->toString(Qt::ISODate);
}

QString AlignedLine(const QString &label, const QString &value)
{
    return (label + QLatin1Char(':')).leftJustified(LabelWidth) + value;
}

QJsonObject ReadOutJson(const PortPlace &place, const ReadOut &readOut, bool withDates)
{
    QJsonObject object{
        {QStringLiteral("port"), place.number ? QJsonValue(*place.number) : QJsonValue::Null},
        {QStringLiteral("device"), place.device},
        {QStringLiteral("model"), readOut.deviceName},
        {QStringLiteral("serial"), readOut.serialNo},
        {QStringLiteral("version"), readOut.version ? QJsonValue(*readOut.version) : QJsonValue::Null},
        {QStringLiteral("firmware"), readOut.firmware},
        {QStringLiteral("battery_volts"), readOut.batteryVolts},
        {QStringLiteral("checksum"),
         readOut.checksum ? QJsonValue(*readOut.checksum) : QJsonValue::Null},
    };
    if (withDates) {
        object.insert(QStringLiteral("calibration_date"), DateValue(readOut.calibrationDate));
        object.insert(QStringLiteral("expiration_date"), DateValue(readOut.expirationDate));
    }
    return object;
}

void AddWriteJson(QJsonObject &object, const WriteReport &report, bool keepsExpiration)
{
    object.insert(QStringLiteral("written"),
                  datesJson(report.asked.calibration, writtenExpiration(report, keepsExpiration)));
    if (report.readBack) {
        object.insert(QStringLiteral("read_back"),
                      datesJson(InstrumentDate(report.readBack->calibration),
                                InstrumentDate(report.readBack->expiration)));
    } else {
        object.insert(QStringLiteral("read_back"), QJsonValue::Null);
    }
    object.insert(QStringLiteral("verified"), report.verified.value_or(false));
}

QStringList ReadOutLines(const PortPlace &place, const ReadOut &readOut, bool withDates)
{
    const QString port = place.number ? QStringLiteral("COM%1 (%2)").arg(*place.number).arg(place.device)
                                      : place.device;
    QStringList lines{
        AlignedLine(QStringLiteral("Port"), port),
        AlignedLine(QStringLiteral("Model"), readOut.deviceName),
        AlignedLine(QStringLiteral("Serial No."), readOut.serialNo),
        AlignedLine(QStringLiteral("Version"), readOut.version.value_or(QString())),
        AlignedLine(QStringLiteral("Firmware"), QString::number(readOut.firmware)),
        AlignedLine(QStringLiteral("Battery"), readOut.battery),
        AlignedLine(QStringLiteral("Checksum"), readOut.checksum.value_or(QStringLiteral("-"))),
    };
    if (withDates) {
        lines << AlignedLine(QStringLiteral("Calibration date"), dateText(readOut.calibrationDate));
        lines << AlignedLine(QStringLiteral("Expiration date"),
                             readOut.offersExpiration() ? dateText(readOut.expirationDate)
                                                        : QStringLiteral("(none kept)"));
    }
    return lines;
}

QStringList WriteLines(const WriteReport &report, bool keepsExpiration)
{
    QStringList lines{AlignedLine(QStringLiteral("Written"),
                                  datesText(report.asked.calibration,
                                            writtenExpiration(report, keepsExpiration)))};
    if (report.readBack) {
        const std::optional<QDate> expiration = keepsExpiration
            ? InstrumentDate(report.readBack->expiration) : std::nullopt;
        lines << AlignedLine(QStringLiteral("Read back"),
                             datesText(InstrumentDate(report.readBack->calibration), expiration));
    }
    lines << AlignedLine(QStringLiteral("Verified"),
                         report.verified.value_or(false) ? QStringLiteral("yes") : QStringLiteral("no"));
    return lines;
}
