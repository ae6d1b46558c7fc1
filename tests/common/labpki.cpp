#include "labpki.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <memory>

namespace {

template<typename T, void (*Free)(T *)> struct Deleter
{
    void operator()(T *object) const { Free(object); }
};
using Bio = std::unique_ptr<BIO, Deleter<BIO, BIO_free_all>>;
using Key = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY, EVP_PKEY_free>>;
using Certificate = std::unique_ptr<X509, Deleter<X509, X509_free>>;

QByteArray bioBytes(BIO *bio)
{
    BUF_MEM *memory = nullptr;
    BIO_get_mem_ptr(bio, &memory);
    return memory ? QByteArray(memory->data, static_cast<qsizetype>(memory->length)) : QByteArray();
}

Key readKey(const QByteArray &pem)
{
    const Bio bio(BIO_new_mem_buf(pem.constData(), static_cast<int>(pem.size())));
    return Key(PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr));
}

Certificate readCertificate(const QByteArray &pem)
{
    const Bio bio(BIO_new_mem_buf(pem.constData(), static_cast<int>(pem.size())));
    return Certificate(PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr));
}

} // namespace

LabIdentity LabIdentity::make(const QString &commonName, int validFromDays, int validToDays,
                              const LabIdentity *issuer, KeyKind kind)
{
    const Key key(kind == KeyKind::Rsa ? EVP_PKEY_Q_keygen(nullptr, nullptr, "RSA", size_t{2048})
                                       : EVP_PKEY_Q_keygen(nullptr, nullptr, "EC", "P-256"));
    const Certificate certificate(X509_new());
    if (!key || !certificate)
        return {};
    X509_set_version(certificate.get(), 2);
    // A signer is told by its issuer's name and its serial number: each certificate its own.
    static long serial = 0;
    ASN1_INTEGER_set(X509_get_serialNumber(certificate.get()), ++serial);
    constexpr long Day = 24 * 60 * 60;
    X509_gmtime_adj(X509_getm_notBefore(certificate.get()), validFromDays * Day);
    X509_gmtime_adj(X509_getm_notAfter(certificate.get()), validToDays * Day);
    X509_NAME *name = X509_get_subject_name(certificate.get());
    const QByteArray cn = commonName.toUtf8();
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8,
                               reinterpret_cast<const unsigned char *>(cn.constData()), -1, -1, 0);
    X509_set_pubkey(certificate.get(), key.get());
    const Certificate issuerCertificate = issuer ? readCertificate(issuer->certificate) : nullptr;
    const Key issuerKey = issuer ? readKey(issuer->key) : nullptr;
    X509_set_issuer_name(certificate.get(),
                         issuerCertificate ? X509_get_subject_name(issuerCertificate.get()) : name);
    if (X509_sign(certificate.get(), issuerKey ? issuerKey.get() : key.get(), EVP_sha256()) <= 0)
        return {};
    const Bio certificatePem(BIO_new(BIO_s_mem()));
    const Bio keyPem(BIO_new(BIO_s_mem()));
    PEM_write_bio_X509(certificatePem.get(), certificate.get());
    PEM_write_bio_PrivateKey(keyPem.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr);
    return {bioBytes(certificatePem.get()), bioBytes(keyPem.get())};
}

QByteArray LabIdentity::encryptedKey(const QByteArray &passphrase) const
{
    const Key plain = readKey(key);
    const Bio pem(BIO_new(BIO_s_mem()));
    PEM_write_bio_PrivateKey(pem.get(), plain.get(), EVP_aes_256_cbc(),
                             reinterpret_cast<const unsigned char *>(passphrase.constData()),
                             static_cast<int>(passphrase.size()), nullptr, nullptr);
    return bioBytes(pem.get());
}
