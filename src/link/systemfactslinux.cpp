#include "systemfacts.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Where QSerialPort and the UUCP tools put their lock files, "LCK.." and the device's name below
// /dev with "/" as "_". Several may exist; a lock in any of them keeps others out.
const QStringList LockFolders{"/var/lock", "/etc/locks", "/var/spool/locks",  "/var/spool/uucp",
                              "/tmp",      "/var/tmp",   "/var/lock/lockdev", "/run/lock"};

// The adapter brltty claims best known for it (CH340 serial adapters); its udev rules, when
// installed, name the others.
const QStringList BuiltInBrlttyClaims{"1a86:7523"};
const QStringList BrlttyRuleFolders{"/lib/udev/rules.d", "/usr/lib/udev/rules.d",
                                    "/etc/udev/rules.d"};

QString lockName(const QString &devicePath)
{
    QString name = devicePath.startsWith(QLatin1String("/dev/")) ? devicePath.mid(5) : devicePath;
    return QStringLiteral("LCK..") + name.replace(u'/', u'_');
}

QList<uint> numbers(const QString &text)
{
    QList<uint> result;
    for (const QString &word :
         text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        bool ok = false;
        const uint value = word.toUInt(&ok);
        if (ok)
            result.append(value);
    }
    return result;
}

QString hexId(const QString &text)
{
    bool ok = false;
    const uint value = text.trimmed().toUInt(&ok, 16);
    return ok ? QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0')) : QString();
}

QString linkTarget(const QString &path)
{
    char buffer[4096];
    const ssize_t size = ::readlink(QFile::encodeName(path).constData(), buffer, sizeof buffer);
    return size > 0 ? QFile::decodeName(QByteArray(buffer, size)) : QString();
}

} // namespace

QString permissionText(uint mode)
{
    QString text;
    for (int shift = 6; shift >= 0; shift -= 3) {
        text += (mode >> shift) & 4 ? u'r' : u'-';
        text += (mode >> shift) & 2 ? u'w' : u'-';
        text += (mode >> shift) & 1 ? u'x' : u'-';
    }
    return text;
}

SystemFacts::SystemFacts(const QString &root)
{
    const QString clean = QDir::cleanPath(root);
    m_root = clean == QLatin1String("/") ? QString() : clean;
}

QString SystemFacts::outOfRoot(const QString &path) const
{
    return m_root.isEmpty() || !path.startsWith(m_root + u'/') ? path : path.mid(m_root.size());
}

QString SystemFacts::readText(const QString &path) const
{
    QFile file(inRoot(path));
    // Files below /proc and /sys report no size; read what there is, up to a sane limit.
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.read(1 << 20)) : QString();
}

bool SystemFacts::exists(const QString &path) const
{
    return QFileInfo::exists(inRoot(path));
}

QString SystemFacts::resolved(const QString &path) const
{
    const QString canonical = QFileInfo(inRoot(path)).canonicalFilePath();
    return canonical.isEmpty() ? path : outOfRoot(canonical);
}

std::optional<DeviceNode> SystemFacts::node(const QString &path) const
{
    struct stat info
    { };
    if (::stat(QFile::encodeName(inRoot(path)).constData(), &info) != 0)
        return std::nullopt;
    return DeviceNode{info.st_uid, info.st_gid, uint(info.st_mode) & 07777};
}

Account SystemFacts::account() const
{
    Account account;
    const QStringList lines = readText(QStringLiteral("/proc/self/status")).split(u'\n');
    for (const QString &line : lines) {
        const QString value = line.section(u':', 1);
        // Uid and Gid list real, effective, saved and file-system ids; access goes by the
        // effective one.
        if (line.startsWith(QLatin1String("Pid:")))
            account.pid = value.trimmed().toInt();
        else if (line.startsWith(QLatin1String("Uid:")))
            account.uid = numbers(value).value(1);
        else if (line.startsWith(QLatin1String("Gid:")))
            account.gids.prepend(numbers(value).value(1));
        else if (line.startsWith(QLatin1String("Groups:")))
            account.gids += numbers(value);
    }
    account.name = userName(account.uid);
    return account;
}

