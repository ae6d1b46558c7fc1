#pragma once
// OpenSSL's objects owned by unique_ptr, each freed by its own function.

#include <openssl/bio.h>
#include <openssl/cms.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <QByteArray>

#include <memory>

template<typename T, void (*Free)(T *)> struct SslFree
{
    void operator()(T *object) const { Free(object); }
};

using BioHandle = std::unique_ptr<BIO, SslFree<BIO, BIO_free_all>>;
using CmsHandle = std::unique_ptr<CMS_ContentInfo, SslFree<CMS_ContentInfo, CMS_ContentInfo_free>>;
using KeyHandle = std::unique_ptr<EVP_PKEY, SslFree<EVP_PKEY, EVP_PKEY_free>>;
using X509Handle = std::unique_ptr<X509, SslFree<X509, X509_free>>;

inline void freeCertificates(STACK_OF(X509) * certificates)
{
    sk_X509_pop_free(certificates, X509_free);
}
using CertificatesHandle =
    std::unique_ptr<STACK_OF(X509), SslFree<STACK_OF(X509), freeCertificates>>;

// A read-only memory BIO over bytes that outlive it.
inline BioHandle memoryBio(const QByteArray &bytes)
{
    return BioHandle(BIO_new_mem_buf(bytes.constData(), static_cast<int>(bytes.size())));
}
