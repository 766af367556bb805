#include "quorvel_document.h"
#include "quorvel_engine.h"
#include "quorvel_scan.h"

#include <algorithm>
#include <cstring>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace quorvel {
namespace {

using enum TQuorvelOption;

constexpr std::string_view kCRLF = "\r\n";

// Letter case is ignored for ASCII and for the Latin-1 letters of the 8-bit texts.
unsigned char foldCase(unsigned char c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<unsigned char>(c + 32);
    return c;
}

bool sameTextIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return foldCase(static_cast<unsigned char>(x))
                      == foldCase(static_cast<unsigned char>(y));
           });
}

} // namespace

// --- Line lists -------------------------------------------------------------------------

TLineList TLineList::fromText(std::string_view text)
{
    TLineList list;
    list.setText(text);
    return list;
}

void TLineList::setText(std::string_view text)
{
    lines_.clear();
    if (auto nul = text.find('\0'); nul != std::string_view::npos)
        text = text.substr(0, nul);
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", i);
        if (end == std::string_view::npos) {
            lines_.emplace_back(text.substr(i));
            break;
        }
        lines_.emplace_back(text.substr(i, end - i));
        i = end + 1;
        // CR LF is one break; LF CR is two.
        if (text[end] == '\r' && i < text.size() && text[i] == '\n')
            ++i;
    }
}

std::string TLineList::text() const
{
    std::string text;
    for (const std::string &line : lines_) {
        text += line;
        text += kCRLF;
    }
    return text;
}

std::string_view TLineList::nameOf(std::string_view line)
{
    const std::size_t eq = line.find('=');
    return eq == std::string_view::npos ? std::string_view() : line.substr(0, eq);
}

std::string TLineList::value(std::string_view name) const
{
    for (const std::string &line : lines_) {
        const std::size_t eq = line.find('=');
        const std::string_view lineName =
            eq == std::string::npos ? std::string_view() : std::string_view(line).substr(0, eq);
        if (sameTextIgnoringCase(lineName, name))
            return eq == std::string::npos ? std::string() : line.substr(eq + 1);
    }
    return {};
}

namespace {

// The first NUL, CR or LF in [p, end), or end. Line breaks are rare compared with text, and
// the converted files can be large.
const char *nextBreakOrNul(const char *p, const char *end)
{
    return findFirstOf<'\0', '\r', '\n'>(p, end);
}

} // namespace

bool isCrLfLines(std::string_view text)
{
    const char *p = text.data();
    const char *const end = p + text.size();
    while (p < end) {
        p = nextBreakOrNul(p, end);
        if (p == end)
            return false; // the last line has no break
        if (*p != '\r' || p + 1 == end || p[1] != '\n')
            return false;
        p += 2;
    }
    return true;
}

void TLinesBuilder::add(std::string_view piece)
{
    const char *p = piece.data();
    const char *const end = p + piece.size();
    if (stopped_ || p == end)
        return;
    if (pendingCR_ && *p == '\n')
        ++p;
    pendingCR_ = false;
    while (p < end) {
        const char *brk = nextBreakOrNul(p, end);
        if (brk != p) {
            out_.append(p, static_cast<std::size_t>(brk - p));
            lineOpen_ = true;
        }
        if (brk == end)
            return;
        if (*brk == '\0') {
            stopped_ = true;
            return;
        }
        out_ += kCRLF;
        lineOpen_ = false;
        p = brk + 1;
        if (*brk == '\r') {
            if (p == end)
                pendingCR_ = true;
            else if (*p == '\n')
                ++p;
        }
    }
}

void TLinesBuilder::finish()
{
    if (lineOpen_)
        out_ += kCRLF;
    lineOpen_ = false;
    stopped_ = true;
}

std::string textAsLines(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 2);
    TLinesBuilder lines(out);
    lines.add(text);
    lines.finish();
    return out;
}

