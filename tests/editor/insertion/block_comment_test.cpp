// Commenting and uncommenting the selected lines with the block comment symbol.
#include "insertion/block_comment.h"
#include "insertion_fixture.h"

#include "shared/program_state.h"

using namespace pw;
using namespace pw::test;

namespace {

class BlockComment : public InsertionFixture {
protected:
    void comment() { click("cmdCommentBlock"); }
    void uncomment() { click("cmdUnCommentBlock"); }
};

TEST_F(BlockComment, WholeLinesAreCommentedAndUncommented)
{
    set("a\r\nb\r\nc\r\nd", 0, 7); // "a" to the end of "c"
    comment();
    EXPECT_EQ(text(), "//a\r\n//b\r\n//c\r\nd");
    EXPECT_EQ(caret(), 12); // after the last symbol
    EXPECT_EQ(selLength(), 0);

    edit().setSelection(0, 13);
    uncomment();
    EXPECT_EQ(text(), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(caret(), 6); // the start of the last line
    EXPECT_EQ(selLength(), 0);
}

TEST_F(BlockComment, SelectionStartingMidLineGetsTheFirstSymbolThere)
{
    set("abc\r\ndef\r\nghi", 1, 7); // "bc" .. "de"
    comment();
    EXPECT_EQ(text(), "a//bc\r\n//def\r\nghi");

    edit().setSelection(1, 9);
    uncomment();
    EXPECT_EQ(text(), "abc\r\ndef\r\nghi");
}

TEST_F(BlockComment, SelectionEndingAtALineStartIncludesThatLine)
{
    set("a\r\nb\r\nc", 0, 6); // ends just after the second line's break
    comment();
    EXPECT_EQ(text(), "//a\r\n//b\r\n//c");
    EXPECT_EQ(caret(), 12);

    // Uncommenting the same way takes that line's symbol away too, though it lies past the
    // selection end.
    edit().setSelection(0, 10);
    uncomment();
    EXPECT_EQ(text(), "a\r\nb\r\nc");
}

TEST_F(BlockComment, SelectionWithinOneLine)
{
    set("x = 1; y = 2;", 7, 6);
    comment();
    EXPECT_EQ(text(), "x = 1; //y = 2;");
    EXPECT_EQ(caret(), 15);

    edit().setSelection(7, 8);
    uncomment();
    EXPECT_EQ(text(), "x = 1; y = 2;");
    EXPECT_EQ(caret(), 13);
    EXPECT_EQ(selLength(), 0);
}

TEST_F(BlockComment, NoSelectionPutsTheSymbolAtTheCaret)
{
    set("ab", 1);
    comment();
    EXPECT_EQ(text(), "a//b");
    EXPECT_EQ(caret(), 3);
}

TEST_F(BlockComment, UncommentLeavesIndentedSymbolsAndNonSymbols)
{
    set("  //a\r\n//b\r\n/c\r\n////d", 0, 19);
    uncomment();
    EXPECT_EQ(text(), "  //a\r\nb\r\n/c\r\n//d");
    // Nothing to remove within one line: the selection stays as it was.
    set("  //a", 0, 5);
    uncomment();
    EXPECT_EQ(text(), "  //a");
    EXPECT_EQ(selLength(), 5);
}

TEST_F(BlockComment, OneCharacterSymbol)
{
    h.state.BlockComment = "'";
    set("x\r\ny", 0, 4);
    comment();
    EXPECT_EQ(text(), "'x\r\n'y");
    edit().setSelection(0, 6);
    uncomment();
    EXPECT_EQ(text(), "x\r\ny");
}

TEST_F(BlockComment, SymbolIsCaseSensitiveAndMayBeLong)
{
    h.state.BlockComment = "REM ";
    set("rem a\r\nREM b", 0, 12);
    uncomment();
    EXPECT_EQ(text(), "rem a\r\nb");
}

TEST_F(BlockComment, OnlyTheSelectedLinesOfALongDocumentChange)
{
    QStringList lines;
    for (int i = 0; i < 12; ++i)
        lines << QStringLiteral("line %1").arg(i);
    const QString original = lines.join("\r\n");
    const int start = int(original.indexOf("line 4"));
    set(original, start, int(original.indexOf("line 7")) + 3 - start);
    comment();
    QStringList expected = lines;
    for (int i = 4; i <= 7; ++i)
        expected[i] = "//" + expected[i];
    EXPECT_EQ(text(), expected.join("\r\n"));

    edit().setSelection(start, 40);
    uncomment();
    EXPECT_EQ(text(), original);
}

TEST_F(BlockComment, EachCommandIsOneUndoStepAndMarksModified)
{
    set("a\r\nb\r\nc", 0, 7);
    window().editBox().widget()->document()->clearUndoRedoStacks();
    comment();
    EXPECT_TRUE(window().document().isModified());
    window().editBox().widget()->undo();
    EXPECT_EQ(text(), "a\r\nb\r\nc");
    EXPECT_FALSE(window().editBox().widget()->document()->isUndoAvailable());
}

TEST_F(BlockComment, ClipboardIsLeftAlone)
{
    putTextOnClipboard("on the clipboard");
    set("a\r\nb", 0, 4);
    comment();
    edit().setSelection(0, 8);
    uncomment();
    EXPECT_EQ(QApplication::clipboard()->text(), "on the clipboard");
    EXPECT_EQ(text(), "a\r\nb");
}

TEST_F(BlockComment, EmptySymbolChangesNothing)
{
    h.state.BlockComment = "";
    set("a\r\nb", 0, 4);
    window().editBox().widget()->document()->setModified(false);
    comment();
    uncomment();
    EXPECT_EQ(text(), "a\r\nb");
    EXPECT_FALSE(window().editBox().widget()->document()->isModified());
}

} // namespace

namespace {

// The commands done the long way, one line at a time, exactly as the steps describe them:
// the one-pass versions must leave the same text, caret and selection.
void commentLineByLine(EditBox &edit, const QString &symbol)
{
    const int start = edit.selStart();
    const int first = edit.lineOfPosition(start);
    const int last = edit.lineOfPosition(start + edit.selLength());
    edit.replaceSelection(symbol + edit.selectedText());
    for (int line = first + 1; line <= last; ++line) {
        edit.setCaret(edit.lineStart(line));
        edit.replaceSelection(symbol);
    }
}

void unCommentLineByLine(EditBox &edit, const QString &symbol)
{
    const int start = edit.selStart();
    const int first = edit.lineOfPosition(start);
    const int last = edit.lineOfPosition(start + edit.selLength());
    const int n = int(symbol.size());
    const QString selected = edit.selectedText();
    if (selected.left(n) == symbol)
        edit.replaceSelection(selected.mid(n));
    for (int line = first + 1; line <= last; ++line) {
        edit.setSelection(edit.lineStart(line), n);
        if (edit.selectedText() == symbol)
            edit.replaceSelection(QString());
        edit.setCaret(edit.lineStart(line));
    }
}

TEST(BlockCommentSteps, OnePassMatchesLineByLine)
{
    QPlainTextEdit fastWidget, slowWidget;
    EditBox fast(&fastWidget), slow(&slowWidget);
    const QString pieces[] = {"/", "//", "a", " ", "\r\n", "'", "REM ", "x"};
    const QString symbols[] = {"//", "'", "REM ", "", "/"};
    std::uint32_t seed = 12345;
    const auto next = [&seed](std::uint32_t bound) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % bound;
    };
    for (int round = 0; round < 600; ++round) {
        QString doc;
        const int count = int(next(14));
        for (int i = 0; i < count; ++i)
            doc += pieces[next(8)];
        const QString symbol = symbols[next(5)];
        fast.setText(doc);
        const int length = fast.length();
        const int start = int(next(std::uint32_t(length + 1)));
        const int selLength = int(next(std::uint32_t(length - start + 1)));
        const bool comment = next(2) == 0;
        SCOPED_TRACE(QStringLiteral("%1 [%2,+%3] symbol '%4' %5")
                         .arg(QString(doc).replace("\r\n", "|"))
                         .arg(start)
                         .arg(selLength)
                         .arg(symbol, comment ? "comment" : "uncomment")
                         .toStdString());
        for (EditBox *box : {&fast, &slow}) {
            box->setText(doc);
            box->setSelection(start, selLength);
        }
        if (comment) {
            pw::commentBlock(fast, symbol);
            commentLineByLine(slow, symbol);
        } else {
            pw::unCommentBlock(fast, symbol);
            unCommentLineByLine(slow, symbol);
        }
        ASSERT_EQ(fast.text(), slow.text());
        ASSERT_EQ(fast.caret(), slow.caret());
        ASSERT_EQ(fast.selStart(), slow.selStart());
        ASSERT_EQ(fast.selLength(), slow.selLength());
    }
}

} // namespace
