// Check Page and Check PHP on a real main window: the messages, where a double click takes
// the caret, and a document left exactly as it was.
#include "document/document.h"
#include "shared/edit_box.h"
#include "support/main_window_harness.h"
#include "tools/check_results.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace pw;
using namespace pw::test;

namespace {

// Three faults, one on each of lines 5, 6 and 7.
const QByteArray kFaultyPage = "<!DOCTYPE html>\r\n<html>\r\n<head><title>t</title></head>\r\n"
                               "<body>\r\n<p id=\"a\" id=\"b\">a</p>\r\n<img src=\"a.gif\">\r\n"
                               "<p>x</blink></p>\r\n</body>\r\n</html>\r\n";

void trigger(MainWindow &w, const char *name)
{
    QAction *item = w.findChild<QAction *>(name);
    ASSERT_NE(item, nullptr) << name;
    item->trigger();
}

QStringList rows(const CheckResults &results)
{
    QStringList list;
    QTreeWidget *tree = results.list();
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = tree->topLevelItem(i);
        list << item->text(0) + "|" + item->text(1);
    }
    return list;
}

void doubleClickRow(CheckResults &results, int row)
{
    QTreeWidget *tree = results.list();
    // Laid out first: the pane has only just been shown.
    QApplication::processEvents();
    const QRect place = tree->visualItemRect(tree->topLevelItem(row));
    ASSERT_FALSE(place.isEmpty());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, place.center());
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, place.center());
}

} // namespace

TEST(CheckPage, ListsEachFaultAtItsPlaceAndLeavesTheDocumentAlone)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    const QString path = h.writeFile("faulty.html", kFaultyPage);
    ASSERT_TRUE(w.document().open(path));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto *results = w.findChild<CheckResults *>("fraCheckResults");
    ASSERT_NE(results, nullptr);
    EXPECT_FALSE(results->isVisible());
    const QString before = w.editBox().text();

    // F8 runs it, as the menu item does.
    QApplication::setActiveWindow(&w);
    QTest::keyClick(w.editBox().widget(), Qt::Key_F8);
    ASSERT_TRUE(results->isVisible());
    EXPECT_EQ(rows(*results), QStringList({"5|1", "6|1", "7|5"}));
    EXPECT_TRUE(results->messages()[0].text.contains("repeated attribute \"id\""));
    EXPECT_TRUE(results->messages()[1].text.contains("lacks \"alt\""));
    EXPECT_TRUE(results->messages()[2].text.contains("</blink>"));
    EXPECT_EQ(results->findChild<QLabel *>("lblCheckSummary")->text(), "Check Page: 3 messages");

    doubleClickRow(*results, 2);
    EXPECT_EQ(w.editBox().caret(), w.editBox().lineStart(6) + 4);
    doubleClickRow(*results, 1);
    EXPECT_EQ(w.editBox().caret(), w.editBox().lineStart(5));

    // Nothing changed: the text, the modified flag, the file, and no undo step was made.
    EXPECT_EQ(w.editBox().text(), before);
    EXPECT_FALSE(w.document().isModified());
    EXPECT_FALSE(w.editBox().widget()->document()->isUndoAvailable());
    EXPECT_EQ(MainWindowHarness::readFile(path), kFaultyPage);
    EXPECT_TRUE(h.platform.messages.isEmpty());

    // The next check replaces the list: a mended page lists nothing.
    w.editBox().setText(QString::fromUtf8(kFaultyPage)
                            .replace("id=\"a\" ", "")
                            .replace("src=\"a.gif\"", "src=\"a.gif\" alt=\"a\"")
                            .replace("</blink>", ""));
    trigger(w, "mnuCheckPage");
    EXPECT_EQ(results->list()->topLevelItemCount(), 0);
    EXPECT_EQ(results->findChild<QLabel *>("lblCheckSummary")->text(),
              "Check Page: no problems found");
}

TEST(CheckPage, ColumnsCountCharactersAsTheCaretDoes)
{
    // A tab and a letter beyond ASCII before the fault each take one column.
    const QString page = QString::fromUtf8("<!DOCTYPE html>\r\n<html><head><title>t</title></head>"
                                           "<body>\r\n\t<p>\u00e9</blink></p>\r\n</body></html>");
    const QList<CheckMessage> messages = tidyMessages(page);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].line, 3);
    EXPECT_EQ(messages[0].column, 6);
}

TEST(CheckPhp, ListsTheBrokenLineOrSaysPhpIsMissing)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto *results = w.findChild<CheckResults *>("fraCheckResults");
    const QString page = "<html>\r\n<?php\r\necho \"a\"\r\necho \"b\";\r\n?>\r\n</html>\r\n";
    w.editBox().setText(page);
    const bool modified = w.document().isModified();

    // No php on the PATH: the command says so and lists nothing.
    trigger(w, "mnuCheckPHP");
    ASSERT_EQ(h.platform.messages.size(), 1);
    EXPECT_EQ(h.platform.messages[0],
              (MessageRecord{"Check PHP",
                             "Check PHP is unavailable: there is no php program on the PATH.",
                             MsgButtons::Ok, MsgIcon::Information}));
    EXPECT_FALSE(results->isVisible());

    const QString php = QStandardPaths::findExecutable("php");
    if (php.isEmpty())
        GTEST_SKIP() << "php is not installed";
    h.platform.programsOnPath.insert("php", php);
    trigger(w, "mnuCheckPHP");
    ASSERT_EQ(results->messages().size(), 1);
    EXPECT_EQ(results->messages()[0].line, 4);
    EXPECT_TRUE(results->messages()[0].text.startsWith("Parse error: syntax error"))
        << results->messages()[0].text.toStdString();
    EXPECT_EQ(rows(*results), QStringList({"4|"}));
    doubleClickRow(*results, 0);
    EXPECT_EQ(w.editBox().caret(), w.editBox().lineStart(3));
    EXPECT_EQ(w.editBox().text(), page);
    EXPECT_EQ(w.document().isModified(), modified);

    // A mended page: nothing to list.
    w.editBox().setText(QString(page).replace("echo \"a\"\r\n", "echo \"a\";\r\n"));
    trigger(w, "mnuCheckPHP");
    EXPECT_TRUE(results->messages().isEmpty());
    EXPECT_EQ(results->findChild<QLabel *>("lblCheckSummary")->text(),
              "Check PHP: no syntax errors found");
}

TEST(CheckPhp, ReadsEachKindOfPhpMessageOnce)
{
    const QString output =
        "PHP Parse error:  syntax error, unexpected end of file in Standard input code on line 9\n"
        "\nParse error: syntax error, unexpected end of file in Standard input code on line 9\n"
        "Fatal error: Cannot redeclare f() in /tmp/x.php on line 12\n"
        "Errors parsing Standard input code\n";
    const QList<CheckMessage> messages = phpLintMessages(output);
    EXPECT_EQ(messages,
              (QList<CheckMessage>{{9, 0, "Parse error: syntax error, unexpected end of file"},
                                   {12, 0, "Fatal error: Cannot redeclare f()"}}));
    EXPECT_TRUE(phpLintMessages("No syntax errors detected in Standard input code\n").isEmpty());
}
