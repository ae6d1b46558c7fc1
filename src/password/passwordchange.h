#pragma once
// The modal dialog that sets, changes or deletes the access password. The new password is typed
// twice; "&Update" stores it in the password store it is given and saves the file, then the
// dialog is Done ("&Close", Cancel disabled) until the new-password field changes again.
//
// Enter in a field moves on (to the confirmation, then to "&Update") and never reaches the
// default button "&Cancel", so typing a password and pressing Enter cannot throw it away.

#include "normalpointerdialog.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class PasswordStore;

class PasswordChange final : public NormalPointerDialog
{
    Q_OBJECT
public:
    // The store holds the current password, loaded by the caller; it must outlive the dialog.
    explicit PasswordChange(PasswordStore &store, QWidget *parent = nullptr);

    QLabel *Label1;
    QGroupBox *Frame1;
    QGroupBox *FrameExpert[2];
    QLineEdit *TextExpert[2];
    QPushButton *ComCancel;
    QPushButton *ComOK;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void TextExpert_Change(int index);
    void TextExpert_KeyDown(int index);
    void ComOK_Click();
    void setEditing(bool editing);

    PasswordStore &m_store;
};
