// Labels through a real print queue: a CUPS scheduler of the test's own with the cups-pdf back
// end takes the label from veltra-calib and from the windows' print path, and the PDF that comes
// out must have the label's size, unturned. The windows' choices without a printer set: the print
// dialog's queue or file, and nothing at all in the bench flow.

#include "calibrecord.h"
#include "cupsserver.h"
#include "filebytes.h"
#include "labelprinting.h"
#include "pdftools.h"
#include "programpaths.h"
#include "scriptedui.h"

#include <QComboBox>
#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

namespace {

constexpr int JobLimitMs = 90000;
const QString Lab = QStringLiteral("Nordlicht Strahlenmesstechnik");

// A verified write of serial's instrument; its id and certificate number are set when kept.
RecordEntry verifiedEntry(const QString &serial)
{
    RecordEntry entry = RecordEntry::startedNow(RecordSource::Window);
    entry.serial = serial;
    entry.model = QStringLiteral("Veltra KX-2");
    entry.technician = QStringLiteral("Maria Keller");
    entry.calibrationAsked = entry.calibrationReadBack = QDate(2026, 12, 10);
    entry.expirationAsked = entry.expirationReadBack = QDate(2027, 12, 10);
    return entry;
}

bool keep(const QString &iniFile, RecordEntry &entry)
{
    CalibRecord record(RecordSettings::fromSettingsFile(iniFile));
    if (!record.add(entry))
        return false;
    entry.finishedAt = entry.startedAt.addSecs(5);
    entry.outcome = RecordOutcome::Verified;
    return record.complete(entry);
}

QString sizeText(const QSizeF &mm)
{
    return QStringLiteral("%1 x %2 mm").arg(mm.width()).arg(mm.height());
}

} // namespace

class LabelPrintTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void toolPrintsAtTheLabelsSize_data();
    void toolPrintsAtTheLabelsSize();
    void windowPrintsToTheQueueSetOrChosen_data();
    void windowPrintsToTheQueueSetOrChosen();
    void windowSavesToTheFileChosen();
    void cancelledDialogPrintsNothing();
    void benchFlowWithoutPrinterSaysSoAndAsksNothing();
    void queueThatDoesNotExistSaysWhy();

private:
    void writeSettings(const QSizeF &sizeMm, const QString &printer);
    // The PDF the queue made of job: the label of entry at sizeMm. The file is removed.
    void checkPrinted(int job, const RecordEntry &entry, const QSizeF &sizeMm);

    CupsServer m_cups;
    std::unique_ptr<QTemporaryDir> m_folder;
};

void LabelPrintTest::initTestCase()
{
    if (const QString missing = CupsServer::missing(); !missing.isEmpty())
        QSKIP(qPrintable(QStringLiteral("CUPS and cups-pdf are needed (tools/install-deps "
                                        "installs them); missing: ")
                         + missing));
    if (!PdfTools::available())
        QSKIP("poppler-utils and zbar-tools are needed");
    QVERIFY2(m_cups.start(), qPrintable(m_cups.errorText()));
}

void LabelPrintTest::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    setProgramPaths(m_folder->path());
}

void LabelPrintTest::cleanupTestCase()
{
    m_cups.stop();
}

void LabelPrintTest::writeSettings(const QSizeF &sizeMm, const QString &printer)
{
    QVERIFY(writeFileBytes(IniFileName,
                           QStringLiteral("[Label]\nWidthMm=%1\nHeightMm=%2\nLab=%3\nPrinter=%4\n")
                               .arg(sizeMm.width())
                               .arg(sizeMm.height())
                               .arg(Lab, printer)
                               .toUtf8()));
}

