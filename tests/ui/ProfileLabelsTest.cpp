#include <cstdint>
#include <ios>

#include <gtest/gtest.h>

#include "profiles/ProfileRecord.h"
#include "ui/ProfileLabels.h"

namespace quillon {
namespace {

TEST(ProfileLabels, ClassAndColourSpaceLabels)
{
    struct Case {
        std::uint32_t signature;
        int classLabel;
        int spaceLabel;
    };
    const Case cases[] = {
        {sig::Display, 1017, 1020}, {sig::Input, 1018, 1020},      {sig::Output, 1019, 1020},
        {sig::Link, 1020, 1020},    {sig::Rgb, 1020, 1021},        {sig::Cmyk, 1020, 1022},
        {sig::SixColour, 1020, 1023}, {sig::Gray, 1020, 1020},     {0, 1020, 1020},
        {sig::NamedColourClass, 1020, 1020},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClassLabel(c.signature), c.classLabel) << std::hex << c.signature;
        EXPECT_EQ(ColourSpaceLabel(c.signature), c.spaceLabel) << std::hex << c.signature;
    }
}

} // namespace
} // namespace quillon
