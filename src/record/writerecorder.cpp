#include "writerecorder.h"

#include "link.h"

namespace {

QDate dateOfWord(const QString &word)
{
    return instrumentDate(word).value_or(QDate());
}

} // namespace

WriteRecorder::WriteRecorder(const CalibrationCore &core, RecordSource source,
                             const RecordSettings &settings)
    : m_core(core),
      m_record(settings),
      m_entry(RecordEntry::startedNow(source))
{
    m_entry.reference = settings.reference;
}

// The instrument as read, the dates asked for, and the dates held before, as far as known.
void WriteRecorder::describe(const WriteReport &report)
{
    const ReadOut instrument = m_core.readOut(DateWords());
    m_entry.port = m_port.value_or(std::optional<int>(m_core.link().settings().ComPortNo));
    m_entry.device = m_device;
    m_entry.model = instrument.deviceName;
    m_entry.serial = instrument.serialNo;
    m_entry.firmware = instrument.firmware;
    m_entry.checksum = instrument.checksum.value_or(QString());
    m_entry.calibrationAsked = report.asked.calibration;
    m_entry.expirationAsked = report.asked.expiration.value_or(QDate());
    if (report.held) {
        m_entry.calibrationBefore = dateOfWord(report.held->calibration);
        m_entry.expirationBefore = dateOfWord(report.held->expiration);
    }
}

void WriteRecorder::setPlace(std::optional<int> port, const QString &device)
{
    m_port = port;
    m_device = device;
}

bool WriteRecorder::store()
{
    const bool stored = m_entry.id == 0 ? m_record.add(m_entry) : m_record.complete(m_entry);
    if (!stored)
        m_error = m_record.errorText();
    return stored;
}

bool WriteRecorder::aboutToWrite(const WriteReport &report)
{
    describe(report);
    return store();
}

void WriteRecorder::writeEnded(const WriteReport &report)
{
    const Outcome &outcome = report.outcome;
    // Declined, or stopped because the entry could not be stored: there is nothing to record.
    if (outcome.kind == Outcome::Kind::Declined || outcome.kind == Outcome::Kind::NotRecorded)
        return;
    describe(report);
    if (report.readBack) {
        m_entry.calibrationReadBack = dateOfWord(report.readBack->calibration);
        m_entry.expirationReadBack = dateOfWord(report.readBack->expiration);
    }
    switch (outcome.kind) {
    case Outcome::Kind::FirmwareTooOld:
        m_entry.outcome = RecordOutcome::Refused;
        m_entry.detail = FirmwareTooOldText;
        break;
    case Outcome::Kind::InstrumentChanged:
        m_entry.outcome = RecordOutcome::Refused;
        m_entry.detail = instrumentChangedText(outcome);
        break;
    case Outcome::Kind::CommandFailed:
        m_entry.outcome = RecordOutcome::Failed;
        m_entry.detail = QStringLiteral("\"%1\" failed").arg(outcome.command);
        break;
    case Outcome::Kind::Done:
    case Outcome::Kind::Declined:
    case Outcome::Kind::NotRecorded:
        if (report.verified) {
            m_entry.outcome = *report.verified ? RecordOutcome::Verified : RecordOutcome::Mismatch;
        } else {
            m_entry.outcome = RecordOutcome::Failed;
            m_entry.detail = QStringLiteral("The write ended before its check.");
        }
        break;
    }
    m_entry.finishedAt = QDateTime::currentDateTimeUtc();
    store();
}

bool WriteRecorder::refusePassword(const DateRequest &asked)
{
    WriteReport report;
    report.asked = asked;
    describe(report);
    m_entry.outcome = RecordOutcome::Refused;
    m_entry.detail = QStringLiteral("Wrong password.");
    m_entry.finishedAt = QDateTime::currentDateTimeUtc();
    return store();
}
