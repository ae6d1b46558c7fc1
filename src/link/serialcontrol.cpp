#include "serialcontrol.h"

QString SerialControl::listField(const QString &descriptor, const QString &key) const
{
    const QString prefix = key + QLatin1Char('=');
    for (const QString &field : descriptor.split(QLatin1Char('\n'))) {
        if (field.startsWith(prefix))
            return field.mid(prefix.size());
    }
    return {};
}
