// What the document box does beyond the tag commands, through the main window: Tab, pictures
// dropped from the file list, Goto Line, the display font, and spell checking with the
// system's American English dictionary.
#include "shared/file_panes.h"
#include "shell/editor_behaviours.h"
#include "shared/window.h"
#include "shared/qt_platform.h"
#include "support/main_window_harness.h"
#include "tools/spell_check.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QFontDatabase>
#include <QFontInfo>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

using namespace pw;
using namespace pw::test;

namespace {

// Uses a menu item or picture button as the user would.
void trigger(MainWindow &w, const char *name)
{
    const QString objectName = QString::fromUtf8(name);
    if (QAction *item = w.findChild<QAction *>(objectName))
        item->trigger();
    else if (QAbstractButton *button = w.findChild<QAbstractButton *>(objectName))
        button->click();
    else
        ADD_FAILURE() << "no control " << name;
}

// Drags the data over the box to the place of text position `at` (by default the start of
// the selection) and lets it go there, as a drag from the file list does; true when the box
// took it.
bool drop(MainWindow &w, const QMimeData &data, std::optional<int> at = std::nullopt)
{
    QPlainTextEdit *box = w.editBox().widget();
    QWidget *viewport = box->viewport();
    QTextCursor target(box->document());
    target.setPosition(w.editBox().toQt(at.value_or(w.editBox().selStart())));
    const QPoint place = box->cursorRect(target).center();
    QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &enter);
    QDragMoveEvent move(place, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &move);
    QDropEvent event(place, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    event.ignore();
    QCoreApplication::sendEvent(viewport, &event);
    return enter.isAccepted() && move.isAccepted() && event.isAccepted();
}

} // namespace

TEST(EditorBehaviours, TabInsertsFiveBlanksAndMarksTheDocumentModified)
{
    MainWindowHarness h;
    MainWindow &w = h.start(h.writeFile("page.html", "<P>ab</P>"));
    ASSERT_FALSE(w.document().isModified());
    w.editBox().setCaret(4);
    QTest::keyClick(w.editBox().widget(), Qt::Key_Tab);
    EXPECT_EQ(w.editBox().text(), "<P>a     b</P>");
    EXPECT_EQ(w.editBox().caret(), 9);
    EXPECT_TRUE(w.document().isModified());
}