// A field of the passwd line whose field `keyField` is `key`.
QString SystemFacts::passwdField(const QString &key, int keyField, int field) const
{
    for (const QString &line : readText(QStringLiteral("/etc/passwd")).split(u'\n')) {
        const QStringList fields = line.split(u':');
        if (fields.size() >= 4 && fields[keyField] == key)
            return fields[field];
    }
    return {};
}

QString SystemFacts::userName(uint uid) const
{
    const QString name = passwdField(QString::number(uid), 2, 0);
    return name.isEmpty() ? QStringLiteral("uid %1").arg(uid) : name;
}

QString SystemFacts::groupLine(uint gid) const
{
    for (const QString &line : readText(QStringLiteral("/etc/group")).split(u'\n')) {
        if (line.section(u':', 2, 2) == QString::number(gid))
            return line;
    }
    return {};
}

QString SystemFacts::groupName(uint gid) const
{
    const QString name = groupLine(gid).section(u':', 0, 0);
    return name.isEmpty() ? QStringLiteral("gid %1").arg(gid) : name;
}

bool SystemFacts::groupExists(const QString &name) const
{
    for (const QString &line : readText(QStringLiteral("/etc/group")).split(u'\n')) {
        if (line.section(u':', 0, 0) == name)
            return true;
    }
    return false;
}

bool SystemFacts::listedInGroup(const QString &account, uint gid) const
{
    if (passwdField(account, 0, 3) == QString::number(gid))
        return true;
    const QStringList members = groupLine(gid).section(u':', 3).trimmed().split(u',');
    return members.contains(account);
}

bool SystemFacts::isAlive(int pid) const
{
    return pid > 0 && exists(QStringLiteral("/proc/%1").arg(pid));
}

QString SystemFacts::processName(int pid) const
{
    // The command line keeps the whole program name; comm cuts it at 15 characters.
    const QString commandLine = readText(QStringLiteral("/proc/%1/cmdline").arg(pid));
    const QString command = commandLine.section(u'\0', 0, 0);
    if (!command.isEmpty())
        return QFileInfo(command).fileName();
    return readText(QStringLiteral("/proc/%1/comm").arg(pid)).trimmed();
}

QList<int> SystemFacts::processesNamed(const QString &name) const
{
    QList<int> pids;
    for (const QString &entry : QDir(inRoot(QStringLiteral("/proc"))).entryList(QDir::Dirs)) {
        const int pid = entry.toInt();
        if (pid > 0 && processName(pid) == name)
            pids.append(pid);
    }
    return pids;
}

QList<Holder> SystemFacts::holders(const QString &path) const
{
    const int self = account().pid;
    const QString device = resolved(path);
    QList<Holder> found;
    const auto add = [&](int pid, const QString &lockFile) {
        if (pid == self || !isAlive(pid))
            return;
        for (const Holder &holder : found) {
            if (holder.pid == pid)
                return;
        }
        found.append({pid, processName(pid), lockFile});
    };

    for (const QString &folder : LockFolders) {
        for (const QString &name : {lockName(path), lockName(device)}) {
            const QString lockFile = folder + u'/' + name;
            // Qt and the UUCP tools write the process id first, as text.
            const QString text = readText(lockFile);
            if (!text.isEmpty())
                add(text.section(u'\n', 0, 0).trimmed().toInt(), lockFile);
        }
    }

    const QString proc = inRoot(QStringLiteral("/proc"));
    for (const QString &entry : QDir(proc).entryList(QDir::Dirs)) {
        const int pid = entry.toInt();
        if (pid <= 0 || pid == self)
            continue;
        const QDir fds(proc + u'/' + entry + QStringLiteral("/fd"));
        const auto entries = QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot;
        for (const QString &fd : fds.entryList(entries)) {
            const QString target = linkTarget(fds.filePath(fd));
            if (target == device || target == path) {
                add(pid, QString());
                break;
            }
        }
    }
    return found;
}

