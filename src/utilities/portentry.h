#pragma once
// The port numbers' entries in section "Ports" of the settings file: key "COM"+n, value the path
// of the device behind port n. The key is also the port's name as the user sees it ("COM7").

#include <QString>

QString portName(int portNo);

// The entry of port portNo, trimmed; empty when the file has none.
QString readPortEntry(const QString &iniPath, int portNo);
// False when the file could not be written.
bool writePortEntry(const QString &iniPath, int portNo, const QString &devicePath);
