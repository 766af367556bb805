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
#include "support/as_nobody.h"

#include <dlfcn.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

struct Library {
    QuorvelConvertFileProc convertFile = nullptr;
    QuorvelConvertOnlyProc convertOnly = nullptr;
    QuorvelConvertCleanProc convertClean = nullptr;
    QuorvelLastErrorProc lastError = nullptr;
    QuorvelSetMessagePumpProc setMessagePump = nullptr;
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
        convertFile = reinterpret_cast<QuorvelConvertFileProc>(symbol("QuorvelConvertFile"));
        convertOnly = reinterpret_cast<QuorvelConvertOnlyProc>(symbol("QuorvelConvertOnly"));
        convertClean = reinterpret_cast<QuorvelConvertCleanProc>(symbol("QuorvelConvertClean"));
        lastError = reinterpret_cast<QuorvelLastErrorProc>(symbol("QuorvelLastError"));
        setMessagePump =
            reinterpret_cast<QuorvelSetMessagePumpProc>(symbol("QuorvelSetMessagePump"));
    }
};

const Library &lib()
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
        ASSERT_TRUE(lib().convertFile && lib().convertOnly && lib().convertClean && lib().lastError
                    && lib().setMessagePump)
            << "cannot load " << QUORVEL_LIBRARY_PATH << ": " << lib().loadError;
        ScratchDirTest::SetUp();
    }
    // Converts `rtf` with `flags` and returns what was written.
    std::string convert(const std::string &rtf, int32_t flags, const char *title = "",
                        const char *headtags = "", const char *bodyoptions = "",
                        const char *fontname = "", int32_t fontsize = 0)
    {
        write("in.rtf", rtf);
        fs::remove(path("out.html"));
        EXPECT_EQ(lib().convertFile(path("in.rtf").c_str(), path("out.html").c_str(), flags, title,
                                    headtags, bodyoptions, fontname, fontsize),
                  0)
            << lib().lastError();
        EXPECT_STREQ(lib().lastError(), "");
        return read("out.html");
    }
};

} // namespace

TEST_F(QuorvelLibrary, FlagsZeroWritesOnlyTheBody)
{
    EXPECT_EQ(convert(kSample, 0, "Title", "<link>", "bgcolor=red", "Arial", 12),
              "Hi <B>there</B><BR>\r\n&eacute;<BR>\r\n\r\n");
}

TEST_F(QuorvelLibrary, ConvertOnlyEqualsFlags143)
{
    const std::string expected = "<FONT FACE=\"Arial,Helvetica\"><FONT SIZE=3>"
                                 "<FONT COLOR=\"#FF0000\">Hi <B>there</B><BR>\r\n"
                                 "&eacute;<BR>\r\n\r\n";
    EXPECT_EQ(convert(kSample, 143), expected);
    write("in.rtf", kSample);
    ASSERT_EQ(lib().convertOnly(path("in.rtf").c_str(), path("only.html").c_str()), 0);
    EXPECT_EQ(read("only.html"), expected);
}

TEST_F(QuorvelLibrary, FrameTitleAndDefaultFont)
{
    const std::string rtf = "{\\rtf1{\\colortbl}x\\par}\r\n";
    EXPECT_EQ(convert(rtf, 16, "T"),
              "<HTML>\r\n<HEAD>\r\n</HEAD>\r\n<BODY>x<BR>\r\n\r\n</BODY>\r\n</HTML>\r\n");
    EXPECT_EQ(convert(rtf, 48, "T"), "<HTML>\r\n<HEAD>\r\n<TITLE>T</TITLE>\r\n</HEAD>\r\n"
                                     "<BODY>x<BR>\r\n\r\n</BODY>\r\n</HTML>\r\n");
    EXPECT_EQ(convert(rtf, 16 + 64, "", "<a>\n<b>", "x\ry", "Verdana", 14),
              "<HTML>\r\n<HEAD>\r\n<a>\r\n<b>\r\n</HEAD>\r\n<BODY x\r\ny\r\n>\r\n"
              "<FONT FACE=\"Verdana\" SIZE=4>x<BR>\r\n</FONT>\r\n</BODY>\r\n</HTML>\r\n");
    // Only the low 8 bits of the flag word count.
    EXPECT_EQ(convert(rtf, 0x7f00 | 48, "T"), convert(rtf, 48, "T"));
}

