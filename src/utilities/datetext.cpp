#include "datetext.h"

#include <algorithm>
#include <limits>

namespace {

struct DateFields
{
    int day = 0;
    int month = 0;
    int year = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Stores the number that completes field number `counter` (1 day ... 6 second).
void storeField(DateFields &f, int counter, int number)
{
    switch (counter) {
    case 1:
        f.day = std::clamp(number, 1, 31);
        break;
    case 2:
        f.month = std::clamp(number, 1, 12);
        break;
    case 3:
        // Checked against the year as written: "29.02.00" stays, 0 being a leap year like 2000.
        f.year = number;
        f.day = std::min(f.day, DaysInMonth(f.month, f.year));
        break;
    case 4:
        f.hour = std::clamp(number, 0, 23);
        break;
    case 5:
        f.minute = std::clamp(number, 0, 59);
        break;
    case 6:
        f.second = std::clamp(number, 0, 59);
        break;
    default:
        break;
    }
}

int completedYear(int year)
{
    if (year >= 100)
        return year;
    return year < 71 ? 2000 + year : 1900 + year;
}

} // namespace

QDateTime TextToDate(const QString &text, bool timeOnly)
{
    DateFields fields;
    int counter = timeOnly ? 4 : 1;
    QString digits;
    for (const QChar c : text + u' ') {
        if (c >= u'0' && c <= u'9') {
            digits.append(c);
            continue;
        }
        if (digits.isEmpty())
            continue;
        bool ok = false;
        const int number = digits.toInt(&ok);
        const bool fits = ok && number <= std::numeric_limits<qint16>::max();
        storeField(fields, counter, fits ? number : 0);
        ++counter;
        digits.clear();
    }

    const QTime time(fields.hour, fields.minute, fields.second);
    if (timeOnly)
        return QDateTime(QDate(1899, 12, 30), time);
    if (counter < 3)
        return QDateTime(QDate(1900, 1, 1), QTime(0, 0));
    // With only day and month the day has not met its month yet ("31.2" becomes 29 Feb 2000).
    const int year = completedYear(fields.year);
    const QDate date(year, fields.month, std::min(fields.day, DaysInMonth(fields.month, year)));
    return QDateTime(date, counter < 5 ? QTime(0, 0) : time);
}

int DaysInMonth(int month, int year)
{
    if (month >= 8)
        return month % 2 == 0 ? 31 : 30;
    if (month % 2 == 1)
        return 31;
    if (month == 2) {
        if (year % 400 == 0)
            return 29;
        if (year % 100 == 0)
            return 28;
        return year % 4 == 0 ? 29 : 28;
    }
    return 30;
}
