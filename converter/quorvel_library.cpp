#include "quorvel_library.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <system_error>
#include <vector>

namespace quorvel {
namespace {

using enum TQuorvelOption;

// Export flag bit -> option. The order differs from the options' own order.
constexpr std::array<TQuorvelOption, 8> kFlagOptions = {
    soProcessFontSize, soProcessFontFace, soUseColors,      soOptimize,
    soWrapHTML,        soUseTitle,        soUseDefaultFont, soMoreCompatible,
};

constexpr std::size_t kBlockSize = 1 << 16;

std::string ErrnoText(int error)
{
    return std::generic_category().message(error);
}

struct FileCloser {
    void operator()(std::FILE *f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// A name beside `path` that no file has yet; the file is created and opened for writing.
File CreateSibling(const std::string &path, std::string &name)
{
    std::random_device device;
    std::mt19937 random(device());
    int lastError = 0;
    for (int attempt = 0; attempt < 16; ++attempt) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, ".quorvel-%08x", static_cast<unsigned>(random()));
        name = path + suffix;
        errno = 0;
        // "x": fail rather than reuse a file that is already there.
        if (File f{std::fopen(name.c_str(), "wbx")})
            return f;
        lastError = errno;
        if (lastError != EEXIST)
            break;
    }
    throw EQuorvelError("Quorvel: cannot create \"" + path + "\": " + ErrnoText(lastError));
}

} // namespace

TQuorvelOptions OptionsFromExportFlags(std::uint32_t flags)
{
    TQuorvelOptions options;
    for (std::size_t bit = 0; bit < kFlagOptions.size(); ++bit) {
        if (flags & (1u << bit))
            options.Include(kFlagOptions[bit]);
    }
    return options;
}

void Configure(TQuorvel &converter, const TConversionRequest &request)
{
    converter.SetOptions(OptionsFromExportFlags(request.Flags));
    converter.SetDefaultFontName(request.FontName);
    converter.SetDefaultFontSize(request.FontSize);
    converter.SetTitle(request.Title);
    converter.SetHeadtags(TLineList::FromText(request.Headtags));
    converter.SetBodyOptions(TLineList::FromText(request.BodyOptions));
}

std::string ReadSourceText(const std::string &path)
{
    errno = 0;
    File f{std::fopen(path.c_str(), "rb")};
    if (!f)
        throw EQuorvelError("Quorvel: cannot open \"" + path + "\": " + ErrnoText(errno));
    std::string text;
    std::error_code sizeError;
    const auto size = std::filesystem::file_size(std::filesystem::path(path), sizeError);
    if (!sizeError)
        text.reserve(static_cast<std::size_t>(size) + 2);
    // Block by block, so each block is split into lines while it is still in the cache.
    TLinesBuilder lines(text);
    std::vector<char> block(kBlockSize);
    for (;;) {
        const std::size_t got = std::fread(block.data(), 1, block.size(), f.get());
        lines.Add(std::string_view(block.data(), got));
        if (got < block.size())
            break;
    }
    if (std::ferror(f.get()))
        throw EQuorvelError("Quorvel: cannot read \"" + path + "\": " + ErrnoText(errno));
    lines.Finish();
    return text;
}

bool WriteLines(std::FILE *file, std::string_view document)
{
    std::string block;
    block.reserve(kBlockSize + kBlockSize / 2);
    TLinesBuilder lines(block);
    for (std::size_t at = 0; at < document.size(); at += kBlockSize) {
        lines.Add(document.substr(at, kBlockSize));
        if (std::fwrite(block.data(), 1, block.size(), file) != block.size())
            return false;
        block.clear();
    }
    lines.Finish();
    return std::fwrite(block.data(), 1, block.size(), file) == block.size() &&
           std::fflush(file) == 0;
}

void WriteDocument(const std::string &path, std::string_view document)
{
    std::string temporary;
    File f = CreateSibling(path, temporary);
    errno = 0;
    bool ok = WriteLines(f.get(), document);
    const int writeError = errno;
    ok = std::fclose(f.release()) == 0 && ok;
    std::error_code renameError;
    if (ok) {
        std::filesystem::rename(std::filesystem::path(temporary), std::filesystem::path(path),
                                renameError);
        if (!renameError)
            return;
    }
    std::error_code ignored;
    std::filesystem::remove(std::filesystem::path(temporary), ignored);
    throw EQuorvelError("Quorvel: cannot write \"" + path + "\": " +
                        (ok ? renameError.message() : ErrnoText(writeError ? writeError : EIO)));
}

void TQuorvel::ConvertFile(const std::string &source, const std::string &target)
{
    WriteDocument(target, ConvertText(ReadSourceText(source)));
}

} // namespace quorvel
