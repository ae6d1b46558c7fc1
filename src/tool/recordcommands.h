#pragma once
// veltra-calib's commands on the calibration record alone: no instrument is reached.

#include "tooloptions.h"

struct RecordSettings;

// history --verify: "intact: N entries" and ExitDone; the first entry changed or removed and
// ExitNotHeld; ExitUsage when the record cannot be read.
int verifyRecord(const RecordSettings &settings, const ToolOptions &options);

// due: the instruments that fall due, as lines, JSON, CSV or an iCalendar file.
int listDue(const RecordSettings &settings, const ToolOptions &options);
