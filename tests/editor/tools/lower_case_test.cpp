// Lower-casing names below a directory: the walk itself and the window that runs it.
#include "support/qt_print.h"
#include "support/unprivileged.h"
#include "support/main_window_harness.h"
#include "tools/lower_case.h"
#include "tools/lower_case_dialog.h"

#include <QAbstractButton>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pw;
using namespace pw::test;

namespace {

void make(const QTemporaryDir &root, const QStringList &entries)
{
    for (const QString &entry : entries) {
        if (entry.endsWith('/')) {
            QDir().mkpath(root.filePath(entry));
        } else {
            QDir().mkpath(QFileInfo(root.filePath(entry)).absolutePath());
            QFile file(root.filePath(entry));
            file.open(QIODevice::WriteOnly);
            file.write(entry.toUtf8());
        }
    }
}

// Every entry below `directory`, relative and sorted; directories end with "/".
QStringList Tree(const QString &directory)
{
    QStringList entries;
    QDirIterator it(directory, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        entries << QDir(directory).relativeFilePath(it.filePath())
                       + (it.fileInfo().isDir() ? "/" : "");
    }
    entries.sort();
    return entries;
}

} // namespace

TEST(lowerCaseTree, LowersEverythingBelowTheStartButNotTheStart)
{
    QTemporaryDir root;
    make(root, {"Site/Index.HTML", "Site/Images/Logo.GIF", "Site/Images/Deep/A.TXT",
                "Site/already.html", "Site/.Hidden/X.TXT", "Site/.Config"});
    QStringList visited;
    const LowerCaseResult result = lowerCaseTree(root.filePath("Site"), [&](const QString &d) {
        const QString name = QDir(root.path()).relativeFilePath(d);
        if (visited.isEmpty() || visited.back() != name)
            visited << name;
        return true;
    });
    EXPECT_TRUE(result.error.isEmpty());
    EXPECT_TRUE(result.skipped.isEmpty());
    EXPECT_EQ(result.renamed, 5);
    EXPECT_EQ(Tree(root.filePath("Site")),
              QStringList({".Config", ".Hidden/", ".Hidden/X.TXT", "already.html", "images/",
                           "images/deep/", "images/deep/a.txt", "images/logo.gif", "index.html"}));
    // Depth first; a directory is renamed before it is entered; its files come last.
    EXPECT_EQ(visited,
              QStringList({"Site", "Site/images", "Site/images/deep", "Site/images", "Site"}));
}

TEST(lowerCaseTree, SubdirectoriesLastToFirstAndCollisionsSkipped)
{
    QTemporaryDir root;
    make(root, {"top/A/", "top/B/", "top/c/", "top/Index.html", "top/index.html", "top/Docs/",
                "top/docs/", "top/docs/Readme.TXT"});
    // Where the walk goes, among the top directory and its plain subdirectories.
    QStringList order;
    const LowerCaseResult result = lowerCaseTree(root.filePath("top"), [&](const QString &d) {
        const QString name = QDir(root.filePath("top")).relativeFilePath(d);
        if (QStringList({".", "a", "b", "c"}).contains(name)
            && (order.isEmpty() || order.back() != name))
            order << name;
        return true;
    });
    EXPECT_TRUE(result.error.isEmpty());
    // "Docs" and "Index.html" would replace entries that exist: both are left and reported;
    // the directory that kept its name is still walked.
    EXPECT_EQ(result.skipped,
              QStringList({root.filePath("top/Docs"), root.filePath("top/Index.html")}));
    EXPECT_EQ(Tree(root.filePath("top")), QStringList({"Docs/", "Index.html", "a/", "b/", "c/",
                                                       "docs/", "docs/readme.txt", "index.html"}));
    EXPECT_EQ(order, QStringList({".", "c", "b", "a", "."}));
}

