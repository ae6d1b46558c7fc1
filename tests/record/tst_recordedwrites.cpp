// Writes from the main window against veltra-sim leave their entries in the calibration record
// (SQLite beside the settings): each outcome's fields, and a record that cannot take the entry
// stopping the write before any "WW" reaches the instrument.

#include "calibrecord.h"
#include "frmveltra.h"
#include "inifile.h"
#include "passwordinput.h"
#include "passwordstore.h"
#include "pgserver.h"
#include "programpaths.h"
#include "qtserialcontrol.h"
#include "recordhistory.h"
#include "scriptedui.h"
#include "siminstrument.h"
#include "windowsimrig.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

struct SimRig : WindowSimRig
{
    // 1 December 2026, expiring 1 December 2027, and the button.
    void write()
    {
        window->DTPicker1[0]->setDate(QDate(2026, 12, 1));
        window->CheckStatus->setChecked(true);
        window->CheckStatus_Click(1);
        window->DTPicker1[1]->setDate(QDate(2027, 12, 1));
        window->ComChange_Click();
    }

    QList<RecordEntry> entries() const
    {
        CalibRecord record(RecordSettings::fromSettingsFile(IniFileName));
        QList<RecordEntry> result;
        forEachEntry(record, {}, [&](const RecordEntry &e) {
            result << e;
            return true;
        });
        return result;
    }

    qsizetype writesSent() const
    {
        qsizetype count = 0;
        for (const QByteArray &command : port.sim.commands())
            count += command.startsWith("WW") ? 1 : 0;
        return count;
    }
    bool sentWrite() const { return writesSent() > 0; }
};

} // namespace

class TestRecordedWrites : public QObject
{
    Q_OBJECT

private slots:
    void eachOutcomeIsRecorded_data();
    void eachOutcomeIsRecorded();
    void wrongPasswordIsRecordedAsRefused();
    void unusableRecordStopsTheWriteBeforeWW();
    void labServerTakesTheEntryAndStopsTheWriteWhenDown();
};

void TestRecordedWrites::eachOutcomeIsRecorded_data()
{
    QTest::addColumn<QStringList>("simulator");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QDate>("calibrationBefore");
    QTest::addColumn<QDate>("calibrationReadBack");
    QTest::addColumn<QDate>("expirationReadBack");

    const QDate held(2024, 1, 15);
    QTest::newRow("the instrument holds the new dates")
        << QStringList() << "verified"
        << "" << held << QDate(2026, 12, 1) << QDate(2027, 12, 1);
    QTest::newRow("the instrument keeps its old dates")
        << QStringList{"--ignore-writes"} << "mismatch"
        << "" << held << held << QDate(2025, 1, 15);
    QTest::newRow("the instrument rejects the flag command")
        << QStringList{"--reject", "EW1"} << "failed"
        << "\"EW1\" failed" << held << QDate(2026, 12, 1) << QDate(2027, 12, 1);
    // The window reads the instrument again after a refusal: the dates it still holds come back.
    QTest::newRow("old KX firmware is refused before anything is written")
        << QStringList{"--ident", "Veltra KX V1.600"} << "refused"
        << "Firmware of Veltra KX too old, no calibration flag available!" << QDate() << held
        << QDate(2025, 1, 15);
    QTest::newRow("another instrument on the adapter is refused")
        << QStringList{"--swap-after", "1"} << "refused"
        << "The instrument has changed since it was read (serial number 12345, now 67890). "
           "Read it again before changing its dates."
        << QDate() << QDate() << QDate();
}

void TestRecordedWrites::eachOutcomeIsRecorded()
{
    QFETCH(QStringList, simulator);
    QFETCH(QString, outcome);
    QFETCH(QString, detail);
    QFETCH(QDate, calibrationBefore);
    QFETCH(QDate, calibrationReadBack);
    QFETCH(QDate, expirationReadBack);
    SimRig rig;
    QVERIFY2(rig.start(simulator), qPrintable(rig.port.sim.errorText()));
    QCOMPARE(rig.window->writeGate.check().step, WriteGate::Step::NoPassword);
    rig.ui.answers.enqueue(MsgResult::Yes);
    rig.write();

    const QList<RecordEntry> entries = rig.entries();
    QCOMPARE(entries.size(), 1);
    const RecordEntry &e = entries[0];
    QCOMPARE(outcomeText(e.outcome), outcome);
    QCOMPARE(e.detail, detail);
    QCOMPARE(sourceText(e.source), QStringLiteral("window"));
    QCOMPARE(e.serial, QStringLiteral("12345"));
    QCOMPARE(e.port, 1);
    QCOMPARE(e.calibrationAsked, QDate(2026, 12, 1));
    QCOMPARE(e.expirationAsked, QDate(2027, 12, 1));
    QCOMPARE(e.calibrationBefore, calibrationBefore);
    QCOMPARE(e.calibrationReadBack, calibrationReadBack);
    QCOMPARE(e.expirationReadBack, expirationReadBack);
    QVERIFY(e.finishedAt.isValid() && e.finishedAt >= e.startedAt);
}

