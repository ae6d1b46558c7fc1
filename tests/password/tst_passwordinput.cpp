// The password entry dialog: what it hands back on OK, Enter and the ways of cancelling.

#include "passwordinput.h"
#include "scriptedui.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>

enum class CancelWay { EscapeKey, CancelButton, CloseBox };

class TestPasswordInput : public QObject
{
    Q_OBJECT

private slots:
    void opensEmptyAndMasked();
    void showsTheArrowWhenActive();
    void typedTextReachesTheCaller_data();
    void typedTextReachesTheCaller();
    void cancellingLeavesNoText_data();
    void cancellingLeavesNoText();
    void inputStopsAtTwentyCharacters();
    void charactersOutsideLatin1AreNotTaken();
    void typedCharactersShowAsAsterisks_data();
    void typedCharactersShowAsAsterisks();
};

void TestPasswordInput::opensEmptyAndMasked()
{
    PasswordInput dialog;
    QCOMPARE(dialog.password(), QString());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Input password"));
    QCOMPARE(dialog.TextCode->text(), QString());
    QCOMPARE(dialog.TextCode->echoMode(), QLineEdit::Password);
    QVERIFY(dialog.ComOK->isDefault());
    QCOMPARE(dialog.ComOK->geometry(), QRect(124, 96, 90, 25));
    QCOMPARE(dialog.size(), QSize(225, 134));
    dialog.show();
    QCOMPARE(dialog.focusWidget(), dialog.TextCode);
}

// The dialog may open while an operation shows the hourglass.
void TestPasswordInput::showsTheArrowWhenActive()
{
    ScriptedUi ui;
    ui.busy = true;
    PasswordInput dialog;
    dialog.show();
    dialog.activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(!ui.busy, 2000);
}

void TestPasswordInput::typedTextReachesTheCaller_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("pressEnter");
    QTest::newRow("Enter in the field gives the text") << QStringLiteral("Secret") << true;
    QTest::newRow("OK gives the text") << QStringLiteral("Secret") << false;
    QTest::newRow("Enter keeps leading and trailing spaces") << QStringLiteral(" a b ") << true;
    QTest::newRow("OK keeps leading and trailing spaces") << QStringLiteral(" a b ") << false;
    QTest::newRow("OK on an empty field gives the empty text") << QString() << false;
}

void TestPasswordInput::typedTextReachesTheCaller()
{
    QFETCH(QString, typed);
    QFETCH(bool, pressEnter);
    PasswordInput dialog;
    dialog.show();
    QTest::keyClicks(dialog.TextCode, typed);
    if (pressEnter)
        QTest::keyClick(dialog.TextCode, Qt::Key_Return);
    else
        dialog.ComOK->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.password(), typed);
}

void TestPasswordInput::cancellingLeavesNoText_data()
{
    QTest::addColumn<CancelWay>("way");
    QTest::newRow("Escape leaves no text") << CancelWay::EscapeKey;
    QTest::newRow("Cancel leaves no text") << CancelWay::CancelButton;
    QTest::newRow("the close box leaves no text") << CancelWay::CloseBox;
}

void TestPasswordInput::cancellingLeavesNoText()
{
    QFETCH(CancelWay, way);
    PasswordInput dialog;
    dialog.show();
    QTest::keyClicks(dialog.TextCode, QStringLiteral("Secret"));
    if (way == CancelWay::EscapeKey)
        QTest::keyClick(dialog.TextCode, Qt::Key_Escape);
    else if (way == CancelWay::CancelButton)
        dialog.ComCancel->click();
    else
        dialog.close();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(dialog.password(), QString());
}

void TestPasswordInput::inputStopsAtTwentyCharacters()
{
    PasswordInput dialog;
    dialog.show();
    QTest::keyClicks(dialog.TextCode, QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXY"));
    QTest::keyClick(dialog.TextCode, Qt::Key_Return);
    QCOMPARE(dialog.password(), QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
}

void TestPasswordInput::charactersOutsideLatin1AreNotTaken()
{
    PasswordInput dialog;
    dialog.show();
    // QTest types ASCII only; these are the key events of a keyboard that has the characters.
    for (const QChar c : QStringLiteral(u"\u00e4\u20acb")) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(dialog.TextCode, &press);
    }
    dialog.ComOK->click();
    QCOMPARE(dialog.password(), QStringLiteral(u"\u00e4b"));
}

void TestPasswordInput::typedCharactersShowAsAsterisks_data()
{
    QTest::addColumn<QString>("styleName");
    QTest::newRow("Fusion, whose own echo is a bullet") << QStringLiteral("Fusion");
    QTest::newRow("Windows") << QStringLiteral("Windows");
}

void TestPasswordInput::typedCharactersShowAsAsterisks()
{
    QFETCH(QString, styleName);
    QStyle *style = QStyleFactory::create(styleName);
    if (!style)
        QSKIP("this Qt has no such style");
    QApplication::setStyle(style);
    PasswordInput dialog;
    dialog.show();
    QTest::keyClicks(dialog.TextCode, QStringLiteral("a B1"));
    QCOMPARE(dialog.TextCode->displayText(), QStringLiteral("****"));
    QCOMPARE(dialog.TextCode->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr,
                                                 dialog.TextCode),
             int(u'*'));
}

QTEST_MAIN(TestPasswordInput)
#include "tst_passwordinput.moc"
