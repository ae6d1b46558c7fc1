// A second process for the tests that must watch a program end or meet another copy.
//   mainwindow-testhelper terminate         holds the single-instance guard, prints "guarded",
//                                           closes a main window and answers "Terminate program ?"
//                                           with Yes; prints "returned" if it gets control back
//   mainwindow-testhelper instance <folder> runs the single-instance guard for that program
//                                           folder; prints "running", then "activated" for each
//                                           request of a later copy

#include "frmveltra.h"
#include "scriptedserialcontrol.h"
#include "scriptedui.h"
#include "singleinstance.h"

#include <QApplication>

#include <cstdio>

namespace {

void say(const char *text)
{
    std::printf("%s\n", text);
    std::fflush(stdout);
}

int terminate(int argc, char *argv[])
{
    QApplication app(argc, argv);
    SingleInstance guard(QCoreApplication::applicationDirPath());
    CheckPrevInstance(guard);
    say("guarded");
    ScriptedUi ui;
    ui.answers.append(MsgResult::Yes);
    ScriptedSerialControl comm;
    frmVeltra window(comm);
    window.link().OpenComPort(1, 0);
    window.show();
    window.close();
    say("returned");
    return 3;
}

int instance(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    SingleInstance guard(QString::fromLocal8Bit(argv[2]));
    CheckPrevInstance(guard);
    QObject::connect(&guard, &SingleInstance::activationRequested, [] { say("activated"); });
    say("running");
    return QCoreApplication::exec();
}

} // namespace

int main(int argc, char *argv[])
{
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "terminate")
        return terminate(argc, argv);
    if (mode == "instance" && argc > 2)
        return instance(argc, argv);
    std::fprintf(stderr, "usage: mainwindow-testhelper terminate | instance <folder>\n");
    return 2;
}
