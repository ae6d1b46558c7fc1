// The menus and dialogs of the main window, the program's real message box, dialog and busy
// pointer, and the keyboard's way through the window.

#include "comsettings.h"
#include "frmveltra.h"
#include "modaldriver.h"
#include "passwordchange.h"
#include "passwordinput.h"
#include "passwordstore.h"
#include "programpaths.h"
#include "scriptedserialcontrol.h"
#include "scriptedui.h"
#include "singleinstance.h"
#include "widgetui.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

void writeSettings(const QByteArray &ini)
{
    QFile file(IniFileName);
    if (file.open(QIODevice::WriteOnly))
        file.write(ini);
}

} // namespace

class MainWindowMenus : public QObject
{
    Q_OBJECT
private slots:
    void init() { setProgramPaths(m_dir.path()); }

    void setPassword_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("dialogs");
        QTest::newRow("without a password the change dialog opens at once")
            << ""
            << "" << QStringList{"PasswordChange"};
        QTest::newRow("the right password opens the change dialog")
            << "secret"
            << "secret" << QStringList{"PasswordInput", "PasswordChange"};
        QTest::newRow("a password in other case ends silently")
            << "secret"
            << "Secret" << QStringList{"PasswordInput"};
    }
    void setPassword()
    {
        QFETCH(QString, password);
        QFETCH(QString, typed);
        QFETCH(QStringList, dialogs);
        QFile::remove(PrgPath + PasswordFileName);
        ScriptedUi ui;
        if (!password.isEmpty()) {
            PasswordStore store;
            store.setPassword(password);
            QVERIFY(store.WritePassword().ok());
        }

        ScriptedSerialControl comm;
        frmVeltra window(comm);
        if (!password.isEmpty()) {
            ui.answerDialog<PasswordInput>([&typed](PasswordInput &input) {
                input.TextCode->setText(typed);
                input.ComOK->click();
            });
        }
        ui.answerDialog<PasswordChange>([](PasswordChange &change) { change.reject(); });
        window.mnuSetPassword->trigger();
        QCOMPARE(ui.dialogs, dialogs);
        QCOMPARE(ui.texts(), QStringList());
        QVERIFY(comm.written.isEmpty());
    }

    // A password file that cannot be read keeps the change dialog closed.
    void unreadablePasswordFileOpensNoDialog()
    {
        QFile::remove(PrgPath + PasswordFileName);
        QVERIFY(QDir(PrgPath).mkdir(PasswordFileName));
        ScriptedUi ui;
        ScriptedSerialControl comm;
        frmVeltra window(comm);
        window.mnuSetPassword->trigger();
        QVERIFY(QDir(PrgPath).rmdir(PasswordFileName));
        QCOMPARE(ui.dialogs, QStringList());
        QCOMPARE(ui.boxes.size(), 1);
        QVERIFY(ui.boxes[0].text.startsWith(QStringLiteral("Cannot read password file!")));
        QVERIFY(!QFileInfo::exists(PrgPath + PasswordFileName));
    }

    void bluetoothOpensThePortDialogInsteadOfReading()
    {
        writeSettings("[Appl]\nComPort=1\nConnectViaBluetooth=1;3;5\n");
        ScriptedUi ui;
        ScriptedSerialControl comm;
        frmVeltra window(comm);
        qsizetype writtenWhenClosed = -1;
        ui.answerDialog<ComSettings>([&](ComSettings &settings) {
            writtenWhenClosed = comm.written.size();
            settings.reject();
        });
        window.Form_Load();
        QTRY_VERIFY_WITH_TIMEOUT(window.ComRead->isEnabled(), 10000);
        QCOMPARE(ui.dialogs, QStringList{"ComSettings"});
        QCOMPARE(comm.written.size(), writtenWhenClosed);
        QCOMPARE(window.StartComPort, qint16(1));
        QCOMPARE(window.LabelSerialNo->text(), QString());
        QVERIFY(window.PictureWait->isHidden());
        QVERIFY(!ui.busy);
    }

    void portSettingsAreFollowedByARead()
    {
        ScriptedUi ui;
        ScriptedSerialControl comm;
        frmVeltra window(comm);
        QCOMPARE(window.link().OpenComPort(1, 0), qint16(0));
        qsizetype writtenWhenClosed = -1;
        ui.answerDialog<ComSettings>([&](ComSettings &settings) {
            writtenWhenClosed = comm.written.size();
            settings.reject();
        });
        window.mnuSettings->trigger();
        QCOMPARE(ui.dialogs, QStringList{"ComSettings"});
        // The read after the dialog wakes the instrument; nothing answers here.
        QVERIFY(comm.written.size() > writtenWhenClosed);
        QCOMPARE(comm.written.at(writtenWhenClosed), QByteArray("@"));
        QVERIFY(window.ComRead->isEnabled());
    }

    void realMessageBox_data()
    {
        QTest::addColumn<bool>("pressEscape");
        QTest::newRow("the No button answers No") << false;
        QTest::newRow("Escape answers No") << true;
    }
    void realMessageBox()
    {
        QFETCH(bool, pressEscape);
        WidgetUi ui;
        QMessageBox *seen = nullptr;
        QString shownText;
        QString shownDetails;
        QString defaultText;
        Qt::WindowFlags flags;
        ModalDriver driver([&](QDialog &modal) {
            seen = qobject_cast<QMessageBox *>(&modal);
            if (!seen)
                return;
            shownText = seen->text();
            shownDetails = seen->detailedText();
            defaultText = seen->defaultButton() ? seen->defaultButton()->text() : QString();
            flags = seen->windowFlags();
            if (pressEscape)
                QTest::keyClick(seen, Qt::Key_Escape);
            else
                seen->button(QMessageBox::No)->click();
        });
        const MsgResult result = ui.msgBox(
            {QStringLiteral("Veltra"), QStringLiteral("Veltra not found (com port 3) !\r\rSearch?"),
             MsgIcon::Question, MsgButtons::YesNo, MsgResult::No,
             QStringLiteral("Com port 3 (/dev/ttyUSB0) is in use "
                            "by minicom (process 4321).")});
        QCOMPARE(result, MsgResult::No);
        QCOMPARE(driver.seen, QStringList{"QMessageBox"});
        QCOMPARE(shownText, QStringLiteral("Veltra not found (com port 3) !\n\nSearch?"));
        QCOMPARE(shownDetails,
                 QStringLiteral("Com port 3 (/dev/ttyUSB0) is in use by minicom (process 4321)."));
        QCOMPARE(defaultText, QStringLiteral("&No"));
        QVERIFY(flags & Qt::WindowStaysOnTopHint);
    }

    // The program's own dialogs run modally through the same seam, answered from the keyboard.
    void realDialog()
    {
        WidgetUi ui;
        PasswordInput input;
        ModalDriver driver([](QDialog &modal) {
            auto *shown = qobject_cast<PasswordInput *>(&modal);
            QVERIFY(shown);
            QTest::keyClicks(shown->TextCode, QStringLiteral("secret"));
            QTest::keyClick(shown->TextCode, Qt::Key_Return);
        });
        ui.showDialog(input);
        QCOMPARE(driver.seen, QStringList{"PasswordInput"});
        QCOMPARE(input.result(), int(QDialog::Accepted));
        QCOMPARE(input.password(), QStringLiteral("secret"));
    }

    void busyPointerDoesNotStack()
    {
        WidgetUi ui;
        ui.setBusyPointer(true);
        ui.setBusyPointer(true);
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        ui.setBusyPointer(false);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        ui.setBusyPointer(false);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void aSecondStartRestoresTheMinimizedWindow()
    {
        ScriptedUi ui;
        ScriptedSerialControl comm;
        frmVeltra window(comm);
        QTemporaryDir folder;
        SingleInstance running(folder.path());
        QVERIFY(running.tryBecomeFirst());
        connect(&running, &SingleInstance::activationRequested, &window, &frmVeltra::bringToFront);
        window.showMinimized();
        QVERIFY(window.windowState() & Qt::WindowMinimized);

        SingleInstance second(folder.path());
        QVERIFY(!second.tryBecomeFirst());
        QVERIFY(second.ActivatePrevInstance());
        QTRY_VERIFY(!(window.windowState() & Qt::WindowMinimized));
        QVERIFY(window.isVisible());
    }

    void tabReachesEveryControl()
    {
        ScriptedUi ui;
        ScriptedSerialControl comm;
        frmVeltra window(comm);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.LabelSerialNo->setFocus();
        QSet<QWidget *> reached;
        for (int i = 0; i < 40; ++i) {
            reached.insert(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        const auto reachedOrInside = [&reached](QWidget *control) {
            for (QWidget *widget : reached) {
                if (widget == control || control->isAncestorOf(widget))
                    return true;
            }
            return false;
        };
        for (QWidget *control : std::initializer_list<QWidget *>{
                 window.LabelSerialNo, window.LabelVer, window.LabelBatt, window.LabelCheckSum,
                 window.LabelCalDate[0], window.LabelCalDate[1], window.ComRead,
                 window.DTPicker1[0], window.CheckStatus, window.DTPicker1[1], window.ComChange})
            QVERIFY2(reachedOrInside(control),
                     qPrintable(control->objectName() + control->metaObject()->className()));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(MainWindowMenus)
#include "tst_mainwindowmenus.moc"
