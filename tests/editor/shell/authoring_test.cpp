// Typing tags in the main window's box through real key events: names offered after "<",
// end tags after ">" and "</", renaming a tag pair, wrapping and selecting elements, and the
// underlining of unknown words.
#include "shell/live_spelling.h"
#include "source_view/source_edit.h"
#include "support/main_window_harness.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCompleter>
#include <QFile>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

// Readable failures.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

using namespace pw;
using namespace pw::test;

namespace {

struct Typing {
    MainWindowHarness h;
    MainWindow &w = h.start();
    SourceEdit &box = w.sourceEdit();

    // A page with the caret at the first "|" (taken out).
    void page(const QString &text)
    {
        const qsizetype caret = text.indexOf(u'|');
        w.editBox().setText(QString(text).remove(u'|'));
        w.editBox().setCaret(caret < 0 ? w.editBox().length() : int(caret));
    }
    void type(const char *keys) { QTest::keyClicks(&box, QString::fromUtf8(keys)); }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(&box, key, modifiers);
    }
    // The text with "|" at the caret.
    QString text() const
    {
        QString shown = w.editBox().text();
        return shown.insert(w.editBox().caret(), u'|');
    }
    QString offered() const
    {
        const QModelIndex row = box.completer()->popup()->currentIndex();
        return box.completionShown() ? row.data(SourceEdit::kCompletionTextRole).toString()
                                     : QStringLiteral("(none)");
    }
    void undo() { w.commands().run(QStringLiteral("mnuEditUndo")); }
    static int popupsShown()
    {
        int shown = 0;
        for (QWidget *top : QApplication::topLevelWidgets())
            shown += top->isVisible() && top->windowType() == Qt::Popup;
        return shown;
    }
};

} // namespace

TEST(TagTyping, GreaterThanAddsTheEndTagAsOneUndoStepExceptWhereNoneBelongs)
{
    Typing t;
    struct Case {
        const char *page;
        const char *keys;
        const char *after;
        const char *undone; // after one undo; nullptr when not checked
    };
    const Case cases[] = {
        {"|", "<div>", "<div>|</div>", "<div|"},
        {"<P>|</P>", "<B Class=\"x\">", "<P><B Class=\"x\">|</B></P>", "<P><B Class=\"x\"|</P>"},
        {"<b|</b>", ">", "<b>|</b>", nullptr}, // already closed there
        {"|", "<IMG Src=\"a.gif\">", "<IMG Src=\"a.gif\">|", nullptr},
        {"|", "<br>", "<br>|", nullptr},
        {"|", "<input type=text>", "<input type=text>|", nullptr},
        {"|", "<p>", "<p>|", nullptr},
        {"|", "<li>", "<li>|", nullptr},
        {"|", "</div>", "</div>|", nullptr},
        {"|", "<br/>", "<br/>|", nullptr},
        {"<!-- |", "<b>", "<!-- <b>|", nullptr},
        {"<SCRIPT>\r\n|", "if (a<b>c)", "<SCRIPT>\r\nif (a<b>c)|", nullptr},
        {"<?php |", "$a<b>", "<?php $a<b>|", nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.page + std::string(" + ") + c.keys);
        t.page(QString::fromUtf8(c.page));
        t.type(c.keys);
        EXPECT_EQ(t.text(), QString::fromUtf8(c.after));
        if (c.undone) {
            t.undo();
            EXPECT_EQ(t.text(), QString::fromUtf8(c.undone));
        }
        t.key(Qt::Key_Escape);
    }

    // Turned off in the View menu, and kept for the next start.
    ASSERT_TRUE(t.w.addEndTags());
    t.w.commands().run(QStringLiteral("mnuViewAddEndTags"));
    EXPECT_FALSE(t.w.findChild<QAction *>(QStringLiteral("mnuViewAddEndTags"))->isChecked());
    t.page(QStringLiteral("|"));
    t.type("<div>");
    EXPECT_EQ(t.text(), "<div>|");
    EXPECT_EQ(t.h.storedValue("View", "AddEndTags"), "False");
    MainWindow &again = t.h.restart();
    EXPECT_FALSE(again.addEndTags());
    EXPECT_FALSE(again.sourceEdit().addEndTags());
}

