// Writing the calibration date: the password gate, the commands on the wire (from the virtual
// instrument's log), the verdict of the read-back and the label that a verified write offers.

#include "commandtexts.h"
#include "fakeinstrument.h"
#include "frmveltra.h"
#include "inifile.h"
#include "msgform.h"
#include "passwordinput.h"
#include "passwordstore.h"
#include "programpaths.h"
#include "qtserialcontrol.h"
#include "scriptedserialcontrol.h"
#include "scriptedui.h"
#include "siminstrument.h"
#include "testclock.h"
#include "windowsimrig.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using Commands = QByteArrayList;

namespace {

const QString Success = QStringLiteral("Check date successful written!");
const QString Failure = QStringLiteral("Write check date failed!");
const QString Question = QStringLiteral("Calibration date will be set now.\n\nYou are sure?");
const QString FirmwareTooOld =
    QStringLiteral("Firmware of Veltra KX too old, no calibration flag available!");

// Types the text into PasswordInput and presses Enter; cancels it when text is null.
void answerPassword(ScriptedUi &ui, const QString &text)
{
    ui.answerDialog<PasswordInput>([text](PasswordInput &input) {
        if (text.isNull()) {
            input.ComCancel->click();
            return;
        }
        QTest::keyClicks(input.TextCode, text);
        QTest::keyClick(input.TextCode, Qt::Key_Return);
    });
}

// The commands SetCalibDate sent: from its "#R" up to the read that follows.
Commands writeCommands(const Commands &commands)
{
    const qsizetype read = commands.indexOf("V");
    return read < 0 ? commands : commands.first(read);
}

struct SimRig : WindowSimRig
{
    Commands commands() const { return commandsWithoutStatus(port.sim.commands()); }

    // Presses "&Change Calib Date..." and returns the commands it sent.
    Commands press()
    {
        const qsizetype before = commands().size();
        window->ComChange_Click();
        return commands().mid(before);
    }

    void choose(QDate calibration, bool ticked, QDate expiration = QDate(2025, 6, 30))
    {
        window->DTPicker1[0]->setDate(calibration);
        window->CheckStatus->setChecked(ticked);
        window->CheckStatus_Click(ticked ? 1 : 0);
        window->DTPicker1[1]->setDate(expiration);
    }
};

QByteArray line(const QByteArray &payload)
{
    return "#" + payload + "\r\n";
}

QString transferError(const QString &command)
{
    return QStringLiteral(
               "Data transfer to instrument fails (%1) !\nPlease check connection cable,\n"
               "Com port (Selection!) and device status !")
        .arg(command);
}

// The window on a scripted instrument, for replies the simulator does not give. The test
// scripts "WR", "WW" and "EW1"; readAndPress() reads the instrument as at start, chooses
// 5 January 2009 and 31 December 2009 with the box ticked, presses the button and answers Yes.
// The window's clock runs eight times as fast: a silent command's three 2 s limits pass in
// 0.75 s, while the scripted replies still come within a millisecond.
struct ScriptedRig
{
    QTemporaryDir folder;
    ScriptedUi ui;
    ScriptedSerialControl comm;
    FakeInstrument instrument{comm};
    const TestClock clock{36000, 8};
    frmVeltra window{comm, clock};

    ScriptedRig()
    {
        setProgramPaths(folder.path());
        instrument.answer("V", {line("Veltra K-40 V1.610")});
        instrument.answer("Vx", {line("K-40 1.610 CRC 3A7F1C")});
        instrument.answer("#R", {line("12345")});
        instrument.answer("Ux", {line("37 0")});
        instrument.answer("t", {line("0")});
    }

    void readAndPress()
    {
        QCOMPARE(window.link().OpenComPort(1, 0), qint16(0));
        window.ComRead_Click();
        // No password set: the gate opens without a question.
        QCOMPARE(window.writeGate.check().step, WriteGate::Step::NoPassword);
        window.DTPicker1[0]->setDate(QDate(2009, 1, 5));
        window.CheckStatus->setChecked(true);
        window.DTPicker1[1]->setDate(QDate(2009, 12, 31));
        ui.answers.enqueue(MsgResult::Yes);
        window.ComChange_Click();
    }
};

} // namespace

class CalibWriteTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void noticeIsShownOnTheFirstPressOnly();
    void unreadablePasswordFileSendsNothing();
    void wrongPasswordSendsNothing_data();
    void wrongPasswordSendsNothing();
    void commandsOnTheWire_data();
    void commandsOnTheWire();
    void verdictOfTheReadBack_data();
    void verdictOfTheReadBack();
    void expirationBeforeCalibrationIsQuestioned_data();
    void expirationBeforeCalibrationIsQuestioned();
    void oldKxFirmwareIsRefused_data();
    void oldKxFirmwareIsRefused();
    void failedCommandIsReportedAndUnlocks_data();
    void failedCommandIsReportedAndUnlocks();
    void readBackWordsAreComparedAsNumbers_data();
    void readBackWordsAreComparedAsNumbers();
    void anotherInstrumentIsNotWritten();
    void windowStaysLockedUntilTheVerdict();
    void verifiedWriteOffersItsLabel_data();
    void verifiedWriteOffersItsLabel();
};

void CalibWriteTest::initTestCase()
{
    SKIP_WITHOUT_SIMULATOR();
}

void CalibWriteTest::noticeIsShownOnTheFirstPressOnly()
{
    SimRig rig;
    QVERIFY(rig.start({}));
    rig.window->ShowInfoPswMsg = 1;
    rig.choose(QDate(2024, 3, 1), false);

    rig.ui.answerDialog<MsgForm>([](MsgForm &notice) { notice.reject(); });
    rig.ui.answers.enqueue(MsgResult::Yes);
    QVERIFY(writeCommands(rig.press()).contains("WW240301 010101"));
    QCOMPARE(rig.ui.dialogs, QStringList{QStringLiteral("MsgForm")});
    QCOMPARE(rig.window->ShowInfoPswMsg, qint16(0));
    QVERIFY(rig.window->writeGate.passed());

    rig.ui.answers.enqueue(MsgResult::Yes);
    QVERIFY(writeCommands(rig.press()).contains("WW240301 010101"));
    QCOMPARE(rig.ui.dialogs, QStringList{QStringLiteral("MsgForm")});
    QCOMPARE(rig.ui.texts(), (QStringList{Question, Success, Question, Success}));
}

// A password file that is there but cannot be read must not count as "no password".
void CalibWriteTest::unreadablePasswordFileSendsNothing()
{
    SimRig rig;
    QVERIFY(rig.start({}));
    QVERIFY(QDir(PrgPath).mkdir(PasswordFileName));
    rig.window->ShowInfoPswMsg = 1;
    rig.choose(QDate(2024, 3, 1), false);

    QCOMPARE(rig.press(), Commands());
    QCOMPARE(rig.ui.dialogs, QStringList());
    QCOMPARE(rig.ui.boxes.size(), 1);
    QVERIFY(rig.ui.boxes[0].text.startsWith(QStringLiteral("Cannot read password file!")));
    QVERIFY(!rig.window->writeGate.passed());
    QVERIFY(rig.window->ComChange->isEnabled());
}

void CalibWriteTest::wrongPasswordSendsNothing_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("a wrong password") << QStringLiteral("guess");
    QTest::newRow("the password in other case") << QStringLiteral("secret ");
    QTest::newRow("the password without its trailing space") << QStringLiteral("Secret");
    QTest::newRow("a cancelled dialog") << QString();
}

void CalibWriteTest::wrongPasswordSendsNothing()
{
    QFETCH(QString, typed);
    SimRig rig;
    QVERIFY(rig.start({}));
    PasswordStore store;
    store.setPassword(QStringLiteral("Secret "));
    QVERIFY(store.WritePassword().ok());
    rig.choose(QDate(2024, 3, 1), false);

    answerPassword(rig.ui, typed);
    QCOMPARE(rig.press(), Commands());
    QCOMPARE(rig.ui.dialogs, QStringList{QStringLiteral("PasswordInput")});
    QCOMPARE(rig.ui.texts(), QStringList());
    QVERIFY(!rig.window->writeGate.passed());
    QVERIFY(rig.window->ComChange->isEnabled());

    // The next press asks again; after the right password no further question in this run.
    answerPassword(rig.ui, QStringLiteral("Secret "));
    rig.ui.answers.enqueue(MsgResult::Yes);
    QVERIFY(writeCommands(rig.press()).contains("WW240301 010101"));
    QCOMPARE(rig.ui.dialogs.size(), 2);
    rig.ui.answers.enqueue(MsgResult::Yes);
    QVERIFY(writeCommands(rig.press()).contains("WW240301 010101"));
    QCOMPARE(rig.ui.dialogs.size(), 2);
    QCOMPARE(rig.ui.texts(), (QStringList{Question, Success, Question, Success}));
}

