#pragma once
// The named colours the colour dialog offers, in the order its list shows them: roughly from
// dark to light, not alphabetical. The names are upper case, as the markup writes them.
#include <span>

namespace pw {

std::span<const char *const> colourNames();

} // namespace pw
