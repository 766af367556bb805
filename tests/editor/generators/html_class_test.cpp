// The HTML helper include file that the PHP page's Copy INC button hands out, checked with
// the PHP it is written for: it compiles, and what it prints is escaped.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kInclude = QDir(QStringLiteral(PAGEWICK_BIN_DIR)).filePath("html_class.inc");

// Runs php with the arguments; the standard output, or a failure of the test.
QString runPhp(const QStringList &arguments)
{
    QProcess php;
    php.start("php", arguments);
    if (!php.waitForFinished(30000)) {
        ADD_FAILURE() << "php could not be run: " << php.errorString().toStdString();
        return {};
    }
    EXPECT_EQ(php.exitCode(), 0) << php.readAllStandardError().toStdString();
    return QString::fromUtf8(php.readAllStandardOutput());
}

TEST(HtmlClass, CompilesAndEscapesWhatItPrints)
{
    ASSERT_TRUE(QFile::exists(kInclude)) << kInclude.toStdString();
    EXPECT_TRUE(runPhp({"-l", kInclude}).contains("No syntax errors detected"));

    QTemporaryDir dir;
    QFile page(dir.filePath("page.php"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write(R"php(<?php
require_once $argv[1];
$visitor = "<script>alert('x')</script>";
echo HTML_Class::heading(2, "Fish & Chips"), "\n";
echo HTML_Class::link("javascript:alert(1)", $visitor), "\n";
echo HTML_Class::link("menu.php?a=1&b=2", "O'Brien", array('Target' => null)), "\n";
echo HTML_Class::image("logo.gif", 'say "hi"', array('Width' => 20)), "\n";
echo HTML_Class::table(array(array("a", "<b>"), array("c")), array("One", "Two")), "\n";
echo HTML_Class::select("Size", array("s" => "Small", "l" => "Large & Tall"), "l"), "\n";
echo HTML_Class::input("checkbox", "Fresh", "yes", array('Checked' => true)), "\n";
try {
    echo HTML_Class::tag("B", "x", array('onclick="evil()" x' => 1));
} catch (InvalidArgumentException $e) {
    echo "refused\n";
}
)php");
    page.close();

    EXPECT_EQ(runPhp({page.fileName(), kInclude}).toStdString(),
              "<H2>Fish &amp; Chips</H2>\n"
              "<A Href=\"#\">&lt;script&gt;alert(&#039;x&#039;)&lt;/script&gt;</A>\n"
              "<A Href=\"menu.php?a=1&amp;b=2\">O&#039;Brien</A>\n"
              "<IMG Src=\"logo.gif\" Alt=\"say &quot;hi&quot;\" Width=\"20\">\n"
              "<TABLE>\n<TR><TH>One</TH><TH>Two</TH></TR>\n"
              "<TR><TD>a</TD><TD>&lt;b&gt;</TD></TR>\n<TR><TD>c</TD><TD></TD></TR>\n</TABLE>\n"
              "<SELECT Name=\"Size\">\n<OPTION Value=\"s\">Small</OPTION>\n"
              "<OPTION Value=\"l\" Selected>Large &amp; Tall</OPTION>\n</SELECT>\n"
              "<INPUT Type=\"checkbox\" Name=\"Fresh\" Value=\"yes\" Checked>\n"
              "refused\n");
}

} // namespace
