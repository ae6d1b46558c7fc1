#include "pdffile.h"

#include "labeltext.h"

#include <QCoreApplication>
#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

bool writePdfFile(const QString &path, const PdfPage &page,
                  const std::function<bool(QPainter &, QString &)> &paint, QString &error)
{
    const auto cannotWrite = [&](const QString &why) {
        error = LabelText::tr("%1 cannot be written: %2").arg(QDir::toNativeSeparators(path), why);
        return false;
    };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return cannotWrite(file.errorString());
    bool painted = false;
    {
        QPdfWriter writer(&file);
        writer.setPdfVersion(page.version);
        writer.setPageSize(page.size);
        writer.setPageMargins(QMarginsF(), QPageLayout::Millimeter);
        writer.setTitle(page.title);
        writer.setCreator(QCoreApplication::applicationName());
        QPainter painter;
        if (!painter.begin(&writer))
            return cannotWrite(LabelText::tr("the page cannot be drawn"));
        painted = paint(painter, error);
        painter.end();
    }
    if (!painted) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return cannotWrite(file.errorString());
    return true;
}
