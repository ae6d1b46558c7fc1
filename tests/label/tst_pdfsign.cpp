// Signed certificates: made by veltra-calib with the lab's key and certificate that the test makes,
// checked with poppler's pdfsig (valid, PAdES, the lab's name; no longer valid after one changed
// byte), still declared PDF/A-1b; the refusals of keys and certificates that cannot be used; and
// the signer's name read back from a file; the History window's save, signed or refused with a box.

#include "calibrecord.h"
#include "filebytes.h"
#include "labelprinting.h"
#include "labpki.h"
#include "pdfsignature.h"
#include "pdftools.h"
#include "programpaths.h"
#include "scriptedui.h"

#include <QFile>
#include <QFileDialog>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString LabName = QStringLiteral("Nordlicht Strahlenmesstechnik Kalibrierlabor");
constexpr int ToolLimitMs = 60000;

// pdfsig's report on the file's signatures, without checking the certificate's chain of trust.
QString pdfsig(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdfsig"), {QStringLiteral("-nocert"), pdf});
    process.waitForFinished(ToolLimitMs);
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}

bool writeFile(const QString &path, const QByteArray &bytes, QFile::Permissions permissions)
{
    return writeFileBytes(path, bytes) && QFile::setPermissions(path, permissions);
}

constexpr QFile::Permissions OwnerOnly = QFile::ReadOwner | QFile::WriteOwner;

} // namespace

class PdfSignTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void signedCertificateIsValid_data();
    void signedCertificateIsValid();
    void changedByteBreaksTheSignature_data();
    void changedByteBreaksTheSignature();
    void unusableKeysAreRefused_data();
    void unusableKeysAreRefused();
    void signerOfAFile_data();
    void signerOfAFile();
    void windowSavesSignedOrSaysWhy_data();
    void windowSavesSignedOrSaysWhy();

private:
    // The settings file with the given [Certificate] keys.
    static bool writeSettings(const QByteArray &keys);
    // veltra-calib certificate for the record's entry into file, with the given [Certificate]
    // keys; its exit code, and its standard error in error.
    int makeCertificate(const QByteArray &keys, const QString &file, QString &error);
    QString path(const QString &name) const { return m_folder.filePath(name); }

    QTemporaryDir m_folder;
    LabIdentity m_lab;
    LabIdentity m_expired;
    LabIdentity m_future;
    RecordEntry m_entry;
};

void PdfSignTest::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdfsig")).isEmpty()
        || !PdfTools::available())
        QSKIP("poppler-utils and zbar-tools are needed");
    setProgramPaths(m_folder.path());
    // The lab's certificate, issued by a CA of its own, and the CA's after it in the same file.
    const LabIdentity ca = LabIdentity::make(QStringLiteral("Nordlicht Test CA"), -30, 3650);
    m_lab = LabIdentity::make(LabName, -1, 365, &ca);
    m_expired = LabIdentity::make(LabName, -400, -35);
    m_future = LabIdentity::make(LabName, 10, 375);
    const LabIdentity other = LabIdentity::make(QStringLiteral("Another Lab"));
    const LabIdentity ec = LabIdentity::make(LabName, -1, 365, nullptr, KeyKind::Ec);
    QVERIFY(!ca.key.isEmpty() && !m_lab.key.isEmpty() && !m_expired.key.isEmpty()
            && !m_future.key.isEmpty() && !other.key.isEmpty() && !ec.key.isEmpty());
    QVERIFY(writeFile(path("lab-cert.pem"), m_lab.certificate + ca.certificate, OwnerOnly));
    QVERIFY(writeFile(path("lab-key.pem"), m_lab.key, QFile::ReadOwner));
    QVERIFY(writeFile(path("ec-cert.pem"), ec.certificate, OwnerOnly));
    QVERIFY(writeFile(path("ec-key.pem"), ec.key, OwnerOnly));
    QVERIFY(writeFile(path("expired-cert.pem"), m_expired.certificate, OwnerOnly));
    QVERIFY(writeFile(path("expired-key.pem"), m_expired.key, OwnerOnly));
    QVERIFY(writeFile(path("future-cert.pem"), m_future.certificate, OwnerOnly));
    QVERIFY(writeFile(path("future-key.pem"), m_future.key, OwnerOnly));
    QVERIFY(writeFile(path("other-key.pem"), other.key, OwnerOnly));
    QVERIFY(writeFile(path("encrypted-key.pem"), m_lab.encryptedKey("geheim"), OwnerOnly));
    QVERIFY(writeFile(path("shared-key.pem"), m_lab.key, OwnerOnly | QFile::ReadOther));
    QVERIFY(writeFile(path("group-key.pem"), m_lab.key, OwnerOnly | QFile::ReadGroup));

    m_entry = RecordEntry::startedNow(RecordSource::Window);
    m_entry.serial = QStringLiteral("40417");
    m_entry.model = QStringLiteral("Veltra KX-2");
    m_entry.technician = QStringLiteral("Maria Keller");
    m_entry.calibrationAsked = m_entry.calibrationReadBack = QDate(2026, 12, 10);
    m_entry.expirationAsked = m_entry.expirationReadBack = QDate(2027, 12, 10);
    CalibRecord record(RecordSettings::fromSettingsFile(IniFileName));
    QVERIFY2(record.add(m_entry), qPrintable(record.errorText()));
    m_entry.finishedAt = m_entry.startedAt.addSecs(5);
    m_entry.outcome = RecordOutcome::Verified;
    QVERIFY2(record.complete(m_entry), qPrintable(record.errorText()));
}

