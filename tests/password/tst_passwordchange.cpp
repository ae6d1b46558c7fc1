// The password change dialog: its Editing and Done states, what it stores, its questions and
// messages, and how Enter and Down arrow move through the fields.

#include "passwordchange.h"
#include "passwordstore.h"
#include "programpaths.h"
#include "scriptedui.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

enum class State { Editing, Done, Mixed };

// The light grey of the confirmation field while it is disabled.
const QColor DisabledFieldColor(192, 192, 192);

class TestPasswordChange : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void opensInEditingWithTheConfirmationClosed();
    void updateOutcomes_data();
    void updateOutcomes();
    void deleteAnsweredNoKeepsThePassword();
    void differingEntriesAreAConfirmError();
    void typingAfterAnUpdateAllowsAnother();
    void closeInStateDoneClosesTheDialog();
    void keysMoveThroughTheFields();
    void passwordThatCannotBeSavedIsNotInForce();

private:
    bool fileExists() const { return QFile::exists(PrgPath + PasswordFileName); }
    static State state(const PasswordChange &dialog);
    static void typeBoth(PasswordChange &dialog, const QString &first, const QString &second);

    std::unique_ptr<QTemporaryDir> m_folder;
    PasswordStore m_store;
};

void TestPasswordChange::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    setProgramPaths(m_folder->path());
    m_store = PasswordStore();
}

State TestPasswordChange::state(const PasswordChange &dialog)
{
    const QString caption = dialog.ComOK->text();
    const bool cancelEnabled = dialog.ComCancel->isEnabled();
    if (caption == QStringLiteral("&Update") && cancelEnabled)
        return State::Editing;
    if (caption == QStringLiteral("&Close") && !cancelEnabled)
        return State::Done;
    return State::Mixed;
}

void TestPasswordChange::typeBoth(PasswordChange &dialog, const QString &first,
                                  const QString &second)
{
    QTest::keyClicks(dialog.TextExpert[0], first);
    QTest::keyClicks(dialog.TextExpert[1], second);
}

void TestPasswordChange::opensInEditingWithTheConfirmationClosed()
{
    PasswordChange dialog(m_store);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Change Password"));
    QCOMPARE(state(dialog), State::Editing);
    QVERIFY(dialog.ComCancel->isDefault());
    QCOMPARE(dialog.TextExpert[0]->echoMode(), QLineEdit::Normal);
    QCOMPARE(dialog.TextExpert[0]->maxLength(), 20);
    QVERIFY(!dialog.TextExpert[1]->isEnabled());
    QCOMPARE(dialog.TextExpert[1]->palette().color(QPalette::Base), DisabledFieldColor);

    QTest::keyClick(dialog.TextExpert[0], Qt::Key_A);
    QVERIFY(dialog.TextExpert[1]->isEnabled());
    QVERIFY(dialog.TextExpert[1]->palette().color(QPalette::Base) != DisabledFieldColor);
}

void TestPasswordChange::updateOutcomes_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<bool>("written");
    QTest::newRow("no password and empty fields store nothing and ask nothing")
        << QString() << QString() << QStringList() << false;
    QTest::newRow("the current password typed twice stores nothing")
        << QStringLiteral("abc") << QStringLiteral("abc") << QStringList() << false;
    QTest::newRow("a new password is stored as typed, spaces and all")
        << QStringLiteral("abc") << QStringLiteral(" New pw ") << QStringList() << true;
    QTest::newRow("a first password is stored")
        << QString() << QStringLiteral("first") << QStringList() << true;
    QTest::newRow("empty fields with a password set delete it after Yes")
        << QStringLiteral("abc") << QString() << QStringList{QStringLiteral("Delete Password?")}
        << true;
}

void TestPasswordChange::updateOutcomes()
{
    QFETCH(QString, current);
    QFETCH(QString, typed);
    QFETCH(QStringList, boxes);
    QFETCH(bool, written);
    ScriptedUi ui;
    ui.answers.enqueue(MsgResult::Yes);
    m_store.setPassword(current);
    PasswordChange dialog(m_store);
    dialog.show();
    typeBoth(dialog, typed, typed);
    dialog.ComOK->click();

    QCOMPARE(ui.texts(), boxes);
    QCOMPARE(state(dialog), State::Done);
    QCOMPARE(m_store.password(), written ? typed : current);
    QCOMPARE(fileExists(), written);
    if (written) {
        m_store.setPassword(QStringLiteral("stale"));
        QVERIFY(m_store.ReadPassword().ok());
        QCOMPARE(m_store.password(), typed);
    }
}

