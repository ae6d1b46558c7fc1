// The main window against the virtual instrument: the connection at start, the port search and
// the read-out.

#include "filebytes.h"
#include "frmveltra.h"
#include "programpaths.h"
#include "qtserialcontrol.h"
#include "scriptedserialcontrol.h"
#include "scriptedui.h"
#include "siminstrument.h"
#include "testclock.h"

#include <QAccessible>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

constexpr int StartMsecs = 30000;

// Records each text the wait panel painted, once per change.
class PanelPaints : public QObject
{
public:
    explicit PanelPaints(QLabel *panel) : m_panel(panel) { panel->installEventFilter(this); }
    QStringList texts;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_panel && event->type() == QEvent::Paint
            && (texts.isEmpty() || texts.last() != m_panel->text()))
            texts.append(m_panel->text());
        return false;
    }

private:
    QLabel *m_panel;
};

// A program folder with a settings file, simulators registered as ports in it, and the window
// on the real serial control (with no system ports, so only the simulators have numbers).
class Rig
{
public:
    QTemporaryDir programFolder;

    explicit Rig(const QByteArray &ini)
    {
        setProgramPaths(programFolder.path());
        QFile file(IniFileName);
        if (file.open(QIODevice::WriteOnly))
            file.write(ini);
    }

    bool addSim(int portNo, const QStringList &arguments)
    {
        auto sim = std::make_unique<SimInstrument>();
        const bool started = sim->start(arguments, portNo, IniFileName);
        if (!started)
            qWarning() << sim->errorText();
        sims.push_back(std::move(sim));
        return started;
    }

    // A start that meets a silent instrument runs the window's clock four times as fast, so the
    // silent port's time limits pass in a quarter of the time; a simulator that answers still
    // gives its prompt within milliseconds.
    frmVeltra &startWindow(double clockSpeed = 1)
    {
        clock = std::make_unique<TestClock>(36000, clockSpeed);
        comm = std::make_unique<QtSerialControl>([] { return QList<SystemPort>(); });
        window = std::make_unique<frmVeltra>(*comm, *clock);
        window->setEndProgram([this] {
            ++endings;
            portOpenAtEnd = comm->openState();
        });
        window->show();
        window->Form_Load();
        return *window;
    }

    bool finished() const
    {
        return window->ComRead->isEnabled() && !window->TimerStart->isActive();
    }

    ScriptedUi ui;
    std::vector<std::unique_ptr<SimInstrument>> sims;
    std::unique_ptr<TestClock> clock;
    std::unique_ptr<QtSerialControl> comm;
    std::unique_ptr<frmVeltra> window;
    int endings = 0;
    bool portOpenAtEnd = false;
};

const QString QuestionFor3 =
    QStringLiteral("Veltra not found (com port 3) !\r\rSearch Veltra on com ports?");

PortDiagnosis diagnosis(PortProblem problem, const QString &sentence)
{
    return {problem, {sentence}};
}

const QString TransferErrorV =
    QStringLiteral("Data transfer to instrument fails (V) !\nPlease check connection cable,\n"
                   "Com port (Selection!) and device status !");

} // namespace