void CalibWriteTest::commandsOnTheWire_data()
{
    QTest::addColumn<QString>("dates");
    QTest::addColumn<QDate>("calibration");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<Commands>("expected");
    QTest::newRow("one date in the instrument: WW and six digits")
        << "240115" << QDate(2010, 9, 21) << true << Commands{"#R", "WR", "WW100921", "EW1"};
    QTest::newRow("5 January 2009 is written with leading zeros")
        << "240115" << QDate(2009, 1, 5) << false << Commands{"#R", "WR", "WW090105", "EW1"};
    QTest::newRow("two dates, box not ticked: the expiration is 1 January 2001")
        << "240115 250115" << QDate(2009, 1, 5) << false
        << Commands{"#R", "WR", "WW090105 010101", "EW1"};
    QTest::newRow("two dates, box ticked: the chosen expiration date")
        << "240115 250115" << QDate(2009, 1, 5) << true
        << Commands{"#R", "WR", "WW090105 250630", "EW1"};
}

void CalibWriteTest::commandsOnTheWire()
{
    QFETCH(QString, dates);
    QFETCH(QDate, calibration);
    QFETCH(bool, ticked);
    QFETCH(Commands, expected);
    SimRig rig;
    QVERIFY(rig.start({QStringLiteral("--dates"), dates}));
    // No password set: the gate opens without a question.
    QCOMPARE(rig.window->writeGate.check().step, WriteGate::Step::NoPassword);
    rig.choose(calibration, ticked);
    rig.ui.answers.enqueue(MsgResult::Yes);

    const Commands sent = rig.press();
    QCOMPARE(writeCommands(sent), expected);
    // Then the read (identification and "WR") and the "WR" of the check.
    QCOMPARE(sent.mid(expected.size()), (Commands{"V", "Vx", "#R", "Ux", "WR", "WR"}));
    QCOMPARE(rig.ui.texts(), (QStringList{Question, Success}));
    QCOMPARE(rig.ui.boxes.last().icon, MsgIcon::Information);
    QCOMPARE(rig.ui.boxes.first().buttons, MsgButtons::YesNoCancel);
    QCOMPARE(rig.ui.boxes.first().defaultButton, MsgResult::Yes);
    QCOMPARE(rig.ui.boxes.first().title, QStringLiteral("VeltraSetCalibDate"));
    QVERIFY(rig.window->ComChange->isEnabled());
    QVERIFY(!rig.ui.busy);
}

void CalibWriteTest::verdictOfTheReadBack_data()
{
    QTest::addColumn<MsgResult>("answer");
    QTest::addColumn<QDate>("calibration");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QDate>("expiration");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QString>("verdict");
    // The instrument holds 15 January 2024 and 15 January 2025 and ignores writes.
    const QDate held0(2024, 1, 15);
    const QDate held1(2025, 1, 15);
    QTest::newRow("write ignored by the instrument fails")
        << MsgResult::Yes << QDate(2009, 1, 5) << false << held1 << true << Failure;
    QTest::newRow("No with the dates already held reports success")
        << MsgResult::No << held0 << true << held1 << false << Success;
    QTest::newRow("No with other dates reports the failure")
        << MsgResult::No << QDate(2024, 1, 16) << true << held1 << false << Failure;
    QTest::newRow("Cancel with another expiration date reports the failure")
        << MsgResult::Cancel << held0 << true << QDate(2025, 1, 16) << false << Failure;
    QTest::newRow("an unticked box leaves the expiration date out of the check")
        << MsgResult::No << held0 << false << QDate(2025, 1, 16) << false << Success;
}

