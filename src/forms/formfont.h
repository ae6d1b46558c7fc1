#pragma once
// The one font of the program's forms: Arial, or a metric-compatible stand-in where Arial is not
// installed, so the designed layout keeps its proportions.

#include <QFont>
#include <QStringList>

constexpr double FormPointSize = 9.75;

inline QFont formFont(double pointSize = FormPointSize, bool bold = false)
{
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                QStringLiteral("DejaVu Sans")});
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}
