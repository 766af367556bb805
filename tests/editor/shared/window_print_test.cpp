#include "shared/printing.h"
#include "shared/window.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

TEST(twipsToPixels, FifteenTwipsMakeOnePixelRoundingDown)
{
    EXPECT_EQ(pw::twipsToPixels(1440), 96);
    EXPECT_EQ(pw::twipsToPixels(9525), 635);
    EXPECT_EQ(pw::twipsToPixels(15), 1);
    EXPECT_EQ(pw::twipsToPixels(14), 0);
    EXPECT_EQ(pw::twipsToPixels(0), 0);
}

TEST(keepOnTop, TogglesTheBandWithoutMovingTheWindow)
{
    QWidget window;
    window.setGeometry(120, 140, 320, 200);
    window.show();
    const QRect before = window.geometry();

    pw::keepOnTop(&window, true);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.geometry(), before);

    pw::keepOnTop(&window, false);
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.geometry(), before);
    // The no-activation attribute is only borrowed for the re-show.
    EXPECT_FALSE(window.testAttribute(Qt::WA_ShowWithoutActivating));
}

TEST(keepOnTop, LeavesAHiddenWindowHidden)
{
    QWidget window;
    window.setGeometry(10, 20, 200, 100);
    pw::keepOnTop(&window, true);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.geometry(), QRect(10, 20, 200, 100));
    pw::keepOnTop(nullptr, true); // ignored
}

int pdfPageCount(const QString &file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return -1;
    const QString pdf = QString::fromLatin1(in.readAll());
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    return int(pdf.count(page));
}

// Runs a poppler tool; empty when it is not installed.
QString poppler(const QString &tool, const QStringList &arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        return QString();
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

class PrintRichTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        pdf = dir.filePath(QStringLiteral("out.pdf"));
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QPageSize::A4));
        box.setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 10));
    }

    QTemporaryDir dir;
    QString pdf;
    QPrinter printer{QPrinter::HighResolution};
    QPlainTextEdit box;
};

TEST_F(PrintRichTextTest, EmptyBoxPrintsOnePage)
{
    ASSERT_TRUE(pw::printRichText(&box, printer, 1440, 1440, 1440, 1440));
    EXPECT_EQ(pdfPageCount(pdf), 1);
}

TEST_F(PrintRichTextTest, LongTextRunsOverPagesWithEveryLineOnceInsideTheMargins)
{
    const QFontMetricsF metrics(box.font(), &printer);
    const double areaHeight =
        printer.paperRect(QPrinter::DevicePixel).height() - 2 * printer.resolution();
    const int linesPerPage = int(areaHeight / metrics.height());
    const int lineCount = linesPerPage * 5 / 2; // two and a half pages

    QStringList lines;
    for (int i = 1; i <= lineCount; ++i)
        lines << QStringLiteral("Line%1 text").arg(i, 4, 10, QLatin1Char('0'));
    // One line far wider than the page: it wraps rather than running off the paper.
    QString wide;
    for (int i = 0; i < 40; ++i)
        wide += QStringLiteral("wide%1 ").arg(i);
    lines.insert(3, wide + QStringLiteral("WideEnd"));
    box.setPlainText(lines.join(u'\n'));
    // The printer's own printable area starts inside the paper; margins still count from
    // the paper's edge.
    printer.setPageMargins(QMarginsF(10, 15, 12, 20), QPageLayout::Millimeter);

    ASSERT_TRUE(pw::printRichText(&box, printer, 1440, 1440, 1440, 1440));
    EXPECT_EQ(pdfPageCount(pdf), 3);

    const QString text =
        poppler(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (text.isEmpty())
        GTEST_SKIP() << "pdftotext not installed: page content not checked";
    // Every line exactly once: nothing lost or doubled at a page edge.
    for (int i = 1; i <= lineCount; ++i) {
        const QString line = QStringLiteral("Line%1").arg(i, 4, 10, QLatin1Char('0'));
        ASSERT_EQ(text.count(line), 1) << line.toStdString();
    }
    EXPECT_EQ(text.count(QStringLiteral("WideEnd")), 1);

    // The first word sits one inch (72 points) from the paper's left and top edges.
    const QString boxes =
        poppler(QStringLiteral("pdftotext"),
                {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"),
                 QStringLiteral("-l"), QStringLiteral("1"), pdf, QStringLiteral("-")});
    static const QRegularExpression firstWord(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\""));
    const QRegularExpressionMatch match = firstWord.match(boxes);
    ASSERT_TRUE(match.hasMatch());
    EXPECT_NEAR(match.captured(1).toDouble(), 72.0, 1.5);
    EXPECT_GE(match.captured(2).toDouble(), 71.0);
    EXPECT_LT(match.captured(2).toDouble(), 72.0 + 14.0);
    // The right margin holds too: no word ends within an inch of the right edge (A4: 595pt).
    static const QRegularExpression xMax(QStringLiteral("xMax=\"([0-9.]+)\""));
    double widest = 0;
    for (const QRegularExpressionMatch &m : xMax.globalMatch(boxes))
        widest = std::max(widest, m.captured(1).toDouble());
    EXPECT_GT(widest, 300.0);
    EXPECT_LE(widest, 595.3 - 72.0 + 0.5);
}

} // namespace
