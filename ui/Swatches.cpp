#include "ui/Swatches.h"

#include <QPainter>

#include "view3d/ShapeMesh.h"

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
    // The viewport's row hues, at full strength.
    QColor colour(0, 0, 0);
    if (row >= 0 && row < kShapeCount) {
        const RowHue& hue = kRowHues[row];
        colour = QColor(hue.red ? 255 : 0, hue.green ? 255 : 0, hue.blue ? 255 : 0);
    }
    QPixmap pixmap(kSwatchSize, kSwatchSize);
    pixmap.fill(colour);
    return pixmap;
}

} // namespace quillon
