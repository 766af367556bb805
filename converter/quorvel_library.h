// What the exported functions and the quorvel command share: the export flag word, the
// conversion request, and reading and writing the files.
#pragma once

#include "quorvel.h"
#include "quorvel_engine.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace quorvel {

// Only the low 8 bits of the export flag word are read; each adds one option.
TQuorvelOptions OptionsFromExportFlags(std::uint32_t flags);

// QuorvelConvertOnly's flag word (143).
inline constexpr std::uint32_t kConvertOnlyFlags = QUORVEL_FONT_SIZE | QUORVEL_FONT_FACE |
                                                   QUORVEL_COLORS | QUORVEL_OPTIMIZE |
                                                   QUORVEL_MORE_COMPATIBLE;

struct TConversionRequest {
    std::uint32_t Flags = 0;
    std::string Title;
    std::string Headtags;    // lines, broken at CR, LF or CR LF
    std::string BodyOptions; // lines, broken at CR, LF or CR LF
    std::string FontName;
    std::int32_t FontSize = 0;
};

// Sets `converter` up as the library's entry points do.
void Configure(TQuorvel &converter, const TConversionRequest &request);

// The source file as the converter reads it: whole, up to the first NUL, as CR LF lines.
std::string ReadSourceText(const std::string &path);

// Writes `document` as CR LF lines to `path`. The text goes to a new file beside the
// target first, so a failed write leaves an existing target as it was.
void WriteDocument(const std::string &path, std::string_view document);

// Writes `document` as CR LF lines to an open file; false when writing fails.
bool WriteLines(std::FILE *file, std::string_view document);

} // namespace quorvel
