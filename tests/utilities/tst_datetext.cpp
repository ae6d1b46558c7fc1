#include "datetext.h"

#include <QTest>

class TestDateText : public QObject
{
    Q_OBJECT

private slots:
    void textToDate_data();
    void textToDate();
    void daysInMonth_data();
    void daysInMonth();
};

void TestDateText::textToDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("timeOnly");
    QTest::addColumn<QDateTime>("expected");

    const QDateTime firstJan2001(QDate(2001, 1, 1), QTime(0, 0));
    const QDateTime firstJan1900(QDate(1900, 1, 1), QTime(0, 0));
    QTest::newRow("day, month and year with points") << "01.01.2001" << false << firstJan2001;
    QTest::newRow("slashes and a two-digit year") << "1/1/01" << false << firstJan2001;
    QTest::newRow("dashes and one-digit numbers") << "1-1-1" << false << firstJan2001;
    QTest::newRow("runs of separators count once")
        << "  1 ..// 1 -- 2001  " << false << firstJan2001;
    QTest::newRow("a day beyond the month is cut to its end")
        << "31.02.2001" << false << QDateTime(QDate(2001, 2, 28), QTime(0, 0));
    QTest::newRow("29 February of year 00 is 2000, a leap year")
        << "29.02.00" << false << QDateTime(QDate(2000, 2, 29), QTime(0, 0));
    QTest::newRow("1900 is no leap year")
        << "29.02.1900" << false << QDateTime(QDate(1900, 2, 28), QTime(0, 0));
    QTest::newRow("31 April is cut to 30")
        << "31.4.2001" << false << QDateTime(QDate(2001, 4, 30), QTime(0, 0));
    QTest::newRow("year 70 lies in this century")
        << "5.7.70" << false << QDateTime(QDate(2070, 7, 5), QTime(0, 0));
    QTest::newRow("year 71 lies in the last century")
        << "5.7.71" << false << QDateTime(QDate(1971, 7, 5), QTime(0, 0));
    QTest::newRow("a three-digit year stays")
        << "5.7.100" << false << QDateTime(QDate(100, 7, 5), QTime(0, 0));
    QTest::newRow("day and month only: year 2000")
        << "12.5" << false << QDateTime(QDate(2000, 5, 12), QTime(0, 0));
    QTest::newRow("day and month only: the day meets its month")
        << "31.2" << false << QDateTime(QDate(2000, 2, 29), QTime(0, 0));
    QTest::newRow("one number gives 1 January 1900") << "12" << false << firstJan1900;
    QTest::newRow("an empty text gives 1 January 1900") << "" << false << firstJan1900;
    QTest::newRow("date and time of day")
        << "24.12.2010 18:30:15" << false << QDateTime(QDate(2010, 12, 24), QTime(18, 30, 15));
    QTest::newRow("date and hour only")
        << "24.12.2010 18" << false << QDateTime(QDate(2010, 12, 24), QTime(18, 0));
    QTest::newRow("numbers after the seconds are ignored")
        << "24.12.2010 18:30:15 99 7" << false << QDateTime(QDate(2010, 12, 24), QTime(18, 30, 15));
    QTest::newRow("day and month zero are raised to 1") << "0.0.2001" << false << firstJan2001;
    QTest::newRow("day and month too large are lowered")
        << "45.13.2001" << false << QDateTime(QDate(2001, 12, 31), QTime(0, 0));
    QTest::newRow("time fields are limited")
        << "1.1.2001 25:61:99" << false << QDateTime(QDate(2001, 1, 1), QTime(23, 59, 59));
    QTest::newRow("a number beyond 16 bits counts as 0")
        << "32768.3.2001" << false << QDateTime(QDate(2001, 3, 1), QTime(0, 0));
    QTest::newRow("a year beyond 16 bits counts as 0, which is 2000")
        << "1.3.99999" << false << QDateTime(QDate(2000, 3, 1), QTime(0, 0));
    QTest::newRow("a hundred-digit number counts as 0")
        << "1.3." + QString(100, u'9') << false << QDateTime(QDate(2000, 3, 1), QTime(0, 0));
    QTest::newRow("only ASCII digits are digits") << QString::fromUtf8("\u0661.1.2001") << false
                                                  << QDateTime(QDate(2000, 12, 1), QTime(0, 0));
    QTest::newRow("time only: hour and minute")
        << "18:30" << true << QDateTime(QDate(1899, 12, 30), QTime(18, 30));
    QTest::newRow("time only: hour, minute, second")
        << "7.05.09" << true << QDateTime(QDate(1899, 12, 30), QTime(7, 5, 9));
    QTest::newRow("time only without numbers is midnight")
        << "" << true << QDateTime(QDate(1899, 12, 30), QTime(0, 0));
}

void TestDateText::textToDate()
{
    QFETCH(QString, text);
    QFETCH(bool, timeOnly);
    QFETCH(QDateTime, expected);

    QCOMPARE(TextToDate(text, timeOnly), expected);
}

void TestDateText::daysInMonth_data()
{
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("days");

    QTest::newRow("January") << 1 << 2001 << 31;
    QTest::newRow("February of a common year") << 2 << 2001 << 28;
    QTest::newRow("February of a year divisible by 4") << 2 << 2004 << 29;
    QTest::newRow("February of a century year") << 2 << 1900 << 28;
    QTest::newRow("February of a year divisible by 400") << 2 << 2000 << 29;
    QTest::newRow("February of year 0") << 2 << 0 << 29;
    QTest::newRow("April") << 4 << 2001 << 30;
    QTest::newRow("June") << 6 << 2001 << 30;
    QTest::newRow("July") << 7 << 2001 << 31;
    QTest::newRow("August") << 8 << 2001 << 31;
    QTest::newRow("September") << 9 << 2001 << 30;
    QTest::newRow("October") << 10 << 2001 << 31;
    QTest::newRow("November") << 11 << 2001 << 30;
    QTest::newRow("December") << 12 << 2001 << 31;
}

void TestDateText::daysInMonth()
{
    QFETCH(int, month);
    QFETCH(int, year);
    QFETCH(int, days);

    QCOMPARE(DaysInMonth(month, year), days);
}

QTEST_APPLESS_MAIN(TestDateText)
#include "tst_datetext.moc"
