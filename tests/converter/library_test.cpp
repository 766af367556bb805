// The shared library as the editor uses it: loaded by file name, called through its exports.
#include "quorvel.h"
#include "scratch_dir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

struct Library {
    QuorvelConvertFileProc ConvertFile = nullptr;
    QuorvelConvertOnlyProc ConvertOnly = nullptr;
    QuorvelLastErrorProc LastError = nullptr;
    QuorvelSetMessagePumpProc SetMessagePump = nullptr;
    std::string loadError;

    Library()
    {
#if defined(_WIN32)
        HMODULE handle = LoadLibraryA(QUORVEL_LIBRARY_PATH);
        auto symbol = [&](const char *name) {
            return handle ? reinterpret_cast<void *>(GetProcAddress(handle, name)) : nullptr;
        };
        if (!handle)
            loadError = "LoadLibrary failed";
#else
        void *handle = dlopen(QUORVEL_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
        auto symbol = [&](const char *name) { return handle ? dlsym(handle, name) : nullptr; };
        if (!handle)
            loadError = dlerror();
#endif
        ConvertFile = reinterpret_cast<QuorvelConvertFileProc>(symbol("QuorvelConvertFile"));
        ConvertOnly = reinterpret_cast<QuorvelConvertOnlyProc>(symbol("QuorvelConvertOnly"));
        LastError = reinterpret_cast<QuorvelLastErrorProc>(symbol("QuorvelLastError"));
        SetMessagePump =
            reinterpret_cast<QuorvelSetMessagePumpProc>(symbol("QuorvelSetMessagePump"));
    }
};

const Library &Lib()
{
    static const Library library;
    return library;
}

const std::string kSample =
    "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl\\red255\\green0\\blue0;}\r\n"
    "\\f0\\fs24\\cf0 Hi\\fs24  \\b there\\b0\\par\r\n\\'e9\\par\r\n}\r\n";

class QuorvelLibrary : public quorvel_test::ScratchDirTest {
protected:
    QuorvelLibrary() : ScratchDirTest("quorvel-lib-") {}

    void SetUp() override
    {
        ASSERT_TRUE(Lib().ConvertFile && Lib().ConvertOnly && Lib().LastError &&
                    Lib().SetMessagePump)
            << "cannot load " << QUORVEL_LIBRARY_PATH << ": " << Lib().loadError;
        ScratchDirTest::SetUp();
    }
    // Converts `rtf` with `flags` and returns what was written.
    std::string Convert(const std::string &rtf, int32_t flags, const char *title = "",
                        const char *headtags = "", const char *bodyoptions = "",
                        const char *fontname = "", int32_t fontsize = 0)
    {
        Write("in.rtf", rtf);
        fs::remove(Path("out.html"));
        EXPECT_EQ(Lib().ConvertFile(Path("in.rtf").c_str(), Path("out.html").c_str(), flags,
                                    title, headtags, bodyoptions, fontname, fontsize),
                  0)
            << Lib().LastError();
        EXPECT_STREQ(Lib().LastError(), "");
        return Read("out.html");
    }
};

} // namespace

TEST_F(QuorvelLibrary, FlagsZeroWritesOnlyTheBody)
{
    EXPECT_EQ(Convert(kSample, 0, "Title", "<link>", "bgcolor=red", "Arial", 12),
              "Hi <B>there</B><BR>\r\n&eacute;<BR>\r\n\r\n");
}

TEST_F(QuorvelLibrary, ConvertOnlyEqualsFlags143)
{
    const std::string expected = "<FONT FACE=\"Arial,Helvetica\"><FONT SIZE=3>"
                                 "<FONT COLOR=\"#FF0000\">Hi <B>there</B><BR>\r\n"
                                 "&eacute;<BR>\r\n\r\n";
    EXPECT_EQ(Convert(kSample, 143), expected);
    Write("in.rtf", kSample);
    ASSERT_EQ(Lib().ConvertOnly(Path("in.rtf").c_str(), Path("only.html").c_str()), 0);
    EXPECT_EQ(Read("only.html"), expected);
}

