// Word-at-a-time search for a few byte values: the converter's texts are mostly long runs
// between the few characters it cares about (control characters, markup, line breaks).
#pragma once

#include <cstdint>
#include <cstring>

namespace quorvel {

namespace scan {
inline constexpr std::uint64_t kOnes = 0x0101010101010101ull;
inline constexpr std::uint64_t kHighs = 0x8080808080808080ull;

// Nonzero when some byte of `w` equals `b`.
constexpr std::uint64_t bytesEqual(std::uint64_t w, unsigned char b)
{
    const std::uint64_t v = w ^ (kOnes * b);
    return (v - kOnes) & ~v & kHighs;
}
} // namespace scan

// The first byte in [p, end) that is one of `Bytes`, or end.
template <unsigned char... Bytes>
const char *findFirstOf(const char *p, const char *end)
{
    while (end - p >= 8) {
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        if ((scan::bytesEqual(w, Bytes) | ...) != 0)
            break;
        p += 8;
    }
    while (p < end && ((*p != static_cast<char>(Bytes)) && ...))
        ++p;
    return p;
}

} // namespace quorvel