// Tab and Shift+Tab on a selection move whole lines in and out by five blanks, one undo step
// each, and keep the lines selected; the focus stays in the box.
TEST(EditorBehaviours, TabAndShiftTabIndentAndOutdentTheSelectedLines)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    w.show();
    QApplication::setActiveWindow(&w);
    QPlainTextEdit *box = w.editBox().widget();
    box->setFocus();
    const QString page = "<UL>\r\n<LI>one\r\n\r\n  <LI>two\r\n</UL>";
    w.document().replace(page);
    EditBox &edit = w.editBox();
    // From inside the second line to the start of the fifth: lines two to four.
    edit.setSelection(7, 21);
    QTest::keyClick(box, Qt::Key_Tab);
    const QString indented = "<UL>\r\n     <LI>one\r\n\r\n       <LI>two\r\n</UL>";
    EXPECT_EQ(edit.text(), indented);
    EXPECT_EQ(edit.selStart(), 6);
    EXPECT_EQ(edit.selectedText(), "     <LI>one\r\n\r\n       <LI>two");

    QTest::keyClick(box, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(edit.text(), page);
    EXPECT_EQ(edit.selectedText(), "<LI>one\r\n\r\n  <LI>two");
    // Only as many blanks as there are: the third line had two.
    QTest::keyClick(box, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(edit.text(), "<UL>\r\n<LI>one\r\n\r\n<LI>two\r\n</UL>");
    EXPECT_TRUE(box->hasFocus()) << "Shift+Tab stays in the box";

    // One undo step each: back through the outdents and the indent.
    box->undo();
    EXPECT_EQ(edit.text(), page);
    box->undo();
    EXPECT_EQ(edit.text(), indented);
    box->undo();
    EXPECT_EQ(edit.text(), page);

    // Nothing to take out changes nothing; Shift+Tab without a selection outdents the
    // caret's line and the caret keeps its place in the text.
    edit.setSelection(0, 4);
    QTest::keyClick(box, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(edit.text(), page);
    edit.setCaret(21); // in "  <LI>two", after "<L"
    QTest::keyClick(box, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(edit.text(), "<UL>\r\n<LI>one\r\n\r\n<LI>two\r\n</UL>");
    EXPECT_EQ(edit.caret(), 19);
    EXPECT_EQ(edit.selLength(), 0);
}

TEST(EditorBehaviours, APictureFromTheFileListGoesInAsAnImageTag)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    const QString site = h.path("site");
    ASSERT_TRUE(QDir().mkpath(site));
    const QString logo = site + "/Logo.GIF";
    ASSERT_TRUE(QFile::copy(PAGEWICK_SOURCE_DIR "/resources/Pagewick_Logo.gif", logo));
    h.writeFile("site/page.htm", "<P>x</P>");
    h.writeFile("site/broken.png", "not a picture");
    w.panes().showDirectory(site);
    w.document().replace("<P>here</P>");
    ASSERT_TRUE(w.panes().fileList()->selectName("Logo.GIF"));
    std::unique_ptr<QMimeData> data(w.panes().fileList()->pictureDragData());
    ASSERT_TRUE(data);

    // Without HeightWidth: name and border, around the selection.
    w.editBox().setSelection(3, 4);
    EXPECT_TRUE(drop(w, *data));
    EXPECT_EQ(w.editBox().text(), "<P><IMG Src=\"Logo.GIF\" Border=\"0\">here</IMG></P>");
    EXPECT_TRUE(w.document().isModified());

    // With it: the picture's size in pixels, at the caret.
    h.state.heightWidth = true;
    const QSize size = QImage(logo).size();
    ASSERT_FALSE(size.isEmpty());
    w.document().replace(QString());
    EXPECT_TRUE(drop(w, *data));
    EXPECT_EQ(w.editBox().text(), QStringLiteral("<IMG Src=\"Logo.GIF\" Width=\"%1\" Height=\"%2\" "
                                                 "Border=\"0\"></IMG>")
                                      .arg(size.width())
                                      .arg(size.height()));
    EXPECT_EQ(w.editBox().caret(), w.editBox().text().indexOf("</IMG>"));

    // A picture that cannot be read gets no size rather than a size of nothing.
    w.document().replace(QString());
    std::unique_ptr<QMimeData> broken(pictureDragDataFor(site, "broken.png"));
    EXPECT_TRUE(drop(w, *broken));
    EXPECT_EQ(w.editBox().text(), "<IMG Src=\"broken.png\" Border=\"0\"></IMG>");

    // Any other file inserts nothing, and leaves the document as it was.
    w.document().replace("<P>x</P>");
    const bool modified = w.document().isModified();
    std::unique_ptr<QMimeData> page(pictureDragDataFor(site, "page.htm"));
    drop(w, *page);
    EXPECT_EQ(w.editBox().text(), "<P>x</P>");
    EXPECT_EQ(w.document().isModified(), modified);
    EXPECT_TRUE(h.platform.messages.isEmpty());
}

// Let go on line 2 of a ten-line page with the caret on line 9 (inside an earlier picture's
// tag), the picture lands on line 2 at the drop column, as one undo step, the caret after it.
TEST(EditorBehaviours, APictureGoesWhereItIsDroppedNotToTheCaret)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    w.resize(900, 700);
    w.show();
    const QString site = h.path("site");
    ASSERT_TRUE(QDir().mkpath(site));
    h.writeFile("site/photo.png", "any bytes");
    QStringList lines;
    for (int i = 1; i <= 10; ++i)
        lines << QStringLiteral("<P>line %1</P>").arg(i);
    lines[8] = "<IMG Src=\"old.png\" Border=\"0\"></IMG>";
    const QString page = lines.join("\r\n");
    w.document().replace(page);
    EditBox &edit = w.editBox();
    edit.setCaret(edit.lineStart(8) + 10);
    std::unique_ptr<QMimeData> data(pictureDragDataFor(site, "photo.png"));

    for (const int column : {0, 3, int(lines[1].size())}) {
        SCOPED_TRACE(column);
        w.document().replace(page);
        edit.setCaret(edit.lineStart(8) + 10);
        ASSERT_TRUE(drop(w, *data, edit.lineStart(1) + column));
        const QString tag = droppedPictureTag("photo.png", std::nullopt);
        QStringList expected = lines;
        expected[1].insert(column, tag + "</IMG>");
        EXPECT_EQ(edit.text(), expected.join("\r\n"));
        EXPECT_EQ(edit.lineOfPosition(edit.caret()), 1);
        EXPECT_EQ(edit.caret(), edit.lineStart(1) + column + tag.size());
        EXPECT_EQ(edit.selLength(), 0);
        edit.widget()->undo();
        EXPECT_EQ(edit.text(), page) << "one undo step takes the picture out";
    }

    // Let go on a selection elsewhere, the selection gives way to the drop place.
    w.document().replace(page);
    edit.setSelection(edit.lineStart(5), 4);
    ASSERT_TRUE(drop(w, *data, edit.lineStart(2) + 1));
    EXPECT_EQ(edit.text().indexOf("photo.png"), edit.lineStart(2) + 1 + 10);
    EXPECT_TRUE(edit.text().contains("<P>line 6</P>"));

    // A file that is no picture moves nothing either.
    h.writeFile("site/page.htm", "<P>x</P>");
    std::unique_ptr<QMimeData> other(pictureDragDataFor(site, "page.htm"));
    w.document().replace(page);
    edit.setCaret(edit.lineStart(8) + 10);
    drop(w, *other, edit.lineStart(1) + 3);
    EXPECT_EQ(edit.text(), page);
    EXPECT_EQ(edit.caret(), edit.lineStart(8) + 10);
}

TEST(EditorBehaviours, GotoLineMovesTheCaretToTheStartOfAnExistingLine)
{
    MainWindowHarness h;
    MainWindow &w = h.start(h.writeFile("lines.html", "one\r\ntwo\r\nthree"));
    w.editBox().setSelection(1, 2);
    const struct {
        const char *answer;
        int caret; // -1: nothing moves
    } cases[] = {{"1", 0},   {"3", 10}, {"2abc", 5},         {" 2", 5},   {"0", -1},   {"", -1},
                 {"-1", -1}, {"4", -1}, {"99999999999", -1}, {"1.5", -1}, {"line", -1}};
    for (const auto &c : cases) {
        w.editBox().setSelection(1, 2);
        h.platform.inputAnswers.push_back(QString::fromUtf8(c.answer));
        trigger(w, "mnuGotoLine");
        if (c.caret < 0) {
            EXPECT_EQ(w.editBox().selStart(), 1) << c.answer;
            EXPECT_EQ(w.editBox().selLength(), 2) << c.answer;
        } else {
            EXPECT_EQ(w.editBox().caret(), c.caret) << c.answer;
            EXPECT_EQ(w.editBox().selLength(), 0) << c.answer;
        }
    }
    ASSERT_FALSE(h.platform.inputs.isEmpty());
    EXPECT_EQ(h.platform.inputs.last().title, "Jump To Line");
    EXPECT_EQ(h.platform.inputs.last().prompt, "Enter Line Number To Jump To");
    EXPECT_EQ(h.platform.inputs.last().defaultText, "");
    EXPECT_EQ(w.editBox().text(), "one\r\ntwo\r\nthree");
    EXPECT_FALSE(w.document().isModified());
}

// With no font stored the box shows a fixed-pitch font; a font handed to the font dialog
// carries the style its family really has for its weight and slant.
TEST(EditorBehaviours, TheDefaultFontIsFixedPitchAndTheDialogOpensOnTheFontsOwnStyle)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    EXPECT_TRUE(QFontInfo(w.editBox().widget()->font()).fixedPitch())
        << w.editBox().widget()->font().family().toStdString();
    EXPECT_EQ(h.storedValue("Fonts", "Name"), "<absent>");

    const QString family = QStringLiteral("DejaVu Sans Mono");
    if (!QFontDatabase::families().contains(family))
        GTEST_SKIP() << "no " << family.toStdString();
    QFont font(family);
    EXPECT_EQ(fontWithItsStyle(font).styleName(), "Book");
    font.setBold(true);
    font.setItalic(true);
    EXPECT_EQ(fontWithItsStyle(font).styleName(), "Bold Oblique");
    // A family the font database does not know keeps the font as it was.
    EXPECT_EQ(fontWithItsStyle(QFont("No Such Family 7")).styleName(), "");
}

