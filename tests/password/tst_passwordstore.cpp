// The password file: its exact bytes, what survives a save and a load, and what a short,
// damaged or oversized file gives.

#include "filebytes.h"
#include "passwordfilebox.h"
#include "passwordstore.h"
#include "programpaths.h"
#include "scriptedui.h"
#include "writegate.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

// 'abc' in slot 0, the empty password in slot 1, then "0".
const QByteArray AbcFile = QByteArray::fromHex("5500 5500 5500 F1FF 1000 0F00 0E00 0D00 0C00 0B00 "
                                               "0A00 0900 0800 0700 0600 0500 0400 0300 0200 0100"
                                               "F4FF 1300 1200 1100 1000 0F00 0E00 0D00 0C00 0B00 "
                                               "0A00 0900 0800 0700 0600 0500 0400 0300 0200 0100"
                                               "30");

// 'xyz' coded into one slot: 'x' = 120 - 12, 'y' = 121 - 13, 'z' = 122 - 14, then NUL and spaces.
const QByteArray XyzSlot = QByteArray::fromHex("6C00 6C00 6C00 F1FF 1000 0F00 0E00 0D00 0C00 0B00 "
                                               "0A00 0900 0800 0700 0600 0500 0400 0300 0200 0100");

enum class Unreadable { Folder, OtherAccount, ReadError };

} // namespace

Q_DECLARE_METATYPE(Unreadable)

class TestPasswordStore : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void abcIsStoredAsItsDocumentedBytes();
    void documentedBytesLoadAsAbc();
    void passwordsSurviveSaveAndLoad_data();
    void passwordsSurviveSaveAndLoad();
    void emptyPasswordIsStoredAsMinusTwelve();
    void savedFileIsOwnerOnly();
    void shortOrMissingFiles_data();
    void shortOrMissingFiles();
    void damagedValueEmptiesItsSlot_data();
    void damagedValueEmptiesItsSlot();
    void oversizedFileReadsItsFirstBytes();
    void unstorablePasswordIsRefused_data();
    void unstorablePasswordIsRefused();
    void unwritableFileIsReported();
    void unreadableFileKeepsTheProtection_data();
    void unreadableFileKeepsTheProtection();
    void writeGateIsPassedOncePerRun();

private:
    QString filePath() const { return PrgPath + PasswordFileName; }
    void writeFile(const QByteArray &bytes) const;

    std::unique_ptr<QTemporaryDir> m_folder;
    PasswordStore m_store;
};

void TestPasswordStore::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    setProgramPaths(m_folder->path());
    m_store = PasswordStore();
}

