// The drive, directory and file panes on real directories.
#include "shared/file_panes.h"
#include "support/fake_platform.h"
#include "support/test_files.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QFile>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include <memory>
#include <thread>

using namespace pw;

namespace {

void touch(const QString &path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

// A directory with a few files and subdirectories.
struct Tree {
    QTemporaryDir tmp;
    QString root;
    Tree()
    {
        root = cleanDirectoryPath(tmp.path());
        for (const char *name : {"b.htm", "A.gif", "photo.JPG", "c.BMP", "notes.txt", "x.png"})
            touch(root + "/" + name);
        QDir(root).mkpath("sub two/deeper");
        QDir(root).mkpath("Alpha");
        QDir(root).mkpath(".hidden");
    }
};

} // namespace

TEST(FilePanesRoutines, PathsDrivesAndPictureNames)
{
    EXPECT_EQ(cleanDirectoryPath("/srv/www/"), "/srv/www");
    EXPECT_EQ(cleanDirectoryPath("\\srv\\www\\..\\a"), "/srv/a");
    EXPECT_EQ(cleanDirectoryPath("/"), "/");
    EXPECT_EQ(cleanDirectoryPath(""), "");
    // A real directory keeps the blank and the backslash of its own name.
    QTemporaryDir tmp;
    const QString root = QDir(tmp.path()).canonicalPath();
    QDir(root).mkpath("odd\\name ");
    EXPECT_EQ(cleanDirectoryPath(root + "/odd\\name "), root + "/odd\\name ");
    EXPECT_EQ(cleanDirectoryPath("  " + root + "  "), root);

    const QStringList roots{"/", "/media/usb", "/media/usb2"};
    EXPECT_EQ(driveOfPath("/media/usb/a/b", roots), "/media/usb");
    EXPECT_EQ(driveOfPath("/media/usb2", roots), "/media/usb2");
    EXPECT_EQ(driveOfPath("/media/usbx/a", roots), "/"); // a prefix is no parent
    EXPECT_EQ(driveOfPath("/home", roots), "/");

    for (const char *yes : {"photo.JPG", "a.gif", " logo.Png  ", "x.bmp", "pic.jpg"})
        EXPECT_TRUE(isDraggablePicture(yes)) << yes;
    for (const char *no : {"page.htm", "photo.jpeg", "", "a.gif.txt"})
        EXPECT_FALSE(isDraggablePicture(no)) << no;
    EXPECT_TRUE(isDraggablePicture("gif")); // the last three characters decide
}

TEST(FilePanesRoutines, MountedDrivesListRootFirstWithoutSystemMounts)
{
    const QList<DriveEntry> drives = mountedDrives();
    ASSERT_FALSE(drives.isEmpty());
    EXPECT_EQ(drives.first().root, "/");
    for (const DriveEntry &d : drives) {
        EXPECT_FALSE(d.root.startsWith("/proc") || d.root.startsWith("/sys")
                     || d.root.startsWith("/dev"))
            << d.root.toStdString();
        EXPECT_EQ(drives.count(d), 1) << d.root.toStdString();
    }
    DriveList list;
    EXPECT_EQ(list.drives().first(), "/");
    EXPECT_EQ(list.drive(), "/");
}

TEST(FileListPane, SortedNamesPatternAndPathChanges)
{
    Tree t;
    FileList files;
    EXPECT_TRUE(files.path().isEmpty());
    ASSERT_TRUE(files.setPath(t.root + "/"));
    EXPECT_EQ(files.path(), t.root);
    // Files only (no directories, no hidden entries), sorted without regard to case.
    EXPECT_EQ(files.fileNames(),
              QStringList({"A.gif", "b.htm", "c.BMP", "notes.txt", "photo.JPG", "x.png"}));

    files.setPattern("*.gif;*.bmp; *.jpg");
    EXPECT_EQ(files.fileNames(), QStringList({"A.gif", "c.BMP", "photo.JPG"}));
    files.setPattern("*.*");
    EXPECT_EQ(files.fileNames().size(), 6);
    files.setPattern("*.zip");
    EXPECT_TRUE(files.fileNames().isEmpty());

    EXPECT_FALSE(files.setPath(t.root + "/no such dir"));
    EXPECT_TRUE(files.path().isEmpty());
    EXPECT_EQ(files.count(), 0);
}

// Names that are not UTF-8 (bytes 0xff 0xfe) are shown with U+FFFD, after the others in the
// order of their bytes, under
// every pattern that matches them: none, "*", "*.*" and a matching one; a pattern that does
// not match leaves them out as it does any name. Folders with such names are listed too.
TEST(FileListPane, NamesThatAreNotUtf8AreShownUnderEveryPatternThatMatches)
{
    Tree t;
    test::BytesNamedEntries odd(t.root);
    odd.file("\xff\xfe", "one");
    odd.file("page\xff\xfe.html", "two");
    odd.folder("folder\xff");
    const QString bare = test::shownName("\xff\xfe");
    const QString page = test::shownName("page\xff\xfe.html");
    ASSERT_EQ(bare, QString(2, QChar::ReplacementCharacter));
    const QStringList utf8 = {"A.gif", "b.htm", "c.BMP", "notes.txt", "photo.JPG", "x.png"};

    FileList files;
    ASSERT_TRUE(files.setPath(t.root));
    EXPECT_EQ(files.fileNames(), utf8 + QStringList({page, bare}));
    for (const char *every : {"*", "*.*", " * ; *.zip"}) {
        files.setPattern(every);
        EXPECT_EQ(files.fileNames(), utf8 + QStringList({page, bare})) << every;
    }
    files.setPattern("*.HTML;*.htm");
    EXPECT_EQ(files.fileNames(), QStringList({"b.htm", page}));
    files.setPattern("*.gif");
    EXPECT_EQ(files.fileNames(), QStringList({"A.gif"}));

    // Selected, they stay selected across a refresh like any other name.
    files.setPattern({});
    files.setMultiSelect(true);
    files.selectAll();
    files.refresh();
    EXPECT_EQ(files.selectedNames(), utf8 + QStringList({page, bare}));

    DirectoryList dirs;
    ASSERT_TRUE(dirs.setPath(t.root));
    const int current = dirs.currentDirectoryRow();
    QStringList shown;
    for (int row = current + 1; row < dirs.count(); ++row)
        shown << dirs.item(row)->text().trimmed();
    EXPECT_EQ(shown, QStringList({"Alpha", "sub two", test::shownName("folder\xff")}));
}

TEST(FileListPane, MultiSelectionAndRefreshKeepSelectedNames)
{
    Tree t;
    FileList files;
    files.setMultiSelect(true);
    ASSERT_TRUE(files.setPath(t.root));
    files.selectAll();
    EXPECT_EQ(files.selectedNames(), files.fileNames());
    files.clearSelection();
    EXPECT_TRUE(files.selectedNames().isEmpty());

    files.item(5)->setSelected(true); // x.png
    files.item(1)->setSelected(true); // b.htm
    files.item(4)->setSelected(true); // photo.JPG
    files.item(0)->setSelected(true); // A.gif
    EXPECT_EQ(files.selectedPaths(), QStringList({t.root + "/A.gif", t.root + "/b.htm",
                                                  t.root + "/photo.JPG", t.root + "/x.png"}));

    touch(t.root + "/aa.htm");
    QFile::remove(t.root + "/photo.JPG");
    EXPECT_FALSE(files.fileNames().contains("aa.htm"));
    files.refresh();
    EXPECT_EQ(files.fileNames(),
              QStringList({"A.gif", "aa.htm", "b.htm", "c.BMP", "notes.txt", "x.png"}));
    EXPECT_EQ(files.selectedNames(), QStringList({"A.gif", "b.htm", "x.png"}));

    // A single-select list keeps one name at most.
    files.setMultiSelect(false);
    EXPECT_TRUE(files.selectName("x.png"));
    EXPECT_TRUE(files.selectName("notes.txt"));
    EXPECT_EQ(files.selectedNames(), QStringList({"notes.txt"}));
    EXPECT_EQ(files.currentName(), "notes.txt");
    EXPECT_FALSE(files.selectName("nothing"));
}

TEST(FileListPane, SelectWhereAddsRunsOfAcceptedNamesAndKeepsTheRest)
{
    QTemporaryDir tmp;
    const QString root = cleanDirectoryPath(tmp.path());
    // Accepted and refused names alternate, with one run of two accepted ones.
    for (const char *name : {"a.rtf", "b.txt", "c.rtf", "d.RTF", "e.txt", "f.rtf", "g.doc"})
        touch(root + "/" + name);
    FileList files;
    files.setMultiSelect(true);
    ASSERT_TRUE(files.setPath(root));
    files.item(1)->setSelected(true); // b.txt stays selected
    files.item(2)->setSelected(true); // c.rtf is selected already
    const auto isRtf = [](const QString &name) { return name.right(3).toLower() == "rtf"; };
    files.selectWhere(isRtf);
    EXPECT_EQ(files.selectedNames(), QStringList({"a.rtf", "b.txt", "c.rtf", "d.RTF", "f.rtf"}));
    files.selectWhere(isRtf); // a second time changes nothing
    EXPECT_EQ(files.selectedNames().size(), 5);
    // From nothing selected: one range per run of accepted names, not one per name.
    files.clearSelection();
    files.selectWhere(isRtf);
    EXPECT_EQ(files.selectionModel()->selection().size(), 3);
    EXPECT_EQ(files.selectedNames(), QStringList({"a.rtf", "c.rtf", "d.RTF", "f.rtf"}));
}

TEST(FilePanesRoutines, RemoteMountsAreListedWithoutBeingProbed)
{
    QTemporaryDir tmp;
    const QString root = cleanDirectoryPath(tmp.path());
    QDir(root).mkpath("my stick");
    touch(root + "/bound-file");
    // Mount points that do not exist: a probe would drop them, a listing keeps them.
    const QByteArray table = "22 1 0:21 / /proc rw - proc proc rw\n"
                             "25 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
                             "30 25 8:17 / "
                             + QFile::encodeName(root).replace(' ', "\\040")
                             + "/my\\040stick rw shared:2 - vfat /dev/sdb1 rw\n"
                               "31 25 0:50 / /mnt/gone\\040share rw - nfs4 srv:/export rw\n"
                               "32 31 8:33 / /mnt/gone\\040share/inner rw - ext4 /dev/sdc1 rw\n"
                               "33 25 0:51 / /mnt/ssh rw,nosuid - fuse.sshfs me@srv: rw\n"
                               "34 25 8:1 /f "
                             + QFile::encodeName(root)
                             + "/bound-file rw - ext4 /dev/sda1 rw\n"
                               "35 25 0:52 / /mnt/also-gone rw - cifs //srv/share rw\n"
                               "not a mount line\n";
    const QString tablePath = root + "/mountinfo";
    {
        QFile file(tablePath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(table);
    }
    const QList<MountEntry> mounts = readMountTable(tablePath);
    ASSERT_EQ(mounts.size(), 8);
    EXPECT_EQ(mounts.at(2), (MountEntry{root + "/my stick", "vfat"}));
    EXPECT_EQ(mounts.at(3), (MountEntry{"/mnt/gone share", "nfs4"}));
    EXPECT_TRUE(readMountTable(root + "/no-such-table").isEmpty());

    QStringList roots;
    for (const DriveEntry &drive : drivesOfMounts(mounts))
        roots << drive.root;
    // "/" first, then sorted; the mount below the remote one is not probed either; the
    // pseudo file system and the bound file are left out.
    QStringList expected{"/mnt/also-gone", "/mnt/gone share", "/mnt/gone share/inner", "/mnt/ssh",
                         root + "/my stick"};
    expected.sort();
    expected.prepend("/");
    EXPECT_EQ(roots, expected);

    // Which stored folders lie on a remote mount, by text alone.
    EXPECT_TRUE(isOnRemoteMount("/mnt/gone share/site", mounts));
    EXPECT_TRUE(isOnRemoteMount("/mnt/ssh", mounts));
    EXPECT_TRUE(isOnRemoteMount("/mnt/ssh/../also-gone/x/", mounts));
    EXPECT_FALSE(isOnRemoteMount("/mnt/sshx", mounts));
    EXPECT_FALSE(isOnRemoteMount(root + "/my stick/a", mounts));
}

TEST(MountTable, AnUnansweredCheckCountsAsNoAnswer)
{
    using namespace std::chrono_literals;
    EXPECT_TRUE(answersWithin([] { return true; }, 5s));
    EXPECT_FALSE(answersWithin([] { return false; }, 5s));
    // A check stuck longer than the time is left behind.
    EXPECT_FALSE(answersWithin(
        [] {
            std::this_thread::sleep_for(2s);
            return true;
        },
        50ms));
}

TEST(DriveRoot, MatchesAListedMountPointAsWrittenFirst)
{
    const QStringList roots{"/", "/media/ stick ", "/media/usb"};
    EXPECT_EQ(driveRoot("/media/ stick ", roots), "/media/ stick ");
    EXPECT_EQ(driveRoot("/media/ stick /", roots), "/media/ stick ");
    EXPECT_EQ(driveRoot(" /media/usb ", roots), "/media/usb");
    EXPECT_EQ(driveRoot("\\media\\usb\\", roots), "/media/usb");
    EXPECT_EQ(driveRoot("c:\\", roots), "/");
    EXPECT_EQ(driveRoot("  ", roots), "/");

    DriveList drive;
    drive.setDriveSource([&] {
        return QList<DriveEntry>{{"/", "/"}, {"/media/ stick ", "/media/ stick "}};
    });
    EXPECT_TRUE(drive.setDrive("/media/ stick "));
    EXPECT_EQ(drive.drive(), "/media/ stick ");
}

TEST(FileListPane, ClickAndDoubleClickSignals)
{
    Tree t;
    FileList files;
    ASSERT_TRUE(files.setPath(t.root));
    files.resize(200, 300);
    files.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&files));
    QSignalSpy clicked(&files, &FileList::fileClicked);
    QSignalSpy activated(&files, &FileList::fileActivated);
    const QPoint at = files.visualItemRect(files.item(1)).center();
    QTest::mouseClick(files.viewport(), Qt::LeftButton, {}, at);
    ASSERT_EQ(clicked.size(), 1);
    EXPECT_EQ(clicked[0][0].toString(), "b.htm");
    EXPECT_EQ(files.currentName(), "b.htm");
    QTest::mouseDClick(files.viewport(), Qt::LeftButton, {}, at);
    ASSERT_EQ(activated.size(), 1);
    EXPECT_EQ(activated[0][0].toString(), "b.htm");
}

