#include "shared/colour.h"

namespace pw {

int rgbPart(std::int32_t colour, int part)
{
    if (colour < 0 || colour > 0xFFFFFF || part < 1 || part > 3)
        return -1;
    return (colour >> (8 * (part - 1))) & 0xFF;
}

} // namespace pw
