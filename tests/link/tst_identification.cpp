// Identification: model names, device types, firmware versions, and reading the instrument.

#include "fakeinstrument.h"
#include "link.h"
#include "scriptedserialcontrol.h"
#include "scriptedui.h"
#include "testclock.h"

#include <QTest>

class TestIdentification : public QObject
{
    Q_OBJECT
private slots:
    void deviceType_data()
    {
        QTest::addColumn<QString>("ident");
        QTest::addColumn<int>("type");
        QTest::newRow("BADGE") << "BADGE 1.0" << 1;
        QTest::newRow("K-40 MV before K-40") << "Veltra K-40 MV 1.0" << 15;
        QTest::newRow("K-40 MLV before K-40") << "Veltra K-40 MLV 1.0" << 16;
        QTest::newRow("K-40") << "Veltra K-40 1.0" << 4;
        QTest::newRow("K60 before K") << "Veltra K60 1.0" << 8;
        QTest::newRow("KX before K") << "Veltra KX 2.05" << 18;
        QTest::newRow("TMJ") << "Veltra TMJ 1.0" << 22;
        QTest::newRow("KF before K") << "Veltra KF 1.0" << 20;
        QTest::newRow("K") << "Veltra K 1.10" << 2;
        QTest::newRow("W") << "Veltra W 1.0" << 5;
        QTest::newRow("QST-XT before QST") << "Veltra QST-XT 1.0" << 9;
        QTest::newRow("QST-L before QST") << "Veltra QST-L 1.0" << 23;
        QTest::newRow("QST") << "Veltra QST 1.0" << 3;
        QTest::newRow("QY") << "Veltra QY 1.0" << 21;
        QTest::newRow("Z") << "Veltra Z 1.0" << 17;
        QTest::newRow("C70") << "Veltra C70 1.0" << 7;
        QTest::newRow("QA300 is type 12, never 24") << "Veltra QA300 1.0" << 12;
        QTest::newRow("NV") << "Veltra NV 1.0" << 19;
        QTest::newRow("Watchman is a K, never type 6") << "Watchman Veltra K 1.0" << 2;
        QTest::newRow("names match case-sensitively") << "veltra k 1.0" << 0;
        QTest::newRow("unknown model") << "Other 7.25" << 0;
        QTest::newRow("empty text") << "" << 0;
    }
    void deviceType()
    {
        QFETCH(QString, ident);
        QTEST(GetDeviceType(ident), "type");
    }

    void fwVersion_data()
    {
        QTest::addColumn<QString>("ident");
        QTest::addColumn<double>("version");
        QTest::newRow("cut after K skips the X") << "Veltra KX 2.05" << 2.05;
        QTest::newRow("old name mapped first") << "Veltra K V1.2" << 1.2;
        QTest::newRow("cut after QST skips the dash") << "Veltra QST-L 3.1" << 3.1;
        QTest::newRow("dotted version is one number") << "Veltra K-40 MV 1.6.05" << 1.605;
        QTest::newRow("surrounding spaces are trimmed") << "  Veltra K 1.10  " << 1.1;
        QTest::newRow("last word of an unknown model") << "Other thing 7.25" << 7.25;
        QTest::newRow("model name without version") << "Veltra K" << 1.0;
        QTest::newRow("one digit is too short") << "BADGE 7" << 1.0;
        QTest::newRow("whole number") << "Veltra Z 12" << 12.0;
    }
    void fwVersion()
    {
        QFETCH(QString, ident);
        QTEST(GetFwVersion(ident), "version");
    }

