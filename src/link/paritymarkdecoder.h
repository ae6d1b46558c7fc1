#pragma once
// Takes the driver's parity marks out of received bytes.
//
// With parity marking on, the driver sends "\xFF\x00" before a byte that arrived with a parity or
// framing error, and doubles a good 0xFF byte. A mark can be split across two reads, so the
// decoder keeps an unfinished prefix for the next call.

#include <QByteArray>

class ParityMarkDecoder
{
public:
    struct Result
    {
        QByteArray data; // the good bytes
        int errorCount = 0; // bytes dropped because they were marked
    };

    Result decode(const QByteArray &bytes);
    void reset() { m_pending.clear(); }

private:
    QByteArray m_pending;
};
