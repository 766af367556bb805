// Settings, line lists, the replacement step and the document frame.
#include "quorvel_engine.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace quorvel;
using enum TQuorvelOption;
using namespace std::string_literals;

namespace {

// Body text "Hi" followed by a line break.
const std::string kRtf = "{\\rtf1{\\colortbl}Hi\\par}\r\n";

std::string convert(TQuorvel &q, const std::string &rtf = kRtf)
{
    return q.convertText(rtf);
}

// The replacement as first described: search again from the start after every insertion.
std::string slowReplaceAll(std::string text, const std::string &name, const std::string &value)
{
    if (name.empty())
        return text;
    for (std::size_t at; (at = text.find(name)) != std::string::npos;)
        text.replace(at, name.size(), value);
    return text;
}

} // namespace

TEST(QuorvelDocument, InitialSettings)
{
    TQuorvel plain;
    EXPECT_TRUE(plain.options().empty());
    EXPECT_EQ(plain.defaultFontName(), "");
    EXPECT_EQ(plain.defaultFontSize(), 0);
    EXPECT_EQ(plain.metaContentType(), "");
    EXPECT_TRUE(plain.bodyOptions().empty());

    TQuorvel designed(TQuorvelCreation::Designing);
    EXPECT_EQ(designed.options(), (TQuorvelOptions{soProcessFontFace, soProcessFontSize}));
    EXPECT_EQ(designed.options().bits(), 64 + 128);
    EXPECT_EQ(designed.defaultFontName(), "Arial,Helvetica");
    EXPECT_EQ(designed.defaultFontSize(), 10);
    EXPECT_EQ(designed.metaContentType(), "text/html;CHARSET=iso8859-1");
    EXPECT_EQ(designed.metaAuthor(), "");
    EXPECT_EQ(designed.title(), "");

    designed.setVersion("Other 2.0");
    EXPECT_EQ(designed.version(), "Quorvel 1.45");
}

TEST(QuorvelDocument, OptionBitsFollowTheOrdinals)
{
    EXPECT_EQ((TQuorvelOptions{soUseColors}).bits(), 1);
    EXPECT_EQ((TQuorvelOptions{soWrapHTML, soReplaceStrings}).bits(), 8 + 32);
    EXPECT_EQ((TQuorvelOptions{soMoreCompatible}).bits(), 256);
}

TEST(QuorvelDocument, LineListsSplitAtEveryKindOfBreak)
{
    using Lines = std::vector<std::string>;
    EXPECT_EQ(TLineList::fromText("a\r\nb\rc\nd").Lines(), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(TLineList::fromText("a\n\rb").Lines(), (Lines{"a", "", "b"}));
    EXPECT_EQ(TLineList::fromText("a\r\n").Lines(), (Lines{"a"}));
    EXPECT_EQ(TLineList::fromText("a\r\n\r\n").Lines(), (Lines{"a", ""}));
    EXPECT_EQ(TLineList::fromText("\r\n").Lines(), (Lines{""}));
    EXPECT_EQ(TLineList::fromText("").Lines(), Lines{});
    EXPECT_EQ(TLineList::fromText("a\0b\nc"s).Lines(), (Lines{"a"}));
    EXPECT_EQ(TLineList({"x", "", "y"}).text(), "x\r\n\r\ny\r\n");
}

TEST(QuorvelDocument, TextAsLinesMatchesTheLineListAlsoInPieces)
{
    std::mt19937 random(7);
    const char alphabet[] = {'a', '\n', 'b', '\r', '\0'};
    for (int round = 0; round < 2000; ++round) {
        // Every other round has LF breaks alone, as the clean writer's pages do.
        const std::size_t letters = round % 2 ? 3 : sizeof alphabet;
        std::string text(random() % 12, ' ');
        for (char &c : text)
            c = alphabet[random() % letters];
        const std::string expected = TLineList::fromText(text).text();
        ASSERT_EQ(textAsLines(text), expected) << round;
        ASSERT_TRUE(isCrLfLines(expected));
        std::string inPlace = text;
        asLinesInPlace(inPlace);
        ASSERT_EQ(inPlace, expected) << round;
        // Files are read and written block by block: a break may straddle two blocks.
        std::string pieces;
        TLinesBuilder builder(pieces);
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t length = random() % 4;
            builder.add(std::string_view(text).substr(at, length));
            at += length;
        }
        builder.finish();
        ASSERT_EQ(pieces, expected) << round;
    }
}

