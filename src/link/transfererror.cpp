#include "link.h"

#include "uiservices.h"

void Link::ShowTransferError(const QString &command, const QString &details)
{
    const QString check = BluetoothOn != 0 ? QStringLiteral("Please check bluetooth,")
                                           : QStringLiteral("Please check connection cable,");
    const QString text = QStringLiteral("Data transfer to instrument fails (") + command
        + QStringLiteral(") !\n") + check
        + QStringLiteral("\nCom port (Selection!) and device status !");
    ui().beep();
    msgBox(text, MsgButtons::Ok, MsgIcon::Exclamation, deviceName(), MsgResult::Ok, details);
}
