#include "tooloutput.h"

#include "datetext.h"
#include "portentry.h"
#include "tooltext.h"

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

QJsonObject datesJson(const std::optional<QDate> &calibration,
                      const std::optional<QDate> &expiration)
{
    return {{QStringLiteral("calibration_date"), dateValue(calibration)},
            {QStringLiteral("expiration_date"), dateValue(expiration)}};
}

QString datesText(const std::optional<QDate> &calibration, const std::optional<QDate> &expiration)
{
    QString text = dateText(calibration);
    if (expiration)
        text += ToolText::tr(", expires ") + dateText(expiration);
    return text;
}

} // namespace

QJsonValue dateValue(const std::optional<QDate> &date)
{
    if (!date || !date->isValid())
        return QJsonValue::Null;
    return date->toString(Qt::ISODate);
}

QString alignedLine(const QString &label, const QString &value)
{
    return (label + QLatin1Char(':')).leftJustified(LabelWidth) + value;
}

QJsonObject readOutJson(const PortPlace &place, const ReadOut &readOut, bool withDates)
{
    QJsonObject object{
        {QStringLiteral("port"), place.number ? QJsonValue(*place.number) : QJsonValue::Null},
        {QStringLiteral("device"), place.device},
        {QStringLiteral("model"), readOut.deviceName},
        {QStringLiteral("serial"), readOut.serialNo},
        {QStringLiteral("version"),
         readOut.version ? QJsonValue(*readOut.version) : QJsonValue::Null},
        {QStringLiteral("firmware"), readOut.firmware},
        {QStringLiteral("battery_volts"), readOut.batteryVolts},
        {QStringLiteral("checksum"),
         readOut.checksum ? QJsonValue(*readOut.checksum) : QJsonValue::Null},
    };
    if (withDates) {
        object.insert(QStringLiteral("calibration_date"), dateValue(readOut.calibrationDate));
        object.insert(QStringLiteral("expiration_date"), dateValue(readOut.expirationDate));
        const std::optional<qint64> days = expirationDaysLeft(readOut, QDate::currentDate());
        object.insert(QStringLiteral("days_left"), days ? QJsonValue(*days) : QJsonValue::Null);
    }
    return object;
}

void addWriteJson(QJsonObject &object, const WriteReport &report, bool keepsExpiration)
{
    object.insert(QStringLiteral("written"),
                  datesJson(report.asked.calibration, writtenExpiration(report, keepsExpiration)));
    if (report.readBack) {
        object.insert(QStringLiteral("read_back"),
                      datesJson(instrumentDate(report.readBack->calibration),
                                instrumentDate(report.readBack->expiration)));
    } else {
        object.insert(QStringLiteral("read_back"), QJsonValue::Null);
    }
    object.insert(QStringLiteral("verified"), report.verified.value_or(false));
}

QStringList readOutLines(const PortPlace &place, const ReadOut &readOut, bool withDates)
{
    const QString port = place.number
        ? portName(*place.number) + QStringLiteral(" (%1)").arg(place.device)
        : place.device;
    QStringList lines{
        alignedLine(ToolText::tr("Port"), port),
        alignedLine(ToolText::tr("Model"), readOut.deviceName),
        alignedLine(ToolText::tr("Serial No."), readOut.serialNo),
        alignedLine(ToolText::tr("Version"), readOut.version.value_or(QString())),
        alignedLine(ToolText::tr("Firmware"), QString::number(readOut.firmware)),
        alignedLine(ToolText::tr("Battery"), readOut.battery),
        alignedLine(ToolText::tr("Checksum"), readOut.checksum.value_or(QStringLiteral("-"))),
    };
    if (withDates) {
        lines << alignedLine(ToolText::tr("Calibration date"), dateText(readOut.calibrationDate));
        lines << alignedLine(ToolText::tr("Expiration date"),
                             readOut.offersExpiration() ? dateText(readOut.expirationDate)
                                                        : ToolText::tr("(none kept)"));
    }
    return lines;
}

QStringList writeLines(const WriteReport &report, bool keepsExpiration)
{
    const QString written =
        datesText(report.asked.calibration, writtenExpiration(report, keepsExpiration));
    QStringList lines{alignedLine(
        ToolText::tr("Written"),
        keepsExpiration ? written : ToolText::tr("%1 (keeps no expiration date)").arg(written))};
    if (report.readBack) {
        const std::optional<QDate> expiration =
            keepsExpiration ? instrumentDate(report.readBack->expiration) : std::nullopt;
        lines << alignedLine(ToolText::tr("Read back"),
                             datesText(instrumentDate(report.readBack->calibration), expiration));
    }
    lines << alignedLine(ToolText::tr("Verified"),
                         report.verified.value_or(false) ? ToolText::tr("yes")
                                                         : ToolText::tr("no"));
    return lines;
}

void addCertificateJson(QJsonObject &object, const QString &certificate)
{
    object.insert(QStringLiteral("certificate"),
                  certificate.isEmpty() ? QJsonValue() : QJsonValue(certificate));
}

QStringList certificateLines(const QString &certificate)
{
    if (certificate.isEmpty())
        return {};
    return {alignedLine(ToolText::tr("Certificate No."), certificate)};
}
