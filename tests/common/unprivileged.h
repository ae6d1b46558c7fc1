#pragma once
// Runs a program as the unprivileged user "nobody" when the test runs as root: root passes every
// file permission, and some servers refuse to run as root at all.

#include <QStringList>

#include <unistd.h>

constexpr uid_t UnprivilegedId = 65534;

inline bool runningAsRoot()
{
    return geteuid() == 0;
}

// The program and arguments to start: unchanged for an ordinary user, behind setpriv for root.
inline QStringList unprivilegedCommand(const QString &program, const QStringList &arguments)
{
    if (!runningAsRoot())
        return QStringList{program} + arguments;
    return QStringList{QStringLiteral("setpriv"),
                       QStringLiteral("--reuid=%1").arg(UnprivilegedId),
                       QStringLiteral("--regid=%1").arg(UnprivilegedId),
                       QStringLiteral("--clear-groups"),
                       QStringLiteral("--"),
                       program}
    + arguments;
}