TEST(QuorvelDocument, NameValueLines)
{
    const TLineList pairs{"Tag=1", "tag=2", "x", "=empty", "a=b=c"};
    EXPECT_EQ(TLineList::nameOf("Tag=1"), "Tag");
    EXPECT_EQ(TLineList::nameOf("x"), "");
    EXPECT_EQ(pairs.value("TAG"), "1");
    EXPECT_EQ(pairs.value("a"), "b=c");
    EXPECT_EQ(pairs.value("missing"), "");
    EXPECT_EQ(pairs.value(""), ""); // "x" has an empty name and no value
    EXPECT_EQ(TLineList({"\xc9t\xe9=1"}).value("\xe9t\xc9"), "1");
}

TEST(QuorvelDocument, ReplaceAllReplacesAgainAroundInsertions)
{
    EXPECT_EQ(replaceAll("aab", "ab", "b"), "b");
    EXPECT_EQ(replaceAll("xaxbx", "x", "yy"), "yyayybyy");
    EXPECT_EQ(replaceAll("abc", "", "z"), "abc");
    EXPECT_EQ(replaceAll("", "a", "b"), "");
    EXPECT_THROW(replaceAll("x", "x", "xy"), EQuorvelError);
    try {
        replaceAll("nothing to do", "x", "axa");
        ADD_FAILURE();
    } catch (const EQuorvelError &e) {
        EXPECT_STREQ(e.what(), "Quorvel: recursive string replace");
    }
}

TEST(QuorvelDocument, ReplaceAllAgreesWithSearchingFromTheStart)
{
    std::mt19937 random(11);
    const auto word = [&](std::size_t maxLength, bool allowEmpty) {
        std::string s(random() % (maxLength + 1), ' ');
        for (char &c : s)
            c = "ab"[random() % 2];
        if (s.empty() && !allowEmpty)
            s = "a";
        return s;
    };
    int compared = 0;
    while (compared < 5000) {
        const std::string name = word(3, false);
        const std::string value = word(3, true);
        if (value.find(name) != std::string::npos)
            continue;
        // Some rewrites never end; only compare those that end quickly.
        std::string text = word(14, true);
        std::string expected = text;
        bool ends = true;
        for (int step = 0; ends; ++step) {
            const std::size_t at = expected.find(name);
            if (at == std::string::npos)
                break;
            expected.replace(at, name.size(), value);
            ends = step < 200 && expected.size() < 400;
        }
        if (!ends)
            continue;
        ASSERT_EQ(replaceAll(text, name, value), expected)
            << "text " << text << " name " << name << " value " << value;
        ASSERT_EQ(slowReplaceAll(text, name, value), expected);
        ++compared;
    }
}

TEST(QuorvelDocument, ReplaceAllOnALargeText)
{
    std::string text;
    for (int i = 0; i < 200000; ++i)
        text += "<B>word</B> ";
    const std::string result = replaceAll(text, "<B>", "<STRONG>");
    EXPECT_EQ(result.size(), text.size() + 200000 * 5);
    EXPECT_EQ(result.substr(0, 24), "<STRONG>word</B> <STRONG");
    std::string lower;
    for (int i = 0; i < 200000; ++i)
        lower += "<b>word</b> ";
    EXPECT_EQ(replaceAll(text, "B>", "b>"), lower);
}

TEST(QuorvelDocument, AllOptionsOffGivesTheBodyAndALineBreak)
{
    TQuorvel q;
    q.setTitle("T");
    q.setHeadtags({"<link>"});
    q.setBodyOptions({"bgcolor=white"});
    q.setDefaultFontName("Arial");
    q.setMetaAuthor("me");
    EXPECT_EQ(convert(q), "Hi<BR>\r\n\r\n");
}

TEST(QuorvelDocument, TitleNeedsTheFrame)
{
    TQuorvel q;
    q.setTitle("T");
    q.setOptions({soUseTitle});
    EXPECT_EQ(convert(q), "Hi<BR>\r\n\r\n");
    q.setOptions({soWrapHTML});
    EXPECT_EQ(convert(q), "<HTML>\r\n<HEAD>\r\n</HEAD>\r\n<BODY>Hi<BR>\r\n\r\n</BODY>\r\n</HTML>");
    q.setOptions({soWrapHTML, soUseTitle});
    EXPECT_EQ(convert(q), "<HTML>\r\n<HEAD>\r\n<TITLE>T</TITLE>\r\n</HEAD>\r\n<BODY>"
                          "Hi<BR>\r\n\r\n</BODY>\r\n</HTML>");
    q.setTitle("");
    EXPECT_EQ(convert(q), "<HTML>\r\n<HEAD>\r\n<TITLE></TITLE>\r\n</HEAD>\r\n<BODY>"
                          "Hi<BR>\r\n\r\n</BODY>\r\n</HTML>");
    q.setTitle("a\xe9<b");
    EXPECT_EQ(convert(q), "<HTML>\r\n<HEAD>\r\n<TITLE>a&eacute;<b</TITLE>\r\n</HEAD>\r\n<BODY>"
                          "Hi<BR>\r\n\r\n</BODY>\r\n</HTML>");
}

