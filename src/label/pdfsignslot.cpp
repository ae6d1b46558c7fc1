#include "pdfsignslot.h"

#include <QMap>
#include <QRegularExpression>

#include <algorithm>

namespace {

// The file's objects: the byte offset of each object number in use.
using Offsets = QMap<int, qsizetype>;

struct Trailer
{
    qsizetype xref = -1;
    int size = 0;
    int root = 0;
    QByteArray info; // "/Info N 0 R", or empty
    QByteArray id; // "/ID [...]", or empty
};

std::optional<QByteArray> match(const QByteArray &text, const char *pattern, int group = 1)
{
    const QRegularExpressionMatch found =
        QRegularExpression(QString::fromLatin1(pattern)).match(QString::fromLatin1(text));
    if (!found.hasMatch())
        return std::nullopt;
    return found.captured(group).toLatin1();
}

int number(const std::optional<QByteArray> &text)
{
    return text ? text->toInt() : 0;
}

// The last cross-reference table and its trailer; offsets gets the objects it lists.
std::optional<Trailer> readTrailer(const QByteArray &pdf, Offsets &offsets)
{
    Trailer trailer;
    const qsizetype startxref = pdf.lastIndexOf("startxref");
    trailer.xref =
        startxref < 0 ? -1 : number(match(pdf.mid(startxref, 40), "^startxref\\s+(\\d+)\\s+%%EOF"));
    if (trailer.xref <= 0 || trailer.xref >= startxref || !pdf.mid(trailer.xref).startsWith("xref"))
        return std::nullopt;
    const qsizetype trailerStart = pdf.indexOf("trailer", trailer.xref);
    if (trailerStart < 0 || trailerStart > startxref)
        return std::nullopt;
    int next = 0;
    for (const QByteArray &line : pdf.mid(trailer.xref, trailerStart - trailer.xref).split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() == 2)
            next = fields[0].toInt();
        else if (fields.size() == 3 && fields[2] == "n")
            offsets.insert(next++, fields[0].toLongLong());
        else if (fields.size() == 3)
            ++next;
    }
    const QByteArray dictionary = pdf.mid(trailerStart, startxref - trailerStart);
    trailer.size = number(match(dictionary, "/Size\\s+(\\d+)"));
    trailer.root = number(match(dictionary, "/Root\\s+(\\d+)\\s+0\\s+R"));
    trailer.info = match(dictionary, "(/Info\\s+\\d+\\s+0\\s+R)").value_or(QByteArray());
    trailer.id = match(dictionary, "(/ID\\s*\\[[^\\]]*\\])").value_or(QByteArray());
    if (trailer.size <= 0 || !offsets.contains(trailer.root))
        return std::nullopt;
    return trailer;
}

// What lies between "N 0 obj" and "endobj", trimmed.
std::optional<QByteArray> objectBody(const QByteArray &pdf, const Offsets &offsets, int object)
{
    const qsizetype start = offsets.value(object, -1);
    const QByteArray head = QByteArray::number(object) + " 0 obj";
    if (start < 0 || !pdf.mid(start).startsWith(head))
        return std::nullopt;
    const qsizetype end = pdf.indexOf("endobj", start);
    if (end < 0)
        return std::nullopt;
    return pdf.mid(start + head.size(), end - start - head.size()).trimmed();
}

// body with text added before its closing delimiter (">>" of a dictionary, "]" of an array).
std::optional<QByteArray> withAdded(const QByteArray &body, const QByteArray &close,
                                    const QByteArray &text)
{
    if (!body.endsWith(close))
        return std::nullopt;
    return body.chopped(close.size()) + text + close;
}

QByteArray ref(int object)
{
    return QByteArray::number(object) + " 0 R";
}

QByteArray dateText(const QDateTime &instant)
{
    return instant.toUTC().toString(QStringLiteral("'D:'yyyyMMddHHmmss'Z'")).toLatin1();
}

// The byte range is written with room for any offset and filled in once the update is laid out.
constexpr int RangeWidth = 10;
const QByteArray RangeRoom = "/ByteRange [0 " + QByteArray(3 * (RangeWidth + 1) - 1, ' ') + "]";

} // namespace

QByteArray PdfSignSlot::signedBytes() const
{
    return pdf.left(contentsStart) + pdf.mid(contentsEnd);
}

