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

#include <random>

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

    // A line coloured once and edited off screen keeps old colours in its layout until it is
    // shown; turning colouring off takes those away too.
    v.edit.verticalScrollBar()->setValue(0);
    v.paint();
    v.typeAtEndOfLine(0, QStringLiteral(" -->"));
    v.edit.setColouring(false);
    v.edit.verticalScrollBar()->setValue(v.edit.verticalScrollBar()->maximum());
    v.paint();
    EXPECT_FALSE(v.colourOf(300, "<B>").isValid());
}

namespace {

// Counts the times the box's viewport changes width after the text went in: each lays out
// every line of the document again.
struct WidthWatch : QObject {
    bool textIn = false;
    int relayouts = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Resize && textIn) {
            const auto *resize = static_cast<QResizeEvent *>(event);
            relayouts += resize->size().width() != resize->oldSize().width();
        }
        return false;
    }
};

int relayoutsAfterText(bool throughSourceText)
{
    SourceEdit edit;
    edit.resize(500, 300);
    edit.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&edit));
    WidthWatch watch;
    edit.viewport()->installEventFilter(&watch);
    QObject::connect(edit.document(), &QTextDocument::contentsChanged, &watch,
                     [&] { watch.textIn = true; });
    const QString text = QStringLiteral("<P>line</P>\n").repeated(20000);
    if (throughSourceText)
        edit.setSourceText(text);
    else
        edit.setPlainText(text);
    QCoreApplication::processEvents();
    EXPECT_EQ(edit.blockCount(), 20001);
    EXPECT_TRUE(edit.verticalScrollBar()->isVisible());
    return watch.relayouts;
}

} // namespace