// Entries whose names are not UTF-8 are left as they are and named, never passed over in
// silence; the others are lowered as usual.
TEST(lowerCaseTree, NamesThatAreNotUtf8AreLeftAndNamed)
{
    QTemporaryDir root;
    const QByteArray base = QFile::encodeName(root.path());
    ASSERT_EQ(::mkdir((base + "/DIR\xff").constData(), 0755), 0);
    for (const char *name : {"/DIR\xff/INNER.HTML", "/PAGE\xfe.HTML", "/Plain.HTML"}) {
        const int fd = ::open((base + name).constData(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    const LowerCaseResult result = lowerCaseTree(root.path());
    EXPECT_EQ(result.renamed, 1);
    EXPECT_TRUE(QFile::exists(root.filePath("plain.html")));
    EXPECT_EQ(result.notUtf8,
              QStringList({root.filePath(QString::fromUtf8("DIR\xef\xbf\xbd")),
                           root.filePath(QString::fromUtf8("PAGE\xef\xbf\xbd.HTML"))}));
    EXPECT_EQ(::access((base + "/DIR\xff/INNER.HTML").constData(), F_OK), 0);
    EXPECT_EQ(::access((base + "/PAGE\xfe.HTML").constData(), F_OK), 0);
}

TEST(lowerCaseTree, TwoHardLinksDifferingInCaseAreBothKept)
{
    // The only way to see one file under both names here; the lower-case name is taken all
    // the same, and the two-step rename for file systems that ignore case must not take it.
    QTemporaryDir root;
    make(root, {"top/Page.HTML"});
    ASSERT_EQ(::link(QFile::encodeName(root.filePath("top/Page.HTML")).constData(),
                     QFile::encodeName(root.filePath("top/page.html")).constData()),
              0);
    const LowerCaseResult result = lowerCaseTree(root.filePath("top"));
    EXPECT_TRUE(result.error.isEmpty()) << result.error.toStdString();
    EXPECT_EQ(result.skipped, QStringList({root.filePath("top/Page.HTML")}));
    EXPECT_EQ(Tree(root.filePath("top")), QStringList({"Page.HTML", "page.html"}));
}

TEST(lowerCaseTree, ALinkToADirectoryIsRenamedButNotFollowed)
{
    QTemporaryDir root;
    make(root, {"Outside/Keep.TXT", "top/Real/A.TXT"});
    ASSERT_TRUE(QFile::link(root.filePath("Outside"), root.filePath("top/Away")));
    ASSERT_TRUE(QFile::link(root.filePath("top"), root.filePath("top/Real/Up")));
    const LowerCaseResult result = lowerCaseTree(root.filePath("top"));
    EXPECT_TRUE(result.error.isEmpty()) << result.error.toStdString();
    EXPECT_EQ(result.renamed, 4); // "away", "real", "real/up", "real/a.txt"
    EXPECT_TRUE(QFileInfo(root.filePath("top/away")).isSymLink());
    EXPECT_TRUE(QFileInfo(root.filePath("top/real/up")).isSymLink());
    EXPECT_TRUE(QFile::exists(root.filePath("top/real/a.txt")));
    // Nothing outside the chosen tree changed.
    EXPECT_EQ(Tree(root.filePath("Outside")), QStringList({"Keep.TXT"}));
}

TEST(lowerCaseTree, AnErrorEndsTheWalkWithItsDescription)
{
    QTemporaryDir root;
    const LowerCaseResult missing = lowerCaseTree(root.filePath("nowhere"));
    EXPECT_EQ(missing.error, "No such file or directory: " + root.filePath("nowhere"));

    // The walk is abandoned when the caller says so (a closed window); nothing more changes.
    make(root, {"stop/B.TXT", "stop/C.TXT"});
    int calls = 0;
    const LowerCaseResult stopped =
        lowerCaseTree(root.filePath("stop"), [&](const QString &) { return ++calls < 2; });
    EXPECT_TRUE(stopped.abandoned);
    EXPECT_EQ(Tree(root.filePath("stop")), QStringList({"C.TXT", "b.txt"}));
}

TEST(lowerCaseTree, ARefusedRenameEndsTheWalk)
{
    QTemporaryDir root;
    make(root, {"top/Sub/B.TXT", "top/A.TXT"});
    openToEveryone(root.path());
    // Everyone may look into "top" but nobody may rename inside it.
    QFile::setPermissions(root.filePath("top"), QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                                    | QFileDevice::ReadOther
                                                    | QFileDevice::ExeOther);
    LowerCaseResult result;
    {
        AsUnprivilegedUser nobody;
        result = lowerCaseTree(root.filePath("top"));
    }
    QFile::setPermissions(root.filePath("top"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(result.error, "Permission denied: " + root.filePath("top/Sub"));
    EXPECT_EQ(Tree(root.filePath("top")), QStringList({"A.TXT", "Sub/", "Sub/B.TXT"}));
}

TEST(lowerCaseTree, NamesAreLoweredCharacterByCharacter)
{
    // Simple case mapping: one character stays one character, outside the first plane too.
    const QString dotted = QString::fromUtf8("\u0130NDEX.HTML");
    EXPECT_EQ(lowerCaseName(dotted), "index.html");
    EXPECT_EQ(lowerCaseName(QString::fromUtf8("\u03A3\u0391\u03A3")),
              QString::fromUtf8("\u03C3\u03B1\u03C3"));
    const QString deseret = QString::fromUcs4(U"\U00010400x.TXT");
    EXPECT_EQ(lowerCaseName(deseret), QString::fromUcs4(U"\U00010428x.txt"));
    // A lone surrogate is kept as it is.
    const QString lone = QString(QChar(0xD801)) + "A";
    EXPECT_EQ(lowerCaseName(lone), QString(QChar(0xD801)) + "a");

    QTemporaryDir root;
    make(root, {"top/" + dotted, "top/" + deseret});
    const LowerCaseResult result = lowerCaseTree(root.filePath("top"));
    EXPECT_TRUE(result.error.isEmpty()) << result.error.toStdString();
    EXPECT_EQ(Tree(root.filePath("top")),
              QStringList({"index.html", QString::fromUcs4(U"\U00010428x.txt")}));
}

TEST(lowerCaseTree, FoldersThatCannotBeReadAreListedAndTheWalkGoesOn)
{
    QTemporaryDir root;
    make(root, {"top/Locked/Inner.TXT", "top/NoList/Inner.TXT", "top/NoSearch/Inner.TXT",
                "top/Open/B.TXT", "top/A.TXT"});
    openToEveryone(root.path());
    const auto lock = [&](const char *name, QFileDevice::Permissions permissions) {
        QFile::setPermissions(root.filePath(name), permissions);
    };
    lock("top/Locked", {});
    lock("top/NoList", QFileDevice::ExeOwner | QFileDevice::ExeOther);
    lock("top/NoSearch", QFileDevice::ReadOwner | QFileDevice::ReadOther);
    LowerCaseResult result;
    {
        AsUnprivilegedUser nobody;
        result = lowerCaseTree(root.filePath("top"));
    }
    openToEveryone(root.path());
    EXPECT_TRUE(result.error.isEmpty()) << result.error.toStdString();
    // Their own names are lowered (that is their parent's business); what is inside is not.
    EXPECT_EQ(result.unreadable,
              QStringList({root.filePath("top/nosearch"), root.filePath("top/nolist"),
                           root.filePath("top/locked")}));
    EXPECT_EQ(Tree(root.filePath("top")),
              QStringList({"a.txt", "locked/", "locked/Inner.TXT", "nolist/", "nolist/Inner.TXT",
                           "nosearch/", "nosearch/Inner.TXT", "open/", "open/b.txt"}));
}

// One click on a folder chooses it: the file list shows it, and Start walks it at once.
TEST(LowerCaseWindow, StartWalksTheFolderChosenWithOneClick)
{
    MainWindowHarness h;
    MainWindow &window = h.start();
    QDir().mkpath(h.path("Site/Images"));
    h.writeFile("Site/Index.HTML", "x");
    h.writeFile("Site/Images/Logo.GIF", "x");
    window.panes().showDirectory(h.path(""));
    window.findChild<QAbstractButton *>("cmdLowerCase")->click();
    auto *dialog = window.findChild<LowerCaseDialog *>("frmLowerCase");
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(dialog->windowTitle(), "Convert To Lower Case Dialog");
    EXPECT_EQ(dialog->findChild<QPushButton *>("cmdCancel")->text(), "E&xit");

    auto *directories = dialog->findChild<DirectoryList *>("MyDirectory");
    int siteRow = -1;
    for (int row = 0; row < directories->count(); ++row) {
        if (directories->entryPath(row) == QDir::cleanPath(h.path("Site")))
            siteRow = row;
    }
    ASSERT_GE(siteRow, 0);
    QListWidgetItem *site = directories->item(siteRow);
    QTest::mouseClick(directories->viewport(), Qt::LeftButton, Qt::NoModifier,
                      directories->visualItemRect(site).center());
    EXPECT_NE(directories->path(), QDir::cleanPath(h.path("Site"))); // chosen, not entered
    EXPECT_EQ(dialog->findChild<FileList *>("MyFileList")->fileNames(),
              QStringList({"Index.HTML"}));

    dialog->findChild<QPushButton *>("cmdStart")->click();
    EXPECT_EQ(directories->path(), QDir::cleanPath(h.path("Site")));
    EXPECT_EQ(Tree(h.path("Site")), QStringList({"images/", "images/logo.gif", "index.html"}));
    EXPECT_EQ(dialog->findChild<FileList *>("MyFileList")->fileNames(),
              QStringList({"index.html"}));
    EXPECT_TRUE(h.platform.messages.isEmpty());
    EXPECT_GT(h.platform.processEventsCalls, 0);
}

TEST(LowerCaseWindow, ControlsCarryTheirCaptionsAndEscapeClosesTheWindow)
{
    MainWindowHarness h;
    MainWindow &window = h.start();
    window.findChild<QAbstractButton *>("cmdLowerCase")->click();
    QPointer<LowerCaseDialog> dialog = window.findChild<LowerCaseDialog *>("frmLowerCase");
    ASSERT_FALSE(dialog.isNull());
    EXPECT_EQ(dialog->findChild<QLabel *>("Label1")->text(),
              "When you click Start, all directories and files from your current position and "
              "lower will be converted to lowercase names.");
    EXPECT_EQ(dialog->findChild<QPushButton *>("cmdStart")->text(), "&Start");
    for (const char *name : {"MyDrive", "MyDirectory", "MyFileList"})
        EXPECT_NE(dialog->findChild<QWidget *>(name), nullptr) << name;

    QTest::keyClick(dialog, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull()); // gone, not merely hidden
    window.findChild<QAbstractButton *>("cmdLowerCase")->click();
    EXPECT_EQ(window.findChildren<LowerCaseDialog *>("frmLowerCase").size(), 1);
}

TEST(LowerCaseWindow, CollisionsAreListedAtTheEnd)
{
    MainWindowHarness h;
    MainWindow &window = h.start();
    h.writeFile("Web/Index.html", "upper");
    h.writeFile("Web/index.html", "lower");
    window.panes().showDirectory(h.path("Web"));
    window.findChild<QAbstractButton *>("cmdLowerCase")->click();
    auto *dialog = window.findChild<LowerCaseDialog *>("frmLowerCase");
    dialog->findChild<QPushButton *>("cmdStart")->click();
    EXPECT_EQ(h.readFile(h.path("Web/Index.html")), "upper");
    EXPECT_EQ(h.readFile(h.path("Web/index.html")), "lower");
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>(
                  {{"Convert To Lower Case Dialog",
                    "These Names Were Not Changed Because The Lower Case Name Is Already "
                    "Taken:\r\n"
                        + QDir::cleanPath(h.path("Web")) + "/Index.html",
                    MsgButtons::Ok, MsgIcon::Information}}));
}

TEST(LowerCaseWindow, AnErrorIsShownAndEndsOnlyTheWalk)
{
    MainWindowHarness h;
    MainWindow &window = h.start();
    h.writeFile("Gone/A.TXT", "x");
    window.panes().showDirectory(h.path("Gone"));
    window.findChild<QAbstractButton *>("cmdLowerCase")->click();
    auto *dialog = window.findChild<LowerCaseDialog *>("frmLowerCase");
    QDir(h.path("Gone")).removeRecursively(); // gone before Start
    dialog->findChild<QPushButton *>("cmdStart")->click();
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>(
                  {{"Pagewick", "No such file or directory: " + QDir::cleanPath(h.path("Gone")),
                    MsgButtons::Ok, MsgIcon::None}}));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->findChild<QPushButton *>("cmdStart")->isEnabled());
    EXPECT_EQ(h.platform.busyDepth, 0);
}

TEST(LowerCaseWindow, UnreadableFoldersAreListedAtTheEndAndThePanesWaitForTheWalk)
{
    MainWindowHarness h;
    MainWindow &window = h.start();
    h.writeFile("Web/Private/Secret.TXT", "x");
    h.writeFile("Web/Index.HTML", "x");
    openToEveryone(h.path(""));
    QFile::setPermissions(h.path("Web/Private"), {});
    window.panes().showDirectory(h.path("Web"));
    window.findChild<QAbstractButton *>("cmdLowerCase")->click();
    auto *dialog = window.findChild<LowerCaseDialog *>("frmLowerCase");
    ASSERT_NE(dialog, nullptr);
    QList<QWidget *> panes;
    for (const char *name : {"MyDrive", "MyDirectory", "MyFileList"})
        panes << dialog->findChild<QWidget *>(name);
    int checks = 0;
    h.platform.onProcessEvents = [&] {
        ++checks;
        for (QWidget *pane : panes)
            EXPECT_FALSE(pane->isEnabled()) << pane->objectName().toStdString();
    };
    {
        AsUnprivilegedUser nobody;
        dialog->findChild<QPushButton *>("cmdStart")->click();
    }
    h.platform.onProcessEvents = nullptr;
    openToEveryone(h.path("Web"));
    EXPECT_GT(checks, 0);
    for (QWidget *pane : panes)
        EXPECT_TRUE(pane->isEnabled()) << pane->objectName().toStdString();
    EXPECT_EQ(Tree(h.path("Web")), QStringList({"index.html", "private/", "private/Secret.TXT"}));
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>(
                  {{"Convert To Lower Case Dialog",
                    "These Folders Could Not Be Read, So The Names In Them Were Not Changed:\r\n"
                        + QDir::cleanPath(h.path("Web")) + "/private",
                    MsgButtons::Ok, MsgIcon::Information}}));
}
