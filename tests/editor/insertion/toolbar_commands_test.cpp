// The command table walked row by row through the real main window, and the commands whose
// behaviour goes beyond one pair of texts: prompts, list skeletons and tag dialogs.
#include "insertion/toolbar_lists.h"
#include "insertion/list_items_dialog.h"
#include "insertion/insertion_command.h"
#include "shell/commands.h"
#include "insertion_fixture.h"
#include "shared/program_state.h"
#include "shared/qt_platform.h"

#include <QLabel>
#include <QLayout>
#include <QRadioButton>
#include <QTimer>

using namespace pw;
using namespace pw::test;

namespace {

using ToolbarTable = InsertionFixture;

QString S(const char *text)
{
    return QString::fromUtf8(text);
}

// Every toolbar command with its tooltip and what one click puts in, written out here rather
// than read from the command table. Wrap rows go around the selection (insertAround); Replace
// rows take the selection's place (insertText); Dialog rows open their tag dialog, and closing
// it by its close box changes nothing; the Nothing row never does anything; List rows are
// tested below with their count dialog. Prompted rows are answered with `answers`.
enum class Effect { Wrap, Replace, Dialog, Nothing, List };

struct Expected {
    const char *name;
    const char *tooltip; // nullptr: no tooltip
    Effect effect;
    QString open;
    QString close;
    QStringList answers = {};
    QString openWithId = {}; // the opening text while idAttribute is on, if it differs
};

const QString kScriptBlockBody = "\r\n<!-- \r\n\r\n\r\n";

const Expected kExpected[] = {
    // The Id pairs.
    {"cmdBold", "Bold", Effect::Wrap, "<B>", "</B>", {}, "<B Id=\"BoldID\">"},
    {"cmdItallic", "Itallic", Effect::Wrap, "<I>", "</I>", {}, "<I Id=\"ItallicsID\">"},
    {"cmdParagraph", "Paragraph", Effect::Wrap, "<P>", "</P>", {}, "<P Id=\"ParagraphID\">"},
    {"cmdSub", "SubScript", Effect::Wrap, "<SUB>", "</SUB>", {}, "<SUB Id=\"SubID\">"},
    {"cmdSup", "SuperScript", Effect::Wrap, "<SUP>", "</SUP>", {}, "<SUP Id=\"SupID\">"},
    // Fixed pairs.
    {"cmdAbort", "CF Abort", Effect::Wrap, "<CFABORT>", ""},
    {"cmdASPInsertEquals", "ASP Insert Variable", Effect::Wrap, "<%= ", " %>"},
    {"cmdASPInserts", "ASP Insert Symbols", Effect::Wrap, "<% ", " %>"},
    {"cmdBR", "Line Break", Effect::Wrap, "<BR>", ""},
    {"cmdCaption", "Table Caption", Effect::Wrap, "<CAPTION>", "</CAPTION>"},
    {"cmdCenter", "Center Align", Effect::Wrap, "<CENTER>", "</CENTER>"},
    {"cmdCFCookie", "CF Cookie", Effect::Wrap, "<CFCOOKIE>", "</CFCOOKIE>"},
    {"cmdCFExit", "CF Exit", Effect::Wrap, "<CFEXIT>", ""},
    {"cmdCFFile", "CF File", Effect::Wrap, "<CFFILE>", "</CFFILE>"},
    {"cmdCFIf", "CFIF", Effect::Wrap, "<CFIF>", "</CFIF>"},
    {"cmdCFInsert", "CF Insert", Effect::Wrap, "<CFINSERT>", "</CFINSERT>"},
    {"cmdCFOUTPUT", "CFOUTPUT", Effect::Wrap, "<CFOUTPUT>", "</CFOUTPUT>"},
    {"cmdCFQuery", "CF Query", Effect::Wrap, "<CFQUERY>", "</CFQUERY>"},
    {"cmdCFReport", "CF Report", Effect::Wrap, "<CFREPORT>", "</CFREPORT>"},
    {"cmdCFTable", "CF Table", Effect::Wrap, "<CFTABLE>", "</CFTABLE>"},
    {"cmdCFUpdate", "CF Update", Effect::Wrap, "<CFUPDATE>", "</CFUPDATE>"},
    {"cmdDD", "Definition", Effect::Wrap, "<DD>", ""},
    {"cmdDT", "Definition Term", Effect::Wrap, "<DT>", ""},
    {"cmdEM", "Emphasis", Effect::Wrap, "<EM>", "</EM>"},
    {"cmdFrame", "Frame", Effect::Wrap, "<FRAME>", "</FRAME>"},
    {"cmdFrameset", "Frame Set", Effect::Wrap, "<FRAMESET>", "</FRAMESET>"},
    {"cmdHRTag", "HR - Horizontal Line", Effect::Wrap, "<HR>", ""},
    {"cmdJSComments", "Multiline Comments", Effect::Wrap, "/* ", " */"},
    {"cmdLeft", "Left Align", Effect::Wrap, "Align=Left", ""},
    {"cmdLI", "List Item", Effect::Wrap, "<LI>", "</LI>"},
    {"cmdNoFrame", "No Frame", Effect::Wrap, "<NOFRAMES>", "</NOFRAMES>"},
    {"cmdNumSign", "# ... #", Effect::Wrap, "#", "#"},
    {"cmdPHPComment", "Multiline Comments", Effect::Wrap, "/* ", " */"},
    {"cmdPHPOpening", "<?  ?>", Effect::Wrap, "<? ", " ?>"},
    {"cmdPRE", "PreFormatted Text", Effect::Wrap, "<PRE>", "</PRE>"},
    {"cmdRight", "Right Align", Effect::Wrap, "Align=Right", ""},
    {"cmdStrong", "Strong Emphasis", Effect::Wrap, "<STRONG>", "</STRONG>"},
    {"cmdStyle", "<STYLE></STYLE>", Effect::Wrap, "<STYLE>", "</STYLE>"},
    {"cmdTableTag", "New Table", Effect::Wrap, "<TABLE>", "</TABLE>"},
    {"cmdTD", "Table Data", Effect::Wrap, "<TD>", "</TD>"},
    {"cmdTextArea", "TextArea", Effect::Wrap, "<TEXTAREA>", "</TEXTAREA>"},
    {"cmdTH", "Table Heading", Effect::Wrap, "<TH>", "</TH>"},
    {"cmdTitle", "Title", Effect::Wrap, "<TITLE>", "</TITLE>"},
    {"cmdTR", "Table Row", Effect::Wrap, "<TR>", "</TR>"},
    {"cmdUnderline", "Underline", Effect::Wrap, "<U>", "</U>"},
    {"cmdDIVStyle", "<DIV Style></DIV>", Effect::Wrap, "<DIV Style=\"\">", "</DIV>"},
    {"cmdFontDown", "Font Size Down One", Effect::Wrap, "<FONT Size=\"-1\">", "</FONT>"},
    {"cmdFontUp", "Font Size Up One", Effect::Wrap, "<FONT Size=\"+1\">", "</FONT>"},
    {"cmdInclude", "ASP Include", Effect::Wrap, "<!--#INCLUDE FILE = \"", "\"-->"},
    {"cmdPHPPrint", "Print ()", Effect::Wrap, "print(\"", "\");"},
    // The window's Tag is empty unless set (see CFParamReadsTheWindowTag).
    {"cmdCFParam", "CF Parameter", Effect::Wrap, "<CFPARAM Name=\"\"> ", "\""},
    // Prompted pairs.
    {"cmdFontColor", "Font Color", Effect::Wrap, "<FONT Color=\"Red\">", "</FONT>", {"Red"}},
    {"cmdFontFace", "Font Face", Effect::Wrap, "<FONT Face=\"Verdana\">", "</FONT>", {"Verdana"}},
    {"cmdForm",
     "New Form",
     Effect::Wrap,
     "<FORM Action=\"/go.php\" Method=\"POST\" Name=\"f1\">",
     "</FORM>",
     {"/go.php", "POST", "f1"}},
    {"cmdFastMail",
     "Mail Dialog",
     Effect::Wrap,
     "<A Href=\"MAILTO:me@example.org\">",
     "</A>",
     {"  me@example.org "}},
    {"cmdPHPFunction", "PHP Function", Effect::Wrap, "function f() {\r\n     ", "\r\n\r\n}", {"f"}},
    {"cmdPHPIF",
     "PHP If...Then...Else",
     Effect::Wrap,
     "if ($a > 1) {\r\n     ",
     "\r\n}\r\nelse\r\n{\r\n\r\n}",
     {"$a > 1"}},
    // Fixed snippets.
    {"cmdASPScript", "ASP Script Tag", Effect::Replace,
     "<SCRIPT RUNAT=\"Server\" Language=\"VBScript\">" + kScriptBlockBody + "// -->\r\n</SCRIPT>",
     ""},
    {"cmdJavaScript", "JavaScript", Effect::Replace,
     "<SCRIPT Language=\"JavaScript1.2\">" + kScriptBlockBody + "// -->\r\n</SCRIPT>", ""},
    {"cmdVBScript", "Visual Basic Script", Effect::Replace,
     "<SCRIPT Language=\"VBScript\">" + kScriptBlockBody + "-->\r\n</SCRIPT>", ""},
    {"cmdJSDate", "Inserts JavaScript Date", Effect::Replace, "window.document.write(Date())", ""},
    {"cmdJSTime", "Inserts JavaScript Time", Effect::Replace, "window.document.write(Time())", ""},
    {"cmdVBDate", "Inserts VBScript Date", Effect::Replace, "Document.Write Date()", ""},
    {"cmdVBTime", "Inserts VBScript Time", Effect::Replace, "Document.Write Time()", ""},
    {"cmdPHPLM", "Gets Last Modified Date", Effect::Replace,
     "<?\r\n\r\nprint(\"Last Modified: \". date(\"D m/d/Y h:i:s a\", "
     "filemtime($PATH_TRANSLATED));\r\n\r\n?>",
     ""},
    // Form fields and style-sheet lines.
    {"cmdButton",
     "Command Button",
     Effect::Replace,
     "<INPUT Type=\"Button\" Name=\"b\" Value=\"Go\"></INPUT>",
     "",
     {"b", "Go"}},
    {"cmdCheckBox",
     "CheckBox",
     Effect::Replace,
     "<INPUT Type=\"Checkbox\" Name=\"c\" Value=\"1\"></INPUT>",
     "",
     {"c", "1"}},
    // A typed "%2" is inserted as typed.
    {"cmdHidden",
     "Hidden",
     Effect::Replace,
     "<INPUT Type=\"Hidden\" Name=\"h\" Value=\"%2\"></INPUT>",
     "",
     {"h", "%2"}},
    {"cmdPassword",
     "Password",
     Effect::Replace,
     "<INPUT Type=\"Password\" Name=\"p\" Value=\"\"></INPUT>",
     "",
     {"p", ""}},
    {"cmdRadio",
     "Radio Button",
     Effect::Replace,
     "<INPUT Type=\"Radio\" Name=\"r\" Value=\"a b\"></INPUT>",
     "",
     {"r", "a b"}},
    {"cmdTextbox",
     "TextBox",
     Effect::Replace,
     "<INPUT Type=\"Text\" Name=\" t \" Value=\"v\"></INPUT>",
     "",
     {" t ", "v"}},
    {"cmdCSSImport", "@ Import", Effect::Replace, "@import URL(\"a.css\");\r\n", "", {"a.css"}},
    {"cmdCSSLink",
     "CSS Link Tag",
     Effect::Replace,
     "<LINK Rel=\"StyleSheet\" Type=\"text/css\" Href=\"s.css\" Title=\"Main\">\r\n",
     "",
     {"s.css", "Main"}},
    // Vocabulary insert buttons: each list shows its first entry after start-up.
    {"cmdInsert", "Insert Current Tag", Effect::Replace, "&nbsp;", ""},
    {"cmdASPDropIn", "Insert ASP", Effect::Replace, "LAST_MODIFIED", ""},
    {"cmdDHTMLInsert", "Insert", Effect::Replace, "document.activeElement", ""},
    {"cmdCSSInsert", nullptr, Effect::Replace, "background-attachment: scroll;", ""},
    {"cmdInsertHTMLClass", "Insert HTML_Class Statments", Effect::Replace, "$b = new HTML;", ""},
    // List skeletons.
    {"cmdOL", "Ordered List", Effect::List, "", ""},
    {"cmdUL", "Unordered List", Effect::List, "", ""},
    {"cmdDL", "Definition List", Effect::List, "", ""},
    {"cmdSelect", "Select", Effect::List, "", ""},
    // Tag dialogs, closed at once, and the button without an action.
    {"cmdFastAnchor", "Anchor Dialog", Effect::Dialog, "", ""},
    {"cmdComment", "Comment Dialog", Effect::Dialog, "", ""},
    {"cmdMarquee", "IE Marquee", Effect::Dialog, "", ""},
    {"cmdFastLine", "Line Dialog", Effect::Dialog, "", ""},
    {"cmdFastImage", "Image Dialog", Effect::Dialog, "", ""},
    {"cmdFastTable", "Table Dialog", Effect::Dialog, "", ""},
    {"cmdFastColor", "Color Dialog", Effect::Dialog, "", ""},
    {"cmdJSFormVal", "JavaScript Form Control Validation", Effect::Dialog, "", ""},
    {"cmdVBFormVal", "VBScript Form Control Validation", Effect::Dialog, "", ""},
    {"cmdFastList", "List Dialog", Effect::Dialog, "", ""},
    {"cmdPHPCheckBrowser", "Which Browser Is Being Used", Effect::Nothing, "", ""},
};

TEST_F(ToolbarTable, EveryCommandHasItsButtonAndTooltip)
{
    QStringList expectedNames;
    for (const Expected &row : kExpected) {
        SCOPED_TRACE(row.name);
        expectedNames << S(row.name);
        QToolButton *b = button(S(row.name));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->toolTip(), row.tooltip ? S(row.tooltip) : QString());
    }
    EXPECT_EQ(expectedNames.removeDuplicates(), 0);
    // No button beyond these: every command table row is one of them.
    QStringList tableNames;
    for (const Command &row : commandTable()) {
        if (row.insert.kind != CommandKind::None)
            tableNames << S(row.name);
    }
    tableNames.sort();
    expectedNames.sort();
    EXPECT_EQ(tableNames, expectedNames);
}

