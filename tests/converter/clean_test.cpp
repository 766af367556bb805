// The clean mode's reader and writer, text in and text out: what it keeps, what it drops,
// and that what it writes is well-formed whatever the input.
#include "quorvel_clean.h"
#include "quorvel_fuzz_one.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using quorvel::convertClean;
using quorvel::TCleanOptions;

std::string clean(std::string_view rtf, const TCleanOptions &options = {})
{
    const std::string html = convertClean(rtf, options).html;
    EXPECT_TRUE(quorvel_fuzz::wellFormedHtml(html)) << html;
    return html;
}

TEST(CleanReader, GroupsSaveAndRestoreTheCharacterFormatting)
{
    // A heading made bold by an unclosed \b inside its group does not make the rest bold.
    EXPECT_EQ(clean("{\\rtf1 {\\b Title\\par}Body {\\i one {\\ul two} three} four\\par}"),
              "<p><b>Title</b></p>\n<p>Body <i>one <u>two</u> three</i> four</p>\n");
    // \plain and \b0 end formatting; a paragraph closes whatever is still open.
    EXPECT_EQ(clean("{\\rtf1 \\b\\i A\\plain B \\strike C\\strike0 \\super D\\nosupersub\\sub E"
                    "\\par}"),
              "<p><b><i>A</i></b>B <s>C</s><sup>D</sup><sub>E</sub></p>\n");
    // Markup characters of the text are escaped.
    EXPECT_EQ(clean("{\\rtf1 a<b & c>d \\{x\\}\\\\\\par}"), "<p>a&lt;b &amp; c&gt;d {x}\\</p>\n");
}

TEST(CleanReader, DestinationsThatAreNotTextAreSkipped)
{
    const std::string html =
        clean("{\\rtf1\\ansi{\\fonttbl{\\f0\\froman Times New Roman;}}"
              "{\\colortbl;\\red255\\green0\\blue0;}{\\stylesheet{\\s0 Normal;}{\\*\\cs10 Default "
              "Paragraph Font;}}{\\info{\\title The title}{\\author Somebody}}"
              "{\\*\\themedata 504b0304}{\\*\\datastore 0105}{\\*\\latentstyles{\\lsdlockedexcept "
              "heading 1;}}{\\*\\listtable{\\list{\\listname ;}}}{\\*\\revtbl{Unknown;}}"
              "{\\*\\unknownthing {nested} text}{\\header Page header\\par}"
              "{\\pict\\pngblip 89504e47}{\\object{\\*\\objdata 0102}{\\result Shown }}"
              "{\\*\\bkmkstart b}Kept{\\bin5 }}{\\} text }after\\v hidden\\v0 .\\par}");
    EXPECT_EQ(html, "<p>Shown Kept text after.</p>\n");
}

TEST(CleanReader, UnicodeAndCodePagesBecomeUtf8)
{
    // \u with its fallback skipped (\uc1 by default, \uc0 and \uc2 as set); a pair of
    // surrogates is one character; a negative \u counts from 65536; a symbol font's private
    // code (U+F020) reads as its character.
    EXPECT_EQ(clean("{\\rtf1 caf\\u233?s \\uc2\\u8364\\'80\\'80 \\uc0\\u8212 "
                    "\\u-10179\\u-8704 x\\u-4064?\\par}"),
              "<p>caf\xC3\xA9s \xE2\x82\xAC \xE2\x80\x94\xF0\x9F\x98\x80x ?</p>\n");
    // \'xx through the document's code page, a font's character set, or Mac Roman.
    EXPECT_EQ(clean("{\\rtf1\\ansi\\ansicpg1251 \\'e7\\'e2\\'e5\\'e7\\'e4\\'e0\\par}"),
              "<p>\xD0\xB7\xD0\xB2\xD0\xB5\xD0\xB7\xD0\xB4\xD0\xB0</p>\n");
    EXPECT_EQ(clean("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset238 Arial CE;}}"
                    "\\f0 Z\\'9fr \\f1 \\'9f\\par}"),
              "<p>Z\xC5\xB8r \xC5\xBA</p>\n");
    EXPECT_EQ(clean("{\\rtf1\\mac Caf\\'8e \\'d2q\\'d3\\par}"),
              "<p>Caf\xC3\xA9 \xE2\x80\x9Cq\xE2\x80\x9D</p>\n");
    // Bytes a code page leaves undefined, and control characters, are dropped.
    EXPECT_EQ(clean("{\\rtf1\\ansi a\\'81b\\u1?c\\u65535?d\\par}"), "<p>abcd</p>\n");
}

