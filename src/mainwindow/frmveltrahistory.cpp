// "&History...": the calibration record of this bench, or of the lab's database.

#include "frmveltra.h"

#include "historywindow.h"
#include "programpaths.h"
#include "uiservices.h"

void frmVeltra::mnuHistory_Click()
{
    HistoryWindow history(RecordSettings::fromSettingsFile(IniFileName), this);
    ui().showDialog(history);
}