TEST_F(ToolbarTable, EveryRowSitsOnItsPage)
{
    for (const Command &row : commandTable()) {
        if (row.insert.kind == CommandKind::None)
            continue;
        SCOPED_TRACE(row.name);
        QToolButton *b = button(S(row.name));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), S(row.caption));
        QWidget *page = window().toolbarPage(S(row.where));
        ASSERT_NE(page, nullptr) << row.where;
        EXPECT_TRUE(page->isAncestorOf(b));
    }
}

TEST_F(ToolbarTable, ToolbarPagesHaveRoomForTheirButtons)
{
    window().resize(633, 500); // the smallest the window gets
    window().show();
    QCoreApplication::processEvents();
    for (const char *caption :
         {"Dialogs", "Formatting", "Fonts, Frames, & Forms", "Lists & Tables", "All Tags", "DHTML",
          "CSS", "JavaScript", "CFML", "VBScript", "PHP", "ASP", "User"}) {
        QWidget *page = window().toolbarPage(S(caption));
        ASSERT_NE(page->layout(), nullptr) << caption;
        const int needed = page->layout()->heightForWidth(page->width());
        EXPECT_LE(needed, page->height() + 2) << caption << " needs " << needed;
    }
    window().hide();
}

// Each command clicked over a selection and at a bare caret gives exactly its texts; the Id
// pairs once more with the Id option on.
TEST_F(ToolbarTable, EveryCommandInsertsItsTexts)
{
    for (const Expected &row : kExpected) {
        if (row.effect == Effect::List)
            continue; // below, with their count dialog
        for (const bool withId : {false, true}) {
            if (withId && row.openWithId.isEmpty())
                continue;
            h.state.idAttribute = withId;
            const QString open = withId ? row.openWithId : row.open;
            for (const bool selected : {true, false}) {
                SCOPED_TRACE(std::string(row.name) + (withId ? ", Id on" : "")
                             + (selected ? ", with a selection" : ", at the caret"));
                set("ab\r\nSEL\r\ncd", 4, selected ? 3 : 0);
                for (const QString &a : row.answers)
                    h.platform.inputAnswers.push_back(a);
                h.platform.dialogsRun.clear();
                if (row.effect == Effect::Dialog)
                    h.platform.dialogHandlers.push_back(
                        [](QDialog &) { return int(QDialog::Rejected); });
                click(S(row.name));
                EXPECT_TRUE(h.platform.inputAnswers.empty()) << "prompts left unasked";
                h.platform.inputAnswers.clear();
                switch (row.effect) {
                case Effect::Wrap:
                    // At the caret the texts go in before "SEL", the caret between them.
                    EXPECT_EQ(text(),
                              "ab\r\n"
                                  + (selected ? open + "SEL" + row.close : open + row.close + "SEL")
                                  + "\r\ncd");
                    EXPECT_EQ(caret(), 4 + open.size() + (selected ? 3 + row.close.size() : 0));
                    EXPECT_EQ(selLength(), 0);
                    break;
                case Effect::Replace:
                    EXPECT_EQ(text(), "ab\r\n" + open + (selected ? "" : "SEL") + "\r\ncd");
                    EXPECT_EQ(caret(), 4 + open.size());
                    EXPECT_EQ(selLength(), 0);
                    break;
                case Effect::Dialog:
                    EXPECT_EQ(h.platform.dialogsRun.size(), 1);
                    [[fallthrough]];
                case Effect::Nothing:
                    EXPECT_EQ(text(), "ab\r\nSEL\r\ncd");
                    EXPECT_EQ(selLength(), selected ? 3 : 0);
                    break;
                case Effect::List:
                    break;
                }
            }
        }
    }
}

