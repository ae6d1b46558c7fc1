#pragma once
// Base of the password dialogs: a fixed-size modal form in Arial 9.75 pt that shows the normal
// arrow pointer whenever it becomes active, since it may open while an operation shows the
// hourglass.

#include <QDialog>

class NormalPointerDialog : public QDialog
{
    Q_OBJECT
public:
    // clientSize: the fixed size of the form's client area.
    NormalPointerDialog(const QString &caption, QSize clientSize, QWidget *parent);

protected:
    bool event(QEvent *event) override;
};
