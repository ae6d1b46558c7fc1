// The port diagnosis on Linux.

#include "portdiagnosis.h"

#include "link.h"
#include "systemfacts.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace {

const QStringList OwnPrograms{"veltra-setcalibdate", "veltra-calib"};
const QString ModemManager = QStringLiteral("ModemManager");

// "Com port 3 (/dev/ttyUSB0)"; "com port ..." inside a sentence.
QString portName(const OpenAttempt &attempt, bool startsSentence = true)
{
    const QString text =
        startsSentence ? Link::tr("Com port %1 (%2)") : Link::tr("com port %1 (%2)");
    return text.arg(attempt.portNo).arg(attempt.path);
}

QString presentPortsSentence(const QMap<int, QString> &ports)
{
    if (ports.isEmpty())
        return Link::tr("No serial port is present now.");
    QStringList entries;
    for (auto it = ports.cbegin(); it != ports.cend(); ++it)
        entries.append(Link::tr("com port %1 (%2)").arg(it.key()).arg(it.value()));
    return Link::tr("Serial ports present now: ") + entries.join(QStringLiteral(", ")) + u'.';
}

QString errorName(int error)
{
    const char *name = ::strerrorname_np(error);
    return name ? QString::fromLatin1(name) : QStringLiteral("errno %1").arg(error);
}

class Diagnosis
{
public:
    Diagnosis(const SystemFacts &facts, const OpenAttempt &attempt)
        : m_facts(facts),
          m_attempt(attempt)
    { }

    PortDiagnosis run() const;

private:
    PortDiagnosis absent() const;
    PortDiagnosis brltty(const UsbAdapter &adapter) const;
    PortDiagnosis noPermission() const;
    PortDiagnosis busy(const QList<Holder> &holders) const;
    PortDiagnosis modemManager(int pid, bool certain) const;
    PortDiagnosis other() const;
    QString ownershipSentence(const DeviceNode &node, const Account &account) const;

    const SystemFacts &m_facts;
    const OpenAttempt &m_attempt;
};

PortDiagnosis Diagnosis::run() const
{
    const int error = m_attempt.error;
    if (m_attempt.path.isEmpty() || !m_facts.exists(m_attempt.path) || error == ENOENT) {
        const QList<UsbAdapter> taken = m_facts.adaptersTakenFromTty();
        if (!m_attempt.path.isEmpty() && !taken.isEmpty() && m_facts.brlttyPresent())
            return brltty(taken.first());
        return absent();
    }
    if (error == EACCES || error == EPERM)
        return noPermission();
    const QList<Holder> holders = m_facts.holders(m_attempt.path);
    if (error == EBUSY || !holders.isEmpty())
        return busy(holders);
    if (error == 0 && m_attempt.errorText.isEmpty())
        return {};
    return other();
}

PortDiagnosis Diagnosis::absent() const
{
    const QString &path = m_attempt.path;
    const int portNo = m_attempt.portNo;
    QString cause;
    if (path.isEmpty()) {
        cause = Link::tr("Com port %1 names no device: choose a port that is present.").arg(portNo);
    } else if (path.startsWith(QLatin1String("/dev/serial/by-id/"))) {
        cause = Link::tr("The adapter %1 of com port %2 is not plugged in: plug it in or "
                         "choose a port that is present.")
                    .arg(QFileInfo(path).fileName())
                    .arg(portNo);
    } else if (path.startsWith(QLatin1String("/dev/rfcomm"))) {
        cause = Link::tr("The Bluetooth port %1 of com port %2 is not bound: pair the "
                         "instrument and bind it (sudo rfcomm bind %3 followed by the "
                         "instrument's Bluetooth address).")
                    .arg(path)
                    .arg(portNo)
                    .arg(path.mid(QStringLiteral("/dev/rfcomm").size()));
    } else {
        cause = portName(m_attempt)
            + Link::tr(" does not exist: the adapter seems unplugged; plug it in or choose "
                       "a port that is present.");
    }
    return {PortProblem::Absent, {cause, presentPortsSentence(m_attempt.presentPorts)}};
}