TEST_F(ToolbarTable, PromptsAreAskedInOrderWithTheirTitlesAndDefaults)
{
    answer({"u", "m", "n"});
    click("cmdForm");
    ASSERT_EQ(h.platform.inputs.size(), 3);
    const auto expect = [&](int i, const char *prompt, const char *title, const char *def) {
        EXPECT_EQ(h.platform.inputs[i].prompt, prompt);
        EXPECT_EQ(h.platform.inputs[i].title, title);
        EXPECT_EQ(h.platform.inputs[i].defaultText, def);
    };
    expect(0, "URL:", "Pagewick", "");
    expect(1, "Method:", "Method Dialog", "GET");
    expect(2, "Name:", "Pagewick", "");

    h.platform.inputs.clear();
    answer({"x"});
    click("cmdFontColor");
    expect(0, "Color:", "Font Dialog", "Blue");
    h.platform.inputs.clear();
    answer({"x"});
    click("cmdFontFace");
    expect(0, "Font:", "Font Dialog", "Arial");
    h.platform.inputs.clear();
    answer({"x"});
    click("cmdFastMail");
    expect(0, "Please Enter The E-Mail Address Below", "E-Mail Dialog", "");
}

TEST_F(ToolbarTable, CancelledPromptInsertsTheEmptyValue)
{
    set("", 0);
    answer({""});
    click("cmdFontColor");
    EXPECT_EQ(text(), "<FONT Color=\"\"></FONT>");
}

