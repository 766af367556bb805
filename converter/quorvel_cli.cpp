// quorvel [options] INPUT.rtf [OUTPUT.html]: converts one RTF file the way the library's
// QuorvelConvertFile does, writing to OUTPUT or to standard output.
// quorvel --clean [options] INPUT.rtf [OUTPUT.html], and quorvel --clean -o DIR FILE...:
// the clean mode of QuorvelConvertClean, for one file or for many on every core.
#include "quorvel.h"
#include "quorvel_clean.h"
#include "quorvel_library.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <mutex>
#include <thread>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace {

struct FlagOption {
    std::string_view name;
    std::uint32_t bit;
    std::string_view help;
};

constexpr FlagOption kFlagOptions[] = {
    {"--font-size", QUORVEL_FONT_SIZE, "turn \\fs font sizes into FONT SIZE and SMALL elements"},
    {"--font-face", QUORVEL_FONT_FACE, "turn \\f fonts into FONT FACE elements"},
    {"--colors", QUORVEL_COLORS, "read the colour table and turn \\cf into FONT COLOR elements"},
    {"--optimize", QUORVEL_OPTIMIZE, "leave out a face or size that repeats the last one written"},
    {"--wrap-html", QUORVEL_WRAP_HTML, "write the HTML, HEAD and BODY frame"},
    {"--use-title", QUORVEL_USE_TITLE, "write a TITLE element in the frame (see --title)"},
    {"--default-font", QUORVEL_DEFAULT_FONT,
     "wrap the body in the default font (see --font-name, --points)"},
    {"--more-compatible", QUORVEL_MORE_COMPATIBLE,
     "add families to Arial, Courier and Times faces"},
};

void printHelp(std::ostream &out)
{
    out << "Usage: quorvel [options] INPUT.rtf [OUTPUT.html]\n"
           "Converts an RTF file into HTML. Without OUTPUT the HTML goes to standard output.\n"
           "\n"
           "Flags (each sets one bit of the library's flag word; none is set by default):\n";
    for (const FlagOption &f : kFlagOptions) {
        std::string name(f.name);
        name.resize(20, ' ');
        out << "  " << name << f.help << " (" << f.bit << ")\n";
    }
    out << "  --flags N           set the whole flag word (143: the library's convert-only set)\n"
           "\n"
           "Values:\n"
           "  --title TEXT        document title, written with --use-title and --wrap-html\n"
           "  --head-tag LINE     a line for the head (may be repeated)\n"
           "  --body-option TEXT  an attribute for the BODY start tag (may be repeated)\n"
           "  --font-name NAME    default font face\n"
           "  --points N          default font size in points\n"
           "\n"
           "Clean mode (every word of the text, as well-formed HTML5 in UTF-8):\n"
           "  --clean             convert in clean mode; the flags above do not apply\n"
           "  --page              a whole page (doctype, head, title) rather than the body\n"
           "  --styles            keep colours, fonts and sizes as inline CSS\n"
           "  --pictures          write PNG and JPEG pictures beside the output, linked\n"
           "  -o DIR              convert every FILE into DIR/<name>.html (many files)\n"
           "  -j N                convert N files at a time (default: the number of cores)\n"
           "Usage: quorvel --clean [options] INPUT.rtf [OUTPUT.html]\n"
           "       quorvel --clean [options] -o DIR FILE...\n"
           "\n"
           "  --help              show this help\n"
           "  --version           show the converter's version\n"
           "\n"
           "Exit status: 0 on success, 1 on any failure (with a message on standard error).\n";
}

bool parseNumber(std::string_view text, std::int64_t &value)
{
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    const char *end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    return !text.empty() && ec == std::errc() && ptr == end;
}

int fail(const std::string &message)
{
    std::cerr << "quorvel: " << message << "\n";
    return 1;
}

// Converts `files` into `folder` on `jobs` threads; each failure is reported by the file's
// name. Returns the exit status: 1 when any file failed.
int convertCleanBatch(const std::vector<std::string> &files, const std::string &folder,
                      const quorvel::TCleanOptions &options, unsigned jobs)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::mutex report;
    auto work = [&] {
        for (std::size_t k = next++; k < files.size(); k = next++) {
            const std::filesystem::path source(files[k]);
            const std::string target =
                (std::filesystem::path(folder) / source.stem()).string() + ".html";
            try {
                quorvel::convertCleanFile(files[k], target, options);
            } catch (const std::exception &e) {
                failed = true;
                const std::lock_guard<std::mutex> lock(report);
                std::cerr << "quorvel: " << files[k] << ": " << e.what() << "\n";
            }
        }
    };
    jobs = std::max(1u, std::min<unsigned>(jobs, static_cast<unsigned>(files.size())));
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < jobs; ++t)
        threads.emplace_back(work);
    work();
    for (std::thread &t : threads)
        t.join();
    return failed ? 1 : 0;
}

} // namespace

