// A second process for the tests of the password and settings files: runs one load or save under
// the limits its parent gave it (another account, a file-size limit) and tells the outcome by its
// exit code (0 done, 1 refused, 2 wrong use) and the texts of its message boxes on its output.
//
//   store-child read-password <folder>
//   store-child write-password <folder> <password>
//   store-child write-setting <settings file> <key> <text>

#include "inifile.h"
#include "passwordfilebox.h"
#include "passwordstore.h"
#include "programpaths.h"
#include "scriptedui.h"

#include <QDir>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    const QString command = args.value(0);

    ScriptedUi ui;
    bool done = false;
    if (command == QLatin1String("read-password") && args.size() == 2) {
        PrgPath = QDir::toNativeSeparators(args[1]) + QDir::separator();
        PasswordStore store;
        done = passwordFileOk(store.ReadPassword());
    } else if (command == QLatin1String("write-password") && args.size() == 3) {
        PrgPath = QDir::toNativeSeparators(args[1]) + QDir::separator();
        PasswordStore store;
        store.setPassword(args[2]);
        done = passwordFileOk(store.WritePassword());
    } else if (command == QLatin1String("write-setting") && args.size() == 4) {
        done = IniFile::writeString(args[1], QStringLiteral("Appl"), args[2], args[3]);
    } else {
        return 2;
    }
    QTextStream out(stdout);
    for (const QString &text : ui.texts())
        out << text << '\n';
    return done ? 0 : 1;
}
