#pragma once
// What the benchmarks' main functions set up before they measure.

#include <QCoreApplication>
#include <QFile>
#include <QString>

// Windows draw offscreen unless the caller chose a platform. Before the application object exists.
inline void preferOffscreen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// The simulator built next to the benchmark, unless VELTRA_SIM names one. After the application
// object exists.
inline void findSimulatorNextToBenchmark()
{
    if (qEnvironmentVariableIsEmpty("VELTRA_SIM"))
        qputenv("VELTRA_SIM",
                QFile::encodeName(QCoreApplication::applicationDirPath()
                                  + QStringLiteral("/veltra-sim")));
}
