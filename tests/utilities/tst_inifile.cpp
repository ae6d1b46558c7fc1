#include "inifile.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

// Byte strings that may hold NUL bytes.
template<qsizetype N> QByteArray raw(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

const QByteArray Settings("[Appl]\nComPort=3\n");
constexpr qsizetype MiB = 1024 * 1024;

} // namespace

// Each case works on real files in a fresh folder.
class TestIniFile : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void read_data();
    void read();
    void readOfHugeFile_data();
    void readOfHugeFile();
    void readOfFolderGivesDefault();
    void write_data();
    void write();
    void writeCreatesMissingFile();
    void refusedWriteLeavesFileAsItWas_data();
    void refusedWriteLeavesFileAsItWas();
    void writeIntoMissingFolderFails();
    void writeIntoReadOnlyFolderFails();

private:
    QString path() const { return m_dir->filePath(QStringLiteral("settings.ini")); }
    void store(const QByteArray &bytes) const;
    QByteArray stored() const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestIniFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestIniFile::store(const QByteArray &bytes) const
{
    QFile file(path());
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray TestIniFile::stored() const
{
    QFile file(path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void TestIniFile::read_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    QTest::newRow("section and key match without regard to case")
        << QByteArray("[APPL]\r\ncomport=3\r\n") << "ComPort"
        << "3";
    QTest::newRow("spaces and tabs around names and values do not count")
        << QByteArray(" [ Appl ] \n  ComPort \t=  7 \t\n") << "ComPort"
        << "7";
    QTest::newRow("a value may contain equals signs")
        << QByteArray("[Appl]\nComPort=a=b\n") << "ComPort"
        << "a=b";
    QTest::newRow("the first of duplicate keys wins")
        << QByteArray("[Appl]\nComPort=1\nComPort=2\n") << "ComPort"
        << "1";
    QTest::newRow("a key in a later section of the same name is found")
        << QByteArray("[Appl]\nA=1\n[Other]\nComPort=9\n[appl]\nComPort=4\n") << "ComPort"
        << "4";
    QTest::newRow("a key of another section is not found")
        << QByteArray("[Other]\nComPort=9\n[Appl]\nA=1\n") << "ComPort"
        << "default";
    QTest::newRow("a key before any section is not found")
        << QByteArray("ComPort=9\n[Appl]\n") << "ComPort"
        << "default";
    QTest::newRow("an empty section name is a section of its own")
        << QByteArray("[]\nComPort=9\n") << "ComPort"
        << "default";
    QTest::newRow("a missing section gives the default")
        << QByteArray("[Other]\nx=1\n") << "ComPort"
        << "default";
    QTest::newRow("an empty value is empty, not the default")
        << QByteArray("[Appl]\nComPort=\n") << "ComPort"
        << "";
    QTest::newRow("lines without an equals sign are skipped")
        << QByteArray("[Appl]\nComPort\nComPort=5\n") << "ComPort"
        << "5";
    QTest::newRow("a commented-out key does not count")
        << QByteArray("[Appl]\n;ComPort=9\n") << "ComPort"
        << "default";
    QTest::newRow("a UTF-8 byte order mark before the first section")
        << QByteArray("\xEF\xBB\xBF[Appl]\r\nComPort=5\r\n") << "ComPort"
        << "5";
    QTest::newRow("a last line without line ending")
        << QByteArray("[Appl]\r\nComPort=6") << "ComPort"
        << "6";
    QTest::newRow("enclosing quotes are removed")
        << QByteArray("[Appl]\nComPort=\"12\"\n") << "ComPort"
        << "12";
    QTest::newRow("a value is cut at a NUL byte") << raw("[Appl]\nComPort=3\0 junk\n") << "ComPort"
                                                  << "3";
    QTest::newRow("8-bit bytes are Latin-1 characters")
        << QByteArray("[Appl]\nName=\xE4\xF6\xFC\xFF\n") << "Name" << QString::fromUtf8("äöüÿ");
    QTest::newRow("8-bit key names match without regard to case")
        << QByteArray("[Appl]\n\xC4nderung=1\n") << QString::fromUtf8("änderung") << "1";
    QTest::newRow("a value of 100 characters comes back as its first 79")
        << "[Appl]\nLong=" + QByteArray(79, 'a') + QByteArray(21, 'b') + '\n'
        << "Long" << QString(79, u'a');
    QTest::newRow("binary bytes give the default")
        << raw("\x00\xFF\x7F[\x01=\x02\n\x00\x00\r\r\r\n\x80=\n") << "ComPort"
        << "default";
}

void TestIniFile::read()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, key);
    QFETCH(QString, expected);

    store(file);
    QCOMPARE(IniFile::readString(path(), QStringLiteral("Appl"), key, QStringLiteral("default")),
             expected);
}

