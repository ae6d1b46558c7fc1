#pragma once
// What the port diagnosis reads from a Linux system, through a root folder: device nodes, the
// account and groups of this process (proc/self/status, etc/passwd, etc/group), lock files and
// the open descriptors of other processes (proc/*/fd), USB adapters (sys) and brltty's udev rules.
// Paths given and returned are the system's own ("/dev/ttyUSB0"); only reading adds the root.

#include <QList>
#include <QSet>
#include <QString>
#include <optional>

struct DeviceNode
{
    uint uid = 0;
    uint gid = 0;
    uint mode = 0; // permission bits
};

struct Account
{
    int pid = 0;
    uint uid = 0;
    QList<uint> gids; // the process's groups: its own and the supplementary ones
    QString name;
};

struct Holder
{
    int pid = 0;
    QString name;
    QString lockFile; // the lock file naming it; empty when found by its open descriptor
};

struct UsbAdapter
{
    QString vendorId; // four lower-case hex digits
    QString productId;
    QString product; // the adapter's own name, where it gives one
};

class SystemFacts
{
public:
    explicit SystemFacts(const QString &root);

    bool exists(const QString &path) const;
    // The path after following its links, as the system names it.
    QString resolved(const QString &path) const;
    std::optional<DeviceNode> node(const QString &path) const;

    Account account() const;
    QString userName(uint uid) const;
    QString groupName(uint gid) const;
    bool groupExists(const QString &name) const;
    // Whether the group database makes `account` a member of `gid` (listed, or its own group).
    bool listedInGroup(const QString &account, uint gid) const;

    // Live processes other than this one that hold the device: through a lock file named after
    // it, or through an open descriptor.
    QList<Holder> holders(const QString &path) const;
    QList<int> processesNamed(const QString &name) const;
    QString processName(int pid) const;

    // The USB adapter a serial device belongs to.
    std::optional<UsbAdapter> usbAdapterOf(const QString &path) const;
    // USB adapters whose vendor:product brltty claims and that have no serial device (any more).
    QList<UsbAdapter> adaptersTakenFromTty() const;
    // brltty runs, or its udev rules are installed.
    bool brlttyPresent() const;

private:
    QString inRoot(const QString &path) const { return m_root + path; }
    QString outOfRoot(const QString &path) const;
    QString readText(const QString &path) const;
    QString passwdField(const QString &key, int keyField, int field) const;
    QString groupLine(uint gid) const;
    std::optional<UsbAdapter> adapterIn(const QString &folder) const;
    QStringList brlttyRules() const;
    QSet<QString> brlttyClaims() const;
    bool isAlive(int pid) const;

    QString m_root; // without the trailing slash; empty for "/"
};

// Permission bits as ls shows them: "rw-rw----".
QString permissionText(uint mode);
