// Port numbers and devices: the "Ports" section of the settings file.

#include "inifile.h"
#include "portmap.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

class TestPortMap : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_ini;
    QString m_byId;
    QList<SystemPort> m_system;

    QString device(const QString &name) const
    {
        return m_dir.filePath(QStringLiteral("dev/") + name);
    }
    void makeDevice(const QString &name)
    {
        QFile file(device(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QString entry(int portNo) const
    {
        return IniFile::readString(m_ini, "Ports", QStringLiteral("COM%1").arg(portNo), "");
    }
    PortMap makeMap()
    {
        return PortMap([this] { return m_system; }, m_byId);
    }
    static ino_t inode(const QString &path)
    {
        struct stat info
        { };
        ::stat(QFile::encodeName(path).constData(), &info);
        return info.st_ino;
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).removeRecursively();
        QVERIFY(QDir().mkpath(m_dir.filePath("dev/by-id")));
        m_byId = m_dir.filePath("dev/by-id");
        m_ini = m_dir.filePath("VeltraSetCheckDate.ini");
        for (const char *name : {"ttyS0", "ttyUSB0", "ttyUSB1"})
            makeDevice(name);
        QVERIFY(QFile::link(device("ttyUSB0"), m_byId + "/usb-FTDI_FT232R_A1-if00-port0"));
        QVERIFY(IniFile::writeString(m_ini, "Appl", "ComPort", "3"));
        QVERIFY(IniFile::writeString(m_ini, "Ports", "COM1", "/dev/veltra-absent-adapter"));
        QVERIFY(IniFile::writeString(m_ini, "Ports", "COM3", device("ttyS0")));
        m_system = {{device("ttyS0"), "", "", ""},
                    {device("ttyUSB1"), "USB-Serial Controller", "Prolific", ""},
                    {device("ttyUSB0"), "FT232R USB UART", "FTDI", "A1"}};
    }

    void newDevicesGetTheLowestFreeNumbers()
    {
        PortMap map = makeMap();
        map.update(m_ini);
        QCOMPARE(entry(1), "/dev/veltra-absent-adapter");
        QCOMPARE(entry(2), device("ttyUSB1"));
        QCOMPARE(entry(3), device("ttyS0"));
        QCOMPARE(entry(4), m_byId + "/usb-FTDI_FT232R_A1-if00-port0");
        QCOMPARE(entry(5), "");
        QCOMPARE(IniFile::readString(m_ini, "Appl", "ComPort", ""), "3");
        QCOMPARE(map.presentPorts(), (QList<int>{2, 3, 4}));
        QVERIFY(!map.isPresent(1));
        QCOMPARE(map.devicePath(1), "/dev/veltra-absent-adapter");
        QCOMPARE(map.description(4),
                 m_byId + "/usb-FTDI_FT232R_A1-if00-port0 (FT232R USB UART, FTDI, A1)");
        QCOMPARE(map.description(3), device("ttyS0"));
        QCOMPARE(map.description(5), "");
    }

    void numbersStayBetweenRunsAndUnchangedFileIsNotWritten()
    {
        makeMap().update(m_ini);
        const QByteArray before = [this] {
            QFile f(m_ini);
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        const ino_t fileBefore = inode(m_ini);
        // Next run: the adapter came back under another kernel name, its by-id link follows it.
        QFile::remove(m_byId + "/usb-FTDI_FT232R_A1-if00-port0");
        makeDevice("ttyUSB7");
        QVERIFY(QFile::link(device("ttyUSB7"), m_byId + "/usb-FTDI_FT232R_A1-if00-port0"));
        m_system = {{device("ttyS0"), "", "", ""},
                    {device("ttyUSB1"), "", "", ""},
                    {device("ttyUSB7"), "FT232R USB UART", "FTDI", "A1"}};
        PortMap map = makeMap();
        map.update(m_ini);
        QCOMPARE(inode(m_ini), fileBefore);
        QFile file(m_ini);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        QCOMPARE(map.presentPorts(), (QList<int>{2, 3, 4}));
    }

    void entriesWrittenByOthersAreSeen()
    {
        PortMap map = makeMap();
        map.update(m_ini);
        makeDevice("pts7");
        QVERIFY(IniFile::writeString(m_ini, "Ports", "COM9", device("pts7")));
        map.reload(m_ini);
        QCOMPARE(map.devicePath(9), device("pts7"));
        QCOMPARE(map.presentPorts(), (QList<int>{2, 3, 4, 9}));
    }

    void removedDeviceIsNotListedButKeepsItsNumber()
    {
        PortMap map = makeMap();
        map.update(m_ini);
        QVERIFY(QFile::remove(device("ttyUSB1")));
        m_system.removeAt(1);
        map.update(m_ini);
        QCOMPARE(map.presentPorts(), (QList<int>{3, 4}));
        QCOMPARE(entry(2), device("ttyUSB1"));
        // A new device does not take the number of one that is away.
        makeDevice("ttyACM0");
        m_system.append({device("ttyACM0"), "", "", ""});
        map.update(m_ini);
        QCOMPARE(entry(5), device("ttyACM0"));
    }

    void byIdLinkTooLongForASettingIsNotUsed()
    {
        const QString longName = m_byId + "/usb-" + QString(80, 'x') + "-if00-port0";
        QVERIFY(QFile::link(device("ttyUSB1"), longName));
        makeMap().update(m_ini);
        QCOMPARE(entry(2), device("ttyUSB1"));
    }
};

QTEST_GUILESS_MAIN(TestPortMap)
#include "tst_portmap.moc"