int main(int argc, char **argv)
{
    quorvel::TConversionRequest request;
    std::vector<std::string> files;
    bool optionsEnded = false;
    bool clean = false;
    quorvel::TCleanOptions cleanOptions;
    std::string outputFolder;
    unsigned jobs = std::max(1u, std::thread::hardware_concurrency());

    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (optionsEnded || arg == "-" || !arg.starts_with("-")) {
            files.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            printHelp(std::cout);
            return 0;
        }
        if (arg == "--version") {
            std::cout << quorvel::kQuorvelVersion << "\n";
            return 0;
        }
        if (arg == "--clean" || arg == "--page" || arg == "--styles" || arg == "--pictures") {
            clean = clean || arg == "--clean";
            cleanOptions.wholePage = cleanOptions.wholePage || arg == "--page";
            cleanOptions.keepStyles = cleanOptions.keepStyles || arg == "--styles";
            cleanOptions.pictures = cleanOptions.pictures || arg == "--pictures";
            continue;
        }
        if (arg == "-o" || arg == "-j") {
            if (i + 1 >= argc)
                return fail("option " + std::string(arg) + " needs a value");
            const std::string value = argv[++i];
            std::int64_t number = 0;
            if (arg == "-o") {
                outputFolder = value;
            } else if (!parseNumber(value, number) || number < 1 || number > 1024) {
                return fail("-j needs a number from 1 to 1024, not \"" + value + "\"");
            } else {
                jobs = static_cast<unsigned>(number);
            }
            continue;
        }
        bool known = false;
        for (const FlagOption &f : kFlagOptions) {
            if (arg == f.name) {
                request.flags |= f.bit;
                known = true;
            }
        }
        if (known)
            continue;

        const bool takesValue = arg == "--flags" || arg == "--title" || arg == "--head-tag"
                                || arg == "--body-option" || arg == "--font-name"
                                || arg == "--points";
        if (!takesValue)
            return fail("unknown option " + std::string(arg) + " (see --help)");
        if (i + 1 >= argc)
            return fail("option " + std::string(arg) + " needs a value");
        const std::string value = argv[++i];
        std::int64_t number = 0;
        if (arg == "--flags") {
            if (!parseNumber(value, number) || number < 0 || number > 0xFFFFFFFF)
                return fail("--flags needs a number, not \"" + value + "\"");
            request.flags = static_cast<std::uint32_t>(number);
        } else if (arg == "--points") {
            if (!parseNumber(value, number) || number < INT32_MIN || number > INT32_MAX)
                return fail("--points needs a number, not \"" + value + "\"");
            request.fontSize = static_cast<std::int32_t>(number);
        } else if (arg == "--title") {
            request.title = value;
        } else if (arg == "--head-tag") {
            request.headtags += value + "\r\n";
        } else if (arg == "--body-option") {
            request.bodyOptions += value + "\r\n";
        } else {
            request.fontName = value;
        }
    }

    if (!clean
        && (!outputFolder.empty() || cleanOptions.wholePage || cleanOptions.keepStyles
            || cleanOptions.pictures))
        return fail("-o, --page, --styles and --pictures go with --clean (see --help)");
    if (clean && !outputFolder.empty()) {
        if (files.empty()) {
            printHelp(std::cerr);
            return 1;
        }
        cleanOptions.title = request.title;
        return convertCleanBatch(files, outputFolder, cleanOptions, jobs);
    }
    if (files.empty() || files.size() > 2) {
        printHelp(std::cerr);
        return 1;
    }
    if (clean) {
        cleanOptions.title = request.title;
        try {
            if (files.size() == 2) {
                quorvel::convertCleanFile(files[0], files[1], cleanOptions);
                return 0;
            }
            if (cleanOptions.pictures)
                return fail("--pictures needs an output file or folder");
            const quorvel::TCleanResult result =
                quorvel::convertClean(quorvel::readSourceText(files[0]), cleanOptions);
#if defined(_WIN32)
            _setmode(_fileno(stdout), _O_BINARY);
#endif
            if (!quorvel::writeLines(stdout, result.html))
                return fail("cannot write to standard output");
            return 0;
        } catch (const std::exception &e) {
            std::cerr << e.what() << "\n";
            return 1;
        }
    }

    try {
        quorvel::TQuorvel converter;
        quorvel::configure(converter, request);
        if (files.size() == 2) {
            quorvel::convertFile(converter, files[0], files[1]);
            return 0;
        }
        const std::string html = converter.convertText(quorvel::readSourceText(files[0]));
#if defined(_WIN32)
        _setmode(_fileno(stdout), _O_BINARY); // keep the CR LF lines as they are
#endif
        if (!quorvel::writeLines(stdout, html))
            return fail("cannot write to standard output");
        return 0;
    } catch (const std::exception &e) {
        // The converter's own messages already name it.
        std::cerr << e.what() << "\n";
        return 1;
    }
}
