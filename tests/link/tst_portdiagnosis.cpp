// Why a port does not open, for situations built under a fake root folder: devices, accounts and
// groups, lock files, open descriptors of other processes, USB adapters in /sys and brltty.

#include "portdiagnosis.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A system in a folder. This process is pid 100, account alice (uid 4242) with the groups alice
// and plugdev. The files made here belong to whoever runs the test; the fake user and group
// databases call that owner root and that group dialout.
class FakeRoot
{
public:
    QTemporaryDir dir;

    FakeRoot()
    {
        write("/proc/self/status",
              "Name:\ttst\nPid:\t100\nUid:\t4242\t4242\t4242\t4242\n"
              "Gid:\t4242\t4242\t4242\t4242\nGroups:\t46 \n");
        write("/proc/100/cmdline", QByteArray("tst_portdiagnosis\0", 18));
        write("/etc/passwd",
              QStringLiteral("root:x:%1:%2:root:/root:/bin/sh\n"
                             "alice:x:4242:4242::/home/alice:/bin/sh\n")
                  .arg(::getuid())
                  .arg(::getgid())
                  .toUtf8());
        setDialoutMembers("");
    }

    void write(const QString &path, const QByteArray &content)
    {
        QDir().mkpath(dir.path() + path.section(u'/', 0, -2));
        QFile file(dir.path() + path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    void link(const QString &path, const QString &target)
    {
        QDir().mkpath(dir.path() + path.section(u'/', 0, -2));
        QVERIFY(QFile::link(target, dir.path() + path));
    }
    void device(const QString &path, uint mode = 0660)
    {
        write(path, {});
        QCOMPARE(::chmod(QFile::encodeName(dir.path() + path).constData(), mode), 0);
    }
    void process(int pid, const QByteArray &command)
    {
        write(QStringLiteral("/proc/%1/cmdline").arg(pid), command + '\0');
    }
    void setDialoutMembers(const QByteArray &members)
    {
        write("/etc/group",
              "dialout:x:" + QByteArray::number(::getgid()) + ":" + members
                  + "\nplugdev:x:46:alice\nalice:x:4242:\n");
    }
    // A USB adapter with its ids; with a tty, the serial device below it.
    void usbAdapter(const QString &name, const QByteArray &vendor, const QByteArray &product,
                    const QString &tty = QString())
    {
        const QString folder = "/sys/devices/pci0000:00/usb1/" + name;
        write(folder + "/idVendor", vendor + '\n');
        write(folder + "/idProduct", product + '\n');
        write(folder + "/product", "USB Serial\n");
        write(folder + "/" + name + ":1.0/bInterfaceNumber", "00\n");
        link("/sys/bus/usb/devices/" + name, "../../../devices/pci0000:00/usb1/" + name);
        if (!tty.isEmpty()) {
            write(folder + "/" + name + ":1.0/" + tty + "/tty/" + tty + "/dev", "188:0\n");
            link("/sys/class/tty/" + tty + "/device",
                 "../../../devices/pci0000:00/usb1/" + name + "/" + name + ":1.0/" + tty);
        }
    }
};

using Setup = void (*)(FakeRoot &);

const QString UsbPath = QStringLiteral("/dev/ttyUSB0");
const QString ByIdPath =
    QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A9X3-if00-port0");
const QString PresentNow =
    QStringLiteral("Serial ports present now: com port 1 (/dev/ttyS0), com port 4 (/dev/ttyACM0).");
const QString Ownership = QStringLiteral(
    "The device /dev/ttyUSB0 belongs to owner root and group dialout with mode %1; this program "
    "runs as account alice (uid 4242) with the groups alice, plugdev.");

QStringList brlttySentences(const QString &adapter)
{
    return {QStringLiteral("brltty, the service for braille displays, took the USB adapter %1 (USB "
                           "Serial) as soon as it was plugged in, so com port 3 (/dev/ttyUSB0) has "
                           "gone: if no braille display is used here, remove the brltty package "
                           "(sudo apt remove brltty) and plug the adapter in again.")
                .arg(adapter),
            QStringLiteral("To keep brltty, stop it from taking serial adapters instead: sudo "
                           "systemctl mask brltty-udev.service, then plug the adapter in again.")};
}

} // namespace

Q_DECLARE_METATYPE(Setup)

class TestPortDiagnosis : public QObject
{
    Q_OBJECT
private slots:
    void diagnose_data();
    void diagnose();
    void condition_data();
    void condition();
};

void TestPortDiagnosis::diagnose_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("error");
    QTest::addColumn<PortProblem>("problem");
    QTest::addColumn<QStringList>("sentences");

