#pragma once
// Signing a PDF file with the lab's key: a PAdES baseline B-B signature (CAdES, detached, SHA-256,
// with the signing-certificate-v2 attribute) made with OpenSSL's CMS, so that any PDF reader or
// poppler's pdfsig can check it. Plain calls without state; failures come back as a text that
// names the file at fault.

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

// The lab's certificate (PEM, optionally followed by the certificates of its chain) and its
// private key (PEM, unencrypted, readable by its owner only). Neither set: certificates are
// unsigned.
struct SigningFiles
{
    QString certificate;
    QString key;

    bool isSet() const { return !certificate.isEmpty() || !key.isEmpty(); }
};

// pdf with its signature, as made by QPdfWriter. None with error set when a file cannot be read
// or the key cannot be used: only one of the two is set, the key file can be read by others,
// the key is encrypted or is not the certificate's, the certificate is expired or not yet valid.
std::optional<QByteArray> signPdf(const QByteArray &pdf, const SigningFiles &files,
                                  const QDateTime &now, QString &error);