TEST_F(QuorvelLibrary, FrameTitleAndDefaultFont)
{
    const std::string rtf = "{\\rtf1{\\colortbl}x\\par}\r\n";
    EXPECT_EQ(Convert(rtf, 16, "T"),
              "<HTML>\r\n<HEAD>\r\n</HEAD>\r\n<BODY>x<BR>\r\n\r\n</BODY>\r\n</HTML>\r\n");
    EXPECT_EQ(Convert(rtf, 48, "T"), "<HTML>\r\n<HEAD>\r\n<TITLE>T</TITLE>\r\n</HEAD>\r\n"
                                     "<BODY>x<BR>\r\n\r\n</BODY>\r\n</HTML>\r\n");
    EXPECT_EQ(Convert(rtf, 16 + 64, "", "<a>\n<b>", "x\ry", "Verdana", 14),
              "<HTML>\r\n<HEAD>\r\n<a>\r\n<b>\r\n</HEAD>\r\n<BODY x\r\ny\r\n>\r\n"
              "<FONT FACE=\"Verdana\" SIZE=4>x<BR>\r\n</FONT>\r\n</BODY>\r\n</HTML>\r\n");
    // Only the low 8 bits of the flag word count.
    EXPECT_EQ(Convert(rtf, 0x7f00 | 48, "T"), Convert(rtf, 48, "T"));
}

TEST_F(QuorvelLibrary, NullStringsCountAsEmpty)
{
    Write("in.rtf", "{\\rtf1{\\colortbl}x}\r\n");
    ASSERT_EQ(Lib().ConvertFile(Path("in.rtf").c_str(), Path("out.html").c_str(), 48 + 64,
                                nullptr, nullptr, nullptr, nullptr, 10),
              0);
    EXPECT_EQ(Read("out.html"), "<HTML>\r\n<HEAD>\r\n<TITLE></TITLE>\r\n</HEAD>\r\n<BODY>"
                                "<FONT FACE=\"\" SIZE=2>x</FONT>\r\n</BODY>\r\n</HTML>\r\n");
    EXPECT_NE(Lib().ConvertFile(nullptr, nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0), 0);
}

TEST_F(QuorvelLibrary, LoneLineBreaksReadAsCRLF)
{
    const std::string crlf = "{\\rtf1{\\colortbl}\r\none\\par\r\ntwo\\par\r\n}\r\n";
    std::string cr = crlf, lf = crlf;
    std::erase(cr, '\n');
    std::erase(lf, '\r');
    const std::string expected = Convert(crlf, 143);
    EXPECT_EQ(expected, "one<BR>\r\ntwo<BR>\r\n\r\n");
    EXPECT_EQ(Convert(cr, 143), expected);
    EXPECT_EQ(Convert(lf, 143), expected);
    // Without a final break the reader adds one, so the last word still completes.
    EXPECT_EQ(Convert("{\\rtf1{\\colortbl}x\\par}", 0), "x<BR>\r\n\r\n");
}

TEST_F(QuorvelLibrary, ReadingStopsAtTheFirstNul)
{
    EXPECT_EQ(Convert("{\\rtf1{\\colortbl}ab\\par cd\0ef\\par}\r\n"s, 0), "ab<BR>\r\ncd\r\n");
    // A converted NUL ends the written document.
    EXPECT_EQ(Convert("{\\rtf1{\\colortbl}ab\\par cd\\'00ef\\par}\r\n", 0), "ab<BR>\r\ncd\r\n");
}

TEST_F(QuorvelLibrary, MissingSourceFails)
{
    Write("out.html", "old");
    EXPECT_NE(Lib().ConvertOnly(Path("missing.rtf").c_str(), Path("out.html").c_str()), 0);
    const std::string message = Lib().LastError();
    EXPECT_TRUE(message.starts_with("Quorvel: cannot open \"" + Path("missing.rtf") + "\""))
        << message;
    EXPECT_EQ(Read("out.html"), "old");
}

