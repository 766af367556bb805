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

QStringList entries(QComboBox *box)
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
        {"cboCSS", 124, true, "All CSS Family Members", "background-attachment: scroll;",
         "z-index: [number];"},
        {"cboDHTML", 254, true, "All DHTML Objects and Properties", "document.activeElement",
         "window.showModalDialog()"},
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
    const QStringList css = entries(list("cboCSS"));
    EXPECT_EQ(css.count("cursor: nw-resize;"), 2);
    EXPECT_EQ(css.indexOf("display: ;"), 76);
    EXPECT_EQ(css.mid(58, 3),
              (QStringList{"cursor: auto;", "cursor: crosshair;", "cursor: default;"}));
    const QStringList dhtml = entries(list("cboDHTML"));
    EXPECT_EQ(dhtml.count("style.pixelHeight"), 2);
    EXPECT_EQ(dhtml.indexOf("history.length"), 41);
    // Where each object's members begin.
    const std::pair<const char *, int> groups[] = {
        {"location.hash", 44},         {"event.altKey", 55},         {"mimeType.description", 76},
        {"navigator.appCodeName", 80}, {"screen.bufferDepth", 89},   {"selection.type", 94},
        {"style.background", 98},      {"styleSheet.disabled", 185}, {"textRange.htmlText", 193},
        {"window.client", 215},        {"window.alert()", 238}};
    for (const auto &[entry, index] : groups)
        EXPECT_EQ(dhtml.indexOf(entry), index) << entry;
    for (const auto &[entry, index] : {std::pair{"border: [color];", 11},
                                       {"border-style: none;", 29},
                                       {"color: [color];", 57},
                                       {"font-family: [family name];", 77},
                                       {"filter: blendtrans;", 78},
                                       {"position: absolute;", 101},
                                       {"text-indent: [length];", 119}})
        EXPECT_EQ(css.indexOf(entry), index) << entry;
    const QStringList tags = entries(list("cboTags"));
    EXPECT_EQ(tags.mid(0, 3), (QStringList{"&nbsp;", "<!--   -->", "<HTML></HTML>"}));
    EXPECT_EQ(tags.at(14), "<META HTTP-EQUIV=REFRESH CONTENT=5; URL=New Location></META>");
    const QStringList asp = entries(list("cboASP"));
    EXPECT_EQ(asp.at(13), "HTTP_UA_OS");
    EXPECT_EQ(asp.at(14), "Server.CreateObject()");
}

