// The two insertion operations as the toolbar drives them: caret and selection rules, the
// Id option, one undo step, the modified flag, the focus, and the clipboard left alone.
#include "insertion_fixture.h"
#include "shared/insertion.h"

#include <QLineEdit>

using namespace pw;
using namespace pw::test;

namespace {

using Insertion = InsertionFixture;

TEST_F(Insertion, BoldWithoutSelectionPutsTheCaretBetweenTheTags)
{
    set("ab\r\ncd", 4);
    click("cmdBold");
    EXPECT_EQ(text(), "ab\r\n<B></B>cd");
    EXPECT_EQ(caret(), 7);
    EXPECT_EQ(selLength(), 0);
}

TEST_F(Insertion, BoldWrapsTheSelectionAndLeavesTheCaretAfterIt)
{
    set("x\r\nabc y", 3, 3);
    // The focus starts elsewhere; the command hands it back to the document.
    list("cboCSS")->lineEdit()->setFocus();
    click("cmdBold");
    EXPECT_EQ(text(), "x\r\n<B>abc</B> y");
    EXPECT_EQ(caret(), 13);
    EXPECT_EQ(selLength(), 0);
    EXPECT_EQ(window().focusWidget(), window().editBox().widget());
}

TEST_F(Insertion, IdOptionIsReadAtEveryClick)
{
    set("abc", 0, 3);
    h.state.idAttribute = true;
    click("cmdBold");
    EXPECT_EQ(text(), "<B Id=\"BoldID\">abc</B>");
    set("", 0);
    click("cmdItallic");
    EXPECT_EQ(text(), "<I Id=\"ItallicsID\"></I>");
    EXPECT_EQ(caret(), 19);
    h.state.idAttribute = false;
    set("", 0);
    click("cmdParagraph");
    EXPECT_EQ(text(), "<P></P>");
}

TEST_F(Insertion, EmptyClosingTextPutsTheOpeningBeforeTheSelection)
{
    set("abc", 0, 3);
    click("cmdBR");
    EXPECT_EQ(text(), "<BR>abc");
    EXPECT_EQ(caret(), 7);
    EXPECT_EQ(selLength(), 0);

    set("abc", 1);
    click("cmdBR");
    EXPECT_EQ(text(), "a<BR>bc");
    EXPECT_EQ(caret(), 5);
}

TEST_F(Insertion, SelectionMadeBackwardsIsWrappedTheSame)
{
    set("one two", 7, -3); // caret at 4, anchor at 7
    click("cmdNumSign");
    EXPECT_EQ(text(), "one #two#");
    EXPECT_EQ(caret(), 9);
}

TEST_F(Insertion, SelectionAcrossLinesKeepsItsBreaks)
{
    set("a\r\nb\r\nc", 0, 6);
    click("cmdEM");
    EXPECT_EQ(text(), "<EM>a\r\nb\r\n</EM>c");
    EXPECT_EQ(caret(), 15);
}

TEST_F(Insertion, MultiLineOpeningCountsBreaksAsTwo)
{
    set("xy", 1);
    answer({"a"});
    click("cmdPHPIF");
    EXPECT_EQ(text(), "xif (a) {\r\n     \r\n}\r\nelse\r\n{\r\n\r\n}y");
    // On the second line, after the five blanks.
    EXPECT_EQ(caret(), 1 + 8 + 2 + 5);
    EXPECT_EQ(edit().lineOfPosition(caret()), 1);
}

TEST_F(Insertion, OneClickIsOneUndoStep)
{
    set("hello world", 6, 5);
    click("cmdStrong");
    ASSERT_EQ(text(), "hello <STRONG>world</STRONG>");
    window().editBox().widget()->undo();
    EXPECT_EQ(text(), "hello world");

    set("hello world", 5);
    click("cmdJavaScript");
    click("cmdTD");
    window().editBox().widget()->undo();
    EXPECT_EQ(
        text(),
        "hello<SCRIPT Language=\"JavaScript1.2\">\r\n<!-- \r\n\r\n\r\n// -->\r\n</SCRIPT> world");
    window().editBox().widget()->undo();
    EXPECT_EQ(text(), "hello world");
}

TEST_F(Insertion, InsertingMarksTheDocumentModifiedLikeTyping)
{
    ASSERT_FALSE(window().document().isModified());
    ASSERT_FALSE(window().findChild<QToolButton *>("cmdSave")->isEnabled());
    click("cmdCenter");
    EXPECT_TRUE(window().document().isModified());
    EXPECT_TRUE(window().findChild<QToolButton *>("cmdSave")->isEnabled());
}

TEST_F(Insertion, NothingToInsertIsNoEdit)
{
    // Both user-button texts empty: the selection is collapsed, the document untouched.
    set("abc", 0, 2);
    window().editBox().widget()->document()->setModified(false);
    userButton(0)->click();
    EXPECT_EQ(text(), "abc");
    EXPECT_EQ(caret(), 2);
    EXPECT_EQ(selLength(), 0);
    EXPECT_FALSE(window().editBox().widget()->document()->isModified());
}

// Every kind of command leaves whatever the clipboard held -- text or a picture -- in place.
TEST_F(Insertion, ClipboardIsNeverTouched)
{
    const auto runAll = [this] {
        set("pick me", 0, 4);
        click("cmdBold");  // ID pair, wrap
        click("cmdBR");    // fixed pair
        click("cmdPHPLM"); // snippet
        answer({"n", "v"});
        click("cmdButton"); // form field
        answer({"x"});
        click("cmdPHPFunction"); // prompted pair
        click("cmdInsert");      // vocabulary
        answerCount(2);
        click("cmdUL"); // list skeleton
        list("cboHeadings")->setCurrentIndex(1);
        emit list("cboHeadings")->activated(1);
        edit().setSelection(0, 10);
        window().commands().run("cmdCommentBlock");
        window().commands().run("cmdUnCommentBlock");
        h.state.userOpenTags[0] = "<X>";
        userButton(0)->click();
    };

    putTextOnClipboard("kept text");
    runAll();
    EXPECT_EQ(QApplication::clipboard()->text(), "kept text");

    const QImage image = putImageOnClipboard();
    runAll();
    const QMimeData *data = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasImage());
    EXPECT_EQ(QApplication::clipboard()->image(), image);
    EXPECT_FALSE(data->hasText());
}

