// The clean mode on RTF files as word processors write them (tests/converter/clean_corpus):
// it keeps the words pandoc reads from each file, adds hardly any of its own, and every
// page it writes passes tidy without a warning. The fuzzer's inputs must pass tidy too.
#include "quorvel_clean.h"
#include "quorvel_library.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Runs a shell command; its standard output, and its exit status in `status`.
std::string capture(const std::string &command, int &status)
{
    std::string out;
    FILE *pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        status = -1;
        return out;
    }
    std::array<char, 4096> block;
    std::size_t got;
    while ((got = std::fread(block.data(), 1, block.size(), pipe)) > 0)
        out.append(block.data(), got);
    const int raw = ::pclose(pipe);
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return out;
}

std::string quoted(const std::string &path)
{
    return "'" + path + "'";
}

// The text a reader sees on an HTML page: tags dropped, the four escapes read back, the
// numbers of ordered lists shown as a browser shows them.
std::string visibleText(std::string_view html)
{
    std::string text;
    std::vector<int> lists; // per open list: the last number, or -1 for bullets
    for (std::size_t k = 0; k < html.size(); ++k) {
        if (html[k] == '<') {
            const std::size_t end = html.find('>', k);
            const std::string_view tag = html.substr(k + 1, end - k - 1);
            const std::string_view name = tag.substr(0, tag.find(' '));
            k = end;
            // Inline elements join the letters on either side; all others separate.
            static constexpr std::string_view kInline[] = {"a", "/a", "b", "/b", "i",    "/i",
                                                           "u", "/u", "s", "/s", "span", "/span"};
            if (std::find(std::begin(kInline), std::end(kInline), name) != std::end(kInline))
                continue;
            text += ' ';
            if (name == "ol" || name == "ul")
                lists.push_back(name == "ol" ? 0 : -1);
            else if ((name == "/ol" || name == "/ul") && !lists.empty())
                lists.pop_back();
            else if (name == "li" && !lists.empty() && lists.back() >= 0)
                text += std::to_string(++lists.back()) + ". ";
        } else if (html[k] == '&') {
            for (auto [entity, ch] :
                 {std::pair{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}}) {
                if (html.substr(k).starts_with(entity)) {
                    text += ch;
                    k += std::string_view(entity).size() - 1;
                    break;
                }
            }
        } else {
            text += html[k];
        }
    }
    return text;
}

// Words as a reader counts them: runs of letters and digits of any script, in ASCII lower
// case; punctuation (ASCII, the general punctuation block, no-break and ideographic
// spaces, middle dots) separates them.
std::map<std::string, int> wordsOf(std::string_view text)
{
    std::map<std::string, int> words;
    std::string word;
    auto flush = [&] {
        if (!word.empty())
            ++words[word];
        word.clear();
    };
    for (std::size_t k = 0; k < text.size();) {
        const auto c = static_cast<unsigned char>(text[k]);
        std::size_t length = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
        length = std::min(length, text.size() - k);
        std::uint32_t cp = length == 1 ? c : c & (0x7F >> length);
        for (std::size_t j = 1; j < length; ++j)
            cp = (cp << 6) | (static_cast<unsigned char>(text[k + j]) & 0x3F);
        const bool letter = length == 1
                                ? std::isalnum(c) != 0
                                : !((cp >= 0x2000 && cp <= 0x206F) || cp == 0xA0 || cp == 0xB7
                                    || cp == 0xB0 || cp == 0x3000 || cp == 0xAB || cp == 0xBB);
        if (letter && length == 1)
            word += static_cast<char>(std::tolower(c));
        else if (letter)
            word += text.substr(k, length);
        else
            flush();
        k += length;
    }
    flush();
    return words;
}

int total(const std::map<std::string, int> &words)
{
    int n = 0;
    for (const auto &[w, count] : words)
        n += count;
    return n;
}

int common(const std::map<std::string, int> &a, const std::map<std::string, int> &b)
{
    int n = 0;
    for (const auto &[w, count] : a) {
        const auto found = b.find(w);
        if (found != b.end())
            n += std::min(count, found->second);
    }
    return n;
}

