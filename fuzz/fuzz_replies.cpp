// Arbitrary bytes as instrument replies, arriving in pieces (split at each 0xFE byte), for both
// framings and for the parity-mark decoder. Besides crashes it checks what the exchange relies
// on: a complete payload is never longer than what arrived, a rejection leaves nothing behind,
// and the decoder never makes data out of nothing.

#include "frames.h"
#include "fuzzrequire.h"
#include "paritymarkdecoder.h"

#include <QByteArrayList>

namespace {

void fuzzReplies(const QList<QByteArray> &pieces, ReplyState (*scan)(QString &))
{
    QString text;
    qsizetype received = 0;
    for (const QByteArray &piece : pieces) {
        text += QString::fromLatin1(piece);
        received += piece.size();
        const ReplyState state = scan(text);
        require(text.size() <= received);
        if (state == ReplyState::Rejected)
            require(text.isEmpty());
        if (state != ReplyState::Incomplete)
            return;
    }
}

void fuzzParityMarks(const QList<QByteArray> &pieces)
{
    ParityMarkDecoder decoder;
    qsizetype in = 0;
    qsizetype out = 0;
    qsizetype errors = 0;
    for (const QByteArray &piece : pieces) {
        const ParityMarkDecoder::Result result = decoder.decode(piece);
        in += piece.size();
        out += result.data.size();
        errors += result.errorCount;
        // Every good byte came in at least once, every marked one took three bytes.
        require(out + 3 * errors <= in);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<QByteArray> pieces = bytes.split('\xFE');
    fuzzReplies(pieces, &scanPlainReply);
    fuzzReplies(pieces, &scanFramedReply);
    fuzzParityMarks(pieces);
    return 0;
}
