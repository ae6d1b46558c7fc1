// The calibration core: the read-out of scripted replies, the write sequence step by step on a
// scripted instrument, and the whole sequence against the virtual instrument in both framings
// with the exact bytes it received.

#include "calibrationwrite.h"
#include "fakeinstrument.h"
#include "link.h"
#include "programpaths.h"
#include "qtserialcontrol.h"
#include "scriptedserialcontrol.h"
#include "scriptedui.h"
#include "siminstrument.h"
#include "simrig.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

using Commands = QByteArrayList;

namespace {

QByteArray line(const QByteArray &payload)
{
    return "#" + payload + "\r\n";
}

const QByteArray Rejected = "#?\r\n";

// A link on a scripted instrument that answers the identification like a K-40 with serial
// number 12345; each test scripts the rest.
struct ScriptedInstrument
{
    ScriptedSerialControl comm;
    FakeInstrument instrument{comm};
    Link link{comm};
    CalibrationCore core{link};

    ScriptedInstrument()
    {
        link.InitDeviceTables();
        instrument.answer("V", {line("Veltra K-40 V1.610")});
        instrument.answer("Vx", {line("K-40 1.610 CRC 3A7F1C")});
        instrument.answer("#R", {line("12345")});
        instrument.answer("Ux", {line("37 0")});
        instrument.answer("t", {line("0")});
        instrument.answer("WR", {line("240115 250115")});
        instrument.answer("EW1", {line("")});
    }

    bool open() { return link.OpenComPort(1, 0) == 0; }
};

// Records what the write told its observer, with the commands on the wire at that moment.
struct RecordingObserver final : WriteObserver
{
    const FakeInstrument *instrument = nullptr;
    QList<WriteReport> before;
    QList<WriteReport> ended;
    Commands wireBeforeWrite;

    bool aboutToWrite(const WriteReport &report) override
    {
        before.append(report);
        wireBeforeWrite = instrument->commands;
        return true;
    }
    void writeEnded(const WriteReport &report) override { ended.append(report); }
};

// Without the transfer-status queries.
Commands withoutStatus(Commands commands)
{
    commands.removeAll("t");
    return commands;
}

} // namespace

class CalibrationCoreTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void readOutOfTheReplies_data();
    void readOutOfTheReplies();
    void failedReadNamesTheCommand_data();
    void failedReadNamesTheCommand();
    void writeSequence_data();
    void writeSequence();
    void observerHearsBeforeTheWriteAndOnceAtTheEnd();
    void observerHearsOfARefusalWhenTheWriteGoesAway();
    void wholeWriteOnTheWire_data();
    void wholeWriteOnTheWire();

private:
    QTemporaryDir m_programDir;
    ScriptedUi m_ui;
};

void CalibrationCoreTest::initTestCase()
{
    QVERIFY(m_programDir.isValid());
    setProgramPaths(m_programDir.path());
}

void CalibrationCoreTest::readOutOfTheReplies_data()
{
    QTest::addColumn<QByteArray>("ident");
    QTest::addColumn<QByteArray>("identEx");
    QTest::addColumn<QByteArray>("battery");
    QTest::addColumn<QByteArray>("dates");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("batteryText");
    QTest::addColumn<QString>("checksum"); // null: none shown
    QTest::addColumn<QDate>("calibration");
    QTest::addColumn<QDate>("expiration"); // null: none kept
    QTest::newRow("a K-40 with both dates")
        << QByteArray("Veltra K-40 V1.610") << QByteArray("K-40 1.610 CRC 3A7F1C")
        << QByteArray("37 0") << QByteArray("100921 110921") << "C"
        << "Veltra K-40"
        << "Veltra K-40"
        << "3.7 V"
        << "3A7F1C" << QDate(2010, 9, 21) << QDate(2011, 9, 21);
    QTest::newRow("one date word: no expiration date")
        << QByteArray("Veltra K-40 V1.610") << QByteArray("K-40 1.610 CRC 3A7F1C")
        << QByteArray("37 0") << QByteArray("240115") << "C"
        << "Veltra K-40"
        << "Veltra K-40"
        << "3.7 V"
        << "3A7F1C" << QDate(2024, 1, 15) << QDate();
    QTest::newRow("a trailing blank is trimmed before the checksum is cut")
        << QByteArray("Veltra K-40 V1.610") << QByteArray("K-40 1.610 CRC 3A7F1C ")
        << QByteArray("37 0") << QByteArray("240115") << "C"
        << "Veltra K-40"
        << "Veltra K-40"
        << "3.7 V"
        << "3A7F1C" << QDate(2024, 1, 15) << QDate();
    QTest::newRow("firmware 1.205 shows no checksum")
        << QByteArray("Veltra K 1.205") << QByteArray("K 1.205 CRC 3A7F1C") << QByteArray("41")
        << QByteArray("240115") << "C"
        << "Veltra K"
        << "Veltra K"
        << "4.1 V" << QString() << QDate(2024, 1, 15) << QDate();
    QTest::newRow("a garbled battery reply has no thousands separator")
        << QByteArray("Veltra K-40 V1.610") << QByteArray("K-40 1.610 CRC 3A7F1C")
        << QByteArray("12345") << QByteArray("240115") << "en_US"
        << "Veltra K-40"
        << "Veltra K-40"
        << "1234.5 V"
        << "3A7F1C" << QDate(2024, 1, 15) << QDate();
    QTest::newRow("German: decimal comma, still no thousands separator")
        << QByteArray("Veltra K-40 V1.610") << QByteArray("K-40 1.610 CRC 3A7F1C")
        << QByteArray("12345") << QByteArray("240115") << "de_DE"
        << "Veltra K-40"
        << "Veltra K-40"
        << "1234,5 V"
        << "3A7F1C" << QDate(2024, 1, 15) << QDate();
}