std::optional<PdfSignSlot> addSignSlot(const QByteArray &pdf, qsizetype capacity,
                                       const QDateTime &signedAt)
{
    Offsets offsets;
    const std::optional<Trailer> trailer = readTrailer(pdf, offsets);
    if (!trailer)
        return std::nullopt;
    const std::optional<QByteArray> catalog = objectBody(pdf, offsets, trailer->root);
    if (!catalog || catalog->contains("/AcroForm"))
        return std::nullopt;
    const int pages = number(match(*catalog, "/Pages\\s+(\\d+)\\s+0\\s+R"));
    const std::optional<QByteArray> pagesBody = objectBody(pdf, offsets, pages);
    const int page = pagesBody ? number(match(*pagesBody, "/Kids\\s*\\[\\s*(\\d+)\\s+0\\s+R")) : 0;
    const std::optional<QByteArray> pageBody = objectBody(pdf, offsets, page);
    if (!pageBody)
        return std::nullopt;

    const int field = trailer->size;
    const int signature = field + 1;
    // Changed objects are written anew under their own numbers; the widget joins the page's
    // annotations wherever they are kept: an array object of their own (QPdfWriter's way), an
    // array in the page, or none yet.
    QMap<int, QByteArray> objects;
    objects.insert(
        trailer->root,
        withAdded(*catalog, ">>", "/AcroForm << /Fields [" + ref(field) + "] /SigFlags 3 >>\n")
            .value_or(QByteArray()));
    const int annots = number(match(*pageBody, "/Annots\\s+(\\d+)\\s+0\\s+R"));
    if (annots > 0) {
        const std::optional<QByteArray> array = objectBody(pdf, offsets, annots);
        objects.insert(annots,
                       array ? withAdded(*array, "]", ' ' + ref(field) + ' ').value_or("")
                             : QByteArray());
    } else if (pageBody->contains("/Annots")) {
        QByteArray body = *pageBody;
        const qsizetype open = body.indexOf('[', body.indexOf("/Annots"));
        objects.insert(page, open < 0 ? QByteArray() : body.insert(open + 1, ref(field) + ' '));
    } else {
        objects.insert(
            page,
            withAdded(*pageBody, ">>", "/Annots [" + ref(field) + "]\n").value_or(QByteArray()));
    }
    objects.insert(field,
                   "<< /Type /Annot /Subtype /Widget /FT /Sig /T (Signature1) /F 132 /Rect [0 0 "
                   "0 0] /P "
                       + ref(page) + " /V " + ref(signature) + " >>");
    objects.insert(signature,
                   "<< /Type /Sig /Filter /Adobe.PPKLite /SubFilter /ETSI.CAdES.detached /M ("
                       + dateText(signedAt) + ") " + RangeRoom + " /Contents <"
                       + QByteArray(2 * capacity, '0') + "> >>");
    if (std::any_of(objects.cbegin(), objects.cend(),
                    [](const QByteArray &body) { return body.isEmpty(); }))
        return std::nullopt;

    PdfSignSlot slot{pdf, 0, 0};
    if (!slot.pdf.endsWith('\n'))
        slot.pdf += '\n';
    QByteArray xref = "xref\n";
    for (auto object = objects.cbegin(); object != objects.cend(); ++object) {
        xref += QByteArray::number(object.key()) + " 1\n"
            + QByteArray::number(slot.pdf.size()).rightJustified(10, '0') + " 00000 n \n";
        slot.pdf += QByteArray::number(object.key()) + " 0 obj\n" + object.value() + "\nendobj\n";
    }
    const qsizetype xrefStart = slot.pdf.size();
    slot.pdf += xref + "trailer\n<< /Size " + QByteArray::number(signature + 1) + " /Root "
        + ref(trailer->root) + ' ' + trailer->info + ' ' + trailer->id + " /Prev "
        + QByteArray::number(trailer->xref) + " >>\nstartxref\n" + QByteArray::number(xrefStart)
        + "\n%%EOF\n";

    const qsizetype range = slot.pdf.lastIndexOf(RangeRoom);
    slot.contentsStart = slot.pdf.indexOf('<', range + RangeRoom.size());
    slot.contentsEnd = slot.pdf.indexOf('>', slot.contentsStart) + 1;
    QByteArray filled = "/ByteRange [0 ";
    for (const qsizetype value :
         {slot.contentsStart, slot.contentsEnd, slot.pdf.size() - slot.contentsEnd})
        filled += QByteArray::number(value).leftJustified(RangeWidth, ' ') + ' ';
    filled.chop(1);
    slot.pdf.replace(range, RangeRoom.size(), filled + ']');
    return slot;
}
