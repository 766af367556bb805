// The recent-files menu, the file tabs and the file panes of the main window.
#include "shared/file_panes.h"
#include "support/main_window_harness.h"
#include "support/test_files.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace pw;
using namespace pw::test;

namespace {

const MessageRecord kSavePrompt{"Save on Open...", "Save Current Before Opening Another File?",
                                MsgButtons::YesNoCancel, MsgIcon::Question};

QTabBar *tabs(MainWindow &w)
{
    return w.findChild<QTabBar *>("MyTabFiles");
}

QStringList tabCaptions(MainWindow &w)
{
    QStringList captions;
    for (int i = 0; i < 5; ++i)
        captions << tabs(w)->tabText(i);
    return captions;
}

QAction *recentItem(MainWindow &w, int index)
{
    for (QAction *item : w.findChildren<QAction *>("mnuRecentlyUsed")) {
        if (item->property("index").toInt() == index)
            return item;
    }
    return nullptr;
}

void openThroughDialog(MainWindowHarness &h, const QString &path)
{
    h.platform.fileAnswers.push_back(path);
    h.window().openDocument();
}

void typeInto(MainWindow &w, const QString &text)
{
    w.editBox().widget()->setFocus();
    w.editBox().widget()->insertPlainText(text);
}

QString dirOf(const QString &file)
{
    return QFileInfo(file).absolutePath();
}

} // namespace

TEST(RecentFiles, SameFileTwiceGivesOneEntryAndOneTab)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    const QString a = h.writeFile("docs/a.html", "A");
    const QString b = h.writeFile("docs/b.html", "B");
    openThroughDialog(h, a);
    openThroughDialog(h, b);
    openThroughDialog(h, a);
    // The file opened again moves to the top; only items naming a file are shown.
    EXPECT_EQ(w.recent().files().mid(0, 3), QStringList({a, b, ""}));
    QStringList shown;
    for (QAction *item : w.findChildren<QAction *>("mnuRecentlyUsed")) {
        if (item->isVisible())
            shown << item->text();
    }
    EXPECT_EQ(shown, QStringList({a, b}));
    EXPECT_EQ(tabCaptions(w), QStringList({"b.html", "a.html", "", "", ""}));
    // The tab of the file opened again is selected; the order of the tabs is kept.
    EXPECT_EQ(tabs(w)->currentIndex(), 1);
    EXPECT_EQ(w.editBox().text(), "A");
    EXPECT_TRUE(h.platform.messages.isEmpty());
}

TEST(RecentFiles, SixthFileDropsOldestTabEleventhDropsLastEntry)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    QStringList paths;
    for (int i = 0; i < 11; ++i)
        paths << h.writeFile(QStringLiteral("docs/f%1.htm").arg(i), "x");
    for (int i = 0; i < 6; ++i)
        w.recent().add(paths[i]);
    EXPECT_EQ(tabCaptions(w), QStringList({"f5.htm", "f4.htm", "f3.htm", "f2.htm", "f1.htm"}));
    EXPECT_EQ(w.recent().tabFiles()[4], paths[1]);
    for (int i = 6; i < 11; ++i)
        w.recent().add(paths[i]);
    QStringList expected;
    for (int i = 10; i >= 1; --i)
        expected << paths[i];
    EXPECT_EQ(w.recent().files(), expected); // f0 fell off the end
    EXPECT_EQ(recentItem(w, 9)->text(), paths[1]);
}

TEST(RecentFiles, PathsDifferingInCaseGetTwoTabs)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    w.recent().addFileTab("/site/Page.html");
    w.recent().addFileTab("/site/page.html");
    EXPECT_EQ(tabCaptions(w), QStringList({"page.html", "Page.html", "", "", ""}));
}

TEST(RecentFiles, EmptyItemAndMissingFile)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    typeInto(w, "edited");
    const QString before = w.editBox().text();

    recentItem(w, 3)->trigger(); // empty: nothing at all
    EXPECT_TRUE(h.platform.messages.isEmpty());

    w.recent().add(h.path("docs/gone.html"));
    recentItem(w, 0)->trigger();
    ASSERT_EQ(h.platform.messages.size(), 1);
    EXPECT_EQ(h.platform.messages[0],
              (MessageRecord{"Error Loading File...", "The Specified File Cannot Be Found",
                             MsgButtons::Ok, MsgIcon::Information}));
    EXPECT_EQ(w.editBox().text(), before);
    EXPECT_EQ(statusText(w), "Untitled.html");
    EXPECT_TRUE(w.document().isModified());
}

