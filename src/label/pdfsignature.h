#pragma once
// Who signed a certificate PDF: the common name in the certificate of the signature's signer,
// read from the CMS in the last signature's /Contents. This names the signer; whether the
// signature still holds is for a PDF reader or poppler's pdfsig to check.

#include <QByteArray>
#include <QString>

#include <optional>

// None when pdf holds no signature this can read, or its signer has no common name. Any bytes are
// safe to pass.
std::optional<QString> certificateSigner(const QByteArray &pdf);
