#include "quorvel_engine.h"
#include "quorvel_library.h"
#include "quorvel_scan.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <typeinfo>
#include <unordered_map>

namespace quorvel {
namespace {

using enum TQuorvelOption;

constexpr std::string_view kCRLF = "\r\n";

// HTML 4's character entity names for Latin-1 codes 160 to 255, in code order. Two
// entries are this converter's own: 168 is written "&die;" and 183 is handled apart
// (see CharToEntity), because generated pages have always carried them that way.
constexpr std::array<std::string_view, 96> kLatin1Entities = {
    "&nbsp;",   "&iexcl;",  "&cent;",   "&pound;",  "&curren;", "&yen;",    "&brvbar;",
    "&sect;",   "&die;",    "&copy;",   "&ordf;",   "&laquo;",  "&not;",    "&shy;",
    "&reg;",    "&macr;",   "&deg;",    "&plusmn;", "&sup2;",   "&sup3;",   "&acute;",
    "&micro;",  "&para;",   "&middot;", "&cedil;",  "&sup1;",   "&ordm;",   "&raquo;",
    "&frac14;", "&frac12;", "&frac34;", "&iquest;", "&Agrave;", "&Aacute;", "&Acirc;",
    "&Atilde;", "&Auml;",   "&Aring;",  "&AElig;",  "&Ccedil;", "&Egrave;", "&Eacute;",
    "&Ecirc;",  "&Euml;",   "&Igrave;", "&Iacute;", "&Icirc;",  "&Iuml;",   "&ETH;",
    "&Ntilde;", "&Ograve;", "&Oacute;", "&Ocirc;",  "&Otilde;", "&Ouml;",   "&times;",
    "&Oslash;", "&Ugrave;", "&Uacute;", "&Ucirc;",  "&Uuml;",   "&Yacute;", "&THORN;",
    "&szlig;",  "&agrave;", "&aacute;", "&acirc;",  "&atilde;", "&auml;",   "&aring;",
    "&aelig;",  "&ccedil;", "&egrave;", "&eacute;", "&ecirc;",  "&euml;",   "&igrave;",
    "&iacute;", "&icirc;",  "&iuml;",   "&eth;",    "&ntilde;", "&ograve;", "&oacute;",
    "&ocirc;",  "&otilde;", "&ouml;",   "&divide;", "&oslash;", "&ugrave;", "&uacute;",
    "&ucirc;",  "&uuml;",   "&yacute;", "&thorn;",  "&yuml;",
};
constexpr int kMiddleDot = 183;

// How the tokenizer treats a byte in control-word mode.
enum class CharKind : std::uint8_t { Delimiter, WordPart, Tilde, Apostrophe };

constexpr std::array<CharKind, 256> MakeCharKinds()
{
    std::array<CharKind, 256> kinds{};
    kinds.fill(CharKind::Delimiter);
    for (int c = 'a'; c <= 'z'; ++c)
        kinds[c] = CharKind::WordPart;
    for (int c = '0'; c <= '9'; ++c)
        kinds[c] = CharKind::WordPart;
    kinds['*'] = CharKind::WordPart;
    kinds['-'] = CharKind::WordPart;
    kinds['~'] = CharKind::Tilde;
    kinds['\''] = CharKind::Apostrophe;
    return kinds;
}
constexpr std::array<CharKind, 256> kCharKinds = MakeCharKinds();

constexpr bool OpensControl(char c) { return c == '\\' || c == '{' || c == '}'; }

// Appends document text: three characters escaped, line breaks dropped, the rest unchanged.
void AppendText(std::string &out, const char *p, const char *end)
{
    while (p < end) {
        const char *special = FindFirstOf<'&', '<', '>', '\r', '\n'>(p, end);
        out.append(p, static_cast<std::size_t>(special - p));
        if (special == end)
            return;
        switch (*special) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default: // CR and LF
            break;
        }
        p = special + 1;
    }
}

// A parameter of a control word: an optional sign and decimal digits that fit in 32 bits.
bool ParseInt(std::string_view s, std::int32_t &value)
{
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    if (s.empty())
        return false;
    const char *end = s.data() + s.size();
    auto [ptr, ec] = std::from_chars(s.data(), end, value);
    return ec == std::errc() && ptr == end;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

[[noreturn]] void BadHexEscape(std::string_view word)
{
    std::string shown;
    for (char c : word) {
        auto u = static_cast<unsigned char>(c);
        if (u >= 32 && u < 127) {
            shown += c;
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", u);
            shown += buf;
        }
    }
    throw EQuorvelError("Quorvel: \"\\" + shown +
                        "\" is not a valid hexadecimal escape. Conversion aborted.");
}

std::string HexValue(std::int32_t v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(v));
    std::string s = buf;
    if (s.size() < 2)
        s.insert(0, 1, '0');
    return s;
}

bool StartsWithDigitAt(std::string_view w, std::size_t i)
{
    return w.size() > i && w[i] >= '0' && w[i] <= '9';
}

} // namespace