TEST_F(ToolbarTable, MailStopsOnAnEmptyAddress)
{
    for (const QString &entry : {QString(), QStringLiteral("   ")}) {
        set("keep this", 5, 4);
        answer({entry});
        click("cmdFastMail");
        EXPECT_EQ(text(), "keep this");
        EXPECT_EQ(edit().selStart(), 5);
        EXPECT_EQ(selLength(), 4);
    }
}

TEST_F(ToolbarTable, CFParamReadsTheWindowTag)
{
    set("", 0);
    click("cmdCFParam");
    EXPECT_EQ(text(), "<CFPARAM Name=\"\"> \"");
    EXPECT_EQ(caret(), 18);
    window().setProperty("Tag", "Count");
    set("", 0);
    click("cmdCFParam");
    EXPECT_EQ(text(), "<CFPARAM Name=\"Count\"> \"");
}

// List skeletons and their count dialog.

TEST_F(ToolbarTable, OrderedListOfThreePutsTheCaretInTheFirstItem)
{
    set("ab\r\ncd", 4);
    QString caption;
    answerCount(3, &caption);
    click("cmdOL");
    EXPECT_EQ(caption, "How Many List Items?");
    EXPECT_EQ(h.platform.dialogsRun, QStringList{"frmListItems"});
    EXPECT_EQ(text(), "ab\r\n<OL>\r\n   <LI></LI>\r\n   <LI></LI>\r\n   <LI></LI>\r\n</OL>\r\ncd");
    EXPECT_EQ(caret(), 4 + 13);
    EXPECT_EQ(text().mid(caret(), 5), "</LI>");
    EXPECT_EQ(h.state.listItemCount, 3);
}