PortDiagnosis Diagnosis::brltty(const UsbAdapter &adapter) const
{
    const QString name =
        adapter.product.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(adapter.product);
    return {PortProblem::Brltty,
            {Link::tr("brltty, the service for braille displays, took the USB adapter "
                      "%1:%2%3 as soon as it was plugged in, so %4 has gone: if no braille "
                      "display is used here, remove the brltty package (sudo apt remove "
                      "brltty) and plug the adapter in again.")
                 .arg(adapter.vendorId, adapter.productId, name, portName(m_attempt, false)),
             Link::tr("To keep brltty, stop it from taking serial adapters instead: "
                      "sudo systemctl mask brltty-udev.service, then plug the adapter in "
                      "again.")}};
}

QString Diagnosis::ownershipSentence(const DeviceNode &node, const Account &account) const
{
    QStringList groups;
    for (const uint gid : account.gids) {
        if (!groups.contains(m_facts.groupName(gid)))
            groups.append(m_facts.groupName(gid));
    }
    return Link::tr("The device %1 belongs to owner %2 and group %3 with mode %4 (%5); "
                    "this program runs as account %6 (uid %7) with the groups %8.")
        .arg(m_facts.resolved(m_attempt.path), m_facts.userName(node.uid),
             m_facts.groupName(node.gid),
             QStringLiteral("%1").arg(node.mode, 4, 8, QLatin1Char('0')), permissionText(node.mode),
             account.name, QString::number(account.uid), groups.join(QStringLiteral(", ")));
}

PortDiagnosis Diagnosis::noPermission() const
{
    const Account account = m_facts.account();
    const std::optional<DeviceNode> node = m_facts.node(m_attempt.path);
    if (!node)
        return other();
    const QString group = m_facts.groupName(node->gid);
    const bool groupMayOpen = (node->mode & 060) == 060;
    QStringList sentences;
    if (groupMayOpen && !account.gids.contains(node->gid)
        && m_facts.listedInGroup(account.name, node->gid)) {
        sentences.append(portName(m_attempt)
                         + Link::tr(" may not be opened yet: account %1 is in group %2, but "
                                    "this program runs without it; log out and in again (or "
                                    "reboot) for the group to take effect.")
                               .arg(account.name, group));
    } else if (groupMayOpen && !account.gids.contains(node->gid)) {
        sentences.append(portName(m_attempt)
                         + Link::tr(" may not be opened by account %1: join group %2 (sudo "
                                    "usermod -aG %2 %1), then log out and in again.")
                               .arg(account.name, group));
        sentences.append(Link::tr("Serial ports belong to group dialout on Debian and "
                                  "Ubuntu and to group uucp on Arch."));
    } else {
        const QString serialGroup = !m_facts.groupExists(QStringLiteral("dialout"))
                && m_facts.groupExists(QStringLiteral("uucp"))
            ? QStringLiteral("uucp")
            : QStringLiteral("dialout");
        sentences.append(portName(m_attempt)
                         + Link::tr(" may not be opened by account %1, and its group gives "
                                    "no access either: ask the administrator for a udev "
                                    "rule that gives it group %2 and mode 0660.")
                               .arg(account.name, serialGroup));
    }
    sentences.append(ownershipSentence(*node, account));
    return {PortProblem::NoPermission, sentences};
}

PortDiagnosis Diagnosis::busy(const QList<Holder> &holders) const
{
    if (holders.isEmpty()) {
        const QList<int> modemManagers = m_facts.processesNamed(ModemManager);
        if (!modemManagers.isEmpty())
            return modemManager(modemManagers.first(), false);
        return {PortProblem::Busy,
                {portName(m_attempt)
                     + Link::tr(" is in use by another program: close it or choose another "
                                "port."),
                 Link::tr("That program could not be named, it may run under another "
                          "account: sudo fuser -v %1 names it.")
                     .arg(m_attempt.path)}};
    }
    const Holder &holder = holders.first();
    if (holder.name == ModemManager)
        return modemManager(holder.pid, true);
    QString cause;
    if (holder.name == OwnPrograms.first())
        cause = Link::tr(" is in use by another copy of this program (%1, process %2): "
                         "close it or choose another port.");
    else if (OwnPrograms.contains(holder.name))
        cause = Link::tr(" is in use by %1 (process %2): wait for it to finish or stop it.");
    else
        cause = Link::tr(" is in use by %1 (process %2): close that program or choose "
                         "another port.");
    const QString how = holder.lockFile.isEmpty()
        ? Link::tr("Process %1 has the device open.").arg(holder.pid)
        : Link::tr("Process %1 holds the lock file %2.").arg(holder.pid).arg(holder.lockFile);
    return {PortProblem::Busy, {portName(m_attempt) + cause.arg(holder.name).arg(holder.pid), how}};
}

