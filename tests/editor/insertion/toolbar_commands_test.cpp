// The command table walked row by row through the real main window, and the commands whose
// behaviour goes beyond one pair of texts: prompts, list skeletons and tag dialogs.
#include "insertion/insertion_toolbar.h"
#include "insertion/list_items_dialog.h"
#include "insertion/toolbar_commands.h"
#include "insertion/vocabulary.h"
#include "insertion_fixture.h"
#include "shared/program_state.h"
#include "shared/qt_platform.h"

#include <QLabel>
#include <QLayout>
#include <QRadioButton>
#include <QTimer>
#include <map>

using namespace pw;
using namespace pw::test;

namespace {

using ToolbarTable = InsertionFixture;

QString S(const char *text)
{
    return QString::fromUtf8(text);
}

// Commands whose texts are built (from answers to their prompts, or from the window's Tag
// for cmdCFParam): the answers given and the texts they must produce, written out. Text rows put `open` in place of the selection; pair rows wrap it.
struct Prompted {
    QStringList answers;
    QString open;
    QString close;
};

const std::map<QString, Prompted> kPrompted = {
    {"cmdFontColor", {{"Red"}, "<FONT Color=\"Red\">", "</FONT>"}},
    {"cmdFontFace", {{"Verdana"}, "<FONT Face=\"Verdana\">", "</FONT>"}},
    {"cmdForm", {{"/go.php", "POST", "f1"}, "<FORM Action=\"/go.php\" Method=\"POST\" Name=\"f1\">", "</FORM>"}},
    {"cmdFastMail", {{"  me@example.org "}, "<A Href=\"MAILTO:me@example.org\">", "</A>"}},
    {"cmdPHPFunction", {{"f"}, "function f() {\r\n     ", "\r\n\r\n}"}},
    {"cmdPHPIF", {{"$a > 1"}, "if ($a > 1) {\r\n     ", "\r\n}\r\nelse\r\n{\r\n\r\n}"}},
    {"cmdButton", {{"b", "Go"}, "<INPUT Type=\"Button\" Name=\"b\" Value=\"Go\"></INPUT>", {}}},
    {"cmdCheckBox", {{"c", "1"}, "<INPUT Type=\"Checkbox\" Name=\"c\" Value=\"1\"></INPUT>", {}}},
    {"cmdHidden", {{"h", "%2"}, "<INPUT Type=\"Hidden\" Name=\"h\" Value=\"%2\"></INPUT>", {}}},
    {"cmdPassword", {{"p", ""}, "<INPUT Type=\"Password\" Name=\"p\" Value=\"\"></INPUT>", {}}},
    {"cmdRadio", {{"r", "a b"}, "<INPUT Type=\"Radio\" Name=\"r\" Value=\"a b\"></INPUT>", {}}},
    {"cmdTextbox", {{" t ", "v"}, "<INPUT Type=\"Text\" Name=\" t \" Value=\"v\"></INPUT>", {}}},
    {"cmdCSSImport", {{"a.css"}, "@import URL(\"a.css\");\r\n", {}}},
    {"cmdCSSLink", {{"s.css", "Main"}, "<LINK Rel=\"StyleSheet\" Type=\"text/css\" Href=\"s.css\" Title=\"Main\">\r\n", {}}},
    {"cmdCFParam", {{}, "<CFPARAM Name=\"\"> ", "\""}},
};

// What the row's button must put in, for rows whose texts are fixed.
std::pair<QString, QString> FixedTexts(const ToolbarCommand &row)
{
    if (row.kind == CommandKind::IdPair)
        return {"<" + S(row.open) + ">", "</" + S(row.open) + ">"};
    if (row.kind == CommandKind::Vocabulary)
        return {S(FindVocabularyList(S(row.target))->entries.front()), {}};
    return {S(row.open), S(row.close)};
}

TEST_F(ToolbarTable, EveryRowHasItsButtonTooltipAndPage)
{
    QStringList names;
    for (const ToolbarCommand &row : ToolbarCommands()) {
        SCOPED_TRACE(row.name);
        names << S(row.name);
        QToolButton *b = button(S(row.name));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->toolTip(), row.tooltip ? S(row.tooltip) : QString());
        EXPECT_EQ(b->text(), S(row.caption));
        QWidget *page = window().toolbarPage(S(row.page));
        ASSERT_NE(page, nullptr) << row.page;
        EXPECT_TRUE(page->isAncestorOf(b));
    }
    EXPECT_EQ(names.removeDuplicates(), 0);
    // Every command of the toolbar is in the table.
    for (const char *name : {"cmdBold", "cmdItallic", "cmdParagraph", "cmdSub", "cmdSup",
                             "cmdCFParam", "cmdFastMail", "cmdPHPCheckBrowser", "cmdOL",
                             "cmdSelect", "cmdFastAnchor", "cmdFastList", "cmdFastColor",
                             "cmdJSFormVal", "cmdVBFormVal", "cmdInsertHTMLClass"})
        EXPECT_TRUE(names.contains(S(name))) << name;
    EXPECT_EQ(names.size(), 93);
}