void TestIniFile::readOfHugeFile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("expected");

    QTest::newRow("a file of exactly 1 MiB is read")
        << Settings + QByteArray(MiB - Settings.size(), ';') << "3";
    QTest::newRow("a file over 1 MiB counts as missing")
        << Settings + QByteArray(MiB - Settings.size() + 1, ';') << "1";
}

void TestIniFile::readOfHugeFile()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, expected);

    store(file);
    QCOMPARE(IniFile::readString(path(), QStringLiteral("Appl"), QStringLiteral("ComPort"),
                                 QStringLiteral("1")),
             expected);
}

void TestIniFile::readOfFolderGivesDefault()
{
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("settings.ini")));
    QCOMPARE(IniFile::readString(path(), QStringLiteral("Appl"), QStringLiteral("ComPort"),
                                 QStringLiteral("1")),
             QStringLiteral("1"));
    QVERIFY(!IniFile::writeString(path(), QStringLiteral("Appl"), QStringLiteral("ComPort"),
                                  QStringLiteral("2")));
}

void TestIniFile::write_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("a value is replaced in place, every other line kept")
        << QByteArray("; settings\r\n[Appl]\r\nComPort=1\r\nOther=x\r\n\r\n[More]\r\nComPort=9\r\n")
        << "ComPort"
        << "5"
        << QByteArray(
               "; settings\r\n[Appl]\r\nComPort=5\r\nOther=x\r\n\r\n[More]\r\nComPort=9\r\n");
    QTest::newRow("the file's spelling and indentation of the key stay")
        << QByteArray("[appl]\n  comport = 1\n") << "ComPort"
        << "5" << QByteArray("[appl]\n  comport =5\n");
    QTest::newRow("only the first of duplicate keys is replaced")
        << QByteArray("[Appl]\nComPort=1\nComPort=2\n") << "ComPort"
        << "5" << QByteArray("[Appl]\nComPort=5\nComPort=2\n");
    QTest::newRow("a missing key goes to the end of its section, before the blank line")
        << QByteArray("[Appl]\r\nComPort=1\r\n\r\n[Other]\r\nx=1\r\n") << "ShowInfoPswMsg"
        << "0" << QByteArray("[Appl]\r\nComPort=1\r\nShowInfoPswMsg=0\r\n\r\n[Other]\r\nx=1\r\n");
    QTest::newRow("a missing key goes to the first section of that name")
        << QByteArray("[Appl]\nA=1\n[Other]\n[Appl]\nB=2\n") << "C"
        << "3" << QByteArray("[Appl]\nA=1\nC=3\n[Other]\n[Appl]\nB=2\n");
    QTest::newRow("a missing section is appended with the file's line ending")
        << QByteArray("[Other]\nx=1\n") << "ComPort"
        << "3" << QByteArray("[Other]\nx=1\n[Appl]\nComPort=3\n");
    QTest::newRow("a last line without line ending gets one")
        << QByteArray("[Appl]\r\nComPort=1") << "Key"
        << "2" << QByteArray("[Appl]\r\nComPort=1\r\nKey=2\r\n");
    QTest::newRow("an empty file gets the section") << QByteArray() << "ComPort"
                                                    << "3" << QByteArray("[Appl]\r\nComPort=3\r\n");
    QTest::newRow("the byte order mark stays")
        << QByteArray("\xEF\xBB\xBF[Appl]\r\nComPort=1\r\n") << "ComPort"
        << "2" << QByteArray("\xEF\xBB\xBF[Appl]\r\nComPort=2\r\n");
    QTest::newRow("8-bit bytes and binary lines elsewhere are kept")
        << raw("\x80\x00\xFF\n[Appl]\nName=\xE4\xFF\nComPort=1\n") << "ComPort"
        << "2" << raw("\x80\x00\xFF\n[Appl]\nName=\xE4\xFF\nComPort=2\n");
    QTest::newRow("an 8-bit value is written as one byte per character")
        << QByteArray("[Appl]\n") << "Name" << QString::fromUtf8("äÿ")
        << QByteArray("[Appl]\nName=\xE4\xFF\n");
}

