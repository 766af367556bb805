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
#include <climits>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <utility>
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

#if !defined(_WIN32)

// Closes the descriptor it holds when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }
    // Closes now; a late write error shows here.
    bool closeDocument()
    {
        const int fd = release();
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_;
};

bool writeAll(int fd, std::string_view bytes)
{
    off_t offset = 0;
    while (!bytes.empty()) {
        const ssize_t written = ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
        offset += written;
    }
    return true;
}

bool readAll(int fd, std::string &bytes)
{
    std::vector<char> block(kBlockSize);
    off_t offset = 0;
    for (;;) {
        const ssize_t got = ::pread(fd, block.data(), block.size(), offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        bytes.append(block.data(), static_cast<std::size_t>(got));
        offset += got;
    }
}

std::string directoryOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a named pipe";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not a regular file";
}

std::string notRegular(mode_t mode)
{
    const std::string kind = kindOf(mode);
    return kind.starts_with("not") ? kind : "not a regular file but " + kind;
}

// Follows symbolic links from `path` to the name the document is written under: the first
// name that is no link, or that does not exist yet (the target of a dangling link).
std::string resolveLinks(std::string path, const std::string &shown)
{
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info;
        if (::lstat(path.c_str(), &info) != 0) {
            if (errno != ENOENT)
                throw EQuorvelError("Quorvel: cannot create \"" + shown
                                    + "\": " + errnoText(errno));
            return path;
        }
        if (!S_ISLNK(info.st_mode))
            return path;
        std::vector<char> buffer(PATH_MAX);
        const ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (length < 0 || static_cast<std::size_t>(length) == buffer.size())
            throw EQuorvelError("Quorvel: cannot create \"" + shown
                                + "\": " + errnoText(length < 0 ? errno : ENAMETOOLONG));
        const std::string link(buffer.data(), static_cast<std::size_t>(length));
        path = link.starts_with('/') ? link : directoryOf(path) + "/" + link;
    }
    throw EQuorvelError("Quorvel: cannot create \"" + shown + "\": " + errnoText(ELOOP));
}

// A new, empty file with a short name beside the target, so that a target whose name is as
// long as names may be still has room for it. Removed again unless keep() is called.
class TemporaryFile {
public:
    TemporaryFile(const std::string &directory, mode_t mode)
    {
        std::random_device device;
        std::mt19937 random(device());
        for (int attempt = 0; attempt < 100; ++attempt) {
            char name[16];
            std::snprintf(name, sizeof name, "/.qv%06x",
                          static_cast<unsigned>(random() & 0xFFFFFF));
            std::string path = directory + name;
            const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (fd >= 0) {
                fd_ = fd;
                path_ = std::move(path);
                return;
            }
            if (errno != EEXIST)
                break;
        }
        error_ = errno;
    }
    ~TemporaryFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    bool isOpen() const { return fd_ >= 0 || !path_.empty(); }
    int creationError() const { return error_; }
    int fd() const { return fd_; }
    const std::string &path() const { return path_; }
    // Writes the bytes, makes sure they reached the disk and closes the file.
    bool writeAndClose(std::string_view bytes)
    {
        if (!writeAll(fd_, bytes) || ::fsync(fd_) != 0)
            return false;
        return ::close(std::exchange(fd_, -1)) == 0;
    }
    void keep() { path_.clear(); }

private:
    int fd_ = -1;
    std::string path_;
    int error_ = 0;
};

// The directory entry of a renamed file reaches the disk with its directory. The write
// itself is done by then, so a failure here changes nothing.
void syncDirectory(const std::string &directory)
{
    Descriptor dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        ::fsync(dir.get());
}

struct Attribute {
    std::string name;
    std::string value;
};