TQuorvel::TQuorvel(TQuorvelCreation how)
    : settings_(how == TQuorvelCreation::Designing ? TQuorvelSettings::ForDesign()
                                                    : TQuorvelSettings{})
{
}

TQuorvel::~TQuorvel() = default;

std::string TQuorvel::FontNameAt(std::int32_t index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= FontTable.size())
        return "Arial,Helvetica";
    return FontTable[static_cast<std::size_t>(index)];
}

std::int32_t TQuorvel::PointsToHtmlSize(std::int32_t points, bool &small)
{
    // Compared unsigned, so negative sizes land in the last row. Size 1 never appears.
    const auto p = static_cast<std::uint32_t>(points);
    std::int32_t size = 9;
    if (p <= 8)
        size = 0;
    else if (p <= 11)
        size = 2;
    else if (p <= 13)
        size = 3;
    else if (p <= 15)
        size = 4;
    else if (p <= 18)
        size = 5;
    else if (p <= 27)
        size = 6;
    small = size < 2;
    return size;
}

std::string TQuorvel::CharToEntity(std::int32_t code, bool listFlag)
{
    if (code >= 160 && code <= 255) {
        // A list item's bullet is already marked by <LI>.
        if (code == kMiddleDot && listFlag)
            return {};
        return std::string(kLatin1Entities[static_cast<std::size_t>(code - 160)]);
    }
    return std::string(1, static_cast<char>(code));
}

std::string TQuorvel::TextToHtml(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        out += CharToEntity(static_cast<unsigned char>(c), false);
    return out;
}

std::string TQuorvel::HandleControlWord(std::string_view w)
{
    // The known words never overlap (no exact word starts like a prefixed one), so
    // dispatching on the first character keeps the table's first-match order.
    if (w.empty())
        return {};
    switch (w.front()) {
    case 'p':
        if (w == "par")
            return Format.InList ? "</LI>\r\n" : "<BR>\r\n";
        if (w == "pnlvlblt") {
            Format.InList = true;
            return "\r\n<UL>\r\n";
        }
        if (w == "pntext")
            return "<LI>";
        if (w == "page")
            return "<HR>\r\n";
        if (w == "pard") {
            std::string r;
            if (Format.InList) {
                r = "</UL>\r\n\r\n";
                Format.InList = false;
            }
            if (Format.Alignment != 0) {
                r += "</p>";
                Format.Alignment = 0;
            }
            return r;
        }
        if (w == "plain")
            return PlainWord();
        return {};
    case 'u':
        if (w == "ul") {
            Format.Underline = true;
            return "<U>";
        }
        if (w == "ul0" || w == "ulnone") {
            Format.Underline = false;
            return "</U>";
        }
        return {};
    case 'b':
        if (w == "b") {
            Format.Bold = true;
            return "<B>";
        }
        if (w == "b0") {
            Format.Bold = false;
            return "</B>";
        }
        if (w.starts_with("blue"))
            ColorTableWord(w, 4);
        return {};
    case 'i':
        if (w == "i") {
            Format.Italic = true;
            return "<I>";
        }
        if (w == "i0") {
            Format.Italic = false;
            return "</I>";
        }
        return {};
    case 's':
        if (w == "strike") {
            Format.StrikeOut = true;
            return "<STRIKE>";
        }
        if (w == "strike0") {
            Format.StrikeOut = false;
            return "</STRIKE>";
        }
        return {};
    case 't':
        return w == "tab" ? "\t" : std::string();
    case 'r':
        if (w == "rdblquot")
            return "\"";
        if (w == "rquote")
            return "'";
        if (w.starts_with("red"))
            ColorTableWord(w, 3);
        return {};
    case 'l':
        if (w == "ldblquot")
            return "\"";
        if (w == "lquote")
            return "'";
        return {};
    case '\'': {
        const int high = w.size() >= 3 ? HexDigit(w[1]) : -1;
        const int low = w.size() >= 3 ? HexDigit(w[2]) : -1;
        if (high < 0 || low < 0)
            BadHexEscape(w);
        return CharToEntity(high * 16 + low, Format.InList);
    }
    case 'q':
        if (w == "qr") {
            Format.Alignment = 1;
            return "\r\n<p align=right>\r\n";
        }
        if (w == "qc") {
            Format.Alignment = 2;
            return "\r\n<p align=center>\r\n";
        }
        return {};
    case '~':
        return w == "~" ? "&nbsp;" : std::string();
    case 'f':
        if (Has(soProcessFontSize) && w.starts_with("fs") && StartsWithDigitAt(w, 2))
            return FontSizeWord(w.substr(2));
        if (Has(soProcessFontFace) && StartsWithDigitAt(w, 1))
            return FontFaceWord(w.substr(1));
        return {};
    case 'c':
        if (w == "colortbl") {
            ColorTableStarts();
            return {};
        }
        if (Has(soUseColors) && w.starts_with("cf") && StartsWithDigitAt(w, 2))
            return ColorWord(w.substr(2));
        return {};
    case 'g':
        if (w.starts_with("green"))
            ColorTableWord(w, 5);
        return {};
    default:
        return {};
    }
}

