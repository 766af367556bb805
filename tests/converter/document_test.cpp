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

std::string Convert(TQuorvel &q, const std::string &rtf = kRtf)
{
    return q.ConvertText(rtf);
}

// The replacement as first described: search again from the start after every insertion.
std::string SlowReplaceAll(std::string text, const std::string &name, const std::string &value)
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
    EXPECT_TRUE(plain.Options().Empty());
    EXPECT_EQ(plain.DefaultFontName(), "");
    EXPECT_EQ(plain.DefaultFontSize(), 0);
    EXPECT_EQ(plain.MetaContentType(), "");
    EXPECT_TRUE(plain.BodyOptions().Empty());

    TQuorvel designed(TQuorvelCreation::Designing);
    EXPECT_EQ(designed.Options(), (TQuorvelOptions{soProcessFontFace, soProcessFontSize}));
    EXPECT_EQ(designed.Options().Bits(), 64 + 128);
    EXPECT_EQ(designed.DefaultFontName(), "Arial,Helvetica");
    EXPECT_EQ(designed.DefaultFontSize(), 10);
    EXPECT_EQ(designed.MetaContentType(), "text/html;CHARSET=iso8859-1");
    EXPECT_EQ(designed.MetaAuthor(), "");
    EXPECT_EQ(designed.Title(), "");

    designed.SetVersion("Other 2.0");
    EXPECT_EQ(designed.Version(), "Quorvel 1.45");
}

TEST(QuorvelDocument, OptionBitsFollowTheOrdinals)
{
    EXPECT_EQ((TQuorvelOptions{soUseColors}).Bits(), 1);
    EXPECT_EQ((TQuorvelOptions{soWrapHTML, soReplaceStrings}).Bits(), 8 + 32);
    EXPECT_EQ((TQuorvelOptions{soMoreCompatible}).Bits(), 256);
}

TEST(QuorvelDocument, LineListsSplitAtEveryKindOfBreak)
{
    using Lines = std::vector<std::string>;
    EXPECT_EQ(TLineList::FromText("a\r\nb\rc\nd").Lines(), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(TLineList::FromText("a\n\rb").Lines(), (Lines{"a", "", "b"}));
    EXPECT_EQ(TLineList::FromText("a\r\n").Lines(), (Lines{"a"}));
    EXPECT_EQ(TLineList::FromText("a\r\n\r\n").Lines(), (Lines{"a", ""}));
    EXPECT_EQ(TLineList::FromText("\r\n").Lines(), (Lines{""}));
    EXPECT_EQ(TLineList::FromText("").Lines(), Lines{});
    EXPECT_EQ(TLineList::FromText("a\0b\nc"s).Lines(), (Lines{"a"}));
    EXPECT_EQ(TLineList({"x", "", "y"}).Text(), "x\r\n\r\ny\r\n");
}

TEST(QuorvelDocument, TextAsLinesMatchesTheLineListAlsoInPieces)
{
    std::mt19937 random(7);
    const char alphabet[] = {'a', '\r', '\n', '\0', 'b'};
    for (int round = 0; round < 2000; ++round) {
        std::string text(random() % 12, ' ');
        for (char &c : text)
            c = alphabet[random() % sizeof alphabet];
        const std::string expected = TLineList::FromText(text).Text();
        ASSERT_EQ(TextAsLines(text), expected) << round;
        ASSERT_TRUE(IsCrLfLines(expected));
        // Files are read and written block by block: a break may straddle two blocks.
        std::string pieces;
        TLinesBuilder builder(pieces);
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t length = random() % 4;
            builder.Add(std::string_view(text).substr(at, length));
            at += length;
        }
        builder.Finish();
        ASSERT_EQ(pieces, expected) << round;
    }
}

TEST(QuorvelDocument, NameValueLines)
{
    const TLineList pairs{"Tag=1", "tag=2", "x", "=empty", "a=b=c"};
    EXPECT_EQ(TLineList::NameOf("Tag=1"), "Tag");
    EXPECT_EQ(TLineList::NameOf("x"), "");
    EXPECT_EQ(pairs.Value("TAG"), "1");
    EXPECT_EQ(pairs.Value("a"), "b=c");
    EXPECT_EQ(pairs.Value("missing"), "");
    EXPECT_EQ(pairs.Value(""), ""); // "x" has an empty name and no value
    EXPECT_EQ(TLineList({"\xc9t\xe9=1"}).Value("\xe9t\xc9"), "1");
}

