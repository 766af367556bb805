// The element table and what the source view offers while tags are typed: pure reading of
// a line and of a page's lines.
#include "source_view/html_elements.h"
#include "source_view/html_scanner.h"
#include "source_view/tag_completion.h"
#include "source_view/tag_matching.h"

#include <QSet>
#include <gtest/gtest.h>

#include <algorithm>

using namespace pw;

namespace {

QStringList texts(const Completion &offer)
{
    QStringList list;
    for (const CompletionItem &item : offer.items)
        list << item.text;
    return list;
}

} // namespace

TEST(ElementTable, EveryElementIsDescribedClosedAndFoundByName)
{
    const auto elements = htmlElements();
    ASSERT_GT(elements.size(), 90u);
    QString previous;
    for (const HtmlElement &element : elements) {
        const QString name = QString::fromLatin1(element.name);
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(name, name.toLower());
        EXPECT_LT(previous, name) << "sorted and unique";
        previous = name;
        EXPECT_FALSE(QString::fromUtf8(element.description).trimmed().isEmpty());
        EXPECT_EQ(findElement(name.toUpper()), &element);
        // The tag matching asks the same table which elements never close.
        EXPECT_EQ(isVoidElement(name), element.endTag == EndTag::Void);
        // Every attribute is named once, and so is each value of a fixed set.
        const QStringList attributes = attributesOf(name);
        EXPECT_EQ(attributes.size(), QSet<QString>(attributes.begin(), attributes.end()).size());
        for (const QString &attribute : attributes) {
            const QStringList values = attributeValues(name, attribute);
            EXPECT_EQ(values.size(), QSet<QString>(values.begin(), values.end()).size())
                << attribute.toStdString();
        }
    }
    for (const char *name : {"IMG", "br", "Hr", "INPUT", "meta", "LINK", "area", "base", "col"})
        EXPECT_TRUE(isVoidElement(QString::fromLatin1(name))) << name;
    for (const char *name : {"p", "LI", "td", "tr", "option"})
        EXPECT_EQ(findElement(QString::fromLatin1(name))->endTag, EndTag::Optional) << name;
    EXPECT_EQ(findElement(u"blockquotes"), nullptr);
    EXPECT_EQ(attributeValues(u"IMG", u"ALIGN").first(), "left");
    EXPECT_TRUE(attributeValues(u"img", u"src").isEmpty());
    EXPECT_TRUE(attributesOf(u"custom-thing").contains("class")); // the common ones
}

TEST(Completion, OffersFollowWhereTheCaretIsInATag)
{
    struct Case {
        const char *before;
        bool upper;
        Completion::Kind kind;
        const char *prefix;
        const char *first; // the first item, or the item that must be among them
        bool firstIsFirst;
    };
    const Case cases[] = {
        {"<", true, Completion::ElementName, "", "A", true},
        {"text <ta", false, Completion::ElementName, "ta", "table", false},
        {"<IMG ", true, Completion::AttributeName, "", "Src", true},
        {"<img al", false, Completion::AttributeName, "al", "align", false},
        {"<IMG Src=\"a.gif\" ", true, Completion::AttributeName, "", "Alt", false},
        {"<IMG Align=\"", true, Completion::AttributeValue, "", "left", true},
        {"<a target=_b", false, Completion::AttributeValue, "_b", "_blank", true},
        {"<input type='ch", false, Completion::AttributeValue, "ch", "checkbox", false},
        {"<P dir=", true, Completion::AttributeValue, "", "ltr", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.before);
        const Completion offer =
            completionAt(QString::fromUtf8(c.before), kPageStartState, c.upper, {}, false);
        EXPECT_EQ(offer.kind, c.kind);
        EXPECT_EQ(offer.prefix, QString::fromUtf8(c.prefix));
        ASSERT_FALSE(offer.items.isEmpty());
        if (c.firstIsFirst)
            EXPECT_EQ(offer.items.first().text, QString::fromUtf8(c.first));
        else
            EXPECT_TRUE(texts(offer).contains(QString::fromUtf8(c.first)));
    }
    // Element names carry their descriptions.
    const Completion names = completionAt(u"<", kPageStartState, true, {}, false);
    EXPECT_EQ(names.items.size(), qsizetype(htmlElements().size()));
    EXPECT_EQ(names.items.first().description, "Link or named anchor");

    // Free text values, closing tags being finished and the page's text offer nothing.
    for (const char *before : {"<IMG Src=\"", "<P>some text", "<P>", "a < b", "&amp"}) {
        EXPECT_EQ(completionAt(QString::fromUtf8(before), kPageStartState, true, {}, false).kind,
                  Completion::None)
            << before;
    }
}

TEST(Completion, EndTagsOfferTheOpenElementsFirstAndNoVoidOnes)
{
    const Completion offer =
        completionAt(u"text </", kPageStartState, true, {"Span", "DIV", "span"}, false);
    EXPECT_EQ(offer.kind, Completion::EndTag);
    const QStringList all = texts(offer);
    ASSERT_GE(all.size(), 3);
    EXPECT_EQ(all.mid(0, 2), QStringList({"Span>", "DIV>"}));
    EXPECT_EQ(all.count("DIV>"), 1);
    EXPECT_FALSE(all.contains("BR>"));
    EXPECT_FALSE(all.contains("IMG>"));
    EXPECT_TRUE(all.contains("TABLE>"));
    const Completion typed = completionAt(u"</ta", kPageStartState, false, {"b"}, false);
    EXPECT_EQ(typed.kind, Completion::EndTag);
    EXPECT_EQ(typed.prefix, "ta");
    EXPECT_EQ(typed.items.first().text, "b>");
}

