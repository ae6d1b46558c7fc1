// The label and the certificate as PDF files, read back with poppler's tools: the label's size,
// every field in real text in type of 6 pt or more within the page, embedded fonts, and the QR
// code read back with zbarimg; the certificate's A4 page, PDF/A-1b marking and contents, its
// record hash and release, and the mark it carries to be checked against the record.

#include "certificate.h"
#include "filebytes.h"
#include "labelfields.h"
#include "labelrenderer.h"
#include "pdftools.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

namespace {

RecordEntry verifiedEntry()
{
    RecordEntry entry;
    entry.id = 123;
    entry.startedAt = QDateTime(QDate(2026, 12, 10), QTime(14, 5), QTimeZone::utc());
    entry.certificate = certificateNumber(entry.startedAt, entry.id);
    entry.model = QStringLiteral("Veltra KX-2");
    entry.serial = QStringLiteral("40417");
    entry.technician = QStringLiteral("Maria Keller");
    entry.calibrationAsked = QDate(2026, 12, 10);
    entry.expirationAsked = QDate(2027, 12, 10);
    entry.outcome = RecordOutcome::Verified;
    entry.hash = QStringLiteral("3f2a9c04be71d5e6a8b0c2d4e6f81357"
                                "9bdf02468ace13579bdf02468ace1357");
    return entry;
}

} // namespace

class LabelPdfTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void labelHoldsEveryField_data();
    void labelHoldsEveryField();
    void fieldsThatDoNotFitGiveNoFile();
    void certificateHoldsTheWrite_data();
    void certificateHoldsTheWrite();
    void certificateMarkIsReadBack_data();
    void certificateMarkIsReadBack();
    void labelSizeFromTheSettings_data();
    void labelSizeFromTheSettings();
};

void LabelPdfTest::initTestCase()
{
    if (!PdfTools::available())
        QSKIP("poppler-utils and zbar-tools are needed");
}

void LabelPdfTest::labelHoldsEveryField_data()
{
    QTest::addColumn<QSizeF>("sizeMm");
    QTest::addColumn<bool>("expires");
    QTest::addColumn<QString>("lab");

    const QString lab = QStringLiteral("Nordlicht Strahlenmesstechnik");
    QTest::newRow("the default 62 x 29 mm tape") << QSizeF(62, 29) << true << lab;
    QTest::newRow("a narrow 17 x 54 mm label") << QSizeF(17, 54) << true << lab;
    QTest::newRow("a long 29 x 90 mm label") << QSizeF(29, 90) << true << lab;
    QTest::newRow("no expiration date leaves Due out") << QSizeF(62, 29) << false << lab;
    QTest::newRow("a lab's name longer than a line wraps")
        << QSizeF(17, 54) << true << QStringLiteral("Physikalisch-Technisches Prüflabor Süd");
}

void LabelPdfTest::labelHoldsEveryField()
{
    QFETCH(QSizeF, sizeMm);
    QFETCH(bool, expires);
    QFETCH(QString, lab);

    RecordEntry entry = verifiedEntry();
    if (!expires)
        entry.expirationAsked = QDate();
    const QList<LabelField> fields = labelFields(entry, lab);
    QCOMPARE(fields.size(), expires ? 8 : 7);
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("label.pdf"));
    QString error;
    QVERIFY2(writeLabelPdf(pdf, sizeMm, fields, error), qPrintable(error));

    int pages = 0;
    const QSizeF size = PdfTools::pageSizeMm(pdf, pages);
    QCOMPARE(pages, 1);
    QVERIFY2(qAbs(size.width() - sizeMm.width()) <= 0.5
                 && qAbs(size.height() - sizeMm.height()) <= 0.5,
             qPrintable(QStringLiteral("%1 x %2 mm").arg(size.width()).arg(size.height())));

    // Every field's words whole; only a lab's name wider than the line may wrap inside a word.
    const QString text = PdfTools::text(pdf).simplified();
    const auto compact = [](QString t) { return t.remove(QLatin1Char(' ')); };
    for (const LabelField &field : fields) {
        // The hash is in the QR code only.
        QCOMPARE(compact(text).contains(compact(field.value)), field.printed);
        if (!field.printed)
            continue;
        const QString words = (field.caption + QLatin1Char(' ') + field.value).trimmed();
        QVERIFY2(compact(text).contains(compact(words)), qPrintable(words + " in: " + text));
        if (field.key == QLatin1String("Lab"))
            continue;
        for (const QString &word : words.split(QLatin1Char(' ')))
            QVERIFY2(text.contains(word), qPrintable(word + QStringLiteral(" in: ") + text));
    }
    QCOMPARE(text.contains(QStringLiteral("Due")), expires);
    QCOMPARE(PdfTools::fontsNotEmbedded(pdf), QStringList());

    // 6 pt type gives word boxes at least 6 pt high; none may cross the page's edge.
    const QRectF page(QPointF(0, 0), size * 72 / 25.4);
    const QList<QRectF> boxes = PdfTools::wordBoxes(pdf);
    QVERIFY(!boxes.isEmpty());
    for (const QRectF &box : boxes) {
        QVERIFY2(box.height() >= 6.0, qPrintable(QString::number(box.height())));
        QVERIFY(page.contains(box));
    }

    const QString qr = PdfTools::qrText(pdf, folder.path());
    QCOMPARE(qr, qrText(fields));
    QVERIFY2(qr.endsWith(QStringLiteral("\nHash: 3f2a9c04be71d5e6")), qPrintable(qr));
}

