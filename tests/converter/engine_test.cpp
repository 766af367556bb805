// The body pass: tokenizer, control words, entities and the run state.
#include "quorvel_engine.h"

#include <gtest/gtest.h>

#include <string>

using namespace quorvel;
using enum TQuorvelOption;
using namespace std::string_literals;

namespace {

// With every frame option off the document is the body text followed by CR LF.
std::string Document(std::string_view rtf, TQuorvelOptions options = {})
{
    TQuorvel q;
    q.setOptions(options);
    return q.convertText(rtf);
}

// `text` standing in the document after an empty colour table. The closing "}" and CR LF
// give every word in `text` its delimiter before the last two characters.
std::string body(std::string_view text, TQuorvelOptions options = {})
{
    const std::string doc = Document("{\\rtf1{\\colortbl}"s.append(text) + "}\r\n", options);
    EXPECT_TRUE(doc.ends_with("\r\n")) << doc;
    return doc.substr(0, doc.size() - 2);
}

} // namespace

TEST(QuorvelEngine, TextBeforeTheColourTableIsFontTableText)
{
    EXPECT_EQ(Document("{\\rtf1 Hello}\r\n"), "\r\n");
    EXPECT_EQ(body("Hello"), "Hello");
}

TEST(QuorvelEngine, LastTwoCharactersAreNeverExamined)
{
    EXPECT_EQ(Document("{\\rtf1{\\colortbl}x\\par}"), "x\r\n");
    EXPECT_EQ(Document("{\\rtf1{\\colortbl}x\\par}\r\n"), "x<BR>\r\n\r\n");
}

TEST(QuorvelEngine, FontFaceAndColourFromTheTables)
{
    const std::string rtf =
        "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl\\red255\\green0\\blue0;}\\f0\\cf0 Hi\\par}\r\n";
    EXPECT_EQ(Document(rtf, {soProcessFontFace, soUseColors}),
              "<FONT FACE=\"Arial\"><FONT COLOR=\"#FF0000\">Hi<BR>\r\n\r\n");
    EXPECT_EQ(Document(rtf), "Hi<BR>\r\n\r\n");
}

TEST(QuorvelEngine, ColourTableWithAutomaticEntryEmitsItsSemicolon)
{
    // The ";" follows a blank, so it is document text; the first triple still fills entry 0.
    const std::string rtf =
        "{\\rtf1{\\colortbl ;\\red0\\green0\\blue255;}\\cf0 a\\cf1 b\\cf2 c}\r\n";
    EXPECT_EQ(Document(rtf, {soUseColors}), ";<FONT COLOR=\"#0000FF\">a<FONT COLOR=\"#\">bc\r\n");
}

TEST(QuorvelEngine, ColourValuesAreUpperCaseHexWithAtLeastTwoDigits)
{
    const std::string rtf =
        "{\\rtf1{\\colortbl\\red5\\green300\\bluex;\\red-1\\green\\blue10;}\\cf0 a\\cf1 b}\r\n";
    EXPECT_EQ(Document(rtf, {soUseColors}),
              "<FONT COLOR=\"#0512C00\">a<FONT COLOR=\"#FFFFFFFF000A\">b\r\n");
}

TEST(QuorvelEngine, PlainClosesFormattingAndEndsColourTableParsing)
{
    EXPECT_EQ(body("\\strike\\ul\\i\\b x\\plain y"), "<STRIKE><U><I><B>x</STRIKE></U></I></B>y");
    // Colour words after \plain are ignored; only \cf above 0 is closed by \plain.
    const std::string rtf = "{\\rtf1{\\colortbl\\red1\\green2\\blue3;}\\plain"
                            "\\red255\\green0\\blue0\\cf0 a\\cf1 b\\plain\\cf0 c\\plain d}\r\n";
    EXPECT_EQ(Document(rtf, {soUseColors}), "<FONT COLOR=\"#010203\">a<FONT COLOR=\"#\">b</FONT>"
                                            "<FONT COLOR=\"#010203\">cd\r\n");
    // A colour number beyond the table writes nothing but is still closed.
    EXPECT_EQ(body("\\cf9 a\\plain b", {soUseColors}), "a</FONT>b");
    EXPECT_EQ(body("\\cf1 a\\plain b"), "ab");
}

