#pragma once
// The port settings dialog: choose the serial port and the connection type, probe one port or
// search all of them for an instrument, and store the choice.
//
// Contract:
// - The dialog has no serial control of its own: it works on the link's Comm1, so choosing an
//   entry opens that port at once, and the port stays open when the dialog closes.
// - Opening a port and talking to the instrument process events while they wait, so the user can
//   close the dialog in the middle of a handler. Closing sets bUnloaded; every handler checks it
//   (and whether the dialog still exists, through a QPointer) after each such wait and then ends
//   without touching the dialog.
// - Only OK changes the link's connection settings and the settings file. A probe on "Standard"
//   asks the link for the standard limits through a Link::ScopedProfile.
// - Message boxes go through ui().

#include <QDialog>
#include <QPointer>

class Link;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTimer;

class ComSettings : public QDialog
{
    Q_OBJECT
public:
    explicit ComSettings(Link &link, QWidget *parent = nullptr);

    // Controls. OptSpeed has no element 1.
    QLabel *Panel1 = nullptr;
    QGroupBox *Frame3 = nullptr;
    QRadioButton *OptSpeed[3] = {};
    QGroupBox *Frame1 = nullptr;
    QComboBox *Combo1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QPushButton *ComRead = nullptr;
    QPushButton *ComSearch = nullptr;
    QLabel *PanelRead = nullptr;
    QPushButton *ComOK = nullptr;
    QTimer *TimerStart = nullptr;

    // Form state.
    qint16 bFormLoading = 0;
    qint16 bUnloaded = 0;
    qint16 nSpeedIndex = 0;
    // Set while OptSpeed_Click runs, so a second click that arrives meanwhile is dropped.
    qint16 bOptBusy = 0;

    // Routines.
    void ShowSelPort();
    void FillComPorts();
    void InitBlueTooth(bool bFlag);
    void EnableMenue(bool bFlag);
    qint16 ReOpenComPort();

    // Handlers.
    void Form_Load();
    void TimerStart_Timer();
    void Combo1_Click();
    void OptSpeed_Click(int Index);
    void ComRead_Click();
    void ComSearch_Click();
    void ComOK_Click();

    void done(int result) override;

    static QString portEntryText(qint16 portNo);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildForm();
    void setPanel1(const QColor &color, const QString &caption);
    // Panel1's busy look (cyan) with a progress caption.
    void showBusy(const QString &caption);
    void addPortEntry(qint16 portNo);
    // Lists the ports anew after devices came or went, the selection kept where it is present.
    void followPorts();
    static void showInvalidSelection();
    qint16 selectedPortNo() const;
    qint16 connectionType() const;

    // True when the dialog was closed or destroyed while the caller waited in the link.
    static bool unloaded(const QPointer<ComSettings> &self) { return !self || self->bUnloaded; }

    Link &m_link;
    bool m_loaded = false;
};