void CalibWriteTest::verdictOfTheReadBack()
{
    QFETCH(MsgResult, answer);
    QFETCH(QDate, calibration);
    QFETCH(bool, ticked);
    QFETCH(QDate, expiration);
    QFETCH(bool, written);
    QFETCH(QString, verdict);
    SimRig rig;
    QVERIFY(rig.start({QStringLiteral("--ignore-writes")}));
    // No password set: the gate opens without a question.
    QCOMPARE(rig.window->writeGate.check().step, WriteGate::Step::NoPassword);
    rig.choose(calibration, ticked, expiration);
    rig.ui.answers.enqueue(answer);

    const Commands sent = writeCommands(rig.press());
    QCOMPARE(sent.size(), written ? 4 : 0);
    QCOMPARE(rig.ui.texts(), (QStringList{Question, verdict}));
    QCOMPARE(rig.ui.boxes.last().icon, verdict == Success ? MsgIcon::Information : MsgIcon::Stop);
    QVERIFY(rig.window->ComChange->isEnabled());
}

void CalibWriteTest::expirationBeforeCalibrationIsQuestioned_data()
{
    QTest::addColumn<MsgResult>("answer");
    QTest::addColumn<QStringList>("then");
    QTest::addColumn<bool>("written");
    QTest::newRow("No writes nothing and asks nothing more")
        << MsgResult::No << QStringList() << false;
    QTest::newRow("Yes goes on to the question of every write")
        << MsgResult::Yes << QStringList{Question, Success} << true;
}

// The two dates swapped: 30 June 2025 expires before 5 January 2026.
void CalibWriteTest::expirationBeforeCalibrationIsQuestioned()
{
    QFETCH(MsgResult, answer);
    QFETCH(QStringList, then);
    QFETCH(bool, written);
    SimRig rig;
    QVERIFY(rig.start({QStringLiteral("--dates"), QStringLiteral("240115 250115")}));
    // No password set: the gate opens without a question.
    QCOMPARE(rig.window->writeGate.check().step, WriteGate::Step::NoPassword);
    rig.choose(QDate(2026, 1, 5), true, QDate(2025, 6, 30));
    rig.ui.answers.enqueue(answer);
    if (written)
        rig.ui.answers.enqueue(MsgResult::Yes);

    const Commands sent = writeCommands(rig.press());
    const QString warning =
        QStringLiteral("The expiration date 2025-06-30 lies before the "
                       "calibration date 2026-01-05. Write these dates anyway?");
    QCOMPARE(rig.ui.texts(), QStringList{warning} + then);
    QCOMPARE(rig.ui.boxes.first().buttons, MsgButtons::YesNo);
    QCOMPARE(rig.ui.boxes.first().defaultButton, MsgResult::No);
    QCOMPARE(sent.contains("WW260105 250630"), written);
    // The verdict keeps its words; the certificate number of the entry is in its details.
    if (written)
        QVERIFY2(rig.ui.boxes.last().detailedText.startsWith(QStringLiteral("Certificate No. VC-")),
                 qPrintable(rig.ui.boxes.last().detailedText));
}

void CalibWriteTest::oldKxFirmwareIsRefused_data()
{
    QTest::addColumn<QString>("ident");
    QTest::addColumn<bool>("refused");
    QTest::newRow("KX firmware 1.6 is refused") << "Veltra KX V1.600" << true;
    QTest::newRow("KX firmware 1.605 is accepted") << "Veltra KX V1.605" << false;
    QTest::newRow("another model with firmware 1.6 is accepted") << "Veltra K-40 V1.600" << false;
}

void CalibWriteTest::oldKxFirmwareIsRefused()
{
    QFETCH(QString, ident);
    QFETCH(bool, refused);
    SimRig rig;
    QVERIFY(rig.start({QStringLiteral("--ident"), ident}));
    // No password set: the gate opens without a question.
    QCOMPARE(rig.window->writeGate.check().step, WriteGate::Step::NoPassword);
    rig.choose(QDate(2024, 3, 1), true, QDate(2025, 3, 1));
    rig.ui.answers.enqueue(MsgResult::Yes);

    const Commands sent = writeCommands(rig.press());
    if (refused) {
        QCOMPARE(sent, Commands());
        QCOMPARE(rig.ui.texts(), (QStringList{Question, FirmwareTooOld, Failure}));
        QCOMPARE(rig.ui.boxes[1].icon, MsgIcon::Information);
    } else {
        QCOMPARE(sent, (Commands{"#R", "WR", "WW240301 250301", "EW1"}));
        QCOMPARE(rig.ui.texts(), (QStringList{Question, Success}));
    }
}

