// Arbitrary bytes as the contents of a settings file, read in memory, and as a line for GetValue
// and the other text routines. Besides crashes it checks what the program relies on: a value
// never longer than 79 characters and a list line that runs out.

#include "datetext.h"
#include "fuzzrequire.h"
#include "inifile.h"
#include "settingvalue.h"
#include "texttokens.h"

namespace {

void fuzzSettingsBytes(const QByteArray &bytes)
{
    for (const char *key :
         {"ComPort", "connectviabluetooth", " ShowInfoPswMsg ", "ValidMonthOfCalib"}) {
        const QString value = IniFile::valueIn(bytes, QStringLiteral("Appl"), QLatin1String(key),
                                               QStringLiteral("default"));
        require(value.size() <= IniFile::MaxValueLength);
    }
}

void fuzzTextRoutines(const QString &text)
{
    for (const QString &separator : {QStringLiteral(" "), QStringLiteral(";"), QString()}) {
        QString line = text;
        (void)GetValue(line, 0, separator).toInt16();
        require(line == text);
        // Each taking shortens the line, so a list always runs out.
        for (int removeFlag = 1; !line.isEmpty(); ++removeFlag) {
            const qsizetype before = line.size();
            (void)GetValue(line, removeFlag, separator).toDouble();
            require(line.size() < before);
        }
        require(GetValue(line, 1, separator).isFailure());
    }
    QString line = text;
    (void)GetToken(line, QStringLiteral(" "));
    (void)ExtractNumber(text);
    (void)TextToDate(text, false);
    (void)TextToDate(text, true);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    fuzzSettingsBytes(bytes);
    fuzzTextRoutines(QString::fromLatin1(bytes));
    fuzzTextRoutines(QString::fromUtf8(bytes));
    return 0;
}
