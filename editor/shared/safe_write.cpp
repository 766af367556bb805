#include "shared/safe_write.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/xattr.h>
#include <system_error>
#include <unistd.h>
#include <utility>
#include <vector>

namespace pw {
namespace {

QString errnoText(int code)
{
    return QString::fromStdString(std::generic_category().message(code));
}

bool fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

QString notRegularReason(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("The name belongs to a folder, not a file");
    if (S_ISFIFO(mode))
        return QStringLiteral("The file is a named pipe, not a regular file");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("The file is a device, not a regular file");
    if (S_ISSOCK(mode))
        return QStringLiteral("The file is a socket, not a regular file");
    return QStringLiteral("The file is not a regular file");
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

bool writeAll(int fd, const char *data, size_t size, off_t offset)
{
    while (size > 0) {
        const ssize_t written = ::pwrite(fd, data, size, offset);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0) {
            errno = EIO;
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
        offset += written;
    }
    return true;
}

bool readAll(int fd, QByteArray *bytes)
{
    bytes->clear();
    char block[65536];
    off_t offset = 0;
    for (;;) {
        const ssize_t got = ::pread(fd, block, sizeof block, offset);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            return true;
        bytes->append(block, got);
        offset += got;
    }
}

QByteArray directoryOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    if (slash == 0)
        return QByteArrayLiteral("/");
    return path.left(slash);
}

// Follows symbolic links from `path` to the name the bytes are written under: the first
// name that is not a link, or that does not exist yet (the target of a dangling link).
bool resolveLinks(QByteArray path, QByteArray *resolved, int *code)
{
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info;
        if (::lstat(path.constData(), &info) != 0) {
            if (errno != ENOENT) {
                *code = errno;
                return false;
            }
            *resolved = path;
            return true;
        }
        if (!S_ISLNK(info.st_mode)) {
            *resolved = path;
            return true;
        }
        char buffer[PATH_MAX];
        const ssize_t length = ::readlink(path.constData(), buffer, sizeof buffer);
        if (length < 0 || length == static_cast<ssize_t>(sizeof buffer)) {
            *code = length < 0 ? errno : ENAMETOOLONG;
            return false;
        }
        const QByteArray link(buffer, length);
        path = link.startsWith('/') ? link : directoryOf(path) + '/' + link;
    }
    *code = ELOOP;
    return false;
}

// A new, empty file with a short name beside the target, so that even a target whose name
// is as long as names may be has room for it. It is removed again unless `keep` is called.
class TemporaryFile {
public:
    TemporaryFile(const QByteArray &directory, mode_t mode)
    {
        static const char kLetters[] =
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        for (int attempt = 0; attempt < 100; ++attempt) {
            QByteArray name = directory + "/.pw";
            for (int i = 0; i < 6; ++i)
                name += kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters - 1))];
            const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (fd >= 0) {
                fd_ = std::make_unique<Descriptor>(fd);
                path_ = name;
                return;
            }
            if (errno != EEXIST)
                break;
        }
        code_ = errno;
    }
    ~TemporaryFile()
    {
        fd_.reset();
        if (!path_.isEmpty())
            ::unlink(path_.constData());
    }
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    bool isOpen() const { return fd_ != nullptr; }
    int creationError() const { return code_; }
    int fd() const { return fd_->get(); }
    const QByteArray &path() const { return path_; }
    // Writes the bytes and makes sure they reached the disk; the file is closed after.
    bool writeAndClose(const QByteArray &bytes)
    {
        return writeAll(fd(), bytes.constData(), size_t(bytes.size()), 0) && ::fsync(fd()) == 0
               && fd_->close();
    }
    // The file now lives under another name.
    void keep() { path_.clear(); }

private:
    std::unique_ptr<Descriptor> fd_;
    QByteArray path_;
    int code_ = 0;
};

// The renamed file is on the disk; the directory entry follows with the directory. A
// failure here changes nothing about the write that already happened.
void syncDirectory(const QByteArray &directory)
{
    const Descriptor dir(::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        ::fsync(dir.get());
}

struct Attribute {
    QByteArray name;
    QByteArray value;
};

// The extended attributes of a file (its access control lists among them); nothing when the
// file system has none. Empty optional when they cannot be read.
std::optional<std::vector<Attribute>> readAttributes(const QByteArray &path)
{
    std::vector<Attribute> attributes;
    const ssize_t listSize = ::llistxattr(path.constData(), nullptr, 0);
    if (listSize < 0)
        return errno == ENOTSUP ? std::optional(attributes) : std::nullopt;
    QByteArray names(listSize, '\0');
    const ssize_t got = ::llistxattr(path.constData(), names.data(), size_t(names.size()));
    if (got < 0)
        return std::nullopt;
    names.truncate(got);
    for (const QByteArray &name : names.split('\0')) {
        if (name.isEmpty())
            continue;
        const ssize_t valueSize = ::lgetxattr(path.constData(), name.constData(), nullptr, 0);
        if (valueSize < 0)
            return std::nullopt;
        QByteArray value(valueSize, '\0');
        const ssize_t read =
            ::lgetxattr(path.constData(), name.constData(), value.data(), size_t(value.size()));
        if (read < 0)
            return std::nullopt;
        value.truncate(read);
        attributes.push_back({name, value});
    }
    return attributes;
}

// The mode a file written over one with `mode` gets.
mode_t modeFor(mode_t mode, FileAccess access)
{
    return access == FileAccess::OwnerOnly ? mode & 07700 : mode & 07777;
}

enum class Replaced { Done, Failed, NotKept };

// Writes a new file beside `target` with everything the old one had, and renames it over
// the old one. NotKept when the new file could not be made the same as the old one; the
// caller then writes in place.
Replaced replaceByRename(const QByteArray &target, const struct stat &old, const QByteArray &bytes,
                         FileAccess access, QString *error)
{
    if (old.st_nlink != 1)
        return Replaced::NotKept;
    const QByteArray directory = directoryOf(target);
    if (::faccessat(AT_FDCWD, directory.constData(), W_OK | X_OK, AT_EACCESS) != 0)
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
        if (::fsetxattr(temporary.fd(), attribute.name.constData(), attribute.value.constData(),
                        size_t(attribute.value.size()), 0)
            != 0)
            return Replaced::NotKept;
    }
    // After the owner and the access lists, which both touch the mode. An owner-only mode
    // also masks out every named entry of an access list.
    if (::fchmod(temporary.fd(), modeFor(old.st_mode, access)) != 0)
        return Replaced::NotKept;

    if (!temporary.writeAndClose(bytes)) {
        fail(error, errnoText(errno));
        return Replaced::Failed;
    }
    if (::rename(temporary.path().constData(), target.constData()) != 0) {
        // A sticky folder lets only the file's owner replace it; the file itself may still
        // be writable.
        if (errno == EPERM || errno == EACCES)
            return Replaced::NotKept;
        fail(error, errnoText(errno));
        return Replaced::Failed;
    }
    temporary.keep();
    syncDirectory(directory);
    return Replaced::Done;
}