void TestRecordedWrites::wrongPasswordIsRecordedAsRefused()
{
    SimRig rig;
    QVERIFY2(rig.start({}), qPrintable(rig.port.sim.errorText()));
    PasswordStore store;
    store.setPassword(QStringLiteral("secret"));
    QVERIFY(store.WritePassword().ok());
    rig.ui.answerDialog<PasswordInput>([](PasswordInput &input) {
        QTest::keyClicks(input.TextCode, QStringLiteral("guess"));
        QTest::keyClick(input.TextCode, Qt::Key_Return);
    });
    rig.write();

    QVERIFY(!rig.sentWrite());
    const QList<RecordEntry> entries = rig.entries();
    QCOMPARE(entries.size(), 1);
    QCOMPARE(outcomeText(entries[0].outcome), QStringLiteral("refused"));
    QCOMPARE(entries[0].detail, QStringLiteral("Wrong password."));
    QCOMPARE(entries[0].serial, QStringLiteral("12345"));
}

void TestRecordedWrites::unusableRecordStopsTheWriteBeforeWW()
{
    SimRig rig;
    QVERIFY2(rig.start({}), qPrintable(rig.port.sim.errorText()));
    const QString recordFile = PrgPath + RecordFileName;
    const QByteArray damaged = QByteArray("not a database\n").repeated(100);
    {
        QFile file(recordFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(damaged);
    }
    QCOMPARE(rig.window->writeGate.check().step, WriteGate::Step::NoPassword);
    rig.ui.answers.enqueue(MsgResult::Yes);
    rig.write();

    QVERIFY(!rig.sentWrite());
    const QStringList texts = rig.ui.texts();
    QCOMPARE(texts.size(), 2); // the question, then why nothing was written
    QVERIFY2(texts[1].contains(recordFile) && texts[1].contains(QStringLiteral("is damaged"))
                 && texts[1].endsWith(QStringLiteral("Nothing was written to the instrument.")),
             qPrintable(texts[1]));
    QCOMPARE(rig.ui.boxes[1].icon, MsgIcon::Stop);
    QFile file(recordFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), damaged);
    QVERIFY(rig.window->ComChange->isEnabled());
}

void TestRecordedWrites::labServerTakesTheEntryAndStopsTheWriteWhenDown()
{
    PgServer server;
    if (!server.start())
        QSKIP(qPrintable(server.errorText()));
    SimRig rig;
    QVERIFY2(rig.start({}), qPrintable(rig.port.sim.errorText()));
    const QList<std::pair<const char *, QString>> keys{{"Driver", QStringLiteral("QPSQL")},
                                                       {"Host", server.socketFolder()},
                                                       {"Port", QString::number(PgServer::port())},
                                                       {"Database", PgServer::database()},
                                                       {"User", PgServer::user()}};
    for (const auto &[key, value] : keys)
        QVERIFY(IniFile::writeString(IniFileName, QStringLiteral("Record"),
                                     QString::fromLatin1(key), value));
    QCOMPARE(rig.window->writeGate.check().step, WriteGate::Step::NoPassword);
    rig.ui.answers.enqueue(MsgResult::Yes);
    rig.write();
    QCOMPARE(rig.writesSent(), 1);
    const QList<RecordEntry> entries = rig.entries();
    QCOMPARE(entries.size(), 1);
    QCOMPARE(outcomeText(entries[0].outcome), QStringLiteral("verified"));
    QVERIFY(!QFile::exists(PrgPath + RecordFileName));

    server.stop();
    rig.ui.boxes.clear();
    rig.ui.answers.enqueue(MsgResult::Yes);
    rig.write();
    QCOMPARE(rig.writesSent(), 1);
    const QStringList texts = rig.ui.texts();
    QCOMPARE(texts.size(), 2);
    QVERIFY2(texts[1].contains(QStringLiteral("PostgreSQL server %1").arg(server.socketFolder()))
                 && texts[1].contains(QStringLiteral("cannot be reached")),
             qPrintable(texts[1]));
}

QTEST_MAIN(TestRecordedWrites)
#include "tst_recordedwrites.moc"
