#include "portentry.h"

#include "inifile.h"

namespace {

const QString Section = QStringLiteral("Ports");

} // namespace

QString portName(int portNo)
{
    return QStringLiteral("COM%1").arg(portNo);
}

QString readPortEntry(const QString &iniPath, int portNo)
{
    return IniFile::readString(iniPath, Section, portName(portNo), QString()).trimmed();
}

bool writePortEntry(const QString &iniPath, int portNo, const QString &devicePath)
{
    return IniFile::writeString(iniPath, Section, portName(portNo), devicePath);
}
