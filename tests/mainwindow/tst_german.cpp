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
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
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

    // Every text of the window and the port dialog is German: none is left as it is written in
    // the source, except the few that read the same in both languages.
    void everyTextIsGerman()
    {
        const QStringList sameInBoth{QStringLiteral("OK"),        QStringLiteral("&OK"),
                                     QStringLiteral("Bluetooth"), QStringLiteral("Veltra"),
                                     QStringLiteral("Standard"),  QStringLiteral("Version :")};
        const QStringList german = formTexts();
        const QStringList source = [] {
            SourceTexts sourceTexts;
            QCoreApplication::installTranslator(&sourceTexts);
            const QStringList texts = formTexts();
            QCoreApplication::removeTranslator(&sourceTexts);
            return texts;
        }();
        QCOMPARE(german.size(), source.size());
        QStringList untranslated;
        for (qsizetype i = 0; i < source.size(); ++i) {
            const bool hasWords =
                source.at(i).contains(QRegularExpression(QStringLiteral("\\p{L}{2}")));
            if (hasWords && german.at(i) == source.at(i) && !sameInBoth.contains(source.at(i)))
                untranslated << source.at(i);
        }
        QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(QStringLiteral(" | "))));
        // A few anchors: the German that a user meets first.
        QVERIFY(german.contains(QStringLiteral("&Datei")));
        QVERIFY(german.contains(QStringLiteral("&Lesen")));
        QVERIFY(german.contains(QStringLiteral("COM-Einstellungen")));
        // Stored in English, shown in German.
        QCOMPARE(outcomeShown(RecordOutcome::Verified), QStringLiteral("verifiziert"));
        QMessageBox box(QMessageBox::Question, QString(), QString(), QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Abbrechen"));
    }

    // In each menu, and in the menu bar, an accelerator leads to one entry only.
    void acceleratorsUniquePerMenu()
    {
        ScriptedSerialControl comm;
        frmVeltra window(comm);
        QList<QList<QAction *>> menus{window.menuBar()->actions()};
        for (const QMenu *menu : window.findChildren<QMenu *>())
            menus << menu->actions();
        for (const QList<QAction *> &actions : menus) {
            QHash<QChar, QString> taken;
            for (const QAction *action : actions) {
                const QRegularExpressionMatch accelerator =
                    QRegularExpression(QStringLiteral("&([^&])")).match(action->text());
                if (!accelerator.hasMatch())
                    continue;
                const QChar key = accelerator.captured(1).at(0).toLower();
                QVERIFY2(
                    !taken.contains(key),
                    qPrintable(QStringLiteral("%1 and %2").arg(taken.value(key), action->text())));
                taken.insert(key, action->text());
            }
        }
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
    // Answers every text with the source's own, ahead of the German translator.
    class SourceTexts : public QTranslator
    {
    public:
        bool isEmpty() const override { return false; }
        QString translate(const char *, const char *sourceText, const char *, int) const override
        {
            return QString::fromUtf8(sourceText);
        }
    };

    // The texts of the window's menus, items, labels and buttons and the port dialog's, and the
    // group titles, in the order of the forms.
    static QStringList formTexts()
    {
        ScriptedSerialControl comm;
        frmVeltra window(comm);
        ComSettings dialog(window.link());
        QStringList texts{dialog.windowTitle()};
        for (const QWidget *form :
             {static_cast<QWidget *>(&window), static_cast<QWidget *>(&dialog)}) {
            for (const QAction *action : form->findChildren<QAction *>())
                texts << action->text();
            for (const QLabel *label : form->findChildren<QLabel *>())
                texts << label->text();
            for (const QAbstractButton *button : form->findChildren<QAbstractButton *>())
                texts << button->text();
            for (const QGroupBox *group : form->findChildren<QGroupBox *>())
                texts << group->title();
        }
        return texts;
    }

    QTemporaryDir m_dir;
};

QTEST_MAIN(German)
#include "tst_german.moc"
