#include "programicon.h"

#include <QPainter>

QPixmap ProgramIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF face(size * 0.04, size * 0.04, size * 0.92, size * 0.92);
    painter.setPen(QPen(Qt::black, qMax(1.0, size / 24.0)));
    painter.setBrush(QColor(255, 210, 0));
    painter.drawEllipse(face);

    // Three blades of 60 degrees each, 120 degrees apart, around a small hub.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const QPointF centre = face.center();
    const double bladeRadius = size * 0.36;
    const QRectF blades(centre.x() - bladeRadius, centre.y() - bladeRadius, 2 * bladeRadius,
                        2 * bladeRadius);
    for (int blade = 0; blade < 3; ++blade)
        painter.drawPie(blades, (60 + blade * 120) * 16, 60 * 16);
    const double gapRadius = size * 0.11;
    painter.setBrush(QColor(255, 210, 0));
    painter.drawEllipse(centre, gapRadius, gapRadius);
    painter.setBrush(Qt::black);
    painter.drawEllipse(centre, size * 0.07, size * 0.07);
    return pixmap;
}
