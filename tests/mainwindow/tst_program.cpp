// The program itself: a copy alone in a folder of its own runs there, reads the instrument on its
// configured port, a second start from that folder ends at once, and a request to end from
// outside (a signal) closes the port and leaves no file of the single-instance guard behind.

#include "filebytes.h"
#include "siminstrument.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

constexpr int WaitMsecs = 20000;

// True once the simulator answered "WR" and the status query after it: the read is complete.
bool readComplete(const SimInstrument &sim)
{
    const QList<QByteArray> commands = sim.commands();
    for (qsizetype i = 0; i < commands.size(); ++i) {
        if (commands[i].contains("WR"))
            return i + 1 < commands.size() && sim.sent().size() >= commands.size() * 2;
    }
    return false;
}

// Copies the program alone into folder with a settings file naming COM1, and starts the simulator
// as that port. Returns the copy's path, empty on failure.
QString portableCopy(const QTemporaryDir &folder, SimInstrument &sim,
                     const QStringList &simArguments)
{
    const QString program = folder.filePath(QStringLiteral("veltra-setcalibdate"));
    const QString ini = folder.filePath(QStringLiteral("VeltraSetCheckDate.ini"));
    QFile file(ini);
    if (!QFile::copy(QCoreApplication::applicationDirPath()
                         + QStringLiteral("/veltra-setcalibdate"),
                     program)
        || !file.open(QIODevice::WriteOnly) || file.write("[Appl]\nComPort=1\n") < 0) {
        return {};
    }
    file.close();
    if (!sim.start(simArguments, 1, ini)) {
        qWarning() << sim.errorText();
        return {};
    }
    return program;
}

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden
                                  | QDir::NoDotAndDotDot);
}

enum class Moment { AfterTheRead, InsideATransfer, WhileThePromptIsAwaited };

} // namespace

Q_DECLARE_METATYPE(Moment)

class Program : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { SKIP_WITHOUT_SIMULATOR(); }

    void portableCopyReadsAndKeepsOneInstance()
    {
        QTemporaryDir folder;
        SimInstrument sim;
        const QString program = portableCopy(folder, sim, {});
        QVERIFY(!program.isEmpty());

        QProcess first;
        first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        first.start(program, {});
        QTRY_VERIFY_WITH_TIMEOUT(readComplete(sim), WaitMsecs);
        const qsizetype framesAfterRead = sim.frames().size();

        QProcess second;
        second.start(program, {});
        QVERIFY(second.waitForFinished(WaitMsecs));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);
        QCOMPARE(sim.frames().size(), framesAfterRead);

        first.kill();
        QVERIFY(first.waitForFinished(WaitMsecs));
    }

    void signalEndsCleanly_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<Moment>("moment");
        QTest::newRow("SIGTERM after the start-up read") << SIGTERM << Moment::AfterTheRead;
        QTest::newRow("SIGINT after the start-up read") << SIGINT << Moment::AfterTheRead;
        QTest::newRow("SIGHUP after the start-up read") << SIGHUP << Moment::AfterTheRead;
        QTest::newRow("SIGTERM while a transfer waits for its reply")
            << SIGTERM << Moment::InsideATransfer;
        // The prompt wait blocks without processing events: the signal is acted on only after
        // it, and the attempts that would follow must not reach the line in between.
        QTest::newRow("SIGTERM while the prompt is awaited")
            << SIGTERM << Moment::WhileThePromptIsAwaited;
    }
    // A logout or a kill: the port is closed, the process ends with status 0, and neither the
    // guard's socket nor its lock file stays in the user's runtime folder.
    void signalEndsCleanly()
    {
        QFETCH(int, signal);
        QFETCH(Moment, moment);
        QTemporaryDir folder;
        QTemporaryDir runtime;
        SimInstrument sim;
        QStringList simArguments;
        if (moment == Moment::InsideATransfer)
            simArguments << QStringLiteral("--no-reply");
        else if (moment == Moment::WhileThePromptIsAwaited)
            simArguments << QStringLiteral("--silent");
        const QString program = portableCopy(folder, sim, simArguments);
        QVERIFY(!program.isEmpty());

        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(program, {});
        if (moment == Moment::AfterTheRead)
            QTRY_VERIFY_WITH_TIMEOUT(readComplete(sim), WaitMsecs);
        else if (moment == Moment::InsideATransfer)
            QTRY_VERIFY_WITH_TIMEOUT(!sim.commands().isEmpty(), WaitMsecs);
        else
            QVERIFY(sim.waitForFrames(SimFrame::Direction::Received, 1, WaitMsecs));
        // The socket and the lock file.
        QCOMPARE(entriesOf(runtime.path()).size(), 2);

        // At most one frame may be on its way while the log is read and the signal sent.
        const qsizetype receivedAtSignal = sim.received().size();
        QCOMPARE(::kill(pid_t(process.processId()), signal), 0);
        QVERIFY(process.waitForFinished(WaitMsecs));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(entriesOf(runtime.path()), QStringList());
        QTRY_VERIFY_WITH_TIMEOUT(fileBytes(sim.logPath()).contains("client closed the port"),
                                 WaitMsecs);
        QVERIFY2(sim.received().size() <= receivedAtSignal + 1, sim.received().join(' '));
    }
};

QTEST_GUILESS_MAIN(Program)
#include "tst_program.moc"