TEST(QuorvelDocument, bodyOptions)
{
    TQuorvel q;
    q.setOptions({soWrapHTML});
    q.setBodyOptions({"bgcolor=white"});
    EXPECT_EQ(convert(q), "<HTML>\r\n<HEAD>\r\n</HEAD>\r\n<BODY bgcolor=white>\r\n"
                          "Hi<BR>\r\n\r\n</BODY>\r\n</HTML>");
    q.setBodyOptions({"a", "b"});
    EXPECT_EQ(convert(q), "<HTML>\r\n<HEAD>\r\n</HEAD>\r\n<BODY a\r\nb\r\n>\r\n"
                          "Hi<BR>\r\n\r\n</BODY>\r\n</HTML>");
}

TEST(QuorvelDocument, HeadTagsAndMetaElementsInOrder)
{
    TQuorvel q;
    q.setOptions({soWrapHTML, soUseTitle});
    q.setTitle("T");
    q.setHeadtags(TLineList::fromText("<link a>\n<link b>"));
    q.setMetaKeywords("k\"1");
    q.setMetaGenerator("g");
    q.setMetaDescription("d");
    q.setMetaContentType("c");
    q.setMetaAuthor("a");
    EXPECT_EQ(convert(q), "<HTML>\r\n<HEAD>\r\n<TITLE>T</TITLE>\r\n<link a>\r\n<link b>\r\n"
                          "<meta name=\"author\" content=\"a\">\r\n"
                          "<meta http-equiv=\"content-type\" content=\"c\">\r\n"
                          "<meta name=\"description\" content=\"d\">\r\n"
                          "<meta name=\"generator\" content=\"g\">\r\n"
                          "<meta name=\"keywords\" content=\"k\"1\">\r\n"
                          "</HEAD>\r\n<BODY>Hi<BR>\r\n\r\n</BODY>\r\n</HTML>");
    q.setMetaAuthor("");
    q.setMetaContentType("");
    q.setMetaDescription("");
    q.setMetaGenerator("");
    q.setHeadtags({});
    EXPECT_EQ(convert(q), "<HTML>\r\n<HEAD>\r\n<TITLE>T</TITLE>\r\n"
                          "<meta name=\"keywords\" content=\"k\"1\">\r\n"
                          "</HEAD>\r\n<BODY>Hi<BR>\r\n\r\n</BODY>\r\n</HTML>");
}

TEST(QuorvelDocument, ListSettingsAreCopies)
{
    TLineList lines{"a=b"};
    TQuorvel q;
    q.setReplaceStrings(lines);
    lines.add("c=d");
    EXPECT_EQ(q.replaceStrings().count(), 1u);
}

TEST(QuorvelDocument, ReplacementPass)
{
    TQuorvel q;
    q.setOptions({soReplaceStrings});
    q.setReplaceStrings({"ab=b"});
    EXPECT_EQ(convert(q, "{\\rtf1{\\colortbl}aab}\r\n"), "b\r\n");
    // A line without "=" replaces nothing.
    q.setReplaceStrings({"a"});
    EXPECT_EQ(convert(q, "{\\rtf1{\\colortbl}aab}\r\n"), "aab\r\n");
    // Both lines take the value of the first line whose name matches regardless of case.
    q.setReplaceStrings({"Tag=1", "tag=2"});
    EXPECT_EQ(convert(q, "{\\rtf1{\\colortbl}Tag tag TAG}\r\n"), "1 1 TAG\r\n");
    // Without the option the pairs are not used.
    q.setOptions({});
    EXPECT_EQ(convert(q, "{\\rtf1{\\colortbl}Tag tag}\r\n"), "Tag tag\r\n");
}

TEST(QuorvelDocument, RecursiveReplacementFailsTheRun)
{
    TQuorvel q;
    q.setOptions({soReplaceStrings});
    q.setReplaceStrings({"a=b", "x=xy"});
    try {
        convert(q);
        ADD_FAILURE();
    } catch (const EQuorvelError &e) {
        EXPECT_STREQ(e.what(), "Quorvel: recursive string replace");
    }
}

TEST(QuorvelDocument, DefaultFontWrapsTheBodyAfterReplacement)
{
    TQuorvel q;
    q.setOptions({soUseDefaultFont, soReplaceStrings, soWrapHTML});
    q.setDefaultFontName("Arial");
    q.setDefaultFontSize(12);
    q.setReplaceStrings({"FONT=X", "BODY=Y", "Hi=Ho"});
    EXPECT_EQ(convert(q), "<HTML>\r\n<HEAD>\r\n</HEAD>\r\n<BODY>"
                          "<FONT FACE=\"Arial\" SIZE=3>Ho<BR>\r\n</FONT>\r\n"
                          "</BODY>\r\n</HTML>");
}
