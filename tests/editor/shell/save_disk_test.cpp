// Save on a full disk, through links and as the administrator saving another user's file.
#include "support/main_window_harness.h"
#include "support/small_disk.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace pw;
using namespace pw::test;

namespace {

const MessageRecord kSaveFailed{
    "Sorry...",
    "The file may be read-only, you may not have enough permissions, \r\nor the disk is full or "
    "write-protected",
    MsgButtons::Ok, MsgIcon::Information};

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

TEST(SaveOnAFullDisk, FailsVisiblyAndKeepsTheFile)
{
    MainWindowHarness h;
    QDir().mkpath(h.path("disk"));
    SmallDisk disk(h.path("disk"), 256 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << disk.reason().toStdString();
    const QByteArray old = "<P>old</P>\r\n";
    const QString file = h.writeFile("disk/doc.html", old);
    MainWindow &w = h.start(file);
    ASSERT_TRUE(disk.fill());
    const QStringList before = entries(h.path("disk"));

    // A small change: the write a buffering writer would have reported as done.
    w.editBox().widget()->insertPlainText("<P>new</P>\r\n");
    h.platform.fileAnswers = {QString()}; // the Save As offered after the failure is cancelled
    EXPECT_FALSE(w.document().save());
    ASSERT_EQ(h.platform.messages.size(), 1);
    EXPECT_EQ(h.platform.messages[0], kSaveFailed);
    EXPECT_EQ(MainWindowHarness::readFile(file), old);
    EXPECT_EQ(entries(h.path("disk")), before);
    EXPECT_TRUE(w.document().isModified());
}

TEST(SaveKeepsTheFile, LinksAndOwnerStay)
{
    MainWindowHarness h;
    const QString real = h.writeFile("real/doc.html", "old\r\n");
    ASSERT_TRUE(QFile::link(real, h.path("link.html")));
    ASSERT_EQ(::link(QFile::encodeName(real).constData(),
                     QFile::encodeName(h.path("hard.html")).constData()),
              0);
    if (geteuid() == 0) {
        ASSERT_EQ(::chown(QFile::encodeName(real).constData(), 65534, 65534), 0);
    }
    MainWindow &w = h.start(h.path("link.html"));
    w.editBox().widget()->insertPlainText("X");
    ASSERT_TRUE(w.document().save());
    EXPECT_TRUE(QFileInfo(h.path("link.html")).isSymLink());
    EXPECT_EQ(MainWindowHarness::readFile(real), "Xold\r\n");
    EXPECT_EQ(MainWindowHarness::readFile(h.path("hard.html")), "Xold\r\n");
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(real).constData(), &info), 0);
    EXPECT_EQ(info.st_nlink, 2u);
    if (geteuid() == 0) {
        EXPECT_EQ(info.st_uid, 65534u);
        EXPECT_EQ(info.st_gid, 65534u);
    }
}
