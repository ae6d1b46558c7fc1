#pragma once
// The modal dialog that asks for the access password. It only collects the text: after OK,
// password() is the text typed, unchanged; after Cancel, Escape or the close box it is "". The
// caller compares it with the stored password.

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

    // What the dialog hands back: the typed text after OK, "" otherwise.
    const QString &password() const { return m_password; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ComOK_Click();

    QString m_password;
};
