#include "settingvalue.h"

#include <QLocale>
#include <QTest>

using Kind = SettingValue::Kind;
Q_DECLARE_METATYPE(SettingValue)
Q_DECLARE_METATYPE(SettingValue::Kind)

class TestSettingValue : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void getValue_data();
    void getValue();
    void listLineRunsOut_data();
    void listLineRunsOut();
    void decimalSeparatorUnderAnyLocale_data();
    void decimalSeparatorUnderAnyLocale();
    void toInt16_data();
    void toInt16();
    void textHelpers();
};

void TestSettingValue::getValue_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("removeFlag");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("lineAfter");

    const QString sp = QStringLiteral(" ");
    const QString semi = QStringLiteral(";");
    QTest::newRow("a stored text yields its first word")
        << "12 months" << 0 << sp << Kind::Number << 12.0 << "12 months";
    QTest::newRow("a first word that is not a number is a failure")
        << "COM 7" << 0 << sp << Kind::Failure << -1.0 << "COM 7";
    QTest::newRow("leading spaces are removed") << "  7" << 0 << sp << Kind::Number << 7.0 << "  7";
    QTest::newRow("a stored -1 is a number, not a failure")
        << "-1" << 0 << sp << Kind::Number << -1.0 << "-1";
    QTest::newRow("comma as decimal separator") << "1,5" << 0 << sp << Kind::Number << 1.5 << "1,5";
    QTest::newRow("point as decimal separator") << "1.5" << 0 << sp << Kind::Number << 1.5 << "1.5";
    QTest::newRow("a leading point gets a zero") << ".5" << 0 << sp << Kind::Number << 0.5 << ".5";
    QTest::newRow("a leading comma gets a zero")
        << ",25" << 0 << sp << Kind::Number << 0.25 << ",25";
    QTest::newRow("two decimal separators are no number")
        << "1,5.3" << 0 << sp << Kind::Failure << -1.0 << "1,5.3";
    QTest::newRow("grouped thousands are no number")
        << "1.000.000" << 0 << sp << Kind::Failure << -1.0 << "1.000.000";
    QTest::newRow("hexadecimal after &H") << "&H1F" << 0 << sp << Kind::Number << 31.0 << "&H1F";
    QTest::newRow("hexadecimal in lower case")
        << "&hff" << 0 << sp << Kind::Number << 255.0 << "&hff";
    QTest::newRow("&HFFFF is the plain number 65535")
        << "&HFFFF" << 0 << sp << Kind::Number << 65535.0 << "&HFFFF";
    QTest::newRow("&H without digits is a failure")
        << "&H" << 0 << sp << Kind::Failure << -1.0 << "&H";
    QTest::newRow("&H followed by a non-digit is a failure")
        << "&H1G" << 0 << sp << Kind::Failure << -1.0 << "&H1G";
    QTest::newRow("&H followed by a sign is a failure")
        << "&H-1" << 0 << sp << Kind::Failure << -1.0 << "&H-1";
    QTest::newRow("&H beyond 64 bits is a failure")
        << "&H10000000000000000" << 0 << sp << Kind::Failure << -1.0 << "&H10000000000000000";
    QTest::newRow("true in lower case") << "true" << 0 << sp << Kind::Truth << -1.0 << "true";
    QTest::newRow("False in mixed case") << "False" << 0 << sp << Kind::Truth << 0.0 << "False";
    QTest::newRow("a space before the separator spoils FALSE")
        << "FALSE ;1" << 0 << semi << Kind::Failure << -1.0 << "FALSE ;1";
    QTest::newRow("everything from a NUL on is ignored")
        << QString::fromLatin1("7\0 8 junk", 9) << 0 << sp << Kind::Number << 7.0
        << QString::fromLatin1("7\0 8 junk", 9);
    QTest::newRow("a NUL cuts the rest of a list too")
        << QString::fromLatin1("1;2\0;3", 6) << 1 << semi << Kind::Number << 1.0 << "2";
    QTest::newRow("empty separator takes the whole line")
        << "  12 " << 0 << QString() << Kind::Number << 12.0 << "  12 ";
    QTest::newRow("empty separator with removal empties the line")
        << "  12 " << 1 << QString() << Kind::Number << 12.0 << "";
    QTest::newRow("removal leaves the trimmed rest")
        << "3 ;  4 5  " << 1 << semi << Kind::Number << 3.0 << "4 5";
    QTest::newRow("any non-zero flag removes") << "3;4" << -1 << semi << Kind::Number << 3.0 << "4";
    QTest::newRow("tabs are not spaces")
        << "\t7" << 1 << QStringLiteral("\t") << Kind::Failure << -1.0 << "7";
    QTest::newRow("an empty line is a failure") << "" << 0 << sp << Kind::Failure << -1.0 << "";
    QTest::newRow("a number beyond a double is a failure")
        << QString(400, u'9') << 0 << sp << Kind::Failure << -1.0 << QString(400, u'9');
    QTest::newRow("an exponent beyond a double is a failure")
        << "1E400" << 0 << sp << Kind::Failure << -1.0 << "1E400";
    QTest::newRow("infinity is no number") << "inf" << 0 << sp << Kind::Failure << -1.0 << "inf";
    QTest::newRow("NaN is no number") << "nan" << 0 << sp << Kind::Failure << -1.0 << "nan";
}

