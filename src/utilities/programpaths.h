#pragma once
// Where the program keeps its settings file and password file.

#include <QString>

// Program folder and settings file, set once at start (SetProgramPaths). PrgPath always ends in
// the platform's folder separator.
extern QString PrgPath;
extern QString IniFileName;

inline const QString SettingsFileName = QStringLiteral("VeltraSetCheckDate.ini");
inline const QString PasswordFileName = QStringLiteral("VeltraSetCalibDate.psw");

// The folder of the program file when the user can write to it (a development build, a portable
// copy), otherwise the per-user configuration folder (created when needed): settings written into
// a folder that cannot take them would be lost without a word.
QString SettingsFolderFor(const QString &programFolder);

// Sets PrgPath and IniFileName for the given program folder. When the files go to the per-user
// folder and have no copy there yet, the settings file and the password file beside the program
// are copied there first: a password shipped with a read-only installation must stay in force.
// Needs the application name set, as the per-user folder is named after it.
void SetProgramPaths(const QString &programFolder);

// Reads and writes one key of section "Appl" of IniFileName.
QString ReadAppSetting(const QString &key, const QString &defaultText);
bool WriteAppSetting(const QString &key, const QString &text);
