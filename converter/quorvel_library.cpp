#include "quorvel_library.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <system_error>
#include <vector>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

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
// Failures name `shown`, the target as the caller gave it.
File CreateSibling(const std::string &path, const std::string &shown, std::string &name)
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
    throw EQuorvelError("Quorvel: cannot create \"" + shown + "\": " + ErrnoText(lastError));
}

// Gives the new file what the file it replaces had: its permissions (a private document
// stays private) and, where the system allows, its owner.
void TakeOverAttributes(std::FILE *file, const std::string &name, const std::string &replaced)
{
    std::error_code ignored;
    const std::filesystem::file_status old = std::filesystem::status(replaced, ignored);
    if (!std::filesystem::is_regular_file(old))
        return;
#if !defined(_WIN32)
    struct stat info;
    if (::stat(replaced.c_str(), &info) == 0) {
        // Refused unless the caller may give the file away; then the caller owns it.
        const int refused = ::fchown(::fileno(file), info.st_uid, info.st_gid);
        (void)refused;
    }
#else
    (void)file;
#endif
    std::filesystem::permissions(name, old.permissions(), ignored);
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
    // Writing to a target opens the file it names: a symbolic link stays a link, and the
    // file it points to receives the document.
    std::string target = path;
    std::error_code resolveError;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(path, resolveError))) {
        const std::filesystem::path resolved = std::filesystem::canonical(path, resolveError);
        if (!resolveError)
            target = resolved.string();
    }
    // A file that may not be written is not replaced either. Opening it for update checks
    // that without changing it.
    std::error_code statusError;
    if (std::filesystem::is_regular_file(std::filesystem::status(target, statusError))) {
        errno = 0;
        if (!File{std::fopen(target.c_str(), "r+b")})
            throw EQuorvelError("Quorvel: cannot create \"" + path + "\": " + ErrnoText(errno));
    }

    std::string temporary;
    File f = CreateSibling(target, path, temporary);
    TakeOverAttributes(f.get(), temporary, target);
    errno = 0;
    bool ok = WriteLines(f.get(), document);
    const int writeError = errno;
    ok = std::fclose(f.release()) == 0 && ok;
    std::error_code renameError;
    if (ok) {
        std::filesystem::rename(std::filesystem::path(temporary), std::filesystem::path(target),
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
