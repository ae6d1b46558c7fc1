#include "labelqueue.h"

#include "labelrenderer.h"
#include "labeltext.h"

#include <QTemporaryDir>

#include <cups/cups.h>

namespace {

// "media=Custom.62x29mm pdfAutoRotate=off"
QList<std::pair<QByteArray, QByteArray>> labelJobOptions(const QSizeF &sizeMm)
{
    return {{"media",
             "Custom." + QByteArray::number(sizeMm.width()) + 'x'
                 + QByteArray::number(sizeMm.height()) + "mm"},
            {"pdfAutoRotate", "off"}};
}

} // namespace

std::optional<int> sendLabel(const QString &queue, const QSizeF &sizeMm,
                             const QList<LabelField> &fields, const QString &title, QString &error)
{
    // A folder of its own, so that the file is whole and closed when CUPS reads it.
    const QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("label.pdf"));
    if (!folder.isValid() || !writeLabelPdf(pdf, sizeMm, fields, error)) {
        if (error.isEmpty())
            error =
                LabelText::tr("no temporary folder for the label: %1").arg(folder.errorString());
        return std::nullopt;
    }
    cups_option_t *options = nullptr;
    int count = 0;
    for (const auto &[name, value] : labelJobOptions(sizeMm))
        count = cupsAddOption(name.constData(), value.constData(), count, &options);
    const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, queue.toUtf8().constData(),
                                   QFile::encodeName(pdf).constData(), title.toUtf8().constData(),
                                   count, options);
    cupsFreeOptions(count, options);
    if (job == 0) {
        error = LabelText::tr("the print queue \"%1\" takes no job: %2")
                    .arg(queue, QString::fromUtf8(cupsLastErrorString()));
        return std::nullopt;
    }
    return job;
}
