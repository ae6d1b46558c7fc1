#include "passwordinput.h"

#include "asteriskecho.h"
#include "latin1validator.h"
#include "passwordstore.h"
#include "twips.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

PasswordInput::PasswordInput(QWidget *parent)
    : NormalPointerDialog(tr("Input password"), twipsSize(3375, 2010), parent),
      Frame1(new QGroupBox(tr("Input password"), this)),
      TextCode(new QLineEdit(Frame1)),
      ComOK(new QPushButton(tr("&OK"), this)),
      ComCancel(new QPushButton(tr("&Cancel"), this))
{
    Frame1->setGeometry(twipsRect(120, 120, 3075, 1095));
    TextCode->setGeometry(twipsRect(240, 480, 2595, 420));
    echoAsterisks(TextCode);
    TextCode->setMaxLength(MaxPasswordLength);
    TextCode->setValidator(new Latin1Validator(TextCode));
    TextCode->installEventFilter(this);
    ComOK->setGeometry(twipsRect(1860, 1440, 1350, 375));
    ComOK->setDefault(true);
    ComCancel->setGeometry(twipsRect(150, 1440, 1350, 375));

    setTabOrder(TextCode, ComOK);
    setTabOrder(ComOK, ComCancel);
    TextCode->setFocus();

    connect(ComOK, &QPushButton::clicked, this, &PasswordInput::ComOK_Click);
    connect(ComCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool PasswordInput::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == TextCode) {
        if (event->type() == QEvent::FocusIn) {
            TextCode->selectAll();
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                ComOK_Click();
                return true;
            }
        }
    }
    return NormalPointerDialog::eventFilter(watched, event);
}

void PasswordInput::ComOK_Click()
{
    m_password = TextCode->text();
    accept();
}