void LabelPdfTest::fieldsThatDoNotFitGiveNoFile()
{
    RecordEntry entry = verifiedEntry();
    entry.technician = QString(60, QLatin1Char('W'));
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("label.pdf"));
    QString error;
    QVERIFY(!writeLabelPdf(pdf, QSizeF(17, 30), labelFields(entry, QString(70, QLatin1Char('M'))),
                           error));
    QCOMPARE(error,
             QStringLiteral("the label's fields do not fit on 17 x 30 mm in type of 6 pt or more"));
    QVERIFY(!QFile::exists(pdf));
}

void LabelPdfTest::certificateHoldsTheWrite_data()
{
    QTest::addColumn<QString>("releasedBy");
    QTest::addColumn<QString>("release");
    QTest::newRow("not released") << QString() << QStringLiteral("Release not released");
    QTest::newRow("released by a second person")
        << QStringLiteral("Jonas Brandt")
        << QStringLiteral("Release Released by Jonas Brandt on 2026-12-11");
}

void LabelPdfTest::certificateHoldsTheWrite()
{
    QFETCH(QString, releasedBy);
    QFETCH(QString, release);
    RecordEntry entry = verifiedEntry();
    entry.releasedBy = releasedBy;
    entry.releasedAt = QDateTime(QDate(2026, 12, 11), QTime(8, 30), QTimeZone::utc());
    entry.firmware = 1.61;
    entry.calibrationBefore = QDate(2025, 12, 1);
    entry.expirationBefore = QDate(2026, 12, 1);
    entry.calibrationReadBack = entry.calibrationAsked;
    entry.expirationReadBack = entry.expirationAsked;
    entry.reference = QStringLiteral("Cs-137 source S-0042");
    entry.programVersion = QStringLiteral("3.1.0");
    LabelSettings settings;
    settings.lab = QStringLiteral("Nordlicht Strahlenmesstechnik");
    settings.address = QStringLiteral("Hafenstraße 12, 24103 Kiel");
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("certificate.pdf"));
    QString error;
    QVERIFY2(writeCertificatePdf(pdf, entry, settings, QDate(2026, 12, 11), error),
             qPrintable(error));

    int pages = 0;
    const QSizeF size = PdfTools::pageSizeMm(pdf, pages);
    QCOMPARE(pages, 1);
    QVERIFY2(qAbs(size.width() - 210) <= 0.5 && qAbs(size.height() - 297) <= 0.5,
             qPrintable(QStringLiteral("%1 x %2 mm").arg(size.width()).arg(size.height())));
    const QByteArray bytes = fileBytes(pdf);
    QVERIFY(bytes.contains("pdfaid:part=\"1\" pdfaid:conformance=\"B\""));
    QCOMPARE(PdfTools::fontsNotEmbedded(pdf), QStringList());
    // PDF/A-1b: the XMP packet's dates are those of the information dictionary.
    const QRegularExpressionMatch info =
        QRegularExpression(
            QStringLiteral("/CreationDate \\(D:(\\d{4})(\\d\\d)(\\d\\d)(\\d\\d)(\\d\\d)(\\d\\d)"))
            .match(QString::fromLatin1(bytes));
    QVERIFY(info.hasMatch());
    QVERIFY(bytes.contains(QStringLiteral("xmp:CreateDate=\"%1-%2-%3T%4:%5:%6")
                               .arg(info.captured(1), info.captured(2), info.captured(3),
                                    info.captured(4), info.captured(5), info.captured(6))
                               .toLatin1()));
    QVERIFY(bytes.contains("pdf:Keywords=\"VC-2026-000123; record hash "
                           "3f2a9c04be71d5e6a8b0c2d4e6f813579bdf02468ace13579bdf02468ace1357\""));

    const QString text = PdfTools::text(pdf).simplified();
    const QStringList expected{"Calibration certificate",
                               "VC-2026-000123",
                               "Date of issue 2026-12-11",
                               "Nordlicht Strahlenmesstechnik",
                               "Hafenstraße 12, 24103 Kiel",
                               "Veltra KX-2",
                               "40417",
                               "1.61",
                               "Found 2025-12-01 2026-12-01",
                               "Asked 2026-12-10 2027-12-10",
                               "Read back 2026-12-10 2027-12-10",
                               "verified",
                               "Maria Keller",
                               "Cs-137 source S-0042",
                               "VeltraSetCalibDate 3.1.0",
                               "Record entry 123, hash 3f2a9c04be71d5e6",
                               release,
                               "Page 1 of 1"};
    for (const QString &words : expected)
        QVERIFY2(text.contains(words), qPrintable(words + QStringLiteral(" in: ") + text));
}

