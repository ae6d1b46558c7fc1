// Certificate benchmark: making a certificate's PDF file unsigned and signed with a lab key
// (RSA 2048, its certificate followed by its CA's), median of many, and what signing adds.
// Target: signing adds at most 50 ms.

#include "benchsetup.h"
#include "certificate.h"
#include "labpki.h"
#include "measure.h"

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

// The median time in ms to make the certificate's file with settings; none when one fails.
std::optional<double> medianMs(const QString &file, const LabelSettings &settings)
{
    const RecordEntry entry = verifiedEntry();
    QList<double> times;
    for (int i = 0; i < Certificates; ++i) {
        QString error;
        QElapsedTimer clock;
        clock.start();
        if (!writeCertificatePdf(file, entry, settings, QDate::currentDate(), error)) {
            std::fprintf(stderr, "bench-certificate: %s\n", qPrintable(error));
            return std::nullopt;
        }
        times << static_cast<double>(clock.nsecsElapsed()) / 1e6;
    }
    return median(times);
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
    const std::optional<double> unsignedMs = medianMs(file, settings);

    settings.signing = {folder.filePath(QStringLiteral("lab-cert.pem")),
                        folder.filePath(QStringLiteral("lab-key.pem"))};
    QFile certificate(settings.signing.certificate);
    QFile key(settings.signing.key);
    if (!certificate.open(QIODevice::WriteOnly) || !key.open(QIODevice::WriteOnly)
        || !key.setPermissions(QFile::ReadOwner | QFile::WriteOwner)) {
        std::fprintf(stderr, "bench-certificate: the lab's key cannot be written\n");
        return 1;
    }
    certificate.write(lab.certificate + ca.certificate);
    key.write(lab.key);
    certificate.close();
    key.close();
    const std::optional<double> signedMs = medianMs(file, settings);
    if (!unsignedMs || !signedMs)
        return 1;

    std::printf("Making a certificate's PDF file, median of %d, ms\n\n", Certificates);
    std::printf("%-10s %12s %10s %12s %10s\n", "key", "unsigned ms", "signed ms", "signing ms",
                "target ms");
    std::printf("%-10s %12.1f %10.1f %12.1f %10d\n", "RSA 2048", *unsignedMs, *signedMs,
                *signedMs - *unsignedMs, 50);
    return 0;
}
