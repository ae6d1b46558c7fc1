// Reading the instrument into the read-out.

#include "frmveltra.h"

#include "linkmessages.h"
#include "twips.h"
#include "uiservices.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>

#include <optional>

namespace {

// Holds the repaints of a widget and its children while it lives, so that what changes in between
// shows in one repaint.
class UpdatesHeld
{
public:
    explicit UpdatesHeld(QWidget *widget) : m_widget(widget), m_enabled(widget->updatesEnabled())
    {
        widget->setUpdatesEnabled(false);
    }
    ~UpdatesHeld() { m_widget->setUpdatesEnabled(m_enabled); }
    UpdatesHeld(const UpdatesHeld &) = delete;
    UpdatesHeld &operator=(const UpdatesHeld &) = delete;

private:
    QWidget *m_widget;
    bool m_enabled;
};

} // namespace

void frmVeltra::setPanelWaitText(const QString &text)
{
    // The panel breaks its lines at the carriage returns of its texts.
    QString shown = text;
    PanelWait->setText(shown.replace(u'\r', u'\n'));
    PanelWait->repaint();
}

void frmVeltra::ComRead_Click()
{
    const MenuLock lock(*this);
    Link &l = m_link;
    const Outcome identified = m_core.identify();
    if (!identified.done()) {
        ui().setBusyPointer(false);
        ShowTransferError(l, identified.command);
        l.forgetInstrument();
        return;
    }
    // The read-out shows the new instrument in one repaint, its caption with its fields.
    std::optional<UpdatesHeld> held(std::in_place, centralWidget());
    const QString deviceName = l.deviceName();
    setWindowTitle(deviceName);
    Frame1->setTitle(deviceName);
    setPanelWaitText(tr("Reading %1!\rPlease wait...").arg(deviceName));

    DateWords words;
    const Outcome dated = m_core.readDates(words);
    if (!dated.done()) {
        // The boxes show over a window that repaints.
        held.reset();
        ShowTransferError(l, dated.command);
        // Asks "Terminate program ?"; when the user stays, the read-out goes on without dates.
        close();
    }
    showReadOut(m_core.readOut(words));
}

void frmVeltra::showReadOut(const ReadOut &readOut)
{
    const UpdatesHeld held(centralWidget());
    m_noInstrument = false;
    CalibDateText[0] = readOut.dateWords.calibration;
    CalibDateText[1] = readOut.dateWords.expiration;

    // Only an instrument that keeps an expiration date offers the expiration controls.
    const bool withExpiration = readOut.offersExpiration();
    CheckStatus->setVisible(withExpiration);
    for (QWidget *control : std::initializer_list<QWidget *>{DTPicker1[1], LabelCalDate[1],
                                                             Label1[1], Label1[3], LabelExpiry})
        control->setVisible(withExpiration);
    ComChange->move(ComChange->x(), twipsToPixels(withExpiration ? 2070 : 1200));

    showCalibDate(0, readOut.calibrationDate);
    showCalibDate(1, readOut.expirationDate);
    showExpiry(expirationDaysLeft(readOut, QDate::currentDate()));
    LabelSerialNo->setText(readOut.serialNo);
    if (readOut.version)
        LabelVer->setText(*readOut.version);
    showChecksum(readOut.checksum);
    LabelBatt->setText(readOut.battery);
}

void frmVeltra::clearReadOut()
{
    const UpdatesHeld held(centralWidget());
    m_noInstrument = true;
    ComChange->setEnabled(false);
    m_link.forgetInstrument();
    setWindowTitle(designCaption());
    Frame1->setTitle(m_link.deviceName());
    CalibDateText[0].clear();
    CalibDateText[1].clear();
    for (QLabel *field : {LabelSerialNo, LabelVer, LabelCalDate[0], LabelCalDate[1], LabelExpiry})
        field->clear();
    LabelBatt->setText(QStringLiteral(" "));
    LabelCheckSum->setText(QStringLiteral(" "));
}

void frmVeltra::showCalibDate(int index, const std::optional<QDate> &date)
{
    if (!date)
        return;
    LabelCalDate[index]->setText(date->isNull() ? QString()
                                                : QLocale().toString(*date, QLocale::ShortFormat));
}

void frmVeltra::showExpiry(const std::optional<qint64> &daysLeft)
{
    LabelExpiry->setText(daysLeft ? expirationNote(*daysLeft) : QString());
    QPalette palette = LabelCalDate[1]->palette();
    palette.setColor(QPalette::WindowText,
                     daysLeft && *daysLeft < 0 ? ExpiredText
                                               : Frame1->palette().color(QPalette::WindowText));
    LabelCalDate[1]->setPalette(palette);
}

void frmVeltra::showChecksum(const std::optional<QString> &checksum)
{
    const bool withChecksum = checksum.has_value();
    PanelCheckSum->setEnabled(withChecksum);
    LabelCheckSum->setEnabled(withChecksum);
    LabelCheckSum->setAutoFillBackground(true);
    QPalette palette = LabelCheckSum->palette();
    palette.setColor(QPalette::Window,
                     withChecksum ? ValueBackground : palette.color(QPalette::Button));
    LabelCheckSum->setPalette(palette);
    LabelCheckSum->setText(checksum.value_or(QString()));
}

void frmVeltra::CheckStatus_Click(int Value)
{
    const bool show = Value != 0 && !CalibDateText[1].isEmpty();
    Label1[1]->setVisible(show);
    DTPicker1[1]->setVisible(show);
    LabelCalDate[1]->setVisible(show);
    Label1[3]->setVisible(show);
    LabelExpiry->setVisible(show);
}
