#include "labelcommands.h"

#include "calibrecord.h"
#include "certificate.h"
#include "labelqueue.h"
#include "labelrenderer.h"
#include "labelsettings.h"
#include "recordcommands.h"
#include "tooltext.h"

#include <cstdio>
#include <optional>

namespace {

// The verified entry named by options.entryId; none, with the exit code set and the reason on
// stderr, for any other.
std::optional<RecordEntry> verifiedEntry(const RecordSettings &settings, const ToolOptions &options,
                                         const QString &product, int &exitCode)
{
    CalibRecord record(settings);
    std::optional<RecordEntry> entry = namedEntry(record, options.entryId);
    exitCode = ExitUsage;
    if (!entry)
        return std::nullopt;
    if (entry->outcome != RecordOutcome::Verified) {
        exitCode = ExitRefused;
        printError(ToolText::tr("entry %1 was not verified (%2): no %3")
                       .arg(QString::number(entry->id), outcomeText(entry->outcome), product));
        return std::nullopt;
    }
    exitCode = ExitDone;
    return entry;
}

} // namespace

int makePage(const RecordSettings &record, const LabelSettings &label, const ToolOptions &options)
{
    const bool isLabel = options.command == ToolCommand::Label;
    const QString queue = options.printer.isEmpty() ? label.printer : options.printer;
    if (isLabel && options.output.isEmpty() && queue.isEmpty()) {
        printError(ToolText::tr("label needs -o FILE.pdf or --printer NAME, or a Printer in "
                                "section [Label] of the settings file (see --help)"));
        return ExitUsage;
    }
    int exitCode = ExitDone;
    const std::optional<RecordEntry> entry = verifiedEntry(
        record, options, isLabel ? ToolText::tr("label") : ToolText::tr("certificate"), exitCode);
    if (!entry)
        return exitCode;
    if (const QString refusal = certificateRefusal(*entry, label); !isLabel && !refusal.isEmpty()) {
        printError(refusal);
        return ExitRefused;
    }
    QString error;
    if (isLabel && options.output.isEmpty()) {
        const std::optional<int> job = sendLabel(
            queue, label.sizeMm, labelFields(*entry, label.lab), labelTitle(*entry), error);
        if (!job) {
            printError(error);
            return ExitUsage;
        }
        if (!options.quiet)
            std::printf("label sent to %s as job %d\n", qPrintable(queue), *job);
        return ExitDone;
    }
    const bool written = isLabel
        ? writeLabelPdf(options.output, label.sizeMm, labelFields(*entry, label.lab), error)
        : writeCertificatePdf(options.output, *entry, label, QDate::currentDate(), error);
    if (!written) {
        printError(error);
        return ExitUsage;
    }
    return ExitDone;
}
