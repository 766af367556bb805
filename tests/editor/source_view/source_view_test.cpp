// The source view: colouring read line by line from the state the line before left, the
// tag matching, and that neither touches the text.
#include "source_view/html_scanner.h"
#include "source_view/source_edit.h"
#include "source_view/source_highlighter.h"
#include "source_view/tag_matching.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <gtest/gtest.h>

using namespace pw;

namespace {

// A source view on screen with the given text.
struct View {
    SourceEdit edit;

    explicit View(const QString &text)
    {
        edit.resize(700, 500);
        edit.setPlainText(text);
        edit.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&edit));
        paint();
    }
    void paint() { edit.viewport()->repaint(); }

    // The colour of the text at the first `needle` of a line; invalid where it is plain.
    QColor colourOf(int line, const QString &needle) const
    {
        const QTextBlock block = edit.document()->findBlockByNumber(line);
        const int column = int(block.text().indexOf(needle));
        EXPECT_GE(column, 0) << needle.toStdString() << " not on line " << line;
        for (const QTextLayout::FormatRange &range : block.layout()->formats()) {
            if (column >= range.start && column < range.start + range.length)
                return range.format.foreground().color();
        }
        return {};
    }
    QColor colour(SourceToken token) const { return edit.highlighter()->colour(token); }
    void typeAtEndOfLine(int line, const QString &text)
    {
        QTextCursor cursor(edit.document()->findBlockByNumber(line));
        cursor.movePosition(QTextCursor::EndOfBlock);
        edit.setTextCursor(cursor);
        QTest::keyClicks(&edit, text);
    }
};

const QString kPage = QStringLiteral("<!-- a comment\n"                          // 0
                                     "<B>still the comment</B> -->\n"            // 1
                                     "<SCRIPT>\n"                                // 2
                                     "var s = \"<B>\"; // a note\n"              // 3
                                     "</SCRIPT>\n"                               // 4
                                     "<?php\n"                                   // 5
                                     "$name = \"two\n"                           // 6
                                     "lines <B>\";\n"                            // 7
                                     "?>\n"                                      // 8
                                     "<P CLASS=\"a\">&amp; <B>b</B></P>\n"       // 9
                                     "<STYLE>\n"                                 // 10
                                     "P.note { color: red }\n"                   // 11
                                     "</STYLE>\n"                                // 12
                                     "<SCRIPT LANGUAGE=\"VBScript\">\n"          // 13
                                     "Dim x ' a note\n"                          // 14
                                     "</SCRIPT>\n"                               // 15
                                     "<% Response.Write \"x\" %><CFIF a EQ 1>\n" // 16
                                     "<A HREF=\"<?= $url ?>/x\">link</A>\n"      // 17
                                     "<!DOCTYPE HTML>\n");                       // 18

} // namespace

TEST(SourceColouring, WhatALineLeavesOpenColoursTheNextLine)
{
    View v(kPage);
    // A markup comment over two lines: the tags inside are comment.
    EXPECT_EQ(v.colourOf(1, "<B>"), v.colour(SourceToken::Comment));
    EXPECT_EQ(v.colourOf(1, "-->"), v.colour(SourceToken::Comment));
    // A script: its lines are code until its end tag, markup in its strings is no tag.
    EXPECT_EQ(v.colourOf(3, "var"), v.colour(SourceToken::Keyword));
    EXPECT_EQ(v.colourOf(3, "<B>"), v.colour(SourceToken::String));
    EXPECT_EQ(v.colourOf(3, "// a"), v.colour(SourceToken::Comment));
    EXPECT_EQ(v.colourOf(4, "</SCRIPT>"), v.colour(SourceToken::Tag));
    // A PHP block with a string over two lines.
    EXPECT_EQ(v.colourOf(6, "$name"), v.colour(SourceToken::Variable));
    EXPECT_EQ(v.colourOf(7, "lines"), v.colour(SourceToken::String));
    EXPECT_EQ(v.colourOf(7, "<B>"), v.colour(SourceToken::String));
    EXPECT_EQ(v.colourOf(8, "?>"), v.colour(SourceToken::ServerDelimiter));
    // After them all, markup again.
    EXPECT_EQ(v.colourOf(9, "<P"), v.colour(SourceToken::Tag));
    EXPECT_EQ(v.colourOf(9, "B>b"), v.colour(SourceToken::Tag));
    EXPECT_FALSE(v.colourOf(9, "b<").isValid());
}

