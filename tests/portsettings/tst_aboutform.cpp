// The about box: its texts and that Enter closes it.

#include "aboutform.h"

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

class TestAboutForm : public QObject
{
    Q_OBJECT
private slots:
    void showsNameAndVersion();
    void enterClosesIt();
};

void TestAboutForm::showsNameAndVersion()
{
    AboutForm about;
    about.show();
    QCOMPARE(about.windowTitle(), QStringLiteral("About VeltraExtSetCalibDate"));
    // "1.2.2": the caption shows "1.2", the full version all three numbers.
    const QString version = QStringLiteral(VELTRA_PROJECT_VERSION);
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+$")).match(version).hasMatch(),
             qPrintable(version));
    const QString majorMinor = version.section(QLatin1Char('.'), 0, 1);
    QCOMPARE(about.lblApplik->text(), QStringLiteral("VeltraSetCalibDate %1").arg(majorMinor));
    QCOMPARE(about.LabelFullVersion->text(), QStringLiteral("Version %1").arg(version));
    QVERIFY(!about.Label1[2]->text().isEmpty());
    QVERIFY(!about.Image2->pixmap().isNull());
    // The icon is drawn from the program's SVG resource; without it the picture stays blank.
    QCOMPARE(about.Image2->pixmap().toImage().pixelColor(24, 24).alpha(), 255);
}

void TestAboutForm::enterClosesIt()
{
    AboutForm about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTest::keyClick(&about, Qt::Key_Return);
    QTRY_VERIFY(about.isHidden());
    QCOMPARE(about.result(), int(QDialog::Accepted));
}

QTEST_MAIN(TestAboutForm)
#include "tst_aboutform.moc"