    QTest::newRow("a number that names no device lists the ports present")
        << Setup([](FakeRoot &) {}) << QString() << 0 << PortProblem::Absent
        << QStringList{"Com port 3 names no device: choose a port that is present.", PresentNow};
    QTest::newRow("an unplugged adapter")
        << Setup([](FakeRoot &) {}) << UsbPath << ENOENT << PortProblem::Absent
        << QStringList{
               "Com port 3 (/dev/ttyUSB0) does not exist: the adapter seems unplugged; plug "
               "it in or choose a port that is present.",
               PresentNow};
    QTest::newRow("an unplugged adapter named by its id")
        << Setup([](FakeRoot &) {}) << ByIdPath << ENOENT << PortProblem::Absent
        << QStringList{"The adapter usb-FTDI_FT232R_USB_UART_A9X3-if00-port0 of com port 3 is not "
                       "plugged in: plug it in or choose a port that is present.",
                       PresentNow};
    QTest::newRow("an unbound Bluetooth port")
        << Setup([](FakeRoot &) {}) << QStringLiteral("/dev/rfcomm0") << ENOENT
        << PortProblem::Absent
        << QStringList{"The Bluetooth port /dev/rfcomm0 of com port 3 is not bound: pair the "
                       "instrument and bind it (sudo rfcomm bind 0 followed by the instrument's "
                       "Bluetooth address).",
                       PresentNow};

    QTest::newRow("no permission outside the device's group")
        << Setup([](FakeRoot &root) { root.device(UsbPath); }) << UsbPath << EACCES
        << PortProblem::NoPermission
        << QStringList{
               "Com port 3 (/dev/ttyUSB0) may not be opened by account alice: join group "
               "dialout (sudo usermod -aG dialout alice), then log out and in again.",
               "Serial ports belong to group dialout on Debian and Ubuntu and to group uucp "
               "on Arch.",
               Ownership.arg("0660 (rw-rw----)")};
    QTest::newRow("a member in the group database whose process lacks the group")
        << Setup([](FakeRoot &root) {
               root.device(UsbPath);
               root.setDialoutMembers("bob,alice");
           })
        << UsbPath << EACCES << PortProblem::NoPermission
        << QStringList{
               "Com port 3 (/dev/ttyUSB0) may not be opened yet: account alice is in group "
               "dialout, but this program runs without it; log out and in again (or reboot) "
               "for the group to take effect.",
               Ownership.arg("0660 (rw-rw----)")};
    QTest::newRow("a device whose group gives no access")
        << Setup([](FakeRoot &root) { root.device(UsbPath, 0600); }) << UsbPath << EACCES
        << PortProblem::NoPermission
        << QStringList{
               "Com port 3 (/dev/ttyUSB0) may not be opened by account alice, and its group "
               "gives no access either: ask the administrator for a udev rule that gives it "
               "group dialout and mode 0660.",
               Ownership.arg("0600 (rw-------)")};

