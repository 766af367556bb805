// The source view in the main window: the status line's permanent fields and the View menu's
// colouring and line-number items.
#include "source_view/source_edit.h"
#include "support/main_window_harness.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

using namespace pw;
using namespace pw::test;

namespace {

QString field(MainWindow &w, const char *name)
{
    return w.findChild<QLabel *>(name)->text();
}

QAction *item(MainWindow &w, const char *name)
{
    return w.findChild<QAction *>(name);
}

} // namespace

TEST(StatusLine, FieldsShowTheCaretAndHowTheFileIsWritten)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    EXPECT_EQ(field(w, "sbEncoding"), "UTF-8"); // the template
    EXPECT_EQ(field(w, "sbLineBreaks"), "CR LF");

    struct Case {
        const char *name;
        QByteArray bytes;
        const char *encoding;
        const char *breaks;
    };
    const Case cases[] = {
        {"plain.html", "<P>one</P>\r\n<P>two</P>\r\n", "UTF-8", "CR LF"},
        {"unix.html", "\xEF\xBB\xBF<P>caf\xC3\xA9</P>\n<P>two</P>\n", "UTF-8 with BOM", "LF"},
        {"old.html", "<P>\x93quoted\x94</P>\r<P>two</P>\r", "Windows-1252", "CR"},
        {"latin.html", "<P>caf\xE9</P>\n<P>two</P>\n", "Windows-1252", "LF"},
    };
    for (const Case &c : cases) {
        const QString path = h.writeFile(c.name, c.bytes);
        ASSERT_TRUE(w.document().open(path)) << c.name;
        EXPECT_EQ(statusText(w), path); // the document's identity stays the status text
        EXPECT_EQ(field(w, "sbEncoding"), c.encoding) << c.name;
        EXPECT_EQ(field(w, "sbLineBreaks"), c.breaks) << c.name;
        EXPECT_EQ(field(w, "sbCaret"), "Ln 1, Col 1") << c.name;
    }
    w.editBox().setCaret(w.editBox().lineStart(1) + 3);
    EXPECT_EQ(field(w, "sbCaret"), "Ln 2, Col 4");

    // Saving as Unix changes the breaks; closing leaves no document to describe.
    h.platform.fileAnswers = {h.path("saved.html")};
    w.document().saveAsUnix();
    EXPECT_EQ(field(w, "sbLineBreaks"), "LF");
    w.document().close();
    EXPECT_EQ(field(w, "sbEncoding"), "");
    EXPECT_EQ(field(w, "sbLineBreaks"), "");
    w.newDocument();
    EXPECT_EQ(field(w, "sbLineBreaks"), "CR LF");
}

TEST(ViewMenu, ColouringAndLineNumbersAreStoredAndRestored)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    SourceEdit *box = sourceEdit(w);
    ASSERT_EQ(box, w.editBox().widget());
    for (const char *name : {"mnuViewColouring", "mnuViewLineNumbers"}) {
        ASSERT_NE(item(w, name), nullptr) << name;
        EXPECT_TRUE(item(w, name)->isCheckable()) << name;
        EXPECT_TRUE(item(w, name)->isChecked()) << name;
    }
    EXPECT_TRUE(box->colouring());
    EXPECT_TRUE(box->lineNumbers());
    w.show();
    EXPECT_TRUE(box->lineNumberArea()->isVisible());
    EXPECT_GT(box->viewport()->x(), box->lineNumberArea()->x());

    item(w, "mnuViewColouring")->trigger();
    EXPECT_FALSE(box->colouring());
    EXPECT_FALSE(item(w, "mnuViewColouring")->isChecked());
    EXPECT_EQ(h.storedValue("View", "Colouring"), "False");
    EXPECT_EQ(h.storedValue("View", "LineNumbers"), "<absent>");
    EXPECT_FALSE(w.document().isModified());

    MainWindow &again = h.restart();
    EXPECT_FALSE(sourceEdit(again)->colouring());
    EXPECT_FALSE(item(again, "mnuViewColouring")->isChecked());
    EXPECT_TRUE(sourceEdit(again)->lineNumbers());

    item(again, "mnuViewLineNumbers")->trigger();
    item(again, "mnuViewColouring")->trigger();
    EXPECT_EQ(h.storedValue("View", "LineNumbers"), "False");
    EXPECT_EQ(h.storedValue("View", "Colouring"), "True");
    again.show();
    EXPECT_FALSE(sourceEdit(again)->lineNumberArea()->isVisible());
    EXPECT_EQ(sourceEdit(again)->viewport()->geometry().left(),
              sourceEdit(again)->contentsRect().left());

    MainWindow &third = h.restart();
    EXPECT_FALSE(item(third, "mnuViewLineNumbers")->isChecked());
    EXPECT_TRUE(item(third, "mnuViewColouring")->isChecked());
}
