#include "programpaths.h"

#include "inifile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

QString PrgPath;
QString IniFileName;

namespace {

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
    // A copy installed where the user cannot write may come with its settings and password
    // files: the per-user files start from them instead of from the defaults (no password).
    for (const QString &name : {SettingsFileName, PasswordFileName}) {
        const QString shipped = withSeparator(programFolder) + name;
        const QString own = PrgPath + name;
        if (own != shipped && !QFileInfo::exists(own) && QFileInfo(shipped).isFile())
            QFile::copy(shipped, own);
    }
}

QString ReadAppSetting(const QString &key, const QString &defaultText)
{
    return IniFile::readString(IniFileName, SettingsSection, key, defaultText);
}

bool WriteAppSetting(const QString &key, const QString &text)
{
    return IniFile::writeString(IniFileName, SettingsSection, key, text);
}