std::string TQuorvel::PlainWord()
{
    PlainSeen = true;
    std::string r;
    if (Format.StrikeOut) {
        r += "</STRIKE>";
        Format.StrikeOut = false;
    }
    if (Format.Underline) {
        r += "</U>";
        Format.Underline = false;
    }
    if (Format.Italic) {
        r += "</I>";
        Format.Italic = false;
    }
    if (Format.Bold) {
        r += "</B>";
        Format.Bold = false;
    }
    if (ColorIndex > 0) {
        r += "</FONT>";
        ColorIndex = 0;
    }
    Format.Small = false;
    if (Has(soProcessFontSize) && !(Has(soOptimize) && LastFontSize == Font.HtmlSize)) {
        const std::int32_t points = Has(soUseDefaultFont) ? settings_.DefaultFontSize : 10;
        Font.HtmlSize = PointsToHtmlSize(points, Format.Small);
        LastFontSize = Font.HtmlSize;
        r += "<FONT SIZE=" + std::to_string(Font.HtmlSize) + ">";
    }
    return r;
}

std::string TQuorvel::FontSizeWord(std::string_view rest)
{
    std::int32_t halfPoints = 0;
    const std::int32_t points = ParseInt(rest, halfPoints) ? halfPoints / 2 : 10;
    Font.HtmlSize = PointsToHtmlSize(points, Format.Small);
    if (Has(soOptimize) && Font.HtmlSize == LastFontSize)
        return {};
    LastFontSize = Font.HtmlSize;
    if (Format.Small)
        return "<SMALL>";
    return "<FONT SIZE=" + std::to_string(Font.HtmlSize) + ">";
}

std::string TQuorvel::FontFaceWord(std::string_view rest)
{
    if (!ParseInt(rest, Font.FontNumber))
        Font.FontNumber = 0;
    // Inside the font table the word only chooses the entry that the following text fills.
    if (Font.InFontTable)
        return {};
    if (Font.FontNumber < 0 || static_cast<std::size_t>(Font.FontNumber) >= FontTable.size())
        Font.FontNumber = 0;
    const auto number = static_cast<std::size_t>(Font.FontNumber);
    // The class's own FontNameAt is a table lookup: read the entry in place rather than
    // copying it for every \f word. An override may answer anything, so it is asked.
    if (typeid(*this) == typeid(TQuorvel) && number < FaceIds.size() &&
        FaceIds.size() == FontTable.size()) {
        const std::string &name = FontTable[number];
        if (name == "Symbol")
            return {};
        const std::int32_t id = FaceIds[number];
        if (Has(soOptimize)) {
            if (LastFaceId >= 0 ? id == LastFaceId : name == LastFontFace) {
                LastFaceId = id;
                return {};
            }
        }
        LastFontFace = name;
        LastFaceId = id;
        return "<FONT FACE=\"" + name + "\">";
    }
    std::string name = FontNameAt(Font.FontNumber);
    if (name == "Symbol")
        return {};
    if (Has(soOptimize) && name == LastFontFace)
        return {};
    std::string r = "<FONT FACE=\"" + name + "\">";
    LastFontFace = std::move(name);
    LastFaceId = -1;
    return r;
}

