#include "linkmessages.h"

#include "link.h"
#include "uiservices.h"

#include <QCoreApplication>

void ShowTransferError(const Link &link, const QString &command, const QString &details)
{
    ui().beep();
    msgBox(transferErrorText(command, link.settings().BluetoothOn != 0), MsgButtons::Ok,
           MsgIcon::Exclamation, link.deviceName(), MsgResult::Ok, details);
}

ParityDecision askParityError()
{
    return msgBox(QCoreApplication::translate(
                      "LinkMessages", "Parity Error\n\nPress Ok to Quit, Cancel to ignore."),
                  MsgButtons::OkCancel, MsgIcon::Exclamation, ProgramTitle, MsgResult::Ok)
            == MsgResult::Cancel
        ? ParityDecision::Ignore
        : ParityDecision::Fail;
}
