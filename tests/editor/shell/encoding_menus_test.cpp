// The status fields' encoding and line-break menus, and Reopen With Encoding, on a real main
// window: what the next Save writes, and what a file's bytes read as.
#include "shell/encoding_menus.h"
#include "support/main_window_harness.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace pw;
using namespace pw::test;

namespace {

const MessageRecord kOpenPrompt{"Save on Open...", "Save Current Before Opening Another File?",
                                MsgButtons::YesNoCancel, MsgIcon::Question};

QString field(MainWindow &w, const char *name)
{
    return w.findChild<QLabel *>(name)->text();
}

// Clicks a status field and chooses an item of the menu it opens.
void choose(MainWindow &w, const char *fieldName, const char *menuName, const char *item)
{
    QTest::mouseClick(w.findChild<QLabel *>(fieldName), Qt::LeftButton);
    auto *menu = w.findChild<QMenu *>(menuName);
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(menu->isVisible()) << menuName;
    QAction *action = menu->findChild<QAction *>(item);
    ASSERT_NE(action, nullptr) << item;
    ASSERT_TRUE(action->isEnabled()) << item;
    action->trigger();
    menu->hide();
}

void save(MainWindow &w)
{
    w.findChild<QAction *>("mnuFileSave")->trigger();
}

} // namespace

TEST(EncodingMenus, TheChosenEncodingAndBreaksAreWhatTheNextSaveWrites)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    w.show();
    // Windows-1252: curly quotes, the euro, an e with acute.
    const QByteArray cp1252 = "\x93quoted\x94 \x80 5\r\ncaf\xE9\r\n";
    const QString path = h.writeFile("page.html", cp1252);
    ASSERT_TRUE(w.document().open(path));
    const QString text = w.editBox().text();
    EXPECT_EQ(field(w, "sbEncoding"), "Windows-1252");
    EXPECT_EQ(field(w, "sbLineBreaks"), "CR LF");
    EXPECT_TRUE(w.findChild<QAction *>("mnuEncodingWindows1252")->isChecked());

    choose(w, "sbEncoding", "mnuEncodingChoice", "mnuEncodingUtf8");
    EXPECT_EQ(field(w, "sbEncoding"), "UTF-8");
    EXPECT_TRUE(w.document().isModified());
    EXPECT_EQ(MainWindowHarness::readFile(path), cp1252); // nothing written before Save
    save(w);
    EXPECT_EQ(MainWindowHarness::readFile(path), text.toUtf8());
    EXPECT_EQ(w.editBox().text(), text);
    EXPECT_FALSE(w.document().isModified());

    // LF breaks and the mark, from the File menu's items as from the fields.
    w.findChild<QAction *>("mnuLineBreaks")->trigger();
    ASSERT_TRUE(w.findChild<QMenu *>("mnuLineBreaksChoice")->isVisible());
    w.findChild<QAction *>("mnuLineBreaksLf")->trigger();
    choose(w, "sbEncoding", "mnuEncodingChoice", "mnuEncodingUtf8Bom");
    EXPECT_EQ(field(w, "sbLineBreaks"), "LF");
    EXPECT_EQ(field(w, "sbEncoding"), "UTF-8 with BOM");
    save(w);
    EXPECT_EQ(MainWindowHarness::readFile(path),
              "\xEF\xBB\xBF" + QString(text).replace("\r\n", "\n").toUtf8());

    // Back to the code page and CR: the same bytes as at first but for the breaks.
    choose(w, "sbEncoding", "mnuEncodingChoice", "mnuEncodingWindows1252");
    choose(w, "sbLineBreaks", "mnuLineBreaksChoice", "mnuLineBreaksCr");
    save(w);
    EXPECT_EQ(MainWindowHarness::readFile(path), QByteArray(cp1252).replace("\r\n", "\r"));
    EXPECT_TRUE(h.platform.messages.isEmpty());

    // ISO 8859-1 has no euro: Save asks, as for any character a file cannot hold.
    choose(w, "sbEncoding", "mnuEncodingChoice", "mnuEncodingIso88591");
    h.platform.messageAnswers = {MsgAnswer::No};
    save(w);
    ASSERT_EQ(h.platform.messages.size(), 1);
    EXPECT_EQ(h.platform.messages[0].title, "Save...");
    EXPECT_EQ(MainWindowHarness::readFile(path), QByteArray(cp1252).replace("\r\n", "\r"));
}

TEST(EncodingMenus, ReopenReadsTheFileAgainInTheChosenCharacterSet)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    w.show();
    const QByteArray bytes = "\x80 \xA4 \xE9\r\n";
    const QString path = h.writeFile("bytes.html", bytes);
    ASSERT_TRUE(w.document().open(path));
    EXPECT_EQ(w.editBox().text(), QString::fromUtf8("\xE2\x82\xAC \xC2\xA4 \xC3\xA9\r\n"));

    auto reopen = [&](const char *item) {
        w.findChild<QAction *>("mnuReopenWithEncoding")->trigger();
        auto *menu = w.findChild<QMenu *>("mnuReopenChoice");
        ASSERT_TRUE(menu->isVisible());
        menu->findChild<QAction *>(item)->trigger();
        menu->hide();
    };
    reopen("mnuReopenIso88591");
    EXPECT_EQ(w.editBox().text(), QString::fromUtf8("\xC2\x80 \xC2\xA4 \xC3\xA9\r\n"));
    EXPECT_EQ(field(w, "sbEncoding"), "ISO-8859-1");
    EXPECT_FALSE(w.document().isModified());
    save(w);
    EXPECT_EQ(MainWindowHarness::readFile(path), bytes);

    reopen("mnuReopenIso885915");
    EXPECT_EQ(w.editBox().text(), QString::fromUtf8("\xC2\x80 \xE2\x82\xAC \xC3\xA9\r\n"));
    EXPECT_EQ(field(w, "sbEncoding"), "ISO-8859-15");

    // Not UTF-8: refused with the loading message, and the text stays as it was.
    reopen("mnuReopenUtf8");
    ASSERT_EQ(h.platform.messages.size(), 1);
    EXPECT_EQ(h.platform.messages[0].text, "Error Loading Text");
    EXPECT_EQ(field(w, "sbEncoding"), "ISO-8859-15");

    // Unsaved edits go through the save prompt; Cancel keeps them.
    w.editBox().widget()->insertPlainText("edit ");
    const QString edited = w.editBox().text();
    h.platform.messageAnswers = {MsgAnswer::Cancel};
    reopen("mnuReopenWindows1252");
    EXPECT_EQ(h.platform.messages.last(), kOpenPrompt);
    EXPECT_EQ(w.editBox().text(), edited);
    EXPECT_TRUE(w.document().isModified());
    h.platform.messageAnswers = {MsgAnswer::No};
    reopen("mnuReopenWindows1252");
    EXPECT_EQ(w.editBox().text(), QString::fromUtf8("\xE2\x82\xAC \xC2\xA4 \xC3\xA9\r\n"));
    EXPECT_EQ(MainWindowHarness::readFile(path), bytes);

    // A document without a file has nothing to read again.
    w.newDocument();
    w.findChild<QAction *>("mnuReopenWithEncoding")->trigger();
    EXPECT_FALSE(w.findChild<QAction *>("mnuReopenIso88591")->isEnabled());
}