TEST(CleanReader, SpecialSymbolsAndBreaks)
{
    EXPECT_EQ(clean("{\\rtf1 a\\~b\\-c\\_d\\emdash\\endash\\lquote\\rquote\\ldblquote"
                    "\\rdblquote\\bullet\\tab e\\line f\\page g\\par}"),
              "<p>a\xC2\xA0"
              "bc\xE2\x80\x91"
              "d\xE2\x80\x94\xE2\x80\x93\xE2\x80\x98\xE2\x80\x99"
              "\xE2\x80\x9C\xE2\x80\x9D\xE2\x80\xA2\te<br>f</p>\n<p>g</p>\n");
    // Empty paragraphs leave nothing behind.
    EXPECT_EQ(clean("{\\rtf1 \\par\\par {\\b }\\par x}"), "<p>x</p>\n");
}

TEST(CleanReader, FieldsKeepTheirResultAndHyperlinksBecomeLinks)
{
    EXPECT_EQ(clean("{\\rtf1 See {\\field{\\*\\fldinst {HYPERLINK \"https://e.org/?a=1&b=2\" "
                    "\\\\o \"tip\"}}{\\fldrslt {\\ul\\cf1 the site}}}, page "
                    "{\\field{\\*\\fldinst PAGE}{\\fldrslt 7}} and {\\field{\\*\\fldinst "
                    "HYPERLINK \\\\l \"part2\"}{\\fldrslt part two}}.\\par}"),
              "<p>See <a href=\"https://e.org/?a=1&amp;b=2\">the site</a>, page 7 and "
              "<a href=\"#part2\">part two</a>.</p>\n");
}

TEST(CleanReader, FootnotesAreKeptAsNotesAtTheEnd)
{
    const std::string html = clean("{\\rtf1 Text{\\super\\chftn}{\\footnote\\pard{\\super\\chftn}"
                                   " First note.\\par Second paragraph.}, more"
                                   "{\\super\\chftn}{\\*\\footnote\\chftn\\~Other.}.\\par}");
    EXPECT_EQ(html, "<p>Text<sup><a href=\"#note-1\" id=\"note-ref-1\">1</a></sup>, more"
                    "<sup><a href=\"#note-2\" id=\"note-ref-2\">2</a></sup>.</p>\n"
                    "<hr>\n<div class=\"notes\">\n"
                    "<div id=\"note-1\">\n<p><sup><a href=\"#note-ref-1\">1</a></sup> First "
                    "note.</p>\n<p>Second paragraph.</p>\n</div>\n"
                    "<div id=\"note-2\">\n<p><a href=\"#note-ref-2\">2</a>\xC2\xA0Other.</p>\n"
                    "</div>\n</div>\n");
}

