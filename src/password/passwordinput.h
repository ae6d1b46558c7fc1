#pragma once
// The modal dialog that asks for the access password. It only collects the text: OK puts it into
// InputPassword unchanged; Cancel, Escape and the close box leave InputPassword "". The caller
// compares it with Password[0].

#include "normalpointerdialog.h"

class QGroupBox;
class QLineEdit;
class QPushButton;

class PasswordInput final : public NormalPointerDialog
{
    Q_OBJECT
public:
    explicit PasswordInput(QWidget *parent = nullptr);

    QGroupBox *Frame1;
    QLineEdit *TextCode;
    QPushButton *ComOK;
    QPushButton *ComCancel;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ComOK_Click();
};
