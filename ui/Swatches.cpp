#include "ui/Swatches.h"

#include <QPainter>

namespace quillon {

namespace {
constexpr int kSwatchSize = 8;
} // namespace

QPixmap NaturalColourSwatch()
{
    QPixmap pixmap(kSwatchSize, kSwatchSize);
    QPainter painter(&pixmap);
    painter.fillRect(0, 0, 3, kSwatchSize, QColor(255, 0, 0));
    painter.fillRect(3, 0, 2, kSwatchSize, QColor(0, 255, 0));
    painter.fillRect(5, 0, 3, kSwatchSize, QColor(0, 0, 255));
    return pixmap;
}

QPixmap SolidColourSwatch(int row)
{
    // Same hue order as the solid colours of the viewport: red, blue, green, magenta.
    static const QColor kRowColours[] = {QColor(255, 0, 0), QColor(0, 0, 255), QColor(0, 255, 0),
                                         QColor(255, 0, 255)};
    QPixmap pixmap(kSwatchSize, kSwatchSize);
    pixmap.fill(row >= 0 && row < 4 ? kRowColours[row] : QColor(0, 0, 0));
    return pixmap;
}

} // namespace quillon