TEST(Completion, CommentsScriptsStylesAndServerCodeOfferOnlyTheirKeywords)
{
    // The state at the end of a first line is where the second is read from.
    struct Case {
        const char *opening; // a line that leaves the reader inside something
        const char *before;  // the caret's line up to the caret
        const char *keyword; // offered on request, or nullptr for nothing at all
    };
    const Case cases[] = {
        {"<!-- a comment", "goes on <b", nullptr},
        {"<SCRIPT>", "if (a <b) ret", "return"},
        {"<SCRIPT LANGUAGE=\"VBScript\">", "Di", "dim"},
        {"<STYLE>", "p { color: <b", "bold"},
        {"<?php", "ech", "echo"},
        {"<%", "<b", "dim"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.before);
        const int state = scanLine(QString::fromUtf8(c.opening), kPageStartState);
        const QString before = QString::fromUtf8(c.before);
        EXPECT_EQ(completionAt(before, state, true, {}, false).kind, Completion::None);
        EXPECT_EQ(completionAt(before + u'<', state, true, {}, false).kind, Completion::None);
        const Completion asked = completionAt(before, state, true, {}, true);
        if (!c.keyword) {
            EXPECT_EQ(asked.kind, Completion::None);
            continue;
        }
        EXPECT_EQ(asked.kind, Completion::Keyword);
        EXPECT_TRUE(texts(asked).contains(QString::fromUtf8(c.keyword)));
        EXPECT_FALSE(texts(asked).contains("TABLE"));
    }
}

TEST(PageReading, OpenElementsTheElementAroundTheCaretAndTheCase)
{
    const TextLines page(QStringLiteral("<HTML><BODY>\r\n"
                                        "<UL><LI>one<BR><IMG Src=x />\r\n"
                                        "<LI><B>two</B> <I>three</I>\r\n"
                                        "<!-- <DIV> --></UL>\r\n"
                                        "<P>end</P></BODY></HTML>"));
    auto names = [&](int line, int column) {
        QStringList list;
        for (const OpenTag &tag : openTagsAt(page, line, column, 10))
            list << tag.name;
        return list;
    };
    // The first LI ends where the second begins; the UL's end tag ends the second.
    EXPECT_EQ(names(2, 8), QStringList({"B", "LI", "UL", "BODY", "HTML"}));
    EXPECT_EQ(names(2, 14), QStringList({"LI", "UL", "BODY", "HTML"}));
    EXPECT_EQ(names(3, 14), QStringList({"LI", "UL", "BODY", "HTML"})); // the DIV is comment
    EXPECT_EQ(names(3, 19), QStringList({"BODY", "HTML"}));
    EXPECT_EQ(names(0, 0), QStringList());
    EXPECT_EQ(openTagsAt(page, 2, 8, 1).front().line, 2);

    auto element = [&](int line, int column) {
        const ElementRange range = elementAt(page, line, column);
        return range.found ? QStringLiteral("%1:%2-%3:%4")
                                 .arg(range.start.line)
                                 .arg(range.start.start)
                                 .arg(range.end.line)
                                 .arg(range.end.start + range.end.length)
                           : QStringLiteral("none");
    };
    EXPECT_EQ(element(2, 9), "2:4-2:14");   // inside B's text
    EXPECT_EQ(element(2, 5), "2:4-2:14");   // on B's name
    EXPECT_EQ(element(2, 12), "2:4-2:14");  // on its end tag
    EXPECT_EQ(element(1, 13), "1:11-1:15"); // a void element is its tag
    EXPECT_EQ(element(4, 4), "4:0-4:10");
    EXPECT_EQ(element(3, 2), "1:0-3:19"); // a comment lies in UL
    EXPECT_EQ(elementAt(TextLines(QStringLiteral("plain text")), 0, 3).found, false);

    EXPECT_TRUE(pageUsesUpperCase(page, 0));
    EXPECT_FALSE(pageUsesUpperCase(TextLines(QStringLiteral("<p>a</p><B>b</B>\n<i>c</i>")), 1));
    EXPECT_TRUE(pageUsesUpperCase(TextLines(QStringLiteral("no tags yet")), 0));
}

TEST(TagPair, TheAnswerGivesTheStartTagAsWrittenAndItsEndTag)
{
    struct Case {
        const char *answer;
        const char *open;
        const char *close;
    };
    const Case cases[] = {
        {"DIV", "<DIV>", "</DIV>"},
        {"  <span class=\"x\">  ", "<span class=\"x\">", "</span>"},
        {"A Href=\"#top\"", "<A Href=\"#top\">", "</A>"},
        {"br", "<br>", ""},
        {"<hr/>", "<hr>", ""},
        {"my-widget", "<my-widget>", "</my-widget>"},
        {"", "", ""},
        {"  ", "", ""},
        {"<>", "", ""},
        {"1x", "", ""},
    };
    for (const Case &c : cases) {
        const TagPair pair = tagPairFor(QString::fromUtf8(c.answer));
        EXPECT_EQ(pair.open, QString::fromUtf8(c.open)) << c.answer;
        EXPECT_EQ(pair.close, QString::fromUtf8(c.close)) << c.answer;
    }
}