TEST(SourceEdit, AWholeTextGoesInAtTheWidthItNeeds)
{
    // Set the plain way, the gutter's fifth digit and the scroll bar narrow the box after the
    // text is in; set as source text, the box makes room first.
    EXPECT_GT(relayoutsAfterText(false), 0);
    EXPECT_EQ(relayoutsAfterText(true), 0);
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

namespace {

// The text search the matching did before lines kept their tags counted: every line that
// names the element is read.
class ReadEveryLine : public SourceLines {
public:
    explicit ReadEveryLine(const QString &text) : lines_(text) {}
    int lineCount() const override { return lines_.lineCount(); }
    QString line(int index) const override { return lines_.line(index); }
    int stateBefore(int index) const override { return lines_.stateBefore(index); }

private:
    TextLines lines_;
};

// The match the box marks with the caret moved onto a line and column.
TagMatch boxMatch(SourceEdit &edit, int line, int column)
{
    QTextCursor away(edit.document());
    edit.setTextCursor(away);
    QTextCursor cursor(edit.document()->findBlockByNumber(line));
    cursor.setPosition(cursor.position() + column);
    edit.setTextCursor(cursor);
    return edit.tagMatch();
}

void insertAt(SourceEdit &edit, int line, const QString &text)
{
    QTextCursor cursor(edit.document()->findBlockByNumber(line));
    cursor.insertText(text);
}

// A page of `lines` lines: line 0 opens a DIV, and so does every line up to `middle` where
// a DIV closes, then every line to the last one, which closes the first DIV again.
QString farPartnerPage(int lines, int middle)
{
    QString page = QStringLiteral("<DIV ID=\"a\">\n");
    for (int i = 1; i < lines - 1; ++i) {
        if (i == middle)
            page += QStringLiteral("</DIV>\n");
        else
            page += QStringLiteral("<div>text</div> <P>more <Div>x</DIV>\n");
    }
    page += QStringLiteral("</div>");
    return page;
}

} // namespace

TEST(TagIndex, AnEditThatChangesALinesCountsMovesThePartnerAndUndoMovesItBack)
{
    View v(farPartnerPage(1300, 600));
    SourceEdit &edit = v.edit;
    EXPECT_EQ(boxMatch(edit, 0, 2).partner, (TagSpan{600, 0, 6}));

    // One more DIV opened on the way: the first closing tag belongs to it.
    insertAt(edit, 300, QStringLiteral("<div>"));
    EXPECT_EQ(boxMatch(edit, 0, 2).partner, (TagSpan{1299, 0, 6}));
    // From the closing tag on line 600 back: it now closes the DIV opened on line 300.
    EXPECT_EQ(boxMatch(edit, 600, 3).partner, (TagSpan{300, 0, 5}));
    edit.undo();
    EXPECT_EQ(boxMatch(edit, 0, 2).partner, (TagSpan{600, 0, 6}));
    EXPECT_EQ(boxMatch(edit, 600, 3).partner, (TagSpan{0, 0, 12}));

    // One closed early: that one is the partner.
    insertAt(edit, 100, QStringLiteral("</Div>"));
    EXPECT_EQ(boxMatch(edit, 0, 2).partner, (TagSpan{100, 0, 6}));
    edit.undo();
    EXPECT_EQ(boxMatch(edit, 0, 2).partner, (TagSpan{600, 0, 6}));

    // A comment opened before the partner hides every tag after it: the counts of the lines
    // below change though their text does not.
    insertAt(edit, 500, QStringLiteral("<!--"));
    EXPECT_EQ(boxMatch(edit, 0, 2).kind, TagMatch::Unmatched);
    edit.undo();
    EXPECT_EQ(boxMatch(edit, 0, 2).partner, (TagSpan{600, 0, 6}));

    // Lines taken out before the partner move it up; undo puts them back.
    QTextCursor cut(edit.document()->findBlockByNumber(200));
    cut.setPosition(edit.document()->findBlockByNumber(400).position(), QTextCursor::KeepAnchor);
    cut.removeSelectedText();
    EXPECT_EQ(boxMatch(edit, 0, 2).partner, (TagSpan{400, 0, 6}));
    EXPECT_EQ(boxMatch(edit, 400, 3).partner, (TagSpan{0, 0, 12}));
    edit.undo();
    EXPECT_EQ(boxMatch(edit, 0, 2).partner, (TagSpan{600, 0, 6}));
    EXPECT_EQ(boxMatch(edit, 600, 3).partner, (TagSpan{0, 0, 12}));
    // The last line's closing tag has nothing left to close.
    EXPECT_EQ(boxMatch(edit, 1299, 3).kind, TagMatch::Unmatched);
}

TEST(TagIndex, TheBoxFindsWhatReadingEveryLineFindsAfterEditsAndUndo)
{
    // A page of random lines from pieces that open and close elements, hide tags in comments
    // and scripts, and close themselves; edits add and remove pieces and lines.
    const QStringList pieces = {
        "<div>",     "</div>",    "<DIV CLASS=x>", "<span>a</span>", "text ",   "<!-- c",
        "-->",       "<p/>",      "<br>",          "</Span>",        "<Span\n", "ID=x>",
        "<SCRIPT>x", "</script>", "<div/>",        "<ul><li>",       "</ul>",   "</DIV>",
    };
    std::mt19937 random(11);
    auto pick = [&](int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(random)); };
    QString page;
    for (int line = 0; line < 900; ++line) {
        for (int k = pick(4); k > 0; --k)
            page += pieces[pick(int(pieces.size()))];
        page += u'\n';
    }
    View v(page);
    SourceEdit &edit = v.edit;
    int compared = 0;
    auto compareTags = [&] {
        const QString text = edit.document()->toRawText().replace(QChar::ParagraphSeparator, u'\n');
        const ReadEveryLine reference(text);
        for (int n = 0; n < 60; ++n) {
            const int line = pick(reference.lineCount());
            LineScan scan;
            scanLine(reference.line(line), reference.stateBefore(line), &scan);
            for (const TagMark &tag : scan.tags) {
                const TagMatch expected = matchTag(reference, line, tag.start + 1);
                const TagMatch shown = boxMatch(edit, line, tag.start + 1);
                ASSERT_EQ(shown.kind, expected.kind) << "line " << line << " column " << tag.start;
                ASSERT_EQ(shown.partner, expected.partner) << "line " << line;
                ++compared;
            }
        }
    };
    compareTags();
    for (int round = 0; round < 12; ++round) {
        QTextCursor cursor(edit.document()->findBlockByNumber(pick(edit.blockCount())));
        if (round % 3 == 2) {
            cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, 1 + pick(300));
            cursor.removeSelectedText();
        } else {
            cursor.insertText(pieces[pick(int(pieces.size()))] + pieces[pick(int(pieces.size()))]);
        }
        compareTags();
        if (round % 4 == 3) {
            edit.undo();
            compareTags();
        }
    }
    EXPECT_GT(compared, 200);
}

TEST(TagIndex, AFarPartnerIsMarkedWhenTheViewComesToIt)
{
    View v(farPartnerPage(3000, 2000));
    auto marked = [&] {
        QStringList texts;
        for (const QTextEdit::ExtraSelection &mark : v.edit.extraSelections()) {
            if (mark.format.background().color() == v.edit.tagPairColour())
                texts << mark.cursor.selectedText();
        }
        return texts;
    };
    EXPECT_EQ(boxMatch(v.edit, 0, 2).partner, (TagSpan{2000, 0, 6}));
    EXPECT_EQ(marked(), QStringList({"<DIV ID=\"a\">"}));
    v.edit.verticalScrollBar()->setValue(1990);
    EXPECT_EQ(marked(), QStringList({"</DIV>"}));
    v.edit.verticalScrollBar()->setValue(0);
    EXPECT_EQ(marked(), QStringList({"<DIV ID=\"a\">"}));
}
