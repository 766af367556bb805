// Settings of the quorvel converter and the pieces the document assembly is made of:
// the option set, line lists and the replacement step.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// The nine switches. A member's bit in the 16-bit set is 1 shifted left by its ordinal.
enum class TQuorvelOption : std::uint16_t {
    soUseColors = 0,
    soUseDefaultFont = 1,
    soUseTitle = 2,
    soWrapHTML = 3,
    soOptimize = 4,
    soReplaceStrings = 5,
    soProcessFontFace = 6,
    soProcessFontSize = 7,
    soMoreCompatible = 8,
};

class TQuorvelOptions {
public:
    constexpr TQuorvelOptions() = default;
    constexpr TQuorvelOptions(std::initializer_list<TQuorvelOption> members)
    {
        for (TQuorvelOption m : members)
            include(m);
    }
    static constexpr TQuorvelOptions fromBits(std::uint16_t bits)
    {
        TQuorvelOptions o;
        o.bits_ = bits;
        return o;
    }

    constexpr bool has(TQuorvelOption m) const { return (bits_ & bit(m)) != 0; }
    constexpr void include(TQuorvelOption m) { bits_ = static_cast<std::uint16_t>(bits_ | bit(m)); }
    constexpr void exclude(TQuorvelOption m)
    {
        bits_ = static_cast<std::uint16_t>(bits_ & ~bit(m));
    }
    constexpr std::uint16_t bits() const { return bits_; }
    constexpr bool empty() const { return bits_ == 0; }
    friend constexpr bool operator==(TQuorvelOptions, TQuorvelOptions) = default;

private:
    static constexpr std::uint16_t bit(TQuorvelOption m)
    {
        return static_cast<std::uint16_t>(1u << static_cast<unsigned>(m));
    }
    std::uint16_t bits_ = 0;
};

// An ordered list of lines. Its text form is every line followed by CR LF; reading a text
// breaks it at CR, LF or CR LF and ends at the first NUL, as files are read.
class TLineList {
public:
    TLineList() = default;
    TLineList(std::initializer_list<std::string> lines) : lines_(lines) {}
    static TLineList fromText(std::string_view text);

    std::size_t count() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }
    const std::string &operator[](std::size_t i) const { return lines_[i]; }
    const std::vector<std::string> &Lines() const { return lines_; }
    void add(std::string line) { lines_.push_back(std::move(line)); }
    void clear() { lines_.clear(); }

    std::string text() const;
    void setText(std::string_view text);

    // "name=value" lines: the name is the text before the first "=" (empty when there is
    // none); the value of a name comes from the first line whose name matches it without
    // regard to letter case, and is empty when no line does.
    static std::string_view nameOf(std::string_view line);
    std::string value(std::string_view name) const;

    friend bool operator==(const TLineList &, const TLineList &) = default;

private:
    std::vector<std::string> lines_;
};

// Builds the text form of the lines of a text (see TLineList) from consecutive pieces of
// it: every break becomes CR LF, a text that does not end in a break gains one, and a NUL
// ends the text. Files are read and written through it a block at a time.
class TLinesBuilder {
public:
    explicit TLinesBuilder(std::string &out) : out_(out) {}
    void add(std::string_view piece);
    void finish();

private:
    std::string &out_;
    bool pendingCR_ = false; // the last piece ended in CR: a leading LF belongs to it
    bool lineOpen_ = false;  // text since the last break
    bool stopped_ = false;   // a NUL was met
};

std::string textAsLines(std::string_view text);

// Reserves room for `size` bytes in `text`. Room of many megabytes is asked of the system in
// large pages where it offers them: a file of 20 MB would otherwise take some 5,000 page
// faults to read and as many to write, more than the conversion itself.
void reserveLarge(std::string &text, std::size_t size);

// Makes `text` its own text form (see isCrLfLines) without a second buffer when its breaks
// are LF alone: the string grows once and the lines move back in place.
void asLinesInPlace(std::string &text);

// Whether `text` already is its own text form: CR LF breaks only, a final one, no NUL.
bool isCrLfLines(std::string_view text);

// The most text a conversion builds. A few words can repeat a long font name or colour,
// or a replacement can feed on itself, until memory runs out; the conversion fails first,
// so the host is never starved of memory by one document.
inline constexpr std::size_t kDefaultSizeLimit = std::size_t{1} << 30;
inline constexpr std::string_view kTooLarge =
    "Quorvel: the converted document is too large. Conversion aborted.";

// Replaces `name` by `value` until no occurrence is left, so text formed by an insertion
// together with its neighbours is replaced again. Throws EQuorvelError when `value`
// contains `name`, since that replacement would never end, and when the text grows beyond
// `limit` bytes. An empty name changes nothing.
std::string replaceAll(std::string_view text, std::string_view name, std::string_view value,
                       std::size_t limit = kDefaultSizeLimit);

// Published settings with the initial values of a converter created in the ordinary way.
struct TQuorvelSettings {
    TLineList bodyOptions;
    std::string defaultFontName;
    std::int32_t defaultFontSize = 0;
    std::string metaAuthor;
    std::string metaContentType;
    std::string metaDescription;
    std::string metaGenerator;
    std::string metaKeywords;
    TQuorvelOptions options;
    TLineList replaceStrings;
    std::string title;
    TLineList headtags;

    // The values a converter starts with when it is placed on a form in a designer.
    static TQuorvelSettings forDesign();
};

// The number is kept in the top CMakeLists.txt (QUORVEL_VERSION), beside the library's soname.
#ifndef QUORVEL_VERSION_TEXT
#error "QUORVEL_VERSION_TEXT is defined by the build"
#endif
inline constexpr std::string_view kQuorvelVersion = "Quorvel " QUORVEL_VERSION_TEXT;

} // namespace quorvel
