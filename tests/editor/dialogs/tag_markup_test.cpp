// The markup the tag dialogs hand back, built straight from field values.
#include "dialogs/tag_markup.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace pw {
namespace {

// The fields of a table dialog confirmed as soon as it opens.
TableFields freshTable()
{
    TableFields f;
    f.align = "Right";
    f.vAlign = "Top";
    return f;
}

TEST(tableMarkup, ConfirmedAtOnceIsOneHeaderCell)
{
    EXPECT_EQ(tableMarkup(freshTable()),
              "<TABLE Align=\"Right\" VAlign=\"Top\" BgColor=\"#FFFFFF\">\r\n"
              "     <TR>\r\n"
              "          <TH></TH>\r\n"
              "     </TR>\r\n"
              "</TABLE>");
}

TEST(tableMarkup, FirstRowIsHeaderOthersAreDataAndValuesAreTrimmed)
{
    TableFields f = freshTable();
    f.width = " 80% ";
    f.borderWidth = "1";
    f.cellSpacing = " ";
    f.cellPadding = "2";
    f.align.clear();
    f.caption = "  Prices ";
    f.background = QColor(255, 0, 0);
    f.rows = 2;
    f.columns = 2;
    f.cells[0][0] = "Item";
    f.cells[0][1] = " Cost ";
    f.cells[1][1] = "3";
    f.cells[2][0] = "beyond the rows";
    f.cells[0][2] = "beyond the columns";
    EXPECT_EQ(tableMarkup(f),
              "<TABLE Width=\"80%\" Border=\"1\" CellSpacing=\"\" CellPadding=\"2\" VAlign=\"Top\""
              " BgColor=\"#FF0000\">\r\n"
              "<CAPTION>Prices</CAPTION>\r\n"
              "     <TR>\r\n"
              "          <TH>Item</TH>\r\n"
              "          <TH>Cost</TH>\r\n"
              "     </TR>\r\n"
              "     <TR>\r\n"
              "          <TD></TD>\r\n"
              "          <TD>3</TD>\r\n"
              "     </TR>\r\n"
              "</TABLE>");
}

TEST(tableMarkup, BiggestTableStaysInsideTheStore)
{
    TableFields f = freshTable();
    f.rows = 20;
    f.columns = 20;
    f.cells[19][19] = "last";
    const QString markup = tableMarkup(f);
    EXPECT_EQ(markup.count("<TR>"), 20);
    EXPECT_EQ(markup.count("<TH>"), 20);
    EXPECT_EQ(markup.count("<TD>"), 380);
    EXPECT_TRUE(markup.endsWith("          <TD>last</TD>\r\n     </TR>\r\n</TABLE>"));
}

TEST(sixDigitColour, IsUpperCaseRedGreenBlue)
{
    EXPECT_EQ(sixDigitColour(QColor(255, 0, 0)), "FF0000");
    EXPECT_EQ(sixDigitColour(QColor(0, 0, 255)), "0000FF");
    EXPECT_EQ(sixDigitColour(QColor(0, 100, 0)), "006400");
    EXPECT_EQ(sixDigitColour(QColor(10, 171, 254)), "0AABFE");
}

TEST(trimBlanks, TakesOnlyBlanksFromTheEnds)
{
    EXPECT_EQ(trimBlanks("  a b  "), "a b");
    EXPECT_EQ(trimBlanks("   "), "");
    EXPECT_EQ(trimBlanks("\ta\t"), "\ta\t");
}

struct ImageCase {
    const char *what;
    ImageFields fields;
    const char *markup;
};

void PrintTo(const ImageCase &c, std::ostream *os)
{
    *os << c.what;
}

class ImageTagCases : public ::testing::TestWithParam<ImageCase> {};

TEST_P(ImageTagCases, Markup)
{
    EXPECT_EQ(imageTag(GetParam().fields), QString::fromUtf8(GetParam().markup));
}

INSTANTIATE_TEST_SUITE_P(
    imageTag, ImageTagCases,
    ::testing::Values(
        ImageCase{"only the url", {{"a.gif"}, "Top", ""}, "<IMG Src=\"a.gif\" Align=\"Top\">"},
        ImageCase{"list cleared",
                  {{"a.gif", "logo", "", "10"}, "", "x"},
                  "<IMG Src=\"a.gif\" Alt=\"logo\" Width=\"10\" Id=\"x\">"},
        ImageCase{"empty url and a blank field",
                  {{"", "", "", "", "", "", "  "}, "", ""},
                  "<IMG Src=\"\" Border=\"\">"},
        ImageCase{"every field, in order",
                  {{" u ", "a", "1", "2", "3", "4", "5", "v.avi", "-1"}, "Left", "i"},
                  "<IMG Src=\"u\" Alt=\"a\" Height=\"1\" Width=\"2\" HSpace=\"3\" VSpace=\"4\""
                  " Border=\"5\" DynSrc=\"v.avi\" Loop=\"-1\" Align=\"Left\" Id=\"i\">"}),
    [](const auto &info) {
        std::string name = info.param.what;
        std::replace_if(
            name.begin(), name.end(),
            [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
        return name;
    });

TEST(anchorMarkup, LinkTextClosesTheLinkAroundIt)
{
    EXPECT_EQ(anchorMarkup({.url = "a.html", .linkText = "x"}), "<A HREF=\"a.html\">x</A>");
    EXPECT_EQ(anchorMarkup({.url = "a.html"}), "<A HREF=\"a.html\"></A>");
    EXPECT_EQ(
        anchorMarkup(
            {.url = "", .linkText = " two words ", .target = "_top", .name = "n", .id = " i "}),
        "<A HREF=\"\" Target=\"_top\" Name=\"n\" Id=\"i\">two words</A>");
}

TEST(commentMarkup, KeepsOneBlankInsideEachEnd)
{
    EXPECT_EQ(commentMarkup("note"), "<!-- note -->");
    EXPECT_EQ(commentMarkup("  note  "), "<!-- note -->");
    EXPECT_EQ(commentMarkup(""), "<!--  -->");
    EXPECT_EQ(commentMarkup("line 1\r\nline 2"), "<!-- line 1\r\nline 2 -->");
}

TEST(ruleTag, ColourIsAlwaysWrittenAndStartsAsOneAWhitePageShows)
{
    EXPECT_EQ(ruleTag({.align = "Center"}), "<HR Align=\"Center\" Color=\"#000000\">");
    EXPECT_EQ(
        ruleTag(
            {.align = "", .size = "2", .width = " 50% ", .id = "r", .colour = QColor(0, 0, 255)}),
        "<HR Size=\"2\" Width=\"50%\" Color=\"#0000FF\" Id=\"r\">");
}

TEST(marqueeMarkup, TextClosesTheTagWithoutItStaysOpen)
{
    MarqueeFields f{.text = "Hello", .align = "Center", .behavior = "Scroll", .direction = "Right"};
    EXPECT_EQ(marqueeMarkup(f), "<MARQUEE Align=\"Center\" Behavior=\"Scroll\" Direction=\"Right\""
                                " Color=\"#FFFFFF\">Hello</MARQUEE>");
    f.text.clear();
    EXPECT_EQ(marqueeMarkup(f), "<MARQUEE Align=\"Center\" Behavior=\"Scroll\" Direction=\"Right\""
                                " Color=\"#FFFFFF\">");
}

TEST(marqueeMarkup, EveryAttributeInItsPlace)
{
    const MarqueeFields f{.text = " t ",
                          .height = "1",
                          .width = "2",
                          .hSpace = "3",
                          .vSpace = "4",
                          .scrollAmount = "5",
                          .scrollDelay = "6",
                          .loop = "7",
                          .align = "Left",
                          .behavior = "Slide",
                          .direction = "Left",
                          .id = "m",
                          .colour = QColor(1, 2, 3)};
    EXPECT_EQ(marqueeMarkup(f),
              "<MARQUEE Height=\"1\" Width=\"2\" HSpace=\"3\" VSpace=\"4\" ScrollAmount=\"5\""
              " ScrollDelay=\"6\" Align=\"Left\" Behavior=\"Slide\" Direction=\"Left\" Loop=\"7\""
              " Color=\"#010203\" Id=\"m\">t</MARQUEE>");
}

TEST(validationScript, VBScriptShowsAMessageBox)
{
    EXPECT_EQ(validationScript({.controlName = "age",
                                .comparison = Comparison::GreaterThan,
                                .value = "17",
                                .message = "Too young",
                                .language = ScriptLanguage::VBScript}),
              "If age.Value>17 Then\r\n"
              "     Msgbox \"Too young\",0, \"Validation Error\"\r\n"
              "End If\r\n");
}

TEST(validationScript, JavaScriptShowsAnAlert)
{
    EXPECT_EQ(validationScript({.controlName = " form1.name ",
                                .comparison = Comparison::NotEqualTo,
                                .value = " 'Bob' ",
                                .message = " Not Bob ",
                                .language = ScriptLanguage::JavaScript}),
              "if (form1.name.value!='Bob')\r\n"
              "     {\r\n"
              "          alert('Not Bob')\r\n"
              "     }\r\n");
}

// The message is a string of the script whatever it holds: run in a JavaScript engine, the
// alert shows it exactly, and nothing after it runs as code.
TEST(validationScript, MessagesOfAnyTextShowAsTyped)
{
    const QStringList messages = {
        "Too young, isn't it",
        "Say \"hi\" \\ back",
        "Sep" + QString(QChar(0x2028)) + "globalThis.pwned=1;//",
        "</script><script>globalThis.pwned=2</script>",
        "<!--<script>",
    };
    QString script = "const shown = [];\nfunction alert(m) { shown.push(m); }\n"
                     "const form = { age: { value: 20 } };\n";
    for (const QString &message : messages) {
        const QString check = validationScript({.controlName = "form.age",
                                                .comparison = Comparison::GreaterThan,
                                                .value = "17",
                                                .message = message});
        EXPECT_FALSE(check.contains("</", Qt::CaseInsensitive) || check.contains("<!--"));
        script += check;
    }
    script += "process.stdout.write(JSON.stringify({shown, pwned: globalThis.pwned || 0}));\n";
    QProcess node;
    node.start("node", {"-e", script});
    ASSERT_TRUE(node.waitForFinished(30000)) << "node could not be run";
    ASSERT_EQ(node.exitCode(), 0) << node.readAllStandardError().toStdString();
    const QJsonObject out = QJsonDocument::fromJson(node.readAllStandardOutput()).object();
    EXPECT_EQ(out["shown"].toArray(), QJsonArray::fromStringList(messages));
    EXPECT_EQ(out["pwned"].toInt(), 0);

    EXPECT_EQ(
        validationScript(
            {.controlName = "x", .message = "Say \"no\"", .language = ScriptLanguage::VBScript}),
        "If x.Value=\"\" Then\r\n     Msgbox \"Say \"\"no\"\"\",0, \"Validation Error\"\r\nEnd "
        "If\r\n");
}

TEST(validationScript, BlankValueComparesWithAnEmptyString)
{
    EXPECT_EQ(validationScript({.controlName = "x", .value = "  "}),
              "if (x.value==\"\")\r\n     {\r\n          alert('')\r\n     }\r\n");
    EXPECT_EQ(validationScript({.controlName = "x",
                                .comparison = Comparison::LessOrEqual,
                                .language = ScriptLanguage::VBScript}),
              "If x.Value<=\"\" Then\r\n     Msgbox \"\",0, \"Validation Error\"\r\nEnd If\r\n");
}

TEST(validationScript, EqualityIsWrittenInEachLanguagesOwnWay)
{
    ValidationFields f{.controlName = "a", .value = "1"};
    EXPECT_TRUE(validationScript(f).startsWith("if (a.value==1)"));
    f.language = ScriptLanguage::VBScript;
    EXPECT_TRUE(validationScript(f).startsWith("If a.Value=1 Then"));
    f.comparison = Comparison::NotEqualTo;
    EXPECT_TRUE(validationScript(f).startsWith("If a.Value<>1 Then"));
    f.comparison = Comparison::GreaterOrEqual;
    EXPECT_TRUE(validationScript(f).startsWith("If a.Value>=1 Then"));
    f.comparison = Comparison::LessThan;
    f.language = ScriptLanguage::JavaScript;
    EXPECT_TRUE(validationScript(f).startsWith("if (a.value<1)"));
}

TEST(dateRenderings, FixedPatternsAndEnglishMonth)
{
    const QDateTime moment(QDate(2026, 12, 7), QTime(15, 4, 5));
    const QStringList dates =
        dateRenderings(moment, QLocale(QLocale::English, QLocale::UnitedStates));
    ASSERT_EQ(dates.size(), 10);
    EXPECT_EQ(dates[0], "Monday, December 7, 2026");
    EXPECT_EQ(dates[1], "07-Dec-26");
    EXPECT_EQ(dates[2], "12/7/26");
    EXPECT_TRUE(dates[3].startsWith("12/7/26 3:04:05")) << dates[3].toStdString();
    EXPECT_FALSE(dates[3].contains("UTC")) << dates[3].toStdString();
    EXPECT_EQ(dates.mid(4), (QStringList{"12/07/26", "12/07/2026", "12-07-26", "12-07-2026",
                                         "120726", "12072026"}));
}

TEST(dateRenderings, SingleDigitMonthAndDayArePadded)
{
    const QStringList dates =
        dateRenderings(QDateTime(QDate(2005, 3, 9), QTime(0, 0)), QLocale::c());
    EXPECT_EQ(dates[1], "09-Mar-05");
    EXPECT_EQ(dates[4], "03/09/05");
    EXPECT_EQ(dates[9], "03092005");
}

} // namespace
} // namespace pw
