#pragma once
// The calibration certificate of a verified write: one A4 page, PDF/A-1b, real text in embedded
// fonts. It states what the program did (the dates found, asked and read back), not measurement
// results, which the lab adds.

#include "labelsettings.h"
#include "recordentry.h"

// issued is the date of issue printed on it; the entry must be verified. Signed with the lab's
// key when settings name one; nothing is written when it cannot be signed.
bool writeCertificatePdf(const QString &path, const RecordEntry &entry,
                         const LabelSettings &settings, const QDate &issued, QString &error);
