#pragma once
// Colours are 24-bit values with red in the low byte, green in the middle, blue on top.
#include <cstdint>

namespace pw {

// Part 1, 2, 3: red, green, blue (bits 0-7, 8-15, 16-23). -1 for any other part number and
// for a colour outside 0..0xFFFFFF.
int RGBPart(std::int32_t colour, int part);

} // namespace pw
