// The main window's construction, locking, menus and shutdown.

#include "frmveltra.h"

#include "aboutform.h"
#include "comsettings.h"
#include "linkmessages.h"
#include "passwordchange.h"
#include "passwordfilebox.h"
#include "passwordinput.h"
#include "passwordstore.h"
#include "uiservices.h"

#include <QCloseEvent>
#include <QMenu>
#include <QPushButton>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

// Ends the process on the spot: no event loop, no destructor and no pending transfer may run
// on and talk to the instrument after the user chose to quit. Only what was registered for
// std::quick_exit runs (the single-instance guard removes its files).
void endProcessNow()
{
    std::fflush(nullptr);
    std::quick_exit(0);
}

} // namespace

frmVeltra::frmVeltra(SerialControl &comm, const Clock &clock, QWidget *parent)
    : QMainWindow(parent),
      m_clock(clock),
      m_link(comm, clock),
      m_endProgram(endProcessNow),
      m_today(&QDate::currentDate)
{
    // The window and the port dialog it opens share this link: a parity error is the user's call.
    m_owner.setParityDecision(&askParityError);
    buildForm();
    watchAdapter();
    watchInstruments();
}

frmVeltra::~frmVeltra()
{
    // Nothing may come back from the instrument's thread into a window that goes.
    m_owner.stop();
    m_startLock.reset();
}

void frmVeltra::setEndProgram(std::function<void()> endProgram)
{
    m_endProgram = std::move(endProgram);
}

void frmVeltra::setToday(std::function<QDate()> today)
{
    m_today = std::move(today);
}

void frmVeltra::bringToFront()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

frmVeltra::MenuLock::MenuLock(frmVeltra &window) : m_window(window)
{
    ++m_window.m_lockDepth;
    m_window.EnableMenue(false);
}

frmVeltra::MenuLock::~MenuLock()
{
    if (--m_window.m_lockDepth != 0)
        return;
    m_window.EnableMenue(true);
    if (const std::optional<bool> present = std::exchange(m_window.m_pendingPresence, {}))
        QMetaObject::invokeMethod(
            &m_window, [window = &m_window, p = *present] { window->adapterPresenceChanged(p); },
            Qt::QueuedConnection);
}

void frmVeltra::EnableMenue(bool xFlag)
{
    ui().setBusyPointer(!xFlag);
    ComRead->setEnabled(xFlag);
    ComChange->setEnabled(xFlag && !m_adapterAbsent && !m_noInstrument);
    // "Options" stays usable: setting a password does not touch the instrument.
    mnuFile->setEnabled(xFlag);
    mnuFunctions->setEnabled(xFlag);
    mnuInf->setEnabled(xFlag);
}

void frmVeltra::Form_Unload(bool &Cancel)
{
    const MsgResult answer = msgBox(tr("Terminate program ?"), MsgButtons::YesNo, MsgIcon::Question,
                                    m_link.deviceName(), MsgResult::Yes);
    if (answer != MsgResult::Yes) {
        Cancel = true;
        return;
    }
    closePortAndEnd();
}

void frmVeltra::closePortAndEnd()
{
    // A request that waits for the instrument ends first; the port is then the window's again.
    m_owner.stop();
    if (m_link.Comm1.openState())
        m_link.closeComPort();
    m_endProgram();
}

void frmVeltra::closeEvent(QCloseEvent *event)
{
    bool cancel = false;
    Form_Unload(cancel);
    if (cancel)
        event->ignore();
    else
        event->accept();
}

void frmVeltra::mnuExit_Click()
{
    close();
}

void frmVeltra::mnuAbout_Click()
{
    AboutForm about(this);
    ui().showDialog(about);
}

void frmVeltra::mnuSettings_Click()
{
    {
        ComSettings settings(m_link, this);
        ui().showDialog(settings);
    }
    watchConfiguredPort();
    ComRead_Click();
}

void frmVeltra::mnuSetPassword_Click()
{
    PasswordStore store;
    if (!passwordFileOk(store.ReadPassword()))
        return;
    if (store.isSet()) {
        PasswordInput input(this);
        ui().showDialog(input);
        if (!store.matches(input.password()))
            return;
    }
    PasswordChange change(store, this);
    ui().showDialog(change);
}
