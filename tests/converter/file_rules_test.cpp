// What the library reads and writes on real files: only regular files, never the source
// itself, nothing lost on a full disk, links and owners kept.
#include "quorvel_library.h"
#include "scratch_dir.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string kRtf = "{\\rtf1{\\colortbl}new}\r\n";

class QuorvelFiles : public quorvel_test::ScratchDirTest {
protected:
    QuorvelFiles() : ScratchDirTest("quorvel-files-") {}

    // Converts `source` into `target`; "" on success, else the library's message.
    std::string convert(const std::string &source, const std::string &target)
    {
        quorvel::TQuorvel converter;
        try {
            quorvel::convertFile(converter, source, target);
            return "";
        } catch (const std::exception &e) {
            return e.what();
        }
    }
    std::vector<std::string> entries(const std::string &folder = "") const
    {
        std::vector<std::string> names;
        for (const auto &entry : fs::directory_iterator(folder.empty() ? dir_ : fs::path(folder)))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    static struct stat info(const std::string &path)
    {
        struct stat info {};
        EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
        return info;
    }
};

// While it lives, the process acts as "nobody" when it is the superuser.
class AsNobody {
public:
    AsNobody() { switched_ = geteuid() == 0 && setegid(65534) == 0 && seteuid(65534) == 0; }
    ~AsNobody()
    {
        if (switched_ && (seteuid(0) != 0 || setegid(0) != 0))
            ADD_FAILURE() << "cannot return to the superuser";
    }

private:
    bool switched_ = false;
};

} // namespace

