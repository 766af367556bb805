// The script menu: the page built from an outline, the dialog's files, and the page in a
// real browser.
#include "generators/js_menu_dialog.h"
#include "generators/js_menu_markup.h"
#include "generators/listing_markup.h"
#include "shell/commands.h"
#include "support/browser_check.h"
#include "support/qt_print.h"
#include "support/main_window_harness.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace pw;
using namespace pw::test;

namespace {

const QString kAddItem = "%1.addItem(\"<A Target='_self' Href='%2' Style='text-decoration: none' "
                         "onMouseOver='this.style.textDecorationUnderline=true' "
                         "onMouseOut='this.style.textDecorationNone=true'>%3</A>\");\r\n";

QStringList linesOf(const QString &page)
{
    return page.split("\r\n");
}

// The layer numbers the page's style rules and position holders name.
void expectLayers(const QString &page, int last)
{
    const QStringList lines = linesOf(page);
    EXPECT_EQ(lines.filter(QRegularExpression("^#lItem\\d+\\{position:absolute\\}$")).size(),
              last + 1);
    EXPECT_EQ(lines.filter(QRegularExpression("^<DIV ID=\"lItem\\d+\" Name=\"lItem\\d+\"></DIV>$"))
                  .size(),
              last + 1);
    EXPECT_TRUE(lines.contains(QString("#lItem%1{position:absolute}").arg(last)));
    EXPECT_TRUE(lines.contains(QString("<DIV ID=\"lItem%1\" Name=\"lItem%1\"></DIV>").arg(last)));
}

} // namespace

TEST(JsMenuPage, OneTopicGivesThePageExactly)
{
    const QString page = jsMenuPage("Sites|One|1.html|Two|2.html");
    const QString expected = "<HTML>\r\n<HEAD><TITLE></TITLE></HEAD>\r\n"
                             "<SCRIPT Language=JavaScript1.2 Src=resize.js></SCRIPT>\r\n"
                             "<SCRIPT Language=JavaScript1.2 Src=list.js></SCRIPT>\r\n"
                             "<SCRIPT Language=JavaScript1.2>\r\n"
                             "     function init() {\r\n"
                             "          var width, height=22;\r\n"
                             "          if (isNav4) width = 3*window.innerWidth/4;\r\n"
                             "          else width = 3*document.body.clientWidth/4;\r\n"
                             "          myList = new List(true, width, height);\r\n"
                             "\r\n"
                             "// Sites\r\n"
                             "\r\n"
                             "mySubList0 = new List(false, width, height);\r\n"
                             + kAddItem.arg("mySubList0", "1.html", "One")
                             + kAddItem.arg("mySubList0", "2.html", "Two")
                             + "myList.addList(mySubList0,\"<B>Sites</B>\");\r\n"
                               "\r\n"
                               "// Build The List\r\n"
                               "myList.build(10,70); }\r\n"
                               "</SCRIPT>\r\n"
                               "<STYLE Type=\"text/css\">\r\n"
                               "#Spacer{position: absolute;}\r\n"
                               "#lItem0{position:absolute}\r\n#lItem1{position:absolute}\r\n"
                               "#lItem2{position:absolute}\r\n#lItem3{position:absolute}\r\n"
                               "#lItem4{position:absolute}\r\n#lItem5{position:absolute}\r\n"
                               "</STYLE></HEAD>\r\n"
                               "\r\n"
                               "<BODY onLoad='init();'>\r\n"
                               "<DIV ID=Spacer Name=Spacer></DIV>\r\n"
                               "\r\n"
                               "<DIV ID=\"lItem0\" Name=\"lItem0\"></DIV>\r\n<DIV ID=\"lItem1\" "
                               "Name=\"lItem1\"></DIV>\r\n"
                               "<DIV ID=\"lItem2\" Name=\"lItem2\"></DIV>\r\n<DIV ID=\"lItem3\" "
                               "Name=\"lItem3\"></DIV>\r\n"
                               "<DIV ID=\"lItem4\" Name=\"lItem4\"></DIV>\r\n<DIV ID=\"lItem5\" "
                               "Name=\"lItem5\"></DIV>\r\n"
                               "</BODY></HTML>";
    EXPECT_EQ(page, expected);
}

