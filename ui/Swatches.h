#pragma once
#include <QPixmap>

namespace quillon {

// The 8 x 8 swatches above the colour-mode radios: bitmap 130 (red, green, blue stripes
// 3, 2 and 3 pixels wide) for natural colours, 131 ... 134 for the solid colour of rows 0 ... 3.
QPixmap NaturalColourSwatch();
QPixmap SolidColourSwatch(int row);

} // namespace quillon
