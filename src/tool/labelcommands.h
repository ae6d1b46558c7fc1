#pragma once
// veltra-calib's label and certificate: drawn from a verified entry of the calibration record,
// found by its id or certificate number.

#include "tooloptions.h"

struct LabelSettings;
struct RecordSettings;

// label: the label as a PDF file (-o), or sent to the print queue of --printer or of the settings;
// certificate: the certificate as an A4 PDF/A-1b file (-o), issued today. ExitUsage when the entry
// is missing, the file cannot be written or the queue takes no job; ExitRefused, with the reason
// on stderr, when the entry is not verified.
int makePage(const RecordSettings &record, const LabelSettings &label, const ToolOptions &options);
