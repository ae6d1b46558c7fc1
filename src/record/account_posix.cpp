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

QString accountFullName()
{
    const passwd *user = getpwuid(geteuid());
    if (!user || !user->pw_gecos)
        return {};
    // The GECOS field: "full name,room,work phone,home phone,other".
    return QString::fromLocal8Bit(user->pw_gecos).section(QLatin1Char(','), 0, 0).trimmed();
}