TEST(TagTyping, NamesAttributesAndValuesAreOfferedAndEnterTabEscapeAnswer)
{
    Typing t;
    t.page(QStringLiteral("<HTML><BODY>\r\n|\r\n</BODY></HTML>"));
    t.type("<ta");
    EXPECT_EQ(t.offered(), "TABLE");
    EXPECT_EQ(Typing::popupsShown(), 1);
    t.key(Qt::Key_Return);
    EXPECT_FALSE(t.box.completionShown());
    EXPECT_EQ(t.text(), "<HTML><BODY>\r\n<TABLE|\r\n</BODY></HTML>");
    t.undo();
    EXPECT_EQ(t.text(), "<HTML><BODY>\r\n<ta|\r\n</BODY></HTML>");

    // Attributes, then the values of a fixed set; the caret ends after the value's quote.
    t.page(QStringLiteral("<HTML><BODY>\r\n|\r\n</BODY></HTML>"));
    t.type("<IMG al");
    EXPECT_EQ(t.offered(), "Alt"); // the element's own order
    t.type("i");
    EXPECT_EQ(t.offered(), "Align");
    t.key(Qt::Key_Tab);
    EXPECT_EQ(t.text(), "<HTML><BODY>\r\n<IMG Align=\"|\"\r\n</BODY></HTML>");
    EXPECT_EQ(t.offered(), "left");
    t.type("ab");
    EXPECT_EQ(t.offered(), "absmiddle");
    t.key(Qt::Key_Enter);
    t.type(">");
    EXPECT_EQ(t.text(), "<HTML><BODY>\r\n<IMG Align=\"absmiddle\">|\r\n</BODY></HTML>");
    EXPECT_EQ(Typing::popupsShown(), 0);

    // Escape closes the offer and keeps what was typed; the next letters open it again.
    t.page(QStringLiteral("<html><body>|</body></html>"));
    t.type("<bl");
    EXPECT_EQ(t.offered(), "blink"); // a lower-case page gets lower-case names
    t.key(Qt::Key_Escape);
    EXPECT_FALSE(t.box.completionShown());
    EXPECT_EQ(t.text(), "<html><body><bl|</body></html>");
    t.type("o");
    EXPECT_EQ(t.offered(), "blockquote");
    t.key(Qt::Key_Down); // the popup's business when it has the keyboard; harmless here
    t.key(Qt::Key_Escape);
    t.type("x");
    EXPECT_EQ(t.offered(), "(none)"); // no element starts so

    // Nothing inside comments, scripts, styles and server code but their words on request.
    const char *const quiet[] = {"<!-- |", "<SCRIPT>\r\nvar a = 1;|", "<STYLE>\r\n|", "<?php |",
                                 "<% |"};
    for (const char *page : quiet) {
        t.page(QString::fromUtf8(page));
        t.type(" <d");
        EXPECT_FALSE(t.box.completionShown()) << page;
    }
    t.page(QStringLiteral("<SCRIPT>\r\nfunc|\r\n</SCRIPT>"));
    t.w.commands().run(QStringLiteral("mnuCompleteTag"));
    EXPECT_EQ(t.offered(), "function");
    t.key(Qt::Key_Tab);
    EXPECT_EQ(t.text(), "<SCRIPT>\r\nfunction|\r\n</SCRIPT>");
    EXPECT_LE(Typing::popupsShown(), 1);
}

