// The dialogs that work on a folder chosen in their own folder list (the listing and batch
// tools, the picture viewer, the database pages): one click on a folder chooses it, and the
// lists take the height the dialog is given.
#include "generators/listing_dialogs.h"
#include "generators/php_data_dialog.h"
#include "shared/file_panes.h"
#include "support/main_window_harness.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

using namespace pw;
using namespace pw::test;

namespace {

void show(QDialog &dialog)
{
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QApplication::processEvents();
}

// Clicks the folder list's entry for the path once, as a hand on the mouse does.
void clickFolder(DirectoryList *folders, const QString &path)
{
    for (int row = 0; row < folders->count(); ++row) {
        if (folders->entryPath(row) != path)
            continue;
        QListWidgetItem *item = folders->item(row);
        folders->scrollToItem(item);
        QTest::mouseClick(folders->viewport(), Qt::LeftButton, Qt::NoModifier,
                          folders->visualItemRect(item).center());
        return;
    }
    ADD_FAILURE() << "no entry for " << path.toStdString();
}

// A tree with two folders side by side: Sub (a picture and a page, a folder below) and Other.
struct Tree {
    explicit Tree(MainWindowHarness &h)
        : root(QDir::cleanPath(h.path("site"))), sub(root + "/Sub"), other(root + "/Other")
    {
        QDir().mkpath(sub + "/Deeper");
        QDir().mkpath(other + "/Elsewhere");
        h.writeFile("site/Sub/inner.gif", "GIF89a");
        h.writeFile("site/Sub/inner.rtf", "{\\rtf1 x}");
        h.writeFile("site/top.gif", "GIF89a");
    }
    QString root, sub, other;
};

// One click on Sub: the folder the dialog works on, and the file list shows its files.
// Then the dialog made taller: every list takes part of the height.
void checkFolderDialog(QDialog &dialog, const Tree &tree)
{
    const std::string name = dialog.objectName().toStdString();
    show(dialog);
    auto *folders = dialog.findChild<DirectoryList *>("MyDirectory");
    ASSERT_NE(folders, nullptr) << name;
    ASSERT_TRUE(folders->setPath(tree.root)) << name;
    FileList *files = dialog.findChild<FileList *>();

    clickFolder(folders, tree.sub);
    EXPECT_EQ(folders->chosenPath(), tree.sub) << name;
    if (files) {
        EXPECT_EQ(files->path(), tree.sub) << name;
        EXPECT_TRUE(files->fileNames().contains("inner.gif")) << name;
        EXPECT_FALSE(files->fileNames().contains("top.gif")) << name;
    }
    if (auto *php = qobject_cast<PhpDataDialog *>(&dialog)) {
        EXPECT_EQ(php->targetDirectory(), tree.sub);
    }
    // Another click moves the choice; nothing was entered meanwhile.
    clickFolder(folders, tree.other);
    EXPECT_EQ(folders->chosenPath(), tree.other) << name;
    EXPECT_EQ(folders->path(), tree.root) << name;
    if (files) {
        EXPECT_EQ(files->path(), tree.other) << name;
    }

    dialog.resize(dialog.minimumSizeHint().expandedTo(dialog.minimumSize()));
    QApplication::processEvents();
    QList<QWidget *> lists{folders};
    if (files)
        lists << files;
    QList<int> before;
    for (QWidget *list : lists)
        before << list->height();
    const QSize taller(dialog.width(), dialog.height() + 240);
    dialog.resize(taller);
    QApplication::processEvents();
    EXPECT_EQ(dialog.size(), taller) << name << " does not resize";
    for (qsizetype i = 0; i < lists.size(); ++i) {
        EXPECT_GE(lists[i]->height(), before[i] + 40)
            << name << ": " << lists[i]->objectName().toStdString() << " does not grow";
    }
}

} // namespace

TEST(FolderDialogs, OneClickChoosesTheFolderAndTheListsGrowWithTheDialog)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    w.show();
    const Tree tree(h);

    // The modal ones, opened from their commands.
    for (const char *command : {"cmdDirDialog", "cmdRTFDialog", "mnuViewPic", "cmdPHPDataDialog"}) {
        SCOPED_TRACE(command);
        bool ran = false;
        h.platform.dialogHandlers.push_back([&](QDialog &dialog) {
            ran = true;
            checkFolderDialog(dialog, tree);
            return int(QDialog::Rejected);
        });
        w.commands().run(QString::fromLatin1(command));
        EXPECT_TRUE(ran);
    }

    // The ones that stay open beside the main window.
    w.commands().run("cmdLowerCase");
    auto *lowerCase = w.findChild<QDialog *>("frmLowerCase");
    ASSERT_NE(lowerCase, nullptr);
    checkFolderDialog(*lowerCase, tree);
    lowerCase->close();

    FeatureContext context = w.featureContext();
    FileManDialog *listing = openFileManDialog(context);
    ASSERT_NE(listing, nullptr);
    checkFolderDialog(*listing, tree);
    EXPECT_TRUE(h.platform.messages.isEmpty());

    // Its run lists the folder chosen with one click: Sub's folder, not Other's.
    auto *folders = listing->findChild<DirectoryList *>("MyDirectory");
    clickFolder(folders, tree.sub);
    const QString page = h.path("listing.html");
    listing->findChild<QLineEdit *>("txtFileName")->setText(page);
    listing->findChild<QPushButton *>("cmdStart")->click();
    ASSERT_EQ(h.platform.messages.size(), 1);
    EXPECT_EQ(h.platform.messages.front().text, "The HTML File Has Been Created");
    const QString listed = QString::fromUtf8(MainWindowHarness::readFile(page));
    EXPECT_TRUE(listed.contains("Deeper"));
    EXPECT_FALSE(listed.contains("Elsewhere"));
    listing->close();
}
