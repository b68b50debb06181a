#include "view3d/LabelText.h"

#include <cstdio>

#include "view3d/SceneGeometry.h"

namespace quillon {

std::string FormatLabelText(const char* format, std::va_list args)
{
    if (!format)
        return {};
    char buffer[kLabelBufferSize] = {};
    const int written = std::vsnprintf(buffer, sizeof buffer, format, args);
    if (written < 0)
        return {};
    buffer[kLabelBufferSize - 1] = 0;
    std::string text(buffer);
    for (char& ch : text) {
        const int code = static_cast<unsigned char>(ch);
        if (code < kFirstGlyph || code >= kFirstGlyph + kGlyphCount)
            ch = '?';
    }
    return text;
}

} // namespace quillon