TEST(TagTyping, EndTagsOfferTheInnermostOpenElementFirst)
{
    Typing t;
    t.page(QStringLiteral("<DIV Id=\"a\"><UL>\r\n<LI>one<BR>|"));
    t.type("</");
    EXPECT_EQ(t.offered(), "LI>");
    t.key(Qt::Key_Return);
    t.type("</");
    EXPECT_EQ(t.offered(), "UL>");
    t.key(Qt::Key_Return);
    t.type("</d");
    EXPECT_EQ(t.offered(), "DIV>");
    t.key(Qt::Key_Tab);
    EXPECT_EQ(t.text(), "<DIV Id=\"a\"><UL>\r\n<LI>one<BR></LI></UL></DIV>|");
    t.undo();
    EXPECT_EQ(t.text(), "<DIV Id=\"a\"><UL>\r\n<LI>one<BR></LI></UL></d|");

    // Close Tag writes the innermost end tag at once; with nothing open it does nothing.
    t.page(QStringLiteral("<P><b>bold <I>it</I>|"));
    t.w.commands().run(QStringLiteral("mnuCloseTag"));
    EXPECT_EQ(t.text(), "<P><b>bold <I>it</I></b>|");
    t.page(QStringLiteral("<B>x</B>|"));
    t.w.commands().run(QStringLiteral("mnuCloseTag"));
    EXPECT_EQ(t.text(), "<B>x</B>|");
}

TEST(TagPairs, RenamingAStartTagRenamesItsEndTagInTheSameUndoStep)
{
    Typing t;
    t.page(QStringLiteral("<b|>x</b>"));
    t.type("i");
    EXPECT_EQ(t.text(), "<bi|>x</bi>");
    t.undo();
    EXPECT_EQ(t.w.editBox().text(), "<b>x</b>");

    // Over lines, with the same element nested inside, letter by letter and with Backspace.
    t.page(QStringLiteral("<div| Class=\"a\">\r\n<div>in</div>\r\n</div>\r\n<p>after</p>"));
    for (int k = 0; k < 3; ++k)
        t.key(Qt::Key_Backspace);
    t.type("section");
    EXPECT_EQ(t.text(), "<section| Class=\"a\">\r\n<div>in</div>\r\n</section>\r\n<p>after</p>");

    // An end tag's own name, a tag without partner and a blank typed into a name leave the
    // rest alone.
    t.page(QStringLiteral("<b>x</b|>"));
    t.type("i");
    EXPECT_EQ(t.text(), "<b>x</bi|>");
    t.page(QStringLiteral("<em|>x"));
    t.type("x");
    EXPECT_EQ(t.text(), "<emx|>x");
    t.page(QStringLiteral("<span|>x</span>"));
    t.key(Qt::Key_Escape);
    t.type(" ");
    EXPECT_EQ(t.text(), "<span |>x</span>");
}