std::optional<UsbAdapter> SystemFacts::adapterIn(const QString &folder) const
{
    const QString vendor = hexId(readText(folder + QStringLiteral("/idVendor")));
    const QString product = hexId(readText(folder + QStringLiteral("/idProduct")));
    if (vendor.isEmpty() || product.isEmpty())
        return std::nullopt;
    return UsbAdapter{vendor, product, readText(folder + QStringLiteral("/product")).trimmed()};
}

std::optional<UsbAdapter> SystemFacts::usbAdapterOf(const QString &path) const
{
    const QString name = QFileInfo(resolved(path)).fileName();
    QString folder = resolved(QStringLiteral("/sys/class/tty/%1/device").arg(name));
    // From the serial device up to the USB device that carries the ids.
    while (folder.startsWith(QLatin1String("/sys/devices/"))) {
        if (const std::optional<UsbAdapter> adapter = adapterIn(folder))
            return adapter;
        folder = QFileInfo(folder).path();
    }
    return std::nullopt;
}

QList<UsbAdapter> SystemFacts::adaptersTakenFromTty() const
{
    const QSet<QString> claims = brlttyClaims();
    QList<UsbAdapter> taken;
    const QDir devices(inRoot(QStringLiteral("/sys/bus/usb/devices")));
    for (const QString &entry : devices.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString folder = resolved(QStringLiteral("/sys/bus/usb/devices/") + entry);
        const std::optional<UsbAdapter> adapter = adapterIn(folder);
        if (!adapter || !claims.contains(adapter->vendorId + u':' + adapter->productId))
            continue;
        // Links lead all over /sys; the adapter's own tree is enough.
        bool hasTty = false;
        QDirIterator it(inRoot(folder), QDir::Dirs | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (!hasTty && it.hasNext())
            hasTty = it.next().section(u'/', -1).startsWith(QLatin1String("tty"));
        if (!hasTty)
            taken.append(*adapter);
    }
    return taken;
}

QStringList SystemFacts::brlttyRules() const
{
    QStringList files;
    for (const QString &folder : BrlttyRuleFolders) {
        const QDir rules(inRoot(folder));
        for (const QString &name : rules.entryList({QStringLiteral("*brltty*.rules")}, QDir::Files))
            files.append(folder + u'/' + name);
    }
    return files;
}

bool SystemFacts::brlttyPresent() const
{
    return !brlttyRules().isEmpty() || !processesNamed(QStringLiteral("brltty")).isEmpty();
}

QSet<QString> SystemFacts::brlttyClaims() const
{
    QSet<QString> claims(BuiltInBrlttyClaims.cbegin(), BuiltInBrlttyClaims.cend());
    // ENV{PRODUCT}=="1a86/7523/*" (hex without leading zeros), or idVendor and idProduct.
    static const QRegularExpression product(
        QStringLiteral(R"re(ENV\{PRODUCT\}=="([0-9a-fA-F]{1,4})/([0-9a-fA-F]{1,4})/)re"));
    static const QRegularExpression attributes(
        QStringLiteral(R"re(idVendor\}=="([0-9a-fA-F]{4})".*idProduct\}=="([0-9a-fA-F]{4})")re"));
    for (const QString &file : brlttyRules()) {
        const QString text = readText(file);
        for (const QRegularExpression *pattern : {&product, &attributes}) {
            for (auto it = pattern->globalMatch(text); it.hasNext();) {
                const QRegularExpressionMatch match = it.next();
                claims.insert(hexId(match.captured(1)) + u':' + hexId(match.captured(2)));
            }
        }
    }
    return claims;
}
