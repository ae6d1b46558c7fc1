#pragma once
// A lab's signing identity made for a test or a benchmark with OpenSSL: a key (RSA 2048 or EC
// P-256) and an X.509 certificate for it, self-signed or signed by another identity, as PEM bytes.

#include <QByteArray>
#include <QString>

enum class KeyKind { Rsa, Ec };

struct LabIdentity
{
    QByteArray certificate; // PEM
    QByteArray key; // PEM, unencrypted

    // validFromDays and validToDays count from now; a negative one lies in the past. Signed by
    // issuer, or self-signed when none. Empty when OpenSSL fails.
    static LabIdentity make(const QString &commonName, int validFromDays = -1,
                            int validToDays = 365, const LabIdentity *issuer = nullptr,
                            KeyKind kind = KeyKind::Rsa);
    // The key in PEM form, encrypted with AES-256 under passphrase.
    QByteArray encryptedKey(const QByteArray &passphrase) const;
};
