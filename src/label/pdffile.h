#pragma once
// A one-page PDF file, written whole or not at all.

#include <QPageSize>
#include <QPagedPaintDevice>

#include <functional>

class QPainter;

struct PdfPage
{
    QPageSize size;
    QString title;
    QPagedPaintDevice::PdfVersion version = QPagedPaintDevice::PdfVersion_1_4;
    // The document's keywords (XMP pdf:Keywords); PDF/A-1b only. None when empty.
    QString keywords;
};

// paint draws the page and returns false with error set when it cannot; the file is then left as
// it was. False with error set when the file cannot be written.
bool writePdfFile(const QString &path, const PdfPage &page,
                  const std::function<bool(QPainter &, QString &)> &paint, QString &error);
