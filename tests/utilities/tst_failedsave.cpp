// A save that fails half-way (a file-size limit, a full disk) leaves the old file exactly as it
// was: the settings file, the password file and the virtual instrument's state file. Each save
// runs in a process of its own, so the limit hits that process alone.

#include "filebytes.h"
#include "link.h"
#include "qtserialcontrol.h"
#include "siminstrument.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

enum class Target { Settings, Password, SimState };
enum class Limit { FileSize, FullDisk };

const QByteArray OldSettings = "[Ports]\r\nCOM3=/dev/ttyUSB0\r\n[Appl]\r\nComPort=3\r\n"
                               "ConnectViaBluetooth=0;3;5\r\nValidMonthOfCalib=abc\r\n";
// 'abc' in slot 0, the empty password in slot 1, then "0".
const QByteArray OldPassword =
    QByteArray::fromHex("5500 5500 5500 F1FF 1000 0F00 0E00 0D00 0C00 0B00 0A00 0900 0800 0700 "
                        "0600 0500 0400 0300 0200 0100"
                        "F4FF 1300 1200 1100 1000 0F00 0E00 0D00 0C00 0B00 0A00 0900 0800 0700 "
                        "0600 0500 0400 0300 0200 0100"
                        "30");
const QByteArray OldState = "240115 250115\n";

// Smaller than every new file, so each save is cut after its first bytes.
constexpr rlimit SmallFileSize{8, 8};

// Runs in the child between fork and exec. Without SIGXFSZ ignored the limit would kill the child
// instead of failing its write with EFBIG.
void limitFileSize()
{
    ::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &SmallFileSize);
}

// A small tmpfs on a folder of its own, filled to its last byte after the old file was put in.
class FullDisk
{
public:
    ~FullDisk()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    // Empty when mounted; otherwise why not.
    QString mount()
    {
        if (::geteuid() != 0)
            return QStringLiteral("a file system can only be mounted as root");
        if (::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, "size=64k")
            != 0)
            return QStringLiteral("mounting a tmpfs is not permitted here: %1")
                .arg(QString::fromLocal8Bit(std::strerror(errno)));
        m_mounted = true;
        return {};
    }
    QString path() const { return m_dir.path(); }
    bool fill() const
    {
        QFile filler(m_dir.filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray block(512, 'x');
        while (filler.write(block) == block.size()) { }
        const QByteArray byte(1, 'x');
        while (filler.write(byte) == 1) { }
        return true;
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

bool put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QList<SystemPort> noSystemPorts()
{
    return {};
}

} // namespace

Q_DECLARE_METATYPE(Target)
Q_DECLARE_METATYPE(Limit)

class FailedSave : public QObject
{
    Q_OBJECT
private slots:
    void oldFileStaysAsItWas_data();
    void oldFileStaysAsItWas();
};

void FailedSave::oldFileStaysAsItWas_data()
{
    QTest::addColumn<Target>("target");
    QTest::addColumn<Limit>("limit");
    QTest::newRow("settings file under a file-size limit") << Target::Settings << Limit::FileSize;
    QTest::newRow("settings file on a full disk") << Target::Settings << Limit::FullDisk;
    QTest::newRow("password file under a file-size limit") << Target::Password << Limit::FileSize;
    QTest::newRow("password file on a full disk") << Target::Password << Limit::FullDisk;
    QTest::newRow("simulator state under a file-size limit") << Target::SimState << Limit::FileSize;
    QTest::newRow("simulator state on a full disk") << Target::SimState << Limit::FullDisk;
}

void FailedSave::oldFileStaysAsItWas()
{
    QFETCH(Target, target);
    QFETCH(Limit, limit);
    QTemporaryDir scratch;
    FullDisk disk;
    QString folder = scratch.path();
    if (limit == Limit::FullDisk) {
        const QString why = disk.mount();
        if (!why.isEmpty())
            QSKIP(qPrintable(why));
        folder = disk.path();
    }
    const QMap<Target, QPair<QString, QByteArray>> files{
        {Target::Settings, {QStringLiteral("VeltraSetCheckDate.ini"), OldSettings}},
        {Target::Password, {QStringLiteral("VeltraSetCalibDate.psw"), OldPassword}},
        {Target::SimState, {QStringLiteral("sim-state"), OldState}}};
    const QString path = QDir(folder).filePath(files[target].first);
    const QByteArray old = files[target].second;
    QVERIFY(put(path, old));
    if (limit == Limit::FullDisk)
        QVERIFY(disk.fill());

    if (target == Target::SimState) {
        SimInstrument sim;
        SKIP_WITHOUT_SIMULATOR();
        if (limit == Limit::FileSize)
            sim.setChildSetup(limitFileSize);
        QVERIFY2(sim.start({QStringLiteral("--state"), path}), qPrintable(sim.errorText()));
        // The port goes into a settings file of its own, out of the way of the limit.
        QTemporaryDir portsFolder;
        const QString ports = portsFolder.filePath(QStringLiteral("ports.ini"));
        QVERIFY(put(ports, "[Ports]\nCOM1=" + sim.devicePath().toLocal8Bit() + '\n'));
        QtSerialControl comm(&noSystemPorts, ports);
        Link link(comm);
        QCOMPARE(link.OpenComPort(1, 0), qint16(0));
        // The instrument takes the dates (and answers) whatever became of its state file.
        QCOMPARE(link.DoTransfer(QStringLiteral("WW240301 250301"), 1), qint16(1));
        link.closeComPort();
    } else {
        QProcess child;
        if (limit == Limit::FileSize)
            child.setChildProcessModifier(limitFileSize);
        const QString program =
            QCoreApplication::applicationDirPath() + QStringLiteral("/store-child");
        if (target == Target::Settings)
            child.start(program,
                        {QStringLiteral("write-setting"), path, QStringLiteral("ValidMonthOfCalib"),
                         QStringLiteral("12")});
        else
            child.start(program, {QStringLiteral("write-password"), folder, QStringLiteral("new")});
        QVERIFY(child.waitForFinished(10000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        // Settings fail quietly; the password says so.
        QCOMPARE(child.exitCode(), 1);
        const QByteArray output = child.readAllStandardOutput();
        QCOMPARE(output.startsWith("Cannot save password!\n"), target == Target::Password);
    }
    QCOMPARE(fileBytes(path, "(unreadable)"), old);
    // No temporary file is left beside it either.
    QStringList left = QDir(folder).entryList(QDir::Files);
    left.removeAll(QStringLiteral("filler"));
    QCOMPARE(left, QStringList{files[target].first});
}

QTEST_GUILESS_MAIN(FailedSave)
#include "tst_failedsave.moc"
