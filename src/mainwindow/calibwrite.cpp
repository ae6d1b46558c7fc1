// Writing the calibration date: the once-per-run password gate, then the core's write steps with
// the question before them, the read that follows and the verdict as message boxes.

#include "frmveltra.h"

#include "calibrationwrite.h"
#include "linkmessages.h"
#include "msgform.h"
#include "passwordfilebox.h"
#include "passwordinput.h"
#include "programpaths.h"
#include "uiservices.h"
#include "writerecorder.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>

bool frmVeltra::expirationChosen() const
{
    return CheckStatus->isChecked() && DTPicker1[1]->isVisibleTo(this);
}

DateRequest frmVeltra::askedDates() const
{
    DateRequest asked{DTPicker1[0]->date(), std::nullopt};
    if (expirationChosen())
        asked.expiration = DTPicker1[1]->date();
    return asked;
}

void frmVeltra::ComChange_Click()
{
    const RecordSettings recordSettings = RecordSettings::fromSettingsFile(IniFileName);
    if (expiresBeforeCalibration(askedDates())
        && msgBox(
               tr("%1 Write these dates anyway?").arg(expiresBeforeCalibrationText(askedDates())),
               MsgButtons::YesNo, MsgIcon::Exclamation, ProgramTitle, MsgResult::No)
            != MsgResult::Yes)
        return;
    const WriteGate::Check gate = writeGate.check();
    switch (gate.step) {
    case WriteGate::Step::FileError:
        passwordFileOk(gate.file);
        return;
    case WriteGate::Step::NoPassword:
        if (ShowInfoPswMsg == 1) {
            MsgForm notice(this);
            ui().showDialog(notice);
            ShowInfoPswMsg = 0;
        }
        break;
    case WriteGate::Step::AskPassword: {
        PasswordInput input(this);
        ui().showDialog(input);
        if (!writeGate.answer(input.password())) {
            // Kept in the record without a word, as the refusal itself.
            WriteRecorder(m_core, RecordSource::Window, recordSettings)
                .refusePassword(askedDates());
            return;
        }
        break;
    }
    case WriteGate::Step::Passed:
        break;
    }

    const MenuLock lock(*this);
    // The expiration date the user asked for must come back too, even when the read that follows
    // finds no expiration date and hides its controls.
    WriteRecorder recorder(m_core, RecordSource::Window, recordSettings);
    CalibrationWrite write(m_core, askedDates(), &recorder);

    // Another instrument on the adapter: nothing was written, and a verdict would be about an
    // instrument the read-out does not show. Without its entry in the record nothing was written
    // either.
    const Outcome::Kind written = SetCalibDate(write).kind;
    if (written == Outcome::Kind::NotRecorded) {
        msgBox(tr("%1\n\nNothing was written to the instrument.").arg(recorder.errorText()),
               MsgButtons::Ok, MsgIcon::Stop);
        return;
    }
    if (written == Outcome::Kind::InstrumentChanged)
        return;
    ComRead_Click();

    const std::optional<QDate> offered =
        expirationChosen() ? std::optional<QDate>(DTPicker1[1]->date()) : std::nullopt;
    const Outcome checked = write.verify(offered);
    if (!checked.done()) {
        ShowTransferError(m_link, checked.command);
        return;
    }
    labelWrite(recorder);
    // The box keeps its words; the entry's certificate number is behind "Show Details...".
    const QString certificate = recorder.certificate().isEmpty()
        ? QString()
        : tr("Certificate No. %1").arg(recorder.certificate());
    if (write.report().verified.value_or(false)) {
        msgBox(tr("Check date successful written!"), MsgButtons::Ok, MsgIcon::Information,
               ProgramTitle, MsgResult::Ok, certificate);
        if (write.report().written)
            noteVerifiedWrite(m_link.instrument().SerialNo);
    } else {
        msgBox(tr("Write check date failed!"), MsgButtons::Ok, MsgIcon::Stop, ProgramTitle,
               MsgResult::Ok, certificate);
    }
    if (!recorder.errorText().isEmpty())
        msgBox(tr("The outcome of this write could not be kept in the calibration record."
                  "\n\n%1")
                   .arg(recorder.errorText()),
               MsgButtons::Ok, MsgIcon::Exclamation);
}

Outcome frmVeltra::SetCalibDate(CalibrationWrite &write)
{
    const MenuLock lock(*this);
    if (msgBox(tr("Calibration date will be set now.\n\nYou are sure?"), MsgButtons::YesNoCancel,
               MsgIcon::Question, ProgramTitle, MsgResult::Yes)
        != MsgResult::Yes) {
        write.decline();
        return write.report().outcome;
    }

    Outcome outcome = write.checkFirmware();
    if (outcome.done())
        outcome = write.checkIdentity(LabelSerialNo->text());
    if (outcome.done())
        outcome = write.writeDates();

    switch (outcome.kind) {
    case Outcome::Kind::FirmwareTooOld:
        msgBox(FirmwareTooOldText, MsgButtons::Ok, MsgIcon::Information);
        break;
    case Outcome::Kind::InstrumentChanged:
        msgBox(instrumentChangedText(outcome), MsgButtons::Ok, MsgIcon::Stop);
        break;
    case Outcome::Kind::CommandFailed:
        ShowTransferError(m_link, outcome.command);
        break;
    case Outcome::Kind::Done:
    case Outcome::Kind::Declined:
    case Outcome::Kind::NotRecorded: // the caller says why
        break;
    }
    return outcome;
}
