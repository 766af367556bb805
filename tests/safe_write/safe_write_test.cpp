// The checked write on real files: full disks, links, special files, other owners and
// folders the user may not write.
#include "safe_write/safe_write.h"
#include "support/as_nobody.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace fs = std::filesystem;
using pagewick_test::AsNobody;
using safe_write::Access;
using safe_write::Failure;
using safe_write::FileKind;
using safe_write::Result;
using safe_write::Stage;
using safe_write::writeFile;

namespace {

using Names = std::vector<std::string>;

::testing::AssertionResult written(const Result &result)
{
    if (result)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << result.reason;
}

Result ownerOnly(const std::string &path, std::string_view bytes)
{
    safe_write::Options options;
    options.access = Access::OwnerOnly;
    return writeFile(path, bytes, options);
}

// With AsNobody, makes permission checks real for the superuser: folders become rwx and
// files rw for every user, and a test then locks what it wants out of reach.
void openToEveryone(const fs::path &root)
{
    const auto readWrite = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read
                           | fs::perms::group_write | fs::perms::others_read
                           | fs::perms::others_write;
    fs::permissions(root, fs::perms::all);
    for (const fs::directory_entry &entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_symlink())
            fs::permissions(entry.path(), entry.is_directory() ? fs::perms::all : readWrite);
    }
}

