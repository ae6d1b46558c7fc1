// Loading the main window: the settings and the presets of the date pickers.

#include "frmveltra.h"

#include "programpaths.h"
#include "settingvalue.h"
#include "twips.h"
#include "uiservices.h"

#include <QDateEdit>
#include <QFrame>
#include <QTimer>

#include <optional>

namespace {

// The first word of a setting as a 16-bit number; -1 when it is not a number, nothing when it
// does not fit.
std::optional<qint16> firstWord(const QString &key, const QString &defaultText)
{
    QString line = readAppSetting(key, defaultText);
    return GetValue(line, 0, QStringLiteral(" ")).toInt16();
}

} // namespace

void frmVeltra::Form_Load()
{
    // The single-instance guard and the program paths come first, in the program's entry.
    ui().setBusyPointer(true);
    PictureWait->move(PictureWait->x(), twipsToPixels(1200));
    m_link.SetComSettings();
    m_link.Instrument.DeviceType = 0;
    const QDate today = m_today();
    InitProgram();
    DTPicker1[0]->setMaximumDate(today);
    setPickerPreset(DTPicker1[0], today);
    DTPicker1[1]->setMaximumDate(today.addYears(5));
    setPickerPreset(DTPicker1[1], today.addMonths(ValidMonthOfCalib));
    m_link.ExchangeBusy = 0;
    EnableMenue(false);
    TimerStart->start();
}

// A preset outside the picker's range is not applied; the picker keeps its date.
void frmVeltra::setPickerPreset(QDateEdit *picker, const QDate &date)
{
    if (date >= picker->minimumDate() && date <= picker->maximumDate())
        picker->setDate(date);
}

void frmVeltra::InitProgram()
{
    m_link.InitDeviceTables();

    // A number that does not fit 16 bits stops the reading at its key: that key and every later
    // one keep 0, and no rule below applies.
    Link &l = m_link;
    l.ComPortNo = l.BluetoothOn = l.BtPromptTimeout = l.BtReplyTimeout = 0;
    ShowInfoPswMsg = ValidMonthOfCalib = 0;

    const std::optional<qint16> comPort = firstWord(QStringLiteral("ComPort"), QStringLiteral("1"));
    if (!comPort)
        return;
    l.ComPortNo = *comPort;

    QString bluetooth =
        CutNull(readAppSetting(QStringLiteral("ConnectViaBluetooth"), QStringLiteral("0;3;5")));
    for (qint16 *value : {&l.BluetoothOn, &l.BtPromptTimeout, &l.BtReplyTimeout}) {
        const std::optional<qint16> number = GetValue(bluetooth, 1, QStringLiteral(";")).toInt16();
        if (!number)
            return;
        *value = *number;
    }

    const std::optional<qint16> showInfo =
        firstWord(QStringLiteral("ShowInfoPswMsg"), QStringLiteral("1"));
    if (!showInfo)
        return;
    ShowInfoPswMsg = *showInfo;

    const std::optional<qint16> validMonths =
        firstWord(QStringLiteral("ValidMonthOfCalib"), QStringLiteral("12"));
    if (!validMonths)
        return;
    ValidMonthOfCalib = *validMonths;

    l.BtPromptTimeout = qMax(l.BtPromptTimeout, qint16(1));
    l.BtReplyTimeout = qMax(l.BtReplyTimeout, qint16(2));
    if (ValidMonthOfCalib == -1) {
        writeAppSetting(QStringLiteral("ValidMonthOfCalib"), QStringLiteral("12"));
        ValidMonthOfCalib = 12;
    }
}