    void oldModelName_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("mapped");
        QTest::newRow("MX70B5 becomes Veltra K") << "MX70B5 1.10"
                                                 << "Veltra K 1.10";
        QTest::newRow("text before the old name is dropped") << "xx MX70B5 V1.2"
                                                             << "Veltra K V1.2";
        QTest::newRow("MX70QST becomes Veltra QST") << "MX70QST 2.0"
                                                    << "Veltra QST 2.0";
        QTest::newRow("current names stay") << "Veltra KX 2.05"
                                            << "Veltra KX 2.05";
        QTest::newRow("old names match case-sensitively") << "mx70b5 1.0"
                                                          << "mx70b5 1.0";
    }
    void oldModelName()
    {
        QFETCH(QString, text);
        QTEST(MapOldModelName(text), "mapped");
    }

    void deviceNameTable()
    {
        ScriptedSerialControl control;
        Link link(control);
        QCOMPARE(link.deviceNameTable().size(), 25);
        QCOMPARE(link.deviceNameTable()[0], "Veltra");
        QCOMPARE(link.deviceNameTable()[6], "Watchman Veltra K");
        QCOMPARE(link.deviceNameTable()[10], "");
        QCOMPARE(link.deviceNameTable()[12], "Veltra QA300");
        QCOMPARE(link.deviceNameTable()[22], "Veltra TMJ");
        QCOMPARE(link.deviceNameTable()[24], "Veltra QA300");
        QCOMPARE(link.deviceName(), "Veltra");
    }

    void parseIdentity()
    {
        ScriptedSerialControl control;
        Link link(control);
        const InstrumentInfo parsed = link.ParseIdentity("MX70B5 V1.2");
        QCOMPARE(parsed.Ident, "Veltra K V1.2");
        QCOMPARE(parsed.DeviceType, qint16(2));
        QCOMPARE(parsed.FwVersion, 1.2);
        QCOMPARE(link.instrument().Ident, "Veltra K V1.2");
        QCOMPARE(link.instrument().DeviceType, qint16(2));
        QCOMPARE(link.instrument().FwVersion, 1.2);
    }

    void readInstrumentInfo_data()
    {
        QTest::addColumn<QByteArray>("battery");
        QTest::addColumn<double>("volts");
        QTest::newRow("tenths of a volt") << QByteArray("#37 0\r\n") << 3.7;
        QTest::newRow("no number gives -0.1 volts") << QByteArray("#abc\r\n") << -0.1;
    }
    void readInstrumentInfo()
    {
        QFETCH(QByteArray, battery);
        ScriptedUi ui;
        ScriptedSerialControl control;
        FakeInstrument instrument(control);
        instrument.answer("V", {"#Veltra KX 2.05\r\n"});
        instrument.answer("Vx", {"#KX extended 7\r\n"});
        instrument.answer("#R", {"#  12345 \r\n"});
        instrument.answer("Ux", {battery});
        instrument.answer("t", {"#0\r\n"});
        Link link(control);
        QCOMPARE(link.OpenComPort(1, 0), 0);

        QCOMPARE(link.ReadInstrumentInfo(), "");
        QCOMPARE(instrument.commands, (QByteArrayList{"V", "Vx", "#R", "t", "Ux", "t"}));
        QCOMPARE(link.instrument().Ident, "Veltra KX 2.05");
        QCOMPARE(link.instrument().IdentEx, "KX extended 7");
        QCOMPARE(link.instrument().SerialNo, "12345");
        QCOMPARE(link.instrument().DeviceType, qint16(18));
        QCOMPARE(link.instrument().FwVersion, 2.05);
        QTEST(link.instrument().BattVoltage, "volts");
        QVERIFY(ui.boxes.isEmpty());
    }

    void failedStepIsReportedAndKeepsLaterFields()
    {
        ScriptedUi ui;
        ScriptedSerialControl control;
        FakeInstrument instrument(control);
        instrument.answer("V", {"#Veltra QST 1.5\r\n"});
        instrument.answer("Vx", {"#QST ext\r\n"});
        // The first identification gets a serial number and a battery, the second a rejection.
        instrument.answer("#R", {"#old serial\r\n", "#?\r\n"});
        instrument.answer("Ux", {"#42\r\n"});
        instrument.answer("t", {"#0\r\n"});
        const TestClock clock(36000, 8);
        Link link(control, clock);
        QCOMPARE(link.OpenComPort(1, 0), 0);
        QCOMPARE(link.ReadInstrumentInfo(), QString());

        QCOMPARE(link.ReadInstrumentInfo(), "#R");
        QCOMPARE(link.instrument().Ident, "Veltra QST 1.5");
        QCOMPARE(link.instrument().IdentEx, "QST ext");
        QCOMPARE(link.instrument().SerialNo, "old serial");
        QCOMPARE(link.instrument().BattVoltage, 4.2);
        // The caller reports the failure, under the model's name.
        QVERIFY(ui.boxes.isEmpty());
        QCOMPARE(link.deviceName(), "Veltra QST");
    }
};

QTEST_GUILESS_MAIN(TestIdentification)
#include "tst_identification.moc"
