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
struct TFileIdentity {
    bool known = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
};

// The source file as the converter reads it: whole, up to the first NUL, as CR LF lines.
// Only a regular file is read (a pipe or device could block forever or never end);
// `identity` (when given) receives the file's identity.
std::string readSourceText(const std::string &path, TFileIdentity *identity = nullptr);

// Writes `document` as CR LF lines to `path`, under the same rules as every write of the
// editor: every step checked and the bytes on the disk before success; on failure the old
// file is left as it was and no temporary file stays. A regular file with one link whose
// owner, group, mode and extended attributes a new file can take is replaced by renaming
// a new file over it; any other regular file is written in place, its old bytes written back
// if that fails. A symbolic link is written through (a dangling one creates its target).
// Refused: an empty path, anything that is not a regular file, a file whose owner may not
// write it (for every user, the superuser included), and the file `source` itself under
// another name. Throws EQuorvelError with the reason.
void writeDocument(const std::string &path, std::string_view document,
                   const TFileIdentity &source = {});

// Reads `source`, converts it with `converter` and only then creates or replaces `target`:
// what QuorvelConvertFile does once the converter is set up. Throws EQuorvelError.
void convertFile(TQuorvel &converter, const std::string &source, const std::string &target);

// Writes `document` as CR LF lines to an open file; false when writing fails.
bool writeLines(std::FILE *file, std::string_view document);

} // namespace quorvel
