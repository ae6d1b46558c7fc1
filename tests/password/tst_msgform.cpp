// The password notice: "Don't show this message again" switches it off through the settings file
// only when ticked and closed with "&Close".

#include "msgform.h"
#include "programpaths.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

enum class CloseWay { CloseButton, EnterKey, CloseBox };

class TestMsgForm : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void closingWritesTheSettingOnlyWhenTicked_data();
    void closingWritesTheSettingOnlyWhenTicked();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
};

void TestMsgForm::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    setProgramPaths(m_folder->path());
}

void TestMsgForm::closingWritesTheSettingOnlyWhenTicked_data()
{
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<CloseWay>("way");
    QTest::addColumn<QString>("stored");
    QTest::newRow("ticked and Close writes 0")
        << true << CloseWay::CloseButton << QStringLiteral("0");
    QTest::newRow("ticked and Enter writes 0") << true << CloseWay::EnterKey << QStringLiteral("0");
    QTest::newRow("unticked and Close writes nothing")
        << false << CloseWay::CloseButton << QStringLiteral("unset");
    QTest::newRow("ticked and the close box writes nothing")
        << true << CloseWay::CloseBox << QStringLiteral("unset");
}

void TestMsgForm::closingWritesTheSettingOnlyWhenTicked()
{
    QFETCH(bool, ticked);
    QFETCH(CloseWay, way);
    QFETCH(QString, stored);
    MsgForm form;
    form.show();
    QCOMPARE(form.windowTitle(), QStringLiteral("Info"));
    QVERIFY(!form.Check1->isChecked());
    form.Check1->setChecked(ticked);
    if (way == CloseWay::CloseButton)
        form.cmdClose->click();
    else if (way == CloseWay::EnterKey)
        QTest::keyClick(&form, Qt::Key_Return);
    else
        form.close();
    QVERIFY(!form.isVisible());
    QCOMPARE(readAppSetting(QStringLiteral("ShowInfoPswMsg"), QStringLiteral("unset")), stored);
}

QTEST_MAIN(TestMsgForm)
#include "tst_msgform.moc"
