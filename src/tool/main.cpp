// veltra-calib: the calibration window's twin for the command line. It runs where there is no
// display: the commands that draw pages use Qt Gui on the offscreen platform, every other one
// stays with Qt Core and loads no platform plugin.

#include "calibtool.h"
#include "tooloptions.h"
#include "translations.h"
#include "uiservices.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstring>
#include <memory>

namespace {

QtMessageHandler qtMessages = nullptr;

// Only the tool's own lines and its trace go to stderr: Qt's notes on the surroundings (no
// runtime folder under cron or a service, for the offscreen platform) would read as errors.
void toolMessages(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg
        || (context.category != nullptr && std::strncmp(context.category, "veltra.", 7) == 0))
        qtMessages(type, context, text);
}

} // namespace

int main(int argc, char *argv[])
{
    qtMessages = qInstallMessageHandler(toolMessages);
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
