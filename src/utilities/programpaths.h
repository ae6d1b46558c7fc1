#pragma once
// Where the program keeps its settings file and password file.

#include <QString>

// Program folder and settings file, set once at start (setProgramPaths). PrgPath always ends in
// the platform's folder separator.
extern QString PrgPath;
extern QString IniFileName;

inline const QString SettingsFileName = QStringLiteral("VeltraSetCheckDate.ini");
inline const QString PasswordFileName = QStringLiteral("VeltraSetCalibDate.psw");

// The desktop's name for the program, which its desktop entry, icon and metadata files carry.
extern const QString ApplicationId;
// The folder an install puts the program into, fixed when building.
extern const QString InstallBinFolder;

// The folder of the program file when the user can write to it and it is no installed copy (a
// development build, a portable copy), otherwise the per-user configuration folder (created when
// needed; ~/.config/<application name> on Linux). Settings written into a folder that cannot take
// them would be lost without a word; an installed copy writing beside itself would share one file
// among all accounts when root runs it, as root can write to /usr/bin.
// An installed copy is one in installBinFolder (compared after resolving links), or one whose
// install put its desktop entry where an install of any prefix puts it:
// ../share/applications/<ApplicationId>.desktop from the program folder.
QString settingsFolderFor(const QString &programFolder,
                          const QString &installBinFolder = InstallBinFolder);

// Sets PrgPath and IniFileName for the given program folder. When the files go to the per-user
// folder and have no copy there yet, the settings file and the password file beside the program
// are copied there first: a password shipped with a read-only installation must stay in force.
// Needs the application name set, as the per-user folder is named after it.
void setProgramPaths(const QString &programFolder);

// Reads and writes one key of section "Appl" of IniFileName.
QString readAppSetting(const QString &key, const QString &defaultText);
bool writeAppSetting(const QString &key, const QString &text);
