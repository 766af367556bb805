#include "quorvel_clean.h"

#include "quorvel_library.h"
#include "quorvel_scan.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <unordered_map>
#include <utility>

namespace quorvel {
namespace {

// ---------------------------------------------------------------------------------------
// Code pages

struct CodePage {
    int number;
    std::array<std::uint16_t, 128> upper;
};

constexpr CodePage kCodePages[] = {
#include "quorvel_code_pages.inc"
};

const CodePage *findCodePage(int number)
{
    for (const CodePage &page : kCodePages) {
        if (page.number == number)
            return &page;
    }
    return nullptr;
}

// The code page a font's \fcharset stands for; 0 for none of ours (double-byte Asian sets,
// the Symbol font), whose bytes cannot be read one by one.
int charsetCodePage(int charset, int documentPage)
{
    switch (charset) {
    case 0:
    case 1:
        return documentPage;
    case 77:
        return 10000;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    default:
        return 0;
    }
}

// ---------------------------------------------------------------------------------------
// Output text

void appendUtf8(std::string &out, std::uint32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Characters an HTML5 parser reports as errors (controls, surrogates, noncharacters) are
// left out: they carry no text a reader could see.
bool writableCodePoint(std::uint32_t c)
{
    if (c == '\t' || c == '\n')
        return true;
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F))
        return false;
    if (c >= 0xD800 && c <= 0xDFFF)
        return false;
    if ((c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE)
        return false;
    return c <= 0x10FFFF;
}

void appendEscaped(std::string &out, std::string_view text, bool attribute = false)
{
    for (char ch : text) {
        switch (ch) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += attribute ? "&quot;" : "\"";
            break;
        default:
            out += ch;
        }
    }
}

// ---------------------------------------------------------------------------------------
// Formatting

struct CharFormat {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    std::int8_t vertical = 0; // 1 superscript, -1 subscript
    std::int32_t font = -1;
    std::int32_t halfPoints = 0;
    std::int32_t color = 0;
    std::int32_t link = -1; // index into the reader's links
};

struct ParaFormat {
    std::uint8_t align = 0; // 0 left, 1 centre, 2 right, 3 justified
    std::int8_t outline = -1;
    std::int32_t style = 0;
    std::int32_t list = 0; // \ls
    std::int32_t level = 0;
    std::uint8_t numbering = 0; // from an old-style \pn group: 1 bullets, 2 numbers
    bool inTable = false;
};

enum class Dest : std::uint8_t {
    Text,
    FontTable,
    ColorTable,
    StyleSheet,
    Title,
    FieldInstruction,
    ListMarker,
    Picture,
    Ignore, // a group whose text is dropped but whose inner groups are still read
};

struct Group {
    CharFormat chars;
    ParaFormat para;
    Dest dest = Dest::Text;
    std::uint8_t unicodeSkip = 1;
    std::int32_t field = -1;
    bool endsNote = false;
    bool endsPicture = false;
    bool endsNumbering = false; // an old-style \pn group: its numbering is the paragraph's
    bool document = false;      // the group that \rtf opened
};

// One open inline element: which kind and, for links and styles, which value.
struct Inline {
    char kind; // 'a' link, 'b', 'i', 'u', 's', '^' sup, '_' sub, 'y' style
    std::int64_t value = 0;
    bool operator==(const Inline &) const = default;
};

// Whether `text` holds nothing but ASCII blanks (or nothing at all).
bool blank(std::string_view text)
{
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// ---------------------------------------------------------------------------------------
// The writer of one flow of blocks (the body, or one note)

class Flow {
public:
    std::string out;

    bool paragraphEmpty() const { return !hasText_; }

    // Puts the inline elements of `wanted` in place before text is added.
    void setInlines(const std::array<Inline, 8> &wanted, std::size_t count,
                    const std::vector<std::string> &links, const std::vector<std::string> &styles)
    {
        std::size_t same = 0;
        while (same < open_.size() && same < count && open_[same] == wanted[same])
            ++same;
        closeInlines(same);
        for (std::size_t k = same; k < count; ++k) {
            const Inline &e = wanted[k];
            const std::size_t tagStart = para_.size();
            switch (e.kind) {
            case 'a':
                para_ += "<a href=\"";
                appendEscaped(para_, links[static_cast<std::size_t>(e.value)], true);
                para_ += "\">";
                break;
            case '^':
                para_ += "<sup>";
                break;
            case '_':
                para_ += "<sub>";
                break;
            case 'y':
                para_ += "<span style=\"";
                appendEscaped(para_, styles[static_cast<std::size_t>(e.value)], true);
                para_ += "\">";
                break;
            default:
                para_ += '<';
                para_ += e.kind;
                para_ += '>';
            }
            open_.push_back(e);
            openAt_.push_back({tagStart, para_.size()});
        }
    }

    std::string &text()
    {
        hasText_ = true;
        return para_;
    }
    std::string &markup() { return para_; }
    bool insideLink() const
    {
        return std::any_of(open_.begin(), open_.end(),
                           [](const Inline &e) { return e.kind == 'a'; });
    }

    // Ends the paragraph under way with `format`; `ordered` tells a list item's kind.
    // Puts the paragraph's text after the page. A paragraph bigger than the page so far
    // takes the page in front of it instead, so that its megabytes are not copied again
    // into memory never touched before.
    void appendParagraphText()
    {
        if (para_.size() >= (std::size_t{1} << 20) && para_.size() > out.size()) {
            para_.insert(0, out);
            out.swap(para_);
        } else {
            out += para_;
        }
    }

    void endParagraph(const ParaFormat &format, bool listItem, bool ordered, int heading)
    {
        closeInlines(0);
        // The paragraph's buffer keeps its room for the next one.
        struct Clear {
            std::string &text;
            ~Clear() { text.clear(); }
        } clear{para_};
        const bool had = hasText_;
        hasText_ = false;
        if (format.inTable) {
            if (had) {
                if (!cell_.empty())
                    cell_ += "<br>";
                cell_ += para_;
            }
            return;
        }
        // A paragraph of blanks is an empty one.
        if (!had || blank(para_))
            return;
        closeTable();
        if (listItem) {
            openItem(std::clamp(format.level, 0, 8), ordered);
            appendParagraphText();
            return;
        }
        closeLists(0);
        if (heading > 0) {
            const char level = static_cast<char>('0' + heading);
            out += "<h";
            out += level;
            out += alignAttribute(format.align);
            out += '>';
            appendParagraphText();
            out += "</h";
            out += level;
            out += ">\n";
            return;
        }
        out += "<p";
        out += alignAttribute(format.align);
        out += '>';
        appendParagraphText();
        out += "</p>\n";
    }

    void endCell(const ParaFormat &format)
    {
        ParaFormat inCell = format;
        inCell.inTable = true;
        endParagraph(inCell, false, false, 0);
        row_ += "<td>";
        row_ += cell_;
        row_ += "</td>";
        cell_.clear();
        ++cells_;
    }

    void endRow()
    {
        if (!cell_.empty()) {
            row_ += "<td>" + cell_ + "</td>";
            cell_.clear();
            ++cells_;
        }
        if (cells_ == 0)
            return;
        if (!tableOpen_) {
            closeLists(0);
            out += "<table>\n";
            tableOpen_ = true;
        }
        out += "<tr>";
        out += row_;
        out += "</tr>\n";
        row_.clear();
        cells_ = 0;
    }

    void finish(const ParaFormat &format)
    {
        endParagraph(format, false, false, 0);
        endRow();
        closeTable();
        closeLists(0);
    }

private:
    static const char *alignAttribute(std::uint8_t align)
    {
        switch (align) {
        case 1:
            return " style=\"text-align:center\"";
        case 2:
            return " style=\"text-align:right\"";
        case 3:
            return " style=\"text-align:justify\"";
        default:
            return "";
        }
    }

    void closeInlines(std::size_t keep)
    {
        while (open_.size() > keep) {
            const Inline e = open_.back();
            const auto [tagStart, contentStart] = openAt_.back();
            open_.pop_back();
            openAt_.pop_back();
            // An element around blanks alone is no element to a reader (and an HTML checker
            // drops it): the blanks stay, the tags go.
            if (blank(std::string_view(para_).substr(contentStart))) {
                para_.erase(tagStart, contentStart - tagStart);
                continue;
            }
            switch (e.kind) {
            case 'a':
                para_ += "</a>";
                break;
            case '^':
                para_ += "</sup>";
                break;
            case '_':
                para_ += "</sub>";
                break;
            case 'y':
                para_ += "</span>";
                break;
            default:
                para_ += "</";
                para_ += e.kind;
                para_ += '>';
            }
        }
    }

    void closeTable()
    {
        if (!cell_.empty() || cells_ > 0)
            endRow();
        if (tableOpen_) {
            out += "</table>\n";
            tableOpen_ = false;
        }
    }

    // Lists are nested by level; each open level holds an open item.
    void openItem(int level, bool ordered)
    {
        const auto depth = static_cast<std::size_t>(level) + 1;
        closeLists(depth);
        if (lists_.size() == depth && lists_.back() != ordered)
            closeLists(depth - 1);
        if (lists_.size() == depth) {
            out += "</li>\n<li>";
            return;
        }
        while (lists_.size() < depth) {
            out += ordered ? "<ol>\n<li>" : "<ul>\n<li>";
            lists_.push_back(ordered);
        }
    }

    void closeLists(std::size_t keep)
    {
        while (lists_.size() > keep) {
            out += lists_.back() ? "</li>\n</ol>\n" : "</li>\n</ul>\n";
            lists_.pop_back();
        }
    }

    std::string para_;
    bool hasText_ = false;
    std::vector<Inline> open_;
    std::vector<std::pair<std::size_t, std::size_t>> openAt_; // per open_: its tag, its text
    std::vector<bool> lists_;
    std::string cell_;
    std::string row_;
    int cells_ = 0;
    bool tableOpen_ = false;
};

// ---------------------------------------------------------------------------------------
// Destinations

// Groups whose content is never text of the document; skipped whole, braces counted.
constexpr std::string_view kSkipped[] = {
    "aftncn",
    "aftnsep",
    "aftnsepc",
    "annotation",
    "atnauthor",
    "atndate",
    "atnicn",
    "atnid",
    "atnparent",
    "atnref",
    "atntime",
    "atrfend",
    "atrfstart",
    "author",
    "bkmkend",
    "bkmkstart",
    "blipuid",
    "buptim",
    "category",
    "colorschememapping",
    "comment",
    "company",
    "creatim",
    "datafield",
    "datastore",
    "defchp",
    "defpap",
    "do",
    "doccomm",
    "docvar",
    "dptxbxtext",
    "falt",
    "ffdeftext",
    "ffentrymcr",
    "ffexitmcr",
    "ffformat",
    "ffhelptext",
    "ffl",
    "ffname",
    "ffstattext",
    "filetbl",
    "fname",
    "footer",
    "footerf",
    "footerl",
    "footerr",
    "formfield",
    "ftncn",
    "ftnsep",
    "ftnsepc",
    "generator",
    "gridtbl",
    "header",
    "headerf",
    "headerl",
    "headerr",
    "hlinkbase",
    "keywords",
    "latentstyles",
    "lchars",
    "levelnumbers",
    "leveltext",
    "listoverridetable",
    "listpicture",
    "liststylename",
    "listtable",
    "manager",
    "mhtmltag",
    "mmathPr",
    "nesttableprops",
    "nextfile",
    "nonesttables",
    "nonshppict",
    "objclass",
    "objdata",
    "objname",
    "oldcprops",
    "oldpprops",
    "oldsprops",
    "oldtprops",
    "operator",
    "panose",
    "password",
    "passwordhash",
    "pgdsctbl",
    "pnseclvl",
    "pntxta",
    "pntxtb",
    "printim",
    "private",
    "protusertbl",
    "revtbl",
    "revtim",
    "rsidtbl",
    "rxe",
    "shpinst",
    "sp",
    "subject",
    "tc",
    "template",
    "themedata",
    "txe",
    "userprops",
    "wgrffmtfilter",
    "windowcaption",
    "writereservation",
    "writereservhash",
    "xe",
    "xform",
    "xmlattrname",
    "xmlattrvalue",
    "xmlclose",
    "xmlname",
    "xmlnstbl",
    "xmlopen",
};

// Kept in byte order, for the binary search.
static_assert(std::is_sorted(std::begin(kSkipped), std::end(kSkipped)));

bool isSkipped(std::string_view word)
{
    return std::binary_search(std::begin(kSkipped), std::end(kSkipped), word);
}

// Whether a list item's marker text counts ("1.", "a)", "iv.", "2") rather than marks
// ("\u2022", "o", "-", "\u00a7"): a digit, or letters closed by a full stop or a parenthesis.
bool markerIsNumber(std::string_view marker)
{
    while (!marker.empty() && (marker.back() == '\t' || marker.back() == ' '))
        marker.remove_suffix(1);
    while (!marker.empty() && (marker.front() == '\t' || marker.front() == ' '))
        marker.remove_prefix(1);
    bool letters = false;
    for (char ch : marker) {
        if (ch >= '0' && ch <= '9')
            return true;
        letters = letters || (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
    }
    return letters && (marker.ends_with('.') || marker.ends_with(')'));
}

// ---------------------------------------------------------------------------------------
// The reader

struct Font {
    std::int32_t number = 0;
    int codePage = -1; // -1: the document's
    std::string name;
};

class CleanReader {
public:
    CleanReader(std::string_view rtf, const TCleanOptions &options, TMessagePump pump)
        : rtf_(rtf), options_(options), pump_(pump)
    {
        flows_.emplace_back();
        // Text is most of a typical file and only grows by its markup: room for it all at
        // once, so the page is never copied on the way. Untouched room costs no memory.
        reserveLarge(flows_.back().out, rtf.size() + rtf.size() / 4 + 4096);
        groups_.emplace_back();
        styleHeadings_.assign(1, 0);
    }

    TCleanResult run();

private:
    // Input
    void tick(std::size_t bytes)
    {
        if (pump_.callback) {
            for (std::size_t k = 0; k < bytes; ++k)
                pump_.callback(pump_.context);
        }
    }
    void readControl();
    void controlWord(std::string_view word, bool hasParam, std::int32_t param);
    void skipGroup(); // the rest of the group just opened, to its closing brace
    void openGroup();
    void closeGroup();

    // Text
    Group &top() { return groups_.back(); }
    Flow &flow() { return flows_.back(); }
    void addCodePoint(std::uint32_t c);
    void addByte(unsigned char b);
    void addAscii(const char *begin, const char *end);
    // A paragraph that outgrows its room gets room for the rest of the input in one step:
    // doubling a paragraph of many megabytes would copy it again and again.
    void roomFor(std::string &text, std::size_t more) const
    {
        if (text.size() < (std::size_t{1} << 20))
            return;
        const std::size_t rest = rtf_.size() - std::min(at_, rtf_.size());
        if (text.capacity() - text.size() < more + rest)
            reserveLarge(text, text.size() + more + rest + rest / 4 + text.size() / 8);
    }
    void beforeText();
    void endParagraph();
    int headingOf(const ParaFormat &p) const;
    int codePageOfFont(std::int32_t font) const;

    // Destination groups
    void finishField(Group &g);
    void finishPicture();

    std::string_view rtf_;
    std::size_t at_ = 0;
    const TCleanOptions &options_;
    TMessagePump pump_;

    std::vector<Group> groups_;
    std::vector<Flow> flows_;
    std::vector<std::string> notes_;
    int noteCount_ = 0;
    int referenced_ = 0; // the last note whose mark in the body has its id

    int documentPage_ = 1252;
    std::vector<Font> fonts_;
    std::unordered_map<std::int32_t, std::size_t> fontIndex_; // number -> fonts_ entry
    std::unordered_map<std::string, std::size_t> styleIndex_; // CSS text -> styles_ entry
    std::int32_t fontEntry_ = -1;
    std::vector<std::int32_t> colors_; // 0xRRGGBB, -1 for "auto"
    std::int32_t red_ = 0, green_ = 0, blue_ = 0;
    bool colorGiven_ = false;
    std::vector<int> styleHeadings_; // per style number: heading level or 0
    std::int32_t styleEntry_ = 0;
    std::string styleName_;
    std::int8_t styleOutline_ = -1;
    std::string title_;

    std::vector<std::string> links_;
    std::vector<std::string> styles_; // CSS texts, by index
    struct Field {
        std::string instruction;
        std::int32_t link = -1;
    };
    std::vector<Field> fields_;

    // The paragraph's list marker: none, or whether it reads as a number.
    bool markerSeen_ = false;
    bool markerOrdered_ = false;
    std::string marker_;

    std::uint32_t highSurrogate_ = 0;
    int skipCount_ = 0;

    // Picture under way
    bool pictureWanted_ = false;
    std::string pictureKind_;
    std::string pictureBytes_;
    int pictureNibble_ = -1;
    std::vector<TCleanPicture> pictures_;
};

int CleanReader::codePageOfFont(std::int32_t font) const
{
    const auto found = fontIndex_.find(font);
    if (found == fontIndex_.end())
        return documentPage_;
    const Font &f = fonts_[found->second];
    return f.codePage < 0 ? documentPage_ : f.codePage;
}

int CleanReader::headingOf(const ParaFormat &p) const
{
    if (p.outline >= 0 && p.outline <= 5)
        return p.outline + 1;
    if (p.style > 0 && static_cast<std::size_t>(p.style) < styleHeadings_.size())
        return styleHeadings_[static_cast<std::size_t>(p.style)];
    return 0;
}

void CleanReader::beforeText()
{
    const CharFormat &c = top().chars;
    std::array<Inline, 8> wanted{};
    std::size_t n = 0;
    if (c.link >= 0)
        wanted[n++] = {'a', c.link};
    if (c.bold)
        wanted[n++] = {'b'};
    if (c.italic)
        wanted[n++] = {'i'};
    if (c.underline && c.link < 0)
        wanted[n++] = {'u'};
    if (c.strike)
        wanted[n++] = {'s'};
    if (c.vertical > 0)
        wanted[n++] = {'^'};
    else if (c.vertical < 0)
        wanted[n++] = {'_'};
    if (options_.keepStyles) {
        std::string css;
        if (c.color > 0 && static_cast<std::size_t>(c.color) < colors_.size()
            && colors_[static_cast<std::size_t>(c.color)] >= 0) {
            static constexpr char kHex[] = "0123456789abcdef";
            const std::int32_t rgb = colors_[static_cast<std::size_t>(c.color)];
            css += "color:#";
            for (int shift = 20; shift >= 0; shift -= 4)
                css += kHex[(rgb >> shift) & 0xF];
        }
        if (const auto found = fontIndex_.find(c.font); found != fontIndex_.end()) {
            const Font &f = fonts_[found->second];
            if (!f.name.empty()) {
                if (!css.empty())
                    css += ';';
                css += "font-family:'" + f.name + "'";
            }
        }
        if (c.halfPoints > 0) {
            if (!css.empty())
                css += ';';
            css += "font-size:" + std::to_string(c.halfPoints / 2)
                   + (c.halfPoints % 2 ? ".5pt" : "pt");
        }
        if (!css.empty()) {
            auto found = styleIndex_.find(css);
            if (found == styleIndex_.end()) {
                styles_.push_back(css);
                found = styleIndex_.emplace(std::move(css), styles_.size() - 1).first;
            }
            wanted[n++] = {'y', static_cast<std::int64_t>(found->second)};
        }
    }
    flow().setInlines(wanted, n, links_, styles_);
}

void CleanReader::addCodePoint(std::uint32_t c)
{
    Group &g = top();
    switch (g.dest) {
    case Dest::Text:
        if (g.chars.hidden || !writableCodePoint(c))
            return;
        beforeText();
        switch (c) {
        case 0x2028: // a line separator, as some writers give a soft line break
            flow().text() += "<br>";
            return;
        case '&':
            flow().text() += "&amp;";
            return;
        case '<':
            flow().text() += "&lt;";
            return;
        case '>':
            flow().text() += "&gt;";
            return;
        default:
            appendUtf8(flow().text(), c);
        }
        return;
    case Dest::Title:
        if (writableCodePoint(c))
            appendUtf8(title_, c);
        return;
    case Dest::FieldInstruction:
        if (g.field >= 0 && writableCodePoint(c))
            appendUtf8(fields_[static_cast<std::size_t>(g.field)].instruction, c);
        return;
    case Dest::ListMarker:
        if (writableCodePoint(c))
            appendUtf8(marker_, c);
        return;
    case Dest::FontTable:
        if (c == ';') {
            fontEntry_ = -1;
        } else if (fontEntry_ >= 0 && c < 0x80 && c != '\'' && c != '"' && c != '\\' && c >= 0x20
                   && c != '<' && c != '>' && c != '&') {
            fonts_.back().name += static_cast<char>(c);
        }
        return;
    case Dest::ColorTable:
        if (c == ';') {
            colors_.push_back(colorGiven_ ? (red_ << 16) | (green_ << 8) | blue_ : -1);
            red_ = green_ = blue_ = 0;
            colorGiven_ = false;
        }
        return;
    case Dest::StyleSheet:
        if (c == ';') {
            std::string lower = styleName_;
            for (char &ch : lower)
                ch = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch + 32 : ch);
            int level = 0;
            if (styleOutline_ >= 0 && styleOutline_ <= 5)
                level = styleOutline_ + 1;
            else if (lower.size() == 9 && lower.starts_with("heading ") && lower[8] >= '1'
                     && lower[8] <= '6')
                level = lower[8] - '0';
            if (styleEntry_ > 0 && styleEntry_ < 4096) {
                if (styleHeadings_.size() <= static_cast<std::size_t>(styleEntry_))
                    styleHeadings_.resize(static_cast<std::size_t>(styleEntry_) + 1, 0);
                styleHeadings_[static_cast<std::size_t>(styleEntry_)] = level;
            }
            styleName_.clear();
            styleOutline_ = -1;
            styleEntry_ = 0;
        } else if (c < 0x80 && styleName_.size() < 64) {
            styleName_ += static_cast<char>(c);
        }
        return;
    case Dest::Picture:
    case Dest::Ignore:
        return;
    }
}

void CleanReader::addByte(unsigned char b)
{
    if (b < 0x80) {
        addCodePoint(b);
        return;
    }
    const int number = codePageOfFont(top().chars.font);
    const CodePage *page = findCodePage(number);
    if (!page)
        page = number == 0 ? nullptr : findCodePage(1252);
    if (page && page->upper[b - 0x80] != 0)
        addCodePoint(page->upper[b - 0x80]);
}

void CleanReader::addAscii(const char *begin, const char *end)
{
    // The common case, a run of plain text in the document, in one piece.
    Group &g = top();
    if (g.dest == Dest::Text && !g.chars.hidden && skipCount_ == 0) {
        beforeText();
        std::string &out = flow().text();
        roomFor(out, static_cast<std::size_t>(end - begin));
        for (const char *p = begin; p < end; ++p) {
            // Letters, digits and most punctuation go over as they are, a stretch at a time.
            const char *plain = p;
            while (plain < end && static_cast<unsigned char>(*plain) >= 0x20
                   && static_cast<unsigned char>(*plain) < 0x7F && *plain != '&' && *plain != '<'
                   && *plain != '>')
                ++plain;
            if (plain > p) {
                out.append(p, static_cast<std::size_t>(plain - p));
                p = plain;
                if (p == end)
                    break;
            }
            const auto ch = static_cast<unsigned char>(*p);
            if (ch >= 0x80) {
                addByte(ch);
                beforeText();
            } else if (ch == '&') {
                out += "&amp;";
            } else if (ch == '<') {
                out += "&lt;";
            } else if (ch == '>') {
                out += "&gt;";
            } else if ((ch >= 0x20 && ch != 0x7F) || ch == '\t') {
                out += static_cast<char>(ch);
            }
        }
        return;
    }
    for (const char *p = begin; p < end; ++p) {
        if (skipCount_ > 0) {
            --skipCount_;
            continue;
        }
        if (g.dest == Dest::Picture) {
            const char ch = *p;
            int v = -1;
            if (ch >= '0' && ch <= '9')
                v = ch - '0';
            else if (ch >= 'a' && ch <= 'f')
                v = ch - 'a' + 10;
            else if (ch >= 'A' && ch <= 'F')
                v = ch - 'A' + 10;
            if (v < 0 || !pictureWanted_)
                continue;
            if (pictureNibble_ < 0) {
                pictureNibble_ = v;
            } else {
                pictureBytes_ += static_cast<char>((pictureNibble_ << 4) | v);
                pictureNibble_ = -1;
            }
            continue;
        }
        addByte(static_cast<unsigned char>(*p));
    }
}

void CleanReader::endParagraph()
{
    const ParaFormat &p = top().para;
    const bool listItem = markerSeen_ || p.list > 0 || p.numbering > 0;
    bool ordered = p.numbering == 2;
    if (markerSeen_)
        ordered = markerOrdered_;
    flow().endParagraph(p, listItem, ordered, listItem ? 0 : headingOf(p));
    markerSeen_ = false;
}

void CleanReader::skipGroup()
{
    // The opening brace is read and its group pushed; find the matching close.
    int depth = 1;
    const std::size_t start = at_;
    while (at_ < rtf_.size()) {
        const char *p = findFirstOf<'{', '}', '\\'>(rtf_.data() + at_, rtf_.data() + rtf_.size());
        at_ = static_cast<std::size_t>(p - rtf_.data());
        if (at_ >= rtf_.size())
            break;
        const char ch = rtf_[at_++];
        if (ch == '{') {
            ++depth;
        } else if (ch == '}') {
            if (--depth == 0)
                break;
        } else if (at_ < rtf_.size()) {
            // \binN: N raw bytes that may hold braces.
            if (rtf_.compare(at_, 3, "bin") == 0) {
                std::size_t k = at_ + 3;
                std::uint64_t n = 0;
                while (k < rtf_.size() && rtf_[k] >= '0' && rtf_[k] <= '9' && n < rtf_.size())
                    n = n * 10 + static_cast<std::uint64_t>(rtf_[k++] - '0');
                if (k < rtf_.size() && rtf_[k] == ' ')
                    ++k;
                at_ = static_cast<std::size_t>(std::min<std::uint64_t>(rtf_.size(), k + n));
            } else {
                ++at_;
            }
        }
    }
    tick(at_ - start);
    groups_.pop_back();
}

void CleanReader::openGroup()
{
    if (groups_.size() >= 4096) {
        // Deeper nesting than any document needs: read it as one flat group.
        groups_.push_back(groups_.back());
        skipGroup();
        return;
    }
    groups_.push_back(groups_.back());
    Group &g = groups_.back();
    g.endsNote = g.endsPicture = g.endsNumbering = g.document = false;
}

void CleanReader::closeGroup()
{
    if (groups_.size() <= 1)
        return; // text after the last brace is read as the outermost group's
    Group closing = std::move(groups_.back());
    groups_.pop_back();
    skipCount_ = 0;
    if (closing.dest == Dest::FieldInstruction && closing.field >= 0
        && (groups_.back().dest != Dest::FieldInstruction))
        finishField(closing);
    if (closing.endsPicture)
        finishPicture();
    if (closing.endsNumbering)
        groups_.back().para.numbering = closing.para.numbering;
    if (closing.dest == Dest::ListMarker && groups_.back().dest != Dest::ListMarker) {
        markerSeen_ = true;
        markerOrdered_ = markerIsNumber(marker_);
        marker_.clear();
    }
    if (closing.endsNote && flows_.size() > 1) {
        flows_.back().finish(closing.para);
        notes_.push_back(std::move(flows_.back().out));
        flows_.pop_back();
    }
}

void CleanReader::finishField(Group &g)
{
    Field &field = fields_[static_cast<std::size_t>(g.field)];
    std::string_view ins = field.instruction;
    while (!ins.empty() && ins.front() == ' ')
        ins.remove_prefix(1);
    if (!ins.starts_with("HYPERLINK"))
        return;
    ins.remove_prefix(9);
    std::string target;
    std::string anchor;
    bool local = false;
    while (!ins.empty()) {
        while (!ins.empty() && ins.front() == ' ')
            ins.remove_prefix(1);
        if (ins.empty())
            break;
        std::string token;
        if (ins.front() == '"') {
            ins.remove_prefix(1);
            const std::size_t end = ins.find('"');
            token = std::string(ins.substr(0, end));
            ins.remove_prefix(end == std::string_view::npos ? ins.size() : end + 1);
        } else {
            const std::size_t end = ins.find(' ');
            token = std::string(ins.substr(0, end));
            ins.remove_prefix(end == std::string_view::npos ? ins.size() : end);
        }
        if (token == "\\l") {
            local = true;
        } else if (token.starts_with("\\")) {
            // \o "tip", \t "frame", \m ...: a value follows that is no address.
            while (!ins.empty() && ins.front() == ' ')
                ins.remove_prefix(1);
            if (!ins.empty() && ins.front() == '"') {
                const std::size_t end = ins.find('"', 1);
                ins.remove_prefix(end == std::string_view::npos ? ins.size() : end + 1);
            }
        } else if (local && anchor.empty()) {
            anchor = token;
        } else if (target.empty()) {
            target = token;
        }
    }
    if (!anchor.empty())
        target += "#" + anchor;
    if (target.empty())
        return;
    links_.push_back(std::move(target));
    field.link = static_cast<std::int32_t>(links_.size() - 1);
}

void CleanReader::finishPicture()
{
    // A picture is kept where the text shows it; one in hidden text or in a field's
    // instruction is dropped with it.
    Group &g = top();
    if (pictureWanted_ && !pictureBytes_.empty() && !pictureKind_.empty() && g.dest == Dest::Text
        && !g.chars.hidden) {
        TCleanPicture picture;
        picture.fileName =
            (options_.pictureStem.empty() ? std::string("picture") : options_.pictureStem) + "-"
            + std::to_string(pictures_.size() + 1) + "." + pictureKind_;
        picture.bytes = std::move(pictureBytes_);
        beforeText();
        std::string &out = flow().text();
        out += "<img src=\"";
        appendEscaped(out, picture.fileName, true);
        out += "\" alt=\"\">";
        pictures_.push_back(std::move(picture));
    }
    pictureWanted_ = false;
    pictureKind_.clear();
    pictureBytes_.clear();
    pictureNibble_ = -1;
}

void CleanReader::readControl()
{
    // at_ is just past the backslash.
    if (at_ >= rtf_.size())
        return;
    const char first = rtf_[at_];
    const bool letter = (first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z');
    if (!letter) {
        ++at_;
        tick(2);
        if (first == '\'') {
            // \'xx: one byte in the code page.
            auto hex = [](char ch) {
                if (ch >= '0' && ch <= '9')
                    return ch - '0';
                if (ch >= 'a' && ch <= 'f')
                    return ch - 'a' + 10;
                if (ch >= 'A' && ch <= 'F')
                    return ch - 'A' + 10;
                return -1;
            };
            int value = 0;
            int digits = 0;
            while (digits < 2 && at_ < rtf_.size() && hex(rtf_[at_]) >= 0) {
                value = value * 16 + hex(rtf_[at_++]);
                ++digits;
            }
            tick(static_cast<std::size_t>(digits));
            if (digits == 0)
                return;
            if (skipCount_ > 0) {
                --skipCount_;
                return;
            }
            if (top().dest == Dest::Picture)
                return;
            addByte(static_cast<unsigned char>(value));
            return;
        }
        if (skipCount_ > 0 && first != '*') {
            --skipCount_;
            return;
        }
        switch (first) {
        case '\\':
        case '{':
        case '}':
            addCodePoint(static_cast<unsigned char>(first));
            return;
        case '~':
            addCodePoint(0xA0);
            return;
        case '_':
            addCodePoint(0x2011);
            return;
        case '-':
            return; // a place where the word may be broken
        case '*': {
            // An optional destination: read it only when it is one we know.
            std::size_t k = at_;
            while (k < rtf_.size() && (rtf_[k] == ' ' || rtf_[k] == '\r' || rtf_[k] == '\n'))
                ++k;
            std::size_t w = k + 1;
            while (w < rtf_.size()
                   && ((rtf_[w] >= 'a' && rtf_[w] <= 'z') || (rtf_[w] >= 'A' && rtf_[w] <= 'Z')))
                ++w;
            const std::string_view word = k < rtf_.size() && rtf_[k] == '\\'
                                              ? rtf_.substr(k + 1, w - k - 1)
                                              : std::string_view();
            const bool known = word == "fldinst" || word == "footnote" || word == "listtext"
                               || word == "shppict" || word == "title";
            if (!known && groups_.size() > 1 && !top().document)
                skipGroup();
            return;
        }
        case '\r':
        case '\n':
            endParagraph();
            return;
        case '\t':
            addCodePoint('\t');
            return;
        default:
            return;
        }
    }
    const std::size_t start = at_;
    while (at_ < rtf_.size() && at_ - start < 32
           && ((rtf_[at_] >= 'a' && rtf_[at_] <= 'z') || (rtf_[at_] >= 'A' && rtf_[at_] <= 'Z')))
        ++at_;
    const std::string_view word = rtf_.substr(start, at_ - start);
    bool negative = false;
    bool hasParam = false;
    std::int64_t param = 0;
    if (at_ < rtf_.size() && rtf_[at_] == '-') {
        negative = true;
        ++at_;
    }
    while (at_ < rtf_.size() && rtf_[at_] >= '0' && rtf_[at_] <= '9') {
        if (param < 100000000)
            param = param * 10 + (rtf_[at_] - '0');
        hasParam = true;
        ++at_;
    }
    if (negative && !hasParam)
        --at_; // a lone '-' after the word is text
    if (at_ < rtf_.size() && rtf_[at_] == ' ')
        ++at_;
    tick(at_ - start + 1);
    controlWord(word, hasParam, static_cast<std::int32_t>(negative ? -param : param));
}

// A character formatting word applied to the format; false when the word is not one.
bool characterWord(CharFormat &c, std::string_view word, bool hasParam, std::int32_t param)
{
    const bool on = !hasParam || param != 0;
    if (word == "plain") {
        const std::int32_t link = c.link;
        c = CharFormat{};
        c.link = link; // a link is the field's, not a format
        return true;
    }
    if (word == "b") {
        c.bold = on;
        return true;
    }
    if (word == "i") {
        c.italic = on;
        return true;
    }
    if (word == "ul" || word == "uld" || word == "uldb" || word == "ulth" || word == "ulw"
        || word == "uldash" || word == "ulwave") {
        c.underline = on;
        return true;
    }
    if (word == "ulnone") {
        c.underline = false;
        return true;
    }
    if (word == "strike" || word == "striked") {
        c.strike = on;
        return true;
    }
    if (word == "v") {
        c.hidden = on;
        return true;
    }
    if (word == "super") {
        c.vertical = 1;
        return true;
    }
    if (word == "sub") {
        c.vertical = -1;
        return true;
    }
    if (word == "nosupersub") {
        c.vertical = 0;
        return true;
    }
    if (word == "f" && hasParam) {
        c.font = param;
        return true;
    }
    if (word == "fs" && hasParam) {
        c.halfPoints = std::clamp(param, 0, 3276);
        return true;
    }
    if (word == "cf" && hasParam) {
        c.color = std::max(param, 0);
        return true;
    }
    return false;
}

void CleanReader::controlWord(std::string_view word, bool hasParam, std::int32_t param)
{
    Group &g = top();
    // The document's own group is never skipped, whatever stands in it.
    const bool destinationStart = groups_.size() > 1 && !g.document;

    if (word == "rtf") {
        g.document = true;
        return;
    }
    if (word == "bin") {
        const std::size_t n = hasParam && param > 0 ? static_cast<std::size_t>(param) : 0;
        const std::size_t take = std::min(n, rtf_.size() - at_);
        if (g.dest == Dest::Picture && pictureWanted_)
            pictureBytes_.append(rtf_.substr(at_, take));
        tick(take);
        at_ += take;
        return;
    }
    if (word == "u" && hasParam) {
        std::uint32_t c = static_cast<std::uint32_t>(param < 0 ? param + 65536 : param) & 0xFFFF;
        skipCount_ = g.unicodeSkip;
        if (c >= 0xD800 && c <= 0xDBFF) {
            highSurrogate_ = c;
            return;
        }
        if (c >= 0xDC00 && c <= 0xDFFF) {
            if (highSurrogate_ == 0)
                return;
            c = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (c - 0xDC00);
        }
        highSurrogate_ = 0;
        // A symbol font's private-use code for a bullet reads as one.
        if (c >= 0xF000 && c <= 0xF0FF)
            c = c == 0xF0B7 ? 0x2022 : c - 0xF000;
        addCodePoint(c);
        return;
    }
    if (skipCount_ > 0) {
        // The fallback of a \u ends at the first control word.
        skipCount_ = 0;
    }
    highSurrogate_ = 0;

    // The words of nearly every run of text, ahead of the long list below.
    if (g.dest == Dest::Text && word.size() <= 6) {
        if (word == "par") {
            endParagraph();
            return;
        }
        if (word == "pard") {
            g.para = ParaFormat{};
            return;
        }
        if (characterWord(g.chars, word, hasParam, param))
            return;
    }

    if (destinationStart && isSkipped(word)) {
        skipGroup();
        return;
    }

    // Destinations we read
    if (word == "fonttbl") {
        g.dest = Dest::FontTable;
        return;
    }
    if (word == "colortbl") {
        g.dest = Dest::ColorTable;
        return;
    }
    if (word == "stylesheet") {
        g.dest = Dest::StyleSheet;
        return;
    }
    if (word == "info") {
        g.dest = Dest::Ignore;
        return;
    }
    if (word == "title") {
        if (g.dest == Dest::Ignore) {
            g.dest = Dest::Title;
            title_.clear();
        }
        return;
    }
    if (word == "listtext" || word == "pntext") {
        g.dest = Dest::ListMarker;
        marker_.clear();
        return;
    }
    if (word == "pn") {
        g.dest = Dest::Ignore;
        g.endsNumbering = true;
        return;
    }
    if (word == "field") {
        fields_.push_back({});
        g.field = static_cast<std::int32_t>(fields_.size() - 1);
        return;
    }
    if (word == "fldinst") {
        g.dest = Dest::FieldInstruction;
        return;
    }
    if (word == "fldrslt") {
        if (g.field >= 0 && fields_[static_cast<std::size_t>(g.field)].link >= 0
            && !flow().insideLink())
            g.chars.link = fields_[static_cast<std::size_t>(g.field)].link;
        return;
    }
    if (word == "footnote") {
        if (g.dest != Dest::Text || flows_.size() >= 8 || !destinationStart) {
            if (destinationStart)
                skipGroup();
            return;
        }
        ++noteCount_;
        flows_.emplace_back();
        g.endsNote = true;
        g.chars = CharFormat{};
        g.para = ParaFormat{};
        return;
    }
    if (word == "chftn") {
        if (g.dest != Dest::Text)
            return;
        const std::string n = std::to_string(flows_.size() > 1 ? noteCount_ : noteCount_ + 1);
        beforeText();
        std::string &out = flow().text();
        if (flow().insideLink()) {
            out += n;
        } else if (flows_.size() > 1) {
            out += "<a href=\"#note-ref-" + n + "\">" + n + "</a>";
        } else if (noteCount_ + 1 > referenced_) {
            // The first mark of a note is the place its note links back to.
            referenced_ = noteCount_ + 1;
            out += "<a href=\"#note-" + n + "\" id=\"note-ref-" + n + "\">" + n + "</a>";
        } else {
            out += "<a href=\"#note-" + n + "\">" + n + "</a>";
        }
        return;
    }
    if (word == "pict") {
        // Only a group is a picture; the word anywhere else means nothing.
        if (!destinationStart)
            return;
        if (!options_.pictures) {
            skipGroup();
            return;
        }
        g.dest = Dest::Picture;
        g.endsPicture = true;
        pictureWanted_ = false;
        pictureKind_.clear();
        pictureBytes_.clear();
        pictureNibble_ = -1;
        return;
    }
    if (word == "pngblip" && g.dest == Dest::Picture) {
        pictureWanted_ = true;
        pictureKind_ = "png";
        return;
    }
    if (word == "jpegblip" && g.dest == Dest::Picture) {
        pictureWanted_ = true;
        pictureKind_ = "jpg";
        return;
    }
    if (word == "shppict")
        return; // read: the picture inside follows

    // Document properties
    if (word == "ansicpg" && hasParam) {
        if (findCodePage(param))
            documentPage_ = param;
        return;
    }
    if (word == "mac") {
        documentPage_ = 10000;
        return;
    }
    if (word == "pc") {
        documentPage_ = 437;
        return;
    }
    if (word == "pca") {
        documentPage_ = 850;
        return;
    }

    // Tables of the header
    if (g.dest == Dest::FontTable) {
        if (word == "f" && hasParam) {
            fonts_.push_back({param, -1, {}});
            fontIndex_[param] = fonts_.size() - 1;
            fontEntry_ = param;
        } else if (word == "fcharset" && hasParam && !fonts_.empty()) {
            fonts_.back().codePage = param == 0 ? -1 : charsetCodePage(param, documentPage_);
        } else if (word == "cpg" && hasParam && !fonts_.empty() && findCodePage(param)) {
            fonts_.back().codePage = param;
        }
        return;
    }
    if (g.dest == Dest::ColorTable) {
        const std::int32_t v = std::clamp(param, 0, 255);
        if (word == "red")
            red_ = v;
        else if (word == "green")
            green_ = v;
        else if (word == "blue")
            blue_ = v;
        else
            return;
        colorGiven_ = true;
        return;
    }
    if (g.dest == Dest::StyleSheet) {
        if (word == "s" && hasParam)
            styleEntry_ = param;
        else if (word == "outlinelevel" && hasParam)
            styleOutline_ = static_cast<std::int8_t>(std::clamp(param, -1, 9));
        else if (word == "cs" || word == "ds" || word == "ts")
            styleEntry_ = 0; // character, section and table styles make no headings
        return;
    }

    // Special characters
    struct Symbol {
        std::string_view word;
        std::uint32_t code;
    };
    static constexpr Symbol kSymbols[] = {
        {"emdash", 0x2014},    {"endash", 0x2013},    {"lquote", 0x2018},  {"rquote", 0x2019},
        {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"bullet", 0x2022},  {"tab", '\t'},
        {"emspace", 0x2003},   {"enspace", 0x2002},   {"qmspace", 0x2005}, {"zwj", 0x200D},
        {"zwnj", 0x200C},      {"ltrmark", 0x200E},   {"rtlmark", 0x200F},
    };
    for (const Symbol &s : kSymbols) {
        if (word == s.word) {
            addCodePoint(s.code);
            return;
        }
    }

    // Breaks
    if (word == "par" || word == "sect" || word == "page") {
        if (g.dest == Dest::Text)
            endParagraph();
        return;
    }
    if (word == "line") {
        if (g.dest == Dest::Text && !g.chars.hidden) {
            beforeText();
            flow().text() += "<br>";
        }
        return;
    }
    if (word == "cell" || word == "nestcell") {
        if (g.dest == Dest::Text) {
            endParagraph();
            flow().endCell(g.para);
        }
        return;
    }
    if (word == "row" || word == "nestrow") {
        if (g.dest == Dest::Text)
            flow().endRow();
        return;
    }

    // Paragraph formatting
    ParaFormat &p = g.para;
    if (word == "pard") {
        p = ParaFormat{};
        return;
    }
    if (word == "intbl") {
        p.inTable = true;
        return;
    }
    if (word == "qc") {
        p.align = 1;
        return;
    }
    if (word == "qr") {
        p.align = 2;
        return;
    }
    if (word == "qj") {
        p.align = 3;
        return;
    }
    if (word == "ql") {
        p.align = 0;
        return;
    }
    if (word == "outlinelevel") {
        p.outline = static_cast<std::int8_t>(std::clamp(param, -1, 9));
        return;
    }
    if (word == "s" && hasParam) {
        p.style = param;
        return;
    }
    if (word == "ls" && hasParam) {
        p.list = param;
        return;
    }
    if (word == "ilvl" && hasParam) {
        p.level = std::clamp(param, 0, 8);
        return;
    }
    if (word == "pnlvlblt") {
        p.numbering = 1;
        return;
    }
    if (word == "pnlvlbody" || word == "pndec" || word == "pnlcltr" || word == "pnucltr"
        || word == "pnlcrm" || word == "pnucrm") {
        p.numbering = 2;
        return;
    }

    if (characterWord(g.chars, word, hasParam, param))
        return;
    if (word == "uc" && hasParam) {
        g.unicodeSkip = static_cast<std::uint8_t>(std::clamp(param, 0, 8));
        return;
    }
}

TCleanResult CleanReader::run()
{
    std::size_t begin = 0;
    if (rtf_.starts_with("\xEF\xBB\xBF"))
        begin = 3;
    while (begin < rtf_.size()
           && (rtf_[begin] == ' ' || rtf_[begin] == '\r' || rtf_[begin] == '\n'
               || rtf_[begin] == '\t'))
        ++begin;
    if (rtf_.substr(begin, 5) != "{\\rtf")
        throw EQuorvelError(std::string(kHeaderMissing));
    at_ = begin;

    const char *const base = rtf_.data();
    const char *const end = base + rtf_.size();
    while (at_ < rtf_.size()) {
        const char *p = base + at_;
        const char *run = findFirstOf<'\\', '{', '}', '\r', '\n'>(p, end);
        if (run > p) {
            addAscii(p, run);
            tick(static_cast<std::size_t>(run - p));
            at_ = static_cast<std::size_t>(run - base);
            continue;
        }
        const char ch = *p;
        ++at_;
        switch (ch) {
        case '\\':
            readControl();
            break;
        case '{':
            tick(1);
            openGroup();
            break;
        case '}':
            tick(1);
            closeGroup();
            break;
        default:
            tick(1); // line breaks of the file are no text
        }
    }
    while (flows_.size() > 1) {
        flows_.back().finish(top().para);
        notes_.push_back(std::move(flows_.back().out));
        flows_.pop_back();
    }
    endParagraph();
    flows_.back().finish(top().para);

    std::string body = std::move(flows_.back().out);
    if (!notes_.empty()) {
        body += "<hr>\n<div class=\"notes\">\n";
        for (std::size_t k = 0; k < notes_.size(); ++k) {
            body += "<div id=\"note-" + std::to_string(k + 1) + "\">\n";
            body += notes_[k];
            body += "</div>\n";
        }
        body += "</div>\n";
    }

    if (options_.wholePage) {
        // The head goes in front of the body in its own buffer: a second page-sized buffer
        // would cost more than the conversion.
        std::string head = "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>";
        const std::string &title = !options_.title.empty() ? options_.title
                                   : !title_.empty()       ? title_
                                                           : options_.otherTitle;
        appendEscaped(head, title);
        head += "</title>\n</head>\n<body>\n";
        body.insert(0, head);
        body += "</body>\n</html>\n";
    }
    TCleanResult result;
    result.html = std::move(body);
    result.pictures = std::move(pictures_);
    return result;
}

} // namespace

TCleanResult convertClean(std::string_view rtf, const TCleanOptions &options, TMessagePump pump)
{
    CleanReader reader(rtf, options, pump);
    return reader.run();
}

void convertCleanFile(const std::string &source, const std::string &target, TCleanOptions options,
                      TMessagePump pump)
{
    if (target.empty())
        throw EQuorvelError(std::string(kNoTarget));
    TFileIdentity identity;
    const std::string text = readSourceText(source, &identity);
    const std::filesystem::path targetPath(target);
    if (options.pictureStem.empty())
        options.pictureStem = targetPath.stem().string();
    if (options.otherTitle.empty())
        options.otherTitle = std::filesystem::path(source).stem().string();
    TCleanResult result = convertClean(text, options, pump);
    for (const TCleanPicture &picture : result.pictures) {
        const std::string path = (targetPath.parent_path() / picture.fileName).string();
        const safe_write::Result written = safe_write::writeFile(path, picture.bytes);
        if (!written)
            throw EQuorvelError(writeFailureMessage(path, written));
    }
    asLinesInPlace(result.html);
    writeDocument(target, result.html, identity);
}

} // namespace quorvel