void TestPasswordStore::writeFile(const QByteArray &bytes) const
{
    QFile file(filePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

void TestPasswordStore::abcIsStoredAsItsDocumentedBytes()
{
    m_store.setPassword(QStringLiteral("abc"));
    QVERIFY(m_store.WritePassword().ok());
    QCOMPARE(fileBytes(filePath()), AbcFile);
}

void TestPasswordStore::documentedBytesLoadAsAbc()
{
    writeFile(AbcFile.left(40) + XyzSlot + "0");
    QVERIFY(m_store.ReadPassword().ok());
    QCOMPARE(m_store.password(), QStringLiteral("abc"));
    QCOMPARE(m_store.secondSlot(), QStringLiteral("xyz"));
}

void TestPasswordStore::passwordsSurviveSaveAndLoad_data()
{
    QTest::addColumn<QString>("slot0");
    QTest::addColumn<QString>("slot1");
    QTest::newRow("twenty characters fill the slot without a NUL")
        << QStringLiteral("ABCDEFGHIJKLMNOPQRST") << QString();
    QTest::newRow("trailing spaces are kept") << QStringLiteral("pass  ") << QString();
    QTest::newRow("leading space and case are kept") << QStringLiteral(" PaSs") << QString();
    QTest::newRow("Latin-1 letters up to code 255 keep their codes")
        << QStringLiteral(u"Grüße\u00ff") << QString();
    QTest::newRow("only spaces is a password") << QStringLiteral("   ") << QString();
    QTest::newRow("second slot is kept beside the first")
        << QStringLiteral("first") << QStringLiteral("second slot 20 chars");
}

void TestPasswordStore::passwordsSurviveSaveAndLoad()
{
    QFETCH(QString, slot0);
    QFETCH(QString, slot1);
    m_store.setPassword(slot0);
    m_store.setSecondSlot(slot1);
    QVERIFY(m_store.WritePassword().ok());
    m_store.setPassword(QStringLiteral("stale"));
    m_store.setSecondSlot(QStringLiteral("stale"));
    QVERIFY(m_store.ReadPassword().ok());
    QCOMPARE(m_store.password(), slot0);
    QCOMPARE(m_store.secondSlot(), slot1);
    const QByteArray bytes = fileBytes(filePath());
    QCOMPARE(bytes.size(), 81);
    QCOMPARE(bytes.at(80), '\x30');
}

void TestPasswordStore::emptyPasswordIsStoredAsMinusTwelve()
{
    m_store.setPassword(QString());
    QVERIFY(m_store.WritePassword().ok());
    const QByteArray bytes = fileBytes(filePath());
    QCOMPARE(bytes.left(6), QByteArray::fromHex("F4FF 1300 1200"));
    QCOMPARE(bytes.mid(38, 2), QByteArray::fromHex("0100"));
    m_store.setPassword(QStringLiteral("stale"));
    QVERIFY(m_store.ReadPassword().ok());
    QCOMPARE(m_store.password(), QString());
}

void TestPasswordStore::savedFileIsOwnerOnly()
{
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const auto groupAndOthers = QFileDevice::Permissions(0x0077);
    m_store.setPassword(QStringLiteral("new"));
    QVERIFY(m_store.WritePassword().ok());
    QCOMPARE(QFile::permissions(filePath()) & (ownerOnly | groupAndOthers | QFileDevice::ExeOwner),
             ownerOnly);

    // A file that others could read is tightened at the next save.
    QVERIFY(QFile::setPermissions(filePath(),
                                  ownerOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    QVERIFY(m_store.WritePassword().ok());
    QCOMPARE(QFile::permissions(filePath()) & groupAndOthers, QFileDevice::Permissions());
}

void TestPasswordStore::shortOrMissingFiles_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("slot0");
    QTest::addColumn<QString>("slot1");
    const QString kept = QStringLiteral("kept");
    QTest::newRow("missing file gives no password") << -1 << QString() << QString();
    QTest::newRow("empty file gives no password") << 0 << QString() << QString();
    QTest::newRow("one byte leaves slot 1 as it was") << 1 << QString() << kept;
    QTest::newRow("39 bytes leave slot 1 as it was") << 39 << QString() << kept;
    QTest::newRow("40 bytes give slot 0 and an empty slot 1")
        << 40 << QStringLiteral("abc") << QString();
    QTest::newRow("79 bytes give slot 0 and an empty slot 1")
        << 79 << QStringLiteral("abc") << QString();
    QTest::newRow("80 bytes give both slots")
        << 80 << QStringLiteral("abc") << QStringLiteral("xyz");
}

void TestPasswordStore::shortOrMissingFiles()
{
    QFETCH(int, size);
    QFETCH(QString, slot0);
    QFETCH(QString, slot1);
    if (size >= 0)
        writeFile((AbcFile.left(40) + XyzSlot).left(size));
    m_store.setPassword(QStringLiteral("old"));
    m_store.setSecondSlot(QStringLiteral("kept"));
    QVERIFY(m_store.ReadPassword().ok());
    QCOMPARE(m_store.password(), slot0);
    QCOMPARE(m_store.secondSlot(), slot1);
}

void TestPasswordStore::damagedValueEmptiesItsSlot_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("slot0");
    QTest::addColumn<QString>("slot1");
    QTest::newRow("first value below the NUL code empties slot 0")
        << 0 << QByteArray::fromHex("F3FF") << QString() << QStringLiteral("xyz");
    QTest::newRow("first value above code 255 empties slot 0")
        << 0 << QByteArray::fromHex("F400") << QString() << QStringLiteral("xyz");
    QTest::newRow("huge value after the NUL empties slot 0")
        << 30 << QByteArray::fromHex("FF7F") << QString() << QStringLiteral("xyz");
    QTest::newRow("damaged slot 1 leaves slot 0")
        << 42 << QByteArray::fromHex("0080") << QStringLiteral("abc") << QString();
}

void TestPasswordStore::damagedValueEmptiesItsSlot()
{
    QFETCH(int, offset);
    QFETCH(QByteArray, value);
    QFETCH(QString, slot0);
    QFETCH(QString, slot1);
    QByteArray bytes = AbcFile.left(40) + XyzSlot + "0";
    bytes.replace(offset, 2, value);
    writeFile(bytes);
    QVERIFY(m_store.ReadPassword().ok());
    QCOMPARE(m_store.password(), slot0);
    QCOMPARE(m_store.secondSlot(), slot1);
}

void TestPasswordStore::oversizedFileReadsItsFirstBytes()
{
    writeFile(AbcFile + QByteArray(4 * 1024 * 1024, 'x'));
    QVERIFY(m_store.ReadPassword().ok());
    QCOMPARE(m_store.password(), QStringLiteral("abc"));
    QCOMPARE(m_store.secondSlot(), QString());
}

void TestPasswordStore::unstorablePasswordIsRefused_data()
{
    QTest::addColumn<QString>("slot0");
    QTest::addColumn<QString>("slot1");
    QTest::newRow("21 characters in slot 0")
        << QStringLiteral("ABCDEFGHIJKLMNOPQRSTU") << QString();
    QTest::newRow("21 characters in slot 1")
        << QStringLiteral("ok") << QStringLiteral("ABCDEFGHIJKLMNOPQRSTU");
    QTest::newRow("a character outside Latin-1") << QStringLiteral(u"\u20acuro") << QString();
    QTest::newRow("a NUL inside the password")
        << QStringLiteral("ab") + QChar(0) + QStringLiteral("c") << QString();
}

void TestPasswordStore::unstorablePasswordIsRefused()
{
    QFETCH(QString, slot0);
    QFETCH(QString, slot1);
    writeFile(AbcFile);
    ScriptedUi ui;
    m_store.setPassword(slot0);
    m_store.setSecondSlot(slot1);
    QVERIFY(!passwordFileOk(m_store.WritePassword()));
    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(ui.boxes[0].text, QStringLiteral("Invalid password, cannot save password!"));
    QCOMPARE(ui.boxes[0].title, QStringLiteral("VeltraSetCalibDate"));
    QCOMPARE(ui.boxes[0].icon, MsgIcon::Stop);
    QCOMPARE(ui.boxes[0].buttons, MsgButtons::Ok);
    QCOMPARE(fileBytes(filePath()), AbcFile);
}

void TestPasswordStore::unwritableFileIsReported()
{
    // A folder in the file's place cannot be replaced by a file, even by root.
    QVERIFY(QDir(PrgPath).mkdir(PasswordFileName));
    ScriptedUi ui;
    m_store.setPassword(QStringLiteral("abc"));
    QVERIFY(!passwordFileOk(m_store.WritePassword()));
    QCOMPARE(ui.boxes.size(), 1);
    QVERIFY(ui.boxes[0].text.startsWith(QStringLiteral("Cannot save password!")));
    QCOMPARE(ui.boxes[0].icon, MsgIcon::Stop);
}

void TestPasswordStore::unreadableFileKeepsTheProtection_data()
{
    QTest::addColumn<Unreadable>("kind");
    QTest::newRow("a folder at the file's path") << Unreadable::Folder;
    QTest::newRow("a file its owner keeps to himself, read by another account")
        << Unreadable::OtherAccount;
    QTest::newRow("a file whose every read fails, as on a failing disk") << Unreadable::ReadError;
}

// Reading as "no password" would let the next write of a calibration date through unasked.
void TestPasswordStore::unreadableFileKeepsTheProtection()
{
    QFETCH(Unreadable, kind);
    const QString message = QStringLiteral("Cannot read password file!\n%1\n")
                                .arg(QDir::toNativeSeparators(filePath()));
    if (kind == Unreadable::OtherAccount) {
        // Root reads any file, so the read runs in a child: as root under the account nobody,
        // otherwise as ourselves with no permission on the file.
        writeFile(AbcFile);
        const bool root = ::geteuid() == 0;
        QVERIFY(QFile::setPermissions(filePath(),
                                      root ? QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                           : QFileDevice::Permissions()));
        QVERIFY(QFile::setPermissions(m_folder->path(), QFileDevice::Permissions(0x7755)));
        const QString child =
            QCoreApplication::applicationDirPath() + QStringLiteral("/store-child");
        QStringList arguments{QStringLiteral("read-password"), m_folder->path()};
        QString program = child;
        if (root) {
            program = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
            if (program.isEmpty())
                QSKIP("running as root without setpriv: no other account to read as");
            arguments =
                QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                            QStringLiteral("--clear-groups"), child}
                + arguments;
        }
        QProcess process;
        process.start(program, arguments);
        QVERIFY(process.waitForFinished(10000));
        const QString output = QString::fromLocal8Bit(process.readAllStandardOutput());
        QCOMPARE(process.exitCode(), 1);
        QVERIFY2(output.startsWith(message) && output.size() > message.size() + 1,
                 qPrintable(output));
        return;
    }
    if (kind == Unreadable::Folder) {
        QVERIFY(QDir(PrgPath).mkdir(PasswordFileName));
    } else {
        // Reading the start of our own address space fails with an input/output error, as a
        // failing disk does, for root too.
        if (!QFile::exists(QStringLiteral("/proc/self/mem")))
            QSKIP("no /proc/self/mem to read from");
        QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), filePath()));
    }
    ScriptedUi ui;
    m_store.setPassword(QStringLiteral("kept"));
    QVERIFY(!passwordFileOk(m_store.ReadPassword()));
    QCOMPARE(m_store.password(), QStringLiteral("kept"));
    QCOMPARE(ui.boxes.size(), 1);
    QVERIFY2(ui.boxes[0].text.startsWith(message) && ui.boxes[0].text.size() > message.size(),
             qPrintable(ui.boxes[0].text));
    QCOMPARE(ui.boxes[0].icon, MsgIcon::Stop);
    QCOMPARE(ui.boxes[0].buttons, MsgButtons::Ok);
}