TEST(QuorvelDocument, ReplaceAllReplacesAgainAroundInsertions)
{
    EXPECT_EQ(ReplaceAll("aab", "ab", "b"), "b");
    EXPECT_EQ(ReplaceAll("xaxbx", "x", "yy"), "yyayybyy");
    EXPECT_EQ(ReplaceAll("abc", "", "z"), "abc");
    EXPECT_EQ(ReplaceAll("", "a", "b"), "");
    EXPECT_THROW(ReplaceAll("x", "x", "xy"), EQuorvelError);
    try {
        ReplaceAll("nothing to do", "x", "axa");
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
        ASSERT_EQ(ReplaceAll(text, name, value), expected)
            << "text " << text << " name " << name << " value " << value;
        ASSERT_EQ(SlowReplaceAll(text, name, value), expected);
        ++compared;
    }
}

TEST(QuorvelDocument, ReplaceAllOnALargeText)
{
    std::string text;
    for (int i = 0; i < 200000; ++i)
        text += "<B>word</B> ";
    const std::string result = ReplaceAll(text, "<B>", "<STRONG>");
    EXPECT_EQ(result.size(), text.size() + 200000 * 5);
    EXPECT_EQ(result.substr(0, 24), "<STRONG>word</B> <STRONG");
    std::string lower;
    for (int i = 0; i < 200000; ++i)
        lower += "<b>word</b> ";
    EXPECT_EQ(ReplaceAll(text, "B>", "b>"), lower);
}

TEST(QuorvelDocument, AllOptionsOffGivesTheBodyAndALineBreak)
{
    TQuorvel q;
    q.SetTitle("T");
    q.SetHeadtags({"<link>"});
    q.SetBodyOptions({"bgcolor=white"});
    q.SetDefaultFontName("Arial");
    q.SetMetaAuthor("me");
    EXPECT_EQ(Convert(q), "Hi<BR>\r\n\r\n");
}

TEST(QuorvelDocument, TitleNeedsTheFrame)
{
    TQuorvel q;
    q.SetTitle("T");
    q.SetOptions({soUseTitle});
    EXPECT_EQ(Convert(q), "Hi<BR>\r\n\r\n");
    q.SetOptions({soWrapHTML});
    EXPECT_EQ(Convert(q),
              "<HTML>\r\n<HEAD>\r\n</HEAD>\r\n<BODY>Hi<BR>\r\n\r\n</BODY>\r\n</HTML>");
    q.SetOptions({soWrapHTML, soUseTitle});
    EXPECT_EQ(Convert(q), "<HTML>\r\n<HEAD>\r\n<TITLE>T</TITLE>\r\n</HEAD>\r\n<BODY>"
                          "Hi<BR>\r\n\r\n</BODY>\r\n</HTML>");
    q.SetTitle("");
    EXPECT_EQ(Convert(q), "<HTML>\r\n<HEAD>\r\n<TITLE></TITLE>\r\n</HEAD>\r\n<BODY>"
                          "Hi<BR>\r\n\r\n</BODY>\r\n</HTML>");
    q.SetTitle("a\xe9<b");
    EXPECT_EQ(Convert(q), "<HTML>\r\n<HEAD>\r\n<TITLE>a&eacute;<b</TITLE>\r\n</HEAD>\r\n<BODY>"
                          "Hi<BR>\r\n\r\n</BODY>\r\n</HTML>");
}

TEST(QuorvelDocument, BodyOptions)
{
    TQuorvel q;
    q.SetOptions({soWrapHTML});
    q.SetBodyOptions({"bgcolor=white"});
    EXPECT_EQ(Convert(q), "<HTML>\r\n<HEAD>\r\n</HEAD>\r\n<BODY bgcolor=white>\r\n"
                          "Hi<BR>\r\n\r\n</BODY>\r\n</HTML>");
    q.SetBodyOptions({"a", "b"});
    EXPECT_EQ(Convert(q), "<HTML>\r\n<HEAD>\r\n</HEAD>\r\n<BODY a\r\nb\r\n>\r\n"
                          "Hi<BR>\r\n\r\n</BODY>\r\n</HTML>");
}