TEST(QuorvelEngine, FormattingWords)
{
    EXPECT_EQ(body("\\b bold\\b0 "), "<B>bold</B>");
    EXPECT_EQ(body("\\b1 x"), "x");
    EXPECT_EQ(body("\\ul u\\ul0 \\ul v\\ulnone \\i i\\i0 \\strike s\\strike0 "),
              "<U>u</U><U>v</U><I>i</I><STRIKE>s</STRIKE>");
    EXPECT_EQ(body("\\tab\\ldblquot q\\rdblquot\\lquote r\\rquote\\page x"), "\t\"q\"'r'<HR>\r\nx");
}

TEST(QuorvelEngine, EscapedCharacters)
{
    EXPECT_EQ(body("a\\~b"), "a&nbsp;b");
    EXPECT_EQ(body("\\{"), "{");
    EXPECT_EQ(body("\\}x"), "}x");
    EXPECT_EQ(body("\\\\"), "\\");
    EXPECT_EQ(body("\\\\\\\\"), "\\\\");
    // The literal goes to the output even while the font table is being read.
    EXPECT_EQ(Document("{\\rtf1{\\fonttbl{\\f0 A\\{b;}}{\\colortbl}x}\r\n"), "{x\r\n");
}

TEST(QuorvelEngine, HexEscapes)
{
    EXPECT_EQ(body("\\'e9"), "&eacute;");
    EXPECT_EQ(body("\\'E9"), "&eacute;");
    EXPECT_EQ(body("\\'b7"), "&middot;");
    EXPECT_EQ(body("\\pnlvlblt\\'b7x"), "\r\n<UL>\r\nx");
    EXPECT_EQ(body("\\'93"), "\x93");
    EXPECT_EQ(body("\\'a8\\'a0\\'ff"), "&die;&nbsp;&yuml;");
    EXPECT_EQ(body("\\'3c"), "<");
}

TEST(QuorvelEngine, BadHexEscapeFailsTheRun)
{
    TQuorvel q;
    for (const char *bad : {"\\'zz x", "\\'e x", "\\'\\\\x", "\\'-1 x"}) {
        try {
            q.convertText("{\\rtf1{\\colortbl}"s + bad + "}\r\n");
            ADD_FAILURE() << "no failure for " << bad;
        } catch (const EQuorvelError &e) {
            EXPECT_TRUE(std::string(e.what()).starts_with("Quorvel: ")) << e.what();
            EXPECT_NE(std::string(e.what()).find("hexadecimal"), std::string::npos);
        }
    }
}

TEST(QuorvelEngine, EscapeAtTheEndOfTheInputStaysInside)
{
    // The escape's two digits are always inside the text; an escape cut short by the end is
    // among the last two characters and never examined.
    EXPECT_EQ(Document("{\\rtf1{\\colortbl}\\'e9"), "&eacute;\r\n");
    EXPECT_EQ(Document("{\\rtf1{\\colortbl}\\'e"), "\r\n");
    EXPECT_EQ(Document("{\\rtf1{\\colortbl}\\'"), "\r\n");
    EXPECT_EQ(Document("{\\rtf1{\\colortbl}a\\\\"), "a\r\n");
    EXPECT_EQ(Document("{\\rtf1{\\colortbl}a\\'e9\\"), "a&eacute;\r\n");
}

TEST(QuorvelEngine, TokenizerConsequences)
{
    // A Unicode escape has no row, "?" is dropped, and the letters after it are lost.
    EXPECT_EQ(body("\\u233?tion here"), "here");
    // "\-" starts a word that swallows the letters after it.
    EXPECT_EQ(body("a\\-bc d"), "ad");
    // After "{" lower-case letters form a word and other characters are dropped.
    EXPECT_EQ(body("{abc def}"), "def");
    EXPECT_EQ(body("{ABC, def}"), "def");
    EXPECT_EQ(body("{~x}"), "&nbsp;x");
    // A hex escape right after word letters leaves the word pending until the next
    // delimiter.
    EXPECT_EQ(body("\\b'e9\\i x"), "&eacute;<B><I>x");
    // A numeric parameter may carry a minus sign: "fi-200" is one (unknown) word.
    EXPECT_EQ(body("\\fi-200\\li200 item"), "item");
    // A blank or CR after a word is consumed; a line feed is dropped like any delimiter
    // and keeps the tokenizer reading a word.
    EXPECT_EQ(body("\\b\r\nx\\b0\ny z"), "<B>x</B>z");
}

