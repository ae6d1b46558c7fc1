// "Terminate program ?": No keeps everything as it was, Yes closes the port and ends the process.

#include "frmveltra.h"
#include "scriptedserialcontrol.h"
#include "scriptedui.h"

#include <QAction>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString helperPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/mainwindow-testhelper");
}

} // namespace

class MainWindowShutdown : public QObject
{
    Q_OBJECT
private slots:
    void terminateQuestion_data()
    {
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("No from the close box keeps the window and the port")
            << MsgResult::No << false;
        QTest::newRow("No from File Exit keeps the window and the port") << MsgResult::No << true;
        QTest::newRow("Yes closes the port, then ends the program") << MsgResult::Yes << false;
        QTest::newRow("Yes from File Exit ends the program") << MsgResult::Yes << true;
    }
    void terminateQuestion()
    {
        QFETCH(MsgResult, answer);
        QFETCH(bool, fromMenu);
        ScriptedUi ui;
        ui.answers.append(answer);
        ScriptedSerialControl comm;
        frmVeltra window(comm);
        int endings = 0;
        bool portOpenAtEnd = true;
        window.setEndProgram([&] {
            ++endings;
            portOpenAtEnd = comm.openState();
        });
        QCOMPARE(window.link().OpenComPort(1, 0), qint16(0));
        window.show();

        if (fromMenu)
            window.mnuExit->trigger();
        else
            window.close();

        QCOMPARE(ui.boxes.size(), 1);
        const MessageRequest &box = ui.boxes.first();
        QCOMPARE(box.text, QStringLiteral("Terminate program ?"));
        QCOMPARE(box.title, QStringLiteral("Veltra"));
        QCOMPARE(box.icon, MsgIcon::Question);
        QCOMPARE(box.buttons, MsgButtons::YesNo);
        QCOMPARE(box.defaultButton, MsgResult::Yes);
        if (answer == MsgResult::No) {
            QCOMPARE(endings, 0);
            QVERIFY(window.isVisible());
            QVERIFY(comm.openState());
            QCOMPARE(comm.closings, 0);
        } else {
            QCOMPARE(endings, 1);
            QVERIFY(!portOpenAtEnd);
        }
    }

    // Nothing runs on after Yes, yet the single-instance guard takes its files along.
    void yesEndsTheProcessAtOnce()
    {
        QTemporaryDir runtime;
        QProcess helper;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        helper.setProcessEnvironment(environment);
        helper.start(helperPath(), {QStringLiteral("terminate")});
        QVERIFY2(helper.waitForFinished(15000), qPrintable(helper.errorString()));
        QCOMPARE(helper.exitStatus(), QProcess::NormalExit);
        QCOMPARE(helper.exitCode(), 0);
        QCOMPARE(helper.readAllStandardOutput(), QByteArray("guarded\n"));
        QCOMPARE(
            QDir(runtime.path())
                .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList());
    }
};

QTEST_MAIN(MainWindowShutdown)
#include "tst_mainwindowshutdown.moc"
