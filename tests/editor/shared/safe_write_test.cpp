// The editor's one write routine on real files: full disks, links, special files, other
// owners and folders the user may not write.
#include "shared/safe_write.h"
#include "support/small_disk.h"
#include "support/unprivileged.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace pw;
using namespace pw::test;

namespace {

class SafeWrite : public ::testing::Test {
protected:
    QString path(const QString &name) const { return dir.filePath(name); }
    QString put(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    static QByteArray read(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    // Everything in the folder, hidden names included: no temporary file may stay behind.
    QStringList entries(const QString &folder = QString()) const
    {
        return QDir(folder.isEmpty() ? dir.path() : folder)
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                       QDir::Name);
    }
    static struct stat info(const QString &file, bool follow = true)
    {
        struct stat st {};
        const QByteArray name = QFile::encodeName(file);
        EXPECT_EQ(follow ? ::stat(name.constData(), &st) : ::lstat(name.constData(), &st), 0)
            << name.constData();
        return st;
    }

    QTemporaryDir dir;
};

TEST_F(SafeWrite, WritesNewAndExistingFilesWhole)
{
    QString error;
    EXPECT_TRUE(writeFileSafely(path("new.html"), "fresh", &error)) << error.toStdString();
    EXPECT_EQ(read(path("new.html")), "fresh");
    put("old.html", QByteArray(5000, 'o'));
    EXPECT_TRUE(writeFileSafely(path("old.html"), "short", &error)) << error.toStdString();
    EXPECT_EQ(read(path("old.html")), "short");
    EXPECT_TRUE(writeFileSafely(path("old.html"), QByteArray(), &error));
    EXPECT_EQ(read(path("old.html")), "");
    EXPECT_EQ(entries(), QStringList({"new.html", "old.html"}));

    // A name as long as names may be leaves no room for a suffix: the temporary name is short.
    for (int length : {239, 250, 255}) {
        const QString name = QString(length - 5, QLatin1Char('n')) + ".html";
        ASSERT_TRUE(writeFileSafely(path(name), "first", &error)) << length << error.toStdString();
        ASSERT_TRUE(writeFileSafely(path(name), "second", &error)) << length << error.toStdString();
        EXPECT_EQ(read(path(name)), "second");
    }
}

TEST_F(SafeWrite, KeepsModeAttributesAndAccessLists)
{
    const QString file = put("doc.html", "old");
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0640), 0);
    const QByteArray name = QFile::encodeName(file);
    if (::setxattr(name.constData(), "user.origin", "site", 4, 0) != 0)
        GTEST_SKIP() << "this file system has no user attributes";
    // An access list giving user 65534 read access: owner rw, named user r, group r, mask r.
    struct Entry {
        quint16 tag, perm;
        quint32 id;
    };
    const Entry acl[] = {{0x01, 6, 0xFFFFFFFF},
                         {0x02, 4, 65534},
                         {0x04, 4, 0xFFFFFFFF},
                         {0x10, 4, 0xFFFFFFFF},
                         {0x20, 0, 0xFFFFFFFF}};
    QByteArray blob = QByteArray::fromRawData("\x02\x00\x00\x00", 4);
    blob.append(reinterpret_cast<const char *>(acl), sizeof acl);
    const bool haveAcl = ::setxattr(name.constData(), "system.posix_acl_access", blob.constData(),
                                    size_t(blob.size()), 0)
                         == 0;

    QString error;
    ASSERT_TRUE(writeFileSafely(file, "new", &error)) << error.toStdString();
    EXPECT_EQ(read(file), "new");
    EXPECT_EQ(info(file).st_mode & 07777, 0640u);
    char value[16] = {};
    EXPECT_EQ(::getxattr(name.constData(), "user.origin", value, sizeof value), 4);
    EXPECT_STREQ(value, "site");
    if (haveAcl) {
        QByteArray kept(256, '\0');
        const ssize_t size = ::getxattr(name.constData(), "system.posix_acl_access", kept.data(),
                                        size_t(kept.size()));
        ASSERT_GT(size, 0);
        kept.truncate(size);
        EXPECT_EQ(kept, blob);
    }
    EXPECT_EQ(entries(), QStringList({"doc.html"}));
}