void TestPasswordChange::deleteAnsweredNoKeepsThePassword()
{
    ScriptedUi ui;
    ui.answers.enqueue(MsgResult::No);
    m_store.setPassword(QStringLiteral("abc"));
    PasswordChange dialog(m_store);
    dialog.show();
    dialog.ComOK->click();

    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(ui.boxes[0].text, QStringLiteral("Delete Password?"));
    QCOMPARE(ui.boxes[0].buttons, MsgButtons::YesNo);
    QCOMPARE(ui.boxes[0].icon, MsgIcon::Question);
    QCOMPARE(ui.boxes[0].defaultButton, MsgResult::No);
    QCOMPARE(ui.boxes[0].title, QStringLiteral("VeltraSetCalibDate"));
    QCOMPARE(m_store.password(), QStringLiteral("abc"));
    QVERIFY(!fileExists());
    QCOMPARE(state(dialog), State::Editing);
    QCOMPARE(dialog.focusWidget(), dialog.TextExpert[0]);
}

void TestPasswordChange::differingEntriesAreAConfirmError()
{
    ScriptedUi ui;
    PasswordChange dialog(m_store);
    dialog.show();
    typeBoth(dialog, QStringLiteral("Abc"), QStringLiteral("abc"));
    dialog.ComOK->click();

    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(ui.boxes[0].text, QStringLiteral("Confirm error!"));
    QCOMPARE(ui.boxes[0].icon, MsgIcon::Stop);
    QCOMPARE(ui.boxes[0].buttons, MsgButtons::Ok);
    QCOMPARE(m_store.password(), QString());
    QVERIFY(!fileExists());
    QCOMPARE(state(dialog), State::Editing);
    QCOMPARE(dialog.focusWidget(), dialog.TextExpert[1]);
}

void TestPasswordChange::typingAfterAnUpdateAllowsAnother()
{
    ScriptedUi ui;
    PasswordChange dialog(m_store);
    dialog.show();
    typeBoth(dialog, QStringLiteral("one"), QStringLiteral("one"));
    dialog.ComOK->click();
    QCOMPARE(state(dialog), State::Done);

    // The confirmation alone does not reopen the update.
    QTest::keyClick(dialog.TextExpert[1], Qt::Key_X);
    QCOMPARE(state(dialog), State::Done);

    dialog.TextExpert[0]->clear();
    dialog.TextExpert[1]->clear();
    QCOMPARE(state(dialog), State::Editing);
    typeBoth(dialog, QStringLiteral("two"), QStringLiteral("two"));
    dialog.ComOK->click();
    QCOMPARE(state(dialog), State::Done);
    QCOMPARE(m_store.password(), QStringLiteral("two"));
    QVERIFY(ui.boxes.isEmpty());
}

void TestPasswordChange::closeInStateDoneClosesTheDialog()
{
    PasswordChange dialog(m_store);
    dialog.show();
    dialog.ComOK->click();
    QVERIFY(dialog.isVisible());
    dialog.ComOK->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void TestPasswordChange::keysMoveThroughTheFields()
{
    PasswordChange dialog(m_store);
    dialog.show();
    QCOMPARE(dialog.focusWidget(), dialog.ComCancel);

    // The confirmation is still closed: Down arrow stays in the empty field.
    dialog.TextExpert[0]->setFocus();
    QTest::keyClick(dialog.TextExpert[0], Qt::Key_Down);
    QCOMPARE(dialog.focusWidget(), dialog.TextExpert[0]);

    QTest::keyClicks(dialog.TextExpert[0], QStringLiteral("pw"));
    QTest::keyClick(dialog.TextExpert[0], Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(dialog.focusWidget(), dialog.TextExpert[0]);
    QTest::keyClick(dialog.TextExpert[0], Qt::Key_Down);
    QCOMPARE(dialog.focusWidget(), dialog.TextExpert[1]);

    // Enter moves on whatever modifier is held, and never reaches the default button Cancel.
    dialog.TextExpert[0]->setFocus();
    QTest::keyClick(dialog.TextExpert[0], Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(dialog.focusWidget(), dialog.TextExpert[1]);
    QTest::keyClick(dialog.TextExpert[1], Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(dialog.focusWidget(), dialog.ComOK);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.TextExpert[0]->text(), QStringLiteral("pw"));
}

void TestPasswordChange::passwordThatCannotBeSavedIsNotInForce()
{
    QVERIFY(QDir(PrgPath).mkdir(PasswordFileName));
    ScriptedUi ui;
    m_store.setPassword(QStringLiteral("old"));
    PasswordChange dialog(m_store);
    dialog.show();
    typeBoth(dialog, QStringLiteral("new"), QStringLiteral("new"));
    dialog.ComOK->click();
    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(m_store.password(), QStringLiteral("old"));
    QCOMPARE(state(dialog), State::Editing);
}

QTEST_MAIN(TestPasswordChange)
#include "tst_passwordchange.moc"
