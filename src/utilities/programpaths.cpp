#include "programpaths.h"

#include "inifile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

QString PrgPath;
QString IniFileName;

namespace {

const QString SettingsFileName = QStringLiteral("VeltraSetCheckDate.ini");
const QString SettingsSection = QStringLiteral("Appl");

QString withSeparator(const QString &folder)
{
    const QString native = QDir::toNativeSeparators(QDir::cleanPath(folder));
    return native.endsWith(QDir::separator()) ? native : native + QDir::separator();
}

} // namespace

QString SettingsFolderFor(const QString &programFolder)
{
    const QFileInfo info(programFolder);
    if (!programFolder.isEmpty() && info.isDir() && info.isWritable())
        return withSeparator(programFolder);
    const QString configFolder =
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(configFolder);
    return withSeparator(configFolder);
}

void SetProgramPaths(const QString &programFolder)
{
    PrgPath = SettingsFolderFor(programFolder);
    IniFileName = PrgPath + SettingsFileName;
    // A copy installed where the user cannot write may come with its settings file: the
    // per-user settings start from it instead of from the defaults.
    const QString shipped = withSeparator(programFolder) + SettingsFileName;
    if (IniFileName != shipped && !QFileInfo::exists(IniFileName) && QFileInfo(shipped).isFile())
        QFile::copy(shipped, IniFileName);
}

QString ReadAppSetting(const QString &key, const QString &defaultText)
{
    return IniFile::readString(IniFileName, SettingsSection, key, defaultText);
}

bool WriteAppSetting(const QString &key, const QString &text)
{
    return IniFile::writeString(IniFileName, SettingsSection, key, text);
}