TEST_F(QuorvelLibrary, NullStringsCountAsEmpty)
{
    write("in.rtf", "{\\rtf1{\\colortbl}x}\r\n");
    ASSERT_EQ(lib().convertFile(path("in.rtf").c_str(), path("out.html").c_str(), 48 + 64, nullptr,
                                nullptr, nullptr, nullptr, 10),
              0);
    EXPECT_EQ(read("out.html"), "<HTML>\r\n<HEAD>\r\n<TITLE></TITLE>\r\n</HEAD>\r\n<BODY>"
                                "<FONT FACE=\"\" SIZE=2>x</FONT>\r\n</BODY>\r\n</HTML>\r\n");
    EXPECT_NE(lib().convertFile(nullptr, nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0), 0);
}

TEST_F(QuorvelLibrary, LoneLineBreaksReadAsCRLF)
{
    const std::string crlf = "{\\rtf1{\\colortbl}\r\none\\par\r\ntwo\\par\r\n}\r\n";
    std::string cr = crlf, lf = crlf;
    std::erase(cr, '\n');
    std::erase(lf, '\r');
    const std::string expected = convert(crlf, 143);
    EXPECT_EQ(expected, "one<BR>\r\ntwo<BR>\r\n\r\n");
    EXPECT_EQ(convert(cr, 143), expected);
    EXPECT_EQ(convert(lf, 143), expected);
    // Without a final break the reader adds one, so the last word still completes.
    EXPECT_EQ(convert("{\\rtf1{\\colortbl}x\\par}", 0), "x<BR>\r\n\r\n");
}

TEST_F(QuorvelLibrary, ReadingStopsAtTheFirstNul)
{
    EXPECT_EQ(convert("{\\rtf1{\\colortbl}ab\\par cd\0ef\\par}\r\n"s, 0), "ab<BR>\r\ncd\r\n");
    // A converted NUL ends the written document.
    EXPECT_EQ(convert("{\\rtf1{\\colortbl}ab\\par cd\\'00ef\\par}\r\n", 0), "ab<BR>\r\ncd\r\n");
}

TEST_F(QuorvelLibrary, MissingSourceFails)
{
    write("out.html", "old");
    EXPECT_NE(lib().convertOnly(path("missing.rtf").c_str(), path("out.html").c_str()), 0);
    const std::string message = lib().lastError();
    EXPECT_TRUE(message.starts_with("Quorvel: cannot open \"" + path("missing.rtf") + "\""))
        << message;
    EXPECT_EQ(read("out.html"), "old");
}

TEST_F(QuorvelLibrary, MissingHeaderLeavesTheTargetUntouched)
{
    for (const std::string &source : {""s, "{\\rtf2 x}\r\n"s, "plain text\r\n"s, "\0{\\rtf1 x}"s}) {
        write("in.rtf", source);
        write("out.html", "old contents");
        EXPECT_NE(lib().convertFile(path("in.rtf").c_str(), path("out.html").c_str(), 143, "", "",
                                    "", "", 0),
                  0);
        EXPECT_STREQ(lib().lastError(), "Quorvel: RTF header is missing. Conversion aborted.");
        EXPECT_EQ(read("out.html"), "old contents");
        fs::remove(path("out.html"));
        EXPECT_NE(lib().convertOnly(path("in.rtf").c_str(), path("out.html").c_str()), 0);
        EXPECT_FALSE(fs::exists(path("out.html")));
    }
    // Nothing but the target is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(QuorvelLibrary, BadEscapeFailsAndSuccessClearsTheMessage)
{
    write("in.rtf", "{\\rtf1{\\colortbl}\\'zz}\r\n");
    EXPECT_NE(lib().convertOnly(path("in.rtf").c_str(), path("out.html").c_str()), 0);
    EXPECT_TRUE(std::string(lib().lastError()).starts_with("Quorvel: ")) << lib().lastError();
    EXPECT_FALSE(fs::exists(path("out.html")));
    write("in.rtf", "{\\rtf1 x}\r\n");
    EXPECT_EQ(lib().convertOnly(path("in.rtf").c_str(), path("out.html").c_str()), 0);
    EXPECT_STREQ(lib().lastError(), "");
}

TEST_F(QuorvelLibrary, UnwritableTargetFails)
{
    write("in.rtf", "{\\rtf1 x}\r\n");
    const std::string target = path("no-such-dir/out.html");
    EXPECT_NE(lib().convertOnly(path("in.rtf").c_str(), target.c_str()), 0);
    EXPECT_TRUE(std::string(lib().lastError()).starts_with("Quorvel: cannot create \"" + target))
        << lib().lastError();
    // A directory in the target's place cannot be replaced by the document.
    fs::create_directories(path("busy"));
    write("busy/keep", "k");
    EXPECT_NE(lib().convertOnly(path("in.rtf").c_str(), path("busy").c_str()), 0);
    EXPECT_EQ(read("busy/keep"), "k");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);
}