TEST(QuorvelEngine, TextIsEscapedAndLineBreaksDropped)
{
    EXPECT_EQ(body("a<b & c>d"), "a&lt;b &amp; c&gt;d");
    EXPECT_EQ(body("\x80\xe9\xff\t\"'"), "\x80\xe9\xff\t\"'");
    EXPECT_EQ(body("one\r\ntwo\nthree"), "onetwothree");
}

TEST(QuorvelEngine, FontSizes)
{
    const TQuorvelOptions size{soProcessFontSize};
    EXPECT_EQ(body("\\fs16 a", size), "<SMALL>a");
    EXPECT_EQ(body("\\fs24 a", size), "<FONT SIZE=3>a");
    EXPECT_EQ(body("\\fs72 a", size), "<FONT SIZE=9>a");
    EXPECT_EQ(body("\\fsx a", size), "a");
    EXPECT_EQ(body("\\fs2x a", size), "<FONT SIZE=2>a"); // not a number: 10 points
    for (const char *word : {"\\fs16 a", "\\fs24 a", "\\fs72 a", "\\fsx a"})
        EXPECT_EQ(body(word), "a") << word;
}

TEST(QuorvelEngine, OptimizeLeavesOutRepeatedSizes)
{
    EXPECT_EQ(body("\\fs24 a\\fs24 b\\plain c", {soProcessFontSize, soOptimize}),
              "<FONT SIZE=3>abc");
    EXPECT_EQ(body("\\fs24 a\\fs24 b\\plain c", {soProcessFontSize}),
              "<FONT SIZE=3>a<FONT SIZE=3>b<FONT SIZE=2>c");
    // With the default font, \plain resets to the default size.
    TQuorvel q;
    q.setOptions({soProcessFontSize, soUseDefaultFont});
    q.setDefaultFontSize(14);
    q.setDefaultFontName("F");
    EXPECT_EQ(q.convertText("{\\rtf1{\\colortbl}\\fs24 a\\plain b}\r\n"),
              "<FONT FACE=\"F\" SIZE=4><FONT SIZE=3>a<FONT SIZE=4>b</FONT>\r\n");
}

TEST(QuorvelEngine, FontFaces)
{
    const std::string table = "{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}{\\f1 Symbol;}"
                              "{\\f2 Courier New;}{\\f3 Times New Roman;}{\\f4 Verdana;}}"
                              "{\\colortbl}";
    EXPECT_EQ(Document(table + "\\f1 x\\f0 y\\f7 z\\f0 w}\r\n", {soProcessFontFace}),
              "x<FONT FACE=\"Arial\">y<FONT FACE=\"Arial\">z<FONT FACE=\"Arial\">w\r\n");
    EXPECT_EQ(Document(table + "\\f0 y\\f7 z\\f0 w}\r\n", {soProcessFontFace, soOptimize}),
              "<FONT FACE=\"Arial\">yzw\r\n");
    EXPECT_EQ(
        Document(table + "\\f0 a\\f2 b\\f3 c\\f4 d}\r\n", {soProcessFontFace, soMoreCompatible}),
        "<FONT FACE=\"Arial,Helvetica\">a<FONT FACE=\"Courier,Courier New\">b"
        "<FONT FACE=\"Times\">c<FONT FACE=\"Verdana\">d\r\n");
    EXPECT_EQ(Document(table + "\\f0 a}\r\n"), "a\r\n");
}

