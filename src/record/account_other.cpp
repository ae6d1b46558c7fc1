#include "account.h"

QString accountName()
{
    const QString name = qEnvironmentVariable("USERNAME");
    return name.isEmpty() ? QStringLiteral("unknown") : name;
}

// Systems without a password database keep no full name the program could ask for.
QString accountFullName()
{
    return {};
}
