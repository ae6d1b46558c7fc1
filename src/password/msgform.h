#pragma once
// The notice shown before a write while no password is set: the write can be protected by a
// password. "&Close" with "Don't show this message again" ticked writes "ShowInfoPswMsg" = "0";
// the close box writes nothing. The caller clears its own flag.

#include "normalpointerdialog.h"

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;

class MsgForm final : public NormalPointerDialog
{
    Q_OBJECT
public:
    explicit MsgForm(QWidget *parent = nullptr);

    QFrame *Picture1;
    QLabel *Image1;
    QLabel *Label2;
    QLabel *SSPanel1;
    QLabel *SSPanel2;
    QCheckBox *Check1;
    QPushButton *cmdClose;

private:
    void cmdClose_Click();
};