class SafeWrite : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string folder = (fs::temp_directory_path() / "safe-write-XXXXXX").string();
        ASSERT_NE(::mkdtemp(folder.data()), nullptr) << std::strerror(errno);
        dir_ = folder;
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::permissions(dir_ / "www", fs::perms::all, ignored);
        fs::remove_all(dir_, ignored);
    }

    std::string path(const std::string &name) const { return (dir_ / name).string(); }
    std::string put(const std::string &name, const std::string &bytes) const
    {
        std::ofstream(path(name), std::ios::binary) << bytes;
        return path(name);
    }
    static std::string read(const std::string &file)
    {
        std::ifstream in(file, std::ios::binary);
        if (!in)
            return "<unreadable>";
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    // Everything in the folder, hidden names included: no temporary file may stay behind.
    Names entries(const std::string &folder = "") const
    {
        Names names;
        for (const fs::directory_entry &entry :
             fs::directory_iterator(folder.empty() ? dir_ : fs::path(folder)))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    static struct stat info(const std::string &file, bool follow = true)
    {
        struct stat st {};
        EXPECT_EQ(follow ? ::stat(file.c_str(), &st) : ::lstat(file.c_str(), &st), 0) << file;
        return st;
    }

    fs::path dir_;
};

TEST_F(SafeWrite, WritesNewAndExistingFilesWhole)
{
    EXPECT_TRUE(written(writeFile(path("new.html"), "fresh")));
    EXPECT_EQ(read(path("new.html")), "fresh");
    put("old.html", std::string(5000, 'o'));
    EXPECT_TRUE(written(writeFile(path("old.html"), "short")));
    EXPECT_EQ(read(path("old.html")), "short");
    EXPECT_TRUE(written(writeFile(path("old.html"), "")));
    EXPECT_EQ(read(path("old.html")), "");
    // Bytes are bytes: a NUL and what follows it arrive too.
    EXPECT_TRUE(written(writeFile(path("old.html"), std::string_view("a\0b\r\n", 5))));
    EXPECT_EQ(read(path("old.html")), std::string("a\0b\r\n", 5));
    EXPECT_EQ(entries(), (Names{"new.html", "old.html"}));

    // A name as long as names may be leaves no room for a suffix: the temporary name is short.
    for (std::size_t length : {239u, 250u, 255u}) {
        const std::string name = std::string(length - 5, 'n') + ".html";
        ASSERT_TRUE(written(writeFile(path(name), "first"))) << length;
        ASSERT_TRUE(written(writeFile(path(name), "second"))) << length;
        EXPECT_EQ(read(path(name)), "second");
    }
}

TEST_F(SafeWrite, KeepsModeAttributesAndAccessLists)
{
    const std::string file = put("doc.html", "old");
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    if (::setxattr(file.c_str(), "user.origin", "site", 4, 0) != 0)
        GTEST_SKIP() << "this file system has no user attributes";
    // An access list giving user 65534 read access: owner rw, named user r, group r, mask r.
    struct Entry {
        std::uint16_t tag, perm;
        std::uint32_t id;
    };
    const Entry acl[] = {{0x01, 6, 0xFFFFFFFF},
                         {0x02, 4, 65534},
                         {0x04, 4, 0xFFFFFFFF},
                         {0x10, 4, 0xFFFFFFFF},
                         {0x20, 0, 0xFFFFFFFF}};
    std::string blob("\x02\x00\x00\x00", 4);
    blob.append(reinterpret_cast<const char *>(acl), sizeof acl);
    const bool haveAcl =
        ::setxattr(file.c_str(), "system.posix_acl_access", blob.data(), blob.size(), 0) == 0;

    ASSERT_TRUE(written(writeFile(file, "new")));
    EXPECT_EQ(read(file), "new");
    EXPECT_EQ(info(file).st_mode & 07777, 0640u);
    char value[16] = {};
    EXPECT_EQ(::getxattr(file.c_str(), "user.origin", value, sizeof value), 4);
    EXPECT_STREQ(value, "site");
    if (haveAcl) {
        std::string kept(256, '\0');
        const ssize_t size =
            ::getxattr(file.c_str(), "system.posix_acl_access", kept.data(), kept.size());
        ASSERT_GT(size, 0);
        kept.resize(static_cast<std::size_t>(size));
        EXPECT_EQ(kept, blob);
    }
    EXPECT_EQ(entries(), Names{"doc.html"});
}

TEST_F(SafeWrite, OwnerOnlyFilesLoseEveryOtherRightBeforeTheBytesArrive)
{
    const mode_t oldMask = ::umask(0);
    EXPECT_TRUE(written(ownerOnly(path("new.def"), "secret")));
    ::umask(oldMask);
    EXPECT_EQ(info(path("new.def")).st_mode & 07777, 0600u);
    EXPECT_EQ(read(path("new.def")), "secret");

    // Replaced by a new file, and written in place (a file with a second name).
    const std::string open = put("open.def", "old");
    ASSERT_EQ(::chmod(open.c_str(), 0664), 0);
    EXPECT_TRUE(written(ownerOnly(open, "secret")));
    EXPECT_EQ(info(open).st_mode & 07777, 0600u);
    const std::string linked = put("linked.def", "old");
    ASSERT_EQ(::chmod(linked.c_str(), 0644), 0);
    ASSERT_EQ(::link(linked.c_str(), path("second.def").c_str()), 0);
    EXPECT_TRUE(written(ownerOnly(linked, "secret")));
    EXPECT_EQ(info(linked).st_ino, info(path("second.def")).st_ino);
    EXPECT_EQ(info(linked).st_mode & 07777, 0600u);
    EXPECT_EQ(read(path("second.def")), "secret");

    // Another user's file cannot be closed to others: the secret does not go into it.
    const std::string others = put("others.def", "old");
    openToEveryone(dir_);
    {
        AsNobody nobody;
        if (geteuid() == info(others).st_uid)
            GTEST_SKIP() << "needs a second user: run as the administrator";
        const Result result = ownerOnly(others, "secret");
        EXPECT_EQ(result.failure, Failure::System);
        EXPECT_FALSE(result.reason.empty());
    }
    EXPECT_EQ(read(others), "old");
    EXPECT_EQ(info(others).st_mode & 0777, 0666u);
}

TEST_F(SafeWrite, LinksStayLinks)
{
    // A hard link: both names see the new bytes and stay one file.
    const std::string first = put("first.html", "old");
    ASSERT_EQ(::link(first.c_str(), path("second.html").c_str()), 0);
    ASSERT_TRUE(written(writeFile(first, "new")));
    EXPECT_EQ(read(path("second.html")), "new");
    EXPECT_EQ(info(first).st_ino, info(path("second.html")).st_ino);
    EXPECT_EQ(info(first).st_nlink, 2u);

    // A symbolic link, through a second one: the file at the end gets the bytes.
    fs::create_directory(path("real"));
    const std::string real = put("real/page.html", "old");
    fs::create_symlink("real/page.html", path("link.html"));
    fs::create_symlink("link.html", path("link2.html"));
    ASSERT_TRUE(written(writeFile(path("link2.html"), "through")));
    EXPECT_EQ(read(real), "through");
    EXPECT_TRUE(S_ISLNK(info(path("link.html"), false).st_mode));
    EXPECT_TRUE(S_ISLNK(info(path("link2.html"), false).st_mode));

    // A link to nothing yet creates its target, relative to the link's folder.
    fs::create_symlink("real/later.html", path("dangling.html"));
    ASSERT_TRUE(written(writeFile(path("dangling.html"), "made")));
    EXPECT_EQ(read(path("real/later.html")), "made");
    EXPECT_TRUE(S_ISLNK(info(path("dangling.html"), false).st_mode));
    EXPECT_EQ(entries(path("real")), (Names{"later.html", "page.html"}));

    // A loop of links is an error, not a hang.
    fs::create_symlink("loop-b", path("loop-a"));
    fs::create_symlink("loop-a", path("loop-b"));
    const Result loop = writeFile(path("loop-a"), "x");
    EXPECT_EQ(loop.failure, Failure::System);
    EXPECT_EQ(loop.error, ELOOP);
    EXPECT_FALSE(loop.reason.empty());
}

TEST_F(SafeWrite, RefusesWhatIsNotARegularFile)
{
    const Result unnamed = writeFile("", "x");
    EXPECT_EQ(unnamed.failure, Failure::NoPath);
    EXPECT_EQ(unnamed.reason, "No file name was given");

    ASSERT_EQ(::mkfifo(path("pipe.html").c_str(), 0666), 0);
    const Result pipe = writeFile(path("pipe.html"), "x");
    EXPECT_EQ(pipe.failure, Failure::NotRegularFile);
    EXPECT_EQ(pipe.kind, FileKind::NamedPipe);
    EXPECT_EQ(pipe.stage, Stage::Create);
    EXPECT_EQ(pipe.reason, "The file is a named pipe, not a regular file");
    EXPECT_TRUE(S_ISFIFO(info(path("pipe.html")).st_mode));

    // Through a link the pipe is refused too, and the link stays.
    fs::create_symlink("pipe.html", path("to-pipe.html"));
    EXPECT_EQ(writeFile(path("to-pipe.html"), "x").kind, FileKind::NamedPipe);
    EXPECT_TRUE(S_ISLNK(info(path("to-pipe.html"), false).st_mode));
    EXPECT_TRUE(S_ISFIFO(info(path("pipe.html")).st_mode));

    fs::create_directory(path("folder.html"));
    const Result folder = writeFile(path("folder.html"), "x");
    EXPECT_EQ(folder.kind, FileKind::Folder);
    EXPECT_EQ(folder.reason, "The name belongs to a folder, not a file");

    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string sockName = path("sock.html");
    ASSERT_LT(sockName.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, sockName.data(), sockName.size());
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    const Result socket = writeFile(sockName, "x");
    EXPECT_EQ(socket.kind, FileKind::Socket);
    EXPECT_EQ(socket.reason, "The file is a socket, not a regular file");
    ::close(sock);

    Names expected = {"folder.html", "pipe.html", "sock.html", "to-pipe.html"};
    // A device stays a device: as the administrator, a write that replaced it would turn
    // the system's null device into a file.
    if (geteuid() == 0) {
        ASSERT_EQ(::mknod(path("null.html").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
        const Result device = writeFile(path("null.html"), "x");
        EXPECT_EQ(device.kind, FileKind::Device);
        EXPECT_EQ(device.reason, "The file is a device, not a regular file");
        EXPECT_TRUE(S_ISCHR(info(path("null.html")).st_mode));
        expected.insert(expected.begin() + 1, "null.html");
    }
    EXPECT_EQ(entries(), expected);
}

TEST_F(SafeWrite, ReadOnlyFilesAreRefusedForEveryUser)
{
    const std::string file = put("locked.html", "old");
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    // Run as whoever runs the tests: the administrator is refused as well.
    const Result result = writeFile(file, "new");
    EXPECT_EQ(result.failure, Failure::ReadOnly);
    EXPECT_EQ(result.reason, "The file is read-only");
    EXPECT_EQ(read(file), "old");
    EXPECT_EQ(entries(), Names{"locked.html"});
}

TEST_F(SafeWrite, OtherOwnersAndClosedFoldersAreWrittenInPlace)
{
    // Owner and group stay when the administrator saves another user's file.
    const std::string owned = put("owned.html", "old");
    if (geteuid() == 0) {
        ASSERT_EQ(::chown(owned.c_str(), 65534, 65534), 0);
        ASSERT_TRUE(written(writeFile(owned, "new")));
        EXPECT_EQ(read(owned), "new");
        EXPECT_EQ(info(owned).st_uid, 65534u);
        EXPECT_EQ(info(owned).st_gid, 65534u);
    }

    // A writable file in a folder the user may not write (a web server's folder): the file
    // is written in place and keeps its owner.
    fs::create_directory(path("www"));
    const std::string page = put("www/page.html", "old page");
    const std::string shared = put("shared.html", "old shared");
    openToEveryone(dir_);
    ASSERT_EQ(::chmod(path("www").c_str(), 0555), 0);
    const struct stat before = info(page);
    {
        AsNobody nobody;
        EXPECT_TRUE(written(writeFile(page, "new page")));
        // Another user's writable file in a writable folder: a new file would belong to the
        // writer, so this one is written in place as well.
        EXPECT_TRUE(written(writeFile(shared, "new shared")));
    }
    EXPECT_EQ(read(page), "new page");
    EXPECT_EQ(read(shared), "new shared");
    EXPECT_EQ(info(page).st_uid, before.st_uid);
    EXPECT_EQ(info(page).st_ino, before.st_ino);
    EXPECT_EQ(info(shared).st_uid, before.st_uid);
    EXPECT_EQ(entries(path("www")), Names{"page.html"});
}

// A tiny file system of its own (tmpfs) on the folder "disk", filled up, so that a test sees
// what a write does on a full disk. Mounting needs the right to mount; without it the test
// is skipped.
class SafeWriteFullDisk : public SafeWrite {
protected:
    void SetUp() override
    {
        SafeWrite::SetUp();
        fs::create_directory(path("disk"));
        if (::mount("tmpfs", path("disk").c_str(), "tmpfs", MS_NOSUID | MS_NODEV,
                    "size=262144,mode=0777")
            != 0)
            GTEST_SKIP() << "a small tmpfs cannot be mounted here (" << std::strerror(errno)
                         << "), so the full-disk checks cannot run";
        mounted_ = true;
    }
    void TearDown() override
    {
        if (mounted_)
            ::umount2(path("disk").c_str(), MNT_DETACH);
        SafeWrite::TearDown();
    }
    // Whole blocks first, then single bytes for what is left of the last one.
    bool fill() const
    {
        const int fd =
            ::open(path("disk/filler").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (fd < 0)
            return false;
        const std::string block(4096, 'f');
        int error = 0;
        for (std::size_t size : {block.size(), std::size_t(1)}) {
            while (::write(fd, block.data(), size) >= 0) {
            }
            error = errno;
        }
        ::close(fd);
        return error == ENOSPC;
    }

    bool mounted_ = false;
};

TEST_F(SafeWriteFullDisk, AFailedWriteKeepsTheOldFileAndSaysSo)
{
    const std::string old(6000, 'o');
    const std::string file = put("disk/doc.html", old);
    const std::string linked = put("disk/linked.html", old);
    ASSERT_EQ(::link(linked.c_str(), path("disk/other-name.html").c_str()), 0);
    ASSERT_TRUE(fill());
    const Names before = entries(path("disk"));

    // Small writes too: they are the ones a buffering writer would report as done.
    for (const std::size_t size : {4u, 20000u, 400000u}) {
        const std::string bytes(size, 'n');
        // Replaced by a new file, which finds no room.
        Result result = writeFile(file, bytes);
        EXPECT_EQ(result.failure, Failure::System) << size;
        EXPECT_EQ(result.error, ENOSPC);
        EXPECT_EQ(result.reason, "No space left on device");
        EXPECT_EQ(result.stage, Stage::Write);
        EXPECT_EQ(read(file), old);
        // A file with another link is written in place; its old bytes go back. (Shorter
        // bytes over the old ones need no room.)
        if (size > old.size()) {
            result = writeFile(linked, bytes);
            EXPECT_EQ(result.reason, "No space left on device") << size;
            EXPECT_EQ(result.stage, Stage::Write);
            EXPECT_EQ(read(linked), old);
            EXPECT_EQ(info(linked).st_nlink, 2u);
        }
        result = writeFile(path("disk/new.html"), bytes);
        EXPECT_EQ(result.reason, "No space left on device") << size;
        EXPECT_EQ(result.stage, Stage::Create);
        EXPECT_EQ(entries(path("disk")), before);
    }
}

} // namespace
