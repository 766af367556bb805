// Each escaping routine with texts that once broke a page or a script: the escaped text is read
// back by the language's own reader (node for scripts, php for PHP, URL resolution for links)
// and must give the text itself, and it must hold nothing its surroundings would stop at.
#include "shared/escaping.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

using namespace pw;

namespace {

// Names and texts an attacker (or an ordinary author) might choose.
const QStringList kHostile = {
    QString(),
    QStringLiteral("javascript:(document.title=7)"),
    QStringLiteral("Welcome to Bob's \"shop\""),
    QStringLiteral("Too young, isn't it"),
    QStringLiteral("</script><script>document.title='x'</script>"),
    QStringLiteral("</SCRIPT >"),
    QStringLiteral("<!--<script>"),
    QStringLiteral("Sep") + QChar(0x2028) + QStringLiteral("document.title=\"PWNED4\";//"),
    QStringLiteral("para") + QChar(0x2029) + QStringLiteral("graph") + QChar(0x85) + u'!',
    QStringLiteral("line\r\nbreak\nand\rmore"),
    QStringLiteral("back\\slash\\"),
    QStringLiteral("\\u0041\\x41\\n"),
    QStringLiteral("$HOME ${x} {$y} `id`"),
    QStringLiteral("100% #frag ?q=1&r=2 <b> a&amp;b"),
    QStringLiteral("tab\tcontrol\x01\x1f\x7f"),
    QStringLiteral("-x.html"),
    QStringLiteral("--user-data-dir=x.html"),
    QStringLiteral("ünïcode ✓ ") + QString::fromUcs4(U"\U0001F600"),
    QStringLiteral("a/b:c;d|e[f]{g}^h"),
};

QString program(const char *name)
{
    return QStandardPaths::findExecutable(QString::fromUtf8(name));
}

// Runs a program on a script file; its standard output, or nothing when it failed.
std::optional<QByteArray> run(const QString &interpreter, const QString &script)
{
    QProcess process;
    process.start(interpreter, {script});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        ADD_FAILURE() << process.readAllStandardError().toStdString();
        return std::nullopt;
    }
    return process.readAllStandardOutput();
}

QStringList jsonStrings(const QByteArray &json)
{
    QStringList strings;
    for (const QJsonValue &value : QJsonDocument::fromJson(json).array())
        strings << value.toString();
    return strings;
}

// The five entities the HTML routines write, read back.
QString htmlDecoded(QString text)
{
    return text.replace("&lt;", "<")
        .replace("&gt;", ">")
        .replace("&quot;", "\"")
        .replace("&#39;", "'")
        .replace("&amp;", "&");
}

} // namespace