TEST_F(QuorvelLibrary, MissingHeaderLeavesTheTargetUntouched)
{
    for (const std::string &source :
         {""s, "{\\rtf2 x}\r\n"s, "plain text\r\n"s, "\0{\\rtf1 x}"s}) {
        Write("in.rtf", source);
        Write("out.html", "old contents");
        EXPECT_NE(Lib().ConvertFile(Path("in.rtf").c_str(), Path("out.html").c_str(), 143, "",
                                    "", "", "", 0),
                  0);
        EXPECT_STREQ(Lib().LastError(), "Quorvel: RTF header is missing. Conversion aborted.");
        EXPECT_EQ(Read("out.html"), "old contents");
        fs::remove(Path("out.html"));
        EXPECT_NE(Lib().ConvertOnly(Path("in.rtf").c_str(), Path("out.html").c_str()), 0);
        EXPECT_FALSE(fs::exists(Path("out.html")));
    }
    // Nothing but the target is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(QuorvelLibrary, BadEscapeFailsAndSuccessClearsTheMessage)
{
    Write("in.rtf", "{\\rtf1{\\colortbl}\\'zz}\r\n");
    EXPECT_NE(Lib().ConvertOnly(Path("in.rtf").c_str(), Path("out.html").c_str()), 0);
    EXPECT_TRUE(std::string(Lib().LastError()).starts_with("Quorvel: ")) << Lib().LastError();
    EXPECT_FALSE(fs::exists(Path("out.html")));
    Write("in.rtf", "{\\rtf1 x}\r\n");
    EXPECT_EQ(Lib().ConvertOnly(Path("in.rtf").c_str(), Path("out.html").c_str()), 0);
    EXPECT_STREQ(Lib().LastError(), "");
}

TEST_F(QuorvelLibrary, UnwritableTargetFails)
{
    Write("in.rtf", "{\\rtf1 x}\r\n");
    const std::string target = Path("no-such-dir/out.html");
    EXPECT_NE(Lib().ConvertOnly(Path("in.rtf").c_str(), target.c_str()), 0);
    EXPECT_TRUE(std::string(Lib().LastError()).starts_with("Quorvel: cannot create \"" + target))
        << Lib().LastError();
    // A directory in the target's place cannot be replaced by the document.
    fs::create_directories(Path("busy"));
    Write("busy/keep", "k");
    EXPECT_NE(Lib().ConvertOnly(Path("in.rtf").c_str(), Path("busy").c_str()), 0);
    EXPECT_EQ(Read("busy/keep"), "k");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);
}

#if !defined(_WIN32)

namespace {

// Permission bits do not stop the superuser: while it lives, the calling process acts as
// "nobody" if it is the superuser.
class AsNobody {
public:
    AsNobody()
    {
        if (geteuid() != 0)
            return;
        switched_ = setegid(65534) == 0 && seteuid(65534) == 0;
        EXPECT_TRUE(switched_) << "cannot take the unprivileged identity";
    }
    ~AsNobody()
    {
        if (switched_ && (seteuid(0) != 0 || setegid(0) != 0))
            ADD_FAILURE() << "cannot return to the superuser";
    }
    AsNobody(const AsNobody &) = delete;
    AsNobody &operator=(const AsNobody &) = delete;

private:
    bool switched_ = false;
};

} // namespace

