#include "portmap.h"

#include "inifile.h"
#include "portentry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSerialPortInfo>

namespace {

QByteArray fileContent(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(IniFile::MaxFileSize + 1);
}

QString canonical(const QString &path)
{
    return QFileInfo(path).canonicalFilePath();
}

} // namespace

QList<SystemPort> PortMap::systemPorts()
{
    QList<SystemPort> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        ports.append(
            {info.systemLocation(), info.description(), info.manufacturer(), info.serialNumber()});
    return ports;
}

PortMap::PortMap(SystemPortSource source, QString byIdFolder)
    : m_source(std::move(source)),
      m_byIdFolder(std::move(byIdFolder))
{ }

void PortMap::reload(const QString &iniPath)
{
    QByteArray content = fileContent(iniPath);
    if (m_loaded && iniPath == m_iniPath && content == m_fileContent)
        return;
    m_iniPath = iniPath;
    m_fileContent = std::move(content);
    m_loaded = true;
    m_paths.clear();
    m_allRead = false;
}

QString PortMap::devicePath(int portNo) const
{
    if (!m_loaded || portNo < 1 || portNo > MaxPortNo)
        return {};
    const auto known = m_paths.constFind(portNo);
    if (known != m_paths.cend() || m_allRead)
        return known != m_paths.cend() ? *known : QString();
    const QString path = readPortEntry(m_iniPath, portNo);
    m_paths.insert(portNo, path);
    return path;
}

const QMap<int, QString> &PortMap::allPaths() const
{
    if (!m_allRead) {
        for (int portNo = 1; portNo <= MaxPortNo; ++portNo)
            devicePath(portNo);
        m_paths.removeIf([](const auto &entry) { return entry.value().isEmpty(); });
        m_allRead = true;
    }
    return m_paths;
}

void PortMap::update(const QString &iniPath)
{
    reload(iniPath);
    m_updated = true;
    m_systemPorts.clear();
    bool written = false;
    for (const SystemPort &port : m_source()) {
        m_systemPorts.insert(port.path, port);
        const QString path = preferredPath(port.path);
        if (isNamed(port.path, path))
            continue;
        const int portNo = lowestFreeNumber();
        if (portNo == 0)
            break;
        m_paths[portNo] = path;
        written |= writePortEntry(iniPath, portNo, path);
    }
    // Our own writes need no re-reading.
    if (written)
        m_fileContent = fileContent(iniPath);
}

bool PortMap::isPresent(int portNo) const
{
    const QString path = devicePath(portNo);
    return !path.isEmpty() && QFileInfo::exists(path);
}

QList<int> PortMap::presentPorts() const
{
    QList<int> ports;
    const QMap<int, QString> &paths = allPaths();
    for (auto it = paths.cbegin(); it != paths.cend(); ++it) {
        if (QFileInfo::exists(it.value()))
            ports.append(it.key());
    }
    return ports;
}

QString PortMap::description(int portNo) const
{
    const QString path = devicePath(portNo);
    if (path.isEmpty())
        return {};
    const QString target = canonical(path);
    for (const SystemPort &port : m_systemPorts) {
        if (port.path != path && (target.isEmpty() || canonical(port.path) != target))
            continue;
        QStringList details;
        for (const QString &detail : {port.description, port.manufacturer, port.serialNumber}) {
            if (!detail.isEmpty())
                details.append(detail);
        }
        if (!details.isEmpty())
            return path + QStringLiteral(" (") + details.join(QStringLiteral(", "))
                + QLatin1Char(')');
    }
    return path;
}

QString PortMap::preferredPath(const QString &systemPath) const
{
    const QString target = canonical(systemPath);
    if (target.isEmpty())
        return systemPath;
    const QDir folder(m_byIdFolder);
    for (const QString &name : folder.entryList(QDir::Files | QDir::System, QDir::Name)) {
        const QString link = folder.filePath(name);
        if (link.size() <= IniFile::MaxValueLength && canonical(link) == target)
            return link;
    }
    return systemPath;
}

bool PortMap::isNamed(const QString &systemPath, const QString &preferred) const
{
    const QString target = canonical(systemPath);
    for (const QString &path : allPaths()) {
        if (path == systemPath || path == preferred)
            return true;
        if (!target.isEmpty() && canonical(path) == target)
            return true;
    }
    return false;
}

int PortMap::lowestFreeNumber() const
{
    for (int portNo = 1; portNo <= MaxPortNo; ++portNo) {
        if (!allPaths().contains(portNo))
            return portNo;
    }
    return 0;
}