// The shorter lists written out in full, in order; the two long ones by their counts and
// group boundaries above.
TEST_F(Vocabulary, ShortListsHoldExactlyTheirEntries)
{
    EXPECT_EQ(entries(list("cboHeadings")), (QStringList{"H1", "H2", "H3", "H4", "H5", "H6"}));
    EXPECT_EQ(entries(list("cboASP")), (QStringList{
                                           "LAST_MODIFIED",
                                           "PATH_INFO",
                                           "PATH_TRANSLATED",
                                           "QUERY_STRING",
                                           "DATE_GMT",
                                           "DATE_LOCAL",
                                           "GATEWAY_INTERFACE",
                                           "HTTP_ACCEPT",
                                           "HTTP_ACCEPT_LANGUAGE",
                                           "HTTP_USER_AGENT",
                                           "HTTP_REFERER",
                                           "HTTP_UA_PIXELS",
                                           "HTTP_UA_COLOR",
                                           "HTTP_UA_OS",
                                           "Server.CreateObject()",
                                           "Request.Cookie()",
                                           "Request.QueryString()",
                                           "Request.Form()",
                                           "Application.Lock",
                                           "Application.UnLock",
                                           "Session.TimeOut",
                                           "Session.Abandon",
                                           "Session.SessionID",
                                           "Response.Write()",
                                           "Response.Redirect",
                                       }));
    EXPECT_EQ(entries(list("cboHTMLClass")), (QStringList{
                                                 "$b = new HTML;",
                                                 "$b->A();",
                                                 "$b->BR();",
                                                 "$b->HR();",
                                                 "$b->Opening();",
                                                 "$b->Closing();",
                                                 "$b->DL();",
                                                 "$b->H();",
                                                 "$b->IMG();",
                                                 "$b->Marquee();",
                                                 "$b->NBSP();",
                                                 "$b->OL();",
                                                 "$b->P();",
                                                 "$b->Select();",
                                                 "$b->TD();",
                                                 "$b->TR();",
                                                 "$b->UL();",
                                                 "$b->WriteHTML();",
                                                 "include(\"./html_class.inc\");",
                                             }));
    EXPECT_EQ(entries(list("cboTags")),
              (QStringList{
                  "&nbsp;",
                  "<!--   -->",
                  "<HTML></HTML>",
                  "<BODY></BODY>",
                  "<HR>",
                  "<BR>",
                  "<BLOCKQUOTE></BLOCKQUOTE>",
                  "<HEAD></HEAD>",
                  "<TITLE></TITLE>",
                  "<ADDRESS></ADDRESS>",
                  "<BASE></BASE>",
                  "<BGSOUND></BGSOUND>",
                  "<A HREF=></A>",
                  "<A NAME=></A>",
                  "<META HTTP-EQUIV=REFRESH CONTENT=5; URL=New Location></META>",
                  "<META></META>",
                  "<CENTER></CENTER>",
                  "<BASEFONT></BASEFONT>",
                  "<FONT Face=Font Color=Color></FONT>",
                  "<FONT></FONT>",
                  "<COMMENT></COMMENT>",
                  "<DFN></DFN>",
                  "<DIV></DIV>",
                  "<H1></H1>",
                  "<H2></H2>",
                  "<H3></H3>",
                  "<H4></H4>",
                  "<H5></H5>",
                  "<H6></H6>",
                  "<LISTING></LISTING>",
                  "<LAYER></LAYER>",
                  "<LAYER Name=LayerName></LAYER>",
                  "<MARQUEE></MARQUEE>",
                  "<NOBR></NOBR>",
                  "<P></P>",
                  "<PLAINTEXT></PLAINTEXT>",
                  "<PRE></PRE>",
                  "<WBR></WBR>",
                  "<XMP></XMP>",
                  "&quot;",
                  "&lt;",
                  "&gt;",
                  "&amp;",
                  "&reg;",
                  "&copy;",
                  "<FORM></FORM>",
                  "<INPUT></INPUT>",
                  "<TABLE></TABLE>",
                  "<CAPTION></CAPTION>",
                  "<SELECT></SELECT>",
                  "<TEXTAREA></TEXTAREA>",
                  "<OPTION></OPTION>",
                  "<FRAMESET></FRAMESET>",
                  "<FRAME></FRAME>",
                  "<NOFRAMES></NOFRAMES>",
                  "<IMG></IMG>",
                  "<AREA></AREA>",
                  "<MAP></MAP>",
                  "<CITE></CITE>",
                  "<CODE></CODE>",
                  "<VAR></VAR>",
                  "<TT></TT>",
                  "<KBD></KBD>",
                  "<EM></EM>",
                  "<STRONG></STRONG>",
                  "<B></B>",
                  "<I></I>",
                  "<U></U>",
                  "<SAMP></SAMP>",
                  "<BIG></BIG>",
                  "<BLINK></BLINK>",
                  "<SMALL></SMALL>",
                  "<STRIKE></STRIKE>",
                  "<SUB></SUB>",
                  "<SUP></SUP>",
                  "<DIR></DIR>",
                  "<DL></DL>",
                  "<DD></DD>",
                  "<DT></DT>",
                  "<OL></OL>",
                  "<UL></UL>",
                  "<LI></LI>",
                  "<MENU></MENU>",
                  "<COL></COL>",
                  "<COLGROUP></COLGROUP>",
                  "<TBODY></TBODY>",
                  "<TD></TD>",
                  "<TH></TH>",
                  "<TR></TR>",
                  "<TFOOT></TFOOT>",
                  "<THEAD></THEAD>",
              }));
}

TEST_F(Vocabulary, FillingAgainDoesNotDoubleTheLists)
{
    window().commands().lists().fillLists();
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
    list("cboTags")->setCurrentIndex(int(entries(list("cboTags")).indexOf("<B></B>")));
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

    h.state.idAttribute = true;
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
    window().editBox().widget()->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(text(), "doc");

    headings->setFocus();
    headings->lineEdit()->selectAll();
    QTest::keyClicks(headings->lineEdit(), "H3");
    QTest::keyClick(headings->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(text(), "doc");
    QTest::keyClicks(headings->lineEdit(), "H2");
    window().editBox().widget()->setFocus();
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
    EXPECT_EQ(headingOpenTag(" H4 ", false), "<H4>");
    EXPECT_EQ(headingOpenTag("H4", true), "<H4 Id=\"HeadingID\">");
    EXPECT_EQ(headingCloseTag(" H4"), "</H4>");
}

} // namespace
