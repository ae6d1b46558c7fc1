#include "programicon.h"

#include "programpaths.h"

#include <QPainter>
#include <QSvgRenderer>

QPixmap programIcon(int size)
{
    // Drawn with Qt SVG itself rather than through the SVG image plugin, a separate package that
    // may be missing at run time.
    QSvgRenderer renderer(QStringLiteral(":/icons/%1.svg").arg(ApplicationId));
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}
