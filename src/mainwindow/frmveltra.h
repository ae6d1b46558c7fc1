#pragma once
// The main window: the read-out of the instrument, the controls that write the calibration date,
// the menus, the start-up connection and the shutdown question.
//
// Contract:
// - frmVeltra owns the Link built on the serial control and the clock it is given; neither is
//   owned and both must outlive the window. Every time limit of the window and of the port
//   dialog it opens is kept on that clock.
// - The start's waits for the instrument and the bench polls are requests to the
//   InstrumentOwner, which runs them on its own thread: the window answers the user meanwhile
//   and goes on when the result comes. The other operations still call the link on the window's
//   thread, only while no request runs (locked, afterPoll, m_pendingPresence keep them out).
// - Every operation that talks to the instrument holds a MenuLock for its whole run: the window
//   is locked with EnableMenue(false) while any lock lives and unlocked when the outermost one
//   goes, in every outcome. Transfers process events while they wait, so handlers can run inside
//   one another; the lock keeps the read and write controls from starting a second one.
// - The rules of reading and writing live in the calibration core; the handlers turn its
//   outcomes into the message boxes.
// - Closing the window asks "Terminate program ?". Yes closes the port and ends the process at
//   once through the end-program function (replaceable for tests), wherever the question came
//   from; No keeps the window and the open port.
// - Message boxes and the dialogs the window opens go through ui().

#include "calibrationcore.h"
#include "connector.h"
#include "instrumentowner.h"
#include "link.h"
#include "recordentry.h"
#include "writegate.h"

#include <QColor>
#include <QDate>
#include <QHash>
#include <QMainWindow>
#include <QTime>

#include <functional>
#include <optional>

struct BenchSettings;
class CalibrationWrite;
class DeviceWatch;
class InstrumentWatch;
struct DateRequest;
class QAction;
class QCheckBox;
class QDateEdit;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;
class WriteRecorder;

