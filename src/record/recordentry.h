#pragma once
// One entry of the calibration record: a write attempt, from its start to its outcome.

#include <QDate>
#include <QDateTime>
#include <QString>

#include <optional>

enum class RecordOutcome {
    // Stored before the first write command; completed with one of the others.
    Open,
    Verified,
    // Written, but the instrument read back other dates.
    Mismatch,
    // A command failed; the detail names it.
    Failed,
    // Nothing written: wrong password, firmware too old, instrument changed; the detail says why.
    Refused,
    // Started and never completed: the program was killed or the machine lost power. Only ever
    // read back, never stored.
    Interrupted,
};

enum class RecordSource { Window, Tool };

struct RecordEntry
{
    qint64 id = 0; // set when stored
    // "VC-2026-000123": the year the write started and the id; set when a verified write is
    // completed, empty for every other outcome.
    QString certificate;
    QDateTime startedAt; // UTC
    QDateTime finishedAt; // UTC; invalid while open
    QString account;
    // The account's full name, or the account when the system knows none.
    QString technician;
    QString host;
    QString programVersion;
    RecordSource source = RecordSource::Window;
    std::optional<int> port; // none when the tool was given a device path
    QString device;
    QString model;
    QString serial;
    std::optional<double> firmware;
    QString checksum; // empty when the firmware shows none
    // Dates held before the write, asked for and read back; null where there is none.
    QDate calibrationBefore;
    QDate expirationBefore;
    QDate calibrationAsked;
    QDate expirationAsked;
    QDate calibrationReadBack;
    QDate expirationReadBack;
    RecordOutcome outcome = RecordOutcome::Open;
    QString detail;
    // The bench's reference source ([Record] Reference, or the tool's --reference).
    QString reference;
    // SHA-256 of the completed entry and the one completed before it (recordchain.h); read only.
    QString hash;
    qint64 chainSeq = 0; // its link's number in the chain; 0 while open. Read only.
    // The second person who released it (recordrelease.h), and when; empty and invalid when
    // no one has. Read only.
    QString releasedBy;
    QDateTime releasedAt;

    // A new open entry started now on this bench: account, host and program version filled in.
    static RecordEntry startedNow(RecordSource source);
};

// "VC-<year>-<id, six digits>": unique as the id is, and short enough to quote on the phone.
QString certificateNumber(const QDateTime &startedAt, qint64 id);
// The id a certificate number was made from; none for any other text.
std::optional<qint64> idOfCertificate(const QString &certificate);

// The words stored in the record and in the tool's output ("verified", "window", ...), the same
// in every language.
QString outcomeText(RecordOutcome outcome);
std::optional<RecordOutcome> outcomeFromText(const QString &text);
QString sourceText(RecordSource source);
std::optional<RecordSource> sourceFromText(const QString &text);
// The same words as the windows show them, in the user's language.
QString outcomeShown(RecordOutcome outcome);
QString sourceShown(RecordSource source);

// Instants are stored as ISO 8601 UTC with milliseconds ("2026-12-10T14:05:13.123Z"): the text
// sorts in time order on every database. Dates as "YYYY-MM-DD".
QString instantText(const QDateTime &instant);
QDateTime instantFromText(const QString &text);
QString dateText(const QDate &date);
QDate dateFromText(const QString &text);
