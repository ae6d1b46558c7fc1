#include "texttokens.h"

#include <QTest>

class TestTextTokens : public QObject
{
    Q_OBJECT

private slots:
    void getToken_data();
    void getToken();
    void extractNumber_data();
    void extractNumber();
};

void TestTextTokens::getToken_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("token");
    QTest::addColumn<QString>("lineAfter");

    QTest::newRow("first word of a reply, line trimmed first") << " WR 123 456"
                                                               << " "
                                                               << "WR"
                                                               << "123 456";
    QTest::newRow("port name split at M") << "COM10"
                                          << "M"
                                          << "CO"
                                          << "10";
    QTest::newRow("no separator: the whole line, line emptied") << "abc"
                                                                << " "
                                                                << "abc"
                                                                << "";
    QTest::newRow("no separator: the token is the trimmed line") << "  abc  "
                                                                 << ";"
                                                                 << "abc"
                                                                 << "";
    QTest::newRow("a two-character separator is skipped whole") << "a::b"
                                                                << "::"
                                                                << "a"
                                                                << "b";
    QTest::newRow("the token keeps spaces before the separator") << "a ;b"
                                                                 << ";"
                                                                 << "a "
                                                                 << "b";
    QTest::newRow("the rest is trimmed") << "a;  b c  "
                                         << ";"
                                         << "a"
                                         << "b c";
    QTest::newRow("separator first gives an empty token") << ";b"
                                                          << ";"
                                                          << ""
                                                          << "b";
    QTest::newRow("separators match case-sensitively") << "com10"
                                                       << "M"
                                                       << "com10"
                                                       << "";
    QTest::newRow("tabs are not trimmed") << "\tab\t"
                                          << ";"
                                          << "\tab\t"
                                          << "";
    QTest::newRow("an empty line") << ""
                                   << " "
                                   << ""
                                   << "";
}

void TestTextTokens::getToken()
{
    QFETCH(QString, line);
    QFETCH(QString, separator);
    QFETCH(QString, token);
    QFETCH(QString, lineAfter);

    QCOMPARE(GetToken(line, separator), token);
    QCOMPARE(line, lineAfter);
}

void TestTextTokens::extractNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");

    QTest::newRow("dotted version: the first point counts") << "V1.6.05" << 1.605;
    QTest::newRow("plain version") << "1.605" << 1.605;
    QTest::newRow("version after a word") << "Ver 2.10" << 2.1;
    QTest::newRow("one digit is too little") << "7" << 1.0;
    QTest::newRow("no digits") << "abc" << 1.0;
    QTest::newRow("empty text") << "" << 1.0;
    QTest::newRow("a lone point is too little") << "." << 1.0;
    QTest::newRow("two digits") << "12" << 12.0;
    QTest::newRow("the sign is skipped") << "-1.5" << 1.5;
    QTest::newRow("digits collected past letters") << "a1b2" << 12.0;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("trailing point") << "1." << 1.0;
    QTest::newRow("a number beyond a double counts as none") << QString(400, u'9') << 1.0;
}

void TestTextTokens::extractNumber()
{
    QFETCH(QString, text);
    QFETCH(double, number);

    QCOMPARE(ExtractNumber(text), number);
}

QTEST_APPLESS_MAIN(TestTextTokens)
#include "tst_texttokens.moc"