class frmVeltra : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmVeltra(SerialControl &comm, const Clock &clock = SystemClock::instance(),
                       QWidget *parent = nullptr);
    ~frmVeltra() override;

    Link &link() { return m_link; }

    // Locks the window for its lifetime; nested locks keep it locked until the outermost goes.
    class MenuLock
    {
    public:
        explicit MenuLock(frmVeltra &window);
        ~MenuLock();
        MenuLock(const MenuLock &) = delete;
        MenuLock &operator=(const MenuLock &) = delete;

    private:
        frmVeltra &m_window;
    };

    // Background of the read-out's value fields.
    static inline const QColor ValueBackground{0x80, 0xff, 0xff};
    static inline const QColor ExpiredText{0xb0, 0x00, 0x00};
    // The window's caption before a read and when no instrument is on the adapter.
    static QString designCaption() { return tr("Veltra Set Calib Date"); }

    // Controls.
    QGroupBox *Frame1 = nullptr;
    QLabel *PanelSerialNo = nullptr;
    QLabel *LabelSerialNo = nullptr;
    QLabel *PanelVer = nullptr;
    QLabel *LabelVer = nullptr;
    QLabel *PanelBatt = nullptr;
    QLabel *LabelBatt = nullptr;
    QLabel *PanelCheckSum = nullptr;
    QLabel *LabelCheckSum = nullptr;
    QLabel *Label1[4] = {};
    QLabel *LabelCalDate[2] = {};
    // "expired" or "due in N days" below the expiration date, in red.
    QLabel *LabelExpiry = nullptr;
    QPushButton *ComRead = nullptr;
    QGroupBox *Frame2 = nullptr;
    QDateEdit *DTPicker1[2] = {};
    QCheckBox *CheckStatus = nullptr;
    QPushButton *ComChange = nullptr;
    QFrame *PictureWait = nullptr;
    QLabel *PanelWait = nullptr;
    QTimer *TimerStart = nullptr;

    // Menus.
    QMenu *mnuFile = nullptr;
    QAction *mnuHistory = nullptr;
    QAction *mnuPrintLabel = nullptr;
    QAction *mnuExit = nullptr;
    QMenu *mnuFunctions = nullptr;
    QAction *mnuSettings = nullptr;
    QMenu *mnuOptions = nullptr;
    QAction *mnuSetPassword = nullptr;
    QAction *mnuBenchMode = nullptr;
    QMenu *mnuInf = nullptr;
    QAction *mnuAbout = nullptr;

    // Window variables.
    qint16 ValidMonthOfCalib = 0;
    QString CalibDateText[2];
    // The password is asked until the first write passes it.
    WriteGate writeGate;
    qint16 StartComPort = 0;
    qint16 ShowInfoPswMsg = 1;

    // Start-up and shutdown.
    void Form_Load();
    void InitProgram();
    void EnableMenue(bool xFlag);
    void Form_Unload(bool &Cancel);

    // Handlers.
    void mnuHistory_Click();
    // The label of the last verified write of this run.
    void mnuPrintLabel_Click();
    void mnuExit_Click();
    void mnuAbout_Click();
    void mnuSettings_Click();
    void mnuSetPassword_Click();
    void TimerStart_Timer();
    void ComRead_Click();
    void CheckStatus_Click(int Value);
    void ComChange_Click();
    void mnuBenchMode_Click(bool checked);
    // Asks, then runs the write's steps up to "EW1" and shows what stopped them.
    Outcome SetCalibDate(CalibrationWrite &write);

    // Ends the process after "Terminate program ?" was answered Yes and the port was closed.
    // The default ends it at once, without returning to any caller that waits for the instrument.
    void setEndProgram(std::function<void()> endProgram);
    // The date Form_Load presets the pickers from.
    void setToday(std::function<QDate()> today);

    // The configured port's adapter went away or came back: the port is closed and the read-out
    // greyed, or the port is opened and read as "&Read" would. Waits for the window to be idle.
    void adapterPresenceChanged(bool present);
    // Follows the configured port's device anew (after the port changed).
    void watchConfiguredPort();

    // Bench mode: while the window is idle the instrument on the adapter is asked for its serial
    // number at every poll; another instrument is read at once, none clears the read-out.
    InstrumentWatch &instrumentWatch() { return *m_instrumentWatch; }

    // Closes the port and ends the process through the end-program function, without a question
    // (the "Terminate program ?" Yes path, and a request to end from outside).
    void closePortAndEnd();

    // Restores the window when minimized and brings it to the front (a second start asked).
    void bringToFront();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildForm();
    // Shows a text in the wait panel and repaints it at once (the thread stays busy afterwards).
    void setPanelWaitText(const QString &text);
    void showReadOut(const ReadOut &readOut);
    void showCalibDate(int index, const std::optional<QDate> &date);
    void showChecksum(const std::optional<QString> &checksum);
    void showExpiry(const std::optional<qint64> &daysLeft);
    // The user asked for an expiration date: the box is ticked and the instrument offers one.
    bool expirationChosen() const;
    // The dates the pickers ask for: the expiration date only when chosen.
    DateRequest askedDates() const;
    void setPickerPreset(QDateEdit *picker, const QDate &date);
    // After a write: a verified one that the record holds gets its label, printed at once with
    // [Bench] PrintLabel=1 and offered by "Print &Label..." until another verified write.
    void labelWrite(const WriteRecorder &recorder);
    // The steps of the start after the configured port was asked (TimerStart_Timer).
    void offerSearch(const PortDiagnosis &configuredFailure);
    void searchFailed(const Connector::SearchResult &search);
    void finishStart(int foundPortNo);
    void endStart();
    void watchAdapter();
    void adapterUnplugged();
    void adapterPlugged();
    // The two presets of the date pickers from today: the calibration date today, the expiration
    // date ValidMonthOfCalib months later.
    void presetDatePickers();
    void clearReadOut();
    void watchInstruments();
    // Polls wait while an operation holds the window or a box or dialog waits for the user.
    bool benchIdle() const;
    void applyBenchSettings(const BenchSettings &settings);
    void setBenchMode(bool on);
    void instrumentPlaced(const QString &serialNo);
    void instrumentRemoved();
    // A click that comes while a poll waits runs once the poll has ended: the link takes one
    // transfer at a time.
    void afterPoll(void (frmVeltra::*handler)());
    void noteVerifiedWrite(const QString &serialNo);

    const Clock &m_clock;
    Link m_link;
    // Goes before the link: a request that runs is stopped before the link goes away.
    InstrumentOwner m_owner{m_link};
    CalibrationCore m_core{m_link};
    int m_lockDepth = 0;
    std::optional<MenuLock> m_startLock;
    // The configured port's device path, as last seen while no request had the link.
    QString m_adapterPath;
    std::function<void()> m_endProgram;
    std::function<QDate()> m_today;
    DeviceWatch *m_adapterWatch = nullptr;
    bool m_adapterAbsent = false;
    // A change of the adapter seen while the window was busy, handled when it is idle again.
    std::optional<bool> m_pendingPresence;
    std::optional<RecordEntry> m_labelEntry;
    InstrumentWatch *m_instrumentWatch = nullptr;
    // The read-out was cleared because the instrument was taken off.
    bool m_noInstrument = false;
    void (frmVeltra::*m_clickAfterPoll)() = nullptr;
    QTimer *m_pollEndCheck = nullptr;
    // Serial numbers written and verified in this run, with the time of the write.
    QHash<QString, QTime> m_written;
};
