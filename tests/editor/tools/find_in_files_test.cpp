// Find in Files on a real main window over a real folder: what it lists, what it skips, how
// it opens a result, and stopping.
#include "document/document.h"
#include "shared/edit_box.h"
#include "support/main_window_harness.h"
#include "support/test_files.h"
#include "tools/find_in_files.h"
#include "tools/find_in_files_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace pw;
using namespace pw::test;

namespace {

class FindInFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = &h.start();
        folder = h.path("site");
        QDir().mkpath(folder + "/sub");
        h.writeFile("site/index.html", "<P>Hello world</P>\r\n<P>mail Ann@Example.com</P>\r\n"
                                       "<P>say hello, HELLO</P>\r\n");
        // Windows-1252, in a subfolder: found and shown as Open shows it.
        h.writeFile("site/sub/caf\xc3\xa9.htm", "caf\xE9 \x93hello\x94\r\n");
        // Binary (a NUL byte) and too large for Open: skipped.
        h.writeFile("site/picture.html", QByteArray("hello\0world", 11));
        h.writeFile("site/large.html", "hello " + QByteArray(1'000'000, 'x'));
        // Not one of the patterns.
        h.writeFile("site/notes.md", "hello\n");
        window->findChild<QAction *>("mnuFindInFiles")->trigger();
        find = window->findChild<FindInFilesWindow *>("frmFindInFiles");
        ASSERT_NE(find, nullptr);
        find->findChild<QLineEdit *>("txtFolder")->setText(folder);
        find->findChild<QLineEdit *>("txtPatterns")->setText("*.html; *.htm");
    }

    // Runs a search with the given text and options and waits for its end.
    QStringList search(const QString &text, bool matchCase = false, bool wholeWord = false,
                       bool regex = false, bool subfolders = true)
    {
        find->findChild<QLineEdit *>("txtFind")->setText(text);
        find->findChild<QCheckBox *>("chkMatchCase")->setChecked(matchCase);
        find->findChild<QCheckBox *>("chkWholeWord")->setChecked(wholeWord);
        find->findChild<QCheckBox *>("chkRegularExpression")->setChecked(regex);
        find->findChild<QCheckBox *>("chkSubfolders")->setChecked(subfolders);
        QTest::mouseClick(find->findChild<QPushButton *>("cmdFind"), Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([this] { return !find->running(); }, 10000));
        QStringList rows;
        auto *list = find->findChild<QTreeWidget *>("lstResults");
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *item = list->topLevelItem(i);
            rows << QDir(folder).relativeFilePath(QDir::fromNativeSeparators(item->text(0))) + ":"
                        + item->text(1) + ":" + item->text(2);
        }
        rows.sort();
        return rows;
    }

    QString status() { return find->findChild<QLabel *>("lblStatus")->text(); }

    MainWindowHarness h;
    MainWindow *window = nullptr;
    FindInFilesWindow *find = nullptr;
    QString folder;
};

} // namespace

TEST_F(FindInFilesTest, ListsMatchingLinesOfTextFilesOnly)
{
    EXPECT_EQ(search("hello"), QStringList({"index.html:1:<P>Hello world</P>",
                                            "index.html:3:<P>say hello, HELLO</P>",
                                            "sub/caf\u00e9.htm:1:caf\u00e9 \u201chello\u201d"}));
    EXPECT_EQ(status(), "3 matching lines in 2 files searched, 2 skipped (binary, too large or "
                        "unreadable)");
    // Every match of a line is marked.
    for (const FileHit &hit : find->hits()) {
        if (hit.line == 3) {
            EXPECT_EQ(hit.matches, (QList<std::pair<int, int>>{{7, 5}, {14, 5}}));
        }
    }

    EXPECT_EQ(search("hello", true, false, false, false),
              QStringList({"index.html:3:<P>say hello, HELLO</P>"}));
    EXPECT_EQ(search("HELLO", false, true), search("hello", false, true));
    EXPECT_TRUE(search("hell", false, true).isEmpty());
    EXPECT_TRUE(h.platform.messages.isEmpty());
}