void LabelPrintTest::checkPrinted(int job, const RecordEntry &entry, const QSizeF &sizeMm)
{
    const QString pdf = m_cups.waitForOutput(job, entry.certificate, JobLimitMs);
    QVERIFY2(!pdf.isEmpty(), qPrintable(m_cups.errorText()));
    const QByteArray bytes = fileBytes(pdf);
    QFile::remove(pdf);
    QTemporaryDir copy;
    const QString kept = copy.filePath(QStringLiteral("printed.pdf"));
    QVERIFY(writeFileBytes(kept, bytes));

    int pages = 0;
    const QSizeF size = PdfTools::pageSizeMm(kept, pages);
    QCOMPARE(pages, 1);
    // The page as wide and high as the label: neither another medium nor turned.
    QVERIFY2(qAbs(size.width() - sizeMm.width()) <= 0.5
                 && qAbs(size.height() - sizeMm.height()) <= 0.5,
             qPrintable(sizeText(size) + QStringLiteral(" for ") + sizeText(sizeMm)));
    // The queue's filters draw the text anew without its character codes; the QR code tells
    // that the page holds this entry's label. The record gives the certificate and the hash.
    QVERIFY2(QRegularExpression(QStringLiteral("^[0-9a-f]{16}")).match(entry.hash).hasMatch(),
             qPrintable(entry.hash));
    QCOMPARE(PdfTools::qrText(kept, copy.path()),
             QStringLiteral("Model: Veltra KX-2\n"
                            "S/N: %1\n"
                            "Calibrated: 2026-12-10\n"
                            "Due: 2027-12-10\n"
                            "By: Maria Keller\n"
                            "Certificate: %2\n"
                            "Lab: Nordlicht Strahlenmesstechnik\n"
                            "Hash: %3")
                 .arg(entry.serial, entry.certificate, entry.hash.left(16)));
}

void LabelPrintTest::toolPrintsAtTheLabelsSize_data()
{
    QTest::addColumn<QSizeF>("sizeMm");
    QTest::addColumn<bool>("fromSettings");

    QTest::newRow("the default 62 x 29 mm tape, queue from --printer") << QSizeF(62, 29) << false;
    QTest::newRow("a narrow 17 x 54 mm label stays upright") << QSizeF(17, 54) << false;
    QTest::newRow("a long 29 x 90 mm label, queue from the settings") << QSizeF(29, 90) << true;
}

void LabelPrintTest::toolPrintsAtTheLabelsSize()
{
    QFETCH(QSizeF, sizeMm);
    QFETCH(bool, fromSettings);
    writeSettings(sizeMm, fromSettings ? CupsServer::queue() : QString());
    RecordEntry entry = verifiedEntry(QStringLiteral("40417"));
    QVERIFY(keep(IniFileName, entry));

    QStringList arguments{QStringLiteral("--settings"), IniFileName, QStringLiteral("label"),
                          entry.certificate};
    if (!fromSettings)
        arguments << QStringLiteral("--printer") << CupsServer::queue();
    QProcess tool;
    tool.start(qEnvironmentVariable("VELTRA_CALIB"), arguments);
    QVERIFY(tool.waitForFinished(JobLimitMs));
    const QByteArray err = tool.readAllStandardError();
    QVERIFY2(tool.exitCode() == 0 && !err.contains("veltra-calib:"), err);
    const QString out = QString::fromLocal8Bit(tool.readAllStandardOutput());
    const QRegularExpressionMatch sent =
        QRegularExpression(
            QStringLiteral("^label sent to %1 as job (\\d+)\\n$").arg(CupsServer::queue()))
            .match(out);
    QVERIFY2(sent.hasMatch(), qPrintable(out));
    checkPrinted(sent.captured(1).toInt(), entry, sizeMm);
}

void LabelPrintTest::windowPrintsToTheQueueSetOrChosen_data()
{
    QTest::addColumn<bool>("printerSet");

    QTest::newRow("the queue of the settings, without a dialog") << true;
    QTest::newRow("no queue set: the one chosen in the print dialog") << false;
}