void TestIniFile::write()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(QByteArray, after);

    store(before);
    QVERIFY(IniFile::writeString(path(), QStringLiteral("Appl"), key, text));
    QCOMPARE(stored(), after);
    QCOMPARE(IniFile::readString(path(), QStringLiteral("Appl"), key, QString()), text);
}

void TestIniFile::writeCreatesMissingFile()
{
    QVERIFY(IniFile::writeString(path(), QStringLiteral("Appl"),
                                 QStringLiteral("ValidMonthOfCalib"), QStringLiteral("12")));
    QCOMPARE(stored(), QByteArray("[Appl]\r\nValidMonthOfCalib=12\r\n"));
}

void TestIniFile::refusedWriteLeavesFileAsItWas_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");

    const QByteArray settings = Settings;
    QTest::newRow("a file over 1 MiB is not rewritten")
        << settings + QByteArray(MiB, ';') << "ComPort"
        << "2";
    QTest::newRow("a write that would grow the file over 1 MiB")
        << settings + QByteArray(MiB - settings.size() - 4, ';') << "ComPort"
        << "123456";
    QTest::newRow("a line break in the value") << settings << "ComPort"
                                               << "2\n[Other]";
    QTest::newRow("a NUL in the value") << settings << "ComPort" << QString::fromLatin1("2\0", 2);
    QTest::newRow("a character beyond 8 bits") << settings << "ComPort" << QString::fromUtf8("2€");
    QTest::newRow("an equals sign in the key") << settings << "Com=Port"
                                               << "2";
    QTest::newRow("an empty key") << settings << " "
                                  << "2";
}

void TestIniFile::refusedWriteLeavesFileAsItWas()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, key);
    QFETCH(QString, text);

    store(before);
    QVERIFY(!IniFile::writeString(path(), QStringLiteral("Appl"), key, text));
    QCOMPARE(stored(), before);
}

void TestIniFile::writeIntoMissingFolderFails()
{
    // A regular file where the folder should be: nobody, root included, can create the file.
    QFile blocker(m_dir->filePath(QStringLiteral("folder")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString inside = m_dir->filePath(QStringLiteral("folder/settings.ini"));

    QVERIFY(!IniFile::writeString(inside, QStringLiteral("Appl"), QStringLiteral("ComPort"),
                                  QStringLiteral("2")));
    QCOMPARE(IniFile::readString(inside, QStringLiteral("Appl"), QStringLiteral("ComPort"),
                                 QStringLiteral("1")),
             QStringLiteral("1"));
}

void TestIniFile::writeIntoReadOnlyFolderFails()
{
    const QByteArray before("[Appl]\nComPort=1\n");
    store(before);
    QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner));
    const auto restore = qScopeGuard([this] {
        QFile::setPermissions(m_dir->path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    QFile probe(m_dir->filePath(QStringLiteral("probe")));
    if (probe.open(QIODevice::WriteOnly))
        QSKIP("This user writes into read-only folders (root), so the folder cannot refuse the "
              "write.");

    QVERIFY(!IniFile::writeString(path(), QStringLiteral("Appl"), QStringLiteral("ComPort"),
                                  QStringLiteral("2")));
    QCOMPARE(stored(), before);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("settings.ini")});
}

QTEST_APPLESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