TEST(QuorvelEngine, ListsAndAlignment)
{
    EXPECT_EQ(body("\\pnlvlblt\\qr x\\pard y"),
              "\r\n<UL>\r\n\r\n<p align=right>\r\nx</UL>\r\n\r\n</p>y");
    EXPECT_EQ(body("\\qc x\\par\\pard y\\pard z"), "\r\n<p align=center>\r\nx<BR>\r\n</p>yz");
    EXPECT_EQ(body("{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'b7}}"
                   "\\fi-200\\li200 item\\par"),
              "<LI>&middot;\t\r\n<UL>\r\nitem</LI>\r\n");
}

TEST(QuorvelEngine, HeaderMustBeExact)
{
    for (const char *rtf : {"", "{\\rtf", "{\\rtf2 x}\r\n", "{\\RTF1 x}\r\n", " {\\rtf1 x}\r\n"}) {
        try {
            Document(rtf);
            ADD_FAILURE() << "no failure for " << rtf;
        } catch (const EQuorvelError &e) {
            EXPECT_STREQ(e.what(), "Quorvel: RTF header is missing. Conversion aborted.");
        }
    }
    EXPECT_EQ(Document("{\\rtf1"), "\r\n");
}

TEST(QuorvelEngine, pointsToHtmlSize)
{
    TQuorvel q;
    const std::pair<int, int> rows[] = {{0, 0},  {8, 0},  {9, 2},  {11, 2},  {12, 3},
                                        {13, 3}, {14, 4}, {15, 4}, {16, 5},  {18, 5},
                                        {19, 6}, {27, 6}, {28, 9}, {500, 9}, {-1, 9}};
    for (auto [points, size] : rows) {
        bool small = true;
        EXPECT_EQ(q.pointsToHtmlSize(points, small), size) << points;
        EXPECT_EQ(small, size < 2) << points;
    }
}

TEST(QuorvelEngine, charToEntity)
{
    TQuorvel q;
    EXPECT_EQ(q.charToEntity(160, false), "&nbsp;");
    EXPECT_EQ(q.charToEntity(168, false), "&die;");
    EXPECT_EQ(q.charToEntity(183, false), "&middot;");
    EXPECT_EQ(q.charToEntity(183, true), "");
    EXPECT_EQ(q.charToEntity(198, true), "&AElig;");
    EXPECT_EQ(q.charToEntity(208, false), "&ETH;");
    EXPECT_EQ(q.charToEntity(215, false), "&times;");
    EXPECT_EQ(q.charToEntity(222, false), "&THORN;");
    EXPECT_EQ(q.charToEntity(223, false), "&szlig;");
    EXPECT_EQ(q.charToEntity(247, false), "&divide;");
    EXPECT_EQ(q.charToEntity(255, false), "&yuml;");
    EXPECT_EQ(q.charToEntity(159, false), "\x9f");
    EXPECT_EQ(q.charToEntity('<', false), "<");
    EXPECT_EQ(q.charToEntity(0, false), std::string(1, '\0'));
    // Every code from 160 up has a well-formed entity of its own.
    for (int code = 160; code <= 255; ++code) {
        const std::string e = q.charToEntity(code, false);
        EXPECT_TRUE(e.size() > 2 && e.front() == '&' && e.back() == ';') << code;
        if (code > 160) {
            EXPECT_NE(e, q.charToEntity(code - 1, false)) << code;
        }
    }
    EXPECT_EQ(q.textToHtml("<\xe9\xb7>"), "<&eacute;&middot;>");
}

TEST(QuorvelEngine, FontNameAtFallsBackOutsideTheTable)
{
    TQuorvel q;
    EXPECT_EQ(q.fontNameAt(0), "Arial,Helvetica"); // no run yet: the table is empty
    // Without font faces, \f words do not choose entries: all names fill entry 0.
    q.convertText("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Tahoma;}}{\\colortbl}}\r\n");
    EXPECT_EQ(q.fontNameAt(0), "Arial");
    EXPECT_EQ(q.fontNameAt(1), "Arial,Helvetica");
    q.setOptions({soProcessFontFace});
    q.convertText("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Tahoma;}}{\\colortbl}}\r\n");
    EXPECT_EQ(q.fontNameAt(1), "Tahoma");
    EXPECT_EQ(q.fontNameAt(2), "Arial,Helvetica");
    EXPECT_EQ(q.fontNameAt(-1), "Arial,Helvetica");
}

