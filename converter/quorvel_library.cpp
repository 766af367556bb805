#include "quorvel_library.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <system_error>

namespace quorvel {
namespace {

using enum TQuorvelOption;

// Export flag bit -> option. The order differs from the options' own order.
constexpr std::array<TQuorvelOption, 8> kFlagOptions = {
    soProcessFontSize, soProcessFontFace, soUseColors,      soOptimize,
    soWrapHTML,        soUseTitle,        soUseDefaultFont, soMoreCompatible,
};

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
    std::string bytes;
    std::error_code sizeError;
    const auto size = std::filesystem::file_size(std::filesystem::path(path), sizeError);
    if (!sizeError)
        bytes.reserve(static_cast<std::size_t>(size) + 2);
    std::array<char, 1 << 16> buffer;
    for (;;) {
        const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), f.get());
        bytes.append(buffer.data(), got);
        if (got < buffer.size())
            break;
    }
    if (std::ferror(f.get()))
        throw EQuorvelError("Quorvel: cannot read \"" + path + "\": " + ErrnoText(errno));
    return TextAsLines(std::move(bytes));
}

void WriteDocument(const std::string &path, std::string document)
{
    const std::string text = TextAsLines(std::move(document));
    std::string temporary;
    File f = CreateSibling(path, temporary);
    errno = 0;
    bool ok = std::fwrite(text.data(), 1, text.size(), f.get()) == text.size();
    ok = std::fflush(f.get()) == 0 && ok;
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
