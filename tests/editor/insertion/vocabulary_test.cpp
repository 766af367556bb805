// The six vocabulary lists: their entries, start-up state, typed text, and inserting.
#include "insertion/vocabulary.h"
#include "insertion_fixture.h"

#include "shared/program_state.h"

#include <QLineEdit>
#include <QTest>

using namespace pw;
using namespace pw::test;

namespace {

using Vocabulary = InsertionFixture;

QStringList Entries(QComboBox *box)
{
    QStringList entries;
    for (int i = 0; i < box->count(); ++i)
        entries << box->itemText(i);
    return entries;
}

TEST_F(Vocabulary, ListsHaveTheirEntriesTooltipsAndStartUpState)
{
    struct Expected {
        const char *name;
        int count;
        bool editable;
        const char *tooltip;
        const char *shown;
        const char *last;
    };
    const Expected lists[] = {
        {"cboHeadings", 6, true, "Headings 1 to 6", "H1", "H6"},
        {"cboASP", 25, false, "", "LAST_MODIFIED", "Response.Redirect"},
        {"cboTags", 91, false, "", "&nbsp;", "<THEAD></THEAD>"},
        {"cboCSS", 124, true, "All CSS Family Members", "background-attachment: scroll;", "z-index: [number];"},
        {"cboDHTML", 254, true, "All DHTML Objects and Properties", "document.activeElement", "window.showModalDialog()"},
        {"cboHTMLClass", 19, true, "", "$b = new HTML;", "include(\"./html_class.inc\");"},
    };
    for (const Expected &e : lists) {
        SCOPED_TRACE(e.name);
        QComboBox *box = list(e.name);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->count(), e.count);
        EXPECT_EQ(box->isEditable(), e.editable);
        EXPECT_EQ(box->toolTip(), e.tooltip);
        EXPECT_EQ(box->currentText(), e.shown);
        EXPECT_EQ(box->itemText(box->count() - 1), e.last);
    }
    // The headings show "H1" typed, with no entry chosen.
    EXPECT_EQ(list("cboHeadings")->currentIndex(), -1);
    EXPECT_EQ(list("cboTags")->currentIndex(), 0);
}

TEST_F(Vocabulary, EntriesKeepTheirOrderAndDuplicates)
{
    const QStringList css = Entries(list("cboCSS"));
    EXPECT_EQ(css.count("cursor: nw-resize;"), 2);
    EXPECT_EQ(css.indexOf("display: ;"), 76);
    EXPECT_EQ(css.mid(58, 3), (QStringList{"cursor: auto;", "cursor: crosshair;", "cursor: default;"}));
    const QStringList dhtml = Entries(list("cboDHTML"));
    EXPECT_EQ(dhtml.count("style.pixelHeight"), 2);
    EXPECT_EQ(dhtml.indexOf("history.length"), 41);
    const QStringList tags = Entries(list("cboTags"));
    EXPECT_EQ(tags.mid(0, 3), (QStringList{"&nbsp;", "<!--   -->", "<HTML></HTML>"}));
    EXPECT_EQ(tags.at(14), "<META HTTP-EQUIV=REFRESH CONTENT=5; URL=New Location></META>");
    const QStringList asp = Entries(list("cboASP"));
    EXPECT_EQ(asp.at(13), "HTTP_UA_OS");
    EXPECT_EQ(asp.at(14), "Server.CreateObject()");
}

TEST_F(Vocabulary, FillingAgainDoesNotDoubleTheLists)
{
    window().Fill_All_Combos();
    EXPECT_EQ(list("cboDHTML")->count(), 254);
}

