#pragma once
// poppler-utils and zbar-tools run on a PDF file, for the tests of what it holds.

#include <QProcess>
#include <QRegularExpression>
#include <QSizeF>
#include <QStandardPaths>
#include <QStringList>
#include <QTest>

#include <optional>

namespace PdfTools {

// The program's standard output; none when it cannot run or fails.
inline std::optional<QByteArray> output(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        qWarning() << program << arguments << process.readAllStandardError();
        return std::nullopt;
    }
    return process.readAllStandardOutput();
}

inline bool available()
{
    for (const char *program : {"pdfinfo", "pdftotext", "pdffonts", "pdftoppm", "zbarimg"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty())
            return false;
    }
    return true;
}

// pdfinfo's page size in millimetres and its page count.
inline QSizeF pageSizeMm(const QString &pdf, int &pages)
{
    const QString info = QString::fromUtf8(output(QStringLiteral("pdfinfo"), {pdf}).value_or(""));
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(info);
    const QRegularExpressionMatch count =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    pages = count.captured(1).toInt();
    constexpr double MmPerPt = 25.4 / 72;
    return QSizeF(size.captured(1).toDouble() * MmPerPt, size.captured(2).toDouble() * MmPerPt);
}

inline QString text(const QString &pdf)
{
    return QString::fromUtf8(
        output(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
            .value_or(""));
}

// The fonts pdffonts lists that are not embedded, or "no fonts" when it lists none.
inline QStringList fontsNotEmbedded(const QString &pdf)
{
    const QStringList lines =
        QString::fromUtf8(output(QStringLiteral("pdffonts"), {pdf}).value_or(""))
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
            .mid(2);
    if (lines.isEmpty())
        return {QStringLiteral("no fonts")};
    QStringList missing;
    // Columns: name type encoding emb sub uni object ID; "emb" is the fourth from the end.
    for (const QString &line : lines) {
        const QStringList columns = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (columns.size() < 7 || columns[columns.size() - 5] != QLatin1String("yes"))
            missing << line;
    }
    return missing;
}

// Every word's box, in points, as pdftotext -bbox gives it.
inline QList<QRectF> wordBoxes(const QString &pdf)
{
    const QString html = QString::fromUtf8(
        output(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")})
            .value_or(""));
    static const QRegularExpression Word(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\""));
    QList<QRectF> boxes;
    for (const QRegularExpressionMatch &m : Word.globalMatch(html)) {
        boxes << QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                        QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
    }
    return boxes;
}

// The QR code's text, read from the page drawn at 600 dpi; its bytes as they are, UTF-8, where
// zbarimg would guess another character set.
inline QString qrText(const QString &pdf, const QString &folder)
{
    const QString stem = folder + QStringLiteral("/page");
    if (!output(QStringLiteral("pdftoppm"),
                {QStringLiteral("-r"), QStringLiteral("600"), QStringLiteral("-png"),
                 QStringLiteral("-singlefile"), pdf, stem}))
        return {};
    const std::optional<QByteArray> read =
        output(QStringLiteral("zbarimg"),
               {QStringLiteral("--raw"), QStringLiteral("-q"), QStringLiteral("-Sbinary"),
                stem + QStringLiteral(".png")});
    QString text = QString::fromUtf8(read.value_or(""));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

} // namespace PdfTools
