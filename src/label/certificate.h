#pragma once
// The calibration certificate of a verified write: one A4 page, PDF/A-1b, real text in embedded
// fonts. It states what the program did (the dates found, asked and read back), not measurement
// results, which the lab adds. It names the record entry with the first digits of its hash and
// who released it, and carries the certificate number and the whole hash in its keywords, so
// that the file can be checked against the record (readCertificateMark()).

#include "labelsettings.h"
#include "recordentry.h"

#include <optional>

// Why no certificate of entry may be made with settings (an entry not released where the settings
// require a release), in a sentence for the user; empty when it may.
QString certificateRefusal(const RecordEntry &entry, const LabelSettings &settings);

// issued is the date of issue printed on it; the entry must be verified. Signed with the lab's
// key when settings name one; nothing is written when it cannot be signed.
bool writeCertificatePdf(const QString &path, const RecordEntry &entry,
                         const LabelSettings &settings, const QDate &issued, QString &error);

// What a certificate of this program carries to be checked against the record.
struct CertificateMark
{
    QString certificate; // "VC-2026-000123"
    QString hash; // the entry's hash when the certificate was made
    QString signer; // the common name of its signature's signer; empty when unsigned
};

// The keywords of the certificate of entry: "VC-2026-000123; record hash <64 hex digits>".
QString certificateKeywords(const RecordEntry &entry);
// The mark of the certificate in the file at path; none, with error set, for a file that cannot
// be read or is no certificate of this program.
std::optional<CertificateMark> readCertificateMark(const QString &path, QString &error);
