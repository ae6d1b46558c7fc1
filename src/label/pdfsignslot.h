#pragma once
// The room for a signature in a PDF file as QPdfWriter writes it: an incremental update after
// the file's %%EOF that adds a signature field (an invisible, printable widget on the first page,
// as PDF/A-1 asks of annotations) and its signature dictionary, whose /Contents is a hex string
// of zeros to be overwritten with the signature. Its cross-reference section is a classic table,
// like the file's own, so the file keeps its PDF/A-1b conformance.

#include <QByteArray>
#include <QDateTime>

#include <optional>

struct PdfSignSlot
{
    QByteArray pdf; // the original bytes, then the update
    qsizetype contentsStart; // the '<' of /Contents
    qsizetype contentsEnd; // just after its '>'

    // Every byte but /Contents: what the signature covers, as its /ByteRange says.
    QByteArray signedBytes() const;
    qsizetype capacity() const { return (contentsEnd - contentsStart - 2) / 2; }
};

// capacity: the bytes /Contents can hold. None when pdf is not a file of the shape QPdfWriter
// writes (one classic cross-reference table, a catalog without a form) or is signed already.
std::optional<PdfSignSlot> addSignSlot(const QByteArray &pdf, qsizetype capacity,
                                       const QDateTime &signedAt);
