#include "certificate.h"

#include "labelfields.h"
#include "labeltext.h"
#include "pdffile.h"
#include "pdfsignature.h"
#include "pdfsigner.h"
#include "recordrelease.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QTextDocument>

namespace {

constexpr double MarginMm = 20.0;
const QString CertificateFont = QStringLiteral("Liberation Sans");
// A certificate is one page of a few hundred kilobytes; anything much larger is no certificate
// of this program and is not read whole.
constexpr qint64 LargestCertificate = qint64(16) * 1024 * 1024;
const QString RecordHashWords = QStringLiteral("; record hash ");

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
                      + row(LabelText::tr("Record entry %1, hash").arg(e.id), {shortHash(e)})
                      + row(LabelText::tr("Release"), {releaseText(e)})
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
                       QPagedPaintDevice::PdfVersion_A1b, certificateKeywords(entry)};
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

QString certificateRefusal(const RecordEntry &entry, const LabelSettings &settings)
{
    if (settings.requireRelease && entry.releasedBy.isEmpty())
        return LabelText::tr("entry %1 is not released: the settings ask for a release by a "
                             "second person before a certificate ([Certificate] RequireRelease)")
            .arg(entry.id);
    return {};
}

QString certificateKeywords(const RecordEntry &entry)
{
    return entry.certificate + RecordHashWords + entry.hash;
}

std::optional<CertificateMark> readCertificateMark(const QString &path, QString &error)
{
    const QString name = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = LabelText::tr("%1 cannot be read: %2").arg(name, file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.read(LargestCertificate);
    // The keywords as certificateKeywords() makes them; the XMP packet is plain text in the file.
    static const QRegularExpression keywords(
        QStringLiteral("pdf:Keywords=\"(VC-\\d{4}-\\d{6,})%1([0-9a-f]{64})\"")
            .arg(QRegularExpression::escape(RecordHashWords)));
    const QRegularExpressionMatch match = bytes.startsWith("%PDF-")
        ? keywords.match(QString::fromLatin1(bytes))
        : QRegularExpressionMatch();
    if (!match.hasMatch()) {
        error = LabelText::tr("%1 is no calibration certificate of this program").arg(name);
        return std::nullopt;
    }
    return CertificateMark{match.captured(1), match.captured(2),
                           certificateSigner(bytes).value_or(QString())};
}
