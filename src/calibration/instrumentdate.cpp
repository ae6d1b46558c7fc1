#include "instrumentdate.h"

#include "settingvalue.h"
#include "texttokens.h"

#include <QLocale>
#include <QRegularExpression>

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

QString instrumentDateText(const QDate &date)
{
    return QStringLiteral("%1%2%3")
        .arg(date.year() % 100, 2, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}

std::optional<QDate> instrumentDate(const QString &word)
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

std::optional<double> wordNumber(const QString &word)
{
    static const QRegularExpression number(
        QStringLiteral(R"(^[+-]?([0-9]+([.,][0-9]*)?|[.,][0-9]+)$)"));
    const QString trimmed = trimSpaces(word);
    if (!number.match(trimmed).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(CommaToPoint(trimmed), &ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

bool wordHoldsDate(const QString &word, const QDate &date)
{
    const std::optional<double> value = wordNumber(word);
    return value && *value == instrumentDateText(date).toDouble();
}

DateWords splitDateWords(const QString &reply)
{
    const QString space = QStringLiteral(" ");
    QString rest = reply;
    DateWords words;
    words.calibration = trimSpaces(GetToken(rest, space));
    words.expiration = trimSpaces(GetToken(rest, space));
    return words;
}
