#pragma once
// A QR code's modules, from libqrencode.

#include <QByteArray>
#include <QList>

#include <optional>

struct QrCode
{
    int width = 0; // modules on a side, without the quiet zone
    QList<bool> dark; // row by row

    bool isDark(int x, int y) const { return dark[y * width + x]; }
};

// Byte mode, error correction M; none when the text is too long for any version.
std::optional<QrCode> encodeQr(const QByteArray &utf8);