    QTest::newRow("a lock file of a live process")
        << Setup([](FakeRoot &root) {
               root.device(UsbPath);
               root.write("/run/lock/LCK..ttyUSB0", "      4321\n");
               root.process(4321, "minicom");
           })
        << UsbPath << 0 << PortProblem::Busy
        << QStringList{"Com port 3 (/dev/ttyUSB0) is in use by minicom (process 4321): close that "
                       "program or choose another port.",
                       "Process 4321 holds the lock file /run/lock/LCK..ttyUSB0."};
    QTest::newRow("an open descriptor of the device behind an id link")
        << Setup([](FakeRoot &root) {
               root.device(UsbPath);
               root.link(ByIdPath, "../../ttyUSB0");
               root.process(4400, "/usr/bin/cu");
               root.link("/proc/4400/fd/3", UsbPath);
           })
        << ByIdPath << EBUSY << PortProblem::Busy
        << QStringList{"Com port 3 (" + ByIdPath
                           + ") is in use by cu (process 4400): close that "
                             "program or choose another port.",
                       "Process 4400 has the device open."};
    QTest::newRow("ModemManager holds an adapter whose ids are in sysfs")
        << Setup([](FakeRoot &root) {
               root.device(UsbPath);
               root.usbAdapter("1-2", "0403", "6001", "ttyUSB0");
               root.process(812, "/usr/sbin/ModemManager");
               root.link("/proc/812/fd/12", UsbPath);
           })
        << UsbPath << EBUSY << PortProblem::Busy
        << QStringList{
               "Com port 3 (/dev/ttyUSB0) is held by ModemManager (process 812), which "
               "probes serial adapters for modems: tell it to leave this adapter alone with "
               "a udev rule, then plug the adapter in again.",
               "The rule, as one line in /etc/udev/rules.d/99-veltra-modemmanager.rules: "
               "ATTRS{idVendor}==\"0403\", ATTRS{idProduct}==\"6001\", "
               "ENV{ID_MM_DEVICE_IGNORE}=\"1\"",
               "Load it with sudo udevadm control --reload-rules."};
    QTest::newRow("in use by no visible process while ModemManager runs")
        << Setup([](FakeRoot &root) {
               root.device(UsbPath);
               root.process(812, "/usr/sbin/ModemManager");
           })
        << UsbPath << EBUSY << PortProblem::Busy
        << QStringList{"Com port 3 (/dev/ttyUSB0) is in use, most likely by ModemManager (process "
                       "812), which probes serial adapters for modems: tell it to leave this "
                       "adapter alone with a udev rule, then plug the adapter in again.",
                       "The rule sets ENV{ID_MM_DEVICE_IGNORE}=\"1\" for the adapter; without a "
                       "modem, sudo systemctl disable --now ModemManager stops it altogether."};
    QTest::newRow("in use by a process of another account")
        << Setup([](FakeRoot &root) { root.device(UsbPath); }) << UsbPath << EBUSY
        << PortProblem::Busy
        << QStringList{"Com port 3 (/dev/ttyUSB0) is in use by another program: close it or choose "
                       "another port.",
                       "That program could not be named, it may run under another account: sudo "
                       "fuser -v /dev/ttyUSB0 names it."};
    QTest::newRow("another copy of this program")
        << Setup([](FakeRoot &root) {
               root.device(UsbPath);
               root.write("/var/lock/LCK..ttyUSB0", "5000\nVeltraSetCalibDate\nbench\n");
               root.process(5000, "/opt/veltra/veltra-setcalibdate");
           })
        << UsbPath << 0 << PortProblem::Busy
        << QStringList{"Com port 3 (/dev/ttyUSB0) is in use by another copy of this program "
                       "(veltra-setcalibdate, process 5000): close it or choose another port.",
                       "Process 5000 holds the lock file /var/lock/LCK..ttyUSB0."};
    QTest::newRow("the command-line tool")
        << Setup([](FakeRoot &root) {
               root.device(UsbPath);
               root.process(5100, "veltra-calib");
               root.link("/proc/5100/fd/4", UsbPath);
           })
        << UsbPath << EBUSY << PortProblem::Busy
        << QStringList{"Com port 3 (/dev/ttyUSB0) is in use by veltra-calib (process 5100): wait "
                       "for it to finish or stop it.",
                       "Process 5100 has the device open."};