TEST(JsMenuPage, OutlineEdgeCases)
{
    // An empty first line keeps its number: the topic on line 1 names mySubList1. Two
    // topics with two and one sub-points make layers 0 to 8.
    const QString two = jsMenuPage("\r\nA|a1|l1|a2|l2\r\nB|b1|l3");
    EXPECT_TRUE(linesOf(two).contains("mySubList1 = new List(false, width, height);"));
    EXPECT_TRUE(linesOf(two).contains("myList.addList(mySubList2,\"<B>B</B>\");"));
    EXPECT_FALSE(two.contains("mySubList0"));
    expectLayers(two, 8);

    // A topic alone has no sub-points; a sub-point without a link after it is left out; a
    // break at the end adds nothing.
    const QString alone = jsMenuPage("Topic\r\n");
    EXPECT_FALSE(alone.contains(".addItem("));
    EXPECT_TRUE(alone.contains("\r\n// Topic\r\n\r\nmySubList0 = new List(false, width, height);"
                               "\r\nmyList.addList(mySubList0,\"<B>Topic</B>\");\r\n\r\n// Build"));
    expectLayers(alone, 1);
    const QString dangling = jsMenuPage("T|s1|l1|s2");
    EXPECT_EQ(dangling.count(".addItem("), 1);
    EXPECT_FALSE(dangling.contains("s2"));
    expectLayers(dangling, 3);

    // Texts keep their value (markup included, for the script writes it into the page), but
    // no character of a text can end the script's string, the comment, the link's address
    // or the script itself.
    const QString quoted = jsMenuPage("Say \"hi\" <I>now</I>|C:\\x|it's.html</script>");
    EXPECT_TRUE(
        quoted.contains(kAddItem.arg("mySubList0", "it&#39;s.html&lt;/script&gt;", "C:\\\\x")));
    EXPECT_TRUE(quoted.contains(
        "addList(mySubList0,\"<B>Say \\\"hi\\\" \\x3CI\\x3Enow\\x3C/I\\x3E</B>\");"));
    EXPECT_TRUE(quoted.contains("\r\n// Say \\\"hi\\\" \\x3CI\\x3Enow\\x3C/I\\x3E\r\n"));
}

namespace {

class JsMenuDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = &h.start();
        context = std::make_unique<FeatureContext>(window->featureContext());
    }

    // Shows the dialog and runs `steps` in it.
    void run(const std::function<void(QDialog &)> &steps)
    {
        h.platform.dialogHandlers.push_back([&](QDialog &dialog) {
            steps(dialog);
            return int(QDialog::Rejected);
        });
        runJsMenuDialog(*context);
        EXPECT_EQ(h.platform.dialogsRun.back(), "frmJSMenu");
    }

    static void set(QDialog &d, const char *name, const QString &text)
    {
        d.findChild<QLineEdit *>(name)->setText(text);
    }
    static void setOutline(QDialog &d, const QString &text)
    {
        d.findChild<QPlainTextEdit *>("rtfEdit")->setPlainText(text);
    }
    static QString outline(QDialog &d)
    {
        return d.findChild<QPlainTextEdit *>("rtfEdit")->toPlainText();
    }
    static void click(QDialog &d, const char *name) { d.findChild<QPushButton *>(name)->click(); }
    static void trigger(QDialog &d, const char *name) { d.findChild<QAction *>(name)->trigger(); }

    MessageRecord lastMessage() const { return h.platform.messages.last(); }
    static MessageRecord notice(const QString &title, const QString &text)
    {
        return {title, text, MsgButtons::Ok, MsgIcon::Information};
    }

    MainWindowHarness h;
    MainWindow *window = nullptr;
    std::unique_ptr<FeatureContext> context;
};

} // namespace

TEST_F(JsMenuDialogTest, TheToolbarButtonOpensTheDialog)
{
    h.platform.dialogHandlers.push_back([](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), "JavaScript Menu Dialog");
        return int(QDialog::Rejected);
    });
    window->commands().run("cmdJSMenu");
    ASSERT_EQ(h.platform.dialogsRun, QStringList{"frmJSMenu"});
}

