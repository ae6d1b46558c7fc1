// Opens one device through the link the way the program does, for the tests that must run the
// opening in a process of its own (as another account, or beside a process that holds the port):
//   port-opener <device path>
// Ends with 0 when the port opened, else with 2 and the reason on standard error, one sentence
// per line.

#include "inifile.h"
#include "link.h"
#include "qtserialcontrol.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: port-opener <device path>\n");
        return 1;
    }
    QTemporaryDir folder;
    const QString ini = folder.filePath(QStringLiteral("ports.ini"));
    IniFile::writeString(ini, QStringLiteral("Ports"), QStringLiteral("COM1"),
                         QString::fromLocal8Bit(argv[1]));
    QtSerialControl comm([] { return QList<SystemPort>(); }, ini);
    Link link(comm);
    if (link.OpenComPort(1, 0) == 0)
        return 0;
    for (const QString &sentence : link.openFailure().sentences)
        std::fprintf(stderr, "%s\n", qPrintable(sentence));
    return 2;
}
