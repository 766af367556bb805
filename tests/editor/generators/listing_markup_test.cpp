// Directory listing pages: the four formats over the same small tree, and names that would
// break a link.
#include "generators/listing_markup.h"

#include <gtest/gtest.h>

using namespace pw;

namespace {

// A subdirectory with files whose names test the link text rules, then one without files.
const QList<ListingSubdirectory> kTree = {{"Docs", {"README", "a.b.c", "index.html"}},
                                          {"Empty", {}}};

} // namespace

TEST(ListingPage, IndentedListWithUnderlining)
{
    EXPECT_EQ(
        listingPage(ListingFormat::IndentedList, kTree, true),
        "<HTML>\r\n<HEAD>\r\n     <TITLE></TITLE>\r\n</HEAD>\r\n<BODY>\r\n"
        "<B>Docs</B> <BR>\r\n"
        "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp; <A HREF=\"Docs/README\"  "
        "style=\"text-decoration: none\" onMouseOver=\"this.style.textDecorationUnderline=true\" "
        "onMouseOut=\"this.style.textDecorationNone=true\">README</A> <BR>\r\n"
        "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp; <A HREF=\"Docs/a.b.c\"  "
        "style=\"text-decoration: none\" onMouseOver=\"this.style.textDecorationUnderline=true\" "
        "onMouseOut=\"this.style.textDecorationNone=true\">a.b.c</A> <BR>\r\n"
        "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp; <A HREF=\"Docs/index.html\"  "
        "style=\"text-decoration: none\" onMouseOver=\"this.style.textDecorationUnderline=true\" "
        "onMouseOut=\"this.style.textDecorationNone=true\">index.html</A> <BR>\r\n"
        "<B>Empty</B> <BR>\r\n"
        "</BODY>\r\n</HTML>");
}

TEST(ListingPage, UnorderedAndOrderedListsDifferOnlyInTheOuterTag)
{
    const QString unordered = listingPage(ListingFormat::UnorderedList, kTree, false);
    EXPECT_EQ(unordered, "<HTML>\r\n<HEAD>\r\n     <TITLE></TITLE>\r\n</HEAD>\r\n<BODY>\r\n"
                         "<UL>\r\n"
                         "   <LI><B>Docs</B> <BR>\r\n"
                         "     <UL>\r\n"
                         "          <LI><A HREF=\"Docs/README\" >README</A> <BR>\r\n"
                         "          <LI><A HREF=\"Docs/a.b.c\" >a.b.c</A> <BR>\r\n"
                         "          <LI><A HREF=\"Docs/index.html\" >index.html</A> <BR>\r\n"
                         "     </UL>\r\n"
                         "   <LI><B>Empty</B> <BR>\r\n"
                         "</UL>\r\n"
                         "</BODY>\r\n</HTML>");
    QString ordered = unordered;
    ordered.replace("<UL>\r\n   <LI><B>Docs", "<OL>\r\n   <LI><B>Docs");
    ordered.replace("</UL>\r\n</BODY>", "</OL>\r\n</BODY>");
    EXPECT_EQ(listingPage(ListingFormat::OrderedList, kTree, false), ordered);
}

TEST(ListingPage, MenuCountsSevenLayersForThreeFilesAndAnEmptyDirectory)
{
    const QString u1 = " style='text-decoration: none' "
                       "onMouseOver='this.style.textDecorationUnderline=true' "
                       "onMouseOut='this.style.textDecorationNone=true'";
    const QString in(13, ' ');
    QString expected =
        "<HTML>\r\n<HEAD>\r\n<TITLE></TITLE>\r\n"
        "<SCRIPT Language=\"JavaScript1.2\" Src=\"list.js\"></Script>\r\n"
        "<SCRIPT Language=\"JavaScript1.2\">\r\n"
        "      function init() {\r\n"
        + in + "var width = 3 * document.body.clientWidth / 4, height = 22;\r\n" + in
        + "myList = new List(true, width, height);\r\n" + in
        + "mySubList1 = new List(false, width, height);\r\n"
        // README has no stem, a.b.c's stem ends at its first full stop.
        + in + "mySubList1.addItem(\"<A Target=_self HREF='Docs/README' " + u1 + "></A>\");\r\n"
        + in + "mySubList1.addItem(\"<A Target=_self HREF='Docs/a.b.c' " + u1 + ">a</A>\");\r\n"
        + in + "mySubList1.addItem(\"<A Target=_self HREF='Docs/index.html' " + u1
        + ">index</A>\");\r\n" + in + "myList.addList(mySubList1,\"<B>Docs</B>\");\r\n" + in
        + "myList.addItem(\"<B>Empty</B>\");\r\n" + in
        + "myList.build(25,25); }\r\n"
          "</SCRIPT>\r\n"
          "<STYLE TYPE=\"text/css\">\r\n";
    for (int k = 0; k < 7; ++k)
        expected += QString("#lItem%1{ position:absolute; }\r\n").arg(k);
    expected += "\r\n</Style>\r\n</HEAD>\r\n<BODY onLoad=\"init();\">\r\n";
    for (int k = 0; k < 7; ++k)
        expected += QString("<DIV ID=\"lItem%1\" NAME=\"lItem%1\"></DIV>\r\n").arg(k);
    expected += "</BODY>\r\n</HTML>";
    EXPECT_EQ(listingPage(ListingFormat::ExpandableMenu, kTree, true), expected);
}

