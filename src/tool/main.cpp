// veltra-calib: the calibration window's twin for the command line. It runs where there is no
// display: the commands that draw pages use Qt Gui on the offscreen platform, every other one
// stays with Qt Core and loads no platform plugin.

#include "calibtool.h"
#include "tooloptions.h"
#include "translations.h"
#include "uiservices.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <memory>

int main(int argc, char *argv[])
{
    auto app = std::make_unique<QCoreApplication>(argc, argv);
    installTranslations(*app);
    // The same name as the window's, so both find the same per-user settings folder.
    QCoreApplication::setApplicationName(ProgramTitle);
    int exitCode = ExitDone;
    const std::optional<ToolOptions> options =
        parseToolOptions(QCoreApplication::arguments(), exitCode);
    if (!options)
        return exitCode;
    if (drawsPages(options->command)) {
        app.reset();
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
        installTranslations(*app);
    }
    CalibTool tool(*options);
    return tool.run();
}