TEST(TagPairs, WrapSelectionInTagAndSelectElement)
{
    Typing t;
    t.page(QStringLiteral("one two three"));
    t.w.editBox().setSelection(4, 3);
    t.h.platform.inputAnswers = {QStringLiteral("EM Class=\"x\"")};
    t.w.commands().run(QStringLiteral("mnuWrapInTag"));
    ASSERT_EQ(t.h.platform.inputs.size(), 1);
    EXPECT_EQ(t.h.platform.inputs[0].title, "Wrap Selection In Tag");
    EXPECT_EQ(t.h.platform.inputs[0].prompt,
              "Enter The Tag To Wrap The Selection In (for example DIV Class=\"box\")");
    EXPECT_EQ(t.text(), "one <EM Class=\"x\">two</EM>| three");
    t.undo();
    EXPECT_EQ(t.w.editBox().text(), "one two three");
    // Cancel (an empty answer) changes nothing; a void element has no end tag.
    t.w.editBox().setSelection(4, 3);
    t.h.platform.inputAnswers = {QString()};
    t.w.commands().run(QStringLiteral("mnuWrapInTag"));
    EXPECT_EQ(t.w.editBox().text(), "one two three");
    t.w.editBox().setCaret(3);
    t.h.platform.inputAnswers = {QStringLiteral("<br>")};
    t.w.commands().run(QStringLiteral("mnuWrapInTag"));
    EXPECT_EQ(t.text(), "one<br>| two three");

    // Select Element: the element around the caret, then the one holding it.
    t.page(QStringLiteral("<UL>\r\n<LI>o|ne</LI>\r\n<LI>two</LI>\r\n</UL>\r\nafter"));
    t.w.commands().run(QStringLiteral("mnuSelectElement"));
    EXPECT_EQ(t.w.editBox().selectedText(), "<LI>one</LI>");
    t.w.commands().run(QStringLiteral("mnuSelectElement"));
    EXPECT_EQ(t.w.editBox().selectedText(), "<UL>\r\n<LI>one</LI>\r\n<LI>two</LI>\r\n</UL>");
    t.w.commands().run(QStringLiteral("mnuSelectElement"));
    EXPECT_EQ(t.w.editBox().selectedText(), "<UL>\r\n<LI>one</LI>\r\n<LI>two</LI>\r\n</UL>");
    t.w.editBox().setCaret(t.w.editBox().length() - 2);
    t.w.commands().run(QStringLiteral("mnuSelectElement"));
    EXPECT_EQ(t.w.editBox().selectedText(), "");

    // The rows' shortcuts.
    const std::pair<const char *, const char *> shortcuts[] = {
        {"mnuCompleteTag", "Ctrl+Space"},    {"mnuCloseTag", "Ctrl+Alt+."},
        {"mnuWrapInTag", "Ctrl+Shift+W"},    {"mnuSelectElement", "Ctrl+Shift+A"},
        {"mnuViewAddEndTags", "Ctrl+Alt+E"}, {"mnuViewLiveSpelling", "Shift+F7"},
    };
    for (const auto &[name, keys] : shortcuts) {
        const auto *item = t.w.findChild<QAction *>(QString::fromLatin1(name));
        ASSERT_NE(item, nullptr) << name;
        EXPECT_EQ(item->shortcut().toString(), QString::fromLatin1(keys)) << name;
    }
}

namespace {

bool haveDictionary()
{
    return QFile::exists(QStringLiteral("/usr/share/hunspell/en_US.dic"));
}

// The words a range list underlines.
QStringList underlined(SourceEdit &box)
{
    QStringList words;
    const QString text = box.document()->toRawText();
    for (const auto &[start, length] : box.underlines())
        words << text.mid(start, length);
    return words;
}

} // namespace

