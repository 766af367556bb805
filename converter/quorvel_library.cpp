#include "quorvel_library.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#if !defined(_WIN32)
#include <fcntl.h>
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

std::string errnoText(int error)
{
    return std::generic_category().message(error);
}

struct FileCloser {
    void operator()(std::FILE *f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::string notRegular(safe_write::FileKind kind)
{
    const std::string_view name = safe_write::kindName(kind);
    return name.empty() ? "not a regular file" : "not a regular file but " + std::string(name);
}

} // namespace

TQuorvelOptions optionsFromExportFlags(std::uint32_t flags)
{
    TQuorvelOptions options;
    for (std::size_t bit = 0; bit < kFlagOptions.size(); ++bit) {
        if (flags & (1u << bit))
            options.include(kFlagOptions[bit]);
    }
    return options;
}

void configure(TQuorvel &converter, const TConversionRequest &request)
{
    converter.setOptions(optionsFromExportFlags(request.flags));
    converter.setDefaultFontName(request.fontName);
    converter.setDefaultFontSize(request.fontSize);
    converter.setTitle(request.title);
    converter.setHeadtags(TLineList::fromText(request.headtags));
    converter.setBodyOptions(TLineList::fromText(request.bodyOptions));
}

std::string readSourceText(const std::string &path, TFileIdentity *identity)
{
    errno = 0;
#if !defined(_WIN32)
    // Opened without waiting, so a named pipe with no writer cannot hold the call; only a
    // regular file is read on.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat info;
    if (fd < 0)
        throw EQuorvelError("Quorvel: cannot open \"" + path + "\": " + errnoText(errno));
    const bool known = ::fstat(fd, &info) == 0;
    if (!known || !S_ISREG(info.st_mode)) {
        const std::string reason =
            known ? notRegular(safe_write::fileKindOf(info.st_mode)) : errnoText(errno);
        ::close(fd);
        throw EQuorvelError("Quorvel: cannot open \"" + path + "\": " + reason);
    }
    if (identity)
        *identity = {true, static_cast<std::uint64_t>(info.st_dev),
                     static_cast<std::uint64_t>(info.st_ino)};
    File f{::fdopen(fd, "rb")};
    if (!f) {
        const int error = errno;
        ::close(fd);
        throw EQuorvelError("Quorvel: cannot open \"" + path + "\": " + errnoText(error));
    }
#else
    (void)identity;
    File f{std::fopen(path.c_str(), "rb")};
    if (!f)
        throw EQuorvelError("Quorvel: cannot open \"" + path + "\": " + errnoText(errno));
#endif
    std::string text;
    std::error_code sizeError;
    const auto size = std::filesystem::file_size(std::filesystem::path(path), sizeError);
    if (!sizeError)
        reserveLarge(text, static_cast<std::size_t>(size) + 2);
    // Block by block, so each block is split into lines while it is still in the cache.
    TLinesBuilder lines(text);
    std::vector<char> block(kBlockSize);
    for (;;) {
        const std::size_t got = std::fread(block.data(), 1, block.size(), f.get());
        lines.add(std::string_view(block.data(), got));
        if (got < block.size())
            break;
    }
    if (std::ferror(f.get()))
        throw EQuorvelError("Quorvel: cannot read \"" + path + "\": " + errnoText(errno));
    lines.finish();
    return text;
}

bool writeLines(std::FILE *file, std::string_view document)
{
    std::string block;
    block.reserve(kBlockSize + kBlockSize / 2);
    TLinesBuilder lines(block);
    for (std::size_t at = 0; at < document.size(); at += kBlockSize) {
        lines.add(document.substr(at, kBlockSize));
        if (std::fwrite(block.data(), 1, block.size(), file) != block.size())
            return false;
        block.clear();
    }
    lines.finish();
    return std::fwrite(block.data(), 1, block.size(), file) == block.size()
           && std::fflush(file) == 0;
}

std::string writeFailureMessage(const std::string &path, const safe_write::Result &result)
{
    using safe_write::Failure;
    std::string reason = result.reason;
    switch (result.failure) {
    case Failure::NoPath:
        return std::string(kNoTarget);
    case Failure::SameFile:
        return "Quorvel: \"" + path + "\" is the source file itself. Conversion aborted.";
    case Failure::NotRegularFile:
        reason = notRegular(result.kind);
        break;
    case Failure::ReadOnly:
        reason = "the file is read-only";
        break;
    case Failure::None:
    case Failure::System:
        break;
    }
    const char *what = result.stage == safe_write::Stage::Write ? "write" : "create";
    return "Quorvel: cannot " + std::string(what) + " \"" + path + "\": " + reason;
}

void writeDocument(const std::string &path, std::string_view document, const TFileIdentity &source)
{
    safe_write::Options options;
    options.source = source;
    // A document already in its text form is written as it is, not copied.
    const safe_write::Result result =
        isCrLfLines(document) ? safe_write::writeFile(path, document, options)
                              : safe_write::writeFile(path, textAsLines(document), options);
    if (!result)
        throw EQuorvelError(writeFailureMessage(path, result));
}

void convertFile(TQuorvel &converter, const std::string &source, const std::string &target)
{
    // Checked before the source is read, so that this is the message whatever the source.
    if (target.empty())
        throw EQuorvelError(std::string(kNoTarget));
    TFileIdentity identity;
    const std::string text = readSourceText(source, &identity);
    writeDocument(target, converter.convertText(text), identity);
}

} // namespace quorvel
