#include "account.h"

#include <pwd.h>
#include <unistd.h>

// The process's own user, as the environment may still name another one after su or sudo.
QString accountName()
{
    if (const passwd *user = getpwuid(geteuid()))
        return QString::fromLocal8Bit(user->pw_name);
    const QString name = qEnvironmentVariable("USER");
    return name.isEmpty() ? QStringLiteral("unknown") : name;
}