TEST(ListingPage, NoSubdirectoriesGiveAPageWithoutEntries)
{
    EXPECT_EQ(listingPage(ListingFormat::IndentedList, {}, true),
              "<HTML>\r\n<HEAD>\r\n     <TITLE></TITLE>\r\n</HEAD>\r\n<BODY>\r\n"
              "</BODY>\r\n</HTML>");
    const QString menu = listingPage(ListingFormat::ExpandableMenu, {}, false);
    EXPECT_TRUE(menu.contains("myList.build(25,25); }\r\n</SCRIPT>\r\n<STYLE TYPE=\"text/css\">"
                              "\r\n\r\n</Style>\r\n</HEAD>\r\n<BODY onLoad=\"init();\">\r\n"
                              "</BODY>\r\n</HTML>"))
        << menu.toStdString();
    EXPECT_FALSE(menu.contains("lItem"));
}

TEST(ListingPage, NamesThatWouldBreakALinkAreEncodedInTheAddressAndEscapedInTheText)
{
    const QList<ListingSubdirectory> tree = {
        {"My Docs", {"100% \"best\" #1?.html", "it's<b>&.txt", "back\\slash.txt"}}};
    EXPECT_EQ(listingLinkAddress("My Docs", "100% \"best\" #1?.html"),
              "My%20Docs/100%25%20%22best%22%20%231%3F.html");
    EXPECT_EQ(listingLinkAddress("x", "it's<b>&.txt"), "x/it%27s%3Cb%3E%26.txt");

    const QString list = listingPage(ListingFormat::UnorderedList, tree, false);
    EXPECT_TRUE(list.contains("<B>My Docs</B>"));
    EXPECT_TRUE(list.contains("<A HREF=\"My%20Docs/100%25%20%22best%22%20%231%3F.html\" >"
                              "100% \"best\" #1?.html</A>"));
    EXPECT_TRUE(list.contains("<A HREF=\"My%20Docs/it%27s%3Cb%3E%26.txt\" >"
                              "it's&lt;b&gt;&amp;.txt</A>"));

    // In the menu the texts sit in double-quoted script strings and the address in single
    // quotes: neither a quote nor a backslash may reach them as it is.
    const QString menu = listingPage(ListingFormat::ExpandableMenu, tree, false);
    EXPECT_TRUE(menu.contains("mySubList1.addItem(\"<A Target=_self "
                              "HREF='My%20Docs/100%25%20%22best%22%20%231%3F.html' >"
                              "100% \\\"best\\\" #1?</A>\");"))
        << menu.toStdString();
    EXPECT_TRUE(menu.contains("HREF='My%20Docs/back%5Cslash.txt' >back\\\\slash</A>\");"));
    EXPECT_TRUE(menu.contains("myList.addList(mySubList1,\"<B>My Docs</B>\");"));
}

TEST(ListingPage, StylesNameTheFormatsAndAnEmptyStyleIsTheMenu)
{
    for (ListingFormat format : {ListingFormat::ExpandableMenu, ListingFormat::IndentedList,
                                 ListingFormat::UnorderedList, ListingFormat::OrderedList})
        EXPECT_EQ(listingFormatOf(listingStyleOf(format)), format);
    EXPECT_EQ(listingFormatOf(""), ListingFormat::ExpandableMenu);
    EXPECT_EQ(listingFormatOf("UList"), ListingFormat::UnorderedList);
    EXPECT_FALSE(listingFormatOf("ulist").has_value());
}