bool PdfSignTest::writeSettings(const QByteArray &keys)
{
    return writeFileBytes(IniFileName, "[Label]\nLab=Nordlicht\n[Certificate]\n" + keys);
}

int PdfSignTest::makeCertificate(const QByteArray &keys, const QString &file, QString &error)
{
    if (!writeSettings(keys))
        return -1;
    QProcess tool;
    tool.start(qEnvironmentVariable("VELTRA_CALIB"),
               {QStringLiteral("--settings"), IniFileName, QStringLiteral("certificate"),
                m_entry.certificate, QStringLiteral("-o"), file});
    if (!tool.waitForFinished(ToolLimitMs))
        return -1;
    error = QString::fromLocal8Bit(tool.readAllStandardError());
    return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
}

void PdfSignTest::signedCertificateIsValid_data()
{
    QTest::addColumn<QByteArray>("keys");

    // Relative names are found beside the settings file; a key of mode 0400 is the owner's alone.
    QTest::newRow("an RSA key, the CA's certificate after the lab's")
        << QByteArray("SigningCertificate=lab-cert.pem\nSigningKey=lab-key.pem\n");
    QTest::newRow("an EC P-256 key, a self-signed certificate")
        << QByteArray("SigningCertificate=ec-cert.pem\nSigningKey=ec-key.pem\n");
}

void PdfSignTest::signedCertificateIsValid()
{
    QFETCH(QByteArray, keys);
    const QString pdf = path("signed.pdf");
    QString error;
    QCOMPARE(makeCertificate(keys, pdf, error), 0);
    QVERIFY2(!error.contains(QStringLiteral("veltra-calib:")), qPrintable(error));

    const QString report = pdfsig(pdf);
    for (const QString &line : {QStringLiteral("Signer Certificate Common Name: ") + LabName,
                                QStringLiteral("Signature Type: ETSI.CAdES.detached"),
                                QStringLiteral("Signature Validation: Signature is Valid."),
                                QStringLiteral("Total document signed")})
        QVERIFY2(report.contains(line), qPrintable(line + QStringLiteral(" in:\n") + report));
    QVERIFY(!report.contains(QStringLiteral("Signature #2")));
    QCOMPARE(certificateSigner(fileBytes(pdf)), LabName);

    // The signed attributes PAdES asks for, by their object identifiers in DER: the
    // signing-certificate-v2 (1.2.840.113549.1.9.16.2.47) and no signing-time (1.2.840.113549.1.9.5),
    // whose place is the dictionary's /M.
    const QByteArray bytes = fileBytes(pdf);
    const qsizetype contents = bytes.lastIndexOf("/Contents <") + 11;
    const QByteArray cms =
        QByteArray::fromHex(bytes.mid(contents, bytes.indexOf('>', contents) - contents));
    QVERIFY(cms.contains(QByteArray::fromHex("060b2a864886f70d010910022f")));
    QVERIFY(!cms.contains(QByteArray::fromHex("06092a864886f70d010905")));
    QVERIFY(bytes.contains("/M (D:"));

    // Still the one A4 page declared PDF/A-1b, with its text.
    QVERIFY(bytes.contains("pdfaid:part=\"1\""));
    QVERIFY(bytes.contains("pdfaid:conformance=\"B\""));
    // The signature came as an update with a classic table after the page's own file.
    QCOMPARE(bytes.count("%%EOF"), 2);
    const qsizetype startxref = bytes.lastIndexOf("startxref\n") + 10;
    const QByteArray update = bytes.mid(bytes.mid(startxref).split('\n').first().toLongLong());
    QVERIFY2(update.startsWith("xref\n") && update.contains("/Prev "), update.left(200));
    int pages = 0;
    PdfTools::pageSizeMm(pdf, pages);
    QCOMPARE(pages, 1);
    QVERIFY(PdfTools::text(pdf).contains(m_entry.certificate));
}