// The file's extended attributes, access control lists among them; nothing where the file
// system has none, no value when they cannot be read.
std::optional<std::vector<Attribute>> readAttributes(const std::string &path)
{
    std::vector<Attribute> attributes;
    const ssize_t listSize = ::llistxattr(path.c_str(), nullptr, 0);
    if (listSize < 0)
        return errno == ENOTSUP ? std::optional(attributes) : std::nullopt;
    std::string names(static_cast<std::size_t>(listSize), '\0');
    const ssize_t got = ::llistxattr(path.c_str(), names.data(), names.size());
    if (got < 0)
        return std::nullopt;
    names.resize(static_cast<std::size_t>(got));
    for (std::size_t at = 0; at < names.size();) {
        const std::string name = names.c_str() + at;
        at += name.size() + 1;
        if (name.empty())
            continue;
        const ssize_t valueSize = ::lgetxattr(path.c_str(), name.c_str(), nullptr, 0);
        if (valueSize < 0)
            return std::nullopt;
        std::string value(static_cast<std::size_t>(valueSize), '\0');
        const ssize_t read = ::lgetxattr(path.c_str(), name.c_str(), value.data(), value.size());
        if (read < 0)
            return std::nullopt;
        value.resize(static_cast<std::size_t>(read));
        attributes.push_back({name, value});
    }
    return attributes;
}

enum class TReplaced { Done, Failed, NotKept };

// Writes a new file beside `target` that has everything the old one had and renames it over
// the old one. NotKept when the new file cannot be made the same; the caller writes in place.
TReplaced replaceByRename(const std::string &target, const struct stat &old, std::string_view bytes,
                          int &error)
{
    if (old.st_nlink != 1)
        return TReplaced::NotKept;
    const std::string directory = directoryOf(target);
    if (::faccessat(AT_FDCWD, directory.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        return TReplaced::NotKept;
    const std::optional<std::vector<Attribute>> attributes = readAttributes(target);
    if (!attributes)
        return TReplaced::NotKept;
    TemporaryFile temporary(directory, S_IRUSR | S_IWUSR);
    if (!temporary.isOpen())
        return TReplaced::NotKept;
    struct stat created;
    if (::fstat(temporary.fd(), &created) != 0)
        return TReplaced::NotKept;
    if ((created.st_uid != old.st_uid || created.st_gid != old.st_gid)
        && ::fchown(temporary.fd(), old.st_uid, old.st_gid) != 0)
        return TReplaced::NotKept;
    for (const Attribute &attribute : *attributes) {
        if (::fsetxattr(temporary.fd(), attribute.name.c_str(), attribute.value.data(),
                        attribute.value.size(), 0)
            != 0)
            return TReplaced::NotKept;
    }
    // After the owner and the access lists, which both touch the mode.
    if (::fchmod(temporary.fd(), old.st_mode & 07777) != 0)
        return TReplaced::NotKept;
    if (!temporary.writeAndClose(bytes)) {
        error = errno;
        return TReplaced::Failed;
    }
    if (::rename(temporary.path().c_str(), target.c_str()) != 0) {
        // In a sticky folder only the owner may replace a file it may still write.
        if (errno == EPERM || errno == EACCES)
            return TReplaced::NotKept;
        error = errno;
        return TReplaced::Failed;
    }
    temporary.keep();
    syncDirectory(directory);
    return TReplaced::Done;
}

// Writes over the file itself, which keeps its identity, links and attributes; the old
// bytes are kept and written back when the write fails. Returns 0 or the error.
int writeInPlace(const std::string &target, std::string_view bytes, std::string &refusal)
{
    Descriptor file(::open(target.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info;
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0)
        return errno;
    if (!S_ISREG(info.st_mode)) {
        refusal = notRegular(info.st_mode);
        return EINVAL;
    }
    std::string old;
    if (!readAll(file.get(), old))
        return errno;
    if (writeAll(file.get(), bytes)
        && ::ftruncate(file.get(), static_cast<off_t>(bytes.size())) == 0
        && ::fsync(file.get()) == 0 && file.closeDocument())
        return 0;
    const int error = errno;
    Descriptor again(file.get() >= 0 ? ::dup(file.get())
                                     : ::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC));
    const bool restored = again.get() >= 0 && writeAll(again.get(), old)
                          && ::ftruncate(again.get(), static_cast<off_t>(old.size())) == 0
                          && ::fsync(again.get()) == 0 && again.closeDocument();
    if (!restored)
        refusal = errnoText(error) + "; the old content could not be written back";
    return error;
}

// A file that is not there yet appears whole or not at all. Returns 0 or the error.
int createNew(const std::string &target, std::string_view bytes)
{
    const std::string directory = directoryOf(target);
    TemporaryFile temporary(directory, 0666); // the umask and the folder's defaults apply
    if (!temporary.isOpen())
        return temporary.creationError();
    if (!temporary.writeAndClose(bytes))
        return errno;
    // Never over a file that appeared meanwhile; a hard link refuses an existing name too.
    if (::renameat2(AT_FDCWD, temporary.path().c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE)
        == 0) {
        temporary.keep();
    } else if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    } else if (::link(temporary.path().c_str(), target.c_str()) != 0) {
        return errno;
    }
    syncDirectory(directory);
    return 0;
}

#else

// A name beside `path` that no file has yet; the file is created and opened for writing.
// Failures name `shown`, the target as the caller gave it.
File createSibling(const std::string &path, const std::string &shown, std::string &name)
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
    throw EQuorvelError("Quorvel: cannot create \"" + shown + "\": " + errnoText(lastError));
}

