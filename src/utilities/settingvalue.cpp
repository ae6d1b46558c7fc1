#include "settingvalue.h"

#include <QLocale>
#include <cmath>
#include <limits>

SettingValue SettingValue::truth(bool value)
{
    return SettingValue(Kind::Truth, value ? FlagTrue : FlagFalse);
}

SettingValue SettingValue::number(double value)
{
    return SettingValue(Kind::Number, value);
}

SettingValue SettingValue::failure()
{
    return SettingValue(Kind::Failure, -1.0);
}

double SettingValue::toDouble() const
{
    return m_value;
}

std::optional<qint16> SettingValue::toInt16() const
{
    if (!std::isfinite(m_value))
        return std::nullopt;
    // Half to even, spelled out so the result does not depend on the floating-point environment.
    double rounded = std::floor(m_value);
    const double fraction = m_value - rounded;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0.0))
        rounded += 1.0;
    if (rounded < std::numeric_limits<qint16>::min()
        || rounded > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return static_cast<qint16>(rounded);
}

namespace {

// The digits after "&H"; the failure marker when there are none, when anything else follows or
// when they do not fit 64 bits.
SettingValue hexadecimalValue(QStringView digits)
{
    if (digits.isEmpty())
        return SettingValue::failure();
    quint64 value = 0;
    for (const QChar c : digits) {
        const qsizetype digit = QStringLiteral("0123456789ABCDEF").indexOf(c);
        if (digit < 0 || value > std::numeric_limits<quint64>::max() / 16)
            return SettingValue::failure();
        value = value * 16 + static_cast<quint64>(digit);
    }
    return SettingValue::number(static_cast<double>(value));
}

} // namespace

SettingValue GetValue(QString &line, int removeFlag, const QString &separator)
{
    const QString s = trimLeadingSpaces(CutNull(line));
    const qsizetype pos = separator.isEmpty() ? -1 : s.indexOf(separator);
    const QString valueText = pos < 0 ? s : s.left(pos);
    if (removeFlag != 0)
        line = pos < 0 ? QString() : trimSpaces(s.mid(pos + separator.size()));

    // Not trimmed: "FALSE " is not a truth value.
    const QString upper = valueText.toUpper();
    if (upper == QLatin1String("TRUE"))
        return SettingValue::truth(true);
    if (upper == QLatin1String("FALSE"))
        return SettingValue::truth(false);

    QString text = CommaToPoint(valueText).toUpper();
    if (text.startsWith(u'.'))
        text.prepend(u'0');
    if (text.startsWith(QLatin1String("&H")))
        return hexadecimalValue(QStringView(text).mid(2));

    // Every comma is a point by now, so reading in the C locale accepts "1.5" and "1,5" alike
    // under any system locale and gives the same value everywhere. Overflow and "INF"/"NAN" are
    // faults, not numbers.
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return SettingValue::failure();
    return SettingValue::number(value);
}

QString CutNull(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

QString CommaToPoint(const QString &text)
{
    return QString(text).replace(u',', u'.');
}

QString PointToComma(const QString &text)
{
    return QString(text).replace(u'.', u',');
}

QString trimSpaces(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}

QString trimLeadingSpaces(const QString &text)
{
    qsizetype first = 0;
    while (first < text.size() && text.at(first) == u' ')
        ++first;
    return text.mid(first);
}
