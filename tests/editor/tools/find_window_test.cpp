// The find-and-replace window on a real main window.
#include "shared/edit_box.h"
#include "shared/window.h"
#include "support/qt_print.h"
#include "support/main_window_harness.h"
#include "tools/find_window.h"
#include "tools/text_replace.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTest>
#include <gtest/gtest.h>

using namespace pw;
using namespace pw::test;

namespace {

class FindWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = &h.start();
        window->findChild<QAction *>("mnuFind")->trigger();
        find = window->findChild<FindWindow *>("frmFind");
        ASSERT_NE(find, nullptr);
    }

    void setDocument(const QString &text) { window->editBox().setText(text); }
    QString document() { return window->editBox().text(); }

    void type(const QString &what, const QString &with = QString())
    {
        find->findChild<QLineEdit *>("txtFind")->setText(what);
        find->findChild<QLineEdit *>("txtReplace")->setText(with);
    }

    QPushButton *command(int index)
    {
        for (QPushButton *button : find->findChildren<QPushButton *>("cmdCommand")) {
            if (button->property("index").toInt() == index)
                return button;
        }
        return nullptr;
    }
    void click(int index) { command(index)->click(); }

    // The selection as (start, length) in CR LF positions.
    std::pair<int, int> selection()
    {
        return {window->editBox().selStart(), window->editBox().selLength()};
    }

    MainWindowHarness h;
    MainWindow *window = nullptr;
    FindWindow *find = nullptr;
};

MessageRecord notFound(const QString &what)
{
    return {"Sorry...", what + " Was Not Found", MsgButtons::Ok, MsgIcon::Information};
}

} // namespace