TEST_F(JsMenuDialogTest, EmptyFieldsStopEachButtonWithItsMessage)
{
    run([&](QDialog &d) {
        click(d, "cmdLoad");
        EXPECT_EQ(lastMessage(), notice("Load Aborted...", "There Is No Document To Load"));
        click(d, "cmdSave");
        EXPECT_EQ(lastMessage(), notice("Save Aborted...", "There Is No Document To Save"));
        click(d, "cmdCreate");
        EXPECT_EQ(lastMessage(), notice("Sorry", "You must supply an HTML filename for the menu"));
        set(d, "txtExportFile", h.path("menu.html"));
        click(d, "cmdCreate");
        EXPECT_EQ(lastMessage(),
                  notice("Sorry", "You must supply a set of items to build the menu"));
        trigger(d, "mnuHelp");
        EXPECT_EQ(lastMessage(), notice("JavaScript Menu Text File Format", jsMenuFormatHelp()));
    });
    EXPECT_EQ(h.platform.messages.size(), 5);
    EXPECT_FALSE(QFile::exists(h.path("menu.html")));
}

TEST_F(JsMenuDialogTest, BrowseAsksToSaveUnlessAnExistingMenuIsOpened)
{
    window->panes().showDirectory(h.path(""));
    h.platform.fileAnswers = {h.path("new.txt"), h.path("old.txt"), h.path("again.txt"),
                              h.path("page.html")};
    run([&](QDialog &d) {
        auto *file = d.findChild<QMenu *>("mnuFile");
        click(d, "cmdBrowse");
        trigger(d, "mnuOpen");
        click(d, "cmdBrowse");
        EXPECT_EQ(d.findChild<QLineEdit *>("txtImportFile")->text(), h.path("old.txt"));
        emit file->aboutToShow(); // opening the File menu starts a new menu again
        click(d, "cmdBrowse");
        click(d, "cmdBrowse2");
        EXPECT_EQ(d.findChild<QLineEdit *>("txtExportFile")->text(), h.path("page.html"));
    });
    QStringList kinds;
    for (const PickerRecord &picker : h.platform.pickers) {
        kinds << picker.kind + " " + picker.filter;
        EXPECT_EQ(picker.directory, window->panes().directoryList()->path());
    }
    EXPECT_EQ(kinds, QStringList({"save Text Files|*.txt", "open Text Files|*.txt",
                                  "save Text Files|*.txt", "save HTML|*.html"}));
}

TEST_F(JsMenuDialogTest, SavingWhatWasLoadedNeverGrowsTheOutline)
{
    const QString file = h.path("outline.txt");
    run([&](QDialog &d) {
        set(d, "txtImportFile", file);
        setOutline(d, "A|a|a.html\nB");
        click(d, "cmdSave");
        EXPECT_EQ(lastMessage(), notice("JavaScript Menu Dialog", "The Text File Has Been Saved"));
        EXPECT_EQ(MainWindowHarness::readFile(file), "A|a|a.html\r\nB\r\n");
        for (int round = 0; round < 2; ++round) {
            setOutline(d, "");
            click(d, "cmdLoad");
            EXPECT_EQ(outline(d), "A|a|a.html\nB\n");
            click(d, "cmdSave");
            EXPECT_EQ(MainWindowHarness::readFile(file), "A|a|a.html\r\nB\r\n");
        }
        // An 8-bit outline stays 8-bit.
        h.writeFile("latin.txt", "Caf\xe9|x|y.html\r\n");
        set(d, "txtImportFile", h.path("latin.txt"));
        click(d, "cmdLoad");
        EXPECT_EQ(outline(d), QString::fromUtf8("Café|x|y.html\n"));
        click(d, "cmdSave");
        EXPECT_EQ(MainWindowHarness::readFile(h.path("latin.txt")), "Caf\xe9|x|y.html\r\n");
    });
    EXPECT_EQ(h.platform.messages.size(), 4);
    EXPECT_EQ(h.platform.busyDepth, 0);
}

