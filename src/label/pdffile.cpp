#include "pdffile.h"

#include "labeltext.h"
#include "savefile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>

namespace {

// The document's metadata as XMP, as Qt makes it for PDF/A-1b, with the keywords added: Qt has no
// other way to keywords. PDF/A wants the packet to say what the information dictionary says,
// and Qt dates that dictionary itself.
QByteArray xmpPacket(const PdfPage &page, const QDateTime &created)
{
    const int offset = created.offsetFromUtc() / 60;
    const QString date = created.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"))
        + QString::asprintf("%c%02d:%02d", offset < 0 ? '-' : '+', qAbs(offset) / 60,
                            qAbs(offset) % 60);
    return QStringLiteral(
               "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?>\n"
               "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
               "  <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
               "    <rdf:Description xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
               "rdf:about=\"\">\n"
               "      <dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">%1</rdf:li></rdf:Alt>"
               "</dc:title>\n"
               "    </rdf:Description>\n"
               "    <rdf:Description xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\" rdf:about=\"\" "
               "xmp:CreatorTool=\"%2\" xmp:CreateDate=\"%3\" xmp:ModifyDate=\"%3\"/>\n"
               "    <rdf:Description xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\" rdf:about=\"\" "
               "pdf:Producer=\"%4\" pdf:Keywords=\"%5\"/>\n"
               "    <rdf:Description xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\" "
               "rdf:about=\"\" pdfaid:part=\"1\" pdfaid:conformance=\"B\"/>\n"
               "  </rdf:RDF>\n"
               "</x:xmpmeta>\n"
               "<?xpacket end='w'?>")
        .arg(page.title.toHtmlEscaped(), QCoreApplication::applicationName().toHtmlEscaped(), date,
             QStringLiteral("Qt " QT_VERSION_STR), page.keywords.toHtmlEscaped())
        .toUtf8();
}

// The creation instant Qt wrote into the information dictionary, to the second.
QString infoCreationDate(const QByteArray &pdf)
{
    static const QRegularExpression date(QStringLiteral("/CreationDate \\(D:(\\d{14})"));
    return date.match(QString::fromLatin1(pdf)).captured(1);
}

} // namespace

std::optional<QByteArray> pdfBytes(const PdfPage &page, const PdfPainter &paint, QString &error)
{
    QByteArray bytes;
    const auto render = [&](const QDateTime &created) {
        bytes.clear();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPdfVersion(page.version);
        writer.setPageSize(page.size);
        writer.setPageMargins(QMarginsF(), QPageLayout::Millimeter);
        writer.setTitle(page.title);
        writer.setCreator(QCoreApplication::applicationName());
        if (!page.keywords.isEmpty())
            writer.setDocumentXmpMetadata(xmpPacket(page, created));
        QPainter painter;
        if (!painter.begin(&writer)) {
            error = LabelText::tr("the page cannot be drawn");
            return false;
        }
        const bool painted = paint(painter, error);
        painter.end();
        return painted;
    };
    // A second may pass between the packet's date and Qt's: then the page is drawn once more.
    QDateTime created = QDateTime::currentDateTime();
    if (!render(created))
        return std::nullopt;
    for (int attempt = 0; !page.keywords.isEmpty() && attempt < 3
         && infoCreationDate(bytes) != created.toString(QStringLiteral("yyyyMMddHHmmss"));
         ++attempt) {
        created = QDateTime::currentDateTime();
        if (!render(created))
            return std::nullopt;
    }
    return bytes;
}

bool savePdfFile(const QString &path, const QByteArray &pdf, QString &error)
{
    const QString why = saveFileAtomically(path, pdf);
    if (why.isEmpty())
        return true;
    error = LabelText::tr("%1 cannot be written: %2").arg(QDir::toNativeSeparators(path), why);
    return false;
}

bool writePdfFile(const QString &path, const PdfPage &page, const PdfPainter &paint, QString &error)
{
    const std::optional<QByteArray> pdf = pdfBytes(page, paint, error);
    return pdf && savePdfFile(path, *pdf, error);
}
