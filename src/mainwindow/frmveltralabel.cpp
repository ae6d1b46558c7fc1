// "Print &Label...": the label of the last verified write of this run; with [Bench] PrintLabel=1
// it is printed after each verified write without asking.

#include "frmveltra.h"

#include "benchsettings.h"
#include "labelprinting.h"
#include "uiservices.h"
#include "writerecorder.h"

#include <QAction>
#include <QStatusBar>

void frmVeltra::labelWrite(const WriteRecorder &recorder)
{
    if (recorder.entry().outcome != RecordOutcome::Verified || !recorder.errorText().isEmpty())
        return;
    m_labelEntry = recorder.entry();
    mnuPrintLabel->setEnabled(true);
    if (readBenchSettings().printLabel)
        statusBar()->showMessage(printEntryLabel(*m_labelEntry, AskPrinter::Never, this).text);
}

void frmVeltra::mnuPrintLabel_Click()
{
    if (!m_labelEntry)
        return;
    const LabelPrint printed = printEntryLabel(*m_labelEntry, AskPrinter::WhenNoneSet, this);
    if (printed.sent)
        statusBar()->showMessage(printed.text);
    else if (!printed.text.isEmpty())
        msgBox(printed.text, MsgButtons::Ok, MsgIcon::Stop);
}