// Cut, copy and paste are the document box's own, with the focus handed to it first.
TEST_F(Insertion, EditingKeysCutCopyAndPasteInTheDocument)
{
    set("one\r\ntwo three", 5, 3); // "two"
    list("cboCSS")->lineEdit()->setFocus();
    window().findChild<QToolButton *>("cmdCopy")->click();
    EXPECT_EQ(QApplication::clipboard()->text(), "two");
    EXPECT_EQ(text(), "one\r\ntwo three");
    EXPECT_EQ(window().focusWidget(), window().editBox().widget());

    list("cboCSS")->lineEdit()->setFocus();
    edit().setSelection(0, 5); // "one" and its line break
    window().findChild<QToolButton *>("cmdCut")->click();
    EXPECT_EQ(QApplication::clipboard()->text(), "one\n");
    EXPECT_EQ(text(), "two three");
    EXPECT_EQ(window().focusWidget(), window().editBox().widget());

    list("cboCSS")->lineEdit()->setFocus();
    edit().setCaret(9);
    window().findChild<QToolButton *>("cmdPaste")->click();
    EXPECT_EQ(text(), "two threeone\r\n");
    EXPECT_EQ(caret(), 14);
    EXPECT_EQ(window().focusWidget(), window().editBox().widget());
}

TEST(InsertionOperations, WorkOnAnyEditBox)
{
    QPlainTextEdit widget;
    EditBox box(&widget);
    box.setText("a\r\nb");
    box.setCaret(3);
    insertAround(box, "<1>\r\n", "</1>");
    EXPECT_EQ(box.text(), "a\r\n<1>\r\n</1>b");
    EXPECT_EQ(box.caret(), 8);
    box.setSelection(0, 3);
    insertText(box, "");
    EXPECT_EQ(box.text(), "<1>\r\n</1>b");
    EXPECT_EQ(box.caret(), 0);
}

} // namespace