TEST_F(SafeWrite, OwnerOnlyFilesLoseEveryOtherRightBeforeTheBytesArrive)
{
    const mode_t oldMask = ::umask(0);
    QString error;
    EXPECT_TRUE(writeFileSafely(path("new.def"), "secret", &error, FileAccess::OwnerOnly))
        << error.toStdString();
    ::umask(oldMask);
    EXPECT_EQ(info(path("new.def")).st_mode & 07777, 0600u);
    EXPECT_EQ(read(path("new.def")), "secret");

    // Replaced by a new file, and written in place (a file with a second name).
    const QString open = put("open.def", "old");
    ASSERT_EQ(::chmod(QFile::encodeName(open).constData(), 0664), 0);
    EXPECT_TRUE(writeFileSafely(open, "secret", &error, FileAccess::OwnerOnly));
    EXPECT_EQ(info(open).st_mode & 07777, 0600u);
    const QString linked = put("linked.def", "old");
    ASSERT_EQ(::chmod(QFile::encodeName(linked).constData(), 0644), 0);
    ASSERT_EQ(::link(QFile::encodeName(linked).constData(),
                     QFile::encodeName(path("second.def")).constData()),
              0);
    EXPECT_TRUE(writeFileSafely(linked, "secret", &error, FileAccess::OwnerOnly))
        << error.toStdString();
    EXPECT_EQ(info(linked).st_ino, info(path("second.def")).st_ino);
    EXPECT_EQ(info(linked).st_mode & 07777, 0600u);
    EXPECT_EQ(read(path("second.def")), "secret");

    // Another user's file cannot be closed to others: the secret does not go into it.
    const QString others = put("others.def", "old");
    openToEveryone(dir.path());
    {
        AsUnprivilegedUser nobody;
        if (geteuid() == info(others).st_uid)
            GTEST_SKIP() << "needs a second user: run as the administrator";
        EXPECT_FALSE(writeFileSafely(others, "secret", &error, FileAccess::OwnerOnly));
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_EQ(read(others), "old");
    EXPECT_EQ(info(others).st_mode & 0777, 0666u);
}

TEST_F(SafeWrite, LinksStayLinks)
{
    QString error;
    // A hard link: both names see the new bytes and stay one file.
    const QString first = put("first.html", "old");
    ASSERT_EQ(::link(QFile::encodeName(first).constData(),
                     QFile::encodeName(path("second.html")).constData()),
              0);
    ASSERT_TRUE(writeFileSafely(first, "new", &error)) << error.toStdString();
    EXPECT_EQ(read(path("second.html")), "new");
    EXPECT_EQ(info(first).st_ino, info(path("second.html")).st_ino);
    EXPECT_EQ(info(first).st_nlink, 2u);

    // A symbolic link, through a second one: the file at the end gets the bytes.
    QDir().mkpath(path("real"));
    const QString real = put("real/page.html", "old");
    ASSERT_TRUE(QFile::link("real/page.html", path("link.html")));
    ASSERT_TRUE(QFile::link("link.html", path("link2.html")));
    ASSERT_TRUE(writeFileSafely(path("link2.html"), "through", &error)) << error.toStdString();
    EXPECT_EQ(read(real), "through");
    EXPECT_TRUE(S_ISLNK(info(path("link.html"), false).st_mode));
    EXPECT_TRUE(S_ISLNK(info(path("link2.html"), false).st_mode));

    // A link to nothing yet creates its target, relative to the link's folder.
    ASSERT_TRUE(QFile::link("real/later.html", path("dangling.html")));
    ASSERT_TRUE(writeFileSafely(path("dangling.html"), "made", &error)) << error.toStdString();
    EXPECT_EQ(read(path("real/later.html")), "made");
    EXPECT_TRUE(S_ISLNK(info(path("dangling.html"), false).st_mode));
    EXPECT_EQ(entries(path("real")), QStringList({"later.html", "page.html"}));

    // A loop of links is an error, not a hang.
    ASSERT_TRUE(QFile::link("loop-b", path("loop-a")));
    ASSERT_TRUE(QFile::link("loop-a", path("loop-b")));
    EXPECT_FALSE(writeFileSafely(path("loop-a"), "x", &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(SafeWrite, RefusesWhatIsNotARegularFile)
{
    QString error;
    EXPECT_FALSE(writeFileSafely(QString(), "x", &error));
    EXPECT_EQ(error, "No file name was given");

    const QByteArray fifo = QFile::encodeName(path("pipe.html"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0666), 0);
    EXPECT_FALSE(writeFileSafely(path("pipe.html"), "x", &error));
    EXPECT_EQ(error, "The file is a named pipe, not a regular file");
    EXPECT_TRUE(S_ISFIFO(info(path("pipe.html")).st_mode));

    // Through a link the pipe is refused too, and the link stays.
    ASSERT_TRUE(QFile::link("pipe.html", path("to-pipe.html")));
    EXPECT_FALSE(writeFileSafely(path("to-pipe.html"), "x", &error));
    EXPECT_TRUE(S_ISLNK(info(path("to-pipe.html"), false).st_mode));
    EXPECT_TRUE(S_ISFIFO(info(path("pipe.html")).st_mode));

    QDir().mkpath(path("folder.html"));
    EXPECT_FALSE(writeFileSafely(path("folder.html"), "x", &error));
    EXPECT_EQ(error, "The name belongs to a folder, not a file");

    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray sockName = QFile::encodeName(path("sock.html"));
    ASSERT_LT(size_t(sockName.size()), sizeof address.sun_path);
    std::memcpy(address.sun_path, sockName.constData(), size_t(sockName.size()));
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    EXPECT_FALSE(writeFileSafely(path("sock.html"), "x", &error));
    EXPECT_EQ(error, "The file is a socket, not a regular file");
    ::close(sock);

    QStringList expected = {"folder.html", "pipe.html", "sock.html", "to-pipe.html"};
    // A device stays a device: as the administrator, a write that replaced it would turn
    // the system's null device into a file.
    if (geteuid() == 0) {
        const QByteArray null = QFile::encodeName(path("null.html"));
        ASSERT_EQ(::mknod(null.constData(), S_IFCHR | 0666, makedev(1, 3)), 0);
        EXPECT_FALSE(writeFileSafely(path("null.html"), "x", &error));
        EXPECT_EQ(error, "The file is a device, not a regular file");
        EXPECT_TRUE(S_ISCHR(info(path("null.html")).st_mode));
        expected.insert(1, "null.html");
    }
    EXPECT_EQ(entries(), expected);
}

TEST_F(SafeWrite, ReadOnlyFilesAreRefusedForEveryUser)
{
    const QString file = put("locked.html", "old");
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0444), 0);
    QString error;
    // Run as whoever runs the tests: the administrator is refused as well.
    EXPECT_FALSE(writeFileSafely(file, "new", &error));
    EXPECT_EQ(error, "The file is read-only");
    EXPECT_EQ(read(file), "old");
    EXPECT_EQ(entries(), QStringList({"locked.html"}));
}

TEST_F(SafeWrite, OtherOwnersAndClosedFoldersAreWrittenInPlace)
{
    // Owner and group stay when the administrator saves another user's file.
    const QString owned = put("owned.html", "old");
    if (geteuid() == 0) {
        ASSERT_EQ(::chown(QFile::encodeName(owned).constData(), 65534, 65534), 0);
        QString error;
        ASSERT_TRUE(writeFileSafely(owned, "new", &error)) << error.toStdString();
        EXPECT_EQ(read(owned), "new");
        EXPECT_EQ(info(owned).st_uid, 65534u);
        EXPECT_EQ(info(owned).st_gid, 65534u);
    }

    // A writable file in a folder the user may not write (a web server's folder): the file
    // is written in place and keeps its owner.
    QDir().mkpath(path("www"));
    const QString page = put("www/page.html", "old page");
    const QString shared = put("shared.html", "old shared");
    openToEveryone(dir.path());
    ASSERT_EQ(::chmod(QFile::encodeName(path("www")).constData(), 0555), 0);
    const struct stat before = info(page);
    {
        AsUnprivilegedUser nobody;
        QString error;
        EXPECT_TRUE(writeFileSafely(page, "new page", &error)) << error.toStdString();
        // Another user's writable file in a writable folder: a new file would belong to the
        // writer, so this one is written in place as well.
        EXPECT_TRUE(writeFileSafely(shared, "new shared", &error)) << error.toStdString();
    }
    EXPECT_EQ(read(page), "new page");
    EXPECT_EQ(read(shared), "new shared");
    EXPECT_EQ(info(page).st_uid, before.st_uid);
    EXPECT_EQ(info(page).st_ino, before.st_ino);
    EXPECT_EQ(info(shared).st_uid, before.st_uid);
    EXPECT_EQ(entries(path("www")), QStringList({"page.html"}));
    ::chmod(QFile::encodeName(path("www")).constData(), 0755);
}

class SafeWriteFullDisk : public SafeWrite {
protected:
    void SetUp() override
    {
        QDir().mkpath(path("disk"));
        disk = std::make_unique<SmallDisk>(path("disk"), 256 * 1024);
        if (!disk->mounted())
            GTEST_SKIP() << disk->reason().toStdString();
    }
    std::unique_ptr<SmallDisk> disk;
};

TEST_F(SafeWriteFullDisk, AFailedWriteKeepsTheOldFileAndSaysSo)
{
    const QByteArray old(6000, 'o');
    const QString file = put("disk/doc.html", old);
    const QString linked = put("disk/linked.html", old);
    ASSERT_EQ(::link(QFile::encodeName(linked).constData(),
                     QFile::encodeName(path("disk/other-name.html")).constData()),
              0);
    ASSERT_TRUE(disk->fill());
    const QStringList before = entries(path("disk"));

    // Small writes too: they are the ones a buffering writer would report as done.
    for (const QByteArray &bytes :
         {QByteArray("tiny"), QByteArray(20000, 'n'), QByteArray(400000, 'n')}) {
        QString error;
        EXPECT_FALSE(writeFileSafely(file, bytes, &error)) << bytes.size();
        EXPECT_EQ(error, "No space left on device");
        EXPECT_EQ(read(file), old);
        // A file with another link is written in place; its old bytes go back.
        if (bytes.size() > old.size()) {
            EXPECT_FALSE(writeFileSafely(linked, bytes, &error)) << bytes.size();
            EXPECT_EQ(error, "No space left on device");
            EXPECT_EQ(read(linked), old);
            EXPECT_EQ(info(linked).st_nlink, 2u);
        }
        EXPECT_FALSE(writeFileSafely(path("disk/new.html"), bytes, &error));
        EXPECT_EQ(entries(path("disk")), before);
    }
}

} // namespace
