#pragma once
#include <cstdint>
#include <vector>

#include <QFont>

namespace quillon {

// A glyph as glBitmap takes it: 1 bit a pixel, most significant bit first, rows of
// (width + 7) / 8 bytes with no padding, bottom row first.
struct GlyphBitmap {
    int width = 0;
    int height = 0;
    float xOrigin = 0.0f; // from the raster position to the bitmap's lower left corner
    float yOrigin = 0.0f;
    float advance = 0.0f;
    std::vector<std::uint8_t> bits;

    int BytesPerRow() const { return (width + 7) / 8; }
    bool IsSet(int x, int rowFromBottom) const
    {
        return (bits[std::size_t(rowFromBottom) * std::size_t(BytesPerRow()) + std::size_t(x / 8)] >> (7 - x % 8)) & 1;
    }
};

// Bold serif, 24 pixels high; Liberation Serif stands in for the face the labels were
// designed with, and any serif does when it is missing.
QFont LabelFont();

// Characters first .. first + count - 1, rasterised without antialiasing. Needs a
// QGuiApplication, not OpenGL.
std::vector<GlyphBitmap> RasteriseGlyphs(const QFont& font, int first, int count);

} // namespace quillon
