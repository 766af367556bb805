// The pages of the page wizard and the frameset dialog, on the cases where a builder most
// easily goes wrong: colour digits and their order, the optional background, and the empty
// lines that tell the frameset layouts apart.
#include "generators/page_markup.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace pw;

TEST(PageWizardMarkup, ColoursAreRedGreenBlueWithLeadingZerosAndNoBackgroundWhenEmpty)
{
    PageFields fields;
    fields.title = QStringLiteral("A <b>\"raw\"</b> title");
    // Red 10, green 0, blue 255 (red in the low byte), then black.
    fields.colours = {0xFF000A, 0x000000, 0xFFFFFF, 0x123456, 0x00FF00};
    EXPECT_EQ(jumpStartPage(fields).toStdString(),
              "<HTML>\r\n"
              "\r\n"
              "<HEAD>\r\n"
              "     <TITLE>A <b>\"raw\"</b> title</TITLE>\r\n"
              "</HEAD>\r\n"
              "\r\n"
              "<BODY BgColor=\"#0A00FF\" Text=\"#000000\" Link=\"#FFFFFF\" VLink=\"#563412\" "
              "ALink=\"#00FF00\">\r\n"
              "\r\n\r\n\r\n\r\n\r\n"
              "</BODY>\r\n"
              "</HTML>");

    fields.backgroundImage = QStringLiteral("back ground.gif");
    const QStringList lines = jumpStartPage(fields).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines[6].toStdString(),
              "<BODY Background=\"back ground.gif\" BgColor=\"#0A00FF\" Text=\"#000000\" "
              "Link=\"#FFFFFF\" VLink=\"#563412\" ALink=\"#00FF00\">");
}

TEST(PageWizardMarkup, UntouchedFieldsGiveAPageInTheUsualColoursWithAnEmptyTitle)
{
    const QStringList lines = jumpStartPage(PageFields()).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines[3].toStdString(), "     <TITLE></TITLE>");
    EXPECT_EQ(lines[6].toStdString(), "<BODY BgColor=\"#FFFFFF\" Text=\"#000000\" "
                                      "Link=\"#0000EE\" VLink=\"#551A8B\" ALink=\"#FF0000\">");
}

TEST(FramesetMarkup, FirstLayoutWhole)
{
    EXPECT_EQ(framesetPage(1).toStdString(),
              "<HTML>\r\n"
              "\r\n"
              "<HEAD>\r\n"
              "     <TITLE></TITLE>\r\n"
              "</HEAD>\r\n"
              "\r\n"
              "<FRAMESET COLS=120,*>\r\n"
              "     <FRAME Src=\"dummy.html\" Name=\"NavFrame\">\r\n"
              "     <FRAMESET ROWS=*,*>\r\n"
              "          <FRAME Src=\"dummy.html\" Name=\"MainContentsTop\">\r\n"
              "          <FRAME Src=\"dummy.html\" Name=\"MainContentsBottom\">\r\n"
              "     </FRAMESET>\r\n"
              "\r\n"
              "</FRAMESET>\r\n"
              "\r\n"
              "<NOFRAMES>This Page Requires A Frames Capable Browser</NOFRAMES>\r\n"
              "</HTML>");
}

TEST(FramesetMarkup, OnlyTheSecondLayoutClosesItsFramesetWithoutAnEmptyLineBefore)
{
    for (int layout = 1; layout <= kFramesetLayouts; ++layout) {
        SCOPED_TRACE(layout);
        const QString page = framesetPage(layout);
        EXPECT_TRUE(page.endsWith(QStringLiteral(
            "</FRAMESET>\r\n\r\n<NOFRAMES>This Page Requires A Frames Capable Browser"
            "</NOFRAMES>\r\n</HTML>")));
        const bool emptyLineBefore = page.contains(QStringLiteral("\r\n\r\n</FRAMESET>"));
        EXPECT_EQ(emptyLineBefore, layout != 2);
        // Every frame loads the placeholder page; the nesting sets the indent.
        const int frames = layout == 1 ? 3 : 4;
        EXPECT_EQ(page.count(QStringLiteral("<FRAME Src=\"dummy.html\" Name=\"")), frames);
    }
    const QString second = framesetPage(2);
    EXPECT_TRUE(second.contains(
        QStringLiteral("\r\n          <FRAMESET ROWS=*,*, 70>\r\n"
                       "               <FRAME Src=\"dummy.html\" Name=\"TopRight\">\r\n")));
    EXPECT_TRUE(second.contains(
        QStringLiteral("Name=\"NavFrameBottom\">\r\n          </FRAMESET>\r\n</FRAMESET>\r\n")));
    const QString third = framesetPage(3);
    EXPECT_TRUE(third.contains(
        QStringLiteral("<FRAMESET COLS=120,*>\r\n     <FRAMESET ROWS=15%,*>\r\n"
                       "          <FRAME Src=\"dummy.html\" Name=\"NavFrameTop\">\r\n")));
    EXPECT_TRUE(third.contains(QStringLiteral("     </FRAMESET>\r\n     <FRAMESET ROWS=*,*>\r\n")));

    EXPECT_TRUE(framesetPage(0).isEmpty());
    EXPECT_TRUE(framesetPage(4).isEmpty());
}
