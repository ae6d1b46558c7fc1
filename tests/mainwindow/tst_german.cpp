// The window, the port dialog and Qt's own buttons in German when the system locale is German;
// counts in the forms of each language.

#include "comsettings.h"
#include "frmveltra.h"
#include "programpaths.h"
#include "readout.h"
#include "recordchain.h"
#include "scriptedserialcontrol.h"
#include "scriptedui.h"
#include "translations.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

class German : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // ctest starts this test with LANG and LC_ALL set to de_DE.UTF-8.
        QCOMPARE(QLocale::system().language(), QLocale::German);
        installTranslations(*qApp);
        setProgramPaths(m_dir.path());
    }

    void windowTexts_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("german");

        ScriptedSerialControl comm;
        frmVeltra window(comm);
        QTest::newRow("the File menu") << window.mnuFile->title() << "&Datei";
        QTest::newRow("the Configuration menu") << window.mnuFunctions->title() << "&Konfiguration";
        QTest::newRow("the Options menu") << window.mnuOptions->title() << "&Optionen";
        QTest::newRow("the History item") << window.mnuHistory->text() << "&Verlauf...";
        QTest::newRow("the Read button") << window.ComRead->text() << "&Lesen";
        QTest::newRow("the change button")
            << window.ComChange->text() << "Kalibrierdatum &ändern...";
        QTest::newRow("the serial number") << window.PanelSerialNo->text() << "Seriennr. :";
        QTest::newRow("the battery") << window.PanelBatt->text() << "Batterie [V] :";
        QTest::newRow("the checksum") << window.PanelCheckSum->text() << "Prüfsumme :";
        QTest::newRow("the date to set") << window.Label1[0]->text() << "Kalibrierdatum :";
        QTest::newRow("the expiration date")
            << window.Label1[3]->text() << "Ablaufdatum der Kalibrierung :";

        ComSettings dialog(window.link());
        QTest::newRow("the port dialog's title") << dialog.windowTitle() << "COM-Einstellungen";
        QTest::newRow("the port dialog's search button")
            << dialog.ComSearch->text() << "Veltra &suchen";
        QTest::newRow("the port dialog's group, not its title again")
            << dialog.Frame3->title() << "Schnittstelle";
        // Stored in English, shown in German.
        QTest::newRow("an outcome in the history")
            << outcomeShown(RecordOutcome::Verified) << "verifiziert";
        QTest::newRow("a source in the history") << sourceShown(RecordSource::Tool) << "Werkzeug";

        QMessageBox box(QMessageBox::Question, QString(), QString(),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QTest::newRow("Qt's Yes") << box.button(QMessageBox::Yes)->text().remove(u'&') << "Ja";
        QTest::newRow("Qt's Cancel") << box.button(QMessageBox::Cancel)->text() << "Abbrechen";
    }
    void windowTexts()
    {
        QFETCH(QString, shown);
        QFETCH(QString, german);
        QCOMPARE(shown, german);
    }

    // The German texts are longer; the forms keep the English geometry, so every text must fit.
    void nothingCut()
    {
        ScriptedSerialControl comm;
        frmVeltra window(comm);
        ComSettings dialog(window.link());
        window.show();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        for (const QWidget *form :
             {static_cast<QWidget *>(&window), static_cast<QWidget *>(&dialog)}) {
            for (const QWidget *w : form->findChildren<QWidget *>()) {
                const auto *label = qobject_cast<const QLabel *>(w);
                const auto *button = qobject_cast<const QAbstractButton *>(w);
                const QString text = label ? label->text() : button ? button->text() : QString();
                if (text.trimmed().isEmpty() || (label && label->wordWrap()))
                    continue;
                QVERIFY2(w->sizeHint().width() <= w->width(),
                         qPrintable(QStringLiteral("%1: %2 > %3")
                                        .arg(text)
                                        .arg(w->sizeHint().width())
                                        .arg(w->width())));
            }
        }
    }

    void countsTakeTheirForms_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("due");
        QTest::addColumn<QString>("intact");
        QTest::newRow("German, one") << "de" << 1 << "fällig in 1 Tag"
                                     << "intakt: 1 Eintrag";
        QTest::newRow("German, two") << "de" << 2 << "fällig in 2 Tagen"
                                     << "intakt: 2 Einträge";
        QTest::newRow("English, one") << "en" << 1 << "due in 1 day"
                                      << "intact: 1 entry";
        QTest::newRow("English, two") << "en" << 2 << "due in 2 days"
                                      << "intact: 2 entries";
    }
    void countsTakeTheirForms()
    {
        QFETCH(QString, language);
        QFETCH(int, count);
        // The translator installed last is asked first, before the German one of the test.
        QTranslator translator;
        QVERIFY(translator.load(QLocale(language), QStringLiteral("veltra"), QStringLiteral("_"),
                                QStringLiteral(":/i18n")));
        QCoreApplication::installTranslator(&translator);
        ChainVerdict verdict;
        verdict.kind = ChainVerdict::Kind::Intact;
        verdict.entries = count;
        const QString due = expirationNote(count);
        const QString intact = verdict.text();
        QCoreApplication::removeTranslator(&translator);
        QTEST(due, "due");
        QTEST(intact, "intact");
    }

    void boxesAreGerman()
    {
        ScriptedUi ui;
        ScriptedSerialControl comm;
        frmVeltra window(comm);
        ui.answers << MsgResult::No;
        window.close();
        QCOMPARE(ui.boxes.size(), 1);
        QCOMPARE(ui.boxes.first().text, QStringLiteral("Programm beenden?"));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(German)
#include "tst_german.moc"