TEST(FileListPane, OnlyPicturesStartADrag)
{
    Tree t;
    FileList files;
    files.setPictureDrag(true);
    ASSERT_TRUE(files.setPath(t.root));

    ASSERT_TRUE(files.selectName("photo.JPG"));
    std::unique_ptr<QMimeData> data(files.pictureDragData());
    ASSERT_TRUE(data);
    EXPECT_EQ(data->text(), "photo.JPG");
    EXPECT_EQ(data->urls(), QList<QUrl>({QUrl::fromLocalFile(t.root + "/photo.JPG")}));
    EXPECT_EQ(data->data(kPictureDragFormat), "photo.JPG");

    ASSERT_TRUE(files.selectName("b.htm"));
    EXPECT_EQ(files.pictureDragData(), nullptr);

    // A real press and move on the list: a picture starts a drag, a page does not.
    files.resize(200, 300);
    files.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&files));
    QSignalSpy started(&files, &FileList::pictureDragStarted);
    auto dragFrom = [&files](const QString &name) {
        const auto found = files.findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        const QPoint at = files.visualItemRect(found[0]).center();
        QTest::mousePress(files.viewport(), Qt::LeftButton, {}, at);
        // Moves with the button held (QTest::mouseMove carries no buttons); the view arms
        // the drag on the first and starts it past the drag distance.
        for (int dx : {2, 40}) {
            QMouseEvent move(QEvent::MouseMove, at + QPoint(dx, 0),
                             files.viewport()->mapToGlobal(at + QPoint(dx, 0)), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(files.viewport(), &move);
        }
        QTest::mouseRelease(files.viewport(), Qt::LeftButton, {}, at + QPoint(40, 0));
    };
    dragFrom("b.htm");
    EXPECT_EQ(started.size(), 0);
    dragFrom("photo.JPG");
    ASSERT_EQ(started.size(), 1);
    EXPECT_EQ(started[0][0].toString(), "photo.JPG");
}

