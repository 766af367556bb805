// Every page the generators write, and every whole element a tag dialog hands back, read by
// the HTML checker tidy: no errors. Warnings (upper-case names, attributes of older HTML)
// are the markup's own style and stay.
#include "dialogs/tag_markup.h"
#include "generators/js_menu_markup.h"
#include "generators/listing_markup.h"
#include "generators/page_markup.h"
#include "generators/php_data_markup.h"
#include "support/qt_print.h"
#include "support/tidy_check.h"

#include <gtest/gtest.h>

using namespace pw;

namespace {

struct Markup {
    QString name;
    QString text;
};

void expectTidy(const QList<Markup> &all, bool fragments)
{
    for (const Markup &m : all)
        EXPECT_EQ(tidyErrors(m.text, fragments), QString()) << m.name.toStdString() << "\n"
                                                            << m.text.toStdString();
}

} // namespace

TEST(Tidy, GeneratedPagesHaveNoErrors)
{
    QList<Markup> pages;
    PageFields page;
    page.title = "Home";
    page.backgroundImage = "back.gif";
    pages << Markup{"jump-start.html", jumpStartPage(page)}
          << Markup{"jump-start-empty.html", jumpStartPage(PageFields{})};
    for (int layout = 1; layout <= kFramesetLayouts; ++layout)
        pages << Markup{QStringLiteral("frameset%1.html").arg(layout), framesetPage(layout)};
    pages << Markup{"js-menu.html",
                    jsMenuPage("Sites|One|one.html|Two|two.html\nSay \"hi\" <!--|A|it's.html")};
    const QList<ListingSubdirectory> tree = {{"Docs", {"a b.html", "it's \"q\" <b>&.html"}},
                                             {"Empty", {}},
                                             {"javascript:x", {"p.html"}}};
    for (const ListingFormat format : {ListingFormat::ExpandableMenu, ListingFormat::IndentedList,
                                       ListingFormat::UnorderedList, ListingFormat::OrderedList}) {
        for (const bool underline : {false, true}) {
            pages << Markup{
                QStringLiteral("listing-%1-%2.html").arg(listingStyleOf(format)).arg(underline),
                listingPage(format, tree, underline)};
        }
    }
    PhpDataFields php;
    php.fields = "FirstName|String|a\"b<c>|String";
    for (const GeneratedPage &p : phpDataPages(php)) {
        if (p.fileName.endsWith(".html"))
            pages << Markup{p.fileName, p.text};
    }
    expectTidy(pages, false);
}

TEST(Tidy, DialogElementsHaveNoErrors)
{
    TableFields table;
    table.rows = 2;
    table.columns = 2;
    table.caption = "Caption";
    table.width = "100%";
    table.borderWidth = "1";
    table.cells[0][0] = "Head";
    table.cells[1][1] = "Cell";
    ImageFields image;
    image.attributes[0] = "a.gif";
    image.attributes[1] = "Alt";
    expectTidy(
        {
            {"table.html", tableMarkup(table)},
            {"table-empty.html", tableMarkup(TableFields{})},
            {"image.html", imageTag(image)},
            {"anchor.html", anchorMarkup({.url = "a.html", .linkText = "A", .target = "_top"})},
            {"rule.html", ruleTag({.align = "Center", .size = "2"})},
            {"marquee.html", marqueeMarkup({.text = "Hello", .behavior = "Slide"})},
            {"comment.html", commentMarkup("note")},
            {"validation.html",
             "<SCRIPT Language=\"JavaScript\">\r\n"
                 + validationScript({.controlName = "f.a", .message = "</script> it's"})
                 + "</SCRIPT>"},
        },
        true);
}
