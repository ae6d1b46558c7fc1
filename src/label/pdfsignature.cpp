#include "pdfsignature.h"

#include "sslhandles.h"

#include <QRegularExpression>

#include <openssl/err.h>

namespace {

// The DER bytes of the last signature's /Contents, found through its /ByteRange, whose gap is
// exactly the hex string.
std::optional<QByteArray> lastSignature(const QByteArray &pdf)
{
    const qsizetype at = pdf.lastIndexOf("/ByteRange");
    if (at < 0)
        return std::nullopt;
    static const QRegularExpression range(QStringLiteral(
        "^/ByteRange\\s*\\[\\s*0\\s+(\\d{1,10})\\s+(\\d{1,10})\\s+\\d{1,10}\\s*\\]"));
    const QRegularExpressionMatch found = range.match(QString::fromLatin1(pdf.mid(at, 80)));
    const qsizetype start = found.captured(1).toLongLong();
    const qsizetype end = found.captured(2).toLongLong();
    if (!found.hasMatch() || start >= end - 2 || end > pdf.size() || pdf.at(start) != '<'
        || pdf.at(end - 1) != '>')
        return std::nullopt;
    return QByteArray::fromHex(pdf.mid(start + 1, end - start - 2));
}

std::optional<QString> commonName(X509 *certificate)
{
    const X509_NAME *subject = X509_get_subject_name(certificate);
    const int index = X509_NAME_get_index_by_NID(subject, NID_commonName, -1);
    const X509_NAME_ENTRY *entry = index < 0 ? nullptr : X509_NAME_get_entry(subject, index);
    unsigned char *utf8 = nullptr;
    const int size = entry ? ASN1_STRING_to_UTF8(&utf8, X509_NAME_ENTRY_get_data(entry)) : -1;
    if (size < 0)
        return std::nullopt;
    const QString name = QString::fromUtf8(reinterpret_cast<const char *>(utf8), size);
    OPENSSL_free(utf8);
    return name;
}

} // namespace

std::optional<QString> certificateSigner(const QByteArray &pdf)
{
    const std::optional<QByteArray> der = lastSignature(pdf);
    if (!der)
        return std::nullopt;
    const auto *in = reinterpret_cast<const unsigned char *>(der->constData());
    const CmsHandle cms(d2i_CMS_ContentInfo(nullptr, &in, static_cast<long>(der->size())));
    STACK_OF(CMS_SignerInfo) *signers = cms ? CMS_get0_SignerInfos(cms.get()) : nullptr;
    const CertificatesHandle certificates(cms ? CMS_get1_certs(cms.get()) : nullptr);
    std::optional<QString> name;
    if (signers && certificates && sk_CMS_SignerInfo_num(signers) > 0) {
        CMS_SignerInfo *signer = sk_CMS_SignerInfo_value(signers, 0);
        for (int i = 0; i < sk_X509_num(certificates.get()) && !name; ++i) {
            X509 *certificate = sk_X509_value(certificates.get(), i);
            if (CMS_SignerInfo_cert_cmp(signer, certificate) == 0)
                name = commonName(certificate);
        }
    }
    ERR_clear_error();
    return name;
}