// Files matching the patterns and folders whose names are not UTF-8 cannot be searched: the
// walk hands them over apart, as shown, after the files it can search; folders only when it
// goes into subfolders. The window counts them as skipped, so none goes by without a word.
TEST_F(FindInFilesTest, NamesThatAreNotUtf8AreCountedAsSkipped)
{
    BytesNamedEntries named(folder);
    named.file("\xff.html", "hello");
    named.file("\xff.md", "hello");
    named.folder("dir\xfe");
    named.file("dir\xfe/inner.html", "hello");
    named.folder("sub/deep\xfe");
    for (const bool subfolders : {true, false}) {
        QStringList files;
        QStringList unreachable;
        walkFiles(
            {folder, {"*.HTML", "*.htm"}, subfolders},
            [&](const QString &path) {
                EXPECT_TRUE(unreachable.isEmpty()) << "files first";
                files << QDir(folder).relativeFilePath(path);
                return true;
            },
            [&](const QString &path) {
                unreachable << QDir(folder).relativeFilePath(path);
                return true;
            });
        files.sort();
        unreachable.sort();
        if (subfolders) {
            EXPECT_EQ(files, QStringList({"index.html", "large.html", "picture.html",
                                          "sub/caf\u00e9.htm"}));
            QStringList expected = {shownName("\xff.html"), shownName("dir\xfe"),
                                    shownName("sub/deep\xfe")};
            expected.sort();
            EXPECT_EQ(unreachable, expected);
        } else {
            EXPECT_EQ(files, QStringList({"index.html", "large.html", "picture.html"}));
            EXPECT_EQ(unreachable, QStringList({shownName("\xff.html")}));
        }
    }
    // Stopping from the second callback ends the walk there too.
    int calls = 0;
    walkFiles(
        {folder, {"*"}, true}, [](const QString &) { return true; },
        [&](const QString &) { return ++calls < 2; });
    EXPECT_EQ(calls, 2);

    EXPECT_EQ(search("hello").size(), 3);
    EXPECT_EQ(status(), "3 matching lines in 2 files searched, 5 skipped (binary, too large or "
                        "unreadable)");
    EXPECT_EQ(search("hello", false, false, false, false).size(), 2);
    EXPECT_EQ(status(), "2 matching lines in 1 files searched, 3 skipped (binary, too large or "
                        "unreadable)");
}

TEST_F(FindInFilesTest, RegularExpressionsWithCapturesAndTheirMistakes)
{
    EXPECT_EQ(search("(\\w+)@(\\w+)\\.com", false, false, true),
              QStringList({"index.html:2:<P>mail Ann@Example.com</P>"}));
    ASSERT_EQ(find->hits().size(), 1);
    EXPECT_EQ(find->hits()[0].matches, (QList<std::pair<int, int>>{{8, 15}}));
    EXPECT_EQ(search("^<P>say", true, false, true),
              QStringList({"index.html:3:<P>say hello, HELLO</P>"}));

    // A broken expression is reported and nothing is searched.
    find->findChild<QLineEdit *>("txtFind")->setText("a(b");
    find->findChild<QCheckBox *>("chkRegularExpression")->setChecked(true);
    EXPECT_FALSE(find->start());
    ASSERT_EQ(h.platform.messages.size(), 1);
    EXPECT_EQ(h.platform.messages[0].title, "Find in Files");
    EXPECT_TRUE(h.platform.messages[0].text.startsWith("The regular expression is not valid: "));
    EXPECT_EQ(h.platform.messages[0].icon, MsgIcon::Information);
}

TEST_F(FindInFilesTest, ADoubleClickOpensTheFileAtTheMatchThroughTheSavePrompt)
{
    search("say hello");
    window->editBox().widget()->insertPlainText("unsaved ");
    h.platform.messageAnswers = {MsgAnswer::No};
    auto *list = find->findChild<QTreeWidget *>("lstResults");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(find));
    QApplication::processEvents();
    const QRect place = list->visualItemRect(list->topLevelItem(0));
    ASSERT_FALSE(place.isEmpty());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, place.center());
    ASSERT_EQ(h.platform.messages.size(), 1);
    EXPECT_EQ(h.platform.messages[0].text, "Save Current Before Opening Another File?");
    EXPECT_EQ(window->document().path(), folder + "/index.html");
    EditBox &edit = window->editBox();
    EXPECT_EQ(edit.selStart(), edit.lineStart(2) + 3);
    EXPECT_EQ(edit.selectedText(), "say hello");

    // Cancel keeps the edited document where it is.
    search("caf");
    edit.widget()->insertPlainText("more ");
    const QString edited = edit.text();
    h.platform.messageAnswers = {MsgAnswer::Cancel};
    find->openResult(0);
    EXPECT_EQ(window->document().path(), folder + "/index.html");
    EXPECT_EQ(edit.text(), edited);
}

TEST_F(FindInFilesTest, EscapeStopsASearchAndKeepsTheWindow)
{
    for (int i = 0; i < 3000; ++i)
        h.writeFile(QString("site/sub/many%1.html").arg(i), "hello there\r\n");
    find->show();
    find->findChild<QLineEdit *>("txtFind")->setText("hello");
    ASSERT_TRUE(find->start());
    ASSERT_TRUE(find->running());
    QTest::keyClick(find, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !find->running(); }, 10000));
    EXPECT_TRUE(find->isVisible());
    EXPECT_TRUE(status().startsWith("Stopped: ")) << status().toStdString();
    EXPECT_LT(find->hits().size(), 3002);

    // Escape with nothing running closes it.
    QPointer<FindInFilesWindow> open = find;
    QTest::keyClick(find, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return open.isNull() || !open->isVisible(); }, 2000));
}