void CalibrationCoreTest::readOutOfTheReplies()
{
    QFETCH(QByteArray, ident);
    QFETCH(QByteArray, identEx);
    QFETCH(QByteArray, battery);
    QFETCH(QByteArray, dates);
    QFETCH(QString, locale);
    QFETCH(QString, device);
    QFETCH(QString, version);
    QFETCH(QString, batteryText);
    QFETCH(QString, checksum);
    QFETCH(QDate, calibration);
    QFETCH(QDate, expiration);
    QLocale::setDefault(QLocale(locale));
    ScriptedInstrument s;
    s.instrument.answer("V", {line(ident)});
    s.instrument.answer("Vx", {line(identEx)});
    s.instrument.answer("Ux", {line(battery)});
    s.instrument.answer("WR", {line(dates)});
    QVERIFY(s.open());

    ReadOut out;
    QVERIFY(s.core.read(out).done());
    QCOMPARE(s.instrument.commands, (Commands{"V", "Vx", "#R", "t", "Ux", "t", "WR", "t"}));
    QCOMPARE(out.deviceName, device);
    QCOMPARE(out.serialNo, QStringLiteral("12345"));
    QCOMPARE(out.version.value_or(QStringLiteral("(none)")), version);
    QCOMPARE(out.battery, batteryText);
    QCOMPARE(out.checksum.has_value(), !checksum.isNull());
    QCOMPARE(out.checksum.value_or(QString()), checksum);
    QCOMPARE(out.calibrationDate, std::optional<QDate>(calibration));
    QCOMPARE(out.expirationDate, std::optional<QDate>(expiration));
    QCOMPARE(out.offersExpiration(), !expiration.isNull());
    QVERIFY(m_ui.boxes.isEmpty());
}

void CalibrationCoreTest::failedReadNamesTheCommand_data()
{
    QTest::addColumn<QByteArray>("rejected");
    QTest::newRow("identity") << QByteArray("V");
    QTest::newRow("serial number") << QByteArray("#R");
    QTest::newRow("dates") << QByteArray("WR");
}

void CalibrationCoreTest::failedReadNamesTheCommand()
{
    QFETCH(QByteArray, rejected);
    ScriptedInstrument s;
    s.instrument.answer(rejected, {Rejected});
    QVERIFY(s.open());

    ReadOut out;
    const Outcome outcome = s.core.read(out);
    QCOMPARE(outcome.kind, Outcome::Kind::CommandFailed);
    QCOMPARE(outcome.command, QString::fromLatin1(rejected));
    // The core shows nothing; the caller decides.
    QVERIFY(m_ui.boxes.isEmpty());
    QCOMPARE(m_ui.beeps, 0);
}

