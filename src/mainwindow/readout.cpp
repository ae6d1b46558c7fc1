#include "readout.h"

#include "settingvalue.h"

#include <QLocale>

namespace {

// The number of the leading decimal digits; 0 without any.
int leadingNumber(const QString &text)
{
    int value = 0;
    for (const QChar c : text) {
        if (c.unicode() < '0' || c.unicode() > '9')
            break;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

} // namespace

std::optional<QString> VersionCaption(const QString &ident)
{
    const QString s = TrimSpaces(ident);
    if (s.size() < 6)
        return std::nullopt;
    return TrimSpaces(s.left(s.size() - 6));
}

QString ChecksumCaption(const QString &identEx)
{
    const QString c = TrimSpaces(identEx.right(6));
    if (!c.contains(u'.'))
        return c;
    const QString front = TrimSpaces(identEx.left(qMax<qsizetype>(0, identEx.size() - 6)));
    return TrimSpaces(front.right(5));
}

QString BatteryCaption(double volts)
{
    return QLocale().toString(volts, 'f', 1) + QStringLiteral(" V");
}

std::optional<QDate> InstrumentDate(const QString &word)
{
    if (word.isEmpty())
        return QDate();
    int year = leadingNumber(QStringLiteral("20") + word.left(2));
    const int month = leadingNumber(word.mid(2, 2));
    const int day = leadingNumber(word.right(2));
    // Only a word that does not begin with a digit leaves a two-digit year; it follows the
    // usual two-digit year window.
    if (year < 100)
        year += year < 30 ? 2000 : 1900;
    const QDate date = QDate(year, 1, 1).addMonths(month - 1).addDays(day - 1);
    if (!date.isValid() || date.year() < 100 || date.year() > 9999)
        return std::nullopt;
    return date;
}