TEST_F(ToolbarTable, ListWithoutConfirmedCountHasHeadAndTailOnly)
{
    set("ab", 2);
    h.platform.dialogHandlers.push_back([](QDialog &) { return int(QDialog::Rejected); });
    click("cmdOL");
    EXPECT_EQ(text(), "ab<OL>\r\n</OL>\r\n");
    EXPECT_EQ(caret(), 15); // p + 13 is the end of the inserted text
}

TEST_F(ToolbarTable, ClosedCountDialogKeepsTheLastConfirmedCount)
{
    answerCount(2);
    set("", 0);
    click("cmdDL");
    EXPECT_EQ(text(), "<DL>\r\n   <DT><DD>\r\n   <DT><DD>\r\n</DL>\r\n");
    EXPECT_EQ(text().mid(caret(), 4), "<DD>");
    h.platform.dialogHandlers.push_back([](QDialog &) { return int(QDialog::Rejected); });
    set("", 0);
    click("cmdUL");
    EXPECT_EQ(text(), "<UL>\r\n   <LI></LI>\r\n   <LI></LI>\r\n</UL>\r\n");
}

TEST_F(ToolbarTable, ListReplacesTheSelectionAndCountsFromItsStart)
{
    set("x[old]y", 1, 5);
    answerCount(1);
    click("cmdUL");
    EXPECT_EQ(text(), "x<UL>\r\n   <LI></LI>\r\n</UL>\r\ny");
    EXPECT_EQ(caret(), 14);
}

