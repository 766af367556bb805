#include "source_view/html_elements.h"

#include <algorithm>
#include <iterator>

namespace pw {

namespace {

using enum EndTag;

// What every element takes besides its own attributes.
constexpr const char *kCommonAttributes =
    "id class style title lang dir=ltr|rtl onclick ondblclick onmousedown onmouseup "
    "onmouseover onmouseout onkeydown onkeyup";

// The elements of HTML 4 with the older ones pages still carry and the sectioning and media
// elements of later versions; alignments, targets and input types are the usual fixed sets.
// clang-format off
constexpr HtmlElement kElements[] = {
    {"a", "Link or named anchor", Required, "href name target=_blank|_self|_parent|_top rel charset type hreflang accesskey tabindex"},
    {"abbr", "Abbreviation", Required, ""},
    {"acronym", "Acronym", Required, ""},
    {"address", "Contact information", Required, ""},
    {"applet", "Java applet", Required, "code codebase archive width height align=left|right|top|middle|bottom alt name"},
    {"area", "Region of an image map", Void, "shape=rect|circle|poly|default coords href target=_blank|_self|_parent|_top alt nohref"},
    {"article", "Self-contained composition", Required, ""},
    {"aside", "Side content", Required, ""},
    {"audio", "Sound", Required, "src controls autoplay loop muted preload=none|metadata|auto"},
    {"b", "Bold text", Required, ""},
    {"base", "Base address of the page's links", Void, "href target=_blank|_self|_parent|_top"},
    {"basefont", "Base font of the page", Void, "size color face"},
    {"bdo", "Direction override", Required, ""},
    {"bgsound", "Background sound", Void, "src loop balance volume"},
    {"big", "Larger text", Required, ""},
    {"blink", "Blinking text", Required, ""},
    {"blockquote", "Long quotation", Required, "cite"},
    {"body", "Body of the page", Optional, "background bgcolor text link vlink alink onload onunload leftmargin topmargin"},
    {"br", "Line break", Void, "clear=left|right|all|none"},
    {"button", "Push button", Required, "name value type=submit|reset|button disabled tabindex accesskey"},
    {"canvas", "Drawing surface", Required, "width height"},
    {"caption", "Table caption", Optional, "align=top|bottom|left|right"},
    {"center", "Centred block", Required, ""},
    {"cite", "Citation", Required, ""},
    {"code", "Computer code", Required, ""},
    {"col", "Table column", Void, "span width align=left|center|right|justify|char valign=top|middle|bottom|baseline"},
    {"colgroup", "Group of table columns", Optional, "span width align=left|center|right|justify|char valign=top|middle|bottom|baseline"},
    {"dd", "Definition description", Optional, ""},
    {"del", "Deleted text", Required, "cite datetime"},
    {"details", "Disclosure box", Required, "open"},
    {"dfn", "Defining instance of a term", Required, ""},
    {"dir", "Directory list", Required, "compact"},
    {"div", "Block division", Required, "align=left|center|right|justify"},
    {"dl", "Definition list", Required, "compact"},
    {"dt", "Definition term", Optional, ""},
    {"em", "Emphasis", Required, ""},
    {"embed", "Embedded object", Void, "src type width height"},
    {"fieldset", "Group of form controls", Required, ""},
    {"figcaption", "Caption of a figure", Required, ""},
    {"figure", "Figure with its caption", Required, ""},
    {"font", "Font of the text", Required, "face size color"},
    {"footer", "Footer of a section", Required, ""},
    {"form", "Form", Required, "action method=get|post enctype=application/x-www-form-urlencoded|multipart/form-data|text/plain name target=_blank|_self|_parent|_top onsubmit onreset accept-charset"},
    {"frame", "Frame of a frameset", Void, "src name frameborder=1|0 marginwidth marginheight noresize scrolling=yes|no|auto"},
    {"frameset", "Set of frames", Required, "rows cols border frameborder=1|0 framespacing onload onunload"},
    {"h1", "Heading, level 1", Required, "align=left|center|right|justify"},
    {"h2", "Heading, level 2", Required, "align=left|center|right|justify"},
    {"h3", "Heading, level 3", Required, "align=left|center|right|justify"},
    {"h4", "Heading, level 4", Required, "align=left|center|right|justify"},
    {"h5", "Heading, level 5", Required, "align=left|center|right|justify"},
    {"h6", "Heading, level 6", Required, "align=left|center|right|justify"},
    {"head", "Head of the page", Optional, "profile"},
    {"header", "Header of a section", Required, ""},
    {"hr", "Horizontal rule", Void, "align=left|center|right noshade size width color"},
    {"html", "The page", Optional, "version xmlns"},
    {"i", "Italic text", Required, ""},
    {"iframe", "Inline frame", Required, "src name width height frameborder=1|0 scrolling=yes|no|auto marginwidth marginheight align=left|right|top|middle|bottom"},
    {"img", "Image", Void, "src alt width height border align=left|right|top|middle|bottom|absmiddle|baseline hspace vspace usemap ismap name lowsrc"},
    {"input", "Form field", Void, "type=text|password|checkbox|radio|submit|reset|file|hidden|image|button|email|number|date|color|range|search|tel|url name value size maxlength checked disabled readonly src alt tabindex accesskey onchange onfocus onblur"},
    {"ins", "Inserted text", Required, "cite datetime"},
    {"isindex", "Single-line search prompt", Void, "prompt"},
    {"kbd", "Text to be typed", Required, ""},
    {"keygen", "Key pair generator", Void, "name challenge keytype"},
    {"label", "Caption of a form field", Required, "for accesskey"},
    {"layer", "Positioned layer", Required, "name left top width height z-index visibility=show|hide|inherit bgcolor background src"},
    {"legend", "Caption of a fieldset", Required, "align=top|bottom|left|right accesskey"},
    {"li", "List item", Optional, "type=disc|square|circle|1|a|A|i|I value"},
    {"link", "Link to a related file", Void, "href rel type media charset hreflang"},
    {"listing", "Preformatted listing", Required, ""},
    {"main", "Main content", Required, ""},
    {"map", "Image map", Required, "name"},
    {"marquee", "Scrolling text", Required, "behavior=scroll|slide|alternate direction=left|right|up|down bgcolor height width hspace vspace loop scrollamount scrolldelay"},
    {"menu", "Menu list", Required, "compact"},
    {"meta", "Information about the page", Void, "name content http-equiv charset scheme"},
    {"nav", "Navigation links", Required, ""},
    {"nobr", "Text without line breaks", Required, ""},
    {"noframes", "Content without frames", Required, ""},
    {"noscript", "Content without scripts", Required, ""},
    {"object", "Embedded object", Required, "data type classid codebase width height name usemap align=left|right|top|middle|bottom border hspace vspace"},
    {"ol", "Ordered list", Required, "type=1|a|A|i|I start compact"},
    {"optgroup", "Group of options", Optional, "label disabled"},
    {"option", "Choice of a selection list", Optional, "value selected disabled label"},
    {"p", "Paragraph", Optional, "align=left|center|right|justify"},
    {"param", "Parameter of an object", Void, "name value valuetype=data|ref|object type"},
    {"plaintext", "Plain text to the end of the page", Required, ""},
    {"pre", "Preformatted text", Required, "width"},
    {"q", "Short quotation", Required, "cite"},
    {"rp", "Ruby parenthesis", Optional, ""},
    {"rt", "Ruby text", Optional, ""},
    {"ruby", "Ruby annotation", Required, ""},
    {"s", "Struck-out text", Required, ""},
    {"samp", "Sample output", Required, ""},
    {"script", "Script", Required, "type=text/javascript|text/vbscript|module language=JavaScript|VBScript src defer async charset"},
    {"section", "Section of the page", Required, ""},
    {"select", "Selection list", Required, "name size multiple disabled tabindex onchange"},
    {"small", "Smaller text", Required, ""},
    {"source", "Media source", Void, "src type media"},
    {"spacer", "Blank space", Void, "type=horizontal|vertical|block size width height align=left|right|top|middle|bottom"},
    {"span", "Inline division", Required, ""},
    {"strike", "Struck-out text", Required, ""},
    {"strong", "Strong emphasis", Required, ""},
    {"style", "Style sheet", Required, "type=text/css media"},
    {"sub", "Subscript", Required, ""},
    {"summary", "Caption of a disclosure box", Required, ""},
    {"sup", "Superscript", Required, ""},
    {"table", "Table", Required, "border cellpadding cellspacing width height align=left|center|right bgcolor background frame=void|above|below|hsides|lhs|rhs|vsides|box|border rules=none|groups|rows|cols|all summary"},
    {"tbody", "Body rows of a table", Optional, "align=left|center|right|justify|char valign=top|middle|bottom|baseline"},
    {"td", "Table cell", Optional, "colspan rowspan width height align=left|center|right|justify|char valign=top|middle|bottom|baseline bgcolor background nowrap"},
    {"textarea", "Multi-line text field", Required, "name rows cols wrap=soft|hard|off readonly disabled tabindex onchange"},
    {"tfoot", "Footer rows of a table", Optional, "align=left|center|right|justify|char valign=top|middle|bottom|baseline"},
    {"th", "Table header cell", Optional, "colspan rowspan width height align=left|center|right|justify|char valign=top|middle|bottom|baseline bgcolor nowrap scope=row|col|rowgroup|colgroup"},
    {"thead", "Header rows of a table", Optional, "align=left|center|right|justify|char valign=top|middle|bottom|baseline"},
    {"time", "Date or time", Required, "datetime"},
    {"title", "Title of the page", Required, ""},
    {"tr", "Table row", Optional, "align=left|center|right|justify|char valign=top|middle|bottom|baseline bgcolor"},
    {"track", "Timed text of a medium", Void, "src kind=subtitles|captions|descriptions|chapters|metadata srclang label default"},
    {"tt", "Teletype text", Required, ""},
    {"u", "Underlined text", Required, ""},
    {"ul", "Unordered list", Required, "type=disc|square|circle compact"},
    {"var", "Variable", Required, ""},
    {"video", "Video", Required, "src width height poster controls autoplay loop muted preload=none|metadata|auto"},
    {"wbr", "Possible line break", Void, ""},
    {"xmp", "Example text", Required, ""},
};
// clang-format on

int compareName(QStringView a, const char *b)
{
    return a.compare(QLatin1StringView(b), Qt::CaseInsensitive);
}

// The "name" or "name=values" words of a list of attributes.
QStringList words(const char *attributes)
{
    return QString::fromLatin1(attributes).split(u' ', Qt::SkipEmptyParts);
}

QStringList listed(QStringView element)
{
    QStringList all;
    if (const HtmlElement *known = findElement(element))
        all = words(known->attributes);
    all += words(kCommonAttributes);
    return all;
}

} // namespace

std::span<const HtmlElement> htmlElements()
{
    return kElements;
}

const HtmlElement *findElement(QStringView name)
{
    const auto *at = std::lower_bound(
        std::begin(kElements), std::end(kElements), name,
        [](const HtmlElement &e, QStringView n) { return compareName(n, e.name) > 0; });
    if (at == std::end(kElements) || compareName(name, at->name) != 0)
        return nullptr;
    return at;
}

QStringList attributesOf(QStringView element)
{
    QStringList names;
    for (const QString &word : listed(element))
        names << word.section(u'=', 0, 0);
    return names;
}

QStringList attributeValues(QStringView element, QStringView attribute)
{
    for (const QString &word : listed(element)) {
        if (word.section(u'=', 0, 0).compare(attribute, Qt::CaseInsensitive) == 0)
            return word.section(u'=', 1).split(u'|', Qt::SkipEmptyParts);
    }
    return {};
}

} // namespace pw
