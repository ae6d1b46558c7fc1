// Writing the calibration date: the once-per-run password gate, the write and its check.

#include "frmveltra.h"

#include "datetext.h"
#include "msgform.h"
#include "passwordinput.h"
#include "passwordstore.h"
#include "settingvalue.h"
#include "texttokens.h"
#include "uiservices.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLocale>
#include <QRegularExpression>

#include <optional>

namespace {

const QString Space = QStringLiteral(" ");

// Firmware of the KX models below this version has no calibration flag.
constexpr double KxCalibFlagFirmware = 1.605;

// "yymmdd", as the instrument keeps its dates.
QString instrumentDateText(const QDate &date)
{
    return QStringLiteral("%1%2%3")
        .arg(date.year() % 100, 2, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}

// A word counts as a number only when all of it converts: a sign, digits and at most one decimal
// separator. An empty or garbled word has no number, so it never equals a date.
std::optional<double> wordNumber(const QString &word)
{
    static const QRegularExpression number(
        QStringLiteral(R"(^[+-]?([0-9]+([.,][0-9]*)?|[.,][0-9]+)$)"));
    const QString trimmed = TrimSpaces(word);
    if (!number.match(trimmed).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(CommaToPoint(trimmed), &ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

// The user asked for an expiration date: the box is ticked and the instrument offers one.
bool expirationChosen(const frmVeltra &window)
{
    return window.CheckStatus->isChecked() && window.DTPicker1[1]->isVisibleTo(&window);
}

// Leading zeros do not count: an instrument may answer 5 January 2009 as "90105".
bool sameNumber(const QString &word, const QDate &date)
{
    const std::optional<double> value = wordNumber(word);
    return value && *value == instrumentDateText(date).toDouble();
}

} // namespace

void frmVeltra::ComChange_Click()
{
    if (!PasswordOk) {
        if (!ReadPassword())
            return;
        if (Password[0].isEmpty()) {
            if (ShowInfoPswMsg == 1) {
                MsgForm notice(this);
                notice.exec();
                ShowInfoPswMsg = 0;
            }
        } else {
            {
                PasswordInput input(this);
                input.exec();
            }
            if (InputPassword != Password[0])
                return;
        }
    }
    PasswordOk = true;

    // The expiration date the user asked for must come back too, even when the read that follows
    // finds no expiration date and hides its controls.
    const bool expirationWanted = expirationChosen(*this);

    SetCalibDate();
    ComRead_Click();

    Link &l = link();
    if (l.DoTransfer(QStringLiteral("WR"), 1) == -1) {
        l.ShowTransferError(QStringLiteral("WR"));
        EnableMenue(true);
        return;
    }
    QString reply = l.ResponseText;
    const QString calibWord = TrimSpaces(GetToken(reply, Space));
    const QString expirationWord = TrimSpaces(GetToken(reply, Space));

    bool good = sameNumber(calibWord, DTPicker1[0]->date());
    if (expirationWanted || (wordNumber(expirationWord) && expirationChosen(*this)))
        good = good && sameNumber(expirationWord, DTPicker1[1]->date());

    if (good)
        MsgBox(QStringLiteral("Check date successful written!"), MsgButtons::Ok, MsgIcon::Information);
    else
        MsgBox(QStringLiteral("Write check date failed!"), MsgButtons::Ok, MsgIcon::Stop);
    EnableMenue(true);
}

void frmVeltra::SetCalibDate()
{
    EnableMenue(false);
    if (MsgBox(QStringLiteral("Calibration date will be set now.\n\nYou are sure?"),
               MsgButtons::YesNoCancel, MsgIcon::Question, ProgramTitle, MsgResult::Yes)
        != MsgResult::Yes)
        return;

    Link &l = link();
    if (l.Instrument.Ident.contains(QStringLiteral("KX"))
        && l.Instrument.FwVersion < KxCalibFlagFirmware) {
        MsgBox(QStringLiteral("Firmware of Veltra KX too old, no calibration flag available!"),
               MsgButtons::Ok, MsgIcon::Information);
        return;
    }

    const QString d0 = instrumentDateText(DTPicker1[0]->date());
    if (l.DoTransfer(QStringLiteral("WR"), 1) == -1) {
        l.ShowTransferError(QStringLiteral("WR"));
        EnableMenue(true);
        return;
    }
    QString reply = l.ResponseText;
    GetToken(reply, Space);
    const QString expirationWord = TrimSpaces(GetToken(reply, Space));

    // An instrument that keeps an expiration date always receives one.
    QString command = QStringLiteral("WW") + d0;
    if (wordNumber(expirationWord)) {
        const QDate d1 = expirationChosen(*this) ? DTPicker1[1]->date()
                             : TextToDate(QStringLiteral("01.01.2001"), false).date();
        command += Space + instrumentDateText(d1);
    }
    if (l.DoTransfer(command, 1) == -1) {
        l.ShowTransferError(command);
        EnableMenue(true);
        return;
    }
    if (l.DoTransfer(QStringLiteral("EW1"), 1) == -1) {
        l.ShowTransferError(QStringLiteral("EW1"));
        EnableMenue(true);
    }
}
