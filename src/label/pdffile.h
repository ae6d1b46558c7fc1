#pragma once
// A one-page PDF file, written whole or not at all.

#include <QPageSize>
#include <QPagedPaintDevice>

#include <functional>
#include <optional>

class QPainter;

struct PdfPage
{
    QPageSize size;
    QString title;
    QPagedPaintDevice::PdfVersion version = QPagedPaintDevice::PdfVersion_1_4;
    // The document's keywords (XMP pdf:Keywords); PDF/A-1b only. None when empty.
    QString keywords;
};

using PdfPainter = std::function<bool(QPainter &, QString &)>;

// The page as PDF bytes. paint draws the page and returns false with error set when it cannot;
// then none.
std::optional<QByteArray> pdfBytes(const PdfPage &page, const PdfPainter &paint, QString &error);

// False with error set, naming the file, when it cannot be written; an old file then stays.
bool savePdfFile(const QString &path, const QByteArray &pdf, QString &error);

// Both of the above: when paint fails or the file cannot be written, the file is left as it was.
bool writePdfFile(const QString &path, const PdfPage &page, const PdfPainter &paint,
                  QString &error);
