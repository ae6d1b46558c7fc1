#include "normalpointerdialog.h"

#include "formfont.h"
#include "uiservices.h"

#include <QEvent>

NormalPointerDialog::NormalPointerDialog(const QString &caption, QSize clientSize, QWidget *parent)
    : QDialog(parent)
{
    setFont(formFont());
    setWindowTitle(caption);
    setFixedSize(clientSize);
}

bool NormalPointerDialog::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        ui().setBusyPointer(false);
    return QDialog::event(event);
}
