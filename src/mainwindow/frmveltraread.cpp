// Reading the instrument into the read-out.

#include "frmveltra.h"

#include "readout.h"
#include "settingvalue.h"
#include "texttokens.h"
#include "twips.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>

void frmVeltra::setPanelWaitText(const QString &text)
{
    // The panel breaks its lines at the carriage returns of its texts.
    QString shown = text;
    PanelWait->setText(shown.replace(u'\r', u'\n'));
    PanelWait->repaint();
}

void frmVeltra::ComRead_Click()
{
    EnableMenue(false);
    Link &l = m_link;
    if (l.ReadInstrumentInfo() != 1) {
        l.Instrument.DeviceType = 0;
        EnableMenue(true);
        return;
    }
    const QString deviceName = l.DeviceName();
    setWindowTitle(deviceName);
    Frame1->setTitle(deviceName);
    setPanelWaitText(QStringLiteral("Reading %1!\rPlease wait...").arg(deviceName));

    if (l.DoTransfer(QStringLiteral("WR"), 1) == -1) {
        l.ShowTransferError(QStringLiteral("WR"));
        // Asks "Terminate program ?"; when the user stays, the read-out goes on without dates.
        close();
    }
    QString reply = l.ResponseText;
    CalibDateText[0] = TrimSpaces(GetToken(reply, QStringLiteral(" ")));
    CalibDateText[1] = TrimSpaces(GetToken(reply, QStringLiteral(" ")));

    // Only an instrument that keeps an expiration date offers the expiration controls.
    const bool withExpiration = !CalibDateText[1].isEmpty();
    CheckStatus->setVisible(withExpiration);
    for (QWidget *control : std::initializer_list<QWidget *>{DTPicker1[1], LabelCalDate[1],
                                                              Label1[1], Label1[3]})
        control->setVisible(withExpiration);
    ComChange->move(ComChange->x(), twipsToPixels(withExpiration ? 2070 : 1200));

    showCalibDate(0);
    showCalibDate(1);
    LabelSerialNo->setText(l.Instrument.SerialNo);
    if (const std::optional<QString> version = VersionCaption(l.Instrument.Ident))
        LabelVer->setText(*version);
    showChecksum();
    LabelBatt->setText(BatteryCaption(l.Instrument.BattVoltage));
    EnableMenue(true);
}

void frmVeltra::showCalibDate(int index)
{
    const std::optional<QDate> date = InstrumentDate(CalibDateText[index]);
    if (!date)
        return;
    LabelCalDate[index]->setText(date->isNull() ? QString()
                                                : QLocale().toString(*date, QLocale::ShortFormat));
}

void frmVeltra::showChecksum()
{
    const bool withChecksum = m_link.Instrument.FwVersion > ChecksumFirmware;
    PanelCheckSum->setEnabled(withChecksum);
    LabelCheckSum->setEnabled(withChecksum);
    LabelCheckSum->setAutoFillBackground(true);
    QPalette palette = LabelCheckSum->palette();
    palette.setColor(QPalette::Window, withChecksum ? ValueBackground
                                                    : palette.color(QPalette::Button));
    LabelCheckSum->setPalette(palette);
    LabelCheckSum->setText(withChecksum ? ChecksumCaption(m_link.Instrument.IdentEx) : QString());
}

void frmVeltra::CheckStatus_Click(int Value)
{
    const bool show = Value != 0 && !CalibDateText[1].isEmpty();
    Label1[1]->setVisible(show);
    DTPicker1[1]->setVisible(show);
    LabelCalDate[1]->setVisible(show);
    Label1[3]->setVisible(show);
}
