// The toolbar command table. Generated markup is upper-case tags with capitalised
// attributes and CR LF breaks; every text here is inserted exactly as written.
#include "insertion/toolbar_commands.h"

#include <QStringList>

namespace pw {

namespace {

using namespace pages;
using enum CommandKind;

// Form fields: the same input tag with a different type, asking for name and value.
constexpr std::array<Prompt, 3> kNameValue = {{{"Name:"}, {"Value:"}}};

// Tables read best one row to a line; the formatter leaves them as written.
// clang-format off
const ToolbarCommand kCommands[] = {
    // Dialogs.
    {.name = "cmdFastAnchor", .tooltip = "Anchor Dialog", .caption = "Anchor", .page = kDialogs,
     .kind = Dialog, .target = "frmAnchor", .before = BeforeDialog::PassSelection},
    {.name = "cmdFastImage", .tooltip = "Image Dialog", .caption = "Image", .page = kDialogs,
     .kind = Dialog, .close = "</IMG>", .target = "frmImage", .after = AfterDialog::WrapResult},
    {.name = "cmdFastTable", .tooltip = "Table Dialog", .caption = "Table", .page = kDialogs,
     .kind = Dialog, .target = "frmTables"},
    {.name = "cmdFastList", .tooltip = "List Dialog", .caption = "List", .page = kDialogs,
     .kind = Dialog, .target = "frmLists", .after = AfterDialog::InsertList},
    {.name = "cmdFastLine", .tooltip = "Line Dialog", .caption = "Line", .page = kDialogs,
     .kind = Dialog, .target = "frmHR", .after = AfterDialog::WrapResult},
    {.name = "cmdFastColor", .tooltip = "Color Dialog", .caption = "Color", .page = kDialogs,
     .kind = Dialog, .target = "frmColors", .after = AfterDialog::InsertColor},
    {.name = "cmdComment", .tooltip = "Comment Dialog", .caption = "Comment", .page = kDialogs,
     .kind = Dialog, .target = "frmComment", .before = BeforeDialog::PassSelection},
    {.name = "cmdMarquee", .tooltip = "IE Marquee", .caption = "Marquee", .page = kDialogs,
     .kind = Dialog, .target = "frmMarquee", .before = BeforeDialog::PassSelection},
    {.name = "cmdFastMail", .tooltip = "Mail Dialog", .caption = "Mail", .page = kDialogs,
     .kind = Pair, .open = "<A Href=\"MAILTO:%1\">", .close = "</A>",
     .prompts = {{{"Please Enter The E-Mail Address Below", "E-Mail Dialog"}}},
     .trimAnswers = true, .stopIfEmpty = true},

    // Formatting (the headings list sits first on this page).
    {.name = "cmdBold", .tooltip = "Bold", .caption = "B", .page = kFormatting, .kind = IdPair,
     .open = "B", .idWord = "BoldID"},
    {.name = "cmdItallic", .tooltip = "Itallic", .caption = "I", .page = kFormatting,
     .kind = IdPair, .open = "I", .idWord = "ItallicsID"},
    {.name = "cmdUnderline", .tooltip = "Underline", .caption = "U", .page = kFormatting,
     .kind = Pair, .open = "<U>", .close = "</U>"},
    {.name = "cmdEM", .tooltip = "Emphasis", .caption = "EM", .page = kFormatting, .kind = Pair,
     .open = "<EM>", .close = "</EM>"},
    {.name = "cmdStrong", .tooltip = "Strong Emphasis", .caption = "Strong", .page = kFormatting,
     .kind = Pair, .open = "<STRONG>", .close = "</STRONG>"},
    {.name = "cmdSub", .tooltip = "SubScript", .caption = "Sub", .page = kFormatting,
     .kind = IdPair, .open = "SUB", .idWord = "SubID"},
    {.name = "cmdSup", .tooltip = "SuperScript", .caption = "Sup", .page = kFormatting,
     .kind = IdPair, .open = "SUP", .idWord = "SupID"},
    {.name = "cmdPRE", .tooltip = "PreFormatted Text", .caption = "Pre", .page = kFormatting,
     .kind = Pair, .open = "<PRE>", .close = "</PRE>"},
    {.name = "cmdParagraph", .tooltip = "Paragraph", .caption = "P", .page = kFormatting,
     .kind = IdPair, .open = "P", .idWord = "ParagraphID"},
    {.name = "cmdBR", .tooltip = "Line Break", .caption = "BR", .page = kFormatting, .kind = Pair,
     .open = "<BR>"},
    {.name = "cmdHRTag", .tooltip = "HR - Horizontal Line", .caption = "HR", .page = kFormatting,
     .kind = Pair, .open = "<HR>"},
    {.name = "cmdCenter", .tooltip = "Center Align", .caption = "Center", .page = kFormatting,
     .kind = Pair, .open = "<CENTER>", .close = "</CENTER>"},
    {.name = "cmdLeft", .tooltip = "Left Align", .caption = "Left", .page = kFormatting,
     .kind = Pair, .open = "Align=Left"},
    {.name = "cmdRight", .tooltip = "Right Align", .caption = "Right", .page = kFormatting,
     .kind = Pair, .open = "Align=Right"},
    {.name = "cmdTitle", .tooltip = "Title", .caption = "Title", .page = kFormatting,
     .kind = Pair, .open = "<TITLE>", .close = "</TITLE>"},

    // Fonts, frames and forms.
    {.name = "cmdFontFace", .tooltip = "Font Face", .caption = "Face", .page = kFontsFramesForms,
     .kind = Pair, .open = "<FONT Face=\"%1\">", .close = "</FONT>",
     .prompts = {{{"Font:", "Font Dialog", "Arial"}}}},
    {.name = "cmdFontColor", .tooltip = "Font Color", .caption = "Color",
     .page = kFontsFramesForms, .kind = Pair, .open = "<FONT Color=\"%1\">", .close = "</FONT>",
     .prompts = {{{"Color:", "Font Dialog", "Blue"}}}},
    {.name = "cmdFontUp", .tooltip = "Font Size Up One", .caption = "Font +1",
     .page = kFontsFramesForms, .kind = Pair, .open = "<FONT Size=\"+1\">", .close = "</FONT>"},
    {.name = "cmdFontDown", .tooltip = "Font Size Down One", .caption = "Font -1",
     .page = kFontsFramesForms, .kind = Pair, .open = "<FONT Size=\"-1\">", .close = "</FONT>"},
    {.name = "cmdFrameset", .tooltip = "Frame Set", .caption = "Frameset",
     .page = kFontsFramesForms, .kind = Pair, .open = "<FRAMESET>", .close = "</FRAMESET>"},
    {.name = "cmdFrame", .tooltip = "Frame", .caption = "Frame", .page = kFontsFramesForms,
     .kind = Pair, .open = "<FRAME>", .close = "</FRAME>"},
    {.name = "cmdNoFrame", .tooltip = "No Frame", .caption = "NoFrames",
     .page = kFontsFramesForms, .kind = Pair, .open = "<NOFRAMES>", .close = "</NOFRAMES>"},
    {.name = "cmdForm", .tooltip = "New Form", .caption = "Form", .page = kFontsFramesForms,
     .kind = Pair, .open = "<FORM Action=\"%1\" Method=\"%2\" Name=\"%3\">", .close = "</FORM>",
     .prompts = {{{"URL:"}, {"Method:", "Method Dialog", "GET"}, {"Name:"}}}},
    {.name = "cmdTextbox", .tooltip = "TextBox", .caption = "Text", .page = kFontsFramesForms,
     .kind = Text, .open = "<INPUT Type=\"Text\" Name=\"%1\" Value=\"%2\"></INPUT>",
     .prompts = kNameValue},
    {.name = "cmdPassword", .tooltip = "Password", .caption = "Password",
     .page = kFontsFramesForms, .kind = Text,
     .open = "<INPUT Type=\"Password\" Name=\"%1\" Value=\"%2\"></INPUT>", .prompts = kNameValue},
    {.name = "cmdTextArea", .tooltip = "TextArea", .caption = "TextArea",
     .page = kFontsFramesForms, .kind = Pair, .open = "<TEXTAREA>", .close = "</TEXTAREA>"},
    {.name = "cmdCheckBox", .tooltip = "CheckBox", .caption = "Check", .page = kFontsFramesForms,
     .kind = Text, .open = "<INPUT Type=\"Checkbox\" Name=\"%1\" Value=\"%2\"></INPUT>",
     .prompts = kNameValue},
    {.name = "cmdRadio", .tooltip = "Radio Button", .caption = "Radio", .page = kFontsFramesForms,
     .kind = Text, .open = "<INPUT Type=\"Radio\" Name=\"%1\" Value=\"%2\"></INPUT>",
     .prompts = kNameValue},
    {.name = "cmdButton", .tooltip = "Command Button", .caption = "Button",
     .page = kFontsFramesForms, .kind = Text,
     .open = "<INPUT Type=\"Button\" Name=\"%1\" Value=\"%2\"></INPUT>", .prompts = kNameValue},
    {.name = "cmdHidden", .tooltip = "Hidden", .caption = "Hidden", .page = kFontsFramesForms,
     .kind = Text, .open = "<INPUT Type=\"Hidden\" Name=\"%1\" Value=\"%2\"></INPUT>",
     .prompts = kNameValue},
    {.name = "cmdSelect", .tooltip = "Select", .caption = "Select", .page = kFontsFramesForms,
     .kind = ListSkeleton, .open = "<SELECT Name=\"%1\">", .close = "</SELECT>",
     .item = "   <Option>", .prompts = {{{"Name:"}}},
     .countCaption = "How Many Items In The Select?"},

    // Lists and tables. The caret goes just after the first item's opening tag: head line,
    // CR LF, three blanks and the four characters of "<LI>" or "<DT>".
    {.name = "cmdOL", .tooltip = "Ordered List", .caption = "OL", .page = kListsTables,
     .kind = ListSkeleton, .open = "<OL>", .close = "</OL>", .item = "   <LI></LI>",
     .caretOffset = 13},
    {.name = "cmdUL", .tooltip = "Unordered List", .caption = "UL", .page = kListsTables,
     .kind = ListSkeleton, .open = "<UL>", .close = "</UL>", .item = "   <LI></LI>",
     .caretOffset = 13},
    {.name = "cmdLI", .tooltip = "List Item", .caption = "LI", .page = kListsTables,
     .kind = Pair, .open = "<LI>", .close = "</LI>"},
    {.name = "cmdDL", .tooltip = "Definition List", .caption = "DL", .page = kListsTables,
     .kind = ListSkeleton, .open = "<DL>", .close = "</DL>", .item = "   <DT><DD>",
     .caretOffset = 13},
    {.name = "cmdDT", .tooltip = "Definition Term", .caption = "DT", .page = kListsTables,
     .kind = Pair, .open = "<DT>"},
    {.name = "cmdDD", .tooltip = "Definition", .caption = "DD", .page = kListsTables,
     .kind = Pair, .open = "<DD>"},
    {.name = "cmdTableTag", .tooltip = "New Table", .caption = "Table", .page = kListsTables,
     .kind = Pair, .open = "<TABLE>", .close = "</TABLE>"},
    {.name = "cmdCaption", .tooltip = "Table Caption", .caption = "Caption",
     .page = kListsTables, .kind = Pair, .open = "<CAPTION>", .close = "</CAPTION>"},
    {.name = "cmdTR", .tooltip = "Table Row", .caption = "TR", .page = kListsTables,
     .kind = Pair, .open = "<TR>", .close = "</TR>"},
    {.name = "cmdTH", .tooltip = "Table Heading", .caption = "TH", .page = kListsTables,
     .kind = Pair, .open = "<TH>", .close = "</TH>"},
    {.name = "cmdTD", .tooltip = "Table Data", .caption = "TD", .page = kListsTables,
     .kind = Pair, .open = "<TD>", .close = "</TD>"},

    // The vocabulary lists' insert buttons sit just after their lists.
    {.name = "cmdInsert", .tooltip = "Insert Current Tag", .caption = "Insert",
     .page = kAllTags, .kind = Vocabulary, .target = "cboTags"},
    {.name = "cmdDHTMLInsert", .tooltip = "Insert", .caption = "Insert", .page = kDHTML,
     .kind = Vocabulary, .target = "cboDHTML"},

    // CSS.
    {.name = "cmdCSSInsert", .tooltip = nullptr, .caption = "Insert", .page = kCSS,
     .kind = Vocabulary, .target = "cboCSS"},
    {.name = "cmdStyle", .tooltip = "<STYLE></STYLE>", .caption = "Style", .page = kCSS,
     .kind = Pair, .open = "<STYLE>", .close = "</STYLE>"},
    {.name = "cmdDIVStyle", .tooltip = "<DIV Style></DIV>", .caption = "DIV Style",
     .page = kCSS, .kind = Pair, .open = "<DIV Style=\"\">", .close = "</DIV>"},
    {.name = "cmdCSSLink", .tooltip = "CSS Link Tag", .caption = "Link", .page = kCSS,
     .kind = Text,
     .open = "<LINK Rel=\"StyleSheet\" Type=\"text/css\" Href=\"%1\" Title=\"%2\">\r\n",
     .prompts = {{{"Href:"}, {"Title:"}}}},
    {.name = "cmdCSSImport", .tooltip = "@ Import", .caption = "@import", .page = kCSS,
     .kind = Text, .open = "@import URL(\"%1\");\r\n", .prompts = {{{"URL:"}}}},

    // JavaScript.
    {.name = "cmdJavaScript", .tooltip = "JavaScript", .caption = "Script", .page = kJavaScript,
     .kind = Text,
     .open = "<SCRIPT Language=\"JavaScript1.2\">\r\n<!-- \r\n\r\n\r\n// -->\r\n</SCRIPT>"},
    {.name = "cmdJSComments", .tooltip = "Multiline Comments", .caption = "/* */",
     .page = kJavaScript, .kind = Pair, .open = "/* ", .close = " */"},
    {.name = "cmdJSDate", .tooltip = "Inserts JavaScript Date", .caption = "Date",
     .page = kJavaScript, .kind = Text, .open = "window.document.write(Date())"},
    {.name = "cmdJSTime", .tooltip = "Inserts JavaScript Time", .caption = "Time",
     .page = kJavaScript, .kind = Text, .open = "window.document.write(Time())"},
    {.name = "cmdJSFormVal", .tooltip = "JavaScript Form Control Validation",
     .caption = "Validate", .page = kJavaScript, .kind = Dialog, .target = "frmValControls",
     .before = BeforeDialog::ChooseJavaScript},

    // ColdFusion.
    {.name = "cmdCFOUTPUT", .tooltip = "CFOUTPUT", .caption = "Output", .page = kCFML,
     .kind = Pair, .open = "<CFOUTPUT>", .close = "</CFOUTPUT>"},
    {.name = "cmdCFQuery", .tooltip = "CF Query", .caption = "Query", .page = kCFML,
     .kind = Pair, .open = "<CFQUERY>", .close = "</CFQUERY>"},
    {.name = "cmdCFIf", .tooltip = "CFIF", .caption = "If", .page = kCFML, .kind = Pair,
     .open = "<CFIF>", .close = "</CFIF>"},
    {.name = "cmdNumSign", .tooltip = "# ... #", .caption = "# #", .page = kCFML, .kind = Pair,
     .open = "#", .close = "#"},
    // The parameter name is the main window's Tag text, which the program leaves empty: the
    // author types the name between the quotes.
    {.name = "cmdCFParam", .tooltip = "CF Parameter", .caption = "Param", .page = kCFML,
     .kind = Pair, .open = "<CFPARAM Name=\"%w\"> ", .close = "\""},
    {.name = "cmdCFInsert", .tooltip = "CF Insert", .caption = "Insert", .page = kCFML,
     .kind = Pair, .open = "<CFINSERT>", .close = "</CFINSERT>"},
    {.name = "cmdCFUpdate", .tooltip = "CF Update", .caption = "Update", .page = kCFML,
     .kind = Pair, .open = "<CFUPDATE>", .close = "</CFUPDATE>"},
    {.name = "cmdCFTable", .tooltip = "CF Table", .caption = "Table", .page = kCFML,
     .kind = Pair, .open = "<CFTABLE>", .close = "</CFTABLE>"},
    {.name = "cmdCFReport", .tooltip = "CF Report", .caption = "Report", .page = kCFML,
     .kind = Pair, .open = "<CFREPORT>", .close = "</CFREPORT>"},
    {.name = "cmdCFFile", .tooltip = "CF File", .caption = "File", .page = kCFML, .kind = Pair,
     .open = "<CFFILE>", .close = "</CFFILE>"},
    {.name = "cmdCFCookie", .tooltip = "CF Cookie", .caption = "Cookie", .page = kCFML,
     .kind = Pair, .open = "<CFCOOKIE>", .close = "</CFCOOKIE>"},
    {.name = "cmdCFExit", .tooltip = "CF Exit", .caption = "Exit", .page = kCFML, .kind = Pair,
     .open = "<CFEXIT>"},
    {.name = "cmdAbort", .tooltip = "CF Abort", .caption = "Abort", .page = kCFML, .kind = Pair,
     .open = "<CFABORT>"},

    // VBScript.
    {.name = "cmdVBScript", .tooltip = "Visual Basic Script", .caption = "Script",
     .page = kVBScript, .kind = Text,
     .open = "<SCRIPT Language=\"VBScript\">\r\n<!-- \r\n\r\n\r\n-->\r\n</SCRIPT>"},
    {.name = "cmdVBDate", .tooltip = "Inserts VBScript Date", .caption = "Date",
     .page = kVBScript, .kind = Text, .open = "Document.Write Date()"},
    {.name = "cmdVBTime", .tooltip = "Inserts VBScript Time", .caption = "Time",
     .page = kVBScript, .kind = Text, .open = "Document.Write Time()"},
    {.name = "cmdVBFormVal", .tooltip = "VBScript Form Control Validation",
     .caption = "Validate", .page = kVBScript, .kind = Dialog, .target = "frmValControls",
     .before = BeforeDialog::ChooseVBScript},

    // PHP. The five blanks after an opening brace indent the body the caret lands in.
    {.name = "cmdPHPOpening", .tooltip = "<?  ?>", .caption = "<? ?>", .page = kPHP,
     .kind = Pair, .open = "<? ", .close = " ?>"},
    {.name = "cmdPHPPrint", .tooltip = "Print ()", .caption = "print()", .page = kPHP,
     .kind = Pair, .open = "print(\"", .close = "\");"},
    {.name = "cmdPHPIF", .tooltip = "PHP If...Then...Else", .caption = "if else", .page = kPHP,
     .kind = Pair, .open = "if (%1) {\r\n     ", .close = "\r\n}\r\nelse\r\n{\r\n\r\n}",
     .prompts = {{{"Expression:"}}}},
    {.name = "cmdPHPFunction", .tooltip = "PHP Function", .caption = "function", .page = kPHP,
     .kind = Pair, .open = "function %1() {\r\n     ", .close = "\r\n\r\n}",
     .prompts = {{{"Function Name:"}}}},
    {.name = "cmdPHPComment", .tooltip = "Multiline Comments", .caption = "/* */", .page = kPHP,
     .kind = Pair, .open = "/* ", .close = " */"},
    {.name = "cmdPHPLM", .tooltip = "Gets Last Modified Date", .caption = "Modified",
     .page = kPHP, .kind = Text,
     .open = "<?\r\n\r\nprint(\"Last Modified: \". date(\"D m/d/Y h:i:s a\", "
             "filemtime($PATH_TRANSLATED));\r\n\r\n?>"},
    {.name = "cmdPHPCheckBrowser", .tooltip = "Which Browser Is Being Used",
     .caption = "Browser", .page = kPHP, .kind = NoAction},
    {.name = "cmdInsertHTMLClass", .tooltip = "Insert HTML_Class Statments", .caption = "Insert",
     .page = kPHP, .kind = Vocabulary, .target = "cboHTMLClass"},

    // ASP.
    {.name = "cmdASPScript", .tooltip = "ASP Script Tag", .caption = "Script", .page = kASP,
     .kind = Text,
     .open = "<SCRIPT RUNAT=\"Server\" Language=\"VBScript\">\r\n<!-- \r\n\r\n\r\n// -->\r\n"
             "</SCRIPT>"},
    {.name = "cmdASPInserts", .tooltip = "ASP Insert Symbols", .caption = "<% %>", .page = kASP,
     .kind = Pair, .open = "<% ", .close = " %>"},
    {.name = "cmdASPInsertEquals", .tooltip = "ASP Insert Variable", .caption = "<%= %>",
     .page = kASP, .kind = Pair, .open = "<%= ", .close = " %>"},
    {.name = "cmdInclude", .tooltip = "ASP Include", .caption = "Include", .page = kASP,
     .kind = Pair, .open = "<!--#INCLUDE FILE = \"", .close = "\"-->"},
    {.name = "cmdASPDropIn", .tooltip = "Insert ASP", .caption = "Insert", .page = kASP,
     .kind = Vocabulary, .target = "cboASP"},
};
// clang-format on

} // namespace

std::span<const ToolbarCommand> toolbarCommands()
{
    return kCommands;
}

const ToolbarCommand *findToolbarCommand(const QString &name)
{
    for (const ToolbarCommand &command : kCommands) {
        if (name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}

QString fillIn(const char *pattern, const QStringList &answers, const QString &windowTag)
{
    const QString text = QString::fromUtf8(pattern);
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'%' && i + 1 < text.size()) {
            const QChar next = text.at(i + 1);
            if (next >= u'1' && next <= u'9') {
                result += answers.value(next.digitValue() - 1);
                ++i;
                continue;
            }
            if (next == u'w') {
                result += windowTag;
                ++i;
                continue;
            }
        }
        result += c;
    }
    return result;
}

} // namespace pw
