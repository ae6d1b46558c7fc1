// The reason a port does not open, told by a process of its own: beside a live process that holds
// the port, and run as an account that may not open the device.

#include "siminstrument.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int ProcessMsecs = 30000;

QString beside(const QString &name)
{
    return QCoreApplication::applicationDirPath() + u'/' + name;
}

// Runs the opening to its end; its standard error, one sentence per line.
QStringList open(QProcess &opener, const QString &program, const QStringList &arguments)
{
    opener.start(program, arguments);
    if (!opener.waitForFinished(ProcessMsecs))
        return {QStringLiteral("the opening did not end")};
    return QString::fromLocal8Bit(opener.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

class TestPortOpenProcess : public QObject
{
    Q_OBJECT
private slots:
    void portHeldByALiveProcessNamesIt()
    {
        SKIP_WITHOUT_SIMULATOR();
        SimInstrument sim;
        QVERIFY2(sim.start({}), qPrintable(sim.errorText()));
        QProcess holder;
        holder.start(beside(QStringLiteral("port-holder")), {sim.devicePath()});
        QVERIFY(holder.waitForReadyRead(ProcessMsecs));
        QCOMPARE(holder.readLine(), QByteArray("open\n"));

        QProcess opener;
        const QStringList sentences =
            open(opener, beside(QStringLiteral("port-opener")), {sim.devicePath()});
        QCOMPARE(opener.exitCode(), 2);
        QCOMPARE(sentences.value(0),
                 QStringLiteral("Com port 1 (%1) is in use by port-holder (process %2): close that "
                                "program or choose another port.")
                     .arg(sim.devicePath())
                     .arg(holder.processId()));
        QVERIFY2(sentences.value(1).startsWith(
                     QStringLiteral("Process %1 holds the lock file ").arg(holder.processId())),
                 qPrintable(sentences.join(u'\n')));

        holder.closeWriteChannel();
        QVERIFY(holder.waitForFinished(ProcessMsecs));
    }

    void deviceRefusedToTheAccountNamesOwnerGroupAndMode()
    {
        if (::geteuid() != 0)
            QSKIP("runs the opening as the account nobody, which needs root");
        QTemporaryDir folder;
        QCOMPARE(::chmod(QFile::encodeName(folder.path()).constData(), 0755), 0);
        const QString device = folder.filePath(QStringLiteral("ttyVeltra"));
        QFile file(device);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QCOMPARE(::chmod(QFile::encodeName(device).constData(), 0600), 0);

        QProcess opener;
        const QStringList sentences = open(
            opener, QStringLiteral("setpriv"),
            {"--reuid=65534", "--regid=65534", "--clear-groups", beside("port-opener"), device});
        QCOMPARE(opener.exitCode(), 2);
        QCOMPARE(sentences.size(), 2);
        QVERIFY2(sentences[0].startsWith(QStringLiteral("Com port 1 (%1) may not be opened by "
                                                        "account nobody")
                                             .arg(device)),
                 qPrintable(sentences[0]));
        QVERIFY2(sentences[1].startsWith(QStringLiteral("The device %1 belongs to owner root and "
                                                        "group root with mode 0600 (rw-------); "
                                                        "this program runs as account nobody (uid "
                                                        "65534)")
                                             .arg(device)),
                 qPrintable(sentences[1]));
    }
};

QTEST_GUILESS_MAIN(TestPortOpenProcess)
#include "tst_portopenprocess.moc"
