#include "labelrenderer.h"

#include "labeltext.h"
#include "pdffile.h"
#include "qrcode.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

#include <memory>
#include <vector>

namespace {

constexpr double MarginMm = 1.0;
constexpr double GapMm = 1.5;
constexpr double LargestPt = 10.0;
constexpr double SmallestPt = 6.0;
constexpr double StepPt = 0.5;
// White modules around the code, inside its square; the label's margin adds to them.
constexpr int QuietModules = 2;
const QString LabelFont = QStringLiteral("Liberation Sans Narrow");

struct Placement
{
    QRectF qr;
    QRectF text;
};

// The QR code beside the text, and above it; the page's long side decides which comes first.
QList<Placement> placements(const QSizeF &page, double pxPerMm)
{
    const double margin = MarginMm * pxPerMm;
    const double gap = GapMm * pxPerMm;
    const QRectF inner(margin, margin, page.width() - 2 * margin, page.height() - 2 * margin);
    QList<Placement> list;
    const double besideSide = inner.height();
    if (inner.width() - besideSide - gap > 0) {
        list << Placement{QRectF(inner.topLeft(), QSizeF(besideSide, besideSide)),
                          inner.adjusted(besideSide + gap, 0, 0, 0)};
    }
    const double aboveSide = std::min(inner.width(), inner.height() / 2);
    list << Placement{
        QRectF(inner.left() + (inner.width() - aboveSide) / 2, inner.top(), aboveSide, aboveSide),
        inner.adjusted(0, aboveSide + gap, 0, 0)};
    if (page.height() > page.width())
        std::reverse(list.begin(), list.end());
    return list;
}

using Paragraphs = std::vector<std::unique_ptr<QTextLayout>>;

// Lays the fields out in width: "caption value" on one line when it fits, else the caption on a
// line of its own and the value wrapped at words, or anywhere when a word is wider than the line.
// Returns the height taken; brokeWord tells whether a word was broken that would stay whole in
// the smallest type.
double layOut(Paragraphs &paragraphs, const QList<LabelField> &fields, double pointSize,
              double width, QPaintDevice *device, bool &brokeWord)
{
    QFont font(LabelFont);
    font.setPointSizeF(pointSize);
    QFont bold = font;
    bold.setBold(true);
    const QFontMetricsF metrics(font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    double height = 0;
    brokeWord = false;
    const auto add = [&](const QString &text, const QFont &textFont) {
        const QFontMetricsF textMetrics(textFont, device);
        for (const QString &word : text.split(QLatin1Char(' '))) {
            const double advance = textMetrics.horizontalAdvance(word);
            brokeWord = brokeWord || (advance > width && advance * SmallestPt / pointSize <= width);
        }
        auto layout = std::make_unique<QTextLayout>(text, textFont, device);
        layout->setTextOption(option);
        layout->beginLayout();
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, height));
            height += line.height();
        }
        layout->endLayout();
        paragraphs.push_back(std::move(layout));
    };
    for (const LabelField &field : fields) {
        const QString line = field.caption + QLatin1Char(' ') + field.value;
        if (!field.printed)
            continue;
        if (field.caption.isEmpty()) {
            add(field.value, field.key == QLatin1String("Model") ? bold : font);
        } else if (metrics.horizontalAdvance(line) <= width) {
            add(line, font);
        } else {
            add(field.caption, font);
            add(field.value, font);
        }
    }
    return height;
}

void paintQr(QPainter &painter, const QrCode &qr, const QRectF &square)
{
    const double module = square.width() / (qr.width + 2 * QuietModules);
    const QPointF origin = square.topLeft() + QPointF(module, module) * QuietModules;
    // One path for the whole code, so that no seam shows between neighbouring modules.
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (int y = 0; y < qr.width; ++y) {
        for (int x = 0; x < qr.width;) {
            if (!qr.isDark(x, y)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < qr.width && qr.isDark(x, y))
                ++x;
            path.addRect(QRectF(origin + QPointF(start * module, y * module),
                                QSizeF((x - start) * module, module)));
        }
    }
    painter.fillPath(path, Qt::black);
}

} // namespace

bool paintLabel(QPainter &painter, const QSizeF &sizeMm, const QList<LabelField> &fields,
                QString &error)
{
    const std::optional<QrCode> qr = encodeQr(qrText(fields).toUtf8());
    if (!qr) {
        error = LabelText::tr("the label's fields are too long for a QR code");
        return false;
    }
    QPaintDevice *device = painter.device();
    const double pxPerMm = device->logicalDpiX() / 25.4;
    const QList<Placement> candidates = placements(sizeMm * pxPerMm, pxPerMm);
    // The largest type that fits, breaking no word that the smallest type keeps whole.
    for (double pointSize = LargestPt; pointSize >= SmallestPt; pointSize -= StepPt) {
        for (const Placement &placement : candidates) {
            Paragraphs paragraphs;
            bool brokeWord = false;
            const double height =
                layOut(paragraphs, fields, pointSize, placement.text.width(), device, brokeWord);
            if (height > placement.text.height() || brokeWord)
                continue;
            paintQr(painter, *qr, placement.qr);
            painter.setPen(Qt::black);
            const QPointF top =
                placement.text.topLeft() + QPointF(0, (placement.text.height() - height) / 2);
            for (const auto &paragraph : paragraphs)
                paragraph->draw(&painter, top);
            return true;
        }
    }
    error = LabelText::tr("the label's fields do not fit on %1 x %2 mm in type of %3 pt or more")
                .arg(sizeMm.width())
                .arg(sizeMm.height())
                .arg(SmallestPt);
    return false;
}

bool writeLabelPdf(const QString &path, const QSizeF &sizeMm, const QList<LabelField> &fields,
                   QString &error)
{
    const PdfPage page{QPageSize(sizeMm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                       QStringLiteral("Calibration label"),
                       QPagedPaintDevice::PdfVersion_1_4,
                       {}};
    return writePdfFile(
        path, page,
        [&](QPainter &painter, QString &paintError) {
            return paintLabel(painter, sizeMm, fields, paintError);
        },
        error);
}
