#include "account.h"

#include <pwd.h>
#include <unistd.h>

QString accountFullName()
{
    const passwd *user = getpwuid(geteuid());
    if (!user || !user->pw_gecos)
        return {};
    // The GECOS field: "full name,room,work phone,home phone,other".
    return QString::fromLocal8Bit(user->pw_gecos).section(QLatin1Char(','), 0, 0).trimmed();
}