TEST(EditorBehaviours, FontsAreAppliedKeptAndRestoredAndCancelKeepsNothing)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    // Cancel on a fresh store: nothing changes, nothing is written.
    const QFont before = w.editBox().widget()->font();
    h.platform.fontAnswers.push_back(std::nullopt);
    trigger(w, "mnuFonts");
    EXPECT_EQ(w.editBox().widget()->font(), before);
    EXPECT_EQ(h.storedValue("Fonts", "Name"), "<absent>");

    QFont chosen(QStringLiteral("DejaVu Sans Mono"));
    chosen.setPointSizeF(10.5);
    chosen.setBold(true);
    chosen.setUnderline(true);
    h.platform.fontAnswers.push_back(chosen);
    trigger(w, "mnuFonts");
    EXPECT_EQ(w.editBox().widget()->font().family(), "DejaVu Sans Mono");
    EXPECT_EQ(w.editBox().widget()->font().pointSizeF(), 10.5);
    EXPECT_TRUE(w.editBox().widget()->font().bold());
    const std::pair<const char *, const char *> stored[] = {
        {"Name", "DejaVu Sans Mono"}, {"Size", "10.5"},      {"Bold", "True"},
        {"Italic", "False"},          {"Underline", "True"}, {"Strikethru", "False"}};
    for (const auto &[key, value] : stored)
        EXPECT_EQ(h.storedValue("Fonts", key), value) << key;

    // A later cancel keeps what was stored.
    h.platform.fontAnswers.push_back(std::nullopt);
    trigger(w, "mnuFonts");
    EXPECT_EQ(h.storedValue("Fonts", "Size"), "10.5");

    MainWindow &again = h.restart();
    const QFont restored = again.editBox().widget()->font();
    EXPECT_EQ(restored.family(), "DejaVu Sans Mono");
    EXPECT_EQ(restored.pointSizeF(), 10.5);
    EXPECT_TRUE(restored.bold());
    EXPECT_TRUE(restored.underline());
    EXPECT_FALSE(restored.italic());
    EXPECT_FALSE(restored.strikeOut());
    // The start-up caret stands just after the template's "<TITLE>".
    EXPECT_EQ(again.editBox().textBetween(23, again.editBox().caret()), "<TITLE>");
}