void LabelPdfTest::certificateMarkIsReadBack_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("certificate");
    QTest::addColumn<QString>("error");
    const QByteArray xmp = "<rdf:Description xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\" "
                           "rdf:about=\"\" pdf:Producer=\"Qt 6.4.2\" pdf:Keywords=\"";
    const QByteArray hash = "3f2a9c04be71d5e6a8b0c2d4e6f813579bdf02468ace13579bdf02468ace1357";
    QTest::newRow("the keywords of a certificate")
        << "%PDF-1.4\n" + xmp + "VC-2026-000123; record hash " + hash + "\"/>\n%%EOF\n"
        << "VC-2026-000123" << QString();
    QTest::newRow("a PDF of another program")
        << QByteArray("%PDF-1.4\n1 0 obj\n<< /Title (Invoice 42) /Keywords (VC-2026-000123) >>\n"
                      "endobj\n%%EOF\n")
        << QString() << QStringLiteral("is no calibration certificate of this program");
    QTest::newRow("a hash cut short")
        << "%PDF-1.4\n" + xmp + "VC-2026-000123; record hash " + hash.left(16) + "\"/>\n"
        << QString() << QStringLiteral("is no calibration certificate of this program");
    QTest::newRow("no PDF at all, whatever it holds")
        << "%!PS-Adobe-3.0\n" + xmp + "VC-2026-000123; record hash " + hash + "\"/>\n"
        << QString() << QStringLiteral("is no calibration certificate of this program");
}

void LabelPdfTest::certificateMarkIsReadBack()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, certificate);
    QFETCH(QString, error);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("file.pdf"));
    QVERIFY(writeFileBytes(path, bytes));
    QString why;
    const std::optional<CertificateMark> mark = readCertificateMark(path, why);
    QCOMPARE(mark.has_value(), error.isEmpty());
    if (mark) {
        QCOMPARE(mark->certificate, certificate);
        QCOMPARE(mark->hash.size(), 64);
    } else {
        QVERIFY2(why.contains(error), qPrintable(why));
    }
}

void LabelPdfTest::labelSizeFromTheSettings_data()
{
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QSizeF>("sizeMm");

    QTest::newRow("no section gives Brother QL's 62 mm tape") << QByteArray() << QSizeF(62, 29);
    QTest::newRow("a size in mm, decimals too")
        << QByteArray("[Label]\nWidthMm=29\nHeightMm=90.5\n") << QSizeF(29, 90.5);
    QTest::newRow("what is no size keeps the default")
        << QByteArray("[Label]\nWidthMm=wide\nHeightMm=0\n") << QSizeF(62, 29);
    QTest::newRow("a size beyond 300 mm keeps the default")
        << QByteArray("[Label]\nWidthMm=17\nHeightMm=3000\n") << QSizeF(17, 29);
}

void LabelPdfTest::labelSizeFromTheSettings()
{
    QFETCH(QByteArray, section);
    QFETCH(QSizeF, sizeMm);
    QTemporaryDir folder;
    const QString ini = folder.filePath(QStringLiteral("VeltraSetCheckDate.ini"));
    QVERIFY(writeFileBytes(
        ini, section + "[Certificate]\nAddress= Hafenstrasse 12, Kiel \nRequireRelease=1\n"));
    const LabelSettings settings = LabelSettings::fromSettingsFile(ini);
    QCOMPARE(settings.sizeMm, sizeMm);
    QCOMPARE(settings.address, QStringLiteral("Hafenstrasse 12, Kiel"));
    QVERIFY(settings.requireRelease);
    QVERIFY(!LabelSettings().requireRelease);
}

QTEST_MAIN(LabelPdfTest)
#include "tst_labelpdf.moc"