void CalibrationCoreTest::writeSequence_data()
{
    QTest::addColumn<QByteArray>("ident");
    QTest::addColumn<QByteArrayList>("serials");
    QTest::addColumn<QByteArrayList>("dates");
    QTest::addColumn<QByteArray>("rejected");
    QTest::addColumn<bool>("withExpiration");
    QTest::addColumn<Commands>("wire");
    QTest::addColumn<Outcome::Kind>("kind");
    QTest::addColumn<QString>("failed");
    QTest::addColumn<bool>("verified");
    const QByteArray k40 = "Veltra K-40 V1.610";
    const QByteArrayList same{line("12345")};
    const QByteArrayList held{line("240115 250115")};
    const QByteArrayList written{line("240115 250115"), line("240301 250301")};
    QTest::newRow("both dates asked and held")
        << k40 << same << written << QByteArray() << true
        << Commands{"#R", "WR", "WW240301 250301", "EW1", "WR"} << Outcome::Kind::Done << ""
        << true;
    QTest::newRow("no expiration asked: 1 January 2001 for a model that keeps one")
        << k40 << same << QByteArrayList{line("240115 250115"), line("240301 010101")}
        << QByteArray() << false << Commands{"#R", "WR", "WW240301 010101", "EW1", "WR"}
        << Outcome::Kind::Done << "" << true;
    QTest::newRow("a model with one date gets one")
        << k40 << same << QByteArrayList{line("240115"), line("240301")} << QByteArray() << false
        << Commands{"#R", "WR", "WW240301", "EW1", "WR"} << Outcome::Kind::Done << "" << true;
    QTest::newRow("an instrument that keeps its old dates is not verified")
        << k40 << same << held << QByteArray() << true
        << Commands{"#R", "WR", "WW240301 250301", "EW1", "WR"} << Outcome::Kind::Done << ""
        << false;
    QTest::newRow("another serial number: nothing written")
        << k40 << QByteArrayList{line("67890")} << held << QByteArray() << true << Commands{"#R"}
        << Outcome::Kind::InstrumentChanged << "#R" << false;
    QTest::newRow("old KX firmware: nothing on the wire")
        << QByteArray("Veltra KX V1.600") << same << held << QByteArray() << true << Commands{}
        << Outcome::Kind::FirmwareTooOld << "" << false;
    QTest::newRow("KX firmware 1.605 is written")
        << QByteArray("Veltra KX V1.605") << same << written << QByteArray() << true
        << Commands{"#R", "WR", "WW240301 250301", "EW1", "WR"} << Outcome::Kind::Done << ""
        << true;
    QTest::newRow("a rejected write names the whole command")
        << k40 << same << held << QByteArray("WW240301 250301") << true
        << Commands{"#R", "WR", "WW240301 250301", "WW240301 250301", "WW240301 250301"}
        << Outcome::Kind::CommandFailed << "WW240301 250301" << false;
    QTest::newRow("a rejected flag after the write")
        << k40 << same << held << QByteArray("EW1") << true
        << Commands{"#R", "WR", "WW240301 250301", "EW1", "EW1", "EW1"}
        << Outcome::Kind::CommandFailed << "EW1" << false;
}

void CalibrationCoreTest::writeSequence()
{
    QFETCH(QByteArray, ident);
    QFETCH(QByteArrayList, serials);
    QFETCH(QByteArrayList, dates);
    QFETCH(QByteArray, rejected);
    QFETCH(bool, withExpiration);
    QFETCH(Commands, wire);
    QFETCH(Outcome::Kind, kind);
    QFETCH(QString, failed);
    QFETCH(bool, verified);
    ScriptedInstrument s;
    s.instrument.answer("V", {line(ident)});
    QVERIFY(s.open());
    QVERIFY(s.core.identify().done());
    s.instrument.answer("#R", serials);
    s.instrument.answer("WR", dates);
    s.instrument.answer("WW240301", {line("")});
    s.instrument.answer("WW240301 250301", {line("")});
    s.instrument.answer("WW240301 010101", {line("")});
    if (!rejected.isEmpty())
        s.instrument.answer(rejected, {Rejected});
    s.instrument.commands.clear();

    DateRequest asked{QDate(2024, 3, 1), std::nullopt};
    if (withExpiration)
        asked.expiration = QDate(2025, 3, 1);
    CalibrationWrite write(s.core, asked);
    const Outcome outcome = write.run(QStringLiteral("12345"));

    QCOMPARE(withoutStatus(s.instrument.commands), wire);
    QCOMPARE(outcome.kind, kind);
    QCOMPARE(outcome.command, failed);
    QCOMPARE(write.report().outcome.kind, kind);
    QCOMPARE(write.report().verified.value_or(false), verified);
    if (kind == Outcome::Kind::InstrumentChanged) {
        QCOMPARE(outcome.serialRead, QStringLiteral("12345"));
        QCOMPARE(outcome.serialNow, QStringLiteral("67890"));
        QCOMPARE(
            instrumentChangedText(outcome),
            QStringLiteral("The instrument has changed since it was read (serial number 12345, "
                           "now 67890). Read it again before changing its dates."));
    }
    QVERIFY(m_ui.boxes.isEmpty());
}

