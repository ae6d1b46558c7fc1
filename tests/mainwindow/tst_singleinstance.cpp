// One running copy per user and program folder, with two real processes.

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

constexpr int WaitMsecs = 10000;

// One copy of the guarded program, started through the test helper.
class Copy
{
public:
    explicit Copy(const QString &folder)
    {
        m_process.start(QCoreApplication::applicationDirPath()
                            + QStringLiteral("/mainwindow-testhelper"),
                        {QStringLiteral("instance"), folder});
    }
    ~Copy()
    {
        m_process.kill();
        m_process.waitForFinished(WaitMsecs);
    }

    bool waitForLine(const QByteArray &line)
    {
        QDeadlineTimer deadline(WaitMsecs);
        while (!m_output.contains(line + '\n') && !deadline.hasExpired()) {
            m_process.waitForReadyRead(50);
            m_output += m_process.readAllStandardOutput();
            if (m_process.state() == QProcess::NotRunning) {
                m_output += m_process.readAllStandardOutput();
                break;
            }
        }
        return m_output.contains(line + '\n');
    }
    bool waitForEnd() { return m_process.waitForFinished(WaitMsecs); }
    void crash()
    {
        m_process.kill();
        m_process.waitForFinished(WaitMsecs);
    }

    QProcess &process() { return m_process; }
    QByteArray output()
    {
        m_output += m_process.readAllStandardOutput();
        return m_output;
    }

private:
    QProcess m_process;
    QByteArray m_output;
};

} // namespace

class SingleInstanceGuard : public QObject
{
    Q_OBJECT
private slots:
    void secondCopyRaisesTheFirstAndEnds()
    {
        QTemporaryDir folder;
        Copy first(folder.path());
        QVERIFY(first.waitForLine("running"));

        Copy second(folder.path());
        QVERIFY(second.waitForEnd());
        QCOMPARE(second.process().exitCode(), 0);
        QCOMPARE(second.output(), QByteArray());
        QVERIFY(first.waitForLine("activated"));
    }

    void theSameFolderByAnotherPathIsTheSameProgram()
    {
        QTemporaryDir folder;
        Copy first(folder.path());
        QVERIFY(first.waitForLine("running"));

        Copy second(folder.path() + QStringLiteral("/./"));
        QVERIFY(second.waitForEnd());
        QCOMPARE(second.output(), QByteArray());
    }

    void copiesInOtherFoldersRunOnTheirOwn()
    {
        QTemporaryDir folderA;
        QTemporaryDir folderB;
        Copy first(folderA.path());
        QVERIFY(first.waitForLine("running"));
        Copy other(folderB.path());
        QVERIFY(other.waitForLine("running"));
        QCOMPARE(other.process().state(), QProcess::Running);
        QVERIFY(!first.output().contains("activated"));
    }

    void aCrashedCopyDoesNotBlockTheNextStart()
    {
        QTemporaryDir folder;
        {
            Copy crashed(folder.path());
            QVERIFY(crashed.waitForLine("running"));
            crashed.crash();
        }
        Copy next(folder.path());
        QVERIFY(next.waitForLine("running"));
        Copy later(folder.path());
        QVERIFY(later.waitForEnd());
        QVERIFY(next.waitForLine("activated"));
    }
};

QTEST_GUILESS_MAIN(SingleInstanceGuard)
#include "tst_singleinstance.moc"
