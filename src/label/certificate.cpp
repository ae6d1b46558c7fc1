#include "certificate.h"

#include "labeltext.h"
#include "pdffile.h"
#include "pdfsigner.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextDocument>

namespace {

constexpr double MarginMm = 20.0;
const QString CertificateFont = QStringLiteral("Liberation Sans");

QString cell(const QString &text)
{
    return QStringLiteral("<td>%1</td>")
        .arg(text.isEmpty() ? QStringLiteral("-") : text.toHtmlEscaped());
}

QString row(const QString &caption, const QStringList &values)
{
    QString html =
        QStringLiteral("<tr><th align=left width=30%>%1</th>").arg(caption.toHtmlEscaped());
    for (const QString &value : values)
        html += cell(value);
    return html + QStringLiteral("</tr>");
}

QString certificateHtml(const RecordEntry &e, const LabelSettings &settings, const QDate &issued)
{
    const QString table =
        QStringLiteral("<table cellspacing=0 cellpadding=4 width=100%>%1</table>");
    QString html = LabelText::tr("<h1>Calibration certificate</h1>");
    html += table.arg(row(LabelText::tr("Certificate No."), {e.certificate})
                      + row(LabelText::tr("Date of issue"), {dateText(issued)})
                      + row(LabelText::tr("Laboratory"), {settings.lab})
                      + row(LabelText::tr("Address"), {settings.address}));
    html += LabelText::tr("<h2>Instrument</h2>");
    html += table.arg(row(LabelText::tr("Model"), {e.model})
                      + row(LabelText::tr("Serial number"), {e.serial})
                      + row(LabelText::tr("Firmware"),
                            {e.firmware ? QString::number(*e.firmware, 'f', 2) : QString()}));
    html += LabelText::tr("<h2>Dates</h2>");
    html += table.arg(
        LabelText::tr("<tr><th width=30%></th><th align=left>Calibration date</th>"
                      "<th align=left>Expiration date</th></tr>")
        + row(LabelText::tr("Found"), {dateText(e.calibrationBefore), dateText(e.expirationBefore)})
        + row(LabelText::tr("Asked"), {dateText(e.calibrationAsked), dateText(e.expirationAsked)})
        + row(LabelText::tr("Read back"),
              {dateText(e.calibrationReadBack), dateText(e.expirationReadBack)}));
    html += LabelText::tr("<p>Outcome: verified. The instrument was read back after the write and "
                          "holds the dates asked.</p>");
    html += table.arg(row(LabelText::tr("Technician"), {e.technician})
                      + row(LabelText::tr("Reference source"), {e.reference})
                      + row(LabelText::tr("Written"), {instantText(e.finishedAt)})
                      + row(LabelText::tr("Program"),
                            {QStringLiteral("VeltraSetCalibDate %1").arg(e.programVersion)}));
    html += LabelText::tr(
        "<p><small>This certificate covers what the program did: the dates written to the "
        "instrument and verified by reading them back. Measurement results are not part of "
        "it.</small></p>");
    return html;
}

bool paintCertificate(QPainter &painter, const QString &html)
{
    QPaintDevice *device = painter.device();
    const double pxPerMm = device->logicalDpiX() / 25.4;
    const double margin = MarginMm * pxPerMm;
    const QSizeF body(device->width() - 2 * margin, device->height() - 2 * margin);

    QTextDocument document;
    document.documentLayout()->setPaintDevice(device);
    QFont font(CertificateFont);
    font.setPointSizeF(10);
    document.setDefaultFont(font);
    document.setHtml(html);
    document.setTextWidth(body.width());
    painter.save();
    painter.translate(margin, margin);
    document.drawContents(&painter, QRectF(QPointF(0, 0), body));
    painter.restore();

    painter.setFont(font);
    painter.setPen(Qt::black);
    const QRectF footer(margin, device->height() - margin, body.width(), margin / 2);
    painter.drawText(footer, Qt::AlignRight | Qt::AlignTop, LabelText::tr("Page 1 of 1"));
    return document.size().height() <= body.height();
}

} // namespace

bool writeCertificatePdf(const QString &path, const RecordEntry &entry,
                         const LabelSettings &settings, const QDate &issued, QString &error)
{
    const PdfPage page{QPageSize(QPageSize::A4),
                       QStringLiteral("Calibration certificate ") + entry.certificate,
                       QPagedPaintDevice::PdfVersion_A1b};
    const QString html = certificateHtml(entry, settings, issued);
    std::optional<QByteArray> pdf = pdfBytes(
        page,
        [&](QPainter &painter, QString &paintError) {
            if (paintCertificate(painter, html))
                return true;
            paintError = LabelText::tr("the certificate does not fit on one page");
            return false;
        },
        error);
    if (pdf && settings.signing.isSet())
        pdf = signPdf(*pdf, settings.signing, QDateTime::currentDateTimeUtc(), error);
    return pdf && savePdfFile(path, *pdf, error);
}
