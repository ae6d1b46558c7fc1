#pragma once
// veltra-calib's commands on the calibration record alone: no instrument is reached.

#include "recordentry.h"
#include "tooloptions.h"

#include <optional>

class CalibRecord;
struct RecordSettings;

// The entry named by id (a record id or a certificate number); none, with the reason on stderr,
// when the record cannot be read or holds no such entry.
std::optional<RecordEntry> namedEntry(CalibRecord &record, const QString &id);

// history --verify: "intact: N entries" and ExitDone; the first entry changed or removed and
// ExitNotHeld; ExitUsage when the record cannot be read.
int verifyRecord(const RecordSettings &settings, const ToolOptions &options);

// due: the instruments that fall due, as lines, JSON, CSV or an iCalendar file.
int listDue(const RecordSettings &settings, const ToolOptions &options);

// release ID: the calling account releases the entry, "entry N (VC-...) released by NAME" and
// ExitDone; ExitRefused with the reason when it may not (releaseRefusal()), the record
// unchanged; ExitUsage when the entry is missing or the record cannot be read or written.
int releaseEntry(const RecordSettings &settings, const ToolOptions &options);

// certificate --check FILE: "VC-...: matches entry N of the record; chain intact (M entries)",
// with "; signed by NAME" for a signed one, and ExitDone; ExitNotHeld when the entry is missing, its fields no longer give the
// certificate's hash or the chain is broken before it; ExitUsage when the file is no
// certificate of this program or the record cannot be read.
int checkCertificate(const RecordSettings &settings, const ToolOptions &options);