// Word processors format blanks too ("{\\b }"); an element or block around blanks alone is
// dropped by HTML checkers, so none is written. A note mark written twice before its note
// names its place once.
TEST(CleanWriter, NoElementAroundBlanksAloneAndNoIdTwice)
{
    EXPECT_EQ(clean("{\\rtf1 a{\\b  }b{\\i {\\ul \\tab} }c\\par}"), "<p>a b\t c</p>\n");
    EXPECT_EQ(clean("{\\rtf1 One\\par {\\i \\tab}\\par\\pard\\s1\\outlinelevel0 \\par"
                    "\\pard\\ls1{\\listtext \\'b7\\tab}{\\b  }\\par\\pard Two\\par}"),
              "<p>One</p>\n<p>Two</p>\n");
    // Blanks inside a word's formatting stay; a non-breaking space is no blank.
    EXPECT_EQ(clean("{\\rtf1 {\\b x }{\\i\\~}\\par}"), "<p><b>x </b><i>\xC2\xA0</i></p>\n");
    EXPECT_EQ(clean("{\\rtf1 A\\chftn B\\chftn{\\footnote N.}\\par}"),
              "<p>A<a href=\"#note-1\" id=\"note-ref-1\">1</a>B<a href=\"#note-1\">1</a></p>\n"
              "<hr>\n<div class=\"notes\">\n<div id=\"note-1\">\n<p>N.</p>\n</div>\n</div>\n");
}

TEST(CleanWriter, HeadingsAlignmentListsAndTables)
{
    const std::string html =
        clean("{\\rtf1{\\stylesheet{\\s0 Normal;}{\\s1\\outlinelevel0 heading 1;}{\\s2 Heading 2;}"
              "{\\s3 Heading 9;}}"
              "\\pard\\s1 One\\par\\pard\\s2\\qc Two\\par\\pard\\s3 Three\\par"
              "\\pard\\outlinelevel2 Four\\par\\pard\\qr Right\\par\\pard\\qj Just\\par"
              "\\pard\\ls1{\\listtext \\'b7\\tab}A\\par{\\listtext \\'b7\\tab}B\\par"
              "\\pard\\ls1\\ilvl1{\\listtext o\\tab}B1\\par"
              "\\pard\\ls2{\\listtext 1.\\tab}N1\\par"
              "\\pard{\\pntext 2.\\tab}{\\*\\pn\\pnlvlbody\\pndec}N2\\par"
              "\\pard{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt}Dot\\par"
              "\\pard After\\par"
              "\\trowd\\cellx1000\\cellx2000\\pard\\intbl a\\cell b\\par c\\cell\\row"
              "\\trowd\\pard\\intbl d\\cell\\cell\\row\\pard End\\par}");
    EXPECT_EQ(html, "<h1>One</h1>\n<h2 style=\"text-align:center\">Two</h2>\n<p>Three</p>\n"
                    "<h3>Four</h3>\n<p style=\"text-align:right\">Right</p>\n"
                    "<p style=\"text-align:justify\">Just</p>\n"
                    "<ul>\n<li>A</li>\n<li>B<ul>\n<li>B1</li>\n</ul>\n</li>\n</ul>\n"
                    "<ol>\n<li>N1</li>\n<li>N2</li>\n</ol>\n<ul>\n<li>Dot</li>\n</ul>\n"
                    "<p>After</p>\n<table>\n<tr><td>a</td><td>b<br>c</td></tr>\n"
                    "<tr><td>d</td><td></td></tr>\n</table>\n<p>End</p>\n");
}

// Paragraphs of megabytes take a path of their own (the page moves in front of them rather
// than they behind it): the order of the blocks and their markup stay the same.
TEST(CleanWriter, ParagraphsOfMegabytesKeepTheirPlace)
{
    const std::string big(3u << 20, 'w');
    const std::string bigger = big + "x" + big;
    const std::string html = clean("{\\rtf1 First\\par\\pard\\qc " + big
                                   + "\\par"
                                     "\\pard\\outlinelevel0 "
                                   + bigger
                                   + "\\par"
                                     "\\pard\\ls1{\\listtext \\'b7\\tab}"
                                   + big
                                   + "&\\par"
                                     "\\pard Last\\par}");
    EXPECT_TRUE(html
                == "<p>First</p>\n<p style=\"text-align:center\">" + big + "</p>\n<h1>" + bigger
                       + "</h1>\n<ul>\n<li>" + big + "&amp;</li>\n</ul>\n" + "<p>Last</p>\n");
}

