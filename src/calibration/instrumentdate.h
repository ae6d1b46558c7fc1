#pragma once
// The instrument's dates: six digits "yymmdd" (year of the 21st century, month, day), both ways,
// and the answer to "WR" taken apart into its two date words.

#include <QDate>
#include <QString>

#include <optional>

// "yymmdd" with leading zeros: 5 January 2009 is "090105".
QString instrumentDateText(const QDate &date);

// A date word as the read-out shows it. Month and day outside their range roll over into the
// neighbouring month or year. A null date for an empty word (nothing to show); no result when no
// date can be built (the label keeps its caption).
std::optional<QDate> instrumentDate(const QString &word);

// A word counts as a number only when all of it converts: a sign, digits and at most one decimal
// separator. An empty or garbled word has no number.
std::optional<double> wordNumber(const QString &word);

// Whether a date word of the instrument stands for this date. Leading zeros do not count: an
// instrument may answer 5 January 2009 as "90105".
bool wordHoldsDate(const QString &word, const QDate &date);

// The answer to "WR": the first word is the calibration date, the second the expiration date;
// a missing word is empty, further words are ignored.
struct DateWords
{
    QString calibration;
    QString expiration;

    // An instrument that keeps an expiration date answers with a number in the second word.
    bool keepsExpiration() const { return wordNumber(expiration).has_value(); }
};

DateWords splitDateWords(const QString &reply);