void TQuorvel::ColorTableStarts()
{
    // The font table is final after the first \colortbl, and cutting it again changes
    // nothing; a document full of \colortbl words must not rescan a large table each time.
    if (!Font.InFontTable)
        return;
    Font.InFontTable = false;
    for (std::string &entry : FontTable) {
        if (auto semicolon = entry.find(';'); semicolon != std::string::npos)
            entry.resize(semicolon);
        if (!Has(soMoreCompatible))
            continue;
        if (entry == "Arial")
            entry = "Arial,Helvetica";
        else if (entry.starts_with("Courier"))
            entry = "Courier,Courier New";
        else if (entry.starts_with("Times"))
            entry = "Times";
    }
    // Number the distinct names once, so that \f words compare faces by number instead of
    // comparing (possibly very long) names again and again.
    FaceIds.assign(FontTable.size(), 0);
    std::unordered_map<std::string_view, std::int32_t> firstWithName;
    firstWithName.reserve(FontTable.size());
    for (std::size_t k = 0; k < FontTable.size(); ++k)
        FaceIds[k] = firstWithName.try_emplace(FontTable[k], static_cast<std::int32_t>(k))
                         .first->second;
}

std::string TQuorvel::ColorWord(std::string_view rest)
{
    if (!ParseInt(rest, ColorIndex))
        ColorIndex = 0;
    if (ColorIndex < 0 || static_cast<std::size_t>(ColorIndex) >= ColorTable.size())
        return {};
    return "<FONT COLOR=\"#" + ColorTable[static_cast<std::size_t>(ColorIndex)] + "\">";
}

void TQuorvel::ColorTableWord(std::string_view word, std::size_t prefix)
{
    // The colour table is read only until the first \plain.
    if (!Has(soUseColors) || PlainSeen)
        return;
    std::int32_t v = 0;
    const std::string value = ParseInt(word.substr(prefix), v) ? HexValue(v) : "00";
    switch (word.front()) {
    case 'r':
        ColorTable.back() = value;
        break;
    case 'g':
        ColorTable.back() += value;
        break;
    default: // blue closes the entry
        ColorTable.back() += value;
        ColorTable.emplace_back();
        break;
    }
}

void TQuorvel::StartRun()
{
    PlainSeen = false;
    FontTable.assign(1, std::string());
    FaceIds.clear();
    LastFontFace.clear();
    LastFaceId = -1;
    if (Has(soUseDefaultFont)) {
        Font.HtmlSize = PointsToHtmlSize(settings_.DefaultFontSize, Format.Small);
        Font.FaceName = settings_.DefaultFontName;
    } else {
        Font.HtmlSize = 2;
        Font.FaceName.clear();
    }
    LastFontSize = Font.HtmlSize;
    Font.FontNumber = 0;
    // Everything up to \colortbl is taken as font-table text.
    Font.InFontTable = true;
    ColorTable.assign(1, std::string());
    Format.Bold = Format.Italic = Format.Underline = Format.StrikeOut = false;
    Format.InList = false;
    Format.Alignment = 0;
}

std::string TQuorvel::BodyPass(std::string_view rtf)
{
    if (!rtf.starts_with("{\\rtf1"))
        throw EQuorvelError(std::string(kHeaderMissing));
    StartRun();

    // The HTML is staged as a line that moves to the output whenever it holds a line break,
    // and the rest moves at the end: the output is everything staged, in order. So the
    // line is staged in place, as the tail of `line` after its last break; copying each
    // finished line would only cost time on large documents.
    std::string line;
    line.reserve(rtf.size() + rtf.size() / 4);
    std::string word;
    bool controlMode = true;

    auto flushWord = [&] {
        if (!word.empty()) {
            line += HandleControlWord(word);
            word.clear();
        }
    };

    const char *const s = rtf.data();
    const std::size_t n = rtf.size();
    const TMessagePump pump = pump_;
    std::size_t i = 0;
    // The last two characters are never examined: a text read from a file always ends in
    // CR LF, and this keeps every look-ahead below inside the text.
    while (i + 2 < n) {
        if (!controlMode && !Font.InFontTable) {
            // A run of document text whose characters are each followed by one that cannot
            // start a control word: every step of the run only appends, so take it at once.
            const char *opener = FindFirstOf<'\\', '{', '}'>(s + i + 1, s + n - 1);
            const auto end = static_cast<std::size_t>(opener - s) - 1;
            if (end > i) {
                AppendText(line, s + i, s + end);
                if (pump.Callback) {
                    for (std::size_t k = i; k < end; ++k)
                        pump.Callback(pump.Context);
                }
                i = end;
                continue;
            }
        }
        const char c = s[i];
        if (controlMode) {
            switch (kCharKinds[static_cast<unsigned char>(c)]) {
            case CharKind::Apostrophe:
                // "\'hh": two hex digits, handled at once; `word` keeps what it holds.
                line += HandleControlWord(std::string{'\'', s[i + 1], s[i + 2]});
                i += 2;
                controlMode = false;
                break;
            case CharKind::WordPart:
                word += c;
                break;
            case CharKind::Tilde:
                word += c;
                line += HandleControlWord(word);
                word.clear();
                controlMode = false;
                break;
            case CharKind::Delimiter:
                flushWord();
                // A blank or CR ends the word and is consumed; any other delimiter is dropped.
                if (c == '\r' || c == ' ')
                    controlMode = false;
                break;
            }
        } else if (Font.InFontTable) {
            if (Font.FontNumber >= 0) {
                const auto number = static_cast<std::size_t>(Font.FontNumber);
                if (FontTable.size() == number)
                    FontTable.emplace_back();
                if (FontTable.size() > number)
                    FontTable[number] += c;
            }
        } else {
            AppendText(line, &c, &c + 1);
        }
        if (c == '}')
            controlMode = false;

        ++i;
        if (i < n && OpensControl(s[i])) {
            controlMode = true;
            // "\\", "\{" and "\}" stand for the character itself, even in the font table.
            if (c == '\\') {
                line += s[i];
                controlMode = false;
                ++i;
                if (i < n && OpensControl(s[i]))
                    controlMode = true;
            }
        }

        if (line.size() > sizeLimit_)
            throw EQuorvelError(std::string(kTooLarge));
        if (pump.Callback)
            pump.Callback(pump.Context);
    }
    // An unfinished word is dropped.
    return line;
}

