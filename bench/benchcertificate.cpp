// Certificate benchmark: making a certificate's PDF file unsigned and signed with a lab key
// (RSA 2048, its certificate followed by its CA's), and signing a certificate's bytes alone
// (reading and checking the key files included), median of many. Target: signing adds at most
// 50 ms.

#include "benchsetup.h"
#include "certificate.h"
#include "labpki.h"
#include "measure.h"
#include "pdfsigner.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int Certificates = 25;

RecordEntry verifiedEntry()
{
    RecordEntry entry = RecordEntry::startedNow(RecordSource::Window);
    entry.id = 123;
    entry.certificate = certificateNumber(entry.startedAt, entry.id);
    entry.model = QStringLiteral("Veltra KX-2");
    entry.serial = QStringLiteral("40417");
    entry.technician = QStringLiteral("Maria Keller");
    entry.calibrationAsked = entry.calibrationReadBack = QDate(2026, 12, 10);
    entry.expirationAsked = entry.expirationReadBack = QDate(2027, 12, 10);
    entry.outcome = RecordOutcome::Verified;
    return entry;
}

// The time in ms to make the certificate's file with settings; none when it fails.
std::optional<double> certificateMs(const QString &file, const LabelSettings &settings)
{
    QString error;
    QElapsedTimer clock;
    clock.start();
    if (!writeCertificatePdf(file, verifiedEntry(), settings, QDate::currentDate(), error)) {
        std::fprintf(stderr, "bench-certificate: %s\n", qPrintable(error));
        return std::nullopt;
    }
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    preferOffscreen();
    QGuiApplication app(argc, argv);

    QTemporaryDir folder;
    const LabIdentity ca = LabIdentity::make(QStringLiteral("Bench CA"), -1, 3650);
    const LabIdentity lab = LabIdentity::make(QStringLiteral("Bench Lab"), -1, 365, &ca);
    LabelSettings settings;
    settings.lab = QStringLiteral("Bench Lab");
    const QString file = folder.filePath(QStringLiteral("certificate.pdf"));
    LabelSettings signing = settings;
    signing.signing = {folder.filePath(QStringLiteral("lab-cert.pem")),
                       folder.filePath(QStringLiteral("lab-key.pem"))};
    QFile certificate(signing.signing.certificate);
    QFile key(signing.signing.key);
    if (!certificate.open(QIODevice::WriteOnly) || !key.open(QIODevice::WriteOnly)
        || !key.setPermissions(QFile::ReadOwner | QFile::WriteOwner)) {
        std::fprintf(stderr, "bench-certificate: the lab's key cannot be written\n");
        return 1;
    }
    certificate.write(lab.certificate + ca.certificate);
    key.write(lab.key);
    certificate.close();
    key.close();

    // One of each first: the first page loads the fonts. Then in turns, so that other load on
    // the machine weighs on both alike.
    QList<double> unsignedMs;
    QList<double> signedMs;
    QList<double> signingMs;
    for (int i = 0; i <= Certificates; ++i) {
        const std::optional<double> plain = certificateMs(file, settings);
        QFile made(file);
        const QByteArray pdf = made.open(QIODevice::ReadOnly) ? made.readAll() : QByteArray();
        QString error;
        QElapsedTimer clock;
        clock.start();
        const bool signs =
            signPdf(pdf, signing.signing, QDateTime::currentDateTimeUtc(), error).has_value();
        const double signMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        const std::optional<double> withSignature = certificateMs(file, signing);
        if (!plain || !signs || !withSignature) {
            std::fprintf(stderr, "bench-certificate: %s\n", qPrintable(error));
            return 1;
        }
        if (i > 0) {
            unsignedMs << *plain;
            signedMs << *withSignature;
            signingMs << signMs;
        }
    }

    std::printf("Making a certificate's PDF file, median of %d, ms\n\n", Certificates);
    std::printf("%-10s %12s %10s %12s %10s\n", "key", "unsigned ms", "signed ms", "signing ms",
                "target ms");
    std::printf("%-10s %12.1f %10.1f %12.1f %10d\n", "RSA 2048", median(unsignedMs),
                median(signedMs), median(signingMs), 50);
    return 0;
}