TEST(DirectoryListPane, ShowsAncestorsThenSubdirectoriesAndEntersOnDoubleClick)
{
    Tree t;
    DirectoryList dirs;
    QSignalSpy changed(&dirs, &DirectoryList::directoryChanged);
    ASSERT_TRUE(dirs.setPath(t.root));
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(dirs.path(), t.root);

    const int depth = int(t.root.split('/', Qt::SkipEmptyParts).size());
    const int current = dirs.currentDirectoryRow();
    EXPECT_EQ(current, depth);
    EXPECT_EQ(dirs.entryPath(0), "/");
    EXPECT_EQ(dirs.entryPath(current), t.root);
    EXPECT_EQ(dirs.entryPath(current - 1), QFileInfo(t.root).path());
    // Subdirectories follow the current one, sorted, hidden ones left out.
    ASSERT_EQ(dirs.count(), current + 3);
    EXPECT_EQ(dirs.entryPath(current + 1), t.root + "/Alpha");
    EXPECT_EQ(dirs.entryPath(current + 2), t.root + "/sub two");
    EXPECT_EQ(dirs.item(current + 2)->text().trimmed(), "sub two");

    // Setting the same path again is no change.
    EXPECT_TRUE(dirs.setPath(t.root + "/"));
    EXPECT_EQ(changed.size(), 1);
    EXPECT_FALSE(dirs.setPath(t.root + "/missing"));
    EXPECT_EQ(dirs.path(), t.root);

    dirs.resize(300, 600);
    dirs.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dirs));
    const QPoint subTwo = dirs.visualItemRect(dirs.item(current + 2)).center();
    QTest::mouseClick(dirs.viewport(), Qt::LeftButton, {}, subTwo);
    EXPECT_EQ(dirs.path(), t.root); // a click only selects
    QTest::mouseDClick(dirs.viewport(), Qt::LeftButton, {}, subTwo);
    EXPECT_EQ(dirs.path(), t.root + "/sub two");
    EXPECT_EQ(changed.size(), 2);
    EXPECT_EQ(dirs.entryPath(dirs.currentDirectoryRow() + 1), t.root + "/sub two/deeper");

    // Enter on an ancestor goes up.
    dirs.setCurrentRow(dirs.currentDirectoryRow() - 1);
    QTest::keyClick(&dirs, Qt::Key_Return);
    EXPECT_EQ(dirs.path(), t.root);

    // A removed current directory gives way to its parent on refresh.
    ASSERT_TRUE(dirs.setPath(t.root + "/sub two/deeper"));
    QDir(t.root + "/sub two").removeRecursively();
    dirs.refresh();
    EXPECT_EQ(dirs.path(), t.root);
}

