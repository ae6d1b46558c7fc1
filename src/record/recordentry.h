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
    QDateTime startedAt; // UTC
    QDateTime finishedAt; // UTC; invalid while open
    QString account;
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

    // A new open entry started now on this bench: account, host and program version filled in.
    static RecordEntry startedNow(RecordSource source);
};

// The words stored in the record and shown to the user ("verified", "window", ...).
QString outcomeText(RecordOutcome outcome);
std::optional<RecordOutcome> outcomeFromText(const QString &text);
QString sourceText(RecordSource source);
std::optional<RecordSource> sourceFromText(const QString &text);

// Instants are stored as ISO 8601 UTC with milliseconds ("2026-12-10T14:05:13.123Z"): the text
// sorts in time order on every database. Dates as "YYYY-MM-DD".
QString instantText(const QDateTime &instant);
QDateTime instantFromText(const QString &text);
QString dateText(const QDate &date);
QDate dateFromText(const QString &text);