TEST(SourceColouring, EachEmbeddedLanguageHasItsOwnWords)
{
    View v(kPage);
    EXPECT_EQ(v.colourOf(9, "CLASS"), v.colour(SourceToken::AttributeName));
    EXPECT_EQ(v.colourOf(9, "\"a\""), v.colour(SourceToken::AttributeValue));
    EXPECT_EQ(v.colourOf(9, "&amp;"), v.colour(SourceToken::Entity));
    EXPECT_EQ(v.colourOf(11, "P.note"), v.colour(SourceToken::Tag));
    EXPECT_EQ(v.colourOf(11, "color"), v.colour(SourceToken::Property));
    EXPECT_EQ(v.colourOf(14, "Dim"), v.colour(SourceToken::Keyword));
    EXPECT_EQ(v.colourOf(14, "' a note"), v.colour(SourceToken::Comment));
    EXPECT_FALSE(v.colourOf(14, "x").isValid());
    EXPECT_EQ(v.colourOf(16, "<%"), v.colour(SourceToken::ServerDelimiter));
    EXPECT_EQ(v.colourOf(16, "\"x\""), v.colour(SourceToken::String));
    EXPECT_EQ(v.colourOf(16, "CFIF"), v.colour(SourceToken::ServerTag));
    EXPECT_EQ(v.colourOf(16, "EQ"), v.colour(SourceToken::Keyword));
    // A server block inside an attribute value: the value goes on after it.
    EXPECT_EQ(v.colourOf(17, "$url"), v.colour(SourceToken::Variable));
    EXPECT_EQ(v.colourOf(17, "/x"), v.colour(SourceToken::AttributeValue));
    EXPECT_EQ(v.colourOf(17, "link"), QColor());
    EXPECT_EQ(v.colourOf(18, "DOCTYPE"), v.colour(SourceToken::Declaration));
}

TEST(SourceColouring, AnEditThatClosesACommentRecoloursWhatFollows)
{
    QString text = QStringLiteral("<!-- open\n");
    for (int i = 0; i < 300; ++i)
        text += QStringLiteral("<B>line</B>\n");
    View v(text);
    EXPECT_EQ(v.colourOf(1, "<B>"), v.colour(SourceToken::Comment));

    v.typeAtEndOfLine(0, QStringLiteral(" -->"));
    v.paint();
    EXPECT_EQ(v.colourOf(1, "<B>"), v.colour(SourceToken::Tag));
    // Lines far below, off screen at the time of the edit, come on screen recoloured.
    v.edit.verticalScrollBar()->setValue(v.edit.verticalScrollBar()->maximum());
    v.paint();
    EXPECT_EQ(v.colourOf(300, "<B>"), v.colour(SourceToken::Tag));

    // Taking the end of the comment away makes them comment again.
    while (v.edit.document()->isUndoAvailable())
        v.edit.undo();
    v.paint();
    EXPECT_EQ(v.colourOf(300, "<B>"), v.colour(SourceToken::Comment));
    EXPECT_EQ(v.edit.toPlainText(), text);
}

TEST(SourceColouring, ColouringChangesNoTextPositionUndoOrModifiedState)
{
    View v(kPage);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(15);
    v.edit.setFont(font);
    v.typeAtEndOfLine(9, QStringLiteral("x"));
    v.edit.document()->setModified(false);
    const int undoSteps = v.edit.document()->availableUndoSteps();
    QSignalSpy changed(&v.edit, &QPlainTextEdit::textChanged);
    QSignalSpy modified(v.edit.document(), &QTextDocument::modificationChanged);
    v.paint();
    const QRect coloured = v.edit.cursorRect();
    ASSERT_TRUE(v.colourOf(9, "<P").isValid());

    v.edit.setColouring(false);
    v.paint();
    EXPECT_FALSE(v.colourOf(9, "<P").isValid());
    EXPECT_EQ(v.edit.cursorRect(), coloured); // the display font is the same everywhere

    v.edit.setColouring(true);
    QPalette dark;
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Text, QColor(220, 220, 220));
    v.edit.setPalette(dark);
    v.paint();
    EXPECT_EQ(v.colourOf(9, "<P"), sourceColour(SourceToken::Tag, dark));

    EXPECT_EQ(v.edit.toPlainText(), QString(kPage).replace("</P>\n<STYLE>", "</P>x\n<STYLE>"));
    EXPECT_EQ(v.edit.document()->availableUndoSteps(), undoSteps);
    EXPECT_FALSE(v.edit.document()->isModified());
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(modified.count(), 0);
}

TEST(SourceColouring, ColoursReadWellOnLightAndDarkBases)
{
    for (const QColor &base :
         {QColor(Qt::white), QColor(255, 255, 224), QColor(30, 30, 30), QColor(Qt::black)}) {
        QPalette palette;
        palette.setColor(QPalette::Base, base);
        for (int k = 0; k < kSourceTokenCount; ++k) {
            const auto token = SourceToken(k);
            EXPECT_GE(contrastRatio(sourceColour(token, palette), base),
                      token == SourceToken::Comment ? 3.5 : 4.5)
                << "token " << k << " on " << base.name().toStdString();
        }
    }
}

