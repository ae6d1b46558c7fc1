#include "link.h"

QString transferErrorText(const QString &command, bool bluetooth)
{
    const QString check = bluetooth ? Link::tr("Please check bluetooth,")
                                    : Link::tr("Please check connection cable,");
    return Link::tr("Data transfer to instrument fails (%1) !\n%2\nCom port (Selection!) and "
                    "device status !")
        .arg(command, check);
}