TEST_F(JsMenuDialogTest, LoadRefusesLargeAndUnreadableFiles)
{
    h.writeFile("big.txt", QByteArray(1000000, 'x'));
    run([&](QDialog &d) {
        setOutline(d, "kept");
        set(d, "txtImportFile", h.path("big.txt"));
        click(d, "cmdLoad");
        EXPECT_EQ(lastMessage(), notice("Sorry...", "The File Is Too Large For Pagewick"));
        set(d, "txtImportFile", h.path("missing.txt"));
        click(d, "cmdLoad");
        EXPECT_EQ(lastMessage(), notice("Sorry...", "Error Loading Text"));
        EXPECT_EQ(outline(d), "kept");
    });
    EXPECT_EQ(h.platform.busyDepth, 0);
}

TEST_F(JsMenuDialogTest, CreateWritesThePageAndKeepsSupportFilesAlreadyThere)
{
    const QString page = h.path("site/menu.html");
    QDir().mkpath(h.path("site"));
    run([&](QDialog &d) {
        set(d, "txtExportFile", page);
        setOutline(d, "Sites|One|1.html\n");
        click(d, "cmdCreate");
        EXPECT_EQ(lastMessage(), notice("JavaScript Menu Dialog", "The HTML File Has Been Saved"));
        EXPECT_EQ(MainWindowHarness::readFile(page),
                  (jsMenuPage("Sites|One|1.html\r\n") + "\r\n").toUtf8());
        for (const QString &name : kListingSupportFiles)
            EXPECT_EQ(MainWindowHarness::readFile(h.path("site/" + name)),
                      MainWindowHarness::readFile(PAGEWICK_BIN_DIR "/" + name))
                << name.toStdString();

        h.writeFile("site/list.js", "// changed by the author");
        setOutline(d, "Other");
        h.platform.messageAnswers = {MsgAnswer::Yes}; // replace the page made before
        click(d, "cmdCreate");
        EXPECT_EQ(lastMessage(), notice("JavaScript Menu Dialog", "The HTML File Has Been Saved"));
        EXPECT_TRUE(MainWindowHarness::readFile(page).contains("// Other\r\n"));
        EXPECT_EQ(MainWindowHarness::readFile(h.path("site/list.js")), "// changed by the author");
    });
}

// A page that is there already is replaced only at the user's word: No leaves it byte for
// byte and writes no support file either.
TEST_F(JsMenuDialogTest, CreateOverAnExistingPageAsksFirst)
{
    const QString page = h.writeFile("site/index.html", "<P>my own page</P>");
    run([&](QDialog &d) {
        set(d, "txtExportFile", page);
        setOutline(d, "Sites|One|1.html\n");
        h.platform.messageAnswers = {MsgAnswer::No};
        click(d, "cmdCreate");
        EXPECT_EQ(lastMessage(), (MessageRecord{"JavaScript Menu Dialog",
                                                "These Files Already Exist:\r\nindex.html\r\n"
                                                "Replace Them?",
                                                MsgButtons::YesNo, MsgIcon::Question}));
        EXPECT_EQ(MainWindowHarness::readFile(page), "<P>my own page</P>");
        EXPECT_EQ(QDir(h.path("site")).entryList(QDir::Files), QStringList{"index.html"});
        h.platform.messageAnswers = {MsgAnswer::Yes};
        click(d, "cmdCreate");
        EXPECT_EQ(lastMessage(), notice("JavaScript Menu Dialog", "The HTML File Has Been Saved"));
    });
    EXPECT_TRUE(MainWindowHarness::readFile(page).contains("1.html"));
    EXPECT_EQ(h.platform.messages.size(), 3);
}

