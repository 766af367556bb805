// One fuzzing step, shared by the libFuzzer target and the corpus replay test: any bytes
// must either convert or fail with the converter's own message, without reading outside
// the input.
#pragma once

#include "quorvel_library.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace quorvel_fuzz {

inline void FuzzOne(const std::uint8_t *data, std::size_t size)
{
    // The first byte is the library's flag word, the second switches on replacement pairs
    // and gives the default font size; the rest is the RTF text.
    if (size < 2)
        return;
    const std::uint8_t flags = data[0];
    const std::uint8_t extra = data[1];
    const std::string_view text(reinterpret_cast<const char *>(data) + 2, size - 2);

    quorvel::TQuorvel converter;
    quorvel::TConversionRequest request;
    request.Flags = flags;
    request.Title = "T\xe9<";
    request.Headtags = "<meta a>\n<meta b>";
    request.BodyOptions = "bgcolor=white";
    request.FontName = "Arial";
    request.FontSize = static_cast<std::int8_t>(extra);
    quorvel::Configure(converter, request);
    if (extra & 1) {
        quorvel::TQuorvelOptions options = converter.Options();
        options.Include(quorvel::TQuorvelOption::soReplaceStrings);
        converter.SetOptions(options);
        converter.SetReplaceStrings({"<BR>=<br>", "B>=b>", "x", "=y"});
    }
    std::size_t steps = 0;
    converter.SetMessagePump({[](void *s) { ++*static_cast<std::size_t *>(s); }, &steps});

    // Both the raw bytes and the text as the library reads it from a file; reading it in
    // two blocks split anywhere must give the same text.
    const std::string asRead = quorvel::TextAsLines(text);
    std::string inBlocks;
    quorvel::TLinesBuilder builder(inBlocks);
    const std::size_t split = text.empty() ? 0 : extra % (text.size() + 1);
    builder.Add(text.substr(0, split));
    builder.Add(text.substr(split));
    builder.Finish();
    if (inBlocks != asRead)
        std::abort();
    for (std::string_view input : {text, std::string_view(asRead)}) {
        steps = 0;
        try {
            const std::string html = converter.ConvertText(input);
            if (html.size() < 2 || (input.size() > 2 && steps > input.size() - 2))
                std::abort();
            const std::string lines = quorvel::TextAsLines(html);
            if (!quorvel::IsCrLfLines(lines))
                std::abort();
        } catch (const quorvel::EQuorvelError &e) {
            if (std::string_view(e.what()).substr(0, 9) != "Quorvel: ")
                std::abort();
        }
    }
}

} // namespace quorvel_fuzz
