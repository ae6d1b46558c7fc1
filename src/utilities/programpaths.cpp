#include "programpaths.h"

#include "inifile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

QString PrgPath;
QString IniFileName;

const QString ApplicationId = QStringLiteral(VELTRA_APP_ID);
const QString InstallBinFolder = QStringLiteral(VELTRA_INSTALL_BINDIR);

namespace {

const QString SettingsSection = QStringLiteral("Appl");

QString withSeparator(const QString &folder)
{
    const QString native = QDir::toNativeSeparators(QDir::cleanPath(folder));
    return native.endsWith(QDir::separator()) ? native : native + QDir::separator();
}

QString resolvedFolder(const QString &folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(folder) : canonical;
}

bool isInstalledCopy(const QString &programFolder, const QString &installBinFolder)
{
    const QString desktopEntry = QStringLiteral(VELTRA_INSTALL_MARKER);
    return resolvedFolder(programFolder) == resolvedFolder(installBinFolder)
        || QFileInfo(QDir(programFolder).filePath(desktopEntry)).isFile();
}

} // namespace

QString settingsFolderFor(const QString &programFolder, const QString &installBinFolder)
{
    const QFileInfo info(programFolder);
    if (!programFolder.isEmpty() && info.isDir() && info.isWritable()
        && !isInstalledCopy(programFolder, installBinFolder))
        return withSeparator(programFolder);
    const QString configFolder =
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(configFolder);
    return withSeparator(configFolder);
}

void setProgramPaths(const QString &programFolder)
{
    PrgPath = settingsFolderFor(programFolder);
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

QString readAppSetting(const QString &key, const QString &defaultText)
{
    return IniFile::readString(IniFileName, SettingsSection, key, defaultText);
}

bool writeAppSetting(const QString &key, const QString &text)
{
    return IniFile::writeString(IniFileName, SettingsSection, key, text);
}