void TestSettingValue::getValue()
{
    QFETCH(QString, line);
    QFETCH(int, removeFlag);
    QFETCH(QString, separator);
    QFETCH(Kind, kind);
    QFETCH(double, value);
    QFETCH(QString, lineAfter);

    const SettingValue result = GetValue(line, removeFlag, separator);
    QCOMPARE(result.kind(), kind);
    QCOMPARE(result.toDouble(), value);
    QCOMPARE(line, lineAfter);
}

void TestSettingValue::listLineRunsOut_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QList<int>>("values");

    QTest::newRow("the default list gives three values, then -1")
        << "0;3;5" << QList<int>{0, 3, 5, -1};
    QTest::newRow("a list of one value gives -1 for the others") << "1" << QList<int>{1, -1, -1};
    QTest::newRow("an empty element is a failure") << "1;;5" << QList<int>{1, -1, 5};
}

void TestSettingValue::listLineRunsOut()
{
    QFETCH(QString, line);
    QFETCH(QList<int>, values);

    QList<int> taken;
    for (qsizetype i = 0; i < values.size(); ++i)
        taken.append(GetValue(line, 1, QStringLiteral(";")).toInt16().value());
    QCOMPARE(taken, values);
    QCOMPARE(line, QString());
}

void TestSettingValue::decimalSeparatorUnderAnyLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    QTest::newRow("German locale, comma") << "de_DE"
                                          << "1,5" << 1.5;
    QTest::newRow("German locale, point") << "de_DE"
                                          << "1.5" << 1.5;
    QTest::newRow("German locale, negative with point") << "de_DE"
                                                        << "-2.25" << -2.25;
    QTest::newRow("English locale, comma") << "en_US"
                                           << "1,5" << 1.5;
    QTest::newRow("English locale, point") << "en_US"
                                           << "1.5" << 1.5;
    QTest::newRow("C locale, comma") << "C"
                                     << "1,5" << 1.5;
    QTest::newRow("C locale, point") << "C"
                                     << "1.5" << 1.5;
    QTest::newRow("Arabic locale with its own decimal sign, point") << "ar_EG"
                                                                    << "1.5" << 1.5;
}

void TestSettingValue::decimalSeparatorUnderAnyLocale()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(double, value);

    QLocale::setDefault(QLocale(locale));
    const SettingValue result = GetValue(text, 0, QStringLiteral(" "));
    QCOMPARE(result.kind(), Kind::Number);
    QCOMPARE(result.toDouble(), value);
}

void TestSettingValue::toInt16_data()
{
    QTest::addColumn<SettingValue>("value");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<int>("expected");

    QTest::newRow("2.5 rounds down to the even 2") << SettingValue::number(2.5) << true << 2;
    QTest::newRow("3.5 rounds up to the even 4") << SettingValue::number(3.5) << true << 4;
    QTest::newRow("-2.5 rounds to the even -2") << SettingValue::number(-2.5) << true << -2;
    QTest::newRow("-3.5 rounds to the even -4") << SettingValue::number(-3.5) << true << -4;
    QTest::newRow("2.6 rounds to the nearest 3") << SettingValue::number(2.6) << true << 3;
    QTest::newRow("0.5 rounds to 0") << SettingValue::number(0.5) << true << 0;
    QTest::newRow("32767 is the largest") << SettingValue::number(32767) << true << 32767;
    QTest::newRow("32767.5 rounds to 32768, an overflow")
        << SettingValue::number(32767.5) << false << 0;
    QTest::newRow("32768 is an overflow") << SettingValue::number(32768) << false << 0;
    QTest::newRow("-32768 is the smallest") << SettingValue::number(-32768) << true << -32768;
    QTest::newRow("-32768.5 rounds to the even -32768")
        << SettingValue::number(-32768.5) << true << -32768;
    QTest::newRow("-32769 is an overflow") << SettingValue::number(-32769) << false << 0;
    QTest::newRow("true is -1") << SettingValue::truth(true) << true << -1;
    QTest::newRow("false is 0") << SettingValue::truth(false) << true << 0;
    QTest::newRow("the failure marker is -1") << SettingValue::failure() << true << -1;
}

void TestSettingValue::toInt16()
{
    QFETCH(SettingValue, value);
    QFETCH(bool, fits);
    QFETCH(int, expected);

    const std::optional<qint16> result = value.toInt16();
    QCOMPARE(result.has_value(), fits);
    if (fits)
        QCOMPARE(int(*result), expected);
}

void TestSettingValue::textHelpers()
{
    QCOMPARE(CutNull(QString::fromLatin1("ab\0cd\0", 6)), QStringLiteral("ab"));
    QCOMPARE(CutNull(QStringLiteral("abc")), QStringLiteral("abc"));
    QCOMPARE(CommaToPoint(QStringLiteral("1,5,")), QStringLiteral("1.5."));
    QCOMPARE(PointToComma(QStringLiteral("1.5.")), QStringLiteral("1,5,"));
    QCOMPARE(trimSpaces(QStringLiteral("  a b \t ")), QStringLiteral("a b \t"));
    QCOMPARE(trimLeadingSpaces(QStringLiteral("  a  ")), QStringLiteral("a  "));
}

QTEST_APPLESS_MAIN(TestSettingValue)
#include "tst_settingvalue.moc"
