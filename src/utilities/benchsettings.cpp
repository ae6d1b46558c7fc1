#include "benchsettings.h"

#include "inifile.h"
#include "programpaths.h"
#include "settingvalue.h"

#include <QString>

namespace {

const QString Section = QStringLiteral("Bench");
const QString EnabledKey = QStringLiteral("Enabled");

SettingValue firstWord(const QString &key, const QString &defaultText)
{
    QString line = IniFile::readString(IniFileName, Section, key, defaultText);
    return GetValue(line, 0, QStringLiteral(" "));
}

} // namespace

BenchSettings readBenchSettings()
{
    BenchSettings s;
    // Only a number other than 0 turns a switch on; a text that is no number leaves it off.
    const auto on = [](const QString &key) {
        const SettingValue value = firstWord(key, QStringLiteral("0"));
        return !value.isFailure() && value.toDouble() != 0;
    };
    s.enabled = on(EnabledKey);
    s.printLabel = on(QStringLiteral("PrintLabel"));
    // An interval of 0 or below, or no number, would poll without pause or never.
    const SettingValue poll = firstWord(QStringLiteral("PollSeconds"), QString());
    if (!poll.isFailure() && poll.kind() == SettingValue::Kind::Number && poll.toDouble() > 0)
        s.pollSeconds = poll.toDouble();
    return s;
}

bool writeBenchEnabled(bool enabled)
{
    return IniFile::writeString(IniFileName, Section, EnabledKey,
                                enabled ? QStringLiteral("1") : QStringLiteral("0"));
}
