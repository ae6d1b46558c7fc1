#include "pdffile.h"

#include "labeltext.h"
#include "savefile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QPainter>
#include <QPdfWriter>

std::optional<QByteArray> pdfBytes(const PdfPage &page, const PdfPainter &paint, QString &error)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bool painted = false;
    {
        QPdfWriter writer(&buffer);
        writer.setPdfVersion(page.version);
        writer.setPageSize(page.size);
        writer.setPageMargins(QMarginsF(), QPageLayout::Millimeter);
        writer.setTitle(page.title);
        writer.setCreator(QCoreApplication::applicationName());
        QPainter painter;
        if (!painter.begin(&writer)) {
            error = LabelText::tr("the page cannot be drawn");
            return std::nullopt;
        }
        painted = paint(painter, error);
        painter.end();
    }
    if (!painted)
        return std::nullopt;
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