TEST_F(ToolbarTable, SelectAsksItsOwnCountCaptionThenTheName)
{
    set("a", 1);
    QString caption;
    answerCount(2, &caption);
    answer({"pick"});
    click("cmdSelect");
    EXPECT_EQ(caption, "How Many Items In The Select?");
    ASSERT_EQ(h.platform.inputs.size(), 1);
    EXPECT_EQ(h.platform.inputs[0].prompt, "Name:");
    EXPECT_EQ(h.platform.inputs[0].title, "Pagewick");
    EXPECT_EQ(text(), "a<SELECT Name=\"pick\">\r\n   <Option>\r\n   <Option>\r\n</SELECT>\r\n");
    EXPECT_EQ(caret(), text().size());

    // The next count dialog starts from its own caption again.
    answerCount(1, &caption);
    click("cmdOL");
    EXPECT_EQ(caption, "How Many List Items?");
}

TEST_F(ToolbarTable, CountDialogShowsTheSliderValue)
{
    ListItemsDialog dialog(h.state);
    auto *slider = dialog.findChild<QSlider *>("MySlider");
    auto *label = dialog.findChild<QLabel *>("lblItems");
    ASSERT_TRUE(slider && label);
    EXPECT_EQ(slider->minimum(), 1);
    EXPECT_EQ(slider->maximum(), 25);
    EXPECT_EQ(slider->singleStep(), 1);
    EXPECT_EQ(slider->pageStep(), 5);
    EXPECT_EQ(slider->value(), 1);
    EXPECT_EQ(label->text(), "1");
    EXPECT_EQ(dialog.windowTitle(), "How Many List Items?");
    EXPECT_EQ(dialog.findChild<QPushButton *>("cmdOK")->text(), "OK");
    QStringList captions;
    for (QLabel *l : dialog.findChildren<QLabel *>())
        captions << l->text();
    EXPECT_TRUE(captions.contains("Number of List Items"));
    slider->setValue(25);
    EXPECT_EQ(label->text(), "25");
}