void PdfSignTest::changedByteBreaksTheSignature_data()
{
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");

    QTest::newRow("the certificate number in the file's metadata")
        << QByteArray("Calibration certificate VC-") << QByteArray("Calibration certificatf VC-");
    QTest::newRow("the signing time in the signature's own dictionary")
        << QByteArray("/M (D:") << QByteArray("/M (E:");
    QTest::newRow("the signature field's name")
        << QByteArray("/T (Signature1)") << QByteArray("/T (Signature2)");
}

void PdfSignTest::changedByteBreaksTheSignature()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    const QString pdf = path("changed.pdf");
    QString error;
    QCOMPARE(
        makeCertificate("SigningCertificate=lab-cert.pem\nSigningKey=lab-key.pem\n", pdf, error),
        0);
    QByteArray bytes = fileBytes(pdf);
    const qsizetype at = bytes.indexOf(from);
    QVERIFY2(at >= 0, from);
    bytes.replace(at, from.size(), to);
    QVERIFY(writeFileBytes(pdf, bytes));

    const QString report = pdfsig(pdf);
    QVERIFY2(report.contains(QStringLiteral("Signer Certificate Common Name: ") + LabName),
             qPrintable(report));
    QVERIFY2(!report.contains(QStringLiteral("Signature is Valid")), qPrintable(report));
}

void PdfSignTest::unusableKeysAreRefused_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QString>("reason");

    const QByteArray labCertificate = "SigningCertificate=lab-cert.pem\n";
    QTest::newRow("a certificate file that does not exist")
        << QByteArray("SigningCertificate=missing.pem\nSigningKey=lab-key.pem\n")
        << QStringLiteral("%1/missing.pem cannot be read");
    QTest::newRow("a certificate file holding a key")
        << QByteArray("SigningCertificate=lab-key.pem\nSigningKey=lab-key.pem\n")
        << QStringLiteral("%1/lab-key.pem holds no certificate in PEM form");
    QTest::newRow("a key file holding a certificate")
        << labCertificate + "SigningKey=expired-cert.pem\n"
        << QStringLiteral("%1/expired-cert.pem holds no private key in PEM form");
    QTest::newRow("a key that is not the certificate's")
        << labCertificate + "SigningKey=other-key.pem\n"
        << QStringLiteral("the key in %1/other-key.pem does not belong to the certificate in "
                          "%1/lab-cert.pem");
    QTest::newRow("an encrypted key") << labCertificate + "SigningKey=encrypted-key.pem\n"
                                      << QStringLiteral("%1/encrypted-key.pem holds an "
                                                        "encrypted key");
    QTest::newRow("a key every account can read")
        << labCertificate + "SigningKey=shared-key.pem\n"
        << QStringLiteral("%1/shared-key.pem may be read or run by others (mode 0604)");
    QTest::newRow("a key its group can read")
        << labCertificate + "SigningKey=group-key.pem\n"
        << QStringLiteral("%1/group-key.pem may be read or run by others (mode 0640)");
    QTest::newRow("an expired certificate")
        << QByteArray("SigningCertificate=expired-cert.pem\nSigningKey=expired-key.pem\n")
        << QStringLiteral("the certificate in %1/expired-cert.pem expired on ");
    QTest::newRow("a certificate not valid yet")
        << QByteArray("SigningCertificate=future-cert.pem\nSigningKey=future-key.pem\n")
        << QStringLiteral("the certificate in %1/future-cert.pem is valid only from ");
    QTest::newRow("a key without its certificate")
        << QByteArray("SigningKey=lab-key.pem\n")
        << QStringLiteral("[Certificate] names a signing key or certificate but not both: "
                          "SigningCertificate=, SigningKey=%1/lab-key.pem");
}

