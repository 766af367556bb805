// The snippet buttons on the real main window: the two scripts at the caret or over the
// selection (and run in a JavaScript engine, as a page would run them), and the include
// file copied beside the document.
#include "generators/snippets.h"
#include "support/main_window_harness.h"
#include "support/qt_print.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace pw;
using namespace pw::test;

namespace {

class Snippets : public ::testing::Test {
protected:
    void SetUp() override { h.start(); }
    void click(const char *name)
    {
        h.window().findChild<QToolButton *>(QString::fromUtf8(name))->click();
    }
    EditBox &edit() { return h.window().editBox(); }
    MainWindowHarness h;
};

TEST_F(Snippets, ScriptsGoAtTheCaretOrOverTheSelection)
{
    edit().setText("<HEAD>|</HEAD>");
    edit().setSelection(6, 1);
    click("cmdJSAd");
    EXPECT_EQ(edit().text(), "<HEAD>" + adRotatorScript() + "</HEAD>");
    EXPECT_TRUE(adRotatorScript().endsWith("// --></SCRIPT>\r\n\r\n"));

    edit().setText("ab");
    edit().setSelection(1, 0);
    h.platform.inputAnswers = {"Welcome to \"our\" page", ""};
    click("cmdJSStatusScroll");
    EXPECT_EQ(edit().text(), "a" + statusScrollerScript("Welcome to \"our\" page") + "b");
    EXPECT_TRUE(edit().text().contains("\r\nsetText(\"Welcome to \\\"our\\\" page\")\r\n"));

    // A cancelled question inserts nothing.
    edit().setText("kept");
    edit().setSelection(2, 0);
    click("cmdJSStatusScroll");
    EXPECT_EQ(edit().text(), "kept");
    ASSERT_EQ(h.platform.inputs.size(), 2);
    for (const InputRecord &input : h.platform.inputs) {
        EXPECT_EQ(input.prompt, "Enter Scrolling Text:");
        EXPECT_EQ(input.title, "Pagewick");
        EXPECT_EQ(input.defaultText, "");
    }
    EXPECT_TRUE(h.platform.messages.isEmpty());
}

// Runs a page's script blocks in node, with a window and document that record what the
// scripts do, and reports what happened as JSON.
const char *const kScriptRunner = R"js(
const vm = require('vm');
const fs = require('fs');
const [ad, scroller] = process.argv.slice(1).map(f => fs.readFileSync(f, 'latin1'));
function run(text, context) {
  for (const block of text.split(/<SCRIPT Language="JavaScript">|<\/SCRIPT>/))
    if (block.trim()) vm.runInContext(block, context);
}
const out = { ad: [] };
const adPage = vm.createContext({ document: { write: s => out.ad.push(s) },
    Math: Object.assign(Object.create(Math), { random: () => 0.99 }) });
run(ad, adPage);
vm.runInContext('insertAd()', adPage);
const timers = [];
const win = { defaultStatus: '', setTimeout: (code, ms) => timers.push([code, ms]) };
const page = vm.createContext({ window: win });
run(scroller, page);
out.first = win.defaultStatus;
out.timer = timers[0];
const tick = () => vm.runInContext(timers[timers.length - 1][0], page);
for (let k = 0; k < 127; ++k) tick();
out.last = win.defaultStatus;
tick();
out.wrapped = win.defaultStatus;
console.log(JSON.stringify(out));
)js";

