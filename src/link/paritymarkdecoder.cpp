#include "paritymarkdecoder.h"

ParityMarkDecoder::Result ParityMarkDecoder::decode(const QByteArray &bytes)
{
    constexpr char Mark = '\xFF';
    const QByteArray input = m_pending + bytes;
    m_pending.clear();
    Result result;
    result.data.reserve(input.size());
    qsizetype i = 0;
    while (i < input.size()) {
        if (input[i] != Mark) {
            result.data.append(input[i++]);
            continue;
        }
        const qsizetype left = input.size() - i;
        if (left == 1 || (left == 2 && input[i + 1] == '\0')) {
            m_pending = input.mid(i);
            break;
        }
        if (input[i + 1] == Mark) {
            result.data.append(Mark);
            i += 2;
        } else if (input[i + 1] == '\0') {
            ++result.errorCount;
            i += 3;
        } else {
            // Not a mark the driver makes; keep the byte rather than lose data.
            result.data.append(input[i++]);
        }
    }
    return result;
}
