#include "texttokens.h"

#include "settingvalue.h"

#include <QLocale>
#include <cmath>

QString GetToken(QString &line, const QString &separator)
{
    line = trimSpaces(line);
    const qsizetype pos = line.indexOf(separator);
    if (pos < 0) {
        const QString token = line;
        line.clear();
        return token;
    }
    const QString token = line.left(pos);
    line = trimSpaces(line.mid(pos + separator.size()));
    return token;
}

double ExtractNumber(const QString &text)
{
    QString collected;
    bool pointSeen = false;
    for (const QChar c : text) {
        if (c >= u'0' && c <= u'9') {
            collected.append(c);
        } else if (c == u'.' && !pointSeen) {
            collected.append(c);
            pointSeen = true;
        }
    }
    if (collected.size() < 2)
        return 1.0;
    // A number beyond the range of a double is as unusable as no number at all.
    bool ok = false;
    const double value = QLocale::c().toDouble(collected, &ok);
    return ok && std::isfinite(value) ? value : 1.0;
}