TEST(FilePanesSet, DriveDirectoryAndFilesFollowEachOther)
{
    Tree t;
    QTemporaryDir otherVolume;
    const QString other = cleanDirectoryPath(otherVolume.path());
    touch(other + "/on other.htm");
    const QString gone = other + "/not mounted";

    test::FakePlatform platform;
    DriveList drive;
    drive.setDriveSource([&] {
        return QList<DriveEntry>{{"/", "/"}, {other, other + " [OTHER]"}, {gone, gone}};
    });
    DirectoryList dirs;
    FileList files;
    FilePanes panes(&drive, &dirs, &files, platform);
    QSignalSpy changed(&panes, &FilePanes::changed);

    panes.open("/", t.root);
    EXPECT_EQ(drive.drive(), "/");
    EXPECT_EQ(dirs.path(), t.root);
    EXPECT_EQ(files.path(), t.root);
    EXPECT_TRUE(files.fileNames().contains("b.htm"));

    // Picking another volume moves the directory and file lists to its root.
    drive.setCurrentIndex(1);
    emit drive.activated(1);
    EXPECT_EQ(drive.drive(), other);
    EXPECT_EQ(dirs.path(), other);
    EXPECT_EQ(files.fileNames(), QStringList({"on other.htm"}));

    // A volume that cannot be read: the message, the drive list back on "/", lists unchanged.
    EXPECT_TRUE(drive.setDrive(gone)); // listed, so selected before the directory list refuses it
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0],
              (test::MessageRecord{"Sorry...", "Please Insert A Disk In The Drive First",
                                   MsgButtons::Ok, MsgIcon::Information}));
    EXPECT_EQ(drive.drive(), "/");
    EXPECT_EQ(drive.currentText(), "/");
    EXPECT_EQ(dirs.path(), other);

    // Entering a directory lists its files; showing a path selects its volume quietly.
    ASSERT_TRUE(dirs.setPath(t.root + "/sub two"));
    EXPECT_EQ(files.path(), t.root + "/sub two");
    EXPECT_TRUE(files.fileNames().isEmpty());
    EXPECT_TRUE(panes.showDirectory(other + "/"));
    EXPECT_EQ(drive.drive(), other);
    EXPECT_EQ(files.fileNames(), QStringList({"on other.htm"}));
    EXPECT_FALSE(panes.showDirectory(t.root + "/missing"));
    EXPECT_EQ(dirs.path(), other);

    // Refresh picks up new files.
    touch(other + "/new.htm");
    panes.refresh();
    EXPECT_EQ(files.fileNames(), QStringList({"new.htm", "on other.htm"}));
    EXPECT_GE(changed.size(), 5);

    // Opening on an unknown drive and a missing directory falls back to "/" and its root.
    DriveList drive2;
    DirectoryList dirs2;
    FileList files2;
    FilePanes panes2(&drive2, &dirs2, &files2, platform);
    panes2.open("/no/such/volume", t.root + "/missing");
    EXPECT_EQ(drive2.drive(), "/");
    EXPECT_EQ(dirs2.path(), "/");
    EXPECT_EQ(files2.path(), "/");
    EXPECT_EQ(platform.messages.size(), 1);
}
