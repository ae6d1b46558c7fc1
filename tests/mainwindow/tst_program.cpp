// The program itself: a copy alone in a folder of its own runs there, reads the instrument on its
// configured port, a second start from that folder ends at once, and a request to end from
// outside (a signal) closes the port and leaves no file of the single-instance guard behind.

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
QString portableCopy(const QTemporaryDir &folder, SimInstrument &sim, const QStringList &simArguments)
{
    const QString program = folder.filePath(QStringLiteral("veltra-setcalibdate"));
    const QString ini = folder.filePath(QStringLiteral("VeltraSetCheckDate.ini"));
    QFile file(ini);
    if (!QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/veltra-setcalibdate"),
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
    return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
}

// The simulator's log with its comment lines, where it notes a client closing the port.
QByteArray logText(const SimInstrument &sim)
{
    QFile file(sim.logPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

enum class Moment { AfterTheRead, InsideATransfer };

} // namespace

Q_DECLARE_METATYPE(Moment)

class Program : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (SimInstrument::simulatorPath().isEmpty())
            QSKIP("VELTRA_SIM is not set: the virtual instrument is needed");
    }

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
        const QStringList simArguments = moment == Moment::InsideATransfer
                                             ? QStringList{QStringLiteral("--no-reply")}
                                             : QStringList();
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
        else
            QTRY_VERIFY_WITH_TIMEOUT(!sim.commands().isEmpty(), WaitMsecs);
        // The socket and the lock file.
        QCOMPARE(entriesOf(runtime.path()).size(), 2);

        QCOMPARE(::kill(pid_t(process.processId()), signal), 0);
        QVERIFY(process.waitForFinished(WaitMsecs));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(entriesOf(runtime.path()), QStringList());
        QTRY_VERIFY_WITH_TIMEOUT(logText(sim).contains("client closed the port"), WaitMsecs);
    }
};

QTEST_GUILESS_MAIN(Program)
#include "tst_program.moc"
