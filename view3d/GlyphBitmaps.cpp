#include "view3d/GlyphBitmaps.h"

#include <algorithm>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

namespace quillon {
namespace {

constexpr int kLabelPixelSize = 24;
constexpr int kInkThreshold = 128;

} // namespace

QFont LabelFont()
{
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(kLabelPixelSize);
    font.setBold(true);
    font.setStyleHint(QFont::Serif, QFont::NoAntialias);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

std::vector<GlyphBitmap> RasteriseGlyphs(const QFont& font, int first, int count)
{
    std::vector<GlyphBitmap> glyphs;
    if (count <= 0)
        return glyphs;
    glyphs.reserve(std::size_t(count));
    const QFontMetrics metrics(font);
    const int ascent = metrics.ascent();
    const int height = std::max(1, ascent + metrics.descent());

    for (int code = first; code < first + count; ++code) {
        const QChar ch(static_cast<char16_t>(code));
        const int advance = metrics.horizontalAdvance(ch);
        // Ink may reach left of the pen or past the advance (bold serifs); keep it all.
        const QRect ink = metrics.boundingRect(ch);
        const int left = std::min(0, ink.left());
        const int right = std::max(advance, ink.right() + 1);
        GlyphBitmap glyph;
        glyph.width = std::max(1, right - left);
        glyph.height = height;
        glyph.xOrigin = float(-left);
        glyph.yOrigin = float(metrics.descent());
        glyph.advance = float(advance);
        glyph.bits.assign(std::size_t(glyph.BytesPerRow()) * std::size_t(height), 0);

        QImage image(glyph.width, height, QImage::Format_Grayscale8);
        image.fill(0);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::TextAntialiasing, false);
            painter.setFont(font);
            painter.setPen(Qt::white);
            painter.drawText(QPoint(-left, ascent), QString(ch));
        }
        for (int y = 0; y < height; ++y) {
            const uchar* line = image.constScanLine(y);
            const std::size_t row = std::size_t(height - 1 - y); // glBitmap starts at the bottom
            for (int x = 0; x < glyph.width; ++x)
                if (line[x] >= kInkThreshold)
                    glyph.bits[row * std::size_t(glyph.BytesPerRow()) + std::size_t(x / 8)] |= std::uint8_t(0x80 >> (x % 8));
        }
        glyphs.push_back(std::move(glyph));
    }
    return glyphs;
}

} // namespace quillon
