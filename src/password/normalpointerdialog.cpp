#include "normalpointerdialog.h"

#include "uiservices.h"

#include <QEvent>

NormalPointerDialog::NormalPointerDialog(const QString &caption, QSize clientSize,
                                         QWidget *parent)
    : QDialog(parent)
{
    // Without Arial installed the font system substitutes a metric-compatible face.
    QFont formFont(QStringLiteral("Arial"));
    formFont.setPointSizeF(9.75);
    setFont(formFont);
    setWindowTitle(caption);
    setFixedSize(clientSize);
}

bool NormalPointerDialog::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        Ui().SetBusyPointer(false);
    return QDialog::event(event);
}