TEST(QuorvelEngine, FontTableSkipsNumbersWithGaps)
{
    // Text for a font number past the next free entry has nowhere to go.
    const std::string rtf =
        "{\\rtf1{\\fonttbl{\\f0 A;}{\\f2 C;}{\\f1 B;}{\\f2 C;}}{\\colortbl}\\f2 x}\r\n";
    EXPECT_EQ(Document(rtf, {soProcessFontFace}), "<FONT FACE=\"C\">x\r\n");
    // A huge font number is only a number, not an allocation.
    EXPECT_EQ(Document("{\\rtf1{\\fonttbl{\\f2147483647 Big;}}{\\colortbl}\\f2147483647 x}\r\n",
                       {soProcessFontFace}),
              "<FONT FACE=\"\">x\r\n");
}

TEST(QuorvelEngine, OptimizeComparesFaceNamesNotFontNumbers)
{
    // Two numbers with one name count as the same face; an empty name equals the empty
    // face that a run starts with.
    const std::string rtf = "{\\rtf1{\\fonttbl{\\f0 A;}{\\f1 A;}{\\f2 B;}{\\f3 ;}}{\\colortbl}"
                            "\\f3 a\\f0 b\\f1 c\\f2 d\\f1 e\\f3 f\\f3 g\\f9 h}\r\n";
    const std::string optimized = "a<FONT FACE=\"A\">bc<FONT FACE=\"B\">d<FONT FACE=\"A\">e"
                                  "<FONT FACE=\"\">fg<FONT FACE=\"A\">h\r\n";
    EXPECT_EQ(Document(rtf, {soProcessFontFace, soOptimize}), optimized);
    // A second colour table neither cuts nor renames the fonts again.
    const std::string twice = "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Courier;x}}{\\colortbl}"
                              "{\\colortbl}\\f0 a\\f1 b\\colortbl\\f0 c}\r\n";
    EXPECT_EQ(Document(twice, {soProcessFontFace, soOptimize, soMoreCompatible}),
              "<FONT FACE=\"Arial,Helvetica\">a<FONT FACE=\"Courier,Courier New\">b"
              "<FONT FACE=\"Arial,Helvetica\">c\r\n");

    // A derived converter asks fontNameAt for every face and must write the same.
    class Derived : public TQuorvel {};
    for (const std::string &doc : {rtf, twice}) {
        for (const TQuorvelOptions options :
             {TQuorvelOptions{soProcessFontFace}, TQuorvelOptions{soProcessFontFace, soOptimize},
              TQuorvelOptions{soProcessFontFace, soOptimize, soMoreCompatible}}) {
            TQuorvel base;
            Derived derived;
            base.setOptions(options);
            derived.setOptions(options);
            EXPECT_EQ(base.convertText(doc), derived.convertText(doc)) << doc;
        }
    }
}

namespace {

// A converter that writes Latin-1 letters as themselves and knows the Unicode word.
class LiteralConverter : public TQuorvel {
public:
    std::string charToEntity(std::int32_t code, bool listFlag) override
    {
        return code == 0xE9 ? "\xe9" : TQuorvel::charToEntity(code, listFlag);
    }
    std::string handleControlWord(std::string_view word) override
    {
        return word == "u233" ? "\xe9" : TQuorvel::handleControlWord(word);
    }
};

} // namespace

TEST(QuorvelEngine, OperationsCanBeOverridden)
{
    LiteralConverter q;
    q.setOptions({soWrapHTML, soUseTitle});
    q.setTitle("\xe9\xe8");
    EXPECT_EQ(q.convertText("{\\rtf1{\\colortbl}\\'e9\\u233?x \\'e8}\r\n"),
              "<HTML>\r\n<HEAD>\r\n<TITLE>\xe9&egrave;</TITLE>\r\n</HEAD>\r\n<BODY>"
              "\xe9\xe9&egrave;\r\n</BODY>\r\n</HTML>");
}