TEST_F(FindWindowTest, OpensModelessOnTopWithItsControls)
{
    EXPECT_EQ(find->windowTitle(), "Find and Replace");
    EXPECT_FALSE(find->isModal());
    EXPECT_TRUE(find->isVisible());
    EXPECT_TRUE(find->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    const char *captions[] = {"&Find", "Find &Next", "&Replace", "Replace &All", "&Done"};
    for (int i = 0; i < 5; ++i) {
        ASSERT_NE(command(i), nullptr) << i;
        EXPECT_EQ(command(i)->text(), captions[i]);
    }
    // mnuReplace shows the same window, not a second one.
    window->findChild<QAction *>("mnuReplace")->trigger();
    EXPECT_EQ(window->findChildren<FindWindow *>("frmFind").size(), 1);
    EXPECT_EQ(find->foundPos(), 0);
    QStringList titles;
    for (QLabel *label : find->findChildren<QLabel *>("lblTitle"))
        titles << label->text();
    EXPECT_EQ(titles, QStringList({"String To Search For", "String To Replace With"}));
    EXPECT_NE(find->findChild<QLineEdit *>("txtFind"), nullptr);
    EXPECT_NE(find->findChild<QLineEdit *>("txtReplace"), nullptr);

    click(4);
    EXPECT_FALSE(find->isVisible());
    EXPECT_FALSE(find->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(FindWindowTest, EscapeClosesLikeDoneAndTheNextOpeningStartsAfresh)
{
    setDocument("abc abc");
    type("abc");
    click(1);
    click(1);
    ASSERT_EQ(find->foundPos(), 5);
    QPointer<FindWindow> closed = find;
    QTest::keyClick(find, Qt::Key_Escape);
    ASSERT_FALSE(closed.isNull());
    EXPECT_FALSE(closed->isVisible());
    EXPECT_FALSE(closed->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());

    window->findChild<QAction *>("mnuReplace")->trigger();
    find = window->findChild<FindWindow *>("frmFind");
    ASSERT_NE(find, nullptr);
    EXPECT_TRUE(find->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(find->foundPos(), 0);
    type("abc");
    click(1); // from the top again, not after the old window's last match
    EXPECT_EQ(selection(), std::make_pair(0, 3));
}

TEST_F(FindWindowTest, FindSelectsTheFirstMatchIgnoringCaseAndFindNextWraps)
{
    setDocument("x ABC\r\nabc abc");
    type("abc");
    click(0);
    EXPECT_EQ(find->foundPos(), 3);
    EXPECT_EQ(selection(), std::make_pair(2, 3));
    EXPECT_EQ(find->focusWidget(), command(1));

    click(1);
    EXPECT_EQ(selection(), std::make_pair(7, 3)); // after CR LF, which counts two
    click(1);
    // The last match ends at the last character: found like any other.
    EXPECT_EQ(find->foundPos(), 12);
    EXPECT_EQ(selection(), std::make_pair(11, 3));
    click(1); // wraps to the top
    EXPECT_EQ(selection(), std::make_pair(2, 3));
    EXPECT_TRUE(h.platform.messages.isEmpty());
    EXPECT_EQ(document(), "x ABC\r\nabc abc"); // finding never changes the text
}

TEST_F(FindWindowTest, EnterInTheSearchBoxFindsAndFindNextStartsAtTheTop)
{
    setDocument("one two two");
    type("TWO");
    click(1); // before any Find: from the start
    EXPECT_EQ(selection(), std::make_pair(4, 3));
    find->findChild<QLineEdit *>("txtFind")->setFocus();
    QTest::keyClick(find->findChild<QLineEdit *>("txtFind"), Qt::Key_Return);
    EXPECT_EQ(find->foundPos(), 5);
    EXPECT_TRUE(h.platform.messages.isEmpty());
}

TEST_F(FindWindowTest, NothingFoundSaysSoAndAnEmptySearchDoesNothing)
{
    setDocument("abc");
    type("zz");
    click(0);
    click(1);
    click(2);
    click(3);
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({notFound("zz"), notFound("zz"),
                                                           notFound("zz"), notFound("zz")}));
    EXPECT_EQ(find->foundPos(), 0);

    h.platform.messages.clear();
    type("", "x");
    for (int i = 0; i < 4; ++i)
        click(i);
    EXPECT_TRUE(h.platform.messages.isEmpty());
    EXPECT_EQ(document(), "abc");
}

TEST_F(FindWindowTest, ReplaceAlwaysTakesTheFirstOccurrenceLeft)
{
    setDocument("cat Cat cat");
    type("cat", "dog");
    click(1);
    click(1); // the selection is on the second "Cat"; Replace still starts at the top
    click(2);
    EXPECT_EQ(document(), "dog Cat cat");
    EXPECT_EQ(window->editBox().caret(), 3);
    click(2);
    click(2);
    EXPECT_EQ(document(), "dog dog dog");
    click(2);
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({notFound("cat")}));
}

TEST_F(FindWindowTest, ReplaceAllCountsAndSkipsInsertedText)
{
    setDocument("aaa");
    type("a", "aa");
    click(3);
    EXPECT_EQ(document(), "aaaaaa");
    setDocument("<Img>\r\n<img>");
    type("img", "IMG");
    click(3);
    EXPECT_EQ(document(), "<IMG>\r\n<IMG>");
    setDocument("xb");
    type("b", "ab");
    click(3); // the last occurrence ends at the last character
    EXPECT_EQ(document(), "xab");
    const MessageRecord three{"Replace All Completed...", "3 Replacements Were Made",
                              MsgButtons::Ok, MsgIcon::Information};
    const MessageRecord two{"Replace All Completed...", "2 Replacements Were Made", MsgButtons::Ok,
                            MsgIcon::Information};
    const MessageRecord one{"Replace All Completed...", "1 Replacements Were Made", MsgButtons::Ok,
                            MsgIcon::Information};
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({three, two, one}));
}

TEST_F(FindWindowTest, ReplaceAllIsOneUndoStepAndKeepsCaretAndScroll)
{
    QString text;
    for (int i = 0; i < 40'000; ++i)
        text += QStringLiteral("line %1 with a word\r\n").arg(i);
    setDocument(text);
    window->resize(800, 600);
    window->show();
    QPlainTextEdit *box = window->editBox().widget();
    window->editBox().setCaret(text.size() / 2);
    box->verticalScrollBar()->setValue(box->verticalScrollBar()->maximum() / 2);
    const int scroll = box->verticalScrollBar()->value();
    const int caretLine = window->editBox().lineOfPosition(window->editBox().caret());

    type("WORD", "term");
    click(3);
    EXPECT_EQ(h.platform.messages.back().text, "40000 Replacements Were Made");
    EXPECT_EQ(document(), QString(text).replace("word", "term"));
    EXPECT_TRUE(window->document().isModified());
    EXPECT_EQ(window->editBox().lineOfPosition(window->editBox().caret()), caretLine);
    EXPECT_EQ(box->verticalScrollBar()->value(), scroll);

    box->undo();
    EXPECT_EQ(document(), text);
    box->redo();
    EXPECT_EQ(document(), QString(text).replace("word", "term"));
}

// A few occurrences are replaced where they stand rather than by rebuilding the page: the
// text, the caret (before, inside and after an occurrence, with breaks on either side) and
// the one undo step come out as the page rebuilt in one pass gives them.
TEST(replaceAllInDocument, AFewOccurrencesEditedInPlaceGiveTheWholeSwapsResult)
{
    struct Case {
        QString text, what, with;
        int caret;
    };
    const Case cases[] = {
        {"ab\r\nAB ab\r\nxab", "ab", "xyz", 0},
        {"ab\r\nAB ab\r\nxab", "ab", "xyz", 5}, // inside the second occurrence
        {"ab\r\nAB ab\r\nxab", "ab", "", 15},   // at the end, occurrences removed
        {"one two\r\ntwo", "two", "2\r\n2", 9}, // a replacement with a break
        {"aaaa", "aa", "a", 1},                 // occurrences side by side
        {"no match here", "zz", "y", 3},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.toStdString() + " / " + c.what.toStdString());
        QPlainTextEdit box;
        EditBox edit(&box);
        edit.setText(c.text);
        edit.setCaret(c.caret);
        const ReplaceAllResult expected = replaceAll(c.text, c.what, c.with, c.caret);
        EXPECT_EQ(replaceAllInDocument(edit, c.what, c.with), expected.count);
        EXPECT_EQ(edit.text(), expected.text);
        EXPECT_EQ(edit.caret(), int(expected.kept));
        if (expected.count > 0) {
            box.undo();
            EXPECT_EQ(edit.text(), c.text);
            EXPECT_FALSE(box.document()->isUndoAvailable());
        }
    }
}

// F3 and Shift+F3 find the next and the previous match, from the main window and from the
// find window while it is open; once it is closed they go on with its last search from the
// caret, wrapping around the document.
TEST_F(FindWindowTest, F3AndShiftF3FindNextAndPreviousWithTheWindowOpenOrClosed)
{
    setDocument("ab ab ab");
    type("ab");
    click(0);
    EXPECT_EQ(selection(), std::make_pair(0, 2));

    auto *mainNext = window->findChild<QShortcut *>("keyFindNext");
    auto *mainPrevious = window->findChild<QShortcut *>("keyFindPrevious");
    ASSERT_NE(mainNext, nullptr);
    ASSERT_NE(mainPrevious, nullptr);
    EXPECT_EQ(mainNext->key(), QKeySequence(Qt::Key_F3));
    EXPECT_EQ(mainPrevious->key(), QKeySequence(Qt::SHIFT | Qt::Key_F3));
    emit mainNext->activated();
    EXPECT_EQ(selection(), std::make_pair(3, 2));

    QHash<QKeySequence, QShortcut *> ownKeys;
    for (QShortcut *key : find->findChildren<QShortcut *>())
        ownKeys.insert(key->key(), key);
    ASSERT_EQ(ownKeys.size(), 2);
    ASSERT_TRUE(ownKeys.contains(QKeySequence(Qt::Key_F3)));
    ASSERT_TRUE(ownKeys.contains(QKeySequence(Qt::SHIFT | Qt::Key_F3)));
    emit ownKeys[QKeySequence(Qt::Key_F3)]->activated();
    EXPECT_EQ(selection(), std::make_pair(6, 2));
    emit ownKeys[QKeySequence(Qt::SHIFT | Qt::Key_F3)]->activated();
    EXPECT_EQ(selection(), std::make_pair(3, 2));
    emit mainPrevious->activated();
    EXPECT_EQ(selection(), std::make_pair(0, 2));
    emit mainPrevious->activated(); // wraps to the last
    EXPECT_EQ(selection(), std::make_pair(6, 2));

    click(4);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    window->editBox().setCaret(1);
    emit mainNext->activated();
    EXPECT_EQ(selection(), std::make_pair(3, 2));
    emit mainNext->activated();
    EXPECT_EQ(selection(), std::make_pair(6, 2));
    emit mainNext->activated(); // wraps to the top
    EXPECT_EQ(selection(), std::make_pair(0, 2));
    emit mainPrevious->activated();
    EXPECT_EQ(selection(), std::make_pair(6, 2));
    EXPECT_TRUE(h.platform.messages.isEmpty());

    // The last search keeps its options; what it no longer finds is said as Find says it.
    setDocument("AB ab");
    window->findChild<QAction *>("mnuFind")->trigger();
    find = window->findChild<FindWindow *>("frmFind");
    EXPECT_EQ(find->findChild<QLineEdit *>("txtFind")->text(), "ab");
    find->findChild<QCheckBox *>("chkMatchCase")->setChecked(true);
    click(0);
    EXPECT_EQ(selection(), std::make_pair(3, 2));
    click(4);
    window->editBox().setCaret(0);
    emit mainNext->activated();
    EXPECT_EQ(selection(), std::make_pair(3, 2));
    window->editBox().setText("AB");
    emit mainNext->activated();
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({notFound("ab")}));
}