PortDiagnosis Diagnosis::modemManager(int pid, bool certain) const
{
    const QString holder = certain ? Link::tr(" is held by ModemManager (process %1)")
                                   : Link::tr(" is in use, most likely by ModemManager "
                                              "(process %1)");
    QStringList sentences{
        portName(m_attempt) + holder.arg(pid)
        + Link::tr(", which probes serial adapters for modems: tell it to leave this "
                   "adapter alone with a udev rule, then plug the adapter in again.")};
    if (const std::optional<UsbAdapter> adapter = m_facts.usbAdapterOf(m_attempt.path)) {
        sentences.append(Link::tr("The rule, as one line in "
                                  "/etc/udev/rules.d/99-veltra-modemmanager.rules: "
                                  "ATTRS{idVendor}==\"%1\", ATTRS{idProduct}==\"%2\", "
                                  "ENV{ID_MM_DEVICE_IGNORE}=\"1\"")
                             .arg(adapter->vendorId, adapter->productId));
        sentences.append(Link::tr("Load it with sudo udevadm control --reload-rules."));
    } else {
        sentences.append(Link::tr("The rule sets ENV{ID_MM_DEVICE_IGNORE}=\"1\" for the "
                                  "adapter; without a modem, sudo systemctl disable --now "
                                  "ModemManager stops it altogether."));
    }
    return {PortProblem::Busy, sentences};
}

PortDiagnosis Diagnosis::other() const
{
    const int error = m_attempt.error;
    const QString reported = error != 0
        ? Link::tr("the system reports \"%1\" (%2)")
              .arg(QString::fromLocal8Bit(::strerror(error)), errorName(error))
        : Link::tr("the serial port reports \"%1\"").arg(m_attempt.errorText);
    return {PortProblem::Other,
            {portName(m_attempt) + Link::tr(" cannot be opened: ") + reported
                 + Link::tr("; check the adapter and its driver, or choose another port."),
             Link::tr("Line settings asked for: %1 (baud rate, parity, data bits, stop "
                      "bits).")
                 .arg(m_attempt.settings)}};
}

bool mayOpen(const DeviceNode &node, const Account &account)
{
    if (account.uid == 0)
        return true;
    const uint bits = node.uid == account.uid ? node.mode >> 6
        : account.gids.contains(node.gid)     ? node.mode >> 3
                                              : node.mode;
    return (bits & 6) == 6;
}

} // namespace

PortDiagnoser::PortDiagnoser(QString root) : m_root(std::move(root))
{ }

PortDiagnosis PortDiagnoser::diagnose(const OpenAttempt &attempt) const
{
    const SystemFacts facts(m_root);
    return Diagnosis(facts, attempt).run();
}

QString PortDiagnoser::condition(const QString &path) const
{
    const SystemFacts facts(m_root);
    const std::optional<DeviceNode> node = facts.node(path);
    if (!node)
        return Link::tr("Absent: the device is not there.");
    const Account account = facts.account();
    if (!mayOpen(*node, account))
        return Link::tr("Not accessible: account %1 may not open it (owner %2, group %3, "
                        "mode %4).")
            .arg(account.name, facts.userName(node->uid), facts.groupName(node->gid),
                 permissionText(node->mode));
    const QList<Holder> holders = facts.holders(path);
    if (!holders.isEmpty())
        return Link::tr("Busy: in use by %1 (process %2).")
            .arg(holders.first().name)
            .arg(holders.first().pid);
    return {};
}

int PortDiagnoser::openError(const QString &path)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    ::close(fd);
    return 0;
}
