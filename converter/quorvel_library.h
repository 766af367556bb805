// What the exported functions and the quorvel command share: the export flag word, the
// conversion request, and reading and writing the files (the engine itself only turns text
// into text).
#pragma once

#include "quorvel.h"
#include "quorvel_engine.h"
#include "safe_write/safe_write.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace quorvel {

inline constexpr std::string_view kNoTarget =
    "Quorvel: no target file was given. Conversion aborted.";

// Only the low 8 bits of the export flag word are read; each adds one option.
TQuorvelOptions optionsFromExportFlags(std::uint32_t flags);

// QuorvelConvertOnly's flag word (143).
inline constexpr std::uint32_t kConvertOnlyFlags = QUORVEL_FONT_SIZE | QUORVEL_FONT_FACE
                                                   | QUORVEL_COLORS | QUORVEL_OPTIMIZE
                                                   | QUORVEL_MORE_COMPATIBLE;

struct TConversionRequest {
    std::uint32_t flags = 0;
    std::string title;
    std::string headtags;    // lines, broken at CR, LF or CR LF
    std::string bodyOptions; // lines, broken at CR, LF or CR LF
    std::string fontName;
    std::int32_t fontSize = 0;
};

// Sets `converter` up as the library's entry points do.
void configure(TQuorvel &converter, const TConversionRequest &request);

// Which file a name stands for, so that two names of one file can be told.
using TFileIdentity = safe_write::FileIdentity;

// The source file as the converter reads it: whole, up to the first NUL, as CR LF lines.
// Only a regular file is read (a pipe or device could block forever or never end);
// `identity` (when given) receives the file's identity.
std::string readSourceText(const std::string &path, TFileIdentity *identity = nullptr);

// Writes `document` as CR LF lines to `path` through the checked write every write of the
// editor goes through (safe_write/safe_write.h): on failure the old file is left as it was
// and no temporary file stays. Refused besides what that write refuses: the file `source`
// itself under another name. Throws EQuorvelError with the reason.
void writeDocument(const std::string &path, std::string_view document,
                   const TFileIdentity &source = {});

// The converter's message for a failed write of `path`.
std::string writeFailureMessage(const std::string &path, const safe_write::Result &result);

// Reads `source`, converts it with `converter` and only then creates or replaces `target`:
// what QuorvelConvertFile does once the converter is set up. Throws EQuorvelError.
void convertFile(TQuorvel &converter, const std::string &source, const std::string &target);

// Writes `document` as CR LF lines to an open file; false when writing fails.
bool writeLines(std::FILE *file, std::string_view document);

} // namespace quorvel