TEST(CleanWriter, StylesPagesAndPicturesOnlyWhenAsked)
{
    const std::string rtf =
        "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Times \"New\" <Roman>;}}"
        "{\\colortbl;\\red255\\green0\\blue16;}{\\info{\\title Doc & title}}"
        "\\f0\\fs23\\cf1 Red {\\f1\\fs24\\cf0 plain}"
        "{\\*\\shppict{\\pict\\pngblip 89504E470d0a}}{\\nonshppict{\\pict\\wmetafile8 0100}}"
        "{\\pict\\jpegblip\\bin3 \xFF\xD8}}{\\pict\\emfblip 0102}.\\par}";
    EXPECT_EQ(clean(rtf), "<p>Red plain.</p>\n");

    TCleanOptions options;
    options.keepStyles = true;
    options.wholePage = true;
    options.pictures = true;
    options.pictureStem = "doc";
    const quorvel::TCleanResult result = convertClean(rtf, options);
    EXPECT_TRUE(quorvel_fuzz::wellFormedHtml(result.html));
    EXPECT_EQ(result.html,
              "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
              "<title>Doc &amp; title</title>\n</head>\n<body>\n"
              "<p><span style=\"color:#ff0010;font-family:'Arial';font-size:11.5pt\">Red </span>"
              "<span style=\"font-family:'Times New Roman';font-size:12pt\">plain</span>"
              "<span style=\"color:#ff0010;font-family:'Arial';font-size:11.5pt\">"
              "<img src=\"doc-1.png\" alt=\"\"><img src=\"doc-2.jpg\" alt=\"\">.</span></p>\n"
              "</body>\n</html>\n");
    ASSERT_EQ(result.pictures.size(), 2u);
    EXPECT_EQ(result.pictures[0].fileName, "doc-1.png");
    EXPECT_EQ(result.pictures[0].bytes, "\x89PNG\r\n");
    EXPECT_EQ(result.pictures[1].bytes, std::string("\xFF\xD8}", 3));

    options.title = "Given";
    EXPECT_NE(convertClean(rtf, options).html.find("<title>Given</title>"), std::string::npos);
}

TEST(CleanReader, OnlyRtfIsReadAndBrokenInputStillGivesWellFormedOutput)
{
    for (std::string_view notRtf : {"", "hello", "{\\rtx1 x}", "\\rtf1 x"}) {
        try {
            convertClean(notRtf, {});
            ADD_FAILURE() << "converted: " << notRtf;
        } catch (const quorvel::EQuorvelError &e) {
            EXPECT_EQ(std::string_view(e.what()), quorvel::kHeaderMissing);
        }
    }
    // A byte-order mark and blank lines before the header are allowed.
    EXPECT_EQ(clean("\xEF\xBB\xBF\r\n {\\rtf1 x}"), "<p>x</p>\n");
    // Cut short, unbalanced, nested beyond reason: still every element closed.
    const std::string deep = "{\\rtf1 " + std::string(10000, '{') + "\\b deep";
    for (std::string_view broken :
         {std::string_view("{\\rtf1 {\\b bold {\\i both"), std::string_view("{\\rtf1 a}}} b} c"),
          std::string_view("{\\rtf1 \\'"), std::string_view("{\\rtf1 \\u"),
          std::string_view("{\\rtf1 \\u-"),
          std::string_view("{\\rtf1 {\\field{\\*\\fldinst HYPERLINK"),
          std::string_view("{\\rtf1 \\intbl a\\cell b"), std::string_view("{\\rtf1 {\\footnote a"),
          std::string_view("{\\rtf1 \\ls1{\\listtext"), std::string_view("{\\rtf1 \\bin99999 {}"),
          std::string_view(deep)}) {
        SCOPED_TRACE(broken.substr(0, 60));
        clean(broken);
    }
    EXPECT_EQ(clean("{\\rtf1 {\\b bold {\\i both"), "<p><b>bold <i>both</i></b></p>\n");
}

} // namespace
