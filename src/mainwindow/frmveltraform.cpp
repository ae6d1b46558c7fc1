// The controls and menus of the main window, placed as designed in twips.

#include "formfont.h"
#include "frmveltra.h"
#include "twips.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr double WaitPointSize = 18.75;
QLabel *caption(QWidget *parent, const QString &text, const QRect &rect,
                Qt::Alignment alignment = Qt::AlignRight | Qt::AlignVCenter)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(rect);
    label->setAlignment(alignment);
    return label;
}

// A value of the read-out. Its caption label is its buddy, so assistive tools read the pair; it
// takes the keyboard focus and lets the user select the text (a serial number to copy).
QLabel *valueField(QWidget *parent, QLabel *captionLabel, const QRect &rect, bool filled)
{
    auto *label = new QLabel(parent);
    label->setGeometry(rect);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setIndent(4);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setFocusPolicy(Qt::StrongFocus);
    if (filled) {
        label->setAutoFillBackground(true);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, frmVeltra::ValueBackground);
        palette.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(palette);
    }
    captionLabel->setBuddy(label);
    return label;
}

QDateEdit *datePicker(QWidget *parent, const QRect &rect)
{
    auto *picker = new QDateEdit(parent);
    picker->setGeometry(rect);
    picker->setCalendarPopup(true);
    // The system's short date form, with the full year: a two-digit year is ambiguous to edit.
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    picker->setDisplayFormat(format);
    // The instrument keeps two-digit years of this century.
    picker->setMinimumDate(QDate(2000, 1, 1));
    picker->setMaximumDate(QDate(2099, 12, 31));
    picker->setDate(QDate::currentDate());
    return picker;
}

QPushButton *button(QWidget *parent, const QString &text, const QRect &rect)
{
    auto *pushButton = new QPushButton(text, parent);
    pushButton->setGeometry(rect);
    pushButton->setFont(formFont(FormPointSize, true));
    return pushButton;
}

} // namespace

