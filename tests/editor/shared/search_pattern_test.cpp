// The search options as one expression: what each combination finds in the same lines.
#include "shared/search_pattern.h"

#include <gtest/gtest.h>

using namespace pw;

namespace {

// Every match of the expression in the subject, joined by "|".
QString matches(const QRegularExpression &expression, const QString &subject)
{
    QStringList found;
    for (auto it = expression.globalMatch(subject); it.hasNext();)
        found << it.next().captured();
    return found.join(u'|');
}

} // namespace

TEST(searchExpression, EachOptionChangesWhatIsFound)
{
    const QString line = "<IMG Src=\"a.gif\"> img imgs (img) a.gif aXgif Caf\u00e9 caf\u00c9s";
    struct Case {
        const char *text;
        SearchOptions options;
        const char *found;
    };
    const Case cases[] = {
        // Plain text, letter case ignored: every occurrence, inside words too.
        {"img", {}, "IMG|img|img|img"},
        {"img", {.matchCase = true}, "img|img|img"},
        {"img", {.wholeWord = true}, "IMG|img|img"},
        {"img", {.matchCase = true, .wholeWord = true}, "img|img"},
        // Outside a regular expression every sign is itself.
        {"a.gif", {}, "a.gif|a.gif"},
        {"(img)", {}, "(img)"},
        {"a.gif", {.regularExpression = true}, "a.gif|a.gif|aXgif"},
        // An alternation stays whole between the word bounds.
        {"img|gif", {.wholeWord = true, .regularExpression = true}, "IMG|gif|img|img|gif"},
        // Letters beyond ASCII have cases and are word characters.
        {"caf\u00e9", {}, "Caf\u00e9|caf\u00c9"},
        {"caf\u00e9", {.wholeWord = true}, "Caf\u00e9"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const QRegularExpression expression =
            searchExpression(QString::fromUtf8(c.text), c.options);
        ASSERT_TRUE(expression.isValid());
        EXPECT_EQ(matches(expression, line), QString::fromUtf8(c.found));
    }
}

TEST(searchExpression, CapturesAreTheUsersAndABadExpressionSaysWhy)
{
    const QRegularExpression mail =
        searchExpression("(\\w+)@(\\w+)\\.com", {.wholeWord = true, .regularExpression = true});
    const QRegularExpressionMatch match = mail.match("write to Ann@Example.com today");
    ASSERT_TRUE(match.hasMatch());
    EXPECT_EQ(match.captured(1), "Ann");
    EXPECT_EQ(match.captured(2), "Example");
    EXPECT_EQ(mail.captureCount(), 2);

    const QRegularExpression bad = searchExpression("a(b", {.regularExpression = true});
    EXPECT_FALSE(bad.isValid());
    EXPECT_FALSE(bad.errorString().isEmpty());
    // The same text as plain text is fine.
    EXPECT_TRUE(searchExpression("a(b", {}).isValid());
}
