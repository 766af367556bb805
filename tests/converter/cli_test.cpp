// The quorvel command: options by name, standard output, exit status and messages.
#include "scratch_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace {

class QuorvelCommand : public quorvel_test::ScratchDirTest {
protected:
    QuorvelCommand() : ScratchDirTest("quorvel-cli-") {}

    // Runs the command with `args`; standard output and error land in out.txt and err.txt.
    int run(const std::string &args) const
    {
        const std::string command = "\"" QUORVEL_CLI_PATH "\" " + args + " >\"" + path("out.txt")
                                    + "\" 2>\"" + path("err.txt") + "\"";
        const int status = std::system(command.c_str());
#if defined(_WIN32)
        return status;
#else
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    }
};

const std::string kRtf = "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl\\red0\\green0\\blue255;}"
                         "\\f0\\fs24\\cf0 Hi\\par}\r\n";

} // namespace

TEST_F(QuorvelCommand, WritesToStandardOutputByDefault)
{
    write("in.rtf", kRtf);
    ASSERT_EQ(run("\"" + path("in.rtf") + "\""), 0);
    EXPECT_EQ(read("out.txt"), "Hi<BR>\r\n\r\n");
    const std::string expected = "<FONT FACE=\"Arial,Helvetica\"><FONT SIZE=3>"
                                 "<FONT COLOR=\"#0000FF\">Hi<BR>\r\n\r\n";
    ASSERT_EQ(run("--font-size --font-face --colors --optimize --more-compatible \""
                  + path("in.rtf") + "\""),
              0);
    EXPECT_EQ(read("out.txt"), expected);
    ASSERT_EQ(run("--flags 143 \"" + path("in.rtf") + "\" \"" + path("in.html") + "\""), 0);
    EXPECT_EQ(read("in.html"), expected);
    EXPECT_EQ(read("out.txt"), "");
}

TEST_F(QuorvelCommand, FrameOptions)
{
    write("in.rtf", "{\\rtf1{\\colortbl}x}\r\n");
    ASSERT_EQ(run("--wrap-html --use-title --title \"A T\" --head-tag \"<h1>\" --head-tag "
                  "\"<h2>\" --body-option bgcolor=white --default-font --font-name Verdana "
                  "--points 12 \""
                  + path("in.rtf") + "\""),
              0);
    EXPECT_EQ(read("out.txt"), "<HTML>\r\n<HEAD>\r\n<TITLE>A T</TITLE>\r\n<h1>\r\n<h2>\r\n"
                               "</HEAD>\r\n<BODY bgcolor=white>\r\n"
                               "<FONT FACE=\"Verdana\" SIZE=3>x</FONT>\r\n"
                               "</BODY>\r\n</HTML>\r\n");
}

TEST_F(QuorvelCommand, FailuresExitWithStatusOne)
{
    write("bad.rtf", "not rtf");
    write("bad.html", "old");
    EXPECT_EQ(run("\"" + path("bad.rtf") + "\" \"" + path("bad.html") + "\""), 1);
    EXPECT_EQ(read("err.txt"), "Quorvel: RTF header is missing. Conversion aborted.\n");
    EXPECT_EQ(read("bad.html"), "old");

    EXPECT_EQ(run("\"" + path("missing.rtf") + "\""), 1);
    EXPECT_TRUE(read("err.txt").starts_with("Quorvel: cannot open")) << read("err.txt");
    EXPECT_EQ(read("out.txt"), "");

    EXPECT_EQ(run("--no-such-option x.rtf"), 1);
    EXPECT_NE(read("err.txt").find("--no-such-option"), std::string::npos);
    EXPECT_EQ(run("--flags lots x.rtf"), 1);
    EXPECT_EQ(run(""), 1);
    EXPECT_NE(read("err.txt").find("Usage: quorvel"), std::string::npos);
}

TEST_F(QuorvelCommand, HelpAndVersion)
{
    EXPECT_EQ(run("--help"), 0);
    const std::string help = read("out.txt");
    for (const char *option :
         {"--font-size", "--font-face", "--colors", "--optimize", "--wrap-html", "--use-title",
          "--default-font", "--more-compatible", "--flags", "--title"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
    EXPECT_EQ(run("--version"), 0);
    EXPECT_EQ(read("out.txt"), "Quorvel 1.45\n");
}

#if !defined(_WIN32)
TEST_F(QuorvelCommand, APipeOrDeviceAsTheSourceIsRefusedNotWaitedOn)
{
    ASSERT_EQ(::mkfifo(path("pipe.rtf").c_str(), 0666), 0);
    EXPECT_EQ(run("\"" + path("pipe.rtf") + "\""), 1);
    EXPECT_EQ(read("err.txt"), "Quorvel: cannot open \"" + path("pipe.rtf")
                                   + "\": not a regular file but a named pipe\n");
    EXPECT_EQ(run("/dev/zero \"" + path("out.html") + "\""), 1);
    EXPECT_EQ(read("err.txt"),
              "Quorvel: cannot open \"/dev/zero\": not a regular file but a device\n");
    EXPECT_FALSE(fs::exists(path("out.html")));
}
#endif

TEST_F(QuorvelCommand, CleanModeForOneFileAndForManyOnSeveralCores)
{
    write("a.rtf", "{\\rtf1 {\\b A}\\par}");
    ASSERT_EQ(run("--clean \"" + path("a.rtf") + "\""), 0);
    EXPECT_EQ(read("out.txt"), "<p><b>A</b></p>\r\n");
    ASSERT_EQ(run("--clean --page --title Tt \"" + path("a.rtf") + "\" \"" + path("a.html") + "\""),
              0);
    EXPECT_NE(read("a.html").find("<title>Tt</title>"), std::string::npos);
    EXPECT_EQ(run("--page \"" + path("a.rtf") + "\""), 1) << "clean options need --clean";

    // Many files: each into the folder, every failure named, the status 1 when any failed.
    std::string args = "--clean -j 2 -o \"" + path("html") + "\"";
    for (int k = 0; k < 12; ++k) {
        const std::string name = "f" + std::to_string(k) + ".rtf";
        write(name, k == 5 ? "not rtf" : "{\\rtf1 file " + std::to_string(k) + "\\par}");
        args += " \"" + path(name) + "\"";
    }
    args += " \"" + path("missing.rtf") + "\"";
    EXPECT_EQ(run(args), 1);
    const std::string errors = read("err.txt");
    EXPECT_NE(errors.find(path("f5.rtf") + ": Quorvel: RTF header is missing."), std::string::npos)
        << errors;
    EXPECT_NE(errors.find(path("missing.rtf") + ": Quorvel: cannot open"), std::string::npos);
    for (int k = 0; k < 12; ++k) {
        const std::string html = read("html/f" + std::to_string(k) + ".html");
        EXPECT_EQ(html, k == 5 ? "" : "<p>file " + std::to_string(k) + "</p>\r\n");
    }
    EXPECT_EQ(run("--clean -j 1 -o \"" + path("html") + "\" \"" + path("a.rtf") + "\""), 0);
    EXPECT_EQ(read("err.txt"), "");
    EXPECT_EQ(run("--clean -j 0 -o x a.rtf"), 1);
}