void frmVeltra::buildForm()
{
    setWindowTitle(designCaption());
    setFont(formFont(FormPointSize));

    auto *client = new QWidget(this);
    client->setFixedSize(twipsSize(6360, 7335));
    setCentralWidget(client);
    // The form has one size, as designed.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    Frame1 = new QGroupBox(QStringLiteral("Veltra"), client);
    Frame1->setGeometry(twipsRect(120, 360, 6165, 3720));
    Frame1->setFont(formFont(FormPointSize, true));

    // Children of the frames keep the regular weight; only the frame captions are bold.
    const QFont regular = formFont(FormPointSize);
    PanelSerialNo = caption(Frame1, tr("Serial No. :"), twipsRect(2130, 330, 1215, 255));
    LabelSerialNo = valueField(Frame1, PanelSerialNo, twipsRect(3480, 300, 1245, 330), true);
    PanelVer = caption(Frame1, tr("Version :"), twipsRect(2130, 720, 1215, 255));
    LabelVer = valueField(Frame1, PanelVer, twipsRect(3480, 690, 2505, 330), true);
    PanelBatt = caption(Frame1, tr("Battery [V] :"), twipsRect(1740, 1110, 1605, 255));
    LabelBatt = valueField(Frame1, PanelBatt, twipsRect(3480, 1080, 855, 330), true);
    LabelBatt->setText(QStringLiteral(" "));
    PanelCheckSum = caption(Frame1, tr("Checksum :"), twipsRect(1740, 1500, 1605, 255));
    LabelCheckSum = valueField(Frame1, PanelCheckSum, twipsRect(3480, 1470, 855, 330), false);
    LabelCheckSum->setText(QStringLiteral(" "));
    Label1[2] = caption(Frame1, tr("Calibration date :"), twipsRect(60, 1950, 3315, 405),
                        Qt::AlignRight | Qt::AlignTop);
    LabelCalDate[0] = valueField(Frame1, Label1[2], twipsRect(3480, 1890, 1845, 330), false);
    Label1[3] = caption(Frame1, tr("Expiration date of calibration :"),
                        twipsRect(60, 2340, 3315, 405), Qt::AlignRight | Qt::AlignTop);
    LabelCalDate[1] = valueField(Frame1, Label1[3], twipsRect(3480, 2280, 1845, 330), false);
    LabelExpiry = new QLabel(Frame1);
    LabelExpiry->setGeometry(twipsRect(3480, 2610, 2625, 255));
    LabelExpiry->setFont(regular);
    QPalette expired = LabelExpiry->palette();
    expired.setColor(QPalette::WindowText, ExpiredText);
    LabelExpiry->setPalette(expired);
    ComRead = button(Frame1, tr("&Read"), twipsRect(3480, 2880, 1785, 420));

    Frame2 = new QGroupBox(tr("Set calibration date"), client);
    Frame2->setGeometry(twipsRect(90, 4290, 6165, 2910));
    Frame2->setFont(formFont(FormPointSize, true));
    Label1[0] = caption(Frame2, tr("Calib date :"), twipsRect(1350, 330, 2025, 405));
    DTPicker1[0] = datePicker(Frame2, twipsRect(3480, 300, 1845, 405));
    Label1[0]->setBuddy(DTPicker1[0]);
    CheckStatus = new QCheckBox(tr("Set Veltra expiration date of calibration"), Frame2);
    CheckStatus->setGeometry(twipsRect(1050, 840, 4230, 360));
    CheckStatus->setChecked(true);
    Label1[1] =
        caption(Frame2, tr("Expiration date of calibration :"), twipsRect(60, 1410, 3315, 405));
    DTPicker1[1] = datePicker(Frame2, twipsRect(3480, 1350, 1845, 405));
    Label1[1]->setBuddy(DTPicker1[1]);
    ComChange = button(Frame2, tr("&Change Calib Date..."), twipsRect(2160, 2070, 3165, 420));
    for (QWidget *child : Frame1->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)
             + Frame2->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!qobject_cast<QPushButton *>(child))
            child->setFont(regular);
    }

    PictureWait = new QFrame(client);
    PictureWait->setGeometry(twipsRect(480, 7290, 5100, 1455));
    PictureWait->hide();
    PanelWait = new QLabel(PictureWait);
    PanelWait->setGeometry(twipsRect(0, 0, 5100, 1455));
    PanelWait->setFont(formFont(WaitPointSize));
    PanelWait->setAlignment(Qt::AlignCenter);
    PanelWait->setWordWrap(true);
    PanelWait->setFrameStyle(QFrame::Panel | QFrame::Raised);
    PanelWait->setLineWidth(2);
    PanelWait->setAutoFillBackground(true);
    PanelWait->setBackgroundRole(QPalette::Button);

    TimerStart = new QTimer(this);
    TimerStart->setSingleShot(true);
    TimerStart->setInterval(250);

    mnuFile = menuBar()->addMenu(tr("&File"));
    mnuHistory = mnuFile->addAction(tr("&History..."));
    mnuPrintLabel = mnuFile->addAction(tr("Print &Label..."));
    mnuPrintLabel->setEnabled(false);
    mnuExit = mnuFile->addAction(tr("E&xit"));
    mnuFunctions = menuBar()->addMenu(tr("&Configuration"));
    mnuSettings = mnuFunctions->addAction(tr("Com &Settings..."));
    mnuOptions = menuBar()->addMenu(tr("&Options"));
    mnuSetPassword = mnuOptions->addAction(tr("Set Password..."));
    mnuBenchMode = mnuOptions->addAction(tr("&Bench Mode"));
    mnuBenchMode->setCheckable(true);
    mnuInf = menuBar()->addMenu(tr("&?"));
    mnuAbout = mnuInf->addAction(tr("&About..."));

    connect(mnuHistory, &QAction::triggered, this, &frmVeltra::mnuHistory_Click);
    connect(mnuPrintLabel, &QAction::triggered, this, &frmVeltra::mnuPrintLabel_Click);
    connect(mnuExit, &QAction::triggered, this, &frmVeltra::mnuExit_Click);
    // The clicks that talk to the instrument wait for a poll of the bench mode to end.
    connect(mnuSettings, &QAction::triggered, this,
            [this] { afterPoll(&frmVeltra::mnuSettings_Click); });
    connect(mnuSetPassword, &QAction::triggered, this, &frmVeltra::mnuSetPassword_Click);
    connect(mnuBenchMode, &QAction::triggered, this, &frmVeltra::mnuBenchMode_Click);
    connect(mnuAbout, &QAction::triggered, this, &frmVeltra::mnuAbout_Click);
    connect(TimerStart, &QTimer::timeout, this, &frmVeltra::TimerStart_Timer);
    connect(ComRead, &QPushButton::clicked, this, [this] { afterPoll(&frmVeltra::ComRead_Click); });
    connect(ComChange, &QPushButton::clicked, this,
            [this] { afterPoll(&frmVeltra::ComChange_Click); });
    connect(CheckStatus, &QCheckBox::clicked, this,
            [this](bool checked) { CheckStatus_Click(checked ? 1 : 0); });
}
