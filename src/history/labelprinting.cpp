#include "labelprinting.h"

#include "certificate.h"
#include "labelqueue.h"
#include "labelrenderer.h"
#include "labelsettings.h"
#include "programpaths.h"
#include "uiservices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace {

class LabelPrinting
{
    Q_DECLARE_TR_FUNCTIONS(LabelPrinting)
};

// The queue or PDF file chosen in the print dialog; empty both when the user cancelled.
struct PrintTarget
{
    QString queue;
    QString file;
};

PrintTarget askPrintTarget(const QSizeF &sizeMm, QWidget *parent)
{
    QPrinter printer;
    printer.setPageSize(QPageSize(sizeMm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
    printer.setFullPage(true);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(LabelPrinting::tr("Print Label"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile);
    ui().showDialog(dialog);
    if (dialog.result() != QDialog::Accepted)
        return {};
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return {QString(), printer.outputFileName()};
    return {printer.printerName(), QString()};
}

} // namespace

LabelPrint printEntryLabel(const RecordEntry &entry, AskPrinter ask, QWidget *parent)
{
    const LabelSettings settings = LabelSettings::fromSettingsFile(IniFileName);
    PrintTarget target{settings.printer, QString()};
    if (target.queue.isEmpty()) {
        if (ask == AskPrinter::Never)
            return {false,
                    LabelPrinting::tr("No label printed: no printer is set (Printer in "
                                      "section [Label] of the settings file).")};
        target = askPrintTarget(settings.sizeMm, parent);
    }
    const QList<LabelField> fields = labelFields(entry, settings.lab);
    QString error;
    if (!target.file.isEmpty()) {
        if (!writeLabelPdf(target.file, settings.sizeMm, fields, error))
            return {false, LabelPrinting::tr("The label was not saved: %1").arg(error)};
        return {true,
                LabelPrinting::tr("Label %1 saved as %2.")
                    .arg(entry.certificate, QDir::toNativeSeparators(target.file))};
    }
    if (target.queue.isEmpty())
        return {};
    const std::optional<int> job =
        sendLabel(target.queue, settings.sizeMm, fields, labelTitle(entry), error);
    if (!job)
        return {false, LabelPrinting::tr("The label was not printed: %1").arg(error)};
    return {true,
            LabelPrinting::tr("Label %1 sent to %2 (job %3).")
                .arg(entry.certificate, target.queue, QString::number(*job))};
}

bool saveEntryCertificate(const RecordEntry &entry, QWidget *parent)
{
    QFileDialog dialog(parent, LabelPrinting::tr("Save Certificate"),
                       QDir::home().filePath(entry.certificate + QStringLiteral(".pdf")),
                       LabelPrinting::tr("PDF files (*.pdf);;All files (*)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    ui().showDialog(dialog);
    const QStringList files = dialog.selectedFiles();
    if (dialog.result() != QDialog::Accepted || files.isEmpty())
        return false;
    QString error;
    if (writeCertificatePdf(files.first(), entry, LabelSettings::fromSettingsFile(IniFileName),
                            QDate::currentDate(), error))
        return true;
    msgBox(LabelPrinting::tr("The certificate was not saved.\n\n%1").arg(error), MsgButtons::Ok,
           MsgIcon::Stop, LabelPrinting::tr("Save Certificate"));
    return false;
}