TEST_F(JsMenuDialogTest, FilesNotWrittenAreListedInsteadOfSuccess)
{
    const QString unsaved = "These Files Could Not Be Saved:\r\n";
    // Program files missing: the page is written, the three support files are listed.
    context->programFolder = h.path("empty");
    QDir().mkpath(h.path("empty"));
    run([&](QDialog &d) {
        setOutline(d, "T|s|l");
        set(d, "txtExportFile", h.path("menu.html"));
        click(d, "cmdCreate");
        EXPECT_EQ(lastMessage(), notice("Sorry...", unsaved + "true.gif\r\nfalse.gif\r\nlist.js"));
        EXPECT_TRUE(QFile::exists(h.path("menu.html")));

        // A page that cannot be written gets no support files beside it; a failed outline
        // save is reported the same way.
        set(d, "txtExportFile", h.path("nowhere/menu.html"));
        click(d, "cmdCreate");
        EXPECT_EQ(lastMessage(), notice("Sorry...", unsaved + "menu.html"));
        EXPECT_FALSE(h.platform.messageDetails.last().isEmpty()); // why it failed
        set(d, "txtImportFile", h.path("nowhere/outline.txt"));
        click(d, "cmdSave");
        EXPECT_EQ(lastMessage(), notice("Sorry...", unsaved + "outline.txt"));
    });
    EXPECT_EQ(h.platform.messages.size(), 3);
    EXPECT_FALSE(QDir(h.path("nowhere")).exists());
}

// The generated page in headless Chromium: the topics show, a click opens one, its
// sub-points appear and its picture switches. The page asks for resize.js, which is not
// there: the menu works without it.
TEST_F(JsMenuDialogTest, TheMenuWorksInABrowser)
{
    const QString page = h.path("web/menu.html");
    QDir().mkpath(h.path("web"));
    run([&](QDialog &d) {
        set(d, "txtExportFile", page);
        setOutline(d, "\nDownload Sites|First Mirror|first.html|Second Mirror|second.html\n"
                      "Say \"hi\"|Greeting|hi.html\nAlone");
        click(d, "cmdCreate");
        EXPECT_EQ(lastMessage(), notice("JavaScript Menu Dialog", "The HTML File Has Been Saved"));
    });
    ASSERT_FALSE(QFile::exists(h.path("web/resize.js")));
    const QJsonObject params{
        {"topics", QJsonArray{"Download Sites", "Say \"hi\"", "Alone"}},
        {"open", "Download Sites"},
        {"subPoints", QJsonArray{QJsonObject{{"text", "First Mirror"}, {"href", "first.html"}},
                                 QJsonObject{{"text", "Second Mirror"}, {"href", "second.html"}}}},
    };
    const BrowserCheck check = runBrowserCheck(page, "menu-checks.js", "js-menu.png", params);
    EXPECT_TRUE(check.passed) << check.output.toStdString();
    EXPECT_TRUE(QFile::exists(check.screenshot)) << check.screenshot.toStdString();
}

// Topics and sub-points that once ran as script or swallowed the page: in headless Chromium
// every topic after them still shows, a click opens them, and nothing ran.
TEST(JsMenuPage, HostileTopicsRunNothingInABrowser)
{
    QTemporaryDir site;
    for (const char *name : {"list.js", "true.gif", "false.gif"})
        ASSERT_TRUE(QFile::copy(QDir(PAGEWICK_BIN_DIR).filePath(name), site.filePath(name)));
    const QString separator = "Sep" + QString(QChar(0x2028)) + "window.pwned=1;//";
    const QString outline = separator + "|One|one.html\n"
                            + "<!--<script>|Two|two.html\n"
                              "</script><script>window.pwned=2</script>|Three|three.html\n"
                              "Say \"hi\" \\ it's|Four|x' onmouseover='window.pwned=3\n"
                              "After|Five|five.html";
    const QString page = site.filePath("menu.html");
    QFile out(page);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(jsMenuPage(outline).toUtf8());
    out.close();
    const QJsonObject params{
        {"open", QJsonArray{"Say \"hi\" \\ it's", "After"}},
        {"shown", QJsonArray{"Four", "Five"}},
        {"links",
         QJsonArray{QJsonObject{{"text", "Five"}, {"href", "five.html"}},
                    QJsonObject{{"text", "Four"}, {"href", "x' onmouseover='window.pwned=3"}}}},
    };
    const BrowserCheck check =
        runBrowserCheck(page, "hostile-checks.js", "js-menu-hostile.png", params);
    EXPECT_TRUE(check.passed) << check.output.toStdString();
}
