#include "qrcode.h"

#include <qrencode.h>

#include <memory>

std::optional<QrCode> encodeQr(const QByteArray &utf8)
{
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString8bit(utf8.constData(), 0, QR_ECLEVEL_M), &QRcode_free);
    if (!code)
        return std::nullopt;
    QrCode qr;
    qr.width = code->width;
    const qsizetype count = qsizetype(code->width) * code->width;
    qr.dark.reserve(count);
    // Bit 0 of each byte is the module's colour; the others say what the module is part of.
    for (qsizetype i = 0; i < count; ++i)
        qr.dark << ((code->data[i] & 1) != 0);
    return qr;
}