TEST(RecentFiles, OpeningAnEntryPromptsLoadsAndKeepsTheOrder)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    const QString a = h.writeFile("docs/a.html", "A");
    const QString b = h.writeFile("other/b.html", "B");
    w.recent().add(a);
    w.recent().add(b);
    w.recent().clearTabs();
    typeInto(w, "edited");

    // Cancel: nothing changes.
    h.platform.messageAnswers = {MsgAnswer::Cancel};
    recentItem(w, 1)->trigger();
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({kSavePrompt}));
    EXPECT_EQ(statusText(w), "Untitled.html");
    EXPECT_TRUE(w.document().isModified());

    // No: the file is loaded, named, put on a tab, and the panes move to its folder.
    h.platform.messageAnswers = {MsgAnswer::No};
    recentItem(w, 1)->trigger();
    EXPECT_EQ(w.editBox().text(), "A");
    EXPECT_EQ(statusText(w), a);
    EXPECT_EQ(w.windowTitle(), "Pagewick - " + a);
    EXPECT_FALSE(w.document().isModified());
    EXPECT_EQ(w.recent().files().mid(0, 2), QStringList({b, a}));
    // Cleared tabs keep their entries: a.html is still entry 1, and its tab is selected.
    EXPECT_EQ(w.recent().tabFiles()[1], a);
    EXPECT_EQ(tabs(w)->currentIndex(), 1);
    EXPECT_EQ(w.panes().directoryList()->path(), dirOf(a));
    EXPECT_TRUE(w.panes().fileList()->fileNames().contains("a.html"));
}

TEST(RecentFiles, FailedLoadKeepsTheEditsUnsaved)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    const QString big = h.writeFile("docs/big.html", QByteArray(1'000'000, 'x'));
    w.recent().add(big);
    w.recent().clearTabs();
    typeInto(w, "edited");
    const QString before = w.editBox().text();
    h.platform.messageAnswers = {MsgAnswer::No, MsgAnswer::Ok};
    recentItem(w, 0)->trigger();
    ASSERT_EQ(h.platform.messages.size(), 2);
    EXPECT_EQ(h.platform.messages[1].text, "The File Is Too Large For Pagewick");
    // The edits are still on screen and still count as unsaved, under the old name.
    EXPECT_EQ(w.editBox().text(), before);
    EXPECT_TRUE(w.document().isModified());
    EXPECT_EQ(statusText(w), "Untitled.html");
}

TEST(FileTabs, SelectingATabOpensItsFile)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    const QString a = h.writeFile("docs/a.html", "A");
    const QString b = h.writeFile("other/b.html", "B");
    openThroughDialog(h, a);
    openThroughDialog(h, b);
    ASSERT_EQ(tabCaptions(w).mid(0, 2), QStringList({"b.html", "a.html"}));
    ASSERT_EQ(tabs(w)->currentIndex(), 0);
    typeInto(w, "more");

    // Cancel: the open document's tab stays selected, the document stays.
    h.platform.messageAnswers = {MsgAnswer::Cancel};
    tabs(w)->setCurrentIndex(1);
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({kSavePrompt}));
    EXPECT_EQ(tabs(w)->currentIndex(), 0);
    EXPECT_EQ(statusText(w), b);
    EXPECT_EQ(w.editBox().text(), "moreB");

    // Answered No: the clicked tab's file opens, the edits dropped as answered, and the
    // panes follow.
    h.platform.messageAnswers = {MsgAnswer::No};
    tabs(w)->setCurrentIndex(1);
    EXPECT_EQ(tabs(w)->currentIndex(), 1);
    EXPECT_EQ(statusText(w), a);
    EXPECT_EQ(w.editBox().text(), "A");
    EXPECT_EQ(w.windowTitle(), "Pagewick - " + a);
    EXPECT_EQ(w.panes().directoryList()->path(), dirOf(a));
    EXPECT_EQ(w.recent().files().mid(0, 2), QStringList({b, a})); // tabs do not touch the list
    EXPECT_EQ(h.platform.messages.size(), 2);

    // An empty tab opens nothing and stays selected.
    tabs(w)->setCurrentIndex(3);
    EXPECT_EQ(tabs(w)->currentIndex(), 3);
    EXPECT_EQ(statusText(w), a);
    EXPECT_EQ(h.platform.messages.size(), 2);
}

