#include "msgform.h"

#include "programpaths.h"
#include "twips.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace {

QLabel *textPanel(const QString &text, QRect geometry, QWidget *parent)
{
    auto *panel = new QLabel(text, parent);
    panel->setGeometry(geometry);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
    panel->setWordWrap(true);
    return panel;
}

} // namespace

MsgForm::MsgForm(QWidget *parent)
    : NormalPointerDialog(tr("Info"), twipsSize(5010, 4170), parent),
      Picture1(new QFrame(this)),
      Image1(new QLabel(Picture1)),
      Label2(new QLabel(tr("Password protection"), Picture1)),
      SSPanel1(textPanel(tr("You can protect the 'Change Calib Date' via password"),
                         twipsRect(180, 840, 4185, 675), Picture1)),
      SSPanel2(textPanel(tr("In Order to enable password protection, please set a "
                            "password under menu function 'Options / Set Password...'"),
                         twipsRect(180, 1560, 4185, 825), Picture1)),
      Check1(new QCheckBox(tr("Don't show this message again"), this)),
      cmdClose(new QPushButton(tr("&Close"), this))
{
    Picture1->setGeometry(twipsRect(180, 210, 4605, 2580));
    Picture1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Image1->setGeometry(twipsRect(300, 210, 555, 630));
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    Label2->setGeometry(twipsRect(1140, 210, 5235, 405));
    QFont headingFont = Label2->font();
    headingFont.setBold(true);
    Label2->setFont(headingFont);
    Check1->setGeometry(twipsRect(210, 2970, 4530, 405));
    cmdClose->setGeometry(twipsRect(3000, 3510, 1725, 405));
    cmdClose->setDefault(true);
    cmdClose->setFocus();

    connect(cmdClose, &QPushButton::clicked, this, &MsgForm::cmdClose_Click);
}

void MsgForm::cmdClose_Click()
{
    if (Check1->checkState() != Qt::Unchecked)
        writeAppSetting(QStringLiteral("ShowInfoPswMsg"), QStringLiteral("0"));
    accept();
}
