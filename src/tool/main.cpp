// veltra-calib: the calibration window's twin for the command line. Qt Core only: it runs where
// there is no display.

#include "calibtool.h"
#include "tooloptions.h"
#include "uiservices.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The same name as the window's, so both find the same per-user settings folder.
    QCoreApplication::setApplicationName(ProgramTitle);
    int exitCode = ExitDone;
    const std::optional<ToolOptions> options =
        parseToolOptions(QCoreApplication::arguments(), exitCode);
    if (!options)
        return exitCode;
    CalibTool tool(*options);
    return tool.run();
}