TEST_F(FindWindowTest, MatchCaseAndWholeWordNarrowTheSearch)
{
    setDocument("Cat concat cat CAT");
    type("cat");
    auto *matchCase = find->findChild<QCheckBox *>("chkMatchCase");
    auto *wholeWord = find->findChild<QCheckBox *>("chkWholeWord");
    ASSERT_NE(matchCase, nullptr);
    ASSERT_NE(wholeWord, nullptr);
    EXPECT_EQ(matchCase->text(), "Match &Case");
    EXPECT_EQ(wholeWord->text(), "&Whole Word");

    wholeWord->setChecked(true);
    QList<std::pair<int, int>> seen;
    for (int i = 0; i < 4; ++i) {
        click(1);
        seen << selection();
    }
    EXPECT_EQ(seen, (QList<std::pair<int, int>>{{0, 3}, {11, 3}, {15, 3}, {0, 3}}));

    matchCase->setChecked(true);
    click(0);
    EXPECT_EQ(selection(), std::make_pair(11, 3));
    click(1); // the only one: found again
    EXPECT_EQ(selection(), std::make_pair(11, 3));

    // Replace All with both options touches only the whole lower-case word.
    type("cat", "dog");
    click(3);
    EXPECT_EQ(document(), "Cat concat dog CAT");
    EXPECT_EQ(h.platform.messages.back().text, "1 Replacements Were Made");
    type("CAT", "x");
    click(0);
    wholeWord->setChecked(false);
    matchCase->setChecked(false);
    click(3);
    EXPECT_EQ(document(), "x conx dog x");
}