void PdfSignTest::unusableKeysAreRefused()
{
    QFETCH(QByteArray, keys);
    QFETCH(QString, reason);
    const QString pdf = path("refused.pdf");
    QString error;
    QCOMPARE(makeCertificate(keys, pdf, error), 1);
    QVERIFY2(error.contains(QStringLiteral("veltra-calib: ") + reason.arg(m_folder.path())),
             qPrintable(error));
    QVERIFY(!QFile::exists(pdf));
}

void PdfSignTest::signerOfAFile_data()
{
    QTest::addColumn<QByteArray>("pdf");
    QTest::addColumn<std::optional<QString>>("signer");

    QString error;
    QVERIFY(makeCertificate("SigningCertificate=lab-cert.pem\nSigningKey=lab-key.pem\n",
                            path("signer.pdf"), error)
            == 0);
    QVERIFY(makeCertificate("", path("unsigned.pdf"), error) == 0);
    const QByteArray signedPdf = fileBytes(path("signer.pdf"));
    QVERIFY(!signedPdf.isEmpty());
    const qsizetype contents = signedPdf.lastIndexOf("/Contents <") + 11;

    QTest::newRow("a signed certificate names the lab") << signedPdf << std::optional(LabName);
    QTest::newRow("an unsigned certificate")
        << fileBytes(path("unsigned.pdf")) << std::optional<QString>();
    QTest::newRow("bytes that are no PDF")
        << QByteArray("/ByteRange [0 5 9 0]") << std::optional<QString>();
    QTest::newRow("a byte range beyond the file's end")
        << QByteArray(signedPdf).replace("/ByteRange [0 ", "/ByteRange [0 99")
        << std::optional<QString>();
    QTest::newRow("a signature that is no CMS")
        << QByteArray(signedPdf).replace(contents, 8, "00000000") << std::optional<QString>();
}

void PdfSignTest::signerOfAFile()
{
    QFETCH(QByteArray, pdf);
    QFETCH(std::optional<QString>, signer);
    QCOMPARE(certificateSigner(pdf), signer);
}

void PdfSignTest::windowSavesSignedOrSaysWhy_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QString>("box");

    QTest::newRow("the lab's key signs")
        << QByteArray("SigningCertificate=lab-cert.pem\nSigningKey=lab-key.pem\n") << QString();
    QTest::newRow("a key every account can read gives a box naming it")
        << QByteArray("SigningCertificate=lab-cert.pem\nSigningKey=shared-key.pem\n")
        << QStringLiteral("The certificate was not saved.\n\n%1/shared-key.pem may be read or "
                          "run by others (mode 0604): allow its owner only, with chmod 600");
}

void PdfSignTest::windowSavesSignedOrSaysWhy()
{
    QFETCH(QByteArray, keys);
    QFETCH(QString, box);
    QVERIFY(writeSettings(keys));
    const QString pdf = path("window.pdf");
    QFile::remove(pdf);
    ScriptedUi ui;
    ui.answerDialog<QFileDialog>([&](QFileDialog &dialog) {
        dialog.selectFile(pdf);
        // QFileDialog's own accept(), which takes the file typed, is public only as QDialog's.
        static_cast<QDialog &>(dialog).accept();
    });
    QCOMPARE(saveEntryCertificate(m_entry, nullptr), box.isEmpty());
    if (box.isEmpty()) {
        QCOMPARE(ui.boxes.size(), 0);
        QCOMPARE(certificateSigner(fileBytes(pdf)), LabName);
    } else {
        QCOMPARE(ui.boxes.size(), 1);
        QCOMPARE(ui.boxes.first().text, box.arg(m_folder.path()));
        QVERIFY(!QFile::exists(pdf));
    }
}

QTEST_MAIN(PdfSignTest)
#include "tst_pdfsign.moc"