TEST(Escaping, JavaScriptStringsGiveTheTextBackAndCannotEndTheScriptOrAComment)
{
    const QString node = program("node");
    ASSERT_FALSE(node.isEmpty()) << "node is missing: run scripts/install-deps";
    QTemporaryDir dir;
    // Each text in both quote kinds, and in a comment that, if it ended, would run the rest.
    QString script = QStringLiteral("const v = [];\n");
    for (const QString &text : kHostile) {
        const QString escaped = jsString(text);
        for (const QChar c : escaped)
            EXPECT_FALSE(c == u'\n' || c == u'\r' || c == QChar(0x2028) || c == QChar(0x2029))
                << text.toStdString();
        EXPECT_FALSE(escaped.contains("</", Qt::CaseInsensitive)) << text.toStdString();
        EXPECT_FALSE(escaped.contains("<!--")) << text.toStdString();
        script += "// " + escaped + "\n";
        script += "v.push(\"" + escaped + "\", '" + escaped + "');\n";
    }
    script += "process.stdout.write(JSON.stringify(v));\n";
    QFile file(dir.filePath("strings.js"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(script.toUtf8());
    file.close();

    const std::optional<QByteArray> out = run(node, file.fileName());
    ASSERT_TRUE(out.has_value());
    QStringList expected;
    for (const QString &text : kHostile)
        expected << text << text;
    EXPECT_EQ(jsonStrings(*out), expected);
}

TEST(Escaping, PhpStringsGiveTheTextBackWithoutReadingVariables)
{
    const QString php = program("php");
    ASSERT_FALSE(php.isEmpty()) << "php is missing: run scripts/install-deps";
    QTemporaryDir dir;
    QStringList texts = kHostile;
    texts << QStringLiteral("nul") + QChar(0) + QStringLiteral("byte") << "\"; echo 1; \"";
    QString script = QStringLiteral("<?php\nerror_reporting(-1);\n$x = 'X'; $y = 'Y';\n$v = [];\n");
    for (const QString &text : texts)
        script += "$v[] = \"" + phpString(text) + "\";\n";
    script += "echo json_encode($v);\n";
    QFile file(dir.filePath("strings.php"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(script.toUtf8());
    file.close();

    const std::optional<QByteArray> out = run(php, file.fileName());
    ASSERT_TRUE(out.has_value());
    EXPECT_EQ(jsonStrings(*out), texts);
}

TEST(Escaping, HtmlTextAndAttributesHoldNoMarkupAndReadBackAsTheText)
{
    for (const QString &text : kHostile) {
        const QString inText = htmlText(text);
        const QString inAttribute = htmlAttribute(text);
        EXPECT_FALSE(inText.contains(u'<') || inText.contains(u'>')) << text.toStdString();
        EXPECT_FALSE(inAttribute.contains(u'"') || inAttribute.contains(u'\''))
            << text.toStdString();
        // Every "&" left starts one of the entities.
        static const QRegularExpression bareAmpersand(QStringLiteral("&(?!(amp|lt|gt|quot|#39);)"));
        EXPECT_FALSE(inAttribute.contains(bareAmpersand)) << text.toStdString();
        EXPECT_EQ(htmlDecoded(inText), text);
        EXPECT_EQ(htmlDecoded(inAttribute), text);
    }
}

TEST(Escaping, LinkAddressesStayRelativeAndLeadToTheNamedFile)
{
    const QUrl page(QStringLiteral("file:///site/index.html"));
    for (const QString &directory : kHostile) {
        if (directory.isEmpty())
            continue;
        const QString file = directory.left(5) + QStringLiteral(".html");
        const QString address = urlPath({directory, file});
        const QUrl link(address, QUrl::StrictMode);
        EXPECT_TRUE(link.isValid()) << address.toStdString();
        EXPECT_TRUE(link.scheme().isEmpty()) << address.toStdString();
        EXPECT_TRUE(link.isRelative()) << address.toStdString();
        for (const char *stop : {" ", "\"", "'", "#", "?", "<", ">", "\\", "\n", "\r"})
            EXPECT_FALSE(address.contains(QLatin1String(stop))) << address.toStdString();
        const QUrl resolved = page.resolved(link);
        EXPECT_EQ(resolved.scheme(), "file");
        EXPECT_EQ(resolved.path(QUrl::FullyDecoded), "/site/" + directory + "/" + file)
            << address.toStdString();
    }
}

TEST(Escaping, DesktopExecArgumentsAreQuotedOnlyWhenTheyNeedIt)
{
    EXPECT_EQ(desktopExecArgument("/usr/bin/pagewick"), "/usr/bin/pagewick");
    // Quoted, the four special characters escaped, then the string's backslashes doubled and
    // the field code sign doubled.
    EXPECT_EQ(desktopExecArgument("/a b/\"q\"/$HOME/`x`/back\\/100%"),
              "\"/a b/\\\\\"q\\\\\"/\\\\$HOME/\\\\`x\\\\`/back\\\\\\\\/100%%\"");
    EXPECT_EQ(desktopExecArgument(QString()), "\"\"");
}

TEST(Escaping, VbScriptStringsDoubleQuotesAndJoinLineBreaks)
{
    EXPECT_EQ(vbString("Say \"hi\""), "Say \"\"hi\"\"");
    EXPECT_EQ(vbString("a\r\nb"), "a\" & vbCr & \"\" & vbLf & \"b");
}
