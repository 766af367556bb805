#include "quorvel_engine.h"
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
// (see charToEntity), because generated pages have always carried them that way.
constexpr std::array<std::string_view, 96> kLatin1Entities = {
    "&nbsp;",   "&iexcl;",  "&cent;",   "&pound;",  "&curren;", "&yen;",    "&brvbar;", "&sect;",
    "&die;",    "&copy;",   "&ordf;",   "&laquo;",  "&not;",    "&shy;",    "&reg;",    "&macr;",
    "&deg;",    "&plusmn;", "&sup2;",   "&sup3;",   "&acute;",  "&micro;",  "&para;",   "&middot;",
    "&cedil;",  "&sup1;",   "&ordm;",   "&raquo;",  "&frac14;", "&frac12;", "&frac34;", "&iquest;",
    "&Agrave;", "&Aacute;", "&Acirc;",  "&Atilde;", "&Auml;",   "&Aring;",  "&AElig;",  "&Ccedil;",
    "&Egrave;", "&Eacute;", "&Ecirc;",  "&Euml;",   "&Igrave;", "&Iacute;", "&Icirc;",  "&Iuml;",
    "&ETH;",    "&Ntilde;", "&Ograve;", "&Oacute;", "&Ocirc;",  "&Otilde;", "&Ouml;",   "&times;",
    "&Oslash;", "&Ugrave;", "&Uacute;", "&Ucirc;",  "&Uuml;",   "&Yacute;", "&THORN;",  "&szlig;",
    "&agrave;", "&aacute;", "&acirc;",  "&atilde;", "&auml;",   "&aring;",  "&aelig;",  "&ccedil;",
    "&egrave;", "&eacute;", "&ecirc;",  "&euml;",   "&igrave;", "&iacute;", "&icirc;",  "&iuml;",
    "&eth;",    "&ntilde;", "&ograve;", "&oacute;", "&ocirc;",  "&otilde;", "&ouml;",   "&divide;",
    "&oslash;", "&ugrave;", "&uacute;", "&ucirc;",  "&uuml;",   "&yacute;", "&thorn;",  "&yuml;",
};
constexpr int kMiddleDot = 183;

// How the tokenizer treats a byte in control-word mode.
enum class CharKind : std::uint8_t { Delimiter, WordPart, Tilde, Apostrophe };

constexpr std::array<CharKind, 256> makeCharKinds()
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
constexpr std::array<CharKind, 256> kCharKinds = makeCharKinds();

constexpr bool opensControl(char c)
{
    return c == '\\' || c == '{' || c == '}';
}

// Appends document text: three characters escaped, line breaks dropped, the rest unchanged.
void appendText(std::string &out, const char *p, const char *end)
{
    while (p < end) {
        const char *special = findFirstOf<'&', '<', '>', '\r', '\n'>(p, end);
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
bool parseInt(std::string_view s, std::int32_t &value)
{
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    if (s.empty())
        return false;
    const char *end = s.data() + s.size();
    auto [ptr, ec] = std::from_chars(s.data(), end, value);
    return ec == std::errc() && ptr == end;
}

int hexDigit(char c)
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
    throw EQuorvelError("Quorvel: \"\\" + shown
                        + "\" is not a valid hexadecimal escape. Conversion aborted.");
}

std::string hexValue(std::int32_t v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(v));
    std::string s = buf;
    if (s.size() < 2)
        s.insert(0, 1, '0');
    return s;
}

bool startsWithDigitAt(std::string_view w, std::size_t i)
{
    return w.size() > i && w[i] >= '0' && w[i] <= '9';
}

} // namespace

TQuorvel::TQuorvel(TQuorvelCreation how)
    : settings_(how == TQuorvelCreation::Designing ? TQuorvelSettings::forDesign()
                                                   : TQuorvelSettings{})
{
}

TQuorvel::~TQuorvel() = default;

std::string TQuorvel::fontNameAt(std::int32_t index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= fontTable.size())
        return "Arial,Helvetica";
    return fontTable[static_cast<std::size_t>(index)];
}

std::int32_t TQuorvel::pointsToHtmlSize(std::int32_t points, bool &small)
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

std::string TQuorvel::charToEntity(std::int32_t code, bool listFlag)
{
    if (code >= 160 && code <= 255) {
        // A list item's bullet is already marked by <LI>.
        if (code == kMiddleDot && listFlag)
            return {};
        return std::string(kLatin1Entities[static_cast<std::size_t>(code - 160)]);
    }
    return std::string(1, static_cast<char>(code));
}