// A file opened by other means gets the selected tab, so the tab of the file shown before it
// opens that file again when clicked.
TEST(FileTabs, TheShownFilesTabIsTheSelectedOne)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    const QString a = h.writeFile("docs/a.html", "A");
    const QString b = h.writeFile("docs/b.html", "B");
    const QString c = h.writeFile("docs/c.html", "C");
    openThroughDialog(h, a);
    openThroughDialog(h, b);
    tabs(w)->setCurrentIndex(1); // a.html
    ASSERT_EQ(statusText(w), a);

    openThroughDialog(h, c);
    EXPECT_EQ(tabCaptions(w).mid(0, 3), QStringList({"c.html", "b.html", "a.html"}));
    EXPECT_EQ(tabs(w)->currentIndex(), 0);
    tabs(w)->setCurrentIndex(1);
    EXPECT_EQ(statusText(w), b);
    EXPECT_EQ(w.editBox().text(), "B");
    EXPECT_TRUE(h.platform.messages.isEmpty());
}

// Whatever opens a file that already has a tab (the Recent menu, the file list, the Open
// dialog), that tab becomes the selected one, and a click on another tab opens its file.
TEST(FileTabs, EveryWayOfOpeningSelectsThatFilesTab)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    const QString a = h.writeFile("docs/a.html", "A");
    const QString b = h.writeFile("docs/b.html", "B");
    const QString c = h.writeFile("docs/c.html", "C");
    for (const QString &path : {a, b, c})
        openThroughDialog(h, path);
    ASSERT_EQ(tabCaptions(w).mid(0, 3), QStringList({"c.html", "b.html", "a.html"}));
    const auto tabOf = [&w](const QString &path) {
        return int(std::find(w.recent().tabFiles().begin(), w.recent().tabFiles().end(), path)
                   - w.recent().tabFiles().begin());
    };
    const auto expectShown = [&](const QString &path, const char *how) {
        EXPECT_EQ(statusText(w), path) << how;
        EXPECT_EQ(tabs(w)->currentIndex(), tabOf(path)) << how;
    };

    QAction *recentA = recentItem(w, int(w.recent().files().indexOf(a)));
    ASSERT_NE(recentA, nullptr);
    recentA->trigger();
    expectShown(a, "Recent menu");
    tabs(w)->setCurrentIndex(tabOf(c));
    expectShown(c, "tab after the Recent menu");

    FileList *files = w.panes().fileList();
    w.panes().showDirectory(dirOf(b));
    ASSERT_TRUE(files->selectName("b.html"));
    emit files->itemDoubleClicked(files->currentItem());
    expectShown(b, "file list");
    tabs(w)->setCurrentIndex(tabOf(a));
    expectShown(a, "tab after the file list");

    openThroughDialog(h, c);
    expectShown(c, "Open dialog");
    tabs(w)->setCurrentIndex(tabOf(b));
    expectShown(b, "tab after the Open dialog");
    EXPECT_TRUE(h.platform.messages.isEmpty());
}

TEST(FileTabs, SaveAsInThePromptStillOpensTheClickedTab)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    const QString a = h.writeFile("docs/a.html", "A");
    const QString b = h.writeFile("docs/b.html", "B");
    openThroughDialog(h, a);
    openThroughDialog(h, b);
    w.newDocument();
    typeInto(w, "new page ");
    ASSERT_EQ(tabCaptions(w).mid(0, 2), QStringList({"b.html", "a.html"}));

    // Yes saves the untitled page under a new name, which moves a.html to the third tab.
    const QString saved = h.path("saved/c.html");
    QDir().mkpath(dirOf(saved));
    h.platform.messageAnswers = {MsgAnswer::Yes};
    h.platform.fileAnswers = {saved};
    tabs(w)->setCurrentIndex(1);
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({kSavePrompt}));
    EXPECT_TRUE(MainWindowHarness::readFile(saved).startsWith("new page <HTML>"));
    EXPECT_EQ(tabCaptions(w).mid(0, 3), QStringList({"c.html", "b.html", "a.html"}));
    EXPECT_EQ(statusText(w), a);
    EXPECT_EQ(w.editBox().text(), "A");
    EXPECT_EQ(tabs(w)->currentIndex(), 2);
    EXPECT_EQ(w.panes().directoryList()->path(), dirOf(a));
}

