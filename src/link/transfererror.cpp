#include "link.h"

QString transferErrorText(const QString &command, bool bluetooth)
{
    const QString check = bluetooth ? QStringLiteral("Please check bluetooth,")
                                    : QStringLiteral("Please check connection cable,");
    return QStringLiteral("Data transfer to instrument fails (") + command + QStringLiteral(") !\n")
        + check + QStringLiteral("\nCom port (Selection!) and device status !");
}
