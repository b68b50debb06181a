#pragma once
#include <cstdarg>
#include <string>

namespace quillon {

constexpr int kLabelBufferSize = 256; // 255 characters and the terminator

// printf-style formatting for DrawLabel, cut at 255 characters. Bytes outside the
// glyph range 32..127 become '?': glListBase + such a byte would name a list that is
// not a glyph (the half-axes, a shape, the probe marker). A null format gives "".
std::string FormatLabelText(const char* format, std::va_list args);

} // namespace quillon
