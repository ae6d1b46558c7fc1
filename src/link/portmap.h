#pragma once
// Port numbers ("COM n", 1 to 255) and the devices behind them.
//
// The map lives in section "Ports" of the settings file: key "COM"+n, value a device path. An
// entry names its port whether the device is there or not, so a number stays with its device
// between runs. A serial device that the system reports and no entry names yet gets the lowest
// free number and an entry; a USB adapter is entered by its /dev/serial/by-id link where one
// exists (and fits into a settings value), since the kernel's ttyUSB numbers change with the
// order of plugging. Other programs (the virtual instrument among them) may add entries at any
// time: the map is re-read whenever the file has changed.

#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <functional>

struct SystemPort
{
    QString path; // device path as the system knows it, such as /dev/ttyUSB0
    QString description;
    QString manufacturer;
    QString serialNumber;
};

class PortMap
{
public:
    static constexpr int MaxPortNo = 255;
    using SystemPortSource = std::function<QList<SystemPort>()>;

    // The serial ports the system reports (QSerialPortInfo).
    static QList<SystemPort> systemPorts();

    explicit PortMap(SystemPortSource source = &PortMap::systemPorts,
                     QString byIdFolder = QStringLiteral("/dev/serial/by-id"));

    // Re-reads the map when the file has changed since the last reading.
    void reload(const QString &iniPath);
    // reload(), then asks the system for its ports and numbers the new ones.
    void update(const QString &iniPath);
    bool updated() const { return m_updated; }

    QString devicePath(int portNo) const;
    bool isPresent(int portNo) const;
    // Numbers whose device is present, in number order.
    QList<int> presentPorts() const;
    // Path and, where the system told them, description, manufacturer and serial number.
    QString description(int portNo) const;

private:
    QString preferredPath(const QString &systemPath) const;
    bool isNamed(const QString &systemPath, const QString &preferred) const;
    int lowestFreeNumber() const;
    // Every entry of the file; read on first need, as one port is all a start asks for.
    const QMap<int, QString> &allPaths() const;

    SystemPortSource m_source;
    QString m_byIdFolder;
    QString m_iniPath;
    QByteArray m_fileContent;
    bool m_loaded = false;
    bool m_updated = false;
    // Entries read so far (an empty path: the file has none for that number).
    mutable QMap<int, QString> m_paths;
    mutable bool m_allRead = false;
    QHash<QString, SystemPort> m_systemPorts; // by kernel path, from the last update
};
