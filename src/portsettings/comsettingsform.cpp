// The controls of the port settings dialog and how they are wired to its handlers.

#include "comsettings.h"
#include "formfont.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QLabel *makePanel(QWidget *parent)
{
    auto *panel = new QLabel(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
    panel->setWordWrap(true);
    panel->setAutoFillBackground(true);
    return panel;
}

} // namespace

void ComSettings::buildForm()
{
    setWindowTitle(tr("Com Settings"));
    setModal(true);
    setFont(formFont());

    Panel1 = makePanel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setText(tr("Searching available com ports "));
    Panel1->setMinimumHeight(2 * fontMetrics().height() + 12);

    Frame3 = new QGroupBox(tr("Com Settings", "the group of the port and its line profile"), this);
    Frame1 = new QGroupBox(tr("Port Number"), Frame3);
    Combo1 = new QComboBox(Frame1);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setMinimumContentsLength(8);
    auto *frame1Layout = new QVBoxLayout(Frame1);
    frame1Layout->addWidget(Combo1);

    OptSpeed[0] = new QRadioButton(tr("Standard"), Frame3);
    OptSpeed[2] = new QRadioButton(tr("Connected via Bluetooth"), Frame3);
    auto *speedLayout = new QVBoxLayout;
    speedLayout->addWidget(OptSpeed[0]);
    speedLayout->addWidget(OptSpeed[2]);
    auto *frame3Layout = new QHBoxLayout(Frame3);
    frame3Layout->addWidget(Frame1);
    frame3Layout->addLayout(speedLayout);

    Frame2 = new QGroupBox(tr("Options"), this);
    ComRead = new QPushButton(tr("&Read Veltra"), Frame2);
    ComSearch = new QPushButton(tr("&Search Veltra"), Frame2);
    PanelRead = makePanel(Frame2);
    PanelRead->setObjectName(QStringLiteral("PanelRead"));
    PanelRead->setMinimumWidth(220);
    PanelRead->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *frame2Layout = new QGridLayout(Frame2);
    frame2Layout->addWidget(ComRead, 0, 0);
    frame2Layout->addWidget(PanelRead, 0, 1);
    frame2Layout->addWidget(ComSearch, 1, 0);
    frame2Layout->setColumnStretch(1, 1);

    ComOK = new QPushButton(tr("&OK"), this);
    ComOK->setDefault(true);
    auto *okLayout = new QHBoxLayout;
    okLayout->addStretch();
    okLayout->addWidget(ComOK);
    okLayout->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Panel1);
    layout->addWidget(Frame3);
    layout->addWidget(Frame2);
    layout->addLayout(okLayout);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(ComOK, Combo1);
    setTabOrder(Combo1, OptSpeed[0]);
    setTabOrder(OptSpeed[0], OptSpeed[2]);
    setTabOrder(OptSpeed[2], ComRead);
    setTabOrder(ComRead, ComSearch);

    TimerStart = new QTimer(this);
    TimerStart->setSingleShot(true);
    TimerStart->setInterval(50);

    connect(TimerStart, &QTimer::timeout, this, &ComSettings::TimerStart_Timer);
    // currentIndexChanged also reports selections made by the program, which the handlers expect
    // (the search selects the first entry to open it); bFormLoading masks the others.
    connect(Combo1, &QComboBox::currentIndexChanged, this, &ComSettings::Combo1_Click);
    // clicked, not toggled: choosing the connection type that is already chosen is a click too.
    connect(OptSpeed[0], &QRadioButton::clicked, this, [this] { OptSpeed_Click(0); });
    connect(OptSpeed[2], &QRadioButton::clicked, this, [this] { OptSpeed_Click(2); });
    connect(ComRead, &QPushButton::clicked, this, &ComSettings::ComRead_Click);
    connect(ComSearch, &QPushButton::clicked, this, &ComSettings::ComSearch_Click);
    connect(ComOK, &QPushButton::clicked, this, &ComSettings::ComOK_Click);
}
