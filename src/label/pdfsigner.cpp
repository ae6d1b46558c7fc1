#include "pdfsigner.h"

#include "labeltext.h"
#include "pdfsignslot.h"
#include "sslhandles.h"

#include <QDir>
#include <QFile>
#include <QTimeZone>

#include <openssl/err.h>
#include <openssl/pem.h>

#include <algorithm>

#include <sys/stat.h>

namespace {

// The keys of the lab's identity, loaded and checked.
struct SigningKeys
{
    X509Handle certificate;
    CertificatesHandle chain;
    KeyHandle key;
};

QString fileName(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

std::optional<QByteArray> readFile(const QString &path, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = LabelText::tr("%1 cannot be read: %2").arg(fileName(path), file.errorString());
        return std::nullopt;
    }
    return file.readAll();
}

QDateTime instant(const ASN1_TIME *time)
{
    tm parts{};
    if (ASN1_TIME_to_tm(time, &parts) != 1)
        return {};
    return QDateTime(QDate(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday),
                     QTime(parts.tm_hour, parts.tm_min, parts.tm_sec), QTimeZone::utc());
}

bool readCertificates(const QString &path, const QDateTime &now, SigningKeys &keys, QString &error)
{
    const std::optional<QByteArray> pem = readFile(path, error);
    if (!pem)
        return false;
    const BioHandle bio = memoryBio(*pem);
    keys.certificate.reset(PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr));
    if (!keys.certificate) {
        error = LabelText::tr("%1 holds no certificate in PEM form").arg(fileName(path));
        return false;
    }
    keys.chain.reset(sk_X509_new_null());
    while (X509 *next = PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr))
        sk_X509_push(keys.chain.get(), next);
    // The end of the file shows as an error of its own in OpenSSL's queue.
    ERR_clear_error();
    const QDateTime notBefore = instant(X509_get0_notBefore(keys.certificate.get()));
    const QDateTime notAfter = instant(X509_get0_notAfter(keys.certificate.get()));
    if (now < notBefore || now > notAfter) {
        error = (now > notAfter ? LabelText::tr("the certificate in %1 expired on %2")
                                : LabelText::tr("the certificate in %1 is valid only from %2"))
                    .arg(fileName(path),
                         (now > notAfter ? notAfter : notBefore)
                             .toString(QStringLiteral("yyyy-MM-dd HH:mm 'UTC'")));
        return false;
    }
    return true;
}

int refusePassword(char * /*buffer*/, int /*size*/, int /*writing*/, void *asked)
{
    *static_cast<bool *>(asked) = true;
    return -1;
}

bool readKey(const QString &path, SigningKeys &keys, QString &error)
{
    // A key others can read is no longer the lab's alone, whatever it signs.
    struct stat status
    { };
    if (::stat(QFile::encodeName(path).constData(), &status) == 0 && (status.st_mode & 0177) != 0) {
        error = LabelText::tr("%1 may be read or run by others (mode %2): allow its owner only, "
                              "with chmod 600")
                    .arg(fileName(path))
                    .arg(status.st_mode & 0777, 4, 8, QLatin1Char('0'));
        return false;
    }
    const std::optional<QByteArray> pem = readFile(path, error);
    if (!pem)
        return false;
    bool asked = false;
    keys.key.reset(PEM_read_bio_PrivateKey(memoryBio(*pem).get(), nullptr, refusePassword, &asked));
    ERR_clear_error();
    if (asked) {
        error = LabelText::tr("%1 holds an encrypted key: this program takes an unencrypted one")
                    .arg(fileName(path));
        return false;
    }
    if (!keys.key) {
        error = LabelText::tr("%1 holds no private key in PEM form").arg(fileName(path));
        return false;
    }
    return true;
}

std::optional<SigningKeys> readKeys(const SigningFiles &files, const QDateTime &now, QString &error)
{
    if (files.certificate.isEmpty() || files.key.isEmpty()) {
        error = LabelText::tr("[Certificate] names a signing key or certificate but not both: "
                              "SigningCertificate=%1, SigningKey=%2")
                    .arg(fileName(files.certificate), fileName(files.key));
        return std::nullopt;
    }
    SigningKeys keys;
    if (!readCertificates(files.certificate, now, keys, error) || !readKey(files.key, keys, error))
        return std::nullopt;
    if (X509_check_private_key(keys.certificate.get(), keys.key.get()) != 1) {
        ERR_clear_error();
        error = LabelText::tr("the key in %1 does not belong to the certificate in %2")
                    .arg(fileName(files.key), fileName(files.certificate));
        return std::nullopt;
    }
    return keys;
}

QByteArray derLength(qsizetype size)
{
    QByteArray length;
    for (qsizetype rest = size; rest > 0; rest >>= 8)
        length.prepend(static_cast<char>(rest & 0xff));
    if (size < 0x80)
        return QByteArray(1, static_cast<char>(size));
    return static_cast<char>(0x80 | length.size()) + length;
}

