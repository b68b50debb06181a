#include <string>

#include <gtest/gtest.h>

#include "view3d/LabelText.h"

using namespace quillon;

namespace {

std::string Format(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::string text = FormatLabelText(format, args);
    va_end(args);
    return text;
}

} // namespace

TEST(LabelText, FormatsAndKeepsToTheGlyphRange)
{
    EXPECT_EQ(Format(nullptr), "");
    EXPECT_EQ(Format("%s", "L100"), "L100");
    EXPECT_EQ(Format("L%d", 0), "L0");
    EXPECT_EQ(Format("%s", "a\x1f" "b\x7f"), "a?b\x7f"); // 31 -> '?', 127 is a glyph
    EXPECT_EQ(Format("%s", "\xc3\xa9"), "??");
    const std::string longText(300, 'x');
    EXPECT_EQ(Format("%s", longText.c_str()), std::string(255, 'x'));
}
