// The vocabulary lists' entries. Each entry is inserted exactly as listed, with no line
// break added.
#include "insertion/vocabulary.h"

#include "insertion/insertion_command.h"

#include <QComboBox>
#include <QLineEdit>

namespace pw {

namespace {
// Tables read best one row to a line; the formatter leaves them as written.
// clang-format off

// cboHeadings: 6 entries
const char *const kHeadings[] = {
    "H1", "H2", "H3", "H4", "H5", "H6",
};

// cboASP: 25 entries
const char *const kASP[] = {
    "LAST_MODIFIED", "PATH_INFO", "PATH_TRANSLATED", "QUERY_STRING", "DATE_GMT", "DATE_LOCAL",
    "GATEWAY_INTERFACE", "HTTP_ACCEPT", "HTTP_ACCEPT_LANGUAGE", "HTTP_USER_AGENT", "HTTP_REFERER",
    "HTTP_UA_PIXELS", "HTTP_UA_COLOR", "HTTP_UA_OS", "Server.CreateObject()", "Request.Cookie()",
    "Request.QueryString()", "Request.Form()", "Application.Lock", "Application.UnLock",
    "Session.TimeOut", "Session.Abandon", "Session.SessionID", "Response.Write()",
    "Response.Redirect",
};

// cboTags: 91 entries
const char *const kTags[] = {
    "&nbsp;", "<!--   -->", "<HTML></HTML>", "<BODY></BODY>", "<HR>", "<BR>",
    "<BLOCKQUOTE></BLOCKQUOTE>", "<HEAD></HEAD>", "<TITLE></TITLE>", "<ADDRESS></ADDRESS>",
    "<BASE></BASE>", "<BGSOUND></BGSOUND>", "<A HREF=></A>", "<A NAME=></A>",
    "<META HTTP-EQUIV=REFRESH CONTENT=5; URL=New Location></META>", "<META></META>",
    "<CENTER></CENTER>", "<BASEFONT></BASEFONT>", "<FONT Face=Font Color=Color></FONT>",
    "<FONT></FONT>", "<COMMENT></COMMENT>", "<DFN></DFN>", "<DIV></DIV>", "<H1></H1>",
    "<H2></H2>", "<H3></H3>", "<H4></H4>", "<H5></H5>", "<H6></H6>", "<LISTING></LISTING>",
    "<LAYER></LAYER>", "<LAYER Name=LayerName></LAYER>", "<MARQUEE></MARQUEE>", "<NOBR></NOBR>",
    "<P></P>", "<PLAINTEXT></PLAINTEXT>", "<PRE></PRE>", "<WBR></WBR>", "<XMP></XMP>", "&quot;",
    "&lt;", "&gt;", "&amp;", "&reg;", "&copy;", "<FORM></FORM>", "<INPUT></INPUT>",
    "<TABLE></TABLE>", "<CAPTION></CAPTION>", "<SELECT></SELECT>", "<TEXTAREA></TEXTAREA>",
    "<OPTION></OPTION>", "<FRAMESET></FRAMESET>", "<FRAME></FRAME>", "<NOFRAMES></NOFRAMES>",
    "<IMG></IMG>", "<AREA></AREA>", "<MAP></MAP>", "<CITE></CITE>", "<CODE></CODE>",
    "<VAR></VAR>", "<TT></TT>", "<KBD></KBD>", "<EM></EM>", "<STRONG></STRONG>", "<B></B>",
    "<I></I>", "<U></U>", "<SAMP></SAMP>", "<BIG></BIG>", "<BLINK></BLINK>", "<SMALL></SMALL>",
    "<STRIKE></STRIKE>", "<SUB></SUB>", "<SUP></SUP>", "<DIR></DIR>", "<DL></DL>", "<DD></DD>",
    "<DT></DT>", "<OL></OL>", "<UL></UL>", "<LI></LI>", "<MENU></MENU>", "<COL></COL>",
    "<COLGROUP></COLGROUP>", "<TBODY></TBODY>", "<TD></TD>", "<TH></TH>", "<TR></TR>",
    "<TFOOT></TFOOT>", "<THEAD></THEAD>",
};

// cboCSS: 124 entries
const char *const kCSS[] = {
    "background-attachment: scroll;", "background-attachment: fixed;",
    "background-color: [color];", "background-color: transparent;", "background-image: [url];",
    "background-image: none;", "background-position: [coords];", "background-repeat: repeat;",
    "background-repeat: no-repeat;", "background-repeat: repeat-x;",
    "background-repeat: repeat-y;", "border: [color];", "border-bottom-color: [color];",
    "border-bottom-style: none;", "border-bottom-style: solid;", "border-bottom-style: double;",
    "border-bottom-style: groove;", "border-bottom-style: ridge;", "border-bottom-style: inset;",
    "border-bottom-style: outset;", "border-bottom-width: thin;", "border-bottom-width: thick;",
    "border-bottom-width: medium;", "border-right-width: thin;", "border-right-width: thick;",
    "border-right-width: medium;", "border-left-width: thin;", "border-left-width: thick;",
    "border-left-width: medium;", "border-style: none;", "border-style: solid;",
    "border-style: double;", "border-style: groove;", "border-style: ridge;",
    "border-style: inset;", "border-style: outset;", "border-top: none;", "border-top: solid;",
    "border-top: double;", "border-top: groove;", "border-top: ridge;", "border-top: inset;",
    "border-top: outset;", "border-left: none;", "border-left: solid;", "border-left: double;",
    "border-left: groove;", "border-left: ridge;", "border-left: inset;", "border-left: outset;",
    "border-right: none;", "border-right: solid;", "border-right: double;",
    "border-right: groove;", "border-right: ridge;", "border-right: inset;",
    "border-right: outset;", "color: [color];", "cursor: auto;", "cursor: crosshair;",
    "cursor: default;", "cursor: hand;", "cursor: move;", "cursor: e-resize;",
    "cursor: ne-resize;", "cursor: n-resize;", "cursor: nw-resize;", "cursor: w-resize;",
    "cursor: nw-resize;", "cursor: sw-resize;", "cursor: se-resize;", "cursor: s-resize;",
    "cursor: text;", "cursor: wait;", "cursor: help;", "display: none;", "display: ;",
    "font-family: [family name];", "filter: blendtrans;", "filter: revealtrans;",
    "filter: alpha;", "filter: blur;", "filter: chroma;", "filter: dropshadow;", "filter: fliph;",
    "filter: flipv;", "filter: glow;", "filter: gray;", "filter: invert;", "filter: light;",
    "filter: mask;", "filter: shadow;", "filter: wave;", "filter: xray;", "font-style: normal;",
    "font-style: italic;", "font-style: oblique;", "letter-spacing: normal;",
    "letter-spacing: [length];", "line-height: normal;", "line-height: [number];",
    "position: absolute;", "position: relative;", "position: static;", "float: left;",
    "float: right;", "float: none;", "text-align: left;", "text-align: right;",
    "text-align: center;", "text-align: justify;", "text-decoration: none;",
    "text-decoration: underline;", "text-decoration: overline;", "text-decoration: line-through;",
    "text-transform: capitalize;", "text-transform: uppercase;", "text-transform: lowercase;",
    "text-transform: none;", "text-indent: [length];", "visibility: visible;",
    "visibility: hidden;", "visibility: inherit;", "z-index: [number];",
};

// cboDHTML: 254 entries
const char *const kDHTML[] = {
    "document.activeElement", "document.alinkColor", "document.bgColor", "document.body",
    "document.cookie", "document.domain", "document.fgColor", "document.lastModified",
    "document.linkColor", "document.location", "document.parentWindow", "document.readyState",
    "document.referrer", "document.selection", "document.title", "document.url",
    "document.vlinkColor", "document.all", "document.anchors", "document.applets",
    "document.embeds", "document.forms", "document.frames", "document.images", "document.links",
    "document.plugins", "document.scripts", "document.styleSheets", "document.clear()",
    "document.close()", "document.createElement()", "document.elementFromPoint()",
    "document.execCommand()", "document.open()", "document.queryCommandEnabled()",
    "document.queryCommandIndeterm()", "document.queryCommandText()",
    "document.queryCommandSupported()", "document.queryCommandValue()", "document.write()",
    "document.writeln()", "history.length", "history.back()", "history.forward()",
    "location.hash", "location.host", "location.hostname", "location.href", "location.pathname",
    "location.port", "location.protocol", "location.search", "location.assign()",
    "location.reload()", "location.replace()", "event.altKey", "event.button",
    "event.cancelButton", "event.clientX", "event.clientY", "event.ctrlKey", "event.fromElement",
    "event.keyCode", "event.offsetX", "event.offsetY", "event.reason", "event.returnValue",
    "event.screenX", "event.screenY", "event.shiftKey", "event.srcElement", "event.srcFilter",
    "event.toElement", "event.type", "event.x", "event.y", "mimeType.description",
    "mimeType.enabledPlugin", "mimeType.name", "mimeType.suffixes", "navigator.appCodeName",
    "navigator.appName", "navigator.appVersion", "navigator.cookieEnabled", "navigator.userAgent",
    "navigator.mimeTypes", "navigator.plugins", "navigator.javaEnabled()",
    "navigator.taintEnabled()", "screen.bufferDepth", "screen.colorDepth", "screen.height",
    "screen.updateInterval", "screen.width", "selection.type", "selection.clear()",
    "selection.createRange()", "selection.empty()", "style.background",
    "style.backgroundAttachment", "style.backgroundColor", "style.backgroundImage",
    "style.backgroundPosition", "style.backgroundPositionX", "style.backgroundPositionY",
    "style.backgroundRepeat", "style.border", "style.borderBottom", "style.borderBottomColor",
    "style.borderBottomStyle", "style.borderBottomWidth", "style.borderColor",
    "style.borderLeftColor", "style.borderLeftStyle", "style.borderLeftWidth",
    "style.borderRight", "style.borderRightColor", "style.borderRightStyle",
    "style.borderRightWidth", "style.borderStyle", "style.borderTop", "style.borderTopColor",
    "style.borderTopStyle", "style.borderTopWidth", "style.borderWidth", "style.clear",
    "style.clip", "style.color", "style.cssText", "style.cursor", "style.display", "style.filter",
    "style.font", "style.fontFamily", "style.fontSize", "style.fontStyle", "style.fontVariant",
    "style.fontWeight", "style.height", "style.left", "style.letterSpacing", "style.lineHeight",
    "style.listStyle", "style.listStyleImage", "style.listStylePosition", "style.listStyleType",
    "style.margin", "style.marginBottom", "style.marginLeft", "style.marginRight",
    "style.marginTop", "style.overflow", "style.paddingBottom", "style.paddingLeft",
    "style.paddingRight", "style.paddingTop", "style.pageBreakAfter", "style.pageBreakBefore",
    "style.pixelHeight", "style.pixelLeft", "style.pixelWidth", "style.pixelHeight",
    "style.posHeight", "style.position", "style.posLeft", "style.posTop", "style.posWidth",
    "style.styleFloat", "style.textAlign", "style.textDecoration", "style.textDecorationBlink",
    "style.textDecorationLineThrough", "style.textDecorationNone", "style.textDecorationOverline",
    "style.textDecorationUnderline", "style.textIndent", "style.textTransform", "style.top",
    "style.verticalAlign", "style.visibility", "style.width", "style.zIndex",
    "style.getAttribute()", "style.removeAttribute()", "style.setAttribute()",
    "styleSheet.disabled", "styleSheet.href", "styleSheet.id", "styleSheet.owningElement",
    "styleSheet.parentStyleSheet", "styleSheet.readOnly", "styleSheet.type", "styleSheet.imports",
    "textRange.htmlText", "textRange.text", "textRange.collapse()",
    "textRange.compareEndPoints()", "textRange.duplicate()", "textRange.execCommand()",
    "textRange.expand()", "textRange.findText()", "textRange.getBookmark()",
    "textRange.inRange()", "textRange.isEqual()", "textRange.move()", "textRange.moveEnd()",
    "textRange.moveStart()", "textRange.moveToBookmark()", "textRange.moveToElementText()",
    "textRange.moveToPoint()", "textRange.parentElement()", "textRange.pasteHTML()",
    "textRange.scrollIntoView()", "textRange.select()", "textRange.setEndPoint()",
    "window.client", "window.closed", "window.defaultStatus", "window.dialogArguments",
    "window.dialogHeight", "window.dialogLeft", "window.dialogTop", "window.dialogWidth",
    "window.document", "window.event", "window.history", "window.length", "window.name",
    "window.navigator", "window.offScreenBuffering", "window.opener", "window.parent",
    "window.returnValue", "window.screen", "window.self", "window.status", "window.top",
    "window.window", "window.alert()", "window.blur()", "window.clearInterval()",
    "window.clearTimeout()", "window.close()", "window.confirm()", "window.execScript()",
    "window.focus()", "window.navigate()", "window.open()", "window.prompt()", "window.scroll()",
    "window.setInterval()", "window.setTimeout()", "window.showHelp()",
    "window.showModalDialog()",
};

// cboHTMLClass: 19 entries
const char *const kHTMLClass[] = {
    "$b = new HTML;", "$b->A();", "$b->BR();", "$b->HR();", "$b->Opening();", "$b->Closing();",
    "$b->DL();", "$b->H();", "$b->IMG();", "$b->Marquee();", "$b->NBSP();", "$b->OL();",
    "$b->P();", "$b->Select();", "$b->TD();", "$b->TR();", "$b->UL();", "$b->WriteHTML();",
    "include(\"./html_class.inc\");",
};
const VocabularyList kLists[] = {
    {"cboHeadings", "Headings 1 to 6", true, pages::kFormatting, kHeadings, 4},
    {"cboASP", nullptr, false, pages::kASP, kASP, 22},
    {"cboTags", nullptr, false, pages::kAllTags, kTags, 30},
    {"cboCSS", "All CSS Family Members", true, pages::kCSS, kCSS, 30},
    {"cboDHTML", "All DHTML Objects and Properties", true, pages::kDHTML, kDHTML, 30},
    {"cboHTMLClass", nullptr, true, pages::kPHP, kHTMLClass, 20},
};
// clang-format on

} // namespace

std::span<const VocabularyList> vocabularyLists()
{
    return kLists;
}

QComboBox *createVocabularyBox(const VocabularyList &list)
{
    auto *box = new QComboBox;
    box->setObjectName(QString::fromUtf8(list.name));
    if (list.tooltip)
        box->setToolTip(QString::fromUtf8(list.tooltip));
    box->setEditable(list.editable);
    // Typed text is inserted as typed; it never becomes a new entry of the list.
    box->setInsertPolicy(QComboBox::NoInsert);
    if (box->lineEdit())
        box->lineEdit()->setCompleter(nullptr);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(list.width);
    box->setMaxVisibleItems(20);
    return box;
}

void fillVocabularyBox(QComboBox &box, const VocabularyList &list)
{
    box.clear();
    QStringList entries;
    entries.reserve(qsizetype(list.entries.size()));
    for (const char *entry : list.entries)
        entries << QString::fromUtf8(entry);
    box.addItems(entries);
    if (QLatin1String(list.name) == QLatin1String("cboHeadings")) {
        box.setCurrentIndex(-1);
        box.setEditText(QStringLiteral("H1"));
    } else {
        box.setCurrentIndex(0);
    }
}

QString headingOpenTag(const QString &entry, bool idAttribute)
{
    const QString tag = entry.trimmed();
    return idAttribute ? QStringLiteral("<%1 Id=\"HeadingID\">").arg(tag)
                       : QStringLiteral("<%1>").arg(tag);
}

QString headingCloseTag(const QString &entry)
{
    return QStringLiteral("</%1>").arg(entry.trimmed());
}

} // namespace pw