namespace {

TagMatch matchAt(const QString &page, int line, const QString &needle, int offset = 1)
{
    const TextLines lines(page);
    return matchTag(lines, line, int(lines.line(line).indexOf(needle)) + offset);
}

} // namespace

TEST(TagMatching, NestedElementsPairByDepthWithoutRegardToCase)
{
    const QString page = QStringLiteral("<DIV CLASS=\"outer\">\n"
                                        "  <div>inner</div><Div\n"
                                        "    ID=x></dIV>\n"
                                        "</DIV>");
    TagMatch outer = matchAt(page, 0, "<DIV");
    EXPECT_EQ(outer.kind, TagMatch::Paired);
    EXPECT_EQ(outer.tag, (TagSpan{0, 0, 19}));
    EXPECT_EQ(outer.partner, (TagSpan{3, 0, 6}));
    // From the closing tag back to the opening one; the caret just after the name counts.
    EXPECT_EQ(matchAt(page, 3, "</DIV", 5).partner, outer.tag);
    const TagMatch inner = matchAt(page, 1, "</div");
    EXPECT_EQ(inner.partner, (TagSpan{1, 2, 5}));
    // A tag over two lines is marked through its name on the first.
    EXPECT_EQ(matchAt(page, 1, "<Div").tag, (TagSpan{1, 18, 4}));
    EXPECT_EQ(matchAt(page, 1, "<Div").partner, (TagSpan{2, 9, 6}));
    // The caret on an attribute or in text is on no tag.
    EXPECT_EQ(matchAt(page, 0, "CLASS").kind, TagMatch::NoTag);
    EXPECT_EQ(matchAt(page, 1, "inner").kind, TagMatch::NoTag);
}

TEST(TagMatching, VoidUnclosedAndOptionalEndTags)
{
    const QString page = QStringLiteral("<DIV><SPAN>text<BR><IMG SRC=a.gif><HR/></BR>\n"
                                        "<P>para<LI>item<CFSET x = 1></DIV>");
    EXPECT_EQ(matchAt(page, 0, "<SPAN").kind, TagMatch::Unmatched);
    EXPECT_EQ(matchAt(page, 0, "<DIV").kind, TagMatch::Paired);
    for (const char *single : {"<BR", "<IMG", "<HR"})
        EXPECT_EQ(matchAt(page, 0, single).kind, TagMatch::Single) << single;
    EXPECT_EQ(matchAt(page, 0, "</BR").kind, TagMatch::Unmatched);
    EXPECT_EQ(matchAt(page, 1, "<P").kind, TagMatch::Single);
    EXPECT_EQ(matchAt(page, 1, "<LI").kind, TagMatch::Single);
    EXPECT_EQ(matchAt(page, 1, "<CFSET").kind, TagMatch::Single);
    EXPECT_TRUE(isVoidElement(u"Br"));
    EXPECT_FALSE(isVoidElement(u"div"));
}

TEST(TagMatching, TagsInCommentsScriptsAndServerCodeAreNotCounted)
{
    const QString page = QStringLiteral("<DIV>\n"
                                        "<!-- <DIV> -->\n"
                                        "<SCRIPT>document.write(\"</DIV>\");</SCRIPT>\n"
                                        "<?php echo '<div>'; ?>\n"
                                        "</DIV>");
    EXPECT_EQ(matchAt(page, 0, "<DIV").partner, (TagSpan{4, 0, 6}));
    EXPECT_EQ(matchAt(page, 1, "<DIV").kind, TagMatch::NoTag);
    EXPECT_EQ(matchAt(page, 2, "<SCRIPT").partner, (TagSpan{2, 33, 9}));
}

TEST(TagMatching, TheBoxMarksTheTagAndItsPartner)
{
    View v(QStringLiteral("<TABLE>\n<TR><TD>x</TD></TR>\n</TABLE>\n<UL>"));
    QTextCursor caret(v.edit.document()->findBlockByNumber(2));
    caret.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 3);
    v.edit.setTextCursor(caret);
    auto marked = [&](const QColor &colour) {
        QStringList texts;
        for (const QTextEdit::ExtraSelection &mark : v.edit.extraSelections()) {
            if (mark.format.background().color() == colour)
                texts << mark.cursor.selectedText();
        }
        return texts;
    };
    EXPECT_EQ(marked(v.edit.tagPairColour()), QStringList({"</TABLE>", "<TABLE>"}));
    EXPECT_EQ(v.edit.extraSelections().size(), 3); // with the caret's line

    caret.setPosition(v.edit.document()->findBlockByNumber(3).position() + 1);
    v.edit.setTextCursor(caret);
    EXPECT_EQ(marked(v.edit.unmatchedTagColour()), QStringList({"<UL>"}));
    EXPECT_TRUE(marked(v.edit.tagPairColour()).isEmpty());
}
