#pragma once
// Test fixtures on the virtual instrument: SimPort enters it as a port in the program's settings
// file and puts the program's serial control on it (the port map comes from that file alone,
// never from the machine's own ports); SimLink adds the program's link on that port. Tests of the
// main window use WindowSimRig, whose window brings its own link.

#include "clock.h"
#include "link.h"
#include "programpaths.h"
#include "qtserialcontrol.h"
#include "siminstrument.h"

#include <QDebug>

struct SimPort
{
    SimInstrument sim;
    // The settings file is looked up at each use, so the program folder may be set afterwards.
    QtSerialControl comm{[] { return QList<SystemPort>(); }};

    // Starts the simulator with these options, entered as port portNo; false (with the reason as
    // a warning) when it does not start.
    bool startSim(const QStringList &simArguments, int portNo = 1)
    {
        if (sim.start(simArguments, portNo, IniFileName))
            return true;
        qWarning() << sim.errorText();
        return false;
    }
};

struct SimLink : SimPort
{
    explicit SimLink(const Clock &clock = SystemClock::instance()) : link(comm, clock) { }

    // Starts the simulator as port portNo and opens that port; false when either fails.
    bool open(const QStringList &simArguments, int portNo = 1)
    {
        return startSim(simArguments, portNo) && link.OpenComPort(qint16(portNo), 0) == 0;
    }

    Link link;
};