namespace {

// A page whose only misspellings a reader sees or hears are "teh" and the picture's text
// "recieve"; the rest must come back byte for byte.
const QString kPage = QStringLiteral(
    "<HTML>\r\n<BODY BGCOLOR=\"#FFFFFF\">\r\n<TABLE><TR><TD>teh</TD></TR></TABLE>\r\n"
    "<IMG Alt=\"recieve\" Src=\"pic.gif\">\r\n<P>\u00a9 2026 caf&eacute; &amp; plain\u00a0text "
    "\u2014 don't\ttab.</P>\r\n<SCRIPT>var wrnog = 1;</SCRIPT>\r\n</BODY>\r\n</HTML>\r\n");

// Answers the correction dialog by pressing a button, after noting the word it offers and
// what the box has selected then.
struct Offered {
    QString word;
    QString selected;
    QStringList suggestions;
    bool coversWord = false; // the dialog lies over the word it asks about
};

std::function<int(QDialog &)> press(const char *button, QVector<Offered> &offered, MainWindow &w)
{
    return [button, &offered, &w](QDialog &dialog) {
        Offered seen;
        seen.word = dialog.findChild<QLineEdit *>("txtWord")->text();
        seen.selected = w.editBox().selectedText();
        const QListWidget *list = dialog.findChild<QListWidget *>("lstSuggestions");
        for (int i = 0; i < list->count(); ++i)
            seen.suggestions << list->item(i)->text();
        QPlainTextEdit *box = w.editBox().widget();
        const QRect word =
            textArea(box, box->textCursor().selectionStart(), box->textCursor().selectionEnd());
        seen.coversWord = word.isEmpty() || dialog.frameGeometry().intersects(word);
        offered << seen;
        dialog.findChild<QPushButton *>(QString::fromUtf8(button))->click();
        return dialog.result();
    };
}

} // namespace