void LabelPrintTest::windowPrintsToTheQueueSetOrChosen()
{
    QFETCH(bool, printerSet);
    const QSizeF sizeMm(62, 29);
    writeSettings(sizeMm, printerSet ? CupsServer::queue() : QString());
    RecordEntry entry = verifiedEntry(QStringLiteral("40418"));
    QVERIFY(keep(IniFileName, entry));

    ScriptedUi ui;
    if (!printerSet) {
        ui.answerDialog<QPrintDialog>([](QPrintDialog &dialog) {
            auto *printers = dialog.findChild<QComboBox *>(QStringLiteral("printers"));
            QVERIFY(printers);
            const int index = printers->findText(CupsServer::queue());
            QVERIFY2(index >= 0, "the test's queue is not offered");
            printers->setCurrentIndex(index);
            dialog.accept();
        });
    }
    const LabelPrint printed = printEntryLabel(entry, AskPrinter::WhenNoneSet, nullptr);
    QCOMPARE(ui.dialogs.size(), printerSet ? 0 : 1);
    QVERIFY2(printed.sent, qPrintable(printed.text));
    const QRegularExpressionMatch sent =
        QRegularExpression(QStringLiteral("^Label %1 sent to %2 \\(job (\\d+)\\)\\.$")
                               .arg(entry.certificate, CupsServer::queue()))
            .match(printed.text);
    QVERIFY2(sent.hasMatch(), qPrintable(printed.text));
    checkPrinted(sent.captured(1).toInt(), entry, sizeMm);
}

void LabelPrintTest::windowSavesToTheFileChosen()
{
    const QSizeF sizeMm(29, 90);
    writeSettings(sizeMm, QString());
    RecordEntry entry = verifiedEntry(QStringLiteral("40419"));
    QVERIFY(keep(IniFileName, entry));
    const QString pdf = m_folder->filePath(QStringLiteral("chosen.pdf"));

    ScriptedUi ui;
    ui.answerDialog<QPrintDialog>([&](QPrintDialog &dialog) {
        dialog.printer()->setOutputFileName(pdf);
        dialog.done(QDialog::Accepted);
    });
    const LabelPrint printed = printEntryLabel(entry, AskPrinter::WhenNoneSet, nullptr);
    QVERIFY2(printed.sent, qPrintable(printed.text));
    QCOMPARE(printed.text, QStringLiteral("Label %1 saved as %2.").arg(entry.certificate, pdf));
    int pages = 0;
    const QSizeF size = PdfTools::pageSizeMm(pdf, pages);
    QVERIFY2(qAbs(size.width() - 29) <= 0.5 && qAbs(size.height() - 90) <= 0.5,
             qPrintable(sizeText(size)));
}

void LabelPrintTest::cancelledDialogPrintsNothing()
{
    writeSettings(QSizeF(62, 29), QString());
    RecordEntry entry = verifiedEntry(QStringLiteral("40420"));
    QVERIFY(keep(IniFileName, entry));
    ScriptedUi ui;
    ui.answerDialog<QPrintDialog>([](QPrintDialog &dialog) { dialog.reject(); });
    const LabelPrint printed = printEntryLabel(entry, AskPrinter::WhenNoneSet, nullptr);
    QVERIFY(!printed.sent);
    QCOMPARE(printed.text, QString());
    QCOMPARE(ui.boxes.size(), 0);
}

void LabelPrintTest::benchFlowWithoutPrinterSaysSoAndAsksNothing()
{
    writeSettings(QSizeF(62, 29), QString());
    RecordEntry entry = verifiedEntry(QStringLiteral("40421"));
    QVERIFY(keep(IniFileName, entry));
    ScriptedUi ui;
    const LabelPrint printed = printEntryLabel(entry, AskPrinter::Never, nullptr);
    QVERIFY(!printed.sent);
    QCOMPARE(printed.text,
             QStringLiteral("No label printed: no printer is set (Printer in section "
                            "[Label] of the settings file)."));
    QCOMPARE(ui.dialogs.size(), 0);
    QCOMPARE(ui.boxes.size(), 0);
}

void LabelPrintTest::queueThatDoesNotExistSaysWhy()
{
    writeSettings(QSizeF(62, 29), QStringLiteral("NoSuchQueue"));
    RecordEntry entry = verifiedEntry(QStringLiteral("40422"));
    QVERIFY(keep(IniFileName, entry));
    ScriptedUi ui;
    const LabelPrint printed = printEntryLabel(entry, AskPrinter::Never, nullptr);
    QVERIFY(!printed.sent);
    QVERIFY2(printed.text.startsWith(QStringLiteral(
                 "The label was not printed: the print queue \"NoSuchQueue\" takes no job: ")),
             qPrintable(printed.text));
}

QTEST_MAIN(LabelPrintTest)
#include "tst_labelprint.moc"