TEST(LiveSpelling, UnknownWordsOnScreenAreUnderlinedAfterTypingStops)
{
    if (!haveDictionary())
        GTEST_SKIP() << "no en_US dictionary";
    Typing t;
    t.w.resize(800, 600);
    t.w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&t.w));
    ASSERT_TRUE(t.w.liveSpelling()); // on unless turned off
    QString page = QStringLiteral("<P Title=\"Greeting\">A sentense with teh <B>errror</B></P>\r\n"
                                  "<SCRIPT>var wrongg = 1;</SCRIPT> <!-- commment -->\r\n");
    for (int k = 0; k < 2000; ++k) {
        page += k < 1000 ? QStringLiteral("<P>Plain words here and nothing wrong</P>\r\n")
                         : QStringLiteral("<P>Plain words here and misspeled far below</P>\r\n");
    }
    t.page(page + u'|');
    t.w.editBox().setCaret(0);
    t.w.liveSpeller().checkShownLines();
    EXPECT_EQ(underlined(t.box), QStringList({"sentense", "teh", "errror"}));

    // Typing waits for nothing: the words are read once the box is still.
    t.w.editBox().setCaret(2);
    t.type(" Clas=x");
    EXPECT_TRUE(t.w.liveSpeller().checkPending());
    EXPECT_EQ(underlined(t.box), QStringList({"sentense", "teh", "errror"}));
    QTRY_VERIFY_WITH_TIMEOUT(!t.w.liveSpeller().checkPending(), 3000);
    EXPECT_EQ(underlined(t.box), QStringList({"sentense", "teh", "errror"}));

    // Right-click on a word: its suggestions replace it in one undo step.
    const QString before = t.w.editBox().text();
    const int at = int(before.indexOf(QStringLiteral("teh"))) + 1;
    QTextCursor cursor(t.box.document());
    cursor.setPosition(at);
    const QPointer<QMenu> menu = t.box.contextMenuAt(t.box.cursorRect(cursor).center());
    ASSERT_NE(menu, nullptr);
    QStringList captions;
    for (QAction *item : menu->actions())
        captions << item->text();
    ASSERT_TRUE(captions.contains("the"));
    EXPECT_TRUE(captions.contains("Ignore"));
    EXPECT_TRUE(captions.contains("Add"));
    EXPECT_LT(captions.indexOf("the"), captions.indexOf("Ignore"));
    for (QAction *item : menu->actions()) {
        if (item->text() == "the")
            item->trigger();
    }
    delete menu.data();
    EXPECT_EQ(t.w.editBox().text(), QString(before).replace("with teh", "with the"));
    EXPECT_EQ(underlined(t.box), QStringList({"sentense", "errror"}));
    t.undo();
    EXPECT_EQ(t.w.editBox().text(), before);

    // Ignore passes the word for the session; Add writes it to the personal words.
    auto choose = [&](const QString &word, const QString &caption) {
        QTextCursor on(t.box.document());
        on.setPosition(int(t.w.editBox().text().indexOf(word)) + 1);
        const QPointer<QMenu> m = t.box.contextMenuAt(t.box.cursorRect(on).center());
        for (QAction *item : m->actions()) {
            if (item->text() == caption)
                item->trigger();
        }
        delete m.data();
    };
    choose(QStringLiteral("sentense"), QStringLiteral("Ignore"));
    choose(QStringLiteral("errror"), QStringLiteral("Add"));
    EXPECT_EQ(underlined(t.box), QStringList({"teh"}));
    QFile personal(t.h.path("Pagewick.dic"));
    ASSERT_TRUE(personal.open(QIODevice::ReadOnly));
    EXPECT_TRUE(personal.readAll().contains("errror"));

    // Only the lines on screen: far below, nothing until the view goes there.
    t.w.editBox().setCaret(t.w.editBox().length());
    t.box.ensureCursorVisible();
    t.w.liveSpeller().checkShownLines();
    const QStringList far = underlined(t.box);
    ASSERT_FALSE(far.isEmpty());
    EXPECT_EQ(far.count("misspeled"), far.size());
    EXPECT_LT(far.size(), 200);
    EXPECT_GT(t.box.underlines().front().first,
              t.box.document()->findBlockByNumber(1000).position());

    // Turned off: no marks, kept for the next start; the menu has no spelling items.
    t.w.commands().run(QStringLiteral("mnuViewLiveSpelling"));
    EXPECT_TRUE(t.box.underlines().empty());
    EXPECT_FALSE(t.w.findChild<QAction *>(QStringLiteral("mnuViewLiveSpelling"))->isChecked());
    EXPECT_EQ(t.h.storedValue("View", "LiveSpelling"), "False");
    {
        QTextCursor on(t.box.document());
        on.setPosition(int(t.w.editBox().text().indexOf(QStringLiteral("teh"))) + 1);
        const QPointer<QMenu> m = t.box.contextMenuAt(t.box.cursorRect(on).center());
        for (QAction *item : m->actions())
            EXPECT_NE(item->text(), "Ignore");
        delete m.data();
    }
    EXPECT_TRUE(t.h.platform.messages.isEmpty());
    MainWindow &again = t.h.restart();
    EXPECT_FALSE(again.liveSpelling());
}
