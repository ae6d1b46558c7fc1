#include "calibrationwrite.h"

#include "datetext.h"
#include "link.h"
#include "settingvalue.h"

#include <QCoreApplication>

CalibrationWrite::CalibrationWrite(CalibrationCore &core, const DateRequest &asked,
                                   WriteObserver *observer)
    : m_core(core),
      m_observer(observer)
{
    m_report.asked = asked;
}

CalibrationWrite::~CalibrationWrite()
{
    end();
}

Outcome CalibrationWrite::note(const Outcome &outcome)
{
    if (!outcome.done() && m_report.outcome.done())
        m_report.outcome = outcome;
    return outcome;
}

void CalibrationWrite::end()
{
    if (m_ended)
        return;
    m_ended = true;
    if (m_observer)
        m_observer->writeEnded(m_report);
}

void CalibrationWrite::decline()
{
    note(Outcome::refused(Outcome::Kind::Declined));
}

Outcome CalibrationWrite::checkFirmware()
{
    if (kxFirmwareTooOld(m_core.link().instrument()))
        return note(Outcome::refused(Outcome::Kind::FirmwareTooOld));
    return {};
}

Outcome CalibrationWrite::checkIdentity(const QString &serialRead)
{
    const Outcome asked = m_core.transfer(QStringLiteral("#R"));
    if (!asked.done())
        return note(asked);
    const QString serialNow = trimSpaces(m_core.link().responseText());
    if (serialNow != serialRead)
        return note(Outcome::changed(serialRead, serialNow));
    return {};
}

Outcome CalibrationWrite::writeDates()
{
    DateWords held;
    const Outcome opened = m_core.readDates(held);
    if (!opened.done())
        return note(opened);
    m_report.held = held;

    // An instrument that keeps an expiration date always receives one.
    const DateRequest &asked = m_report.asked;
    QString command = QStringLiteral("WW") + instrumentDateText(asked.calibration);
    if (held.keepsExpiration()) {
        const QDate expiration = asked.expiration
            ? *asked.expiration
            : TextToDate(QStringLiteral("01.01.2001"), false).date();
        command += QStringLiteral(" ") + instrumentDateText(expiration);
    }
    m_report.command = command;
    if (m_observer && !m_observer->aboutToWrite(m_report))
        return note(Outcome::refused(Outcome::Kind::NotRecorded));

    Outcome sent = m_core.transfer(command);
    if (sent.done())
        sent = m_core.transfer(QStringLiteral("EW1"));
    if (!sent.done())
        return note(sent);
    m_report.written = true;
    return {};
}

Outcome CalibrationWrite::verify(const std::optional<QDate> &alsoWhenHeld)
{
    DateWords readBack;
    const Outcome checked = m_core.readDates(readBack);
    if (checked.done()) {
        m_report.readBack = readBack;
        const DateRequest &asked = m_report.asked;
        bool good = wordHoldsDate(readBack.calibration, asked.calibration);
        if (asked.expiration)
            good = good && wordHoldsDate(readBack.expiration, *asked.expiration);
        else if (alsoWhenHeld && readBack.keepsExpiration())
            good = good && wordHoldsDate(readBack.expiration, *alsoWhenHeld);
        m_report.verified = good;
    }
    note(checked);
    end();
    return checked;
}

Outcome CalibrationWrite::run(const QString &serialRead)
{
    Outcome outcome = checkFirmware();
    if (outcome.done())
        outcome = checkIdentity(serialRead);
    if (outcome.done())
        outcome = writeDates();
    if (outcome.done())
        outcome = verify();
    return outcome;
}

bool expiresBeforeCalibration(const DateRequest &asked)
{
    return asked.expiration && *asked.expiration < asked.calibration;
}

QString expiresBeforeCalibrationText(const DateRequest &asked)
{
    return QCoreApplication::translate(
               "Calibration", "The expiration date %1 lies before the calibration date %2.")
        .arg(asked.expiration.value_or(QDate()).toString(Qt::ISODate),
             asked.calibration.toString(Qt::ISODate));
}
