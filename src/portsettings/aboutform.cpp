#include "aboutform.h"
#include "formfont.h"

#include "programicon.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AboutForm::AboutForm(QWidget *parent) : QDialog(parent)
{
    buildForm();
    Form_Load();
}

void AboutForm::buildForm()
{
    setWindowTitle(tr("About VeltraExtSetCalibDate"));
    setModal(true);
    setFont(formFont());

    Image2 = new QLabel(this);
    Image2->setPixmap(programIcon(48));
    Image2->setAlignment(Qt::AlignTop);

    lblApplik = new QLabel(QStringLiteral("VeltraExtSetCalibDate"), this);
    lblApplik->setFont(formFont(14, true));
    LabelFullVersion = new QLabel(tr("Version 2.0.1"), this);
    Label1[2] = new QLabel(tr("Calibration service utility for Veltra survey instruments"), this);

    ComOK = new QPushButton(tr("&OK"), this);
    ComOK->setDefault(true);
    connect(ComOK, &QPushButton::clicked, this, &AboutForm::ComOK_Click);

    auto *textLayout = new QVBoxLayout;
    textLayout->addWidget(lblApplik);
    textLayout->addWidget(LabelFullVersion);
    textLayout->addSpacing(8);
    textLayout->addWidget(Label1[2]);
    auto *topLayout = new QHBoxLayout;
    topLayout->addWidget(Image2);
    topLayout->addSpacing(12);
    topLayout->addLayout(textLayout);
    auto *buttonLayout = new QHBoxLayout;
    buttonLayout->addStretch();
    buttonLayout->addWidget(ComOK);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(topLayout);
    layout->addLayout(buttonLayout);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

// VELTRA_VERSION_* come from the project's version in CMake, the one place it is set.
void AboutForm::Form_Load()
{
    lblApplik->setText(QStringLiteral("VeltraSetCalibDate %1.%2")
                           .arg(VELTRA_VERSION_MAJOR)
                           .arg(VELTRA_VERSION_MINOR));
    LabelFullVersion->setText(tr("Version %1.%2.%3")
                                  .arg(VELTRA_VERSION_MAJOR)
                                  .arg(VELTRA_VERSION_MINOR)
                                  .arg(VELTRA_VERSION_PATCH));
}

void AboutForm::ComOK_Click()
{
    accept();
}