    QTest::newRow("brltty took a CH340 adapter") << Setup([](FakeRoot &root) {
        root.usbAdapter("1-3", "1a86", "7523");
        root.process(700, "/usr/bin/brltty");
    }) << UsbPath << ENOENT << PortProblem::Brltty
                                                 << brlttySentences(QStringLiteral("1a86:7523"));
    QTest::newRow("brltty's rules claim an FTDI adapter") << Setup([](FakeRoot &root) {
        root.usbAdapter("1-4", "0403", "6001");
        root.write("/lib/udev/rules.d/85-brltty.rules",
                   "ENV{PRODUCT}==\"403/6001/*\", ENV{BRLTTY_BRAILLE_DRIVER}=\"sk\", "
                   "GOTO=\"brltty_usb_run\"\n");
    }) << UsbPath << ENOENT << PortProblem::Brltty << brlttySentences(QStringLiteral("0403:6001"));
    QTest::newRow("a CH340 that keeps its serial device is not brltty's")
        << Setup([](FakeRoot &root) {
               root.usbAdapter("1-3", "1a86", "7523", "ttyUSB1");
               root.process(700, "/usr/bin/brltty");
           })
        << UsbPath << ENOENT << PortProblem::Absent
        << QStringList{
               "Com port 3 (/dev/ttyUSB0) does not exist: the adapter seems unplugged; plug "
               "it in or choose a port that is present.",
               PresentNow};

    QTest::newRow("an unknown errno, with the lock file of a process that has gone")
        << Setup([](FakeRoot &root) {
               root.device(UsbPath);
               root.write("/run/lock/LCK..ttyUSB0", "      9999\n");
           })
        << UsbPath << EIO << PortProblem::Other
        << QStringList{
               "Com port 3 (/dev/ttyUSB0) cannot be opened: the system reports \"Input/output "
               "error\" (EIO); check the adapter and its driver, or choose another port.",
               "Line settings asked for: 9600,e,7,2 (baud rate, parity, data bits, stop "
               "bits)."};
}

void TestPortDiagnosis::diagnose()
{
    QFETCH(Setup, setup);
    QFETCH(QString, path);
    QFETCH(int, error);
    QFETCH(PortProblem, problem);
    QFETCH(QStringList, sentences);

    FakeRoot root;
    setup(root);
    OpenAttempt attempt;
    attempt.portNo = 3;
    attempt.path = path;
    attempt.error = error;
    attempt.errorText = QStringLiteral("Permission error while locking the device");
    attempt.settings = QStringLiteral("9600,e,7,2");
    attempt.presentPorts = {{1, "/dev/ttyS0"}, {4, "/dev/ttyACM0"}};

    const PortDiagnosis diagnosis = PortDiagnoser(root.dir.path()).diagnose(attempt);
    QCOMPARE(diagnosis.sentences, sentences);
    QCOMPARE(diagnosis.problem, problem);
    QCOMPARE(diagnosis.text(), sentences.join(u'\n'));
}

void TestPortDiagnosis::condition_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QString>("condition");

    QTest::newRow("an accessible idle device has nothing to say") << Setup([](FakeRoot &root) {
        root.device(UsbPath);
        root.setDialoutMembers("alice");
        root.write("/proc/self/status",
                   "Pid:\t100\nUid:\t4242\t4242\t4242\t4242\n"
                   "Gid:\t4242\t4242\t4242\t4242\nGroups:\t46 "
                       + QByteArray::number(::getgid()) + "\n");
    }) << QString();
    QTest::newRow("a device that has gone is absent")
        << Setup([](FakeRoot &) {}) << QStringLiteral("Absent: the device is not there.");
    QTest::newRow("a device outside the account's groups is not accessible")
        << Setup([](FakeRoot &root) { root.device(UsbPath); })
        << QStringLiteral("Not accessible: account alice may not open it (owner root, group "
                          "dialout, mode rw-rw----).");
    QTest::newRow("a device open in another process is busy") << Setup([](FakeRoot &root) {
        root.device(UsbPath, 0666);
        root.process(4321, "minicom");
        root.link("/proc/4321/fd/3", UsbPath);
    }) << QStringLiteral("Busy: in use by minicom (process 4321).");
}

void TestPortDiagnosis::condition()
{
    QFETCH(Setup, setup);
    QFETCH(QString, condition);

    FakeRoot root;
    setup(root);
    QCOMPARE(PortDiagnoser(root.dir.path()).condition(UsbPath), condition);
}

QTEST_GUILESS_MAIN(TestPortDiagnosis)
#include "tst_portdiagnosis.moc"
