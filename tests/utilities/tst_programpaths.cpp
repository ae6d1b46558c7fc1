#include "programpaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestProgramPaths : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void writableProgramFolderKeepsTheSettings_data();
    void writableProgramFolderKeepsTheSettings();
    void folderThatCannotExistFallsBackToConfigFolder();
    void readOnlyProgramFolderFallsBackAndCopiesItsFiles();
    void installedCopyKeepsItsFilesPerUser_data();
    void installedCopyKeepsItsFilesPerUser();
    void appSettingsLiveInSectionAppl();

private:
    QString configFolder() const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestProgramPaths::initTestCase()
{
    // Keeps the per-user folder of the tests away from the real one.
    QStandardPaths::setTestModeEnabled(true);
}

void TestProgramPaths::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QDir(configFolder()).removeRecursively();
}

QString TestProgramPaths::configFolder() const
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

void TestProgramPaths::writableProgramFolderKeepsTheSettings_data()
{
    QTest::addColumn<QString>("suffix");

    QTest::newRow("a folder without separator gets one") << QString();
    QTest::newRow("a folder ending in a separator gets no second one") << QStringLiteral("/");
}

void TestProgramPaths::writableProgramFolderKeepsTheSettings()
{
    QFETCH(QString, suffix);

    const QString expected = QDir::toNativeSeparators(m_dir->path()) + QDir::separator();
    QCOMPARE(settingsFolderFor(m_dir->path() + suffix), expected);
    setProgramPaths(m_dir->path() + suffix);
    QCOMPARE(PrgPath, expected);
    QCOMPARE(IniFileName, expected + QStringLiteral("VeltraSetCheckDate.ini"));
}

void TestProgramPaths::folderThatCannotExistFallsBackToConfigFolder()
{
    // Below a regular file no folder can be created, whoever runs the test.
    QFile blocker(m_dir->filePath(QStringLiteral("program")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    const QString folder = settingsFolderFor(m_dir->filePath(QStringLiteral("program/bin")));
    QCOMPARE(folder, QDir::toNativeSeparators(configFolder()) + QDir::separator());
    QVERIFY(QFileInfo(folder).isDir());
}

void TestProgramPaths::readOnlyProgramFolderFallsBackAndCopiesItsFiles()
{
    const QString programFolder = m_dir->filePath(QStringLiteral("program"));
    QVERIFY(QDir().mkdir(programFolder));
    QFile shipped(programFolder + QStringLiteral("/VeltraSetCheckDate.ini"));
    QVERIFY(shipped.open(QIODevice::WriteOnly));
    shipped.write("[Appl]\r\nComPort=4\r\n");
    shipped.close();
    QFile shippedPassword(programFolder + QStringLiteral("/VeltraSetCalibDate.psw"));
    QVERIFY(shippedPassword.open(QIODevice::WriteOnly));
    shippedPassword.write(QByteArray(81, '\x55'));
    shippedPassword.close();
    QVERIFY(QFile::setPermissions(programFolder, QFile::ReadOwner | QFile::ExeOwner));
    const auto restore = qScopeGuard([&programFolder] {
        QFile::setPermissions(programFolder,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    if (QFileInfo(programFolder).isWritable())
        QSKIP("This user writes into read-only folders (root), so the folder always keeps the "
              "settings.");

    setProgramPaths(programFolder);
    QCOMPARE(PrgPath, QDir::toNativeSeparators(configFolder()) + QDir::separator());
    QCOMPARE(readAppSetting(QStringLiteral("ComPort"), QStringLiteral("1")), QStringLiteral("4"));
    // A password shipped beside a read-only installation stays in force.
    QFile ownPassword(PrgPath + QStringLiteral("VeltraSetCalibDate.psw"));
    QVERIFY(ownPassword.open(QIODevice::ReadOnly));
    QCOMPARE(ownPassword.readAll(), QByteArray(81, '\x55'));
    ownPassword.close();
    QVERIFY(writeAppSetting(QStringLiteral("ComPort"), QStringLiteral("5")));
    QCOMPARE(readAppSetting(QStringLiteral("ComPort"), QStringLiteral("1")), QStringLiteral("5"));

    // The next start keeps the user's own file.
    setProgramPaths(programFolder);
    QCOMPARE(readAppSetting(QStringLiteral("ComPort"), QStringLiteral("1")), QStringLiteral("5"));
}

void TestProgramPaths::installedCopyKeepsItsFilesPerUser_data()
{
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<QString>("installBinFolder");
    QTest::addColumn<bool>("desktopEntry");
    QTest::addColumn<bool>("installed");

    QTest::newRow("the program in the install's binary folder") << "usr/bin"
                                                                << "usr/bin" << false << true;
    QTest::newRow("the install's binary folder written another way")
        << "usr/bin"
        << "usr/share/../bin/" << false << true;
    QTest::newRow("the program reached through a link to the install's binary folder")
        << "bin"
        << "usr/bin" << false << true;
    QTest::newRow("the program beside its install's desktop entry, installed to another prefix")
        << "usr/bin"
        << "opt/bin" << true << true;
    QTest::newRow("the program in a prefix without its desktop entry")
        << "usr/bin"
        << "opt/bin" << false << false;
    QTest::newRow("a portable copy elsewhere") << "portable"
                                               << "usr/bin" << true << false;
}

void TestProgramPaths::installedCopyKeepsItsFilesPerUser()
{
    QFETCH(QString, programFolder);
    QFETCH(QString, installBinFolder);
    QFETCH(bool, desktopEntry);
    QFETCH(bool, installed);

    // Every folder is writable here, so only the installed decision can send the files away.
    const QDir root(m_dir->path());
    QVERIFY(root.mkpath(QStringLiteral("usr/bin")));
    QVERIFY(root.mkpath(QStringLiteral("portable")));
    QVERIFY(QFile::link(QStringLiteral("usr/bin"), root.filePath(QStringLiteral("bin"))));
    if (desktopEntry) {
        QVERIFY(root.mkpath(QStringLiteral("usr/share/applications")));
        QFile entry(root.filePath(
            QStringLiteral("usr/share/applications/org.veltra.SetCalibDate.desktop")));
        QVERIFY(entry.open(QIODevice::WriteOnly));
    }

    const QString folder = root.filePath(programFolder);
    const QString expected = installed
        ? QDir::toNativeSeparators(configFolder()) + QDir::separator()
        : QDir::toNativeSeparators(folder) + QDir::separator();
    QCOMPARE(settingsFolderFor(folder, root.filePath(installBinFolder)), expected);
}

void TestProgramPaths::appSettingsLiveInSectionAppl()
{
    setProgramPaths(m_dir->path());
    QCOMPARE(readAppSetting(QStringLiteral("ComPort"), QStringLiteral("1")), QStringLiteral("1"));
    QVERIFY(writeAppSetting(QStringLiteral("ComPort"), QStringLiteral("7")));
    QVERIFY(writeAppSetting(QStringLiteral("ConnectViaBluetooth"), QStringLiteral("1;3;5")));

    QFile file(m_dir->filePath(QStringLiteral("VeltraSetCheckDate.ini")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("[Appl]\r\nComPort=7\r\nConnectViaBluetooth=1;3;5\r\n"));
    QCOMPARE(readAppSetting(QStringLiteral("connectviabluetooth"), QString()),
             QStringLiteral("1;3;5"));
}

QTEST_GUILESS_MAIN(TestProgramPaths)
#include "tst_programpaths.moc"
