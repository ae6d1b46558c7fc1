// Loading the main window: the settings and the presets of the date pickers.

#include "frmveltra.h"

#include "appsettings.h"
#include "benchsettings.h"
#include "programpaths.h"
#include "twips.h"
#include "uiservices.h"

#include <QDateEdit>
#include <QFrame>
#include <QTimer>

void frmVeltra::Form_Load()
{
    // The single-instance guard and the program paths come first, in the program's entry.
    ui().setBusyPointer(true);
    PictureWait->move(PictureWait->x(), twipsToPixels(1200));
    m_link.SetComSettings();
    m_link.forgetInstrument();
    InitProgram();
    presetDatePickers();
    EnableMenue(false);
    TimerStart->start();
}

void frmVeltra::presetDatePickers()
{
    const QDate today = m_today();
    DTPicker1[0]->setMaximumDate(today);
    setPickerPreset(DTPicker1[0], today);
    DTPicker1[1]->setMaximumDate(today.addYears(5));
    setPickerPreset(DTPicker1[1], today.addMonths(ValidMonthOfCalib));
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
    const AppSettings settings = readAppSettings();
    m_link.setSettings(settings.connection);
    ShowInfoPswMsg = settings.ShowInfoPswMsg;
    ValidMonthOfCalib = settings.ValidMonthOfCalib;
    if (settings.validMonthsRepaired)
        writeAppSetting(QStringLiteral("ValidMonthOfCalib"), QStringLiteral("12"));
    applyBenchSettings(readBenchSettings());
}