TEST(SpellCheck, OnlyThePageTextIsOfferedAndReplaceChangesExactlyThatWord)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    w.document().replace(kPage);
    w.show();
    QVector<Offered> offered;
    h.platform.dialogHandlers.push_back(press("cmdReplace", offered, w));
    h.platform.dialogHandlers.push_back(press("cmdIgnore", offered, w));
    trigger(w, "cmdSpellCheck");
    ASSERT_EQ(offered.size(), 2);
    EXPECT_EQ(offered[0].word, "teh");
    EXPECT_EQ(offered[0].selected, "teh");
    EXPECT_EQ(offered[0].suggestions.value(0), "the");
    EXPECT_EQ(offered[1].word, "recieve");
    EXPECT_EQ(offered[1].selected, "recieve");
    for (const Offered &o : offered)
        EXPECT_FALSE(o.coversWord) << o.word.toStdString();
    EXPECT_EQ(h.platform.dialogsRun, QStringList({"frmSpellCheck", "frmSpellCheck"}));
    EXPECT_EQ(w.editBox().text(), QString(kPage).replace("teh", "the"));
    EXPECT_TRUE(w.document().isModified());
    // Having run to the end by itself, the check says so.
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>({{"Check Spelling", "The Spelling Check Is Complete.",
                                       MsgButtons::Ok, MsgIcon::Information}}));

    // Labels name their boxes: their "&" marks a key and is not shown.
    SpellCheckDialog dialog(&w);
    for (const char *name : {"lblWord", "lblChangeTo", "lblSuggestions"}) {
        const QLabel *label = dialog.findChild<QLabel *>(name);
        ASSERT_NE(label, nullptr) << name;
        EXPECT_NE(label->buddy(), nullptr) << name;
    }
    EXPECT_EQ(dialog.findChild<QLabel *>("lblChangeTo")->buddy()->objectName(), "txtChangeTo");
    EXPECT_EQ(dialog.findChild<QLabel *>("lblSuggestions")->buddy()->objectName(),
              "lstSuggestions");
}

TEST(SpellCheck, CancelEndsTheCheckAndLeavesTheTextAsItWas)
{
    MainWindowHarness h;
    const QString page = kPage + "<P>speling</P>";
    MainWindow &w = h.start(h.writeFile("page.html", page.toUtf8()));
    QVector<Offered> offered;
    h.platform.dialogHandlers.push_back(press("cmdCancel", offered, w));
    trigger(w, "mnuCheckSpelling");
    ASSERT_EQ(offered.size(), 1);
    EXPECT_EQ(w.editBox().text(), page);
    EXPECT_FALSE(w.document().isModified());
    EXPECT_EQ(w.editBox().selectedText(), "teh");
    EXPECT_TRUE(h.platform.messages.isEmpty()) << "a cancelled check ends without a word";
}

TEST(SpellCheck, IgnoreAllReplaceAllAndAddLastAsLongAsTheyShould)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    w.document().replace("<P>teh cat, teh hat, Pagewick and recieve, recieve</P>");
    QVector<Offered> offered;
    h.platform.dialogHandlers.push_back(press("cmdIgnoreAll", offered, w));
    h.platform.dialogHandlers.push_back(press("cmdAdd", offered, w));
    h.platform.dialogHandlers.push_back(press("cmdReplaceAll", offered, w));
    trigger(w, "cmdSpellCheck");
    QStringList words;
    for (const Offered &o : offered)
        words << o.word;
    EXPECT_EQ(words, QStringList({"teh", "Pagewick", "recieve"}));
    EXPECT_EQ(w.editBox().text(), "<P>teh cat, teh hat, Pagewick and receive, receive</P>");
    EXPECT_EQ(QFile(QFileInfo(h.settingsFile()).dir().filePath("Pagewick.dic")).size(), 9);

    // Ignored words stay ignored for the run, added words for good.
    auto offeredFirst = [&h](MainWindow &window, const QString &page) {
        window.document().replace(page);
        QVector<Offered> seen;
        h.platform.dialogHandlers.push_back(press("cmdCancel", seen, window));
        trigger(window, "cmdSpellCheck");
        return seen.value(0).word;
    };
    EXPECT_EQ(offeredFirst(w, "<P>teh Pagewick wrnog</P>"), "wrnog");
    EXPECT_EQ(offeredFirst(h.restart(), "<P>Pagewick teh</P>"), "teh");
}