class MainWindowStart : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        SKIP_WITHOUT_SIMULATOR();
        // Literal dates and numbers below are in this locale's short form.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void instrumentOnTheConfiguredPort()
    {
        Rig rig("[Appl]\nComPort=3\n");
        QVERIFY(rig.addSim(3, {}));
        const QByteArray settingsBefore = fileBytes(IniFileName);
        frmVeltra &w = rig.startWindow();
        QTRY_VERIFY_WITH_TIMEOUT(rig.finished(), StartMsecs);

        QCOMPARE(rig.ui.texts(), QStringList());
        QCOMPARE(w.windowTitle(), QStringLiteral("Veltra K-40"));
        QCOMPARE(w.Frame1->title(), QStringLiteral("Veltra K-40"));
        QCOMPARE(w.LabelSerialNo->text(), QStringLiteral("12345"));
        QCOMPARE(w.LabelVer->text(), QStringLiteral("Veltra K-40"));
        QCOMPARE(w.LabelBatt->text(), QStringLiteral("3.7 V"));
        QCOMPARE(w.LabelCheckSum->text(), QStringLiteral("3A7F1C"));
        QVERIFY(w.LabelCheckSum->isEnabled());
        QCOMPARE(w.LabelCalDate[0]->text(), QStringLiteral("1/15/24"));
        QCOMPARE(w.LabelCalDate[1]->text(), QStringLiteral("1/15/25"));
        QVERIFY(w.PictureWait->isHidden());
        QVERIFY(!rig.ui.busy);
        QCOMPARE(fileBytes(IniFileName), settingsBefore);
        QCOMPARE(w.StartComPort, qint16(3));
    }

    void readOutRowsAreLabelledByTheirCaptions()
    {
        Rig rig("[Appl]\nComPort=1\n");
        QVERIFY(rig.addSim(1, {}));
        frmVeltra &w = rig.startWindow();
        QTRY_VERIFY_WITH_TIMEOUT(rig.finished(), StartMsecs);

        const QList<QPair<QLabel *, QLabel *>> rows{
            {w.PanelSerialNo, w.LabelSerialNo}, {w.PanelVer, w.LabelVer},
            {w.PanelBatt, w.LabelBatt},         {w.PanelCheckSum, w.LabelCheckSum},
            {w.Label1[2], w.LabelCalDate[0]},   {w.Label1[3], w.LabelCalDate[1]}};
        for (const auto &[caption, value] : rows) {
            QCOMPARE(caption->buddy(), value);
            QAccessibleInterface *valueInterface = QAccessible::queryAccessibleInterface(value);
            QVERIFY(valueInterface);
            QCOMPARE(valueInterface->text(QAccessible::Name), value->text());
            // The caption labels the value (the frame around them labels it as well).
            QStringList labelNames;
            for (const auto &[label, relation] : valueInterface->relations(QAccessible::Label))
                labelNames.append(label->text(QAccessible::Name));
            QVERIFY2(labelNames.contains(caption->text()), qPrintable(labelNames.join(u'|')));
            QVERIFY(value->focusPolicy() & Qt::TabFocus);
        }
        QCOMPARE(QAccessible::queryAccessibleInterface(w.LabelSerialNo)->text(QAccessible::Name),
                 QStringLiteral("12345"));

        // The keyboard reaches the serial number from the caption row before it.
        w.activateWindow();
        w.LabelSerialNo->setFocus();
        QTRY_VERIFY(w.LabelSerialNo->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.LabelVer);
    }

    void searchFindsTheInstrumentOnAnotherPort()
    {
        Rig rig("[Appl]\nComPort=3\n");
        QVERIFY(rig.addSim(3, {QStringLiteral("--silent")}));
        QVERIFY(rig.addSim(7, {}));
        rig.ui.answers.append(MsgResult::Yes);
        frmVeltra &w = rig.startWindow(4);
        PanelPaints paints(w.PanelWait);
        QTRY_VERIFY_WITH_TIMEOUT(rig.finished(), 3 * StartMsecs);

        QCOMPARE(rig.ui.boxes.size(), 1);
        const MessageRequest &question = rig.ui.boxes.first();
        QCOMPARE(question.text,
                 QStringLiteral("Veltra not found (com port 3) !\r\rSearch Veltra on com ports?"));
        QCOMPARE(question.title, QStringLiteral("Veltra"));
        QCOMPARE(question.icon, MsgIcon::Question);
        QCOMPARE(question.buttons, MsgButtons::YesNo);
        QCOMPARE(question.defaultButton, MsgResult::No);

        const QStringList searched = paints.texts.filter(QStringLiteral("Search on com port"));
        QCOMPARE(searched,
                 (QStringList{"Search on com port 1 ...", "Search on com port 2 ...",
                              "Search on com port 3 ...", "Search on com port 4 ...",
                              "Search on com port 5 ...", "Search on com port 6 ...",
                              "Search on com port 7 ..."}));
        QCOMPARE(w.LabelSerialNo->text(), QStringLiteral("12345"));
        QCOMPARE(readAppSetting(QStringLiteral("ComPort"), QString()), QStringLiteral("7"));
        QCOMPARE(w.link().settings().ComPortNo, qint16(7));
        QVERIFY(w.PictureWait->isHidden());
    }

    void declinedSearchReportsOneTransferError()
    {
        Rig rig("[Appl]\nComPort=3\n");
        QVERIFY(rig.addSim(3, {QStringLiteral("--silent")}));
        rig.ui.answers.append(MsgResult::No);
        const QByteArray settingsBefore = fileBytes(IniFileName);
        frmVeltra &w = rig.startWindow(4);
        QTRY_VERIFY_WITH_TIMEOUT(rig.finished(), StartMsecs);

        QCOMPARE(rig.ui.boxes.size(), 2);
        QCOMPARE(rig.ui.texts().count(TransferErrorV), 1);
        QVERIFY(!rig.ui.busy);
        QVERIFY(w.mnuFile->isEnabled());
        QCOMPARE(w.LabelSerialNo->text(), QString());
        QCOMPARE(w.LabelCalDate[0]->text(), QString());
        QCOMPARE(w.link().settings().ComPortNo, qint16(3));
        QVERIFY(rig.comm->openState());
        QCOMPARE(fileBytes(IniFileName), settingsBefore);
    }

    void portHeldByAnotherProgramExplainsTheQuestion()
    {
        Rig rig("[Appl]\nComPort=3\n");
        QVERIFY(rig.addSim(3, {}));
        const QString device = rig.sims.front()->devicePath();
        QProcess holder;
        holder.start(QCoreApplication::applicationDirPath() + QStringLiteral("/port-holder"),
                     {device});
        QVERIFY(holder.waitForReadyRead(10000));
        QCOMPARE(holder.readLine(), QByteArray("open\n"));
        rig.ui.answers.append(MsgResult::No);
        rig.startWindow();
        QTRY_VERIFY_WITH_TIMEOUT(rig.finished(), StartMsecs);

        QCOMPARE(rig.ui.texts(), (QStringList{QuestionFor3, TransferErrorV}));
        const QString details = rig.ui.boxes.first().detailedText;
        QVERIFY2(details.startsWith(QStringLiteral("Com port 3 (%1) is in use by port-holder "
                                                   "(process %2): close that program or choose "
                                                   "another port.\n")
                                        .arg(device)
                                        .arg(holder.processId())),
                 qPrintable(details));
        // The transfer error after a declined search has nothing to add.
        QCOMPARE(rig.ui.boxes.last().detailedText, QString());
        holder.closeWriteChannel();
        QVERIFY(holder.waitForFinished(10000));
    }

    void searchOfRefusedPorts_data()
    {
        QTest::addColumn<PortProblem>("otherPortProblem");
        QTest::addColumn<bool>("explained");
        QTest::newRow("every port refused for permission: the transfer error says why")
            << PortProblem::NoPermission << true;
        QTest::newRow("a port in use besides: the transfer error has no details")
            << PortProblem::Busy << false;
    }
    void searchOfRefusedPorts()
    {
        QFETCH(PortProblem, otherPortProblem);
        QFETCH(bool, explained);
        QTemporaryDir folder;
        setProgramPaths(folder.path());
        QVERIFY(writeFileBytes(IniFileName, "[Appl]\nComPort=3\n"));
        ScriptedUi ui;
        ui.answers.append(MsgResult::Yes);
        ScriptedSerialControl comm;
        comm.portsPresent = {2, 3};
        comm.refusedPorts = {2, 3};
        const PortDiagnosis configured =
            diagnosis(PortProblem::NoPermission,
                      QStringLiteral("Com port 3 (/dev/ttyS2) may not be opened "
                                     "by account alice: join group dialout."));
        comm.diagnoses[2] = diagnosis(otherPortProblem, QStringLiteral("Com port 2: refused."));
        comm.diagnoses[3] = configured;
        frmVeltra window(comm);
        window.show();
        window.Form_Load();
        QTRY_VERIFY_WITH_TIMEOUT(window.ComRead->isEnabled() && !window.TimerStart->isActive(),
                                 StartMsecs);

        QCOMPARE(ui.texts(), (QStringList{QuestionFor3, TransferErrorV}));
        QCOMPARE(ui.boxes.first().detailedText, configured.text());
        QCOMPARE(ui.boxes.last().detailedText, explained ? configured.text() : QString());
    }

    void readOut_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("calibration");
        QTest::addColumn<QString>("expiration");
        QTest::addColumn<bool>("expirationRows");
        QTest::addColumn<int>("changeTop");
        QTest::addColumn<QString>("checksum");

        QTest::newRow("two dates show the expiration rows")
            << QStringList{"--dates", "100921 110921"} << "9/21/10"
            << "9/21/11" << true << 138 << "3A7F1C";
        QTest::newRow("one date hides the expiration rows and moves the button up")
            << QStringList{"--dates", "100921"} << "9/21/10"
            << "" << false << 80 << "3A7F1C";
        QTest::newRow("month 13 rolls over into January")
            << QStringList{"--dates", "101301 110921"} << "1/1/11"
            << "9/21/11" << true << 138 << "3A7F1C";
        QTest::newRow("firmware 1.205 shows no checksum")
            << QStringList{"--ident", "Veltra K-40 V1.205"} << "1/15/24"
            << "1/15/25" << true << 138 << "";
        QTest::newRow("a point in the checksum field takes the five characters before it")
            << QStringList{"--ident-ex", "K-40 ABCDE 1.610"} << "1/15/24"
            << "1/15/25" << true << 138 << "ABCDE";
    }
    void readOut()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, calibration);
        QFETCH(QString, expiration);
        QFETCH(bool, expirationRows);
        QFETCH(int, changeTop);
        QFETCH(QString, checksum);

        Rig rig("[Appl]\nComPort=2\n");
        QVERIFY(rig.addSim(2, arguments));
        frmVeltra &w = rig.startWindow();
        QTRY_VERIFY_WITH_TIMEOUT(rig.finished(), StartMsecs);

        QCOMPARE(rig.ui.texts(), QStringList());
        QCOMPARE(w.LabelCalDate[0]->text(), calibration);
        QCOMPARE(w.LabelCalDate[1]->text(), expiration);
        for (QWidget *control : std::initializer_list<QWidget *>{
                 w.CheckStatus, w.DTPicker1[1], w.LabelCalDate[1], w.Label1[1], w.Label1[3]})
            QCOMPARE(control->isVisible(), expirationRows);
        QCOMPARE(w.ComChange->y(), changeTop);
        // Every expiration date here has passed: it shows in red with "expired" below it.
        QCOMPARE(w.LabelExpiry->text(), expirationRows ? QStringLiteral("expired") : QString());
        QCOMPARE(w.LabelExpiry->isVisible(), expirationRows);
        if (expirationRows)
            QCOMPARE(w.LabelCalDate[1]->palette().color(QPalette::WindowText),
                     frmVeltra::ExpiredText);
        QCOMPARE(w.LabelCheckSum->text(), checksum);
        QCOMPARE(w.LabelCheckSum->isEnabled(), !checksum.isEmpty());
        QCOMPARE(w.PanelCheckSum->isEnabled(), !checksum.isEmpty());

        // The box only ever shows the expiration rows of an instrument that keeps a date.
        w.CheckStatus->setChecked(true);
        w.CheckStatus->click();
        QVERIFY(w.Label1[1]->isHidden());
        w.CheckStatus_Click(1);
        QCOMPARE(w.Label1[1]->isVisible(), expirationRows);
        QCOMPARE(w.DTPicker1[1]->isVisible(), expirationRows);
    }

    void failedDateReadAsksToTerminate_data()
    {
        QTest::addColumn<MsgResult>("answer");
        QTest::newRow("the user stays: the dates are cleared") << MsgResult::No;
        QTest::newRow("the user quits: the port is closed first") << MsgResult::Yes;
    }
    void failedDateReadAsksToTerminate()
    {
        QFETCH(MsgResult, answer);
        Rig rig("[Appl]\nComPort=1\n");
        // The identification takes eight commands ("V" and "t", "V", "Vx", "#R", "t", "Ux", "t");
        // the instrument vanishes on the ninth, "WR".
        QVERIFY(rig.addSim(1, {QStringLiteral("--hangup-after"), QStringLiteral("8")}));
        rig.ui.answers.append({MsgResult::Ok, answer});
        frmVeltra &w = rig.startWindow();
        w.LabelCalDate[0]->setText(QStringLiteral("old"));
        w.LabelCalDate[1]->setText(QStringLiteral("old"));
        QTRY_VERIFY_WITH_TIMEOUT(rig.finished(), StartMsecs);

        QCOMPARE(rig.ui.boxes.size(), 2);
        QVERIFY(rig.ui.boxes[0].text.startsWith(
            QStringLiteral("Data transfer to instrument fails (WR) !")));
        QCOMPARE(rig.ui.boxes[1].text, QStringLiteral("Terminate program ?"));
        QCOMPARE(rig.ui.boxes[1].title, QStringLiteral("Veltra K-40"));
        QCOMPARE(rig.ui.boxes[1].defaultButton, MsgResult::Yes);
        if (answer == MsgResult::No) {
            QCOMPARE(rig.endings, 0);
            QVERIFY(w.isVisible());
            QCOMPARE(w.LabelCalDate[0]->text(), QString());
            QCOMPARE(w.LabelCalDate[1]->text(), QString());
            QVERIFY(w.CheckStatus->isHidden());
        } else {
            QCOMPARE(rig.endings, 1);
            QVERIFY(!rig.portOpenAtEnd);
        }
    }
};

QTEST_MAIN(MainWindowStart)
#include "tst_mainwindowstart.moc"