void reserveLarge(std::string &text, std::size_t size)
{
    text.reserve(size);
#if defined(__linux__)
    constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
    const auto begin = reinterpret_cast<std::uintptr_t>(text.data());
    const std::uintptr_t first = (begin + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t last = (begin + text.capacity()) & ~(kLargePage - 1);
    // Only advice: where large pages are not offered, the room stays as it is.
    if (last > first)
        ::madvise(reinterpret_cast<void *>(first), last - first, MADV_HUGEPAGE);
#endif
}

void asLinesInPlace(std::string &text)
{
    std::size_t breaks = 0;
    const char *const end = text.data() + text.size();
    for (const char *p = text.data(); (p = findFirstOf<'\0', '\r', '\n'>(p, end)) != end; ++p) {
        if (*p != '\n') {
            text = textAsLines(text);
            return;
        }
        ++breaks;
    }
    const bool openEnd = !text.empty() && text.back() != '\n';
    std::size_t from = text.size(); // the unmoved text is text[0, from)
    text.resize(text.size() + breaks + (openEnd ? 2 : 0));
    std::size_t to = text.size(); // the moved text is text[to, size)
    if (openEnd) {
        text[--to] = '\n';
        text[--to] = '\r';
    }
    char *data = text.data();
    while (from > 0) {
        const std::size_t lf = std::string_view(data, from).rfind('\n');
        const std::size_t start = lf == std::string_view::npos ? 0 : lf + 1;
        const std::size_t length = from - start;
        to -= length;
        std::memmove(data + to, data + start, length);
        if (lf == std::string_view::npos)
            break;
        data[--to] = '\n';
        data[--to] = '\r';
        from = lf;
    }
}

// --- Replacement ------------------------------------------------------------------------

std::string replaceAll(std::string_view text, std::string_view name, std::string_view value,
                       std::size_t limit)
{
    if (name.empty())
        return std::string(text);
    if (value.find(name) != std::string_view::npos)
        throw EQuorvelError("Quorvel: recursive string replace");

    // Replacing one occurrence at a time and searching again from the start would be
    // quadratic. Text before the first occurrence holds no match, so after a replacement
    // at position p a new match can only start at p - |name| + 1 or later: the search
    // resumes there. `out` holds the text up to the unread rest of `text`; only its short
    // tail after `rescanFrom` is ever searched again.
    std::string out;
    out.reserve(text.size());
    std::size_t in = 0;         // start of the unread rest of `text`
    std::size_t rescanFrom = 0; // first position in `out` where a match may still start
    const std::size_t keep = name.size() - 1;

    auto matchesAt = [&](std::size_t s) {
        // Compares `name` with out[s..] followed by text[in..].
        const std::size_t fromOut = std::min(out.size() - s, name.size());
        if (out.compare(s, fromOut, name.substr(0, fromOut)) != 0)
            return false;
        const std::size_t fromText = name.size() - fromOut;
        return text.size() - in >= fromText
               && text.compare(in, fromText, name.substr(fromOut)) == 0;
    };

    for (;;) {
        bool replaced = false;
        for (std::size_t s = rescanFrom; s < out.size(); ++s) {
            if (!matchesAt(s))
                continue;
            const std::size_t fromOut = std::min(out.size() - s, name.size());
            out.replace(s, fromOut, value);
            in += name.size() - fromOut;
            if (out.size() > limit)
                throw EQuorvelError(std::string(kTooLarge));
            rescanFrom = s > keep ? s - keep : 0;
            replaced = true;
            break;
        }
        if (replaced)
            continue;
        const std::size_t hit = text.find(name, in);
        if (hit == std::string_view::npos) {
            out.append(text.substr(in));
            return out;
        }
        out.append(text.substr(in, hit - in));
        const std::size_t s = out.size();
        out.append(value);
        in = hit + name.size();
        if (out.size() > limit)
            throw EQuorvelError(std::string(kTooLarge));
        rescanFrom = s > keep ? s - keep : 0;
    }
}

// --- Settings ---------------------------------------------------------------------------

TQuorvelSettings TQuorvelSettings::forDesign()
{
    TQuorvelSettings s;
    s.options = {soProcessFontFace, soProcessFontSize};
    s.defaultFontName = "Arial,Helvetica";
    s.defaultFontSize = 10;
    s.metaContentType = "text/html;CHARSET=iso8859-1";
    return s;
}

} // namespace quorvel