#endif

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
        const std::string reason = known ? notRegular(info.st_mode) : errnoText(errno);
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
        text.reserve(static_cast<std::size_t>(size) + 2);
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

void writeDocument(const std::string &path, std::string_view document, const TFileIdentity &source)
{
    if (path.empty())
        throw EQuorvelError("Quorvel: no target file was given. Conversion aborted.");
    const std::string bytes = textAsLines(document);
    auto cannot = [&path](const char *what, const std::string &reason) {
        return EQuorvelError("Quorvel: cannot " + std::string(what) + " \"" + path
                             + "\": " + reason);
    };
#if !defined(_WIN32)
    const std::string target = resolveLinks(path, path);
    struct stat info;
    if (::lstat(target.c_str(), &info) != 0) {
        if (errno != ENOENT)
            throw cannot("create", errnoText(errno));
        if (const int error = createNew(target, bytes))
            throw cannot("create", errnoText(error));
        return;
    }
    if (!S_ISREG(info.st_mode))
        throw cannot("create", notRegular(info.st_mode));
    if (source.known && static_cast<std::uint64_t>(info.st_dev) == source.device
        && static_cast<std::uint64_t>(info.st_ino) == source.inode)
        throw EQuorvelError("Quorvel: \"" + path
                            + "\" is the source file itself. Conversion aborted.");
    // A file whose owner may not write it is read-only for every user, the superuser too.
    if (!(info.st_mode & S_IWUSR))
        throw cannot("create", "the file is read-only");
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        throw cannot("create", errnoText(errno));
    int error = 0;
    switch (replaceByRename(target, info, bytes, error)) {
    case TReplaced::Done:
        return;
    case TReplaced::Failed:
        throw cannot("write", errnoText(error));
    case TReplaced::NotKept:
        break;
    }
    std::string reason;
    if (const int inPlaceError = writeInPlace(target, bytes, reason))
        throw cannot("write", reason.empty() ? errnoText(inPlaceError) : reason);
#else
    (void)source;
    std::string temporary;
    File f = createSibling(path, path, temporary);
    errno = 0;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size()
              && std::fflush(f.get()) == 0;
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
    throw cannot("write", ok ? renameError.message() : errnoText(writeError ? writeError : EIO));
#endif
}

void convertFile(TQuorvel &converter, const std::string &source, const std::string &target)
{
    // Checked before the source is read, so that this is the message whatever the source.
    if (target.empty())
        throw EQuorvelError("Quorvel: no target file was given. Conversion aborted.");
    TFileIdentity identity;
    const std::string text = readSourceText(source, &identity);
    writeDocument(target, converter.convertText(text), identity);
}

} // namespace quorvel