std::string TQuorvel::ConvertText(std::string_view rtf)
{
    return Assemble(BodyPass(rtf));
}

// --- Document assembly ------------------------------------------------------------------

std::string TQuorvel::Assemble(std::string body)
{
    if (Has(soReplaceStrings)) {
        for (const std::string &pair : settings_.ReplaceStrings.Lines()) {
            const std::string_view name = TLineList::NameOf(pair);
            body = quorvel::ReplaceAll(body, name, settings_.ReplaceStrings.Value(name),
                                       sizeLimit_);
        }
    }

    std::string head;
    std::string tail;
    if (Has(soWrapHTML)) {
        head = "<HTML>\r\n<HEAD>\r\n";
        if (Has(soUseTitle))
            head += "<TITLE>" + TextToHtml(settings_.Title) + "</TITLE>\r\n";
        if (!settings_.Headtags.Empty())
            head += settings_.Headtags.Text();
        const std::pair<std::string_view, const std::string *> metas[] = {
            {"<meta name=\"author\" content=\"", &settings_.MetaAuthor},
            {"<meta http-equiv=\"content-type\" content=\"", &settings_.MetaContentType},
            {"<meta name=\"description\" content=\"", &settings_.MetaDescription},
            {"<meta name=\"generator\" content=\"", &settings_.MetaGenerator},
            {"<meta name=\"keywords\" content=\"", &settings_.MetaKeywords},
        };
        for (const auto &[before, value] : metas) {
            if (!value->empty()) {
                head += before;
                head += *value;
                head += "\">\r\n";
            }
        }
        head += "</HEAD>\r\n<BODY";
        const TLineList &bodyOptions = settings_.BodyOptions;
        if (bodyOptions.Empty())
            head += ">";
        else if (bodyOptions.Count() == 1)
            head += " " + bodyOptions[0] + ">\r\n";
        else
            head += " " + bodyOptions.Text() + ">\r\n";
        tail = "</BODY>\r\n</HTML>";
    }

    if (head.empty() && !Has(soUseDefaultFont)) {
        body += kCRLF;
        return body;
    }
    std::string document;
    if (Has(soUseDefaultFont)) {
        const std::int32_t size = PointsToHtmlSize(settings_.DefaultFontSize, Format.Small);
        const std::string open = "<FONT FACE=\"" + settings_.DefaultFontName +
                                 "\" SIZE=" + std::to_string(size) + ">";
        document.reserve(head.size() + open.size() + body.size() + tail.size() + 16);
        document += head;
        document += open;
        document += body;
        document += "</FONT>";
    } else {
        document.reserve(head.size() + body.size() + tail.size() + 2);
        document += head;
        document += body;
    }
    document += kCRLF;
    document += tail;
    return document;
}

// --- Files ----------------------------------------------------------------------------

void TQuorvel::ConvertFile(const std::string &source, const std::string &target)
{
    if (target.empty())
        throw EQuorvelError("Quorvel: no target file was given. Conversion aborted.");
    TFileIdentity identity;
    const std::string text = ReadSourceText(source, &identity);
    WriteDocument(target, ConvertText(text), identity);
}

} // namespace quorvel