TEST(QuorvelEngine, MessagePumpRunsOncePerStep)
{
    struct Counter {
        int calls = 0;
    } counter;
    TQuorvel q;
    q.setMessagePump({[](void *c) { ++static_cast<Counter *>(c)->calls; }, &counter});
    const std::string rtf = "{\\rtf1 abc}\r\n"; // 13 characters, the last two unread
    q.convertText(rtf);
    EXPECT_EQ(counter.calls, 11);
    // An escaped character is taken together with its backslash, and "\'hh" in one step.
    counter.calls = 0;
    q.convertText("{\\rtf1\\\\\\'e9}\r\n");
    EXPECT_EQ(counter.calls, 10);
}

TEST(QuorvelEngine, MessagePumpMayStartAnotherConversion)
{
    struct Host {
        int nested = 0;
        std::string nestedResult;
    } host;
    TQuorvel q;
    q.setMessagePump({[](void *h) {
                          auto *host = static_cast<Host *>(h);
                          if (host->nested++ == 0) {
                              TQuorvel inner;
                              host->nestedResult = inner.convertText("{\\rtf1{\\colortbl}in}\r\n");
                          }
                      },
                      &host});
    EXPECT_EQ(q.convertText("{\\rtf1{\\colortbl}\\b out}\r\n"), "<B>out\r\n");
    EXPECT_EQ(host.nestedResult, "in\r\n");
}

TEST(QuorvelEngine, ARunStartsFromFreshState)
{
    TQuorvel q;
    q.setOptions({soProcessFontFace});
    EXPECT_EQ(q.convertText("{\\rtf1{\\fonttbl{\\f0 A;}}{\\colortbl}\\pnlvlblt\\qc\\b\\f0 x}\r\n"),
              "\r\n<UL>\r\n\r\n<p align=center>\r\n<B><FONT FACE=\"A\">x\r\n");
    EXPECT_EQ(q.convertText("{\\rtf1{\\fonttbl{\\f0 B;}}{\\colortbl}\\f0 y\\par\\pard}\r\n"),
              "<FONT FACE=\"B\">y<BR>\r\n\r\n");
}

TEST(QuorvelEngine, ABodyThatOutgrowsTheLimitFailsTheRun)
{
    // Every \\f word writes the whole face name again.
    std::string rtf = "{\\rtf1{\\fonttbl{\\f0 " + std::string(40, 'n') + ";}}{\\colortbl}";
    for (int i = 0; i < 20; ++i)
        rtf += "\\f0 x";
    rtf += "}\r\n";
    TQuorvel q;
    q.setOptions({soProcessFontFace});
    q.setSizeLimit(20 * 55);
    EXPECT_EQ(q.convertText(rtf).size(), 20 * 55 + 2u);
    q.setSizeLimit(20 * 55 - 1);
    try {
        q.convertText(rtf);
        ADD_FAILURE() << "no failure";
    } catch (const EQuorvelError &e) {
        EXPECT_STREQ(e.what(), "Quorvel: the converted document is too large. Conversion aborted.");
    }
    // The replacement pass has the same bound.
    q.setOptions({soReplaceStrings});
    q.setReplaceStrings({"x=yy"});
    q.setSizeLimit(40);
    EXPECT_EQ(q.convertText(rtf), std::string(40, 'y') + "\r\n");
    q.setReplaceStrings({"x=yyy"});
    EXPECT_THROW(q.convertText(rtf), EQuorvelError);
    EXPECT_THROW(replaceAll("aaaa", "a", "bb", 7), EQuorvelError);
    EXPECT_EQ(replaceAll("aaaa", "a", "bb", 8), "bbbbbbbb");
}

TEST(QuorvelEngine, LongSingleParagraph)
{
    std::string rtf = "{\\rtf1{\\colortbl}";
    std::string expected;
    for (int i = 0; i < 100000; ++i) {
        rtf += "w\\b x\\b0 &";
        expected += "w<B>x</B>&amp;";
    }
    rtf += "}\r\n";
    EXPECT_EQ(Document(rtf), expected + "\r\n");
}