std::string TQuorvel::textToHtml(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        out += charToEntity(static_cast<unsigned char>(c), false);
    return out;
}

std::string TQuorvel::handleControlWord(std::string_view w)
{
    // The known words never overlap (no exact word starts like a prefixed one), so
    // dispatching on the first character keeps the table's first-match order.
    if (w.empty())
        return {};
    switch (w.front()) {
    case 'p':
        if (w == "par")
            return format.inList ? "</LI>\r\n" : "<BR>\r\n";
        if (w == "pnlvlblt") {
            format.inList = true;
            return "\r\n<UL>\r\n";
        }
        if (w == "pntext")
            return "<LI>";
        if (w == "page")
            return "<HR>\r\n";
        if (w == "pard") {
            std::string r;
            if (format.inList) {
                r = "</UL>\r\n\r\n";
                format.inList = false;
            }
            if (format.alignment != 0) {
                r += "</p>";
                format.alignment = 0;
            }
            return r;
        }
        if (w == "plain")
            return plainWord();
        return {};
    case 'u':
        if (w == "ul") {
            format.underline = true;
            return "<U>";
        }
        if (w == "ul0" || w == "ulnone") {
            format.underline = false;
            return "</U>";
        }
        return {};
    case 'b':
        if (w == "b") {
            format.bold = true;
            return "<B>";
        }
        if (w == "b0") {
            format.bold = false;
            return "</B>";
        }
        if (w.starts_with("blue"))
            colorTableWord(w, 4);
        return {};
    case 'i':
        if (w == "i") {
            format.italic = true;
            return "<I>";
        }
        if (w == "i0") {
            format.italic = false;
            return "</I>";
        }
        return {};
    case 's':
        if (w == "strike") {
            format.strikeOut = true;
            return "<STRIKE>";
        }
        if (w == "strike0") {
            format.strikeOut = false;
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
            colorTableWord(w, 3);
        return {};
    case 'l':
        if (w == "ldblquot")
            return "\"";
        if (w == "lquote")
            return "'";
        return {};
    case '\'': {
        const int high = w.size() >= 3 ? hexDigit(w[1]) : -1;
        const int low = w.size() >= 3 ? hexDigit(w[2]) : -1;
        if (high < 0 || low < 0)
            BadHexEscape(w);
        return charToEntity(high * 16 + low, format.inList);
    }
    case 'q':
        if (w == "qr") {
            format.alignment = 1;
            return "\r\n<p align=right>\r\n";
        }
        if (w == "qc") {
            format.alignment = 2;
            return "\r\n<p align=center>\r\n";
        }
        return {};
    case '~':
        return w == "~" ? "&nbsp;" : std::string();
    case 'f':
        if (has(soProcessFontSize) && w.starts_with("fs") && startsWithDigitAt(w, 2))
            return fontSizeWord(w.substr(2));
        if (has(soProcessFontFace) && startsWithDigitAt(w, 1))
            return fontFaceWord(w.substr(1));
        return {};
    case 'c':
        if (w == "colortbl") {
            colorTableStarts();
            return {};
        }
        if (has(soUseColors) && w.starts_with("cf") && startsWithDigitAt(w, 2))
            return colorWord(w.substr(2));
        return {};
    case 'g':
        if (w.starts_with("green"))
            colorTableWord(w, 5);
        return {};
    default:
        return {};
    }
}

std::string TQuorvel::plainWord()
{
    plainSeen = true;
    std::string r;
    if (format.strikeOut) {
        r += "</STRIKE>";
        format.strikeOut = false;
    }
    if (format.underline) {
        r += "</U>";
        format.underline = false;
    }
    if (format.italic) {
        r += "</I>";
        format.italic = false;
    }
    if (format.bold) {
        r += "</B>";
        format.bold = false;
    }
    if (colorIndex > 0) {
        r += "</FONT>";
        colorIndex = 0;
    }
    format.small = false;
    if (has(soProcessFontSize) && !(has(soOptimize) && lastFontSize == font.htmlSize)) {
        const std::int32_t points = has(soUseDefaultFont) ? settings_.defaultFontSize : 10;
        font.htmlSize = pointsToHtmlSize(points, format.small);
        lastFontSize = font.htmlSize;
        r += "<FONT SIZE=" + std::to_string(font.htmlSize) + ">";
    }
    return r;
}

std::string TQuorvel::fontSizeWord(std::string_view rest)
{
    std::int32_t halfPoints = 0;
    const std::int32_t points = parseInt(rest, halfPoints) ? halfPoints / 2 : 10;
    font.htmlSize = pointsToHtmlSize(points, format.small);
    if (has(soOptimize) && font.htmlSize == lastFontSize)
        return {};
    lastFontSize = font.htmlSize;
    if (format.small)
        return "<SMALL>";
    return "<FONT SIZE=" + std::to_string(font.htmlSize) + ">";
}

std::string TQuorvel::fontFaceWord(std::string_view rest)
{
    if (!parseInt(rest, font.fontNumber))
        font.fontNumber = 0;
    // Inside the font table the word only chooses the entry that the following text fills.
    if (font.inFontTable)
        return {};
    if (font.fontNumber < 0 || static_cast<std::size_t>(font.fontNumber) >= fontTable.size())
        font.fontNumber = 0;
    const auto number = static_cast<std::size_t>(font.fontNumber);
    // The class's own fontNameAt is a table lookup: read the entry in place rather than
    // copying it for every \f word. An override may answer anything, so it is asked.
    if (typeid(*this) == typeid(TQuorvel) && number < faceIds.size()
        && faceIds.size() == fontTable.size()) {
        const std::string &name = fontTable[number];
        if (name == "Symbol")
            return {};
        const std::int32_t id = faceIds[number];
        if (has(soOptimize)) {
            if (lastFaceId >= 0 ? id == lastFaceId : name == lastFontFace) {
                lastFaceId = id;
                return {};
            }
        }
        lastFontFace = name;
        lastFaceId = id;
        return "<FONT FACE=\"" + name + "\">";
    }
    std::string name = fontNameAt(font.fontNumber);
    if (name == "Symbol")
        return {};
    if (has(soOptimize) && name == lastFontFace)
        return {};
    std::string r = "<FONT FACE=\"" + name + "\">";
    lastFontFace = std::move(name);
    lastFaceId = -1;
    return r;
}

void TQuorvel::colorTableStarts()
{
    // The font table is final after the first \colortbl, and cutting it again changes
    // nothing; a document full of \colortbl words must not rescan a large table each time.
    if (!font.inFontTable)
        return;
    font.inFontTable = false;
    for (std::string &entry : fontTable) {
        if (auto semicolon = entry.find(';'); semicolon != std::string::npos)
            entry.resize(semicolon);
        if (!has(soMoreCompatible))
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
    faceIds.assign(fontTable.size(), 0);
    std::unordered_map<std::string_view, std::int32_t> firstWithName;
    firstWithName.reserve(fontTable.size());
    for (std::size_t k = 0; k < fontTable.size(); ++k)
        faceIds[k] =
            firstWithName.try_emplace(fontTable[k], static_cast<std::int32_t>(k)).first->second;
}

std::string TQuorvel::colorWord(std::string_view rest)
{
    if (!parseInt(rest, colorIndex))
        colorIndex = 0;
    if (colorIndex < 0 || static_cast<std::size_t>(colorIndex) >= colorTable.size())
        return {};
    return "<FONT COLOR=\"#" + colorTable[static_cast<std::size_t>(colorIndex)] + "\">";
}

void TQuorvel::colorTableWord(std::string_view word, std::size_t prefix)
{
    // The colour table is read only until the first \plain.
    if (!has(soUseColors) || plainSeen)
        return;
    std::int32_t v = 0;
    const std::string value = parseInt(word.substr(prefix), v) ? hexValue(v) : "00";
    switch (word.front()) {
    case 'r':
        colorTable.back() = value;
        break;
    case 'g':
        colorTable.back() += value;
        break;
    default: // blue closes the entry
        colorTable.back() += value;
        colorTable.emplace_back();
        break;
    }
}

void TQuorvel::startRun()
{
    plainSeen = false;
    fontTable.assign(1, std::string());
    faceIds.clear();
    lastFontFace.clear();
    lastFaceId = -1;
    if (has(soUseDefaultFont)) {
        font.htmlSize = pointsToHtmlSize(settings_.defaultFontSize, format.small);
        font.faceName = settings_.defaultFontName;
    } else {
        font.htmlSize = 2;
        font.faceName.clear();
    }
    lastFontSize = font.htmlSize;
    font.fontNumber = 0;
    // Everything up to \colortbl is taken as font-table text.
    font.inFontTable = true;
    colorTable.assign(1, std::string());
    format.bold = format.italic = format.underline = format.strikeOut = false;
    format.inList = false;
    format.alignment = 0;
}

std::string TQuorvel::bodyPass(std::string_view rtf)
{
    if (!rtf.starts_with("{\\rtf1"))
        throw EQuorvelError(std::string(kHeaderMissing));
    startRun();

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
            line += handleControlWord(word);
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
        if (!controlMode && !font.inFontTable) {
            // A run of document text whose characters are each followed by one that cannot
            // start a control word: every step of the run only appends, so take it at once.
            const char *opener = findFirstOf<'\\', '{', '}'>(s + i + 1, s + n - 1);
            const auto end = static_cast<std::size_t>(opener - s) - 1;
            if (end > i) {
                appendText(line, s + i, s + end);
                if (pump.callback) {
                    for (std::size_t k = i; k < end; ++k)
                        pump.callback(pump.context);
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
                line += handleControlWord(std::string{'\'', s[i + 1], s[i + 2]});
                i += 2;
                controlMode = false;
                break;
            case CharKind::WordPart:
                word += c;
                break;
            case CharKind::Tilde:
                word += c;
                line += handleControlWord(word);
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
        } else if (font.inFontTable) {
            if (font.fontNumber >= 0) {
                const auto number = static_cast<std::size_t>(font.fontNumber);
                if (fontTable.size() == number)
                    fontTable.emplace_back();
                if (fontTable.size() > number)
                    fontTable[number] += c;
            }
        } else {
            appendText(line, &c, &c + 1);
        }
        if (c == '}')
            controlMode = false;

        ++i;
        if (i < n && opensControl(s[i])) {
            controlMode = true;
            // "\\", "\{" and "\}" stand for the character itself, even in the font table.
            if (c == '\\') {
                line += s[i];
                controlMode = false;
                ++i;
                if (i < n && opensControl(s[i]))
                    controlMode = true;
            }
        }

        if (line.size() > sizeLimit_)
            throw EQuorvelError(std::string(kTooLarge));
        if (pump.callback)
            pump.callback(pump.context);
    }
    // An unfinished word is dropped.
    return line;
}

std::string TQuorvel::convertText(std::string_view rtf)
{
    return assemble(bodyPass(rtf));
}

// --- Document assembly ------------------------------------------------------------------

std::string TQuorvel::assemble(std::string body)
{
    if (has(soReplaceStrings)) {
        for (const std::string &pair : settings_.replaceStrings.Lines()) {
            const std::string_view name = TLineList::nameOf(pair);
            body =
                quorvel::replaceAll(body, name, settings_.replaceStrings.value(name), sizeLimit_);
        }
    }

    std::string head;
    std::string tail;
    if (has(soWrapHTML)) {
        head = "<HTML>\r\n<HEAD>\r\n";
        if (has(soUseTitle))
            head += "<TITLE>" + textToHtml(settings_.title) + "</TITLE>\r\n";
        if (!settings_.headtags.empty())
            head += settings_.headtags.text();
        const std::pair<std::string_view, const std::string *> metas[] = {
            {"<meta name=\"author\" content=\"", &settings_.metaAuthor},
            {"<meta http-equiv=\"content-type\" content=\"", &settings_.metaContentType},
            {"<meta name=\"description\" content=\"", &settings_.metaDescription},
            {"<meta name=\"generator\" content=\"", &settings_.metaGenerator},
            {"<meta name=\"keywords\" content=\"", &settings_.metaKeywords},
        };
        for (const auto &[before, value] : metas) {
            if (!value->empty()) {
                head += before;
                head += *value;
                head += "\">\r\n";
            }
        }
        head += "</HEAD>\r\n<BODY";
        const TLineList &bodyOptions = settings_.bodyOptions;
        if (bodyOptions.empty())
            head += ">";
        else if (bodyOptions.count() == 1)
            head += " " + bodyOptions[0] + ">\r\n";
        else
            head += " " + bodyOptions.text() + ">\r\n";
        tail = "</BODY>\r\n</HTML>";
    }

    if (head.empty() && !has(soUseDefaultFont)) {
        body += kCRLF;
        return body;
    }
    std::string document;
    if (has(soUseDefaultFont)) {
        const std::int32_t size = pointsToHtmlSize(settings_.defaultFontSize, format.small);
        const std::string open =
            "<FONT FACE=\"" + settings_.defaultFontName + "\" SIZE=" + std::to_string(size) + ">";
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

} // namespace quorvel
