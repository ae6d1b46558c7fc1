#pragma once
// Keeps the calibration record of one write of the core (calibrationwrite.h): the entry is
// stored when the core is about to send the first "WW", and the write stops when it cannot be;
// it is completed when the write ends. An attempt that ends before "WW" (firmware too old,
// instrument changed, a command failed) gets one complete entry; so does a wrong password
// (refusePassword), which never reaches the core. A write the user declined leaves no entry.
//
// Use one WriteRecorder per write, on the thread of the write. errorText() says why an entry
// could not be stored; empty when every entry was.

#include "calibrationwrite.h"
#include "calibrecord.h"

class WriteRecorder final : public WriteObserver
{
public:
    WriteRecorder(const CalibrationCore &core, RecordSource source, const RecordSettings &settings);

    bool aboutToWrite(const WriteReport &report) override;
    void writeEnded(const WriteReport &report) override;

    // Where the instrument sits, when the caller knows better than the link's port number: a device
    // path given directly (no number), or the device behind the number.
    void setPlace(std::optional<int> port, const QString &device);

    // A wrong password refused the write of these dates.
    bool refusePassword(const DateRequest &asked);

    QString errorText() const { return m_error; }
    // The certificate number of the completed entry; empty until then, and for a write that was
    // not verified.
    QString certificate() const { return m_entry.certificate; }
    // The entry as last stored or about to be.
    const RecordEntry &entry() const { return m_entry; }

private:
    void describe(const WriteReport &report);
    bool store();

    const CalibrationCore &m_core;
    CalibRecord m_record;
    RecordEntry m_entry;
    QString m_error;
    std::optional<std::optional<int>> m_port;
    QString m_device;
};
