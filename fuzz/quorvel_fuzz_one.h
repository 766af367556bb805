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

inline void fuzzOne(const std::uint8_t *data, std::size_t size)
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
    request.flags = flags;
    request.title = "T\xe9<";
    request.headtags = "<meta a>\n<meta b>";
    request.bodyOptions = "bgcolor=white";
    request.fontName = "Arial";
    request.fontSize = static_cast<std::int8_t>(extra);
    quorvel::configure(converter, request);
    if (extra & 1) {
        quorvel::TQuorvelOptions options = converter.options();
        options.include(quorvel::TQuorvelOption::soReplaceStrings);
        converter.setOptions(options);
        converter.setReplaceStrings({"<BR>=<br>", "B>=b>", "x", "=y"});
    }
    std::size_t steps = 0;
    converter.setMessagePump({[](void *s) { ++*static_cast<std::size_t *>(s); }, &steps});

    // Both the raw bytes and the text as the library reads it from a file; reading it in
    // two blocks split anywhere must give the same text.
    const std::string asRead = quorvel::textAsLines(text);
    std::string inBlocks;
    quorvel::TLinesBuilder builder(inBlocks);
    const std::size_t split = text.empty() ? 0 : extra % (text.size() + 1);
    builder.add(text.substr(0, split));
    builder.add(text.substr(split));
    builder.finish();
    if (inBlocks != asRead)
        std::abort();
    for (std::string_view input : {text, std::string_view(asRead)}) {
        steps = 0;
        try {
            const std::string html = converter.convertText(input);
            if (html.size() < 2 || (input.size() > 2 && steps > input.size() - 2))
                std::abort();
            const std::string lines = quorvel::textAsLines(html);
            if (!quorvel::isCrLfLines(lines))
                std::abort();
        } catch (const quorvel::EQuorvelError &e) {
            if (std::string_view(e.what()).substr(0, 9) != "Quorvel: ")
                std::abort();
        }
    }
}

} // namespace quorvel_fuzz