void CalibrationCoreTest::observerHearsBeforeTheWriteAndOnceAtTheEnd()
{
    ScriptedInstrument s;
    QVERIFY(s.open());
    QVERIFY(s.core.identify().done());
    s.instrument.answer("WR", {line("240115 250115"), line("240301 250301")});
    s.instrument.answer("WW240301 250301", {line("")});
    s.instrument.commands.clear();
    RecordingObserver observer;
    observer.instrument = &s.instrument;

    {
        CalibrationWrite write(s.core, {QDate(2024, 3, 1), QDate(2025, 3, 1)}, &observer);
        QVERIFY(write.run(QStringLiteral("12345")).done());
        QCOMPARE(observer.ended.size(), 1);
    }
    QCOMPARE(observer.wireBeforeWrite, (Commands{"#R", "t", "WR", "t"}));
    QCOMPARE(observer.before.size(), 1);
    QCOMPARE(observer.before[0].held->calibration, QStringLiteral("240115"));
    QCOMPARE(observer.before[0].held->expiration, QStringLiteral("250115"));
    QCOMPARE(observer.before[0].command, QStringLiteral("WW240301 250301"));
    QVERIFY(!observer.before[0].written);

    QCOMPARE(observer.ended.size(), 1);
    const WriteReport &report = observer.ended[0];
    QCOMPARE(report.asked.calibration, QDate(2024, 3, 1));
    QVERIFY(report.written);
    QCOMPARE(report.readBack->calibration, QStringLiteral("240301"));
    QCOMPARE(report.verified, std::optional<bool>(true));
    QVERIFY(report.outcome.done());
}

void CalibrationCoreTest::observerHearsOfARefusalWhenTheWriteGoesAway()
{
    ScriptedInstrument s;
    s.instrument.answer("#R", {line("12345"), line("54321")});
    QVERIFY(s.open());
    QVERIFY(s.core.identify().done());
    RecordingObserver observer;
    observer.instrument = &s.instrument;
    {
        CalibrationWrite write(s.core, {QDate(2024, 3, 1), std::nullopt}, &observer);
        QCOMPARE(write.checkIdentity(QStringLiteral("12345")).kind,
                 Outcome::Kind::InstrumentChanged);
        QVERIFY(observer.ended.isEmpty());
    }
    QVERIFY(observer.before.isEmpty());
    QCOMPARE(observer.ended.size(), 1);
    QCOMPARE(observer.ended[0].outcome.kind, Outcome::Kind::InstrumentChanged);
    QCOMPARE(observer.ended[0].outcome.serialNow, QStringLiteral("54321"));
    QVERIFY(!observer.ended[0].held);
}

void CalibrationCoreTest::wholeWriteOnTheWire_data()
{
    QTest::addColumn<QString>("framing");
    QTest::addColumn<QString>("dates");
    QTest::addColumn<Commands>("wire");
    QTest::newRow("plain, two dates")
        << "plain"
        << "240115 250115"
        << Commands{"@",      "#R\r\n", "@",      "t\r\n",   "@",
                    "WR\r\n", "@",      "t\r\n",  "@",       "WW240301 250301\r\n",
                    "@",      "t\r\n",  "@",      "EW1\r\n", "@",
                    "t\r\n",  "@",      "WR\r\n", "@",       "t\r\n"};
    // "\002" is STX where hex digits follow: "\x02" would take them into its escape.
    QTest::newRow("framed, two dates")
        << "framed"
        << "240115 250115" << Commands{"@", "\x02#R77\x03",
                                       "@", "\x02t76\x03",
                                       "@", "\x02WRAB\x03",
                                       "@", "\x02t76\x03",
                                       "@", "\x02WW240301 25030125\x03",
                                       "@", "\x02t76\x03",
                                       "@", "\002EW1CF\003",
                                       "@", "\x02t76\x03",
                                       "@", "\x02WRAB\x03",
                                       "@", "\x02t76\x03"};
    QTest::newRow("framed, one date")
        << "framed"
        << "240115"
        << Commands{"@", "\x02#R77\x03",  "@", "\x02t76\x03",        "@", "\x02WRAB\x03",
                    "@", "\x02t76\x03",   "@", "\x02WW240301DA\x03", "@", "\x02t76\x03",
                    "@", "\002EW1CF\003", "@", "\x02t76\x03",        "@", "\x02WRAB\x03",
                    "@", "\x02t76\x03"};
}

void CalibrationCoreTest::wholeWriteOnTheWire()
{
    QFETCH(QString, framing);
    QFETCH(QString, dates);
    QFETCH(Commands, wire);
    SKIP_WITHOUT_SIMULATOR();
    SimLink rig;
    Link &link = rig.link;
    const SimInstrument &sim = rig.sim;
    link.InitDeviceTables();
    CalibrationCore core(link);
    QVERIFY(rig.open({"--framing", framing, "--dates", dates}));
    ReadOut before;
    QVERIFY(core.read(before).done());
    const qsizetype readFrames = sim.received().size();

    DateRequest asked{QDate(2024, 3, 1), std::nullopt};
    if (before.offersExpiration())
        asked.expiration = QDate(2025, 3, 1);
    CalibrationWrite write(core, asked);
    QVERIFY(write.run(before.serialNo).done());
    QCOMPARE(write.report().verified, std::optional<bool>(true));
    QTRY_COMPARE_WITH_TIMEOUT(sim.received().mid(readFrames), wire, 5000);
}

QTEST_MAIN(CalibrationCoreTest)
#include "tst_calibrationcore.moc"