// The count dialog run for real (exec), confirmed from a timer; Escape keeps the old count.
TEST(CountDialog, RunsModallyThroughTheProgramsPlatform)
{
    ProgramState state;
    state.listItemCount = 9;
    QtPlatform platform;
    {
        ListItemsDialog dialog(state);
        QTimer::singleShot(0, &dialog, [&dialog] {
            dialog.findChild<QSlider *>("MySlider")->setValue(4);
            dialog.findChild<QPushButton *>("cmdOK")->click();
        });
        EXPECT_EQ(platform.runDialog(dialog), QDialog::Accepted);
        EXPECT_EQ(state.listItemCount, 4);
    }
    {
        ListItemsDialog dialog(state);
        QTimer::singleShot(0, &dialog, [&dialog] {
            dialog.findChild<QSlider *>("MySlider")->setValue(20);
            dialog.reject();
        });
        EXPECT_EQ(platform.runDialog(dialog), QDialog::Rejected);
        EXPECT_EQ(state.listItemCount, 4);
    }
}

// Tag dialogs: a stand-in dialog registered under a row's dialog name shows how each row
// exchanges values with it.

struct StandIn {
    QString result;       // what the dialog hands back in dialogResult
    QString seenSelected; // selectedText when the dialog was built
};

std::unique_ptr<QDialog> standInDialog(const char *name, StandIn &record, FeatureContext &c)
{
    record.seenSelected = c.state.selectedText;
    auto dialog = std::make_unique<QDialog>();
    dialog->setObjectName(name);
    for (const char *option : {"optJavaScript", "optVBScript"}) {
        auto *radio = new QRadioButton(dialog.get());
        radio->setObjectName(option);
    }
    return dialog;
}

class TagDialogs : public InsertionFixture {
protected:
    void SetUp() override
    {
        InsertionFixture::SetUp();
        runner = &window().commands();
    }
    void plug(const char *name)
    {
        runner->registerDialog(
            S(name), [this, name](FeatureContext &c) { return standInDialog(name, record, c); });
    }
    // The next dialog run sets these values and closes.
    void onDialog(std::function<void(ProgramState &, QDialog &)> fill)
    {
        h.platform.dialogHandlers.push_back([this, fill](QDialog &d) {
            fill(h.state, d);
            return int(QDialog::Accepted);
        });
    }
    CommandRunner *runner = nullptr;
    StandIn record;
};

