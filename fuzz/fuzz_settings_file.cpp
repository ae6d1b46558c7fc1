// Arbitrary bytes as a settings file on disk, then a write into it. Each input goes through a real
// file, so this target is slow; the reading itself is fuzzed in memory by fuzz-settings. Besides
// crashes it checks that a write always lands, reads back, and that the file reader gives what
// the reader in memory gives.

#include "fuzzrequire.h"
#include "inifile.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    static const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fuzz.ini"));
    QFile file(path);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();

    const QString section = QStringLiteral("Appl");
    const QString key = QStringLiteral("ComPort");
    const QString fallback = QStringLiteral("default");
    require(IniFile::readString(path, section, key, fallback)
            == IniFile::valueIn(bytes, section, key, fallback));
    require(IniFile::writeString(path, QStringLiteral("appl"), QStringLiteral("ValidMonthOfCalib"),
                                 QStringLiteral("12")));
    require(IniFile::readString(path, section, QStringLiteral("VALIDMONTHOFCALIB"), QString())
            == QStringLiteral("12"));
    return 0;
}