TEST(QuorvelDocument, HeadTagsAndMetaElementsInOrder)
{
    TQuorvel q;
    q.SetOptions({soWrapHTML, soUseTitle});
    q.SetTitle("T");
    q.SetHeadtags(TLineList::FromText("<link a>\n<link b>"));
    q.SetMetaKeywords("k\"1");
    q.SetMetaGenerator("g");
    q.SetMetaDescription("d");
    q.SetMetaContentType("c");
    q.SetMetaAuthor("a");
    EXPECT_EQ(Convert(q), "<HTML>\r\n<HEAD>\r\n<TITLE>T</TITLE>\r\n<link a>\r\n<link b>\r\n"
                          "<meta name=\"author\" content=\"a\">\r\n"
                          "<meta http-equiv=\"content-type\" content=\"c\">\r\n"
                          "<meta name=\"description\" content=\"d\">\r\n"
                          "<meta name=\"generator\" content=\"g\">\r\n"
                          "<meta name=\"keywords\" content=\"k\"1\">\r\n"
                          "</HEAD>\r\n<BODY>Hi<BR>\r\n\r\n</BODY>\r\n</HTML>");
    q.SetMetaAuthor("");
    q.SetMetaContentType("");
    q.SetMetaDescription("");
    q.SetMetaGenerator("");
    q.SetHeadtags({});
    EXPECT_EQ(Convert(q), "<HTML>\r\n<HEAD>\r\n<TITLE>T</TITLE>\r\n"
                          "<meta name=\"keywords\" content=\"k\"1\">\r\n"
                          "</HEAD>\r\n<BODY>Hi<BR>\r\n\r\n</BODY>\r\n</HTML>");
}

TEST(QuorvelDocument, ListSettingsAreCopies)
{
    TLineList lines{"a=b"};
    TQuorvel q;
    q.SetReplaceStrings(lines);
    lines.Add("c=d");
    EXPECT_EQ(q.ReplaceStrings().Count(), 1u);
}

TEST(QuorvelDocument, ReplacementPass)
{
    TQuorvel q;
    q.SetOptions({soReplaceStrings});
    q.SetReplaceStrings({"ab=b"});
    EXPECT_EQ(Convert(q, "{\\rtf1{\\colortbl}aab}\r\n"), "b\r\n");
    // A line without "=" replaces nothing.
    q.SetReplaceStrings({"a"});
    EXPECT_EQ(Convert(q, "{\\rtf1{\\colortbl}aab}\r\n"), "aab\r\n");
    // Both lines take the value of the first line whose name matches regardless of case.
    q.SetReplaceStrings({"Tag=1", "tag=2"});
    EXPECT_EQ(Convert(q, "{\\rtf1{\\colortbl}Tag tag TAG}\r\n"), "1 1 TAG\r\n");
    // Without the option the pairs are not used.
    q.SetOptions({});
    EXPECT_EQ(Convert(q, "{\\rtf1{\\colortbl}Tag tag}\r\n"), "Tag tag\r\n");
}

TEST(QuorvelDocument, RecursiveReplacementFailsTheRun)
{
    TQuorvel q;
    q.SetOptions({soReplaceStrings});
    q.SetReplaceStrings({"a=b", "x=xy"});
    try {
        Convert(q);
        ADD_FAILURE();
    } catch (const EQuorvelError &e) {
        EXPECT_STREQ(e.what(), "Quorvel: recursive string replace");
    }
}

TEST(QuorvelDocument, DefaultFontWrapsTheBodyAfterReplacement)
{
    TQuorvel q;
    q.SetOptions({soUseDefaultFont, soReplaceStrings, soWrapHTML});
    q.SetDefaultFontName("Arial");
    q.SetDefaultFontSize(12);
    q.SetReplaceStrings({"FONT=X", "BODY=Y", "Hi=Ho"});
    EXPECT_EQ(Convert(q), "<HTML>\r\n<HEAD>\r\n</HEAD>\r\n<BODY>"
                          "<FONT FACE=\"Arial\" SIZE=3>Ho<BR>\r\n</FONT>\r\n"
                          "</BODY>\r\n</HTML>");
}