TEST_F(QuorvelFiles, OnlyRegularFilesAreReadAndWritten)
{
    write("in.rtf", kRtf);
    ASSERT_EQ(::mkfifo(path("pipe.html").c_str(), 0666), 0);
    EXPECT_EQ(convert(path("in.rtf"), path("pipe.html")),
              "Quorvel: cannot create \"" + path("pipe.html")
                  + "\": not a regular file but a named pipe");
    EXPECT_TRUE(fs::is_fifo(path("pipe.html")));
    fs::create_symlink("pipe.html", path("to-pipe.html"));
    EXPECT_NE(convert(path("in.rtf"), path("to-pipe.html")), "");
    EXPECT_TRUE(fs::is_fifo(path("pipe.html")));
    fs::create_directory(path("folder.html"));
    EXPECT_NE(convert(path("in.rtf"), path("folder.html")), "");
    if (geteuid() == 0) {
        ASSERT_EQ(::mknod(path("null.html").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
        EXPECT_EQ(convert(path("in.rtf"), path("null.html")),
                  "Quorvel: cannot create \"" + path("null.html")
                      + "\": not a regular file but a device");
        EXPECT_TRUE(fs::is_character_file(path("null.html")));
    }

    // A pipe without a writer or an endless device as the source is refused, not waited on.
    auto refused = std::async(std::launch::async, [&] {
        return std::make_pair(convert(path("pipe.html"), path("out.html")),
                              convert("/dev/zero", path("out.html")));
    });
    ASSERT_EQ(refused.wait_for(std::chrono::seconds(20)), std::future_status::ready)
        << "reading a pipe or device hangs";
    const auto [pipe, zero] = refused.get();
    EXPECT_EQ(pipe, "Quorvel: cannot open \"" + path("pipe.html")
                        + "\": not a regular file but a named pipe");
    EXPECT_EQ(zero, "Quorvel: cannot open \"/dev/zero\": not a regular file but a device");
    EXPECT_FALSE(fs::exists(path("out.html")));

    EXPECT_EQ(convert(path("in.rtf"), ""),
              "Quorvel: no target file was given. Conversion aborted.");
    std::vector<std::string> expected = {"folder.html", "in.rtf", "pipe.html", "to-pipe.html"};
    if (geteuid() == 0)
        expected.insert(expected.begin() + 2, "null.html");
    EXPECT_EQ(entries(), expected);
}

TEST_F(QuorvelFiles, TheSourceIsNeverItsOwnTarget)
{
    write("doc.rtf", kRtf);
    fs::create_symlink("doc.rtf", path("doc.html"));
    fs::create_hard_link(path("doc.rtf"), path("hard.html"));
    for (const char *target : {"doc.html", "hard.html", "doc.rtf"}) {
        EXPECT_EQ(convert(path("doc.rtf"), path(target)),
                  "Quorvel: \"" + path(target)
                      + "\" is the source file itself. Conversion aborted.");
        EXPECT_EQ(read("doc.rtf"), kRtf);
    }
    EXPECT_TRUE(fs::is_symlink(path("doc.html")));
}

TEST_F(QuorvelFiles, ReadOnlyTargetsAreRefusedEvenForTheSuperuser)
{
    write("in.rtf", kRtf);
    write("locked.html", "old");
    fs::permissions(path("locked.html"),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(convert(path("in.rtf"), path("locked.html")),
              "Quorvel: cannot create \"" + path("locked.html") + "\": the file is read-only");
    EXPECT_EQ(read("locked.html"), "old");
    EXPECT_EQ(entries(), (std::vector<std::string>{"in.rtf", "locked.html"}));
}

TEST_F(QuorvelFiles, LinksOwnersAndLongNamesAreKept)
{
    write("in.rtf", kRtf);
    // Hard links stay one file.
    write("a.html", "old");
    fs::create_hard_link(path("a.html"), path("b.html"));
    ASSERT_EQ(convert(path("in.rtf"), path("a.html")), "");
    EXPECT_EQ(read("b.html"), "new\r\n");
    EXPECT_EQ(fs::hard_link_count(path("a.html")), 2u);

    // A dangling link creates its target.
    fs::create_directory(path("sub"));
    fs::create_symlink("sub/later.html", path("dangling.html"));
    ASSERT_EQ(convert(path("in.rtf"), path("dangling.html")), "");
    EXPECT_EQ(read("sub/later.html"), "new\r\n");
    EXPECT_TRUE(fs::is_symlink(path("dangling.html")));

    // Names as long as names may be.
    for (std::size_t length : {239u, 255u}) {
        const std::string name = std::string(length - 5, 'n') + ".html";
        ASSERT_EQ(convert(path("in.rtf"), path(name)), "") << length;
        write(name, "old");
        ASSERT_EQ(convert(path("in.rtf"), path(name)), "") << length;
        EXPECT_EQ(read(name), "new\r\n");
        fs::remove(path(name));
    }

    if (geteuid() != 0)
        return; // the rest needs the superuser
    // The superuser converting into another user's file leaves it that user's.
    write("theirs.html", "old");
    ASSERT_EQ(::chown(path("theirs.html").c_str(), 65534, 65534), 0);
    ASSERT_EQ(convert(path("in.rtf"), path("theirs.html")), "");
    EXPECT_EQ(info(path("theirs.html")).st_uid, 65534u);
    EXPECT_EQ(info(path("theirs.html")).st_gid, 65534u);

    // A writable file in a folder the user may not write is written in place.
    fs::create_directory(path("www"));
    write("www/page.html", "old");
    fs::permissions(dir_, fs::perms::all);
    fs::permissions(path("in.rtf"), fs::perms::all);
    fs::permissions(path("www/page.html"), fs::perms::all);
    fs::permissions(path("www"), fs::perms::owner_all | fs::perms::group_read
                                     | fs::perms::group_exec | fs::perms::others_read
                                     | fs::perms::others_exec);
    std::string result;
    {
        AsNobody nobody;
        result = convert(path("in.rtf"), path("www/page.html"));
    }
    EXPECT_EQ(result, "");
    EXPECT_EQ(read("www/page.html"), "new\r\n");
    EXPECT_EQ(info(path("www/page.html")).st_uid, 0u);
    EXPECT_EQ(entries(path("www")), std::vector<std::string>{"page.html"});
}

TEST_F(QuorvelFiles, AFullDiskKeepsTheOldTarget)
{
    fs::create_directory(path("disk"));
    const std::string disk = path("disk");
    if (::mount("tmpfs", disk.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=262144") != 0)
        GTEST_SKIP() << "a small tmpfs cannot be mounted here (" << std::strerror(errno)
                     << "), so the full-disk checks cannot run";
    struct Unmount {
        std::string path;
        ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
    } unmount{disk};

    std::string big = "{\\rtf1{\\colortbl}";
    big += std::string(300000, 'x') + "}\r\n";
    write("big.rtf", big);
    write("small.rtf", kRtf);
    write("disk/out.html", std::string(6000, 'o'));
    write("disk/linked.html", std::string(6000, 'o'));
    fs::create_hard_link(path("disk/linked.html"), path("disk/other.html"));
    {
        const int fd = ::open(path("disk/filler").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        ASSERT_GE(fd, 0);
        const std::string block(4096, 'f');
        while (::write(fd, block.data(), block.size()) > 0) {
        }
        while (::write(fd, block.data(), 1) > 0) {
        }
        ::close(fd);
    }
    const std::vector<std::string> before = entries(disk);
    for (const std::string source : {"small.rtf", "big.rtf"}) {
        for (const std::string target : {"disk/out.html", "disk/linked.html", "disk/new.html"}) {
            // Written in place over the old bytes, a shorter document needs no room.
            if (target == "disk/linked.html" && source == "small.rtf")
                continue;
            const std::string message = convert(path(source), path(target));
            EXPECT_EQ(message, std::string("Quorvel: cannot ")
                                   + (target == "disk/new.html" ? "create" : "write") + " \""
                                   + path(target) + "\": No space left on device");
        }
        EXPECT_EQ(read("disk/out.html"), std::string(6000, 'o'));
        EXPECT_EQ(read("disk/linked.html"), std::string(6000, 'o'));
        EXPECT_EQ(entries(disk), before);
    }
}

#endif
