// One fuzzing step, shared by the libFuzzer target and the corpus replay test: any bytes
// must either convert or fail with the converter's own message, without reading outside
// the input.
#pragma once

#include "quorvel_clean.h"
#include "quorvel_library.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel_fuzz {

// Whether `html` is what the clean mode promises: valid UTF-8 without control characters,
// every element closed in the order it was opened, and "&" and "<" only as markup.
inline bool wellFormedHtml(std::string_view html)
{
    std::vector<std::string_view> open;
    std::size_t k = 0;
    while (k < html.size()) {
        const auto c = static_cast<unsigned char>(html[k]);
        if (c == '<') {
            const std::size_t end = html.find('>', k);
            if (end == std::string_view::npos)
                return false;
            std::string_view tag = html.substr(k + 1, end - k - 1);
            k = end + 1;
            if (tag.starts_with("!DOCTYPE"))
                continue;
            const bool closing = tag.starts_with("/");
            if (closing)
                tag.remove_prefix(1);
            const std::string_view name = tag.substr(0, tag.find(' '));
            if (name.empty() || tag.find('<') != std::string_view::npos)
                return false;
            if (name == "br" || name == "img" || name == "hr" || name == "meta")
                continue;
            if (!closing) {
                open.push_back(name);
            } else if (open.empty() || open.back() != name) {
                return false;
            } else {
                open.pop_back();
            }
            continue;
        }
        if (c == '&') {
            const std::string_view rest = html.substr(k);
            if (!rest.starts_with("&amp;") && !rest.starts_with("&lt;") && !rest.starts_with("&gt;")
                && !rest.starts_with("&quot;"))
                return false;
            ++k;
            continue;
        }
        if (c == '>' || (c < 0x20 && c != '\n' && c != '\t' && c != '\r') || c == 0x7F)
            return false;
        if (c < 0x80) {
            ++k;
            continue;
        }
        // One UTF-8 sequence: its length, its continuation bytes, no surrogate, no overlong.
        const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
        if (length == 0 || c > 0xF4 || k + length > html.size())
            return false;
        std::uint32_t cp = c & (0x7F >> length);
        for (std::size_t j = 1; j < length; ++j) {
            const auto b = static_cast<unsigned char>(html[k + j]);
            if ((b & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (b & 0x3F);
        }
        const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < least[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)
            || (cp >= 0x80 && cp <= 0x9F))
            return false;
        k += length;
    }
    return open.empty();
}

// The clean mode over the same bytes, with the options the flag byte selects.
inline void fuzzClean(std::uint8_t flags, std::string_view text)
{
    quorvel::TCleanOptions options;
    options.wholePage = (flags & 1) != 0;
    options.keepStyles = (flags & 2) != 0;
    options.pictures = (flags & 4) != 0;
    options.title = (flags & 8) ? "T\xc3\xa9<&" : "";
    std::size_t steps = 0;
    try {
        const quorvel::TCleanResult result = quorvel::convertClean(
            text, options, {[](void *s) { ++*static_cast<std::size_t *>(s); }, &steps});
        if (!wellFormedHtml(result.html) || steps > text.size() + 1)
            std::abort();
        // The page as the file gets it, made in place, is the line form of the page.
        std::string lines = result.html;
        quorvel::asLinesInPlace(lines);
        if (lines != quorvel::textAsLines(result.html))
            std::abort();
        for (const quorvel::TCleanPicture &picture : result.pictures) {
            if (picture.bytes.empty() || result.html.find(picture.fileName) == std::string::npos)
                std::abort();
        }
    } catch (const quorvel::EQuorvelError &e) {
        if (std::string_view(e.what()) != quorvel::kHeaderMissing)
            std::abort();
    }
}

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
    fuzzClean(flags, text);
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