// Writes the bytes over the file itself, which keeps its identity, links and attributes.
// The old content stays in memory and is written back if the write fails.
bool writeInPlace(const QByteArray &target, const QByteArray &bytes, FileAccess access,
                  QString *error)
{
    Descriptor file(::open(target.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0)
        return fail(error, errnoText(errno));
    struct stat info;
    if (::fstat(file.get(), &info) != 0)
        return fail(error, errnoText(errno));
    if (!S_ISREG(info.st_mode))
        return fail(error, notRegularReason(info.st_mode));
    QByteArray old;
    if (!readAll(file.get(), &old))
        return fail(error, errnoText(errno));
    // The rights go before the secret comes: only the file's owner (or the administrator)
    // may take them away.
    const mode_t mode = modeFor(info.st_mode, access);
    if (mode != (info.st_mode & 07777) && ::fchmod(file.get(), mode) != 0)
        return fail(error, errnoText(errno));

    if (writeAll(file.get(), bytes.constData(), size_t(bytes.size()), 0)
        && ::ftruncate(file.get(), off_t(bytes.size())) == 0 && ::fsync(file.get()) == 0
        && file.close())
        return true;
    const int code = errno;
    // The descriptor may be gone after a failed close; the old bytes go back through a new one.
    Descriptor again(file.get() >= 0
                         ? ::dup(file.get())
                         : ::open(target.constData(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC));
    const bool restored = again.get() >= 0
                          && writeAll(again.get(), old.constData(), size_t(old.size()), 0)
                          && ::ftruncate(again.get(), off_t(old.size())) == 0
                          && ::fsync(again.get()) == 0 && again.close();
    QString reason = errnoText(code);
    if (!restored)
        reason += QStringLiteral("; the old content could not be written back");
    return fail(error, reason);
}

// A file that is not there yet appears whole or not at all.
bool createNew(const QByteArray &target, const QByteArray &bytes, FileAccess access, QString *error)
{
    const QByteArray directory = directoryOf(target);
    // The umask and the folder's defaults apply; they can only take rights away.
    TemporaryFile temporary(directory, access == FileAccess::OwnerOnly ? 0600 : 0666);
    if (!temporary.isOpen())
        return fail(error, errnoText(temporary.creationError()));
    if (!temporary.writeAndClose(bytes))
        return fail(error, errnoText(errno));
    // Never over a file that appeared meanwhile.
    if (::renameat2(AT_FDCWD, temporary.path().constData(), AT_FDCWD, target.constData(),
                    RENAME_NOREPLACE)
        == 0) {
        temporary.keep();
    } else {
        if (errno != EINVAL && errno != ENOSYS)
            return fail(error, errnoText(errno));
        // A file system without no-replace renames: a hard link fails on an existing name
        // too, and the temporary name goes when `temporary` does.
        if (::link(temporary.path().constData(), target.constData()) != 0)
            return fail(error, errnoText(errno));
    }
    syncDirectory(directory);
    return true;
}

} // namespace

bool writeFileSafely(const QString &path, const QByteArray &bytes, QString *error,
                     FileAccess access)
{
    if (path.isEmpty())
        return fail(error, QStringLiteral("No file name was given"));
    QByteArray target;
    int code = 0;
    if (!resolveLinks(QFile::encodeName(path), &target, &code))
        return fail(error, errnoText(code));

    struct stat info;
    if (::lstat(target.constData(), &info) != 0) {
        if (errno != ENOENT)
            return fail(error, errnoText(errno));
        return createNew(target, bytes, access, error);
    }
    if (!S_ISREG(info.st_mode))
        return fail(error, notRegularReason(info.st_mode));
    // A file whose owner may not write it counts as read-only for every user, the
    // administrator included, although the administrator could write it.
    if (!(info.st_mode & S_IWUSR))
        return fail(error, QStringLiteral("The file is read-only"));
    if (::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0)
        return fail(error, errnoText(errno));

    switch (replaceByRename(target, info, bytes, access, error)) {
    case Replaced::Done:
        return true;
    case Replaced::Failed:
        return false;
    case Replaced::NotKept:
        break;
    }
    return writeInPlace(target, bytes, access, error);
}

} // namespace pw
