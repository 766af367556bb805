#include "shared/colour.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(rgbPart, TakesOneByteOfATwentyFourBitColour)
{
    const std::int32_t colour = 0x123456;
    EXPECT_EQ(pw::rgbPart(colour, 1), 0x56);
    EXPECT_EQ(pw::rgbPart(colour, 2), 0x34);
    EXPECT_EQ(pw::rgbPart(colour, 3), 0x12);
    EXPECT_EQ(pw::rgbPart(colour, 4), -1);
    EXPECT_EQ(pw::rgbPart(colour, 0), -1);
    EXPECT_EQ(pw::rgbPart(1 << 24, 1), -1);
    EXPECT_EQ(pw::rgbPart(-1, 1), -1);
    EXPECT_EQ(pw::rgbPart(0xFFFFFF, 3), 0xFF);
    EXPECT_EQ(pw::rgbPart(0, 2), 0);
}

} // namespace
