#include "passwordchange.h"

#include "latin1validator.h"
#include "passwordfilebox.h"
#include "passwordstore.h"
#include "twips.h"
#include "uiservices.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QColor DisabledFieldColor(192, 192, 192);

} // namespace

PasswordChange::PasswordChange(PasswordStore &store, QWidget *parent)
    : NormalPointerDialog(tr("Change Password"), twipsSize(3465, 3930), parent),
      Label1(new QLabel(tr("Change Password"), this)),
      Frame1(new QGroupBox(this)),
      FrameExpert{new QGroupBox(tr("Password"), Frame1), new QGroupBox(tr("Confirm"), Frame1)},
      TextExpert{new QLineEdit(FrameExpert[0]), new QLineEdit(FrameExpert[1])},
      ComCancel(new QPushButton(tr("&Cancel"), this)),
      ComOK(new QPushButton(tr("&Update"), this)),
      m_store(store)
{
    Label1->setGeometry(twipsRect(120, 150, 3195, 405));
    Label1->setAlignment(Qt::AlignCenter);
    Frame1->setGeometry(twipsRect(120, 690, 3195, 2505));
    FrameExpert[0]->setGeometry(twipsRect(150, 30, 2895, 1095));
    FrameExpert[1]->setGeometry(twipsRect(150, 1290, 2895, 1095));
    for (QLineEdit *field : TextExpert) {
        field->setGeometry(twipsRect(240, 480, 2415, 420));
        field->setMaxLength(MaxPasswordLength);
        field->setValidator(new Latin1Validator(field));
        field->installEventFilter(this);
    }
    ComCancel->setGeometry(twipsRect(90, 3330, 1500, 375));
    ComCancel->setDefault(true);
    ComOK->setGeometry(twipsRect(1830, 3330, 1500, 375));

    // The confirmation stays closed until a new password is typed.
    QPalette grey = TextExpert[1]->palette();
    grey.setColor(QPalette::Base, DisabledFieldColor);
    TextExpert[1]->setPalette(grey);
    TextExpert[1]->setEnabled(false);

    setTabOrder(ComCancel, TextExpert[0]);
    setTabOrder(TextExpert[0], TextExpert[1]);
    setTabOrder(TextExpert[1], ComOK);
    ComCancel->setFocus();

    connect(TextExpert[0], &QLineEdit::textChanged, this, [this] { TextExpert_Change(0); });
    connect(TextExpert[1], &QLineEdit::textChanged, this, [this] { TextExpert_Change(1); });
    connect(ComCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ComOK, &QPushButton::clicked, this, &PasswordChange::ComOK_Click);
}

bool PasswordChange::eventFilter(QObject *watched, QEvent *event)
{
    for (int index = 0; index < 2; ++index) {
        if (watched != TextExpert[index])
            continue;
        if (event->type() == QEvent::FocusIn) {
            TextExpert[index]->selectAll();
        } else if (event->type() == QEvent::KeyPress) {
            const auto *keyEvent = static_cast<QKeyEvent *>(event);
            const bool enter =
                keyEvent->key() == Qt::Key_Return || keyEvent->key() == Qt::Key_Enter;
            const bool plainDown = keyEvent->key() == Qt::Key_Down
                && !(keyEvent->modifiers()
                     & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
            if (enter || plainDown) {
                TextExpert_KeyDown(index);
                return true;
            }
        }
    }
    return NormalPointerDialog::eventFilter(watched, event);
}

void PasswordChange::TextExpert_Change(int index)
{
    if (index != 0)
        return;
    if (!TextExpert[1]->isEnabled()) {
        TextExpert[1]->setPalette(QPalette());
        TextExpert[1]->setEnabled(true);
    }
    setEditing(true);
}

void PasswordChange::TextExpert_KeyDown(int index)
{
    if (index == 0) {
        if (TextExpert[1]->isEnabled())
            TextExpert[1]->setFocus();
    } else {
        ComOK->setFocus();
    }
}

void PasswordChange::ComOK_Click()
{
    if (!ComCancel->isEnabled()) {
        accept();
        return;
    }
    const QString newPassword = TextExpert[0]->text();
    if (newPassword != TextExpert[1]->text()) {
        msgBox(tr("Confirm error!"), MsgButtons::Ok, MsgIcon::Stop);
        TextExpert[1]->setFocus();
        return;
    }
    if (!m_store.matches(newPassword)) {
        if (newPassword.isEmpty()
            && msgBox(tr("Delete Password?"), MsgButtons::YesNo, MsgIcon::Question, ProgramTitle,
                      MsgResult::No)
                != MsgResult::Yes) {
            TextExpert[0]->setFocus();
            return;
        }
        // A password that did not reach the file is not in force either.
        const QString previous = m_store.password();
        m_store.setPassword(newPassword);
        if (!passwordFileOk(m_store.WritePassword())) {
            m_store.setPassword(previous);
            return;
        }
    }
    setEditing(false);
}

void PasswordChange::setEditing(bool editing)
{
    ComOK->setText(editing ? tr("&Update") : tr("&Close"));
    ComCancel->setEnabled(editing);
}