TEST_F(Vocabulary, InsertButtonsInsertTheShownTextAsIs)
{
    set("", 0);
    click("cmdInsert");
    EXPECT_EQ(text(), "&nbsp;");
    set("", 0);
    click("cmdCSSInsert");
    EXPECT_EQ(text(), "background-attachment: scroll;");

    // A tag pair from the list replaces the selection rather than wrapping it.
    list("cboTags")->setCurrentIndex(int(Entries(list("cboTags")).indexOf("<B></B>")));
    set("x", 0, 1);
    click("cmdInsert");
    EXPECT_EQ(text(), "<B></B>");
    EXPECT_EQ(caret(), 7);

    list("cboASP")->setCurrentIndex(14);
    set("", 0);
    click("cmdASPDropIn");
    EXPECT_EQ(text(), "Server.CreateObject()");

    list("cboHTMLClass")->setCurrentIndex(18);
    set("", 0);
    click("cmdInsertHTMLClass");
    EXPECT_EQ(text(), "include(\"./html_class.inc\");");
}

TEST_F(Vocabulary, TypedTextIsInsertedAndNeverAddedToTheList)
{
    QComboBox *css = list("cboCSS");
    css->lineEdit()->setText("color: red;");
    QTest::keyClick(css->lineEdit(), Qt::Key_Return);
    set("", 0);
    click("cmdCSSInsert");
    EXPECT_EQ(text(), "color: red;");
    EXPECT_EQ(css->count(), 124);
}

TEST_F(Vocabulary, ClearedTextRemovesTheSelectionAndInsertsNothing)
{
    for (const char *name : {"cboCSS", "cboDHTML"}) {
        list(name)->setEditText(QString());
        set("abcdef", 2, 2);
        click(name == QString("cboCSS") ? "cmdCSSInsert" : "cmdDHTMLInsert");
        EXPECT_EQ(text(), "abef");
        EXPECT_EQ(caret(), 2);
    }
}

TEST_F(Vocabulary, ChoosingAHeadingWrapsAtOnce)
{
    QComboBox *headings = list("cboHeadings");
    set("x", 0, 1);
    headings->setCurrentIndex(2);
    emit headings->activated(2);
    EXPECT_EQ(text(), "<H3>x</H3>");

    h.state.IDAttribute = true;
    set("", 0);
    headings->setCurrentIndex(1);
    emit headings->activated(1);
    EXPECT_EQ(text(), "<H2 Id=\"HeadingID\"></H2>");
    EXPECT_EQ(caret(), 19);
}

TEST_F(Vocabulary, ChoosingWithTheKeyboard)
{
    window().show();
    QComboBox *headings = list("cboHeadings");
    set("", 0);
    headings->setFocus();
    QTest::keyClick(headings, Qt::Key_Down); // from nothing chosen to "H1"
    EXPECT_EQ(text(), "<H1></H1>");
    window().hide();
}

// Only choosing an entry inserts a heading. Leaving the list's typed text -- the "H1" shown
// at start-up, or a typed entry name, by moving the focus away or pressing Return -- inserts
// nothing.
TEST_F(Vocabulary, LeavingTheHeadingsTypedTextInsertsNothing)
{
    window().show();
    QApplication::setActiveWindow(&window());
    QComboBox *headings = list("cboHeadings");
    set("doc", 1, 1);

    headings->setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(headings->hasFocus());
    window().textBox()->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(text(), "doc");

    headings->setFocus();
    headings->lineEdit()->selectAll();
    QTest::keyClicks(headings->lineEdit(), "H3");
    QTest::keyClick(headings->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(text(), "doc");
    QTest::keyClicks(headings->lineEdit(), "H2");
    window().textBox()->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(text(), "doc");
    EXPECT_EQ(headings->count(), 6);

    // Choosing with the arrow keys still inserts at once.
    set("doc", 1, 1);
    headings->setFocus();
    headings->setCurrentIndex(0);
    QTest::keyClick(headings, Qt::Key_Down);
    EXPECT_EQ(text(), "d<H2>o</H2>c");
    window().hide();
}

TEST(HeadingTags, EntryIsTrimmed)
{
    EXPECT_EQ(HeadingOpenTag(" H4 ", false), "<H4>");
    EXPECT_EQ(HeadingOpenTag("H4", true), "<H4 Id=\"HeadingID\">");
    EXPECT_EQ(HeadingCloseTag(" H4"), "</H4>");
}

} // namespace