// The gate reads the file until it is passed; after that nothing on disk closes it again.
void TestPasswordStore::writeGateIsPassedOncePerRun()
{
    QVERIFY(QDir(PrgPath).mkdir(PasswordFileName));
    WriteGate gate;
    const WriteGate::Check unreadable = gate.check();
    QCOMPARE(unreadable.step, WriteGate::Step::FileError);
    QCOMPARE(unreadable.file.error, PasswordFileResult::Error::Unreadable);
    QVERIFY(!gate.answer(QString()));

    QVERIFY(QDir(PrgPath).rmdir(PasswordFileName));
    writeFile(AbcFile);
    QCOMPARE(gate.check().step, WriteGate::Step::AskPassword);
    QVERIFY(!gate.answer(QStringLiteral("ABC")));
    QVERIFY(!gate.passed());
    QCOMPARE(gate.check().step, WriteGate::Step::AskPassword);
    QVERIFY(gate.answer(QStringLiteral("abc")));
    QVERIFY(QFile::remove(filePath()));
    QVERIFY(QDir(PrgPath).mkdir(PasswordFileName));
    QCOMPARE(gate.check().step, WriteGate::Step::Passed);

    WriteGate unprotected;
    QVERIFY(QDir(PrgPath).rmdir(PasswordFileName));
    QCOMPARE(unprotected.check().step, WriteGate::Step::NoPassword);
    QVERIFY(unprotected.passed());
}

QTEST_GUILESS_MAIN(TestPasswordStore)
#include "tst_passwordstore.moc"
