#pragma once
// Test fixture: a program folder, the main window with scripted message boxes, and the virtual
// instrument (plain framing) as COM1, read once as at start. Header only, so tests that link the
// window share it without the other tests linking widgets.

#include "frmveltra.h"
#include "programpaths.h"
#include "scriptedui.h"
#include "simrig.h"

#include <QTemporaryDir>

#include <memory>

struct WindowSimRig
{
    QTemporaryDir folder;
    ScriptedUi ui;
    SimPort port;
    std::unique_ptr<frmVeltra> window;

    // False when the simulator did not start, the port did not open or the first read showed a box.
    // The window keeps its time limits on `clock`, which must outlive the rig's window.
    bool start(QStringList arguments, const Clock &clock = SystemClock::instance())
    {
        setProgramPaths(folder.path());
        if (!port.startSim(arguments << QStringLiteral("--framing") << QStringLiteral("plain")))
            return false;
        window = std::make_unique<frmVeltra>(port.comm, clock);
        window->setEndProgram([] {});
        if (window->link().OpenComPort(1, 0) != 0)
            return false;
        window->ComRead_Click();
        return ui.boxes.isEmpty();
    }
};
