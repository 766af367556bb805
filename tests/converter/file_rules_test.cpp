// What the library reads and how it words a refused or failed write: only regular files
// are read, the source is never its own target, and the shared checked write's refusals keep
// the converter's messages. The write rules themselves are tested with the checked write
// (tests/safe_write).
#include "quorvel_library.h"
#include "scratch_dir.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)

#include <chrono>
#include <future>
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
};

safe_write::Result failure(safe_write::Failure failure, safe_write::Stage stage, std::string reason)
{
    safe_write::Result result;
    result.failure = failure;
    result.stage = stage;
    result.reason = std::move(reason);
    return result;
}

} // namespace

TEST_F(QuorvelFiles, OnlyRegularFilesAreReadAndWritten)
{
    write("in.rtf", kRtf);
    ASSERT_EQ(::mkfifo(path("pipe.html").c_str(), 0666), 0);
    EXPECT_EQ(convert(path("in.rtf"), path("pipe.html")),
              "Quorvel: cannot create \"" + path("pipe.html")
                  + "\": not a regular file but a named pipe");
    if (geteuid() == 0) {
        ASSERT_EQ(::mknod(path("null.html").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
        EXPECT_EQ(convert(path("in.rtf"), path("null.html")),
                  "Quorvel: cannot create \"" + path("null.html")
                      + "\": not a regular file but a device");
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

    // Refused before the source is read, whatever the source.
    EXPECT_EQ(convert(path("in.rtf"), ""),
              "Quorvel: no target file was given. Conversion aborted.");
    EXPECT_EQ(convert(path("missing.rtf"), ""),
              "Quorvel: no target file was given. Conversion aborted.");
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
}

// A write fails at one of two stages: while the target is looked at or made new ("cannot
// create"), or once an existing file is being replaced or written over ("cannot write").
TEST(QuorvelWriteFailures, AreWordedAsBefore)
{
    using safe_write::Failure;
    using safe_write::Stage;
    const std::string path = "/pages/out.html";
    EXPECT_EQ(quorvel::writeFailureMessage(
                  path, failure(Failure::System, Stage::Create, "No space left on device")),
              "Quorvel: cannot create \"/pages/out.html\": No space left on device");
    EXPECT_EQ(quorvel::writeFailureMessage(
                  path, failure(Failure::System, Stage::Write, "No space left on device")),
              "Quorvel: cannot write \"/pages/out.html\": No space left on device");
    EXPECT_EQ(quorvel::writeFailureMessage(
                  path, failure(Failure::System, Stage::Write,
                                "Input/output error; the old content could not be written back")),
              "Quorvel: cannot write \"/pages/out.html\": Input/output error; the old content "
              "could not be written back");
    // A file that turned into something else between the look and the write.
    safe_write::Result changed = failure(Failure::NotRegularFile, Stage::Write, "");
    changed.kind = safe_write::FileKind::Socket;
    EXPECT_EQ(quorvel::writeFailureMessage(path, changed),
              "Quorvel: cannot write \"/pages/out.html\": not a regular file but a socket");
    changed.kind = safe_write::FileKind::Other;
    EXPECT_EQ(quorvel::writeFailureMessage(path, changed),
              "Quorvel: cannot write \"/pages/out.html\": not a regular file");
    EXPECT_EQ(quorvel::writeFailureMessage("", failure(Failure::NoPath, Stage::Create, "")),
              "Quorvel: no target file was given. Conversion aborted.");
}

#endif
