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
    std::string Convert(const std::string &source, const std::string &target)
    {
        quorvel::TQuorvel converter;
        try {
            converter.ConvertFile(source, target);
            return "";
        } catch (const std::exception &e) {
            return e.what();
        }
    }
    std::vector<std::string> Entries(const std::string &folder = "") const
    {
        std::vector<std::string> names;
        for (const auto &entry : fs::directory_iterator(folder.empty() ? dir_ : fs::path(folder)))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    static struct stat Info(const std::string &path)
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
    Write("in.rtf", kRtf);
    ASSERT_EQ(::mkfifo(Path("pipe.html").c_str(), 0666), 0);
    EXPECT_EQ(Convert(Path("in.rtf"), Path("pipe.html")),
              "Quorvel: cannot create \"" + Path("pipe.html")
                  + "\": not a regular file but a named pipe");
    EXPECT_TRUE(fs::is_fifo(Path("pipe.html")));
    fs::create_symlink("pipe.html", Path("to-pipe.html"));
    EXPECT_NE(Convert(Path("in.rtf"), Path("to-pipe.html")), "");
    EXPECT_TRUE(fs::is_fifo(Path("pipe.html")));
    fs::create_directory(Path("folder.html"));
    EXPECT_NE(Convert(Path("in.rtf"), Path("folder.html")), "");
    if (geteuid() == 0) {
        ASSERT_EQ(::mknod(Path("null.html").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
        EXPECT_EQ(Convert(Path("in.rtf"), Path("null.html")),
                  "Quorvel: cannot create \"" + Path("null.html")
                      + "\": not a regular file but a device");
        EXPECT_TRUE(fs::is_character_file(Path("null.html")));
    }

    // A pipe without a writer or an endless device as the source is refused, not waited on.
    auto refused = std::async(std::launch::async, [&] {
        return std::make_pair(Convert(Path("pipe.html"), Path("out.html")),
                              Convert("/dev/zero", Path("out.html")));
    });
    ASSERT_EQ(refused.wait_for(std::chrono::seconds(20)), std::future_status::ready)
        << "reading a pipe or device hangs";
    const auto [pipe, zero] = refused.get();
    EXPECT_EQ(pipe, "Quorvel: cannot open \"" + Path("pipe.html")
                        + "\": not a regular file but a named pipe");
    EXPECT_EQ(zero, "Quorvel: cannot open \"/dev/zero\": not a regular file but a device");
    EXPECT_FALSE(fs::exists(Path("out.html")));

    EXPECT_EQ(Convert(Path("in.rtf"), ""),
              "Quorvel: no target file was given. Conversion aborted.");
    std::vector<std::string> expected = {"folder.html", "in.rtf", "pipe.html", "to-pipe.html"};
    if (geteuid() == 0)
        expected.insert(expected.begin() + 2, "null.html");
    EXPECT_EQ(Entries(), expected);
}

TEST_F(QuorvelFiles, TheSourceIsNeverItsOwnTarget)
{
    Write("doc.rtf", kRtf);
    fs::create_symlink("doc.rtf", Path("doc.html"));
    fs::create_hard_link(Path("doc.rtf"), Path("hard.html"));
    for (const char *target : {"doc.html", "hard.html", "doc.rtf"}) {
        EXPECT_EQ(Convert(Path("doc.rtf"), Path(target)),
                  "Quorvel: \"" + Path(target)
                      + "\" is the source file itself. Conversion aborted.");
        EXPECT_EQ(Read("doc.rtf"), kRtf);
    }
    EXPECT_TRUE(fs::is_symlink(Path("doc.html")));
}

TEST_F(QuorvelFiles, ReadOnlyTargetsAreRefusedEvenForTheSuperuser)
{
    Write("in.rtf", kRtf);
    Write("locked.html", "old");
    fs::permissions(Path("locked.html"),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(Convert(Path("in.rtf"), Path("locked.html")),
              "Quorvel: cannot create \"" + Path("locked.html") + "\": the file is read-only");
    EXPECT_EQ(Read("locked.html"), "old");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"in.rtf", "locked.html"}));
}