std::vector<fs::path> corpusFiles()
{
    std::vector<fs::path> files;
    for (const auto &entry : fs::directory_iterator(QUORVEL_CLEAN_CORPUS_DIR)) {
        if (entry.path().extension() == ".rtf")
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(CleanCorpus, KeepsTheWordsPandocReadsAndAddsNoneOfItsOwn)
{
    const std::vector<fs::path> files = corpusFiles();
    ASSERT_GE(files.size(), 8u);
    double recallSum = 0;
    double precisionSum = 0;
    for (const fs::path &file : files) {
        int status = 0;
        const std::string reference =
            capture("pandoc -f rtf -t plain --wrap=none " + quoted(file.string()), status);
        ASSERT_EQ(status, 0) << "pandoc could not read " << file;
        const std::string html =
            quorvel::convertClean(quorvel::readSourceText(file.string()), {}).html;
        const auto expected = wordsOf(reference);
        const auto got = wordsOf(visibleText(html));
        const int shared = common(expected, got);
        const double recall = static_cast<double>(shared) / std::max(1, total(expected));
        const double precision = static_cast<double>(shared) / std::max(1, total(got));
        std::printf("%-28s words %4d/%4d  recall %.3f  precision %.3f\n",
                    file.filename().string().c_str(), total(got), total(expected), recall,
                    precision);
        // What differs, so that a figure below 1 can be explained.
        for (const auto &[w, count] : expected) {
            const auto found = got.find(w);
            if (found == got.end() || found->second < count)
                std::printf("    missing: %s\n", w.c_str());
        }
        for (const auto &[w, count] : got) {
            const auto found = expected.find(w);
            if (found == expected.end() || found->second < count)
                std::printf("    added:   %s\n", w.c_str());
        }
        recallSum += recall;
        precisionSum += precision;
    }
    const double n = static_cast<double>(files.size());
    std::printf("mean recall %.3f, mean precision %.3f over %zu files\n", recallSum / n,
                precisionSum / n, files.size());
    EXPECT_GE(recallSum / n, 0.97);
    // pandoc itself leaves out notes written as "\\*\\footnote" and the text of Word's and
    // LibreOffice's hyperlink fields, and drops or misreads the character after some "\\u"
    // escapes; the words this mode rightly keeps there count against it, so the four files
    // with notes, links and such escapes sit near 0.87.
    EXPECT_GE(precisionSum / n, 0.95);
}

// tidy's verdict on one page: exit status 0 means neither an error nor a warning.
void expectTidyPasses(const std::string &page, const std::string &name)
{
    const fs::path file = fs::temp_directory_path() / ("quorvel-clean-tidy-" + name + ".html");
    std::ofstream(file, std::ios::binary) << page;
    int status = 0;
    const std::string report =
        capture("tidy -errors -q " + quoted(file.string()) + " 2>&1", status);
    EXPECT_EQ(status, 0) << name << ":\n" << report;
    fs::remove(file);
}

TEST(CleanCorpus, EveryPageIsWellFormedHtml5)
{
    quorvel::TCleanOptions options;
    options.wholePage = true;
    options.title = "Corpus";
    std::size_t pages = 0;
    for (const fs::path &file : corpusFiles()) {
        for (bool styles : {false, true}) {
            options.keepStyles = styles;
            options.pictures = styles;
            expectTidyPasses(
                quorvel::convertClean(quorvel::readSourceText(file.string()), options).html,
                file.stem().string() + (styles ? "-styles" : ""));
            ++pages;
        }
    }
    // The fuzzer's inputs: after the two bytes of flags, whatever the fuzzer found.
    for (const auto &entry : fs::directory_iterator(QUORVEL_CORPUS_DIR)) {
        const std::string data = readFile(entry.path());
        if (data.size() < 2)
            continue;
        try {
            options.keepStyles = (data[0] & 2) != 0;
            expectTidyPasses(quorvel::convertClean(std::string_view(data).substr(2), options).html,
                             "fuzz-" + entry.path().filename().string());
            ++pages;
        } catch (const quorvel::EQuorvelError &) {
            // not RTF at all: nothing is written
        }
    }
    EXPECT_GE(pages, 20u);
}

} // namespace
