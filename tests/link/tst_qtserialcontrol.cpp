// The serial control on a real pseudo-terminal: opening by number, traffic, parity marking,
// listing, and the device going away.

#include "inifile.h"
#include "linesettings.h"
#include "qtserialcontrol.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

class TestQtSerialControl : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_ini;
    int m_master = -1;
    QString m_slave;

    QByteArray readMaster(int expected)
    {
        QByteArray bytes;
        while (bytes.size() < expected) {
            pollfd fd{m_master, POLLIN, 0};
            if (::poll(&fd, 1, 2000) <= 0)
                break;
            char buffer[256];
            const ssize_t got = ::read(m_master, buffer, sizeof buffer);
            if (got <= 0)
                break;
            bytes.append(buffer, got);
        }
        return bytes;
    }
    void writeMaster(const QByteArray &bytes)
    {
        QCOMPARE(::write(m_master, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
    }

private slots:
    void lineSettings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("baudRate");
        QTest::addColumn<int>("parity");
        QTest::addColumn<int>("dataBits");
        QTest::addColumn<int>("stopBits");
        QTest::newRow("standard profile")
            << "9600,e,7,2" << true << 9600 << int(QSerialPort::EvenParity) << 7
            << int(QSerialPort::TwoStop);
        QTest::newRow("fast profile")
            << "115200,n,8,1" << true << 115200 << int(QSerialPort::NoParity) << 8
            << int(QSerialPort::OneStop);
        QTest::newRow("upper case and spaces")
            << " 4800 , O , 8 , 1.5 " << true << 4800 << int(QSerialPort::OddParity) << 8
            << int(QSerialPort::OneAndHalfStop);
        QTest::newRow("unknown parity") << "9600,x,7,2" << false << 0 << 0 << 0 << 0;
        QTest::newRow("nine data bits") << "9600,n,9,1" << false << 0 << 0 << 0 << 0;
        QTest::newRow("missing field") << "9600,n,8" << false << 0 << 0 << 0 << 0;
        QTest::newRow("zero baud") << "0,n,8,1" << false << 0 << 0 << 0 << 0;
        QTest::newRow("empty") << "" << false << 0 << 0 << 0 << 0;
    }
    void lineSettings()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        const std::optional<LineSettings> line = parseLineSettings(text);
        QCOMPARE(line.has_value(), valid);
        if (!line)
            return;
        QTEST(int(line->baudRate), "baudRate");
        QTEST(int(line->parity), "parity");
        QTEST(int(line->dataBits), "dataBits");
        QTEST(int(line->stopBits), "stopBits");
    }

    void init()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(m_master >= 0);
        QVERIFY(::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0);
        m_slave = QString::fromLocal8Bit(::ptsname(m_master));
        m_ini = m_dir.filePath("VeltraSetCheckDate.ini");
        QFile::remove(m_ini);
        QVERIFY(IniFile::writeString(m_ini, "Ports", "COM7", m_slave));
    }
    void cleanup()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

    void listsOnlyMappedPresentPorts()
    {
        QVERIFY(IniFile::writeString(m_ini, "Ports", "COM2", "/dev/veltra-absent-adapter"));
        QtSerialControl control([] { return QList<SystemPort>(); }, m_ini);
        QVERIFY(control.isPresent(7));
        QVERIFY(!control.isPresent(2));
        QVERIFY(!control.isPresent(8));
        QVERIFY(!control.isPresent(0));
        QVERIFY(!control.isPresent(256));
        QCOMPARE(control.presentPorts(), QList<int>{7});
        QCOMPARE(control.portDescription(7), m_slave);
    }

    void opensByNumberAndTalks_data()
    {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QByteArray>("fromInstrument");
        QTest::addColumn<QByteArray>("received");
        // The pseudo-terminal applies the receive flags: with parity marking on, a 0xFF comes
        // doubled and must be read back as one.
        QTest::newRow("standard profile: a 0xFF doubled by the parity marking reads as one")
            << "9600,e,7,2" << QByteArray("#A\xFF\r\n") << QByteArray("#A\xFF\r\n");
        QTest::newRow("fast profile without parity")
            << "115200,n,8,1" << QByteArray("#A\xFF\r\n") << QByteArray("#A\xFF\r\n");
    }
    void opensByNumberAndTalks()
    {
        QFETCH(QString, settings);
        QFETCH(QByteArray, fromInstrument);
        QtSerialControl control([] { return QList<SystemPort>(); }, m_ini);
        control.setSettings(settings);
        control.setCommPort(7);
        control.setOpenState(true);
        QVERIFY(control.openState());
        QVERIFY(!control.hasError());

        control.outText("@");
        QTRY_COMPARE_WITH_TIMEOUT(control.outCount(), 0, 2000);
        QCOMPARE(readMaster(1), QByteArray("@"));

        writeMaster(fromInstrument);
        QByteArray received;
        QTRY_VERIFY_WITH_TIMEOUT((received += control.inText()).size() >= 5, 2000);
        QTEST(received, "received");

        writeMaster(">");
        QVERIFY(control.waitForInput(2000));
        QCOMPARE(control.inCount(), 1);
        control.clearInput();
        QCOMPARE(control.inCount(), 0);
        QVERIFY(!control.hasError());

        control.setOpenState(false);
        QVERIFY(!control.openState());
    }

    void settingsLeftByAnotherClientDoNotStopTheOpening()
    {
        // A client killed with the port open leaves its line settings behind.
        const int fd = ::open(m_slave.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        QVERIFY(fd >= 0);
        termios tio{};
        QCOMPARE(::tcgetattr(fd, &tio), 0);
        tio.c_cflag |= CSTOPB | PARENB;
        tio.c_iflag |= PARMRK | INPCK | IXON;
        QCOMPARE(::tcsetattr(fd, TCSANOW, &tio), 0);
        ::close(fd);

        QtSerialControl control([] { return QList<SystemPort>(); }, m_ini);
        for (const QString &settings : QStringList{"9600,e,7,2", "115200,n,8,1"}) {
            control.setSettings(settings);
            control.setCommPort(7);
            control.setOpenState(true);
            QVERIFY2(control.openState(), qPrintable(settings));
            control.setOpenState(false);
        }
        QVERIFY(!control.hasError());
    }

    void unmappedNumberFailsToOpen()
    {
        QtSerialControl control([] { return QList<SystemPort>(); }, m_ini);
        control.setCommPort(8);
        control.setOpenState(true);
        QVERIFY(!control.openState());
        QVERIFY(control.hasError());
        control.clearError();
        QVERIFY(!control.hasError());
    }

    void badSettingsAreAnError()
    {
        QtSerialControl control([] { return QList<SystemPort>(); }, m_ini);
        control.setSettings("9600,x,7,2");
        QVERIFY(control.hasError());
        QCOMPARE(control.settings(), "9600,e,7,2");
    }

    void deviceGoingAwayClosesThePort_data()
    {
        QTest::addColumn<bool>("blockingWait");
        QTest::newRow("noticed by the event loop") << false;
        QTest::newRow("noticed during the blocking wait") << true;
    }

    void deviceGoingAwayClosesThePort()
    {
        QFETCH(bool, blockingWait);
        QtSerialControl control([] { return QList<SystemPort>(); }, m_ini);
        control.setCommPort(7);
        control.setOpenState(true);
        QVERIFY(control.openState());
        ::close(m_master);
        m_master = -1;
        if (blockingWait)
            QVERIFY(!control.waitForInput(1000));
        else
            QTRY_VERIFY_WITH_TIMEOUT(!control.openState(), 2000);
        QVERIFY(!control.openState());
        QVERIFY(control.hasError());
        QVERIFY(!control.waitForInput(10));
        control.outText("@");
        QCOMPARE(control.outCount(), 0);
        QCOMPARE(control.inCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestQtSerialControl)
#include "tst_qtserialcontrol.moc"