void CalibWriteTest::readBackWordsAreComparedAsNumbers_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("verdict");
    QTest::newRow("a date without its leading zero is the same date")
        << QByteArray("240115") << QByteArray("90105") << Success;
    QTest::newRow("an empty reply is no date") << QByteArray("240115") << QByteArray("") << Failure;
    QTest::newRow("a word that is not a number is no date")
        << QByteArray("240115") << QByteArray("09O105") << Failure;
    QTest::newRow("digits followed by text are no date")
        << QByteArray("240115") << QByteArray("090105x 010101") << Failure;
    QTest::newRow("the chosen expiration date missing from the read-back fails")
        << QByteArray("240115 250115") << QByteArray("090105") << Failure;
    QTest::newRow("both dates back, expiration without its leading zero")
        << QByteArray("240115 250115") << QByteArray("090105 91231") << Success;
}

void CalibWriteTest::readBackWordsAreComparedAsNumbers()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(QString, verdict);
    ScriptedRig rig;
    rig.instrument.answer("WR", {line(before), line(before), line(after)});
    rig.instrument.answer("WW090105 091231", {line("")});
    rig.instrument.answer("WW090105", {line("")});
    rig.instrument.answer("EW1", {line("")});
    rig.readAndPress();

    QVERIFY(rig.instrument.commands.contains("EW1"));
    QCOMPARE(rig.ui.texts(), (QStringList{Question, verdict}));
}

void CalibWriteTest::failedCommandIsReportedAndUnlocks_data()
{
    // An empty reply stands for silence.
    QTest::addColumn<QByteArrayList>("wrReplies");
    QTest::addColumn<QByteArray>("wwReply");
    QTest::addColumn<QByteArray>("ew1Reply");
    QTest::addColumn<QStringList>("boxes");
    const QByteArray held = line("240115");
    const QByteArray written = line("090105");
    const QByteArray ack = line("");
    QTest::newRow("a silent write names the whole command, then the check fails")
        << QByteArrayList{held} << QByteArray() << ack
        << QStringList{Question, transferError("WW090105"), Failure};
    QTest::newRow("a silent EW1 after a write that took, then the check succeeds")
        << QByteArrayList{held, held, written} << ack << QByteArray()
        << QStringList{Question, transferError("EW1"), Success};
    QTest::newRow("a silent check gives the error and no verdict")
        << QByteArrayList{held, held, written, QByteArray()} << ack << ack
        << QStringList{Question, transferError("WR")};
}

// A command that gets no reply fails after three attempts of two seconds each.
void CalibWriteTest::failedCommandIsReportedAndUnlocks()
{
    QFETCH(QByteArrayList, wrReplies);
    QFETCH(QByteArray, wwReply);
    QFETCH(QByteArray, ew1Reply);
    QFETCH(QStringList, boxes);
    ScriptedRig rig;
    rig.instrument.answer("WR", wrReplies);
    rig.instrument.answer("WW090105", {wwReply});
    rig.instrument.answer("EW1", {ew1Reply});
    rig.readAndPress();

    QCOMPARE(rig.ui.texts(), boxes);
    QVERIFY(rig.window.ComChange->isEnabled());
    QVERIFY(!rig.ui.busy);
}

// The serial number changed between the read and the write: nothing is written, and no verdict
// follows about an instrument the read-out does not show.
void CalibWriteTest::anotherInstrumentIsNotWritten()
{
    ScriptedRig rig;
    rig.instrument.answer("#R", {line("12345"), line(" 67890 ")});
    rig.instrument.answer("WR", {line("240115")});
    rig.readAndPress();

    QCOMPARE(rig.instrument.commands.mid(rig.instrument.commands.lastIndexOf("WR") + 1),
             (Commands{"t", "#R", "t"}));
    QCOMPARE(rig.ui.texts(),
             (QStringList{Question,
                          QStringLiteral("The instrument has changed since it was read (serial "
                                         "number 12345, now 67890). Read it again before "
                                         "changing its dates.")}));
    QCOMPARE(rig.ui.boxes.last().icon, MsgIcon::Stop);
    QVERIFY(rig.window.ComChange->isEnabled());
    QVERIFY(!rig.ui.busy);
}

