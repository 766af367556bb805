#include "safe_write/safe_write.h"

#include <cerrno>
#include <cstdio>
#include <random>
#include <system_error>
#include <utility>

#if !defined(_WIN32)
#include <climits>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>
#else
#include <filesystem>
#include <memory>
#endif

namespace safe_write {
namespace {

std::string errnoText(int error)
{
    return std::generic_category().message(error);
}

Result refused(Failure failure, Stage stage, std::string reason)
{
    Result result;
    result.failure = failure;
    result.stage = stage;
    result.reason = std::move(reason);
    return result;
}

Result systemError(Stage stage, int error, const char *more = "")
{
    Result result = refused(Failure::System, stage, errnoText(error) + more);
    result.error = error;
    return result;
}

#if !defined(_WIN32)

constexpr std::size_t kBlockSize = 1 << 16;

// The refusal of a name that is no regular file, worded for the user.
Result notRegular(Stage stage, FileKind kind)
{
    std::string reason;
    if (kind == FileKind::Folder)
        reason = "The name belongs to a folder, not a file";
    else if (const std::string_view name = kindName(kind); !name.empty())
        reason = "The file is " + std::string(name) + ", not a regular file";
    else
        reason = "The file is not a regular file";
    Result result = refused(Failure::NotRegularFile, stage, std::move(reason));
    result.kind = kind;
    return result;
}

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
    // Closes now and reports whether the close succeeded (it can report a late write error).
    bool close()
    {
        const int fd = std::exchange(fd_, -1);
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_;
};

// Writes all of `bytes` from the start of the file.
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
    // On the heap: the routine may run deep in a caller's stack.
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

// Follows symbolic links from `path` to the name the bytes are written under: the first name
// that is not a link, or that does not exist yet (the target of a dangling link). Returns 0
// or the error.
int resolveLinks(std::string path, std::string &resolved)
{
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info;
        if (::lstat(path.c_str(), &info) != 0) {
            if (errno != ENOENT)
                return errno;
            resolved = std::move(path);
            return 0;
        }
        if (!S_ISLNK(info.st_mode)) {
            resolved = std::move(path);
            return 0;
        }
        std::vector<char> buffer(PATH_MAX);
        const ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (length < 0 || static_cast<std::size_t>(length) == buffer.size())
            return length < 0 ? errno : ENAMETOOLONG;
        const std::string link(buffer.data(), static_cast<std::size_t>(length));
        path = link.starts_with('/') ? link : directoryOf(path) + "/" + link;
    }
    return ELOOP;
}

// A new, empty file with a short name beside the target, so that even a target whose name
// is as long as names may be has room for it. It is removed again unless `keep` is called.
class TemporaryFile {
public:
    TemporaryFile(const std::string &directory, mode_t mode)
    {
        static constexpr char kLetters[] =
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        std::random_device device;
        std::mt19937 random(device());
        std::uniform_int_distribution<std::size_t> letter(0, sizeof kLetters - 2);
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string path = directory + "/.pw";
            for (int i = 0; i < 6; ++i)
                path += kLetters[letter(random)];
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

    bool isOpen() const { return !path_.empty(); }
    int creationError() const { return error_; }
    int fd() const { return fd_; }
    const std::string &path() const { return path_; }
    // Writes the bytes and makes sure they reached the disk; the file is closed after.
    bool writeAndClose(std::string_view bytes)
    {
        if (!writeAll(fd_, bytes) || ::fsync(fd_) != 0)
            return false;
        return ::close(std::exchange(fd_, -1)) == 0;
    }
    // The file now lives under another name.
    void keep() { path_.clear(); }

private:
    int fd_ = -1;
    std::string path_;
    int error_ = 0;
};

// The renamed file is on the disk; the directory entry follows with the directory. A
// failure here changes nothing about the write that already happened.
void syncDirectory(const std::string &directory)
{
    const Descriptor dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        ::fsync(dir.get());
}

struct Attribute {
    std::string name;
    std::string value;
};

// The extended attributes of a file (its access control lists among them); nothing when the
// file system has none. Empty optional when they cannot be read.
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

// The mode a file written over one with `mode` gets.
mode_t modeFor(mode_t mode, Access access)
{
    return access == Access::OwnerOnly ? mode & 07700 : mode & 07777;
}

enum class Replaced { Done, Failed, NotKept };

// Writes a new file beside `target` with everything the old one had, and renames it over
// the old one. NotKept when the new file could not be made the same as the old one; the
// caller then writes in place.
Replaced replaceByRename(const std::string &target, const struct stat &old, std::string_view bytes,
                         Access access, int &error)
{
    if (old.st_nlink != 1)
        return Replaced::NotKept;
    const std::string directory = directoryOf(target);
    if (::faccessat(AT_FDCWD, directory.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        return Replaced::NotKept;
    const std::optional<std::vector<Attribute>> attributes = readAttributes(target);
    if (!attributes)
        return Replaced::NotKept;

    TemporaryFile temporary(directory, S_IRUSR | S_IWUSR);
    if (!temporary.isOpen())
        return Replaced::NotKept;
    struct stat created;
    if (::fstat(temporary.fd(), &created) != 0)
        return Replaced::NotKept;
    if ((created.st_uid != old.st_uid || created.st_gid != old.st_gid)
        && ::fchown(temporary.fd(), old.st_uid, old.st_gid) != 0)
        return Replaced::NotKept;
    for (const Attribute &attribute : *attributes) {
        if (::fsetxattr(temporary.fd(), attribute.name.c_str(), attribute.value.data(),
                        attribute.value.size(), 0)
            != 0)
            return Replaced::NotKept;
    }
    // After the owner and the access lists, which both touch the mode. An owner-only mode
    // also masks out every named entry of an access list.
    if (::fchmod(temporary.fd(), modeFor(old.st_mode, access)) != 0)
        return Replaced::NotKept;

    if (!temporary.writeAndClose(bytes)) {
        error = errno;
        return Replaced::Failed;
    }
    if (::rename(temporary.path().c_str(), target.c_str()) != 0) {
        // A sticky folder lets only the file's owner replace it; the file itself may still
        // be writable.
        if (errno == EPERM || errno == EACCES)
            return Replaced::NotKept;
        error = errno;
        return Replaced::Failed;
    }
    temporary.keep();
    syncDirectory(directory);
    return Replaced::Done;
}

// Writes the bytes over the file itself, which keeps its identity, links and attributes.
// The old content stays in memory and is written back if the write fails.
Result writeInPlace(const std::string &target, std::string_view bytes, Access access)
{
    Descriptor file(::open(target.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info;
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0)
        return systemError(Stage::Write, errno);
    if (!S_ISREG(info.st_mode))
        return notRegular(Stage::Write, fileKindOf(info.st_mode));
    std::string old;
    if (!readAll(file.get(), old))
        return systemError(Stage::Write, errno);
    // The rights go before the secret comes: only the file's owner (or the administrator)
    // may take them away.
    const mode_t mode = modeFor(info.st_mode, access);
    if (mode != (info.st_mode & 07777) && ::fchmod(file.get(), mode) != 0)
        return systemError(Stage::Write, errno);

    if (writeAll(file.get(), bytes)
        && ::ftruncate(file.get(), static_cast<off_t>(bytes.size())) == 0
        && ::fsync(file.get()) == 0 && file.close())
        return {};
    const int error = errno;
    // The descriptor may be gone after a failed close; the old bytes go back through a new one.
    Descriptor again(file.get() >= 0 ? ::dup(file.get())
                                     : ::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC));
    const bool restored = again.get() >= 0 && writeAll(again.get(), old)
                          && ::ftruncate(again.get(), static_cast<off_t>(old.size())) == 0
                          && ::fsync(again.get()) == 0 && again.close();
    return systemError(Stage::Write, error,
                       restored ? "" : "; the old content could not be written back");
}

// A file that is not there yet appears whole or not at all.
Result createNew(const std::string &target, std::string_view bytes, Access access)
{
    const std::string directory = directoryOf(target);
    // The umask and the folder's defaults apply; they can only take rights away.
    TemporaryFile temporary(directory, access == Access::OwnerOnly ? 0600 : 0666);
    if (!temporary.isOpen())
        return systemError(Stage::Create, temporary.creationError());
    if (!temporary.writeAndClose(bytes))
        return systemError(Stage::Create, errno);
    // Never over a file that appeared meanwhile.
    if (::renameat2(AT_FDCWD, temporary.path().c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE)
        == 0) {
        temporary.keep();
    } else {
        if (errno != EINVAL && errno != ENOSYS)
            return systemError(Stage::Create, errno);
        // A file system without no-replace renames: a hard link fails on an existing name
        // too, and the temporary name goes when `temporary` does.
        if (::link(temporary.path().c_str(), target.c_str()) != 0)
            return systemError(Stage::Create, errno);
    }
    syncDirectory(directory);
    return {};
}

#else

struct FileCloser {
    void operator()(std::FILE *f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// A name beside `path` that no file has yet; the file is created and opened for writing.
File createSibling(const std::string &path, std::string &name, int &error)
{
    std::random_device device;
    std::mt19937 random(device());
    for (int attempt = 0; attempt < 16; ++attempt) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, ".pw-%08x", static_cast<unsigned>(random()));
        name = path + suffix;
        errno = 0;
        // "x": fail rather than reuse a file that is already there.
        if (File f{std::fopen(name.c_str(), "wbx")})
            return f;
        error = errno;
        if (error != EEXIST)
            break;
    }
    return nullptr;
}

// Without the POSIX calls: a new file beside the target, renamed over it.
Result replaceBySibling(const std::string &path, std::string_view bytes)
{
    std::string temporary;
    int createError = 0;
    File f = createSibling(path, temporary, createError);
    if (!f)
        return systemError(Stage::Create, createError);
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
            return {};
    }
    std::error_code ignored;
    std::filesystem::remove(std::filesystem::path(temporary), ignored);
    if (!ok)
        return systemError(Stage::Write, writeError ? writeError : EIO);
    Result result = refused(Failure::System, Stage::Write, renameError.message());
    result.error = renameError.value();
    return result;
}

#endif

} // namespace

std::string_view kindName(FileKind kind)
{
    switch (kind) {
    case FileKind::Folder:
        return "a folder";
    case FileKind::NamedPipe:
        return "a named pipe";
    case FileKind::Device:
        return "a device";
    case FileKind::Socket:
        return "a socket";
    case FileKind::Regular:
    case FileKind::Other:
        break;
    }
    return {};
}

#if !defined(_WIN32)
FileKind fileKindOf(unsigned mode)
{
    if (S_ISREG(mode))
        return FileKind::Regular;
    if (S_ISDIR(mode))
        return FileKind::Folder;
    if (S_ISFIFO(mode))
        return FileKind::NamedPipe;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return FileKind::Device;
    if (S_ISSOCK(mode))
        return FileKind::Socket;
    return FileKind::Other;
}
#endif

Result writeFile(const std::string &path, std::string_view bytes, const Options &options)
{
    if (path.empty())
        return refused(Failure::NoPath, Stage::Create, "No file name was given");
#if !defined(_WIN32)
    std::string target;
    if (const int error = resolveLinks(path, target))
        return systemError(Stage::Create, error);

    struct stat info;
    if (::lstat(target.c_str(), &info) != 0) {
        if (errno != ENOENT)
            return systemError(Stage::Create, errno);
        return createNew(target, bytes, options.access);
    }
    if (!S_ISREG(info.st_mode))
        return notRegular(Stage::Create, fileKindOf(info.st_mode));
    const FileIdentity &source = options.source;
    if (source.known && static_cast<std::uint64_t>(info.st_dev) == source.device
        && static_cast<std::uint64_t>(info.st_ino) == source.inode)
        return refused(Failure::SameFile, Stage::Create,
                       "The file is the one the bytes were made from");
    // A file whose owner may not write it counts as read-only for every user, the
    // administrator included, although the administrator could write it.
    if (!(info.st_mode & S_IWUSR))
        return refused(Failure::ReadOnly, Stage::Create, "The file is read-only");
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        return systemError(Stage::Create, errno);

    int error = 0;
    switch (replaceByRename(target, info, bytes, options.access, error)) {
    case Replaced::Done:
        return {};
    case Replaced::Failed:
        return systemError(Stage::Write, error);
    case Replaced::NotKept:
        break;
    }
    return writeInPlace(target, bytes, options.access);
#else
    (void)options; // owner-only rights and the source's identity are POSIX notions here
    return replaceBySibling(path, bytes);
#endif
}

} // namespace safe_write