TEST_F(QuorvelFiles, LinksOwnersAndLongNamesAreKept)
{
    Write("in.rtf", kRtf);
    // Hard links stay one file.
    Write("a.html", "old");
    fs::create_hard_link(Path("a.html"), Path("b.html"));
    ASSERT_EQ(Convert(Path("in.rtf"), Path("a.html")), "");
    EXPECT_EQ(Read("b.html"), "new\r\n");
    EXPECT_EQ(fs::hard_link_count(Path("a.html")), 2u);

    // A dangling link creates its target.
    fs::create_directory(Path("sub"));
    fs::create_symlink("sub/later.html", Path("dangling.html"));
    ASSERT_EQ(Convert(Path("in.rtf"), Path("dangling.html")), "");
    EXPECT_EQ(Read("sub/later.html"), "new\r\n");
    EXPECT_TRUE(fs::is_symlink(Path("dangling.html")));

    // Names as long as names may be.
    for (std::size_t length : {239u, 255u}) {
        const std::string name = std::string(length - 5, 'n') + ".html";
        ASSERT_EQ(Convert(Path("in.rtf"), Path(name)), "") << length;
        Write(name, "old");
        ASSERT_EQ(Convert(Path("in.rtf"), Path(name)), "") << length;
        EXPECT_EQ(Read(name), "new\r\n");
        fs::remove(Path(name));
    }

    if (geteuid() != 0)
        return; // the rest needs the superuser
    // The superuser converting into another user's file leaves it that user's.
    Write("theirs.html", "old");
    ASSERT_EQ(::chown(Path("theirs.html").c_str(), 65534, 65534), 0);
    ASSERT_EQ(Convert(Path("in.rtf"), Path("theirs.html")), "");
    EXPECT_EQ(Info(Path("theirs.html")).st_uid, 65534u);
    EXPECT_EQ(Info(Path("theirs.html")).st_gid, 65534u);

    // A writable file in a folder the user may not write is written in place.
    fs::create_directory(Path("www"));
    Write("www/page.html", "old");
    fs::permissions(dir_, fs::perms::all);
    fs::permissions(Path("in.rtf"), fs::perms::all);
    fs::permissions(Path("www/page.html"), fs::perms::all);
    fs::permissions(Path("www"), fs::perms::owner_all | fs::perms::group_read
                                     | fs::perms::group_exec | fs::perms::others_read
                                     | fs::perms::others_exec);
    std::string result;
    {
        AsNobody nobody;
        result = Convert(Path("in.rtf"), Path("www/page.html"));
    }
    EXPECT_EQ(result, "");
    EXPECT_EQ(Read("www/page.html"), "new\r\n");
    EXPECT_EQ(Info(Path("www/page.html")).st_uid, 0u);
    EXPECT_EQ(Entries(Path("www")), std::vector<std::string>{"page.html"});
}

TEST_F(QuorvelFiles, AFullDiskKeepsTheOldTarget)
{
    fs::create_directory(Path("disk"));
    const std::string disk = Path("disk");
    if (::mount("tmpfs", disk.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=262144") != 0)
        GTEST_SKIP() << "a small tmpfs cannot be mounted here (" << std::strerror(errno)
                     << "), so the full-disk checks cannot run";
    struct Unmount {
        std::string path;
        ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
    } unmount{disk};

    std::string big = "{\\rtf1{\\colortbl}";
    big += std::string(300000, 'x') + "}\r\n";
    Write("big.rtf", big);
    Write("small.rtf", kRtf);
    Write("disk/out.html", std::string(6000, 'o'));
    Write("disk/linked.html", std::string(6000, 'o'));
    fs::create_hard_link(Path("disk/linked.html"), Path("disk/other.html"));
    {
        const int fd = ::open(Path("disk/filler").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        ASSERT_GE(fd, 0);
        const std::string block(4096, 'f');
        while (::write(fd, block.data(), block.size()) > 0) {
        }
        while (::write(fd, block.data(), 1) > 0) {
        }
        ::close(fd);
    }
    const std::vector<std::string> before = Entries(disk);
    for (const std::string source : {"small.rtf", "big.rtf"}) {
        for (const std::string target : {"disk/out.html", "disk/linked.html", "disk/new.html"}) {
            // Written in place over the old bytes, a shorter document needs no room.
            if (target == "disk/linked.html" && source == "small.rtf")
                continue;
            const std::string message = Convert(Path(source), Path(target));
            EXPECT_EQ(message, std::string("Quorvel: cannot ")
                                   + (target == "disk/new.html" ? "create" : "write") + " \""
                                   + Path(target) + "\": No space left on device");
        }
        EXPECT_EQ(Read("disk/out.html"), std::string(6000, 'o'));
        EXPECT_EQ(Read("disk/linked.html"), std::string(6000, 'o'));
        EXPECT_EQ(Entries(disk), before);
    }
}

#endif