TEST(SnippetScripts, RunInAJavaScriptEngine)
{
    QTemporaryDir dir;
    // Quotes, a backslash, a line separator and the end of a script element: all text.
    const QString news =
        QStringLiteral("Bob's \"shop\" \\") + QChar(0x2028) + QStringLiteral("</script><!--");
    const auto save = [&dir](const char *name, const QString &text) {
        QFile file(dir.filePath(QString::fromUtf8(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toLatin1());
        return file.fileName();
    };
    QProcess node;
    node.start("node", {"-e", kScriptRunner, "--", save("ad.js", adRotatorScript()),
                        save("scroll.js", statusScrollerScript(news))});
    ASSERT_TRUE(node.waitForFinished(30000)) << "node could not be run";
    ASSERT_EQ(node.exitCode(), 0) << node.readAllStandardError().toStdString();
    const QJsonObject out = QJsonDocument::fromJson(node.readAllStandardOutput()).object();

    // The fifth banner, as a link to the fifth page.
    EXPECT_EQ(out["ad"].toArray(), QJsonArray({"<P Align=Center><A HREF=\"page5.html\">",
                                               "<IMG Src=\"i4.gif\"Border=0></IMG></A></P>"}));
    // The text starts 127 blanks in, moves one place per 500 ms tick and starts over.
    EXPECT_EQ(out["first"].toString(), QString(127, ' ') + news);
    EXPECT_EQ(out["timer"].toArray(), QJsonArray({"statusScroll()", 500}));
    EXPECT_EQ(out["last"].toString(), news);
    EXPECT_EQ(out["wrapped"].toString(), QString(127, ' ') + news);
}

class CopyInclude : public Snippets {
protected:
    void SetUp() override
    {
        site = h.path("site/");
        QDir().mkpath(site);
        h.start(h.writeFile("site/page.php", "<?php ?>\r\n"));
    }
    QByteArray programFile(const char *name)
    {
        return MainWindowHarness::readFile(
            QDir(h.window().programFolder()).filePath(QString::fromUtf8(name)));
    }
    QString site;
};

const MessageRecord kCopied{"File Copy: html_class.inc", "Copy Complete", MsgButtons::Ok,
                            MsgIcon::Information};
const MessageRecord kOverwrite{"File Copy: html_class.inc",
                               "The File already exists in the directory\r\n"
                               "Do you wish to overwrite the current file?",
                               MsgButtons::YesNoCancel, MsgIcon::Question};

TEST_F(CopyInclude, FirstCopyIsConfirmedAndAnExistingFileIsReplacedOnlyOnYes)
{
    click("cmdCopyINC");
    EXPECT_FALSE(programFile("html_class.inc").isEmpty());
    EXPECT_EQ(MainWindowHarness::readFile(site + "html_class.inc"), programFile("html_class.inc"));
    EXPECT_EQ(MainWindowHarness::readFile(site + "html_class_documentation.txt"),
              programFile("html_class_documentation.txt"));
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>{kCopied});

    // The author's own versions, then No, Cancel and Yes to the question.
    h.writeFile("site/html_class.inc", "mine");
    h.writeFile("site/html_class_documentation.txt", "my notes");
    h.platform.messages.clear();
    h.platform.messageAnswers = {MsgAnswer::No, MsgAnswer::Cancel};
    click("cmdCopyINC");
    click("cmdCopyINC");
    EXPECT_EQ(MainWindowHarness::readFile(site + "html_class.inc"), "mine");
    EXPECT_EQ(MainWindowHarness::readFile(site + "html_class_documentation.txt"), "my notes");

    h.platform.messageAnswers = {MsgAnswer::Yes};
    click("cmdCopyINC");
    EXPECT_EQ(MainWindowHarness::readFile(site + "html_class.inc"), programFile("html_class.inc"));
    EXPECT_EQ(MainWindowHarness::readFile(site + "html_class_documentation.txt"),
              programFile("html_class_documentation.txt"));
    // Three questions and no confirmation after the replacement.
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({kOverwrite, kOverwrite, kOverwrite}));
}

TEST_F(CopyInclude, AnUntitledDocumentCopiesIntoTheCurrentDirectory)
{
    h.window().document().replace("new");
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(site));
    click("cmdCopyINC");
    QDir::setCurrent(before);
    EXPECT_EQ(MainWindowHarness::readFile(site + "html_class.inc"), programFile("html_class.inc"));
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>{kCopied});
}

TEST_F(CopyInclude, AFailedCopyNamesTheFilesAndIsNotReportedAsDone)
{
    // A program folder without the files.
    FeatureContext context = h.window().featureContext();
    QTemporaryDir empty;
    context.programFolder = empty.path();
    copyIncludeFile(context);
    EXPECT_FALSE(QFile::exists(site + "html_class.inc"));
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>({{"Sorry...",
                                       "These Files Could Not Be Saved:\r\nhtml_class.inc\r\n"
                                       "html_class_documentation.txt",
                                       MsgButtons::Ok, MsgIcon::Information}}));
    // Why each failed is there on request.
    EXPECT_TRUE(h.platform.messageDetails.value(0).startsWith("html_class.inc: "));
    EXPECT_EQ(h.platform.busyDepth, 0);
}

} // namespace
