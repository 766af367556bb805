// The expression a search text and its options make, and replacements with captures.
#include "shared/search_pattern.h"

#include <gtest/gtest.h>

using namespace pw;

namespace {

// Every match of the search in `text`, as the matched texts.
QStringList matches(const QString &search, SearchOptions options, const QString &text)
{
    QStringList found;
    const QRegularExpression expression = searchExpression(search, options);
    EXPECT_TRUE(expression.isValid()) << expression.errorString().toStdString();
    for (auto it = expression.globalMatch(text); it.hasNext();)
        found << it.next().captured();
    return found;
}

} // namespace

TEST(SearchExpression, OptionsDecideCaseWordsAndWhatIsLiteral)
{
    const QString text = "Cat cat concat a.c abc CAT";
    EXPECT_EQ(matches("cat", {}, text), QStringList({"Cat", "cat", "cat", "CAT"}));
    EXPECT_EQ(matches("cat", {.matchCase = true}, text), QStringList({"cat", "cat"}));
    EXPECT_EQ(matches("cat", {.wholeWord = true}, text), QStringList({"Cat", "cat", "CAT"}));
    EXPECT_EQ(matches("cat", {.matchCase = true, .wholeWord = true}, text), QStringList({"cat"}));
    // Without the option, expression characters are only characters.
    EXPECT_EQ(matches("a.c", {}, text), QStringList({"a.c"}));
    EXPECT_EQ(matches("a.c", {.regularExpression = true}, text), QStringList({"a.c", "abc"}));
    EXPECT_EQ(matches("(", {}, "f(x)"), QStringList({"("}));
    // A whole word around an alternation bounds every branch.
    EXPECT_EQ(matches("cat|abc", {.wholeWord = true, .regularExpression = true}, text),
              QStringList({"Cat", "cat", "abc", "CAT"}));
    // Letters past ASCII are letters: no word bound inside "café".
    EXPECT_EQ(matches("caf", {.wholeWord = true}, "café caf"), QStringList({"caf"}));
    EXPECT_EQ(matches("ÉTÉ", {}, "été"), QStringList({"été"}));
}

TEST(SearchExpression, AnInvalidExpressionSaysWhy)
{
    for (const char *bad : {"(abc", "a[", "*x", "a{2,1}"}) {
        const QRegularExpression expression =
            searchExpression(QString::fromUtf8(bad), {.regularExpression = true});
        EXPECT_FALSE(expression.isValid()) << bad;
        EXPECT_FALSE(expression.errorString().isEmpty()) << bad;
        // The same text searched for as it is, is fine.
        EXPECT_TRUE(searchExpression(QString::fromUtf8(bad), {}).isValid()) << bad;
    }
}

TEST(ExpandReplacement, CapturesBackslashesAndWhatStaysAsWritten)
{
    const QRegularExpression twoParts("(\\w+)@(\\w+)(x)?");
    const QRegularExpressionMatch match = twoParts.match("mail: ann@host.");
    ASSERT_TRUE(match.hasMatch());
    const struct {
        const char *replacement;
        const char *expected;
    } cases[] = {
        {"\\2 at \\1", "host at ann"},
        {"<\\0>", "<ann@host>"},
        {"\\3", ""},          // took part in nothing
        {"\\9", "\\9"},       // no such capture
        {"\\12", "ann2"},     // only 3 captures: capture 1, then "2"
        {"a\\\\1", "a\\1"},   // an escaped backslash
        {"$1 \\n", "$1 \\n"}, // dollars and other escapes are plain text
        {"end\\", "end\\"},   // a last lone backslash
        {"plain", "plain"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(expandReplacement(match, QString::fromUtf8(c.replacement)),
                  QString::fromUtf8(c.expected))
            << c.replacement;

    // Two-digit captures where the expression has that many.
    const QRegularExpression many("(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)");
    const QRegularExpressionMatch long_ = many.match("abcdefghijkl");
    EXPECT_EQ(expandReplacement(long_, "\\12\\11\\1"), "lka");
}
