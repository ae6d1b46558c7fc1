#pragma once
// veltra-calib: one command of the command line against one instrument, through the same
// calibration core as the window. Errors go to stderr, one line each; the result is the exit code.

#include "calibrationcore.h"
#include "portmap.h"
#include "tooloptions.h"
#include "tooloutput.h"
#include "writegate.h"

#include <QTemporaryDir>

#include <functional>
#include <memory>

class Link;
class QtSerialControl;

class CalibTool
{
public:
    explicit CalibTool(const ToolOptions &options);
    ~CalibTool();

    int run();

private:
    int ports();
    int identify(bool withDates);
    int write();
    int history();
    // The bench (benchcommands.cpp): instruments placed on the adapter one after another.
    int watch();
    int writeEach();
    // Watches the adapter until SIGINT or SIGTERM; each instrument placed is read and handed to
    // placed, which says whether to go on. Events are printed with printEvents.
    int bench(bool printEvents, const std::function<bool(const ReadOut &)> &placed);

    // Settings file, port and line profile; then the port open, or the exit code why not.
    int connect();
    bool search();
    int readInstrument(ReadOut &readOut, bool withDates);
    // ExitDone unless the gate asks for the password and the one given is not right.
    int checkPassword(WriteGate &gate, WriteGate::Step step);
    // ExitRefused, said on stderr, when the password file cannot be read.
    int refuseUnreadable(const WriteGate::Check &access) const;
    // The write of an instrument just read, its result printed.
    int writeInstrument(WriteGate &gate, const ReadOut &readOut);

    void print(const QStringList &lines) const;
    void printJson(const QJsonObject &object) const;
    int fail(int exitCode, const QString &text) const;
    int failed(const Outcome &outcome) const;

    ToolOptions m_options;
    QTemporaryDir m_deviceFolder;
    std::unique_ptr<QtSerialControl> m_comm;
    std::unique_ptr<Link> m_link;
    std::unique_ptr<CalibrationCore> m_core;
    // The port numbers the settings file names, without asking the system.
    PortMap m_settingsMap;
    PortPlace m_place;
    // Writes of this run.
    struct Tally
    {
        int written = 0;
        int verified = 0;
        int failed = 0;
    } m_tally;
};