TEST_F(TagDialogs, AnchorGetsTheSelectionAndItsResultReplacesIt)
{
    plug("frmAnchor");
    set("see here now", 4, 4);
    onDialog([](ProgramState &s, QDialog &) { s.dialogResult = "<A Href=\"x\">here</A>"; });
    click("cmdFastAnchor");
    EXPECT_EQ(record.seenSelected, "here");
    EXPECT_EQ(h.platform.dialogsRun, QStringList{"frmAnchor"});
    EXPECT_EQ(text(), "see <A Href=\"x\">here</A> now");
}

TEST_F(TagDialogs, CancelledDialogLeavesTheSelection)
{
    plug("frmComment");
    h.state.dialogResult = "left over from before";
    set("keep me", 0, 4);
    onDialog([](ProgramState &, QDialog &) {});
    click("cmdComment");
    EXPECT_EQ(text(), "keep me");
    EXPECT_EQ(selLength(), 4);
}

TEST_F(TagDialogs, LineAndImageResultsGoAroundTheSelection)
{
    plug("frmHR");
    plug("frmImage");
    set("pic", 0, 3);
    onDialog([](ProgramState &s, QDialog &) { s.dialogResult = "<HR Size=2>"; });
    click("cmdFastLine");
    EXPECT_EQ(text(), "<HR Size=2>pic");
    set("pic", 0, 3);
    onDialog([](ProgramState &s, QDialog &) { s.dialogResult = "<IMG Src=\"a.gif\">"; });
    click("cmdFastImage");
    EXPECT_EQ(text(), "<IMG Src=\"a.gif\">pic</IMG>");
}

TEST_F(TagDialogs, ColourIsInsertedUnlessCancelled)
{
    plug("frmColors");
    set("", 0);
    onDialog([](ProgramState &s, QDialog &) { s.colorResult = "#FF0000"; });
    click("cmdFastColor");
    EXPECT_EQ(text(), "#FF0000");
    onDialog([](ProgramState &, QDialog &) {}); // closed: the colour stays "-1"
    click("cmdFastColor");
    EXPECT_EQ(text(), "#FF0000");
}

TEST_F(TagDialogs, ValidationRowsChooseTheirLanguage)
{
    plug("frmValControls");
    QString chosen;
    const auto remember = [&chosen](ProgramState &s, QDialog &d) {
        for (auto *radio : d.findChildren<QRadioButton *>())
            if (radio->isChecked())
                chosen = radio->objectName();
        s.dialogResult = "check\r\n";
    };
    set("", 0);
    onDialog(remember);
    click("cmdJSFormVal");
    EXPECT_EQ(chosen, "optJavaScript");
    onDialog(remember);
    click("cmdVBFormVal");
    EXPECT_EQ(chosen, "optVBScript");
    EXPECT_EQ(text(), "check\r\ncheck\r\n");
}

TEST_F(TagDialogs, ListDialogBuildsTheChosenList)
{
    plug("frmLists");
    set("", 0);
    onDialog([](ProgramState &s, QDialog &) {
        s.listKind = 0;
        s.listNumbering = "I";
        s.listItemCount = 3;
    });
    click("cmdFastList");
    EXPECT_EQ(
        text(),
        "<OL Type=\"I\">\r\n   <LI>   </LI>\r\n   <LI>   </LI>\r\n   <LI>   </LI>\r\n</OL>\r\n");
    EXPECT_EQ(caret(), text().size());

    set("", 0);
    onDialog([](ProgramState &s, QDialog &) {
        s.listKind = 2;
        s.listItemCount = 1;
    });
    click("cmdFastList");
    EXPECT_EQ(text(), "<DL>\r\n   <DT>   <DD>\r\n</DL>\r\n");

    set("x", 0, 1);
    onDialog([](ProgramState &, QDialog &) {}); // cancelled: listKind stays -1
    click("cmdFastList");
    EXPECT_EQ(text(), "x");
}

} // namespace