TEST_F(FindWindowTest, RegularExpressionsFindAcrossLinesAndReplaceWithCaptures)
{
    setDocument("<img src=a.gif>\r\n<IMG SRC=b.png>\r\nend");
    auto *regex = find->findChild<QCheckBox *>("chkRegularExpression");
    ASSERT_NE(regex, nullptr);
    EXPECT_EQ(regex->text(), "Regular E&xpression");
    regex->setChecked(true);

    type("src=(\\w+)\\.(\\w+)");
    click(0);
    EXPECT_EQ(selection(), std::make_pair(5, 9));
    click(1);
    EXPECT_EQ(selection(), std::make_pair(22, 9)); // past CR LF, which counts two
    // "^" and "$" meet each line.
    type("^end$");
    click(0);
    EXPECT_EQ(selection(), std::make_pair(34, 3));

    // Replace takes the first match with its own captures; Replace All the rest, one undo.
    type("src=(\\w+)\\.(\\w+)", "Src=\"\\1.\\2\"");
    click(2);
    EXPECT_EQ(document(), "<img Src=\"a.gif\">\r\n<IMG SRC=b.png>\r\nend");
    window->editBox().setCaret(int(document().indexOf("end")));
    type("<(\\w+) src=(\\w+)\\.png>", "<\\1 Src=\"\\2.webp\">");
    click(3);
    EXPECT_EQ(document(), "<img Src=\"a.gif\">\r\n<IMG Src=\"b.webp\">\r\nend");
    EXPECT_EQ(h.platform.messages.back(),
              (MessageRecord{"Replace All Completed...", "1 Replacements Were Made", MsgButtons::Ok,
                             MsgIcon::Information}));
    EXPECT_EQ(window->editBox().caret(), int(document().indexOf("end")))
        << "the caret keeps its place in the text";
    window->editBox().widget()->undo();
    EXPECT_EQ(document(), "<img Src=\"a.gif\">\r\n<IMG SRC=b.png>\r\nend");

    // Empty matches do not loop: each place gets the replacement once.
    setDocument("ab");
    type("x*", "-");
    click(3);
    EXPECT_EQ(document(), "-a-b-");
}

