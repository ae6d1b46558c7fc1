// The program itself: a copy alone in a folder of its own runs there, reads the instrument on its
// configured port, and a second start from that folder ends at once.

#include "siminstrument.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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

} // namespace

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
        const QString program = folder.filePath(QStringLiteral("veltra-setcalibdate"));
        QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/veltra-setcalibdate"),
                            program));
        const QString ini = folder.filePath(QStringLiteral("VeltraSetCheckDate.ini"));
        QFile file(ini);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Appl]\nComPort=1\n");
        file.close();
        SimInstrument sim;
        QVERIFY2(sim.start({}, 1, ini), qPrintable(sim.errorText()));

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
};

QTEST_GUILESS_MAIN(Program)
#include "tst_program.moc"
