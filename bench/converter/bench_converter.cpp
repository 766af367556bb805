// Converter throughput on two generated documents of about 20 MB: many short paragraphs,
// and one paragraph without any line break. Measures the library's exported call (file in,
// file out) with a trivial message pump registered, and the engine alone in memory; the
// clean mode the same way.
//   bench_converter DIR [MEGABYTES]   writes DIR/paragraphs.rtf and DIR/single.rtf
#include "quorvel.h"
#include "quorvel_clean.h"
#include "quorvel_engine.h"
#include "quorvel_library.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

const char *const kHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
    "{\\f1\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f2\\fmodern Courier New;}"
    "{\\f3\\fnil\\fcharset2 Symbol;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue0;\\red0\\green0\\blue255;}\r\n"
    "\\viewkind4\\uc1\\pard\\plain\\f0\\fs20 ";

// One paragraph's worth of typical word-processor output.
std::string paragraph(int n, bool breakLines)
{
    const char *eol = breakLines ? "\r\n" : "";
    std::string p;
    p += "\\pard\\plain\\f" + std::to_string(n % 3) + "\\fs" + std::to_string(20 + 2 * (n % 4));
    p += " Paragraph " + std::to_string(n) + " of the generated text, with \\b bold\\b0 , ";
    p += "\\i italic\\i0  and \\ul underlined\\ulnone  words.";
    p += eol;
    p += "Caf\\'e9 cr\\'e8me, na\\'efve \\ldblquot quotes\\rdblquot  & <angle> brackets, ";
    p += "\\cf" + std::to_string(1 + n % 3) + " coloured\\cf0  text\\tab and a tab.";
    p += eol;
    p += "Plain sentence number " + std::to_string(n)
         + " that runs on for a while to give the line its usual length.";
    p += eol;
    if (breakLines)
        p += "\\par\r\n";
    else
        p += " ";
    return p;
}

std::string generate(std::size_t bytes, bool paragraphs)
{
    std::string rtf = kHeader;
    rtf.reserve(bytes + 1024);
    for (int n = 0; rtf.size() < bytes; ++n)
        rtf += paragraph(n, paragraphs);
    rtf += "\\par\r\n}\r\n";
    return rtf;
}

unsigned long long pumpCalls = 0;
void QUORVEL_CALL trivialPump(void *)
{
    ++pumpCalls;
}
void enginePump(void *)
{
    ++pumpCalls;
}

template <typename F>
double bestSeconds(int rounds, F &&run)
{
    double best = 1e30;
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        run();
        const double s = std::chrono::duration<double>(Clock::now() - start).count();
        best = s < best ? s : best;
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_converter DIR [MEGABYTES]\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    const double megabytes = argc > 2 ? std::atof(argv[2]) : 20.0;
    std::filesystem::create_directories(dir);

    QuorvelSetMessagePump(trivialPump, nullptr);
    std::printf("%-12s %-38s %10s %10s\n", "input", "converter", "seconds", "MB/s");
    for (const bool paragraphs : {true, false}) {
        const std::string name = paragraphs ? "paragraphs" : "single";
        const std::string source = (dir / (name + ".rtf")).string();
        const std::string target = (dir / (name + ".quorvel.html")).string();
        const std::string rtf = generate(static_cast<std::size_t>(megabytes * 1e6), paragraphs);
        std::ofstream(source, std::ios::binary) << rtf;
        const double mb = static_cast<double>(rtf.size()) / 1e6;

        auto report = [&](const char *what, double seconds) {
            std::printf("%-12s %-38s %10.3f %10.1f\n", name.c_str(), what, seconds, mb / seconds);
            std::fflush(stdout);
        };

        for (const int flags : {143, 0}) {
            int failed = 0;
            const double s = bestSeconds(3, [&] {
                failed |=
                    QuorvelConvertFile(source.c_str(), target.c_str(), flags, "", "", "", "", 0);
            });
            if (failed) {
                std::fprintf(stderr, "conversion failed: %s\n", QuorvelLastError());
                return 1;
            }
            report(flags ? "library, file to file, flags 143" : "library, file to file, flags 0",
                   s);
        }

        const std::string text = quorvel::textAsLines(rtf);
        std::size_t outputBytes = 0;
        const double engine = bestSeconds(3, [&] {
            quorvel::TQuorvel converter;
            quorvel::configure(converter, {quorvel::kConvertOnlyFlags, "", "", "", "", 0});
            converter.setMessagePump({enginePump, nullptr});
            outputBytes = converter.convertText(text).size();
        });
        report("engine in memory, flags 143", engine);
        (void)outputBytes;

        // The clean mode: file to file through the export, with and without the pump, and
        // the reader and writer alone in memory.
        const std::string cleanTarget = (dir / (name + ".clean.html")).string();
        for (const bool pumped : {true, false}) {
            QuorvelSetMessagePump(pumped ? trivialPump : nullptr, nullptr);
            int failed = 0;
            const double s = bestSeconds(3, [&] {
                failed |= QuorvelConvertClean(source.c_str(), cleanTarget.c_str(), 0, "");
            });
            if (failed) {
                std::fprintf(stderr, "clean conversion failed: %s\n", QuorvelLastError());
                return 1;
            }
            report(pumped ? "library, file to file, clean"
                          : "library, file to file, clean, no pump",
                   s);
        }
        QuorvelSetMessagePump(trivialPump, nullptr);
        const double clean =
            bestSeconds(3, [&] { outputBytes = quorvel::convertClean(text, {}).html.size(); });
        report("clean mode in memory", clean);
    }
    {
        // A long font name used by many \f words, and many \colortbl words: the work per
        // word must not grow with the name.
        const auto bytes = static_cast<std::size_t>(megabytes * 1e6);
        std::string rtf = "{\\rtf1{\\fonttbl{\\f0 " + std::string(bytes / 4, 'n') + ";}{\\f1 "
                          + std::string(bytes / 4, 'n') + ";}}{\\colortbl}";
        while (rtf.size() < bytes)
            rtf += "\\f0 a\\f1 b\\colortbl ";
        rtf += "}\r\n";
        const double mb = static_cast<double>(rtf.size()) / 1e6;
        const double s = bestSeconds(3, [&] {
            quorvel::TQuorvel converter;
            quorvel::configure(converter, {quorvel::kConvertOnlyFlags, "", "", "", "", 0});
            (void)converter.convertText(rtf).size();
        });
        std::printf("%-12s %-38s %10.3f %10.1f\n", "long-fonts", "engine in memory, flags 143", s,
                    mb / s);
    }
    std::printf("(message pump calls: %llu)\n", pumpCalls);
    return 0;
}