TEST(FileTabs, ClearTabsEmptiesCaptionsAndSelectsTheFirst)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    const QString a = h.writeFile("docs/a.html", "A");
    w.recent().addFileTab(a);
    w.recent().addFileTab(h.path("docs/b.html"));
    tabs(w)->setCurrentIndex(1); // opens a.html
    ASSERT_EQ(statusText(w), a);
    w.recent().clearTabs();
    EXPECT_EQ(tabCaptions(w), QStringList(5, QString()));
    EXPECT_EQ(tabs(w)->currentIndex(), 0);
    EXPECT_EQ(w.recent().tabFiles()[1], a); // the entries stay
    EXPECT_EQ(statusText(w), a);
}

TEST(FilePaneOpen, DoubleClickOpensWithThePrompt)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    const QString a = h.writeFile("docs/a.html", "A");
    h.writeFile("docs/b.txt", "B");
    const QString other = QFileInfo(h.writeFile("other/x.htm", "")).absolutePath();
    w.panes().showDirectory(dirOf(a));
    ASSERT_EQ(w.panes().fileList()->fileNames(), QStringList({"a.html", "b.txt"}));
    typeInto(w, "edited");

    FileList *list = w.panes().fileList();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QPoint at = list->visualItemRect(list->item(0)).center();

    h.platform.messageAnswers = {MsgAnswer::Cancel};
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({kSavePrompt}));
    EXPECT_EQ(statusText(w), "Untitled.html");

    h.platform.messageAnswers = {MsgAnswer::No};
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(statusText(w), a);
    EXPECT_EQ(w.windowTitle(), "Pagewick - " + a);
    EXPECT_EQ(w.editBox().text(), "A");
    EXPECT_FALSE(w.document().isModified());
    EXPECT_EQ(w.recent().files()[0], a);
    EXPECT_EQ(w.recent().tabFiles()[0], a);

    // Yes with a Save As into another folder: the name still comes from the folder it was
    // listed in, although the save moved the panes.
    w.newDocument();
    typeInto(w, "draft ");
    const QString saved = other + "/draft.html";
    h.platform.messageAnswers = {MsgAnswer::Yes};
    h.platform.fileAnswers = {saved};
    w.panes().showDirectory(dirOf(a));
    emit w.panes().fileList()->fileActivated("a.html");
    EXPECT_TRUE(MainWindowHarness::readFile(saved).startsWith("draft <HTML>"));
    EXPECT_EQ(statusText(w), a);
    EXPECT_EQ(w.editBox().text(), "A");
    EXPECT_EQ(h.platform.messages.size(), 3);

    // The panes stay where the user has them.
    w.panes().showDirectory(other);
    emit w.panes().fileList()->fileActivated("x.htm");
    EXPECT_EQ(statusText(w), other + "/x.htm");
    EXPECT_EQ(w.panes().directoryList()->path(), other);
}

// A file and a folder whose names are not UTF-8 are shown in the panes (U+FFFD for the bytes
// that do not decode). Opening either says why it cannot, before any save prompt: the edits
// stay, the panes stay, and the file keeps its bytes.
TEST(FilePaneOpen, NamesThatAreNotUtf8AreShownAndOpeningThemSaysWhy)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    const QString docs = dirOf(h.writeFile("docs/a.html", "A"));
    BytesNamedEntries named(docs);
    named.file("page\xff\xfe.html", "<P>page</P>");
    named.folder("sub\xff\xfe");
    const QString page = shownName("page\xff\xfe.html");
    const QString sub = shownName("sub\xff\xfe");
    w.panes().showDirectory(docs);
    FileList *files = w.panes().fileList();
    DirectoryList *folders = w.panes().directoryList();
    ASSERT_EQ(files->fileNames(), QStringList({"a.html", page}));
    ASSERT_EQ(folders->item(folders->count() - 1)->text().trimmed(), sub);
    typeInto(w, "edited");

    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    // As a hand does it: a click, then the double click.
    const auto open = [](QListWidget *list, int row) {
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    };
    open(files, 1);
    open(folders, folders->count() - 1);
    const QString why = " Cannot Be Opened Because Its Name Is Not Valid UTF-8:\r\n";
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>(
                  {{"Sorry...", "This File" + why + page, MsgButtons::Ok, MsgIcon::Information},
                   {"Sorry...", "This Folder" + why + sub, MsgButtons::Ok, MsgIcon::Information}}));
    EXPECT_EQ(statusText(w), "Untitled.html");
    EXPECT_TRUE(w.document().isModified());
    EXPECT_TRUE(w.editBox().text().contains("edited"));
    EXPECT_EQ(folders->path(), docs);
    EXPECT_EQ(named.read("page\xff\xfe.html"), "<P>page</P>");

    // The names beside them open as before.
    h.platform.messageAnswers = {MsgAnswer::No};
    open(files, 0);
    EXPECT_EQ(statusText(w), docs + "/a.html");
}