#if !defined(_WIN32)

using pagewick_test::AsNobody;

TEST_F(QuorvelLibrary, AReplacedTargetKeepsItsPermissionsAndLinks)
{
    write("in.rtf", "{\\rtf1{\\colortbl}new}\r\n");
    write("private.html", "old");
    fs::permissions(path("private.html"), fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_EQ(lib().convertOnly(path("in.rtf").c_str(), path("private.html").c_str()), 0)
        << lib().lastError();
    EXPECT_EQ(read("private.html"), "new\r\n");
    EXPECT_EQ(fs::status(path("private.html")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);

    // Writing to a link writes the file it points to.
    write("real.html", "old");
    fs::create_symlink("real.html", path("link.html"));
    ASSERT_EQ(lib().convertOnly(path("in.rtf").c_str(), path("link.html").c_str()), 0)
        << lib().lastError();
    EXPECT_TRUE(fs::is_symlink(path("link.html")));
    EXPECT_EQ(read("real.html"), "new\r\n");
}

TEST_F(QuorvelLibrary, AReadOnlyTargetIsNotReplaced)
{
    write("in.rtf", "{\\rtf1{\\colortbl}new}\r\n");
    write("locked.html", "old");
    fs::permissions(dir_, fs::perms::all);
    fs::permissions(path("locked.html"),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    int32_t result = 0;
    std::string message;
    {
        AsNobody nobody;
        result = lib().convertOnly(path("in.rtf").c_str(), path("locked.html").c_str());
        message = lib().lastError();
    }
    EXPECT_NE(result, 0);
    EXPECT_TRUE(message.starts_with("Quorvel: cannot create \"" + path("locked.html") + "\""))
        << message;
    EXPECT_EQ(read("locked.html"), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);
}

#endif

TEST_F(QuorvelLibrary, LastErrorBelongsToTheCallingThread)
{
    write("good.rtf", "{\\rtf1 x}\r\n");
    write("bad.rtf", "x");
    ASSERT_NE(lib().convertOnly(path("bad.rtf").c_str(), path("bad.html").c_str()), 0);
    std::string otherThread = "unset";
    std::thread([&] {
        otherThread = lib().lastError();
        lib().convertOnly(path("good.rtf").c_str(), path("good.html").c_str());
    }).join();
    EXPECT_EQ(otherThread, "");
    EXPECT_STREQ(lib().lastError(), "Quorvel: RTF header is missing. Conversion aborted.");
}

namespace {

struct PumpHost {
    const Library *lib = nullptr;
    std::string nestedSource, nestedTarget;
    long calls = 0;
    int nestedResult = -1;
};

void QUORVEL_CALL countingPump(void *context)
{
    ++static_cast<PumpHost *>(context)->calls;
}

void QUORVEL_CALL nestingPump(void *context)
{
    auto *host = static_cast<PumpHost *>(context);
    if (host->calls++ == 3) // a host event handler starts a conversion of its own
        host->nestedResult =
            host->lib->convertOnly(host->nestedSource.c_str(), host->nestedTarget.c_str());
}

} // namespace

TEST_F(QuorvelLibrary, MessagePumpIsCalledOncePerCharacter)
{
    PumpHost host;
    write("in.rtf", "{\\rtf1 abc}"); // read as 13 characters with the final CR LF
    lib().setMessagePump(countingPump, &host);
    ASSERT_EQ(lib().convertOnly(path("in.rtf").c_str(), path("out.html").c_str()), 0);
    EXPECT_EQ(host.calls, 11);

    // Registration is per thread: another thread's conversion does not call it.
    std::thread([&] { lib().convertOnly(path("in.rtf").c_str(), path("t.html").c_str()); }).join();
    EXPECT_EQ(host.calls, 11);

    lib().setMessagePump(nullptr, &host);
    ASSERT_EQ(lib().convertOnly(path("in.rtf").c_str(), path("out.html").c_str()), 0);
    EXPECT_EQ(host.calls, 11);
}

TEST_F(QuorvelLibrary, MessagePumpMayRunAnotherConversion)
{
    PumpHost host;
    host.lib = &lib();
    host.nestedSource = path("inner.rtf");
    host.nestedTarget = path("inner.html");
    write("inner.rtf", "{\\rtf1{\\colortbl}inner}\r\n");
    write("outer.rtf", "{\\rtf1{\\colortbl}outer}\r\n");
    lib().setMessagePump(nestingPump, &host);
    const int32_t result = lib().convertOnly(path("outer.rtf").c_str(), path("outer.html").c_str());
    lib().setMessagePump(nullptr, nullptr);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(host.nestedResult, 0);
    EXPECT_EQ(read("outer.html"), "outer\r\n");
    EXPECT_EQ(read("inner.html"), "inner\r\n");
    EXPECT_GT(host.calls, 40); // the nested conversion's characters pump too
}

TEST_F(QuorvelLibrary, CleanModeWritesUtf8PagesAndPicturesByItsOwnOptions)
{
    // A file without colour table, Word's way of writing a hyperlink, a \u with fallback, a
    // picture: the body fragment by default, the whole page with the document's title or
    // the one given, and the picture beside the target only when asked.
    write("in.rtf", "{\\rtf1\\ansi{\\info{\\title Own}}{\\b Caf\\u233?}\r\n"
                    "{\\field{\\*\\fldinst HYPERLINK \"https://e.org/\"}{\\fldrslt e.org}}"
                    "{\\pict\\pngblip 89504e47}\\par}\r\n");
    ASSERT_EQ(lib().convertClean(path("in.rtf").c_str(), path("out.html").c_str(), 0, nullptr), 0)
        << lib().lastError();
    EXPECT_EQ(read("out.html"),
              "<p><b>Caf\xC3\xA9</b><a href=\"https://e.org/\">e.org</a></p>\r\n");
    EXPECT_STREQ(lib().lastError(), "");

    ASSERT_EQ(lib().convertClean(path("in.rtf").c_str(), path("out.html").c_str(),
                                 QUORVEL_CLEAN_PAGE, ""),
              0);
    EXPECT_NE(read("out.html")
                  .find("<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta "
                        "charset=\"utf-8\">\r\n<title>Own</title>"),
              std::string::npos);
    ASSERT_EQ(lib().convertClean(path("in.rtf").c_str(), path("letter.html").c_str(),
                                 QUORVEL_CLEAN_PAGE | QUORVEL_CLEAN_PICTURES, "Given"),
              0);
    const std::string page = read("letter.html");
    EXPECT_NE(page.find("<title>Given</title>"), std::string::npos);
    EXPECT_NE(page.find("<img src=\"letter-1.png\" alt=\"\">"), std::string::npos);
    EXPECT_EQ(read("letter-1.png"), "\x89PNG");
    EXPECT_FALSE(fs::exists(path("out-1.png")));
}

TEST_F(QuorvelLibrary, CleanModeKeepsTheFileAndErrorRules)
{
    // Not RTF: the target keeps its old contents and the message says why.
    write("bad.rtf", "plain text");
    write("out.html", "old");
    EXPECT_NE(lib().convertClean(path("bad.rtf").c_str(), path("out.html").c_str(), 0, ""), 0);
    EXPECT_STREQ(lib().lastError(), "Quorvel: RTF header is missing. Conversion aborted.");
    EXPECT_EQ(read("out.html"), "old");
    // No source, no target, the source itself as the target.
    EXPECT_NE(lib().convertClean(path("none.rtf").c_str(), path("out.html").c_str(), 0, ""), 0);
    EXPECT_TRUE(std::string(lib().lastError()).starts_with("Quorvel: cannot open"))
        << lib().lastError();
    write("in.rtf", "{\\rtf1 x}");
    EXPECT_NE(lib().convertClean(path("in.rtf").c_str(), nullptr, 0, ""), 0);
    EXPECT_STREQ(lib().lastError(), "Quorvel: no target file was given. Conversion aborted.");
    EXPECT_NE(lib().convertClean(path("in.rtf").c_str(), path("in.rtf").c_str(), 0, ""), 0);
    EXPECT_EQ(read("in.rtf"), "{\\rtf1 x}");
    // The host's pump runs during the conversion, once for each byte read.
    int calls = 0;
    lib().setMessagePump([](void *c) { ++*static_cast<int *>(c); }, &calls);
    EXPECT_EQ(lib().convertClean(path("in.rtf").c_str(), path("out.html").c_str(), 0, ""), 0);
    lib().setMessagePump(nullptr, nullptr);
    EXPECT_EQ(calls, static_cast<int>(std::string("{\\rtf1 x}\r\n").size()));
    EXPECT_EQ(read("out.html"), "<p>x</p>\r\n");
}