TEST_F(ToolbarTable, ToolbarPagesHaveRoomForTheirButtons)
{
    window().resize(633, 500); // the smallest the window gets
    window().show();
    QCoreApplication::processEvents();
    for (const char *caption : {"Dialogs", "Formatting", "Fonts, Frames, & Forms",
                                "Lists & Tables", "All Tags", "DHTML", "CSS", "JavaScript",
                                "CFML", "VBScript", "PHP", "ASP", "User"}) {
        QWidget *page = window().toolbarPage(S(caption));
        ASSERT_NE(page->layout(), nullptr) << caption;
        const int needed = page->layout()->heightForWidth(page->width());
        EXPECT_LE(needed, page->height() + 2) << caption << " needs " << needed;
    }
    window().hide();
}

// Each row clicked over a selection and at a bare caret gives exactly the row's texts.
TEST_F(ToolbarTable, EveryRowInsertsItsTexts)
{
    for (const ToolbarCommand &row : ToolbarCommands()) {
        SCOPED_TRACE(row.name);
        const QString name = S(row.name);
        if (row.kind == CommandKind::ListSkeleton)
            continue; // below, with their count dialog
        QString open, close;
        if (row.prompts[0].prompt || kPrompted.count(name)) {
            const auto expected = kPrompted.find(name);
            ASSERT_NE(expected, kPrompted.end()) << "no expected texts for a prompted row";
            open = expected->second.open;
            close = expected->second.close;
        } else {
            std::tie(open, close) = FixedTexts(row);
        }
        const bool wraps = row.kind == CommandKind::Pair || row.kind == CommandKind::IdPair;
        const bool inserts = wraps || row.kind == CommandKind::Text ||
                             row.kind == CommandKind::Vocabulary;

        for (const bool selected : {true, false}) {
            SCOPED_TRACE(selected ? "with a selection" : "at the caret");
            set("ab\r\nSEL\r\ncd", 4, selected ? 3 : 0);
            if (kPrompted.count(name))
                for (const QString &a : kPrompted.at(name).answers)
                    h.platform.inputAnswers.push_back(a);
            h.platform.inputs.clear();
            click(name);
            EXPECT_TRUE(h.platform.inputAnswers.empty());
            // At the caret the text goes in before "SEL".
            const QString sel = QStringLiteral("SEL");
            if (!inserts) {
                // Dialog rows whose dialog is not there yet, and the no-action button.
                EXPECT_EQ(text(), "ab\r\nSEL\r\ncd");
                EXPECT_EQ(selLength(), selected ? 3 : 0);
            } else if (wraps) {
                EXPECT_EQ(text(), "ab\r\n" + (selected ? open + sel + close : open + close + sel) + "\r\ncd");
                EXPECT_EQ(caret(), 4 + (selected ? open.size() + 3 + close.size() : open.size()));
            } else {
                EXPECT_EQ(text(), "ab\r\n" + open + (selected ? "" : "SEL") + "\r\ncd");
                EXPECT_EQ(caret(), 4 + open.size());
            }
            EXPECT_EQ(selLength(), inserts || !selected ? 0 : 3);
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
    EXPECT_EQ(h.state.ListItemCount, 3);
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
    EXPECT_EQ(slider->pageStep(), 5);
    EXPECT_EQ(label->text(), "1");
    slider->setValue(25);
    EXPECT_EQ(label->text(), "25");
}

// The count dialog run for real (exec), confirmed from a timer; Escape keeps the old count.
TEST(CountDialog, RunsModallyThroughTheProgramsPlatform)
{
    ProgramState state;
    state.ListItemCount = 9;
    QtPlatform platform;
    {
        ListItemsDialog dialog(state);
        QTimer::singleShot(0, &dialog, [&dialog] {
            dialog.findChild<QSlider *>("MySlider")->setValue(4);
            dialog.findChild<QPushButton *>("cmdOK")->click();
        });
        EXPECT_EQ(platform.runDialog(dialog), QDialog::Accepted);
        EXPECT_EQ(state.ListItemCount, 4);
    }
    {
        ListItemsDialog dialog(state);
        QTimer::singleShot(0, &dialog, [&dialog] {
            dialog.findChild<QSlider *>("MySlider")->setValue(20);
            dialog.reject();
        });
        EXPECT_EQ(platform.runDialog(dialog), QDialog::Rejected);
        EXPECT_EQ(state.ListItemCount, 4);
    }
}

// Tag dialogs: a stand-in dialog registered under a row's dialog name shows how each row
// exchanges values with it.

struct StandIn {
    QString result;       // what the dialog hands back in DialogResult
    QString seenSelected; // SelectedText when the dialog was built
};

std::unique_ptr<QDialog> StandInDialog(const char *name, StandIn &record, FeatureContext &c)
{
    record.seenSelected = c.state.SelectedText;
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
        toolbar = window().insertionToolbar();
    }
    void plug(const char *name)
    {
        toolbar->registerDialog(S(name), [this, name](FeatureContext &c) {
            return StandInDialog(name, record, c);
        });
    }
    // The next dialog run sets these values and closes.
    void onDialog(std::function<void(ProgramState &, QDialog &)> fill)
    {
        h.platform.dialogHandlers.push_back([this, fill](QDialog &d) {
            fill(h.state, d);
            return int(QDialog::Accepted);
        });
    }
    InsertionToolbar *toolbar = nullptr;
    StandIn record;
};

TEST_F(TagDialogs, AnchorGetsTheSelectionAndItsResultReplacesIt)
{
    plug("frmAnchor");
    set("see here now", 4, 4);
    onDialog([](ProgramState &s, QDialog &) { s.DialogResult = "<A Href=\"x\">here</A>"; });
    click("cmdFastAnchor");
    EXPECT_EQ(record.seenSelected, "here");
    EXPECT_EQ(h.platform.dialogsRun, QStringList{"frmAnchor"});
    EXPECT_EQ(text(), "see <A Href=\"x\">here</A> now");
}

TEST_F(TagDialogs, CancelledDialogLeavesTheSelection)
{
    plug("frmComment");
    h.state.DialogResult = "left over from before";
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
    onDialog([](ProgramState &s, QDialog &) { s.DialogResult = "<HR Size=2>"; });
    click("cmdFastLine");
    EXPECT_EQ(text(), "<HR Size=2>pic");
    set("pic", 0, 3);
    onDialog([](ProgramState &s, QDialog &) { s.DialogResult = "<IMG Src=\"a.gif\">"; });
    click("cmdFastImage");
    EXPECT_EQ(text(), "<IMG Src=\"a.gif\">pic</IMG>");
}

TEST_F(TagDialogs, ColourIsInsertedUnlessCancelled)
{
    plug("frmColors");
    set("", 0);
    onDialog([](ProgramState &s, QDialog &) { s.ColorResult = "#FF0000"; });
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
        s.DialogResult = "check\r\n";
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
        s.ListKind = 0;
        s.ListNumbering = "I";
        s.ListItemCount = 3;
    });
    click("cmdFastList");
    EXPECT_EQ(text(), "<OL Type=\"I\">\r\n   <LI>   </LI>\r\n   <LI>   </LI>\r\n   <LI>   </LI>\r\n</OL>\r\n");
    EXPECT_EQ(caret(), text().size());

    set("", 0);
    onDialog([](ProgramState &s, QDialog &) {
        s.ListKind = 2;
        s.ListItemCount = 1;
    });
    click("cmdFastList");
    EXPECT_EQ(text(), "<DL>\r\n   <DT>   <DD>\r\n</DL>\r\n");

    set("x", 0, 1);
    onDialog([](ProgramState &, QDialog &) {}); // cancelled: ListKind stays -1
    click("cmdFastList");
    EXPECT_EQ(text(), "x");
}

} // namespace
