#pragma once
// Colours are 24-bit values with red in the low byte, green in the middle, blue on top.
#include <cstdint>

namespace pw {

// The red, green or blue byte for `part` 1, 2 or 3 (bits 0-7, 8-15, 16-23). -1 for any
// other number and for a colour outside 0..0xFFFFFF.
int rgbPart(std::int32_t colour, int part);

} // namespace pw