// OpenSSL 3.0 always adds a signing-time attribute, which PAdES leaves out (the time is the
// dictionary's /M): drop it and sign the other signed attributes again, encoded as the DER SET OF
// that the signature covers.
bool withoutSigningTime(CMS_ContentInfo *cms, EVP_PKEY *key)
{
    CMS_SignerInfo *signer = sk_CMS_SignerInfo_value(CMS_get0_SignerInfos(cms), 0);
    const int at = CMS_signed_get_attr_by_NID(signer, NID_pkcs9_signingTime, -1);
    if (at < 0)
        return true;
    X509_ATTRIBUTE_free(CMS_signed_delete_attr(signer, at));
    QList<QByteArray> attributes;
    for (int i = 0; i < CMS_signed_get_attr_count(signer); ++i) {
        X509_ATTRIBUTE *attribute = CMS_signed_get_attr(signer, i);
        QByteArray der(i2d_X509_ATTRIBUTE(attribute, nullptr), '\0');
        auto *out = reinterpret_cast<unsigned char *>(der.data());
        i2d_X509_ATTRIBUTE(attribute, &out);
        attributes << der;
    }
    std::sort(attributes.begin(), attributes.end());
    const QByteArray content = attributes.join();
    const QByteArray set = '\x31' + derLength(content.size()) + content;
    const std::unique_ptr<EVP_MD_CTX, SslFree<EVP_MD_CTX, EVP_MD_CTX_free>> context(
        EVP_MD_CTX_new());
    size_t size = 0;
    const auto *data = reinterpret_cast<const unsigned char *>(set.constData());
    if (!context || EVP_DigestSignInit(context.get(), nullptr, EVP_sha256(), nullptr, key) != 1
        || EVP_DigestSign(context.get(), nullptr, &size, data, static_cast<size_t>(set.size()))
            != 1)
        return false;
    QByteArray signature(static_cast<qsizetype>(size), '\0');
    if (EVP_DigestSign(context.get(), reinterpret_cast<unsigned char *>(signature.data()), &size,
                       data, static_cast<size_t>(set.size()))
        != 1)
        return false;
    return ASN1_STRING_set(CMS_SignerInfo_get0_signature(signer), signature.constData(),
                           static_cast<int>(size))
        == 1;
}

std::optional<QByteArray> cmsSignature(const SigningKeys &keys, const QByteArray &data)
{
    constexpr unsigned Flags = CMS_DETACHED | CMS_BINARY | CMS_CADES;
    const CmsHandle cms(CMS_sign(nullptr, nullptr, keys.chain.get(), nullptr, Flags | CMS_PARTIAL));
    const BioHandle content = memoryBio(data);
    if (!cms
        || !CMS_add1_signer(cms.get(), keys.certificate.get(), keys.key.get(), EVP_sha256(), Flags)
        || CMS_final(cms.get(), content.get(), nullptr, Flags) != 1
        || !withoutSigningTime(cms.get(), keys.key.get()))
        return std::nullopt;
    const int size = i2d_CMS_ContentInfo(cms.get(), nullptr);
    if (size <= 0)
        return std::nullopt;
    QByteArray der(size, '\0');
    auto *out = reinterpret_cast<unsigned char *>(der.data());
    i2d_CMS_ContentInfo(cms.get(), &out);
    return der;
}

// Room for the signature: the certificates it carries, the signature value and its attributes.
qsizetype signatureCapacity(const SigningKeys &keys)
{
    qsizetype bytes = i2d_X509(keys.certificate.get(), nullptr) + EVP_PKEY_get_size(keys.key.get());
    for (int i = 0; i < sk_X509_num(keys.chain.get()); ++i)
        bytes += i2d_X509(sk_X509_value(keys.chain.get(), i), nullptr);
    return bytes + 4096;
}

} // namespace

std::optional<QByteArray> signPdf(const QByteArray &pdf, const SigningFiles &files,
                                  const QDateTime &now, QString &error)
{
    const std::optional<SigningKeys> keys = readKeys(files, now, error);
    if (!keys)
        return std::nullopt;
    std::optional<PdfSignSlot> slot = addSignSlot(pdf, signatureCapacity(*keys), now);
    const std::optional<QByteArray> signature =
        slot ? cmsSignature(*keys, slot->signedBytes()) : std::nullopt;
    ERR_clear_error();
    if (!signature || signature->size() > slot->capacity()) {
        error = LabelText::tr("the certificate cannot be signed with the key in %1")
                    .arg(fileName(files.key));
        return std::nullopt;
    }
    const QByteArray hex = signature->toHex();
    slot->pdf.replace(slot->contentsStart + 1, hex.size(), hex);
    return slot->pdf;
}