TEST_F(QuorvelLibrary, AReplacedTargetKeepsItsPermissionsAndLinks)
{
    Write("in.rtf", "{\\rtf1{\\colortbl}new}\r\n");
    Write("private.html", "old");
    fs::permissions(Path("private.html"), fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_EQ(Lib().ConvertOnly(Path("in.rtf").c_str(), Path("private.html").c_str()), 0)
        << Lib().LastError();
    EXPECT_EQ(Read("private.html"), "new\r\n");
    EXPECT_EQ(fs::status(Path("private.html")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);

    // Writing to a link writes the file it points to.
    Write("real.html", "old");
    fs::create_symlink("real.html", Path("link.html"));
    ASSERT_EQ(Lib().ConvertOnly(Path("in.rtf").c_str(), Path("link.html").c_str()), 0)
        << Lib().LastError();
    EXPECT_TRUE(fs::is_symlink(Path("link.html")));
    EXPECT_EQ(Read("real.html"), "new\r\n");
}

TEST_F(QuorvelLibrary, AReadOnlyTargetIsNotReplaced)
{
    Write("in.rtf", "{\\rtf1{\\colortbl}new}\r\n");
    Write("locked.html", "old");
    fs::permissions(dir_, fs::perms::all);
    fs::permissions(Path("locked.html"), fs::perms::owner_read | fs::perms::group_read |
                                             fs::perms::others_read);
    int32_t result = 0;
    std::string message;
    {
        AsNobody nobody;
        result = Lib().ConvertOnly(Path("in.rtf").c_str(), Path("locked.html").c_str());
        message = Lib().LastError();
    }
    EXPECT_NE(result, 0);
    EXPECT_TRUE(message.starts_with("Quorvel: cannot create \"" + Path("locked.html") + "\""))
        << message;
    EXPECT_EQ(Read("locked.html"), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);
}

#endif

TEST_F(QuorvelLibrary, LastErrorBelongsToTheCallingThread)
{
    Write("good.rtf", "{\\rtf1 x}\r\n");
    Write("bad.rtf", "x");
    ASSERT_NE(Lib().ConvertOnly(Path("bad.rtf").c_str(), Path("bad.html").c_str()), 0);
    std::string otherThread = "unset";
    std::thread([&] {
        otherThread = Lib().LastError();
        Lib().ConvertOnly(Path("good.rtf").c_str(), Path("good.html").c_str());
    }).join();
    EXPECT_EQ(otherThread, "");
    EXPECT_STREQ(Lib().LastError(), "Quorvel: RTF header is missing. Conversion aborted.");
}

namespace {

struct PumpHost {
    const Library *lib = nullptr;
    std::string nestedSource, nestedTarget;
    long calls = 0;
    int nestedResult = -1;
};

void QUORVEL_CALL CountingPump(void *context)
{
    ++static_cast<PumpHost *>(context)->calls;
}

void QUORVEL_CALL NestingPump(void *context)
{
    auto *host = static_cast<PumpHost *>(context);
    if (host->calls++ == 3) // a host event handler starts a conversion of its own
        host->nestedResult =
            host->lib->ConvertOnly(host->nestedSource.c_str(), host->nestedTarget.c_str());
}

} // namespace

TEST_F(QuorvelLibrary, MessagePumpIsCalledOncePerCharacter)
{
    PumpHost host;
    Write("in.rtf", "{\\rtf1 abc}"); // read as 13 characters with the final CR LF
    Lib().SetMessagePump(CountingPump, &host);
    ASSERT_EQ(Lib().ConvertOnly(Path("in.rtf").c_str(), Path("out.html").c_str()), 0);
    EXPECT_EQ(host.calls, 11);

    // Registration is per thread: another thread's conversion does not call it.
    std::thread([&] { Lib().ConvertOnly(Path("in.rtf").c_str(), Path("t.html").c_str()); }).join();
    EXPECT_EQ(host.calls, 11);

    Lib().SetMessagePump(nullptr, &host);
    ASSERT_EQ(Lib().ConvertOnly(Path("in.rtf").c_str(), Path("out.html").c_str()), 0);
    EXPECT_EQ(host.calls, 11);
}

TEST_F(QuorvelLibrary, MessagePumpMayRunAnotherConversion)
{
    PumpHost host;
    host.lib = &Lib();
    host.nestedSource = Path("inner.rtf");
    host.nestedTarget = Path("inner.html");
    Write("inner.rtf", "{\\rtf1{\\colortbl}inner}\r\n");
    Write("outer.rtf", "{\\rtf1{\\colortbl}outer}\r\n");
    Lib().SetMessagePump(NestingPump, &host);
    const int32_t result = Lib().ConvertOnly(Path("outer.rtf").c_str(), Path("outer.html").c_str());
    Lib().SetMessagePump(nullptr, nullptr);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(host.nestedResult, 0);
    EXPECT_EQ(Read("outer.html"), "outer\r\n");
    EXPECT_EQ(Read("inner.html"), "inner\r\n");
    EXPECT_GT(host.calls, 40); // the nested conversion's characters pump too
}
