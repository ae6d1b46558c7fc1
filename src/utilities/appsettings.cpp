#include "appsettings.h"

#include "programpaths.h"
#include "settingvalue.h"

#include <QString>

#include <optional>

namespace {

const QString ComPortKey = QStringLiteral("ComPort");
const QString BluetoothKey = QStringLiteral("ConnectViaBluetooth");

// The first word of a setting as a 16-bit number; -1 when it is not a number, nothing when it
// does not fit.
std::optional<qint16> firstWord(const QString &key, const QString &defaultText)
{
    QString line = readAppSetting(key, defaultText);
    return GetValue(line, 0, QStringLiteral(" ")).toInt16();
}

// Reads in key order; false when a number did not fit and the reading stopped.
bool readKeys(AppSettings &s)
{
    ConnectionSettings &c = s.connection;
    const std::optional<qint16> comPort = firstWord(ComPortKey, QStringLiteral("1"));
    if (!comPort)
        return false;
    c.ComPortNo = *comPort;

    QString bluetooth = CutNull(readAppSetting(BluetoothKey, QStringLiteral("0;3;5")));
    for (qint16 *value : {&c.BluetoothOn, &c.BtPromptTimeout, &c.BtReplyTimeout}) {
        const std::optional<qint16> number = GetValue(bluetooth, 1, QStringLiteral(";")).toInt16();
        if (!number)
            return false;
        *value = *number;
    }

    const std::optional<qint16> showInfo =
        firstWord(QStringLiteral("ShowInfoPswMsg"), QStringLiteral("1"));
    if (!showInfo)
        return false;
    s.ShowInfoPswMsg = *showInfo;

    const std::optional<qint16> validMonths =
        firstWord(QStringLiteral("ValidMonthOfCalib"), QStringLiteral("12"));
    if (!validMonths)
        return false;
    s.ValidMonthOfCalib = *validMonths;
    return true;
}

} // namespace

AppSettings readAppSettings()
{
    // Every key the reading does not reach keeps 0.
    AppSettings s{{0, 0, 0, 0}, 0, 0, false};
    if (!readKeys(s))
        return s;
    ConnectionSettings &c = s.connection;
    c.BtPromptTimeout = qMax(c.BtPromptTimeout, qint16(1));
    c.BtReplyTimeout = qMax(c.BtReplyTimeout, qint16(2));
    if (s.ValidMonthOfCalib == -1) {
        s.ValidMonthOfCalib = 12;
        s.validMonthsRepaired = true;
    }
    return s;
}

bool writeConnectionSettings(const ConnectionSettings &settings)
{
    const bool port = storeComPort(settings.ComPortNo);
    const bool bluetooth = writeAppSetting(BluetoothKey,
                                           QStringLiteral("%1;%2;%3")
                                               .arg(settings.BluetoothOn)
                                               .arg(settings.BtPromptTimeout)
                                               .arg(settings.BtReplyTimeout));
    return port && bluetooth;
}

bool storeComPort(qint16 portNo)
{
    return writeAppSetting(ComPortKey, QString::number(portNo));
}
