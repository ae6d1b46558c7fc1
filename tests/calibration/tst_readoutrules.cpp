// The rules by which the read-out shows version, checksum, battery and dates.

#include "readout.h"

#include <QLocale>
#include <QTest>

class ReadOutRules : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void versionCaption_data()
    {
        QTest::addColumn<QString>("ident");
        QTest::addColumn<bool>("changes");
        QTest::addColumn<QString>("caption");
        QTest::newRow("the last six characters are cut")
            << "Veltra K-40 V1.610" << true << "Veltra K-40";
        QTest::newRow("spaces around are trimmed first") << "  K-40 V1.610  " << true << "K-40";
        QTest::newRow("exactly six characters leave an empty caption") << "V1.610" << true << "";
        QTest::newRow("a shorter text keeps the old caption") << "V1.61" << false << "";
    }
    void versionCaption()
    {
        QFETCH(QString, ident);
        QFETCH(bool, changes);
        QFETCH(QString, caption);
        const std::optional<QString> result = ::versionCaption(ident);
        QCOMPARE(result.has_value(), changes);
        if (changes)
            QCOMPARE(*result, caption);
    }

    void checksumCaption_data()
    {
        QTest::addColumn<QString>("identEx");
        QTest::addColumn<QString>("caption");
        QTest::newRow("the last six characters are the checksum") << "K-40 1.610 CRC A1B2C3"
                                                                  << "A1B2C3";
        QTest::newRow("a point there takes the five characters before them") << "K-40 ABCDE 1.610"
                                                                             << "ABCDE";
        QTest::newRow("a point with a short front gives what is there") << "AB 1.610"
                                                                        << "AB";
        QTest::newRow("a short text with a point gives nothing") << "1.61"
                                                                 << "";
        QTest::newRow("spaces in the tail are trimmed") << "K-40 CRC  F00D "
                                                        << "F00D";
        QTest::newRow("a trailing blank is no part of the checksum") << "K-40 1.610 CRC 3A7F1C "
                                                                     << "3A7F1C";
    }
    void checksumCaption()
    {
        QFETCH(QString, identEx);
        QFETCH(QString, caption);
        QCOMPARE(::checksumCaption(identEx), caption);
    }

    void batteryCaption_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("volts");
        QTest::addColumn<QString>("caption");
        QTest::newRow("one decimal in the C locale") << "C" << 3.14 << "3.1 V";
        QTest::newRow("rounded up") << "C" << 3.66 << "3.7 V";
        QTest::newRow("a whole number keeps its decimal") << "C" << 4.0 << "4.0 V";
        QTest::newRow("the German decimal comma") << "de_DE" << 3.14 << "3,1 V";
        QTest::newRow("no thousands separator") << "en_US" << 1234.5 << "1234.5 V";
        QTest::newRow("no German thousands separator either") << "de_DE" << 1234.5 << "1234,5 V";
    }
    void batteryCaption()
    {
        QFETCH(QString, locale);
        QFETCH(double, volts);
        QFETCH(QString, caption);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(::batteryCaption(volts), caption);
    }

    void instrumentDate_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QDate>("date");
        QTest::newRow("a plain date") << "100921" << QDate(2010, 9, 21);
        QTest::newRow("month 13 is January of the next year") << "101301" << QDate(2011, 1, 1);
        QTest::newRow("day 0 is the last day of the month before")
            << "100300" << QDate(2010, 2, 28);
        QTest::newRow("month 0 is December of the year before") << "100015" << QDate(2009, 12, 15);
        QTest::newRow("day 31 in a 30-day month rolls into the next")
            << "100431" << QDate(2010, 5, 1);
        QTest::newRow("a leap day") << "240229" << QDate(2024, 2, 29);
        QTest::newRow("letters read as zero") << "10xx15" << QDate(2009, 12, 15);
        QTest::newRow("a word without leading digits is year 20") << "ab0101" << QDate(2020, 1, 1);
        QTest::newRow("an empty word gives no date") << "" << QDate();
    }
    void instrumentDate()
    {
        QFETCH(QString, word);
        QFETCH(QDate, date);
        const std::optional<QDate> result = ::instrumentDate(word);
        QVERIFY(result.has_value());
        QCOMPARE(*result, date);
    }

    // Read on 11 December 2026.
    void expirationNote_data()
    {
        QTest::addColumn<QString>("words");
        QTest::addColumn<QVariant>("daysLeft");
        QTest::addColumn<QString>("note");
        QTest::newRow("passed yesterday: expired") << "251211 261210" << QVariant(-1) << "expired";
        QTest::newRow("expires today: due") << "251211 261211" << QVariant(0) << "due in 0 days";
        QTest::newRow("within 30 days: due") << "251211 270110" << QVariant(30) << "due in 30 days";
        QTest::newRow("beyond 30 days: nothing to say")
            << "251211 270111" << QVariant(31) << QString();
        QTest::newRow("1 January 2001 stands for none")
            << "251211 010101" << QVariant() << QString();
        QTest::newRow("a model without an expiration date") << "251211" << QVariant() << QString();
    }
    void expirationNote()
    {
        QFETCH(QString, words);
        QFETCH(QVariant, daysLeft);
        QFETCH(QString, note);
        ReadOut readOut;
        readOut.dateWords = splitDateWords(words);
        readOut.expirationDate = ::instrumentDate(readOut.dateWords.expiration);
        const std::optional<qint64> days = expirationDaysLeft(readOut, QDate(2026, 12, 11));
        QCOMPARE(days.has_value(), daysLeft.isValid());
        if (days) {
            QCOMPARE(*days, daysLeft.toLongLong());
            QCOMPARE(::expirationNote(*days), note);
        }
    }
};

QTEST_APPLESS_MAIN(ReadOutRules)
#include "tst_readoutrules.moc"