TEST(FilePanesInMainWindow, RefreshPicksUpNewFilesAndTooltipsFollow)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    const QString docs = dirOf(h.writeFile("docs/a.html", "A"));
    w.panes().showDirectory(docs);
    EXPECT_EQ(w.findChild<DirectoryList *>("MyDirectory")->toolTip(), docs);
    EXPECT_EQ(w.findChild<DriveList *>("MyDrive")->toolTip(), w.panes().driveList()->currentText());

    h.writeFile("docs/new.html", "N");
    QDir(docs).mkdir("sub");
    QAction *refresh = w.findChild<QAction *>("mnuRefresh");
    ASSERT_NE(refresh, nullptr);
    EXPECT_EQ(refresh->shortcut(), QKeySequence(Qt::Key_F5));
    refresh->trigger();
    EXPECT_EQ(w.panes().fileList()->fileNames(), QStringList({"a.html", "new.html"}));
    EXPECT_EQ(w.panes().directoryList()->entryPath(w.panes().directoryList()->count() - 1),
              docs + "/sub");

    // A click in the file list shows the clicked name as the list's tooltip.
    FileList *list = w.panes().fileList();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(list->toolTip(), "new.html");
}

TEST(FilePanesInMainWindow, DriveNotReadyAndRestoreFallback)
{
    MainWindowHarness h;
    const QString docs = dirOf(h.writeFile("docs/a.html", "A"));
    h.settings->write("Settings", "Drive", "/no/such/volume");
    h.settings->write("Settings", "Dir", docs);
    MainWindow &w = h.start();
    // A stored drive that is not listed: back on "/", no message.
    EXPECT_EQ(w.panes().driveList()->drive(), "/");
    EXPECT_TRUE(h.platform.messages.isEmpty());

    const QString gone = h.path("unmounted");
    w.panes().driveList()->setDriveSource([gone] {
        return QList<DriveEntry>{{"/", "/"}, {gone, gone}};
    });
    w.panes().showDirectory(docs);
    w.panes().driveList()->setCurrentIndex(1);
    emit w.panes().driveList()->activated(1);
    ASSERT_EQ(h.platform.messages.size(), 1);
    EXPECT_EQ(h.platform.messages[0],
              (MessageRecord{"Sorry...", "Please Insert A Disk In The Drive First", MsgButtons::Ok,
                             MsgIcon::Information}));
    EXPECT_EQ(w.panes().driveList()->drive(), "/");
    EXPECT_EQ(w.panes().directoryList()->path(), docs);

    // A stored directory that has gone: drive "/", no message either.
    MainWindowHarness h2;
    h2.settings->write("Settings", "Dir", h2.path("gone"));
    MainWindow &w2 = h2.start();
    EXPECT_EQ(w2.panes().driveList()->drive(), "/");
    EXPECT_FALSE(w2.panes().directoryList()->path().isEmpty());
    EXPECT_TRUE(h2.platform.messages.isEmpty());
}

TEST(FilePanesInMainWindow, PicturesDragFromTheFileList)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    const QString docs = dirOf(h.writeFile("docs/photo.JPG", "J"));
    h.writeFile("docs/page.htm", "P");
    w.panes().showDirectory(docs);
    FileList *list = w.panes().fileList();
    EXPECT_TRUE(list->dragEnabled());
    ASSERT_TRUE(list->selectName("photo.JPG"));
    std::unique_ptr<QMimeData> data(list->pictureDragData());
    ASSERT_TRUE(data);
    EXPECT_EQ(data->text(), "photo.JPG");
    ASSERT_TRUE(list->selectName("page.htm"));
    EXPECT_EQ(list->pictureDragData(), nullptr);
}

TEST(RecentFiles, AmpersandsInPathsAreShownAndKeptWhole)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    const QString file = h.writeFile("Tom & Jerry.html", "x\r\n");
    w.recent().add(file);
    EXPECT_EQ(w.recent().files()[0], file);
    EXPECT_EQ(w.findChildren<QAction *>("mnuRecentlyUsed")[0]->text(),
              QString(file).replace("&", "&&"));
    EXPECT_EQ(tabCaptions(w)[0], "Tom && Jerry.html");

    w.openRecentFile(0);
    EXPECT_EQ(statusText(w), file);
    w.recent().save(*h.settings);
    h.settings->sync();
    EXPECT_EQ(h.storedValue("Settings", "RU0"), file);
}
