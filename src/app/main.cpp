// Starts the program: one copy per user and program folder, settings beside the program.

#include "exitsignals.h"
#include "frmveltra.h"
#include "programicon.h"
#include "programpaths.h"
#include "qtserialcontrol.h"
#include "singleinstance.h"
#include "translations.h"
#include "widgetui.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    installTranslations(app);
    QApplication::setApplicationName(ProgramTitle);
    QApplication::setDesktopFileName(ApplicationId);
    SingleInstance guard(QCoreApplication::applicationDirPath());
    CheckPrevInstance(guard);
    // Taken from here on, so the guard's files go with the process however it is asked to end.
    ExitSignals exitSignals;

    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(programIcon(size));
    QApplication::setWindowIcon(icon);

    setProgramPaths(QCoreApplication::applicationDirPath());
    WidgetUi ui;
    setUi(&ui);
    QtSerialControl comm;
    frmVeltra window(comm);
    QObject::connect(&guard, &SingleInstance::activationRequested, &window,
                     &frmVeltra::bringToFront);
    // Asked to end from outside (a logout, a kill): like "Terminate program ?" answered Yes.
    QObject::connect(&exitSignals, &ExitSignals::received, &window, &frmVeltra::closePortAndEnd);
    window.Form_Load();
    window.show();
    const int result = QApplication::exec();
    setUi(nullptr);
    return result;
}