TEST_F(FindWindowTest, AnInvalidExpressionIsNamedInTheWindowAndChangesNothing)
{
    setDocument("f(x) = (y");
    find->findChild<QCheckBox *>("chkRegularExpression")->setChecked(true);
    auto *message = find->findChild<QLabel *>("lblMessage");
    ASSERT_NE(message, nullptr);
    EXPECT_TRUE(message->text().isEmpty());
    type("(y", "z");
    for (int button : {0, 1, 2, 3}) {
        window->editBox().setCaret(0);
        click(button);
        EXPECT_TRUE(message->text().startsWith("Invalid regular expression: ")) << button;
        EXPECT_TRUE(message->text().contains("missing closing parenthesis"))
            << message->text().toStdString();
        EXPECT_EQ(selection(), std::make_pair(0, 0)) << button;
    }
    EXPECT_EQ(document(), "f(x) = (y");
    EXPECT_TRUE(h.platform.messages.isEmpty()) << "the window says it, not a message box";

    // Taken as plain text, the same search is fine; the message goes with the error.
    find->findChild<QCheckBox *>("chkRegularExpression")->setChecked(false);
    EXPECT_TRUE(message->text().isEmpty());
    click(0);
    EXPECT_EQ(selection(), std::make_pair(7, 2));
}

std::string rectText(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4")
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height())
        .toStdString();
}

TEST_F(FindWindowTest, TheWindowStaysClearOfTheMatch)
{
    window->resize(900, 600);
    window->move(0, 0);
    QString text;
    for (int i = 0; i < 60; ++i)
        text += QStringLiteral("line %1 here\r\n").arg(i);
    setDocument(text);
    QPlainTextEdit *box = window->editBox().widget();
    for (const QString &what :
         {QStringLiteral("line 3 "), QStringLiteral("line 14 "), QStringLiteral("line 40 ")}) {
        // Put the window where the match will be.
        box->setFocus();
        const int at = int(text.indexOf(what));
        window->editBox().setCaret(at);
        box->ensureCursorVisible();
        const QRect spot = textArea(box, window->editBox().toQt(at), window->editBox().toQt(at));
        find->move(spot.topLeft() - QPoint(20, 20));
        ASSERT_TRUE(find->frameGeometry().intersects(spot)) << what.toStdString();
        type(what);
        click(0);
        const int start = window->editBox().toQt(window->editBox().selStart());
        const QRect match = textArea(box, start, start + int(what.size()));
        ASSERT_FALSE(match.isEmpty()) << what.toStdString();
        EXPECT_FALSE(find->frameGeometry().intersects(match))
            << what.toStdString() << " window " << rectText(find->frameGeometry()) << " match "
            << rectText(match);
    }
}