// "&Read" and "&Change Calib Date..." stay disabled through the whole write, the read that
// follows it and the "WR" of the check included.
void CalibWriteTest::windowStaysLockedUntilTheVerdict()
{
    ScriptedRig rig;
    rig.instrument.answer("WR",
                          {line("240115 250115"), line("240115 250115"), line("090105 091231")});
    rig.instrument.answer("WW090105 091231", {line("")});
    rig.instrument.answer("EW1", {line("")});
    QList<bool> enabledAtCommand;
    const auto instrument = rig.comm.onWrite;
    rig.comm.onWrite = [&](const QByteArray &frame) {
        if (frame == "\n")
            enabledAtCommand.append(rig.window.ComRead->isEnabled()
                                    || rig.window.ComChange->isEnabled());
        instrument(frame);
    };
    rig.readAndPress();

    QCOMPARE(rig.instrument.commands.count("WR"), 4);
    QCOMPARE(enabledAtCommand.size(), rig.instrument.commands.size());
    QVERIFY(!enabledAtCommand.contains(true));
    QCOMPARE(rig.ui.texts(), (QStringList{Question, Success}));
    QVERIFY(rig.window.ComRead->isEnabled());
    QVERIFY(rig.window.ComChange->isEnabled());
}

void CalibWriteTest::verifiedWriteOffersItsLabel_data()
{
    QTest::addColumn<QStringList>("simArguments");
    QTest::addColumn<bool>("printAtOnce");
    QTest::addColumn<bool>("offered");
    QTest::addColumn<QString>("status");

    const QString noPrinter = QStringLiteral(
        "No label printed: no printer is set (Printer in section [Label] of the settings file).");
    QTest::newRow("a verified write enables Print Label")
        << QStringList() << false << true << QString();
    QTest::newRow("a write that did not read back offers no label")
        << QStringList{QStringLiteral("--ignore-writes")} << false << false << QString();
    QTest::newRow("PrintLabel=1 without a printer says so instead of asking")
        << QStringList() << true << true << noPrinter;
    QTest::newRow("PrintLabel=1 prints nothing after a write that did not read back")
        << QStringList{QStringLiteral("--ignore-writes")} << true << false << QString();
}

void CalibWriteTest::verifiedWriteOffersItsLabel()
{
    QFETCH(QStringList, simArguments);
    QFETCH(bool, printAtOnce);
    QFETCH(bool, offered);
    QFETCH(QString, status);
    SimRig rig;
    QVERIFY(rig.start(simArguments));
    QVERIFY(!rig.window->mnuPrintLabel->isEnabled());
    rig.window->ShowInfoPswMsg = 0;
    if (printAtOnce)
        QVERIFY(IniFile::writeString(IniFileName, QStringLiteral("Bench"),
                                     QStringLiteral("PrintLabel"), QStringLiteral("1")));
    rig.choose(QDate(2026, 12, 10), true, QDate(2027, 12, 10));
    rig.ui.answers.enqueue(MsgResult::Yes);
    rig.press();
    QCOMPARE(rig.ui.texts(), (QStringList{Question, offered ? Success : Failure}));
    QCOMPARE(rig.ui.dialogs, QStringList());
    QCOMPARE(rig.window->mnuPrintLabel->isEnabled(), offered);
    QCOMPARE(rig.window->statusBar()->currentMessage(), status);
    if (!offered)
        return;

    // No printer set: the print dialog chooses, here a PDF file.
    const QString pdf = rig.folder.filePath(QStringLiteral("label.pdf"));
    rig.ui.answerDialog<QPrintDialog>([&](QPrintDialog &dialog) {
        dialog.printer()->setOutputFileName(pdf);
        dialog.done(QDialog::Accepted);
    });
    rig.window->mnuPrintLabel->trigger();
    QCOMPARE(rig.ui.dialogs, QStringList{"QPrintDialog"});
    QVERIFY2(rig.window->statusBar()->currentMessage().endsWith(
                 QStringLiteral(" saved as %1.").arg(pdf)),
             qPrintable(rig.window->statusBar()->currentMessage()));
    QVERIFY(QFile(pdf).size() > 0);
}

QTEST_MAIN(CalibWriteTest)
#include "tst_calibwrite.moc"
