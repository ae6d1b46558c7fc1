#include "calibrationcore.h"

#include "link.h"

Outcome CalibrationCore::identify()
{
    const QString failed = m_link.ReadInstrumentInfo();
    return failed.isEmpty() ? Outcome() : Outcome::failed(failed);
}

Outcome CalibrationCore::transfer(const QString &command)
{
    return m_link.DoTransfer(command, 1) == -1 ? Outcome::failed(command) : Outcome();
}

Outcome CalibrationCore::readDates(DateWords &words)
{
    const Outcome read = transfer(QStringLiteral("WR"));
    if (read.done())
        words = splitDateWords(m_link.responseText());
    return read;
}

Outcome CalibrationCore::read(ReadOut &out)
{
    Outcome outcome = identify();
    if (!outcome.done())
        return outcome;
    DateWords words;
    outcome = readDates(words);
    out = readOut(words);
    return outcome;
}

ReadOut CalibrationCore::readOut(const DateWords &words) const
{
    return makeReadOut(m_link.instrument(), m_link.deviceName(), words);
}

bool kxFirmwareTooOld(const InstrumentInfo &instrument)
{
    return instrument.Ident.contains(QStringLiteral("KX"))
        && instrument.FwVersion < KxCalibFlagFirmware;
}
