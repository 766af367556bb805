#include "tools/lower_case.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace pw {

namespace {

QString Join(const QString &directory, const QString &name)
{
    if (directory.endsWith(QLatin1Char('/')) || directory.endsWith(QLatin1Char('\\')))
        return directory + name;
    return directory + QLatin1Char('/') + name;
}

enum class RenameOutcome { Done, Taken, Failed };

// Renames without ever replacing what is at the new name.
RenameOutcome RenameNoReplace(const QString &from, const QString &to, QString *error)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
#if defined(__linux__) && defined(RENAME_NOREPLACE)
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(),
                    RENAME_NOREPLACE) == 0)
        return RenameOutcome::Done;
    if (errno == EEXIST)
        return RenameOutcome::Taken;
    if (errno != EINVAL && errno != ENOSYS) {
        *error = QString::fromLocal8Bit(std::strerror(errno)) + QStringLiteral(": ") + from;
        return RenameOutcome::Failed;
    }
    // The file system cannot refuse to replace by itself: check first.
#endif
    std::error_code code;
    const std::filesystem::path sourcePath(source.toStdString());
    const std::filesystem::path targetPath(target.toStdString());
    if (std::filesystem::exists(std::filesystem::symlink_status(targetPath, code))) {
        // A file system that ignores case finds the entry itself under the new name.
        if (!std::filesystem::equivalent(sourcePath, targetPath, code))
            return RenameOutcome::Taken;
    }
    std::filesystem::rename(sourcePath, targetPath, code);
    if (code) {
        *error = QString::fromLocal8Bit(code.message()) + QStringLiteral(": ") + from;
        return RenameOutcome::Failed;
    }
    return RenameOutcome::Done;
}

class Walker {
public:
    Walker(LowerCaseResult &result, const std::function<bool(const QString &)> &progress)
        : result_(result), progress_(progress)
    {
    }

    // False when the walk must end (an error or the caller abandoned it).
    bool walk(const QString &directory)
    {
        if (!keepGoing(directory))
            return false;
        if (!QFileInfo(directory).isDir()) {
            result_.error = QString::fromLocal8Bit(std::strerror(ENOENT)) + QStringLiteral(": ") +
                            directory;
            return false;
        }
        const QDir dir(directory);
        const QDir::SortFlags order = QDir::Name | QDir::IgnoreCase;
        // The subdirectories as the directory list shows them, links to directories too.
        const QStringList subdirectories = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, order);
        for (qsizetype i = subdirectories.size() - 1; i >= 0; --i) {
            QString path = Join(directory, subdirectories[i]);
            if (!lower(directory, subdirectories[i], &path))
                return false;
            // A link gets its own name lowered but is not followed: what it points at lies
            // outside the chosen tree, or inside it where the walk gets to it anyway, or
            // above it (an endless walk).
            if (QFileInfo(path).isSymLink())
                continue;
            if (!walk(path))
                return false;
        }
        const QStringList files = dir.entryList(QDir::Files, order);
        for (const QString &name : files) {
            QString path;
            if (!lower(directory, name, &path) || !keepGoing(directory))
                return false;
        }
        return true;
    }

private:
    bool keepGoing(const QString &directory)
    {
        if (progress_ && !progress_(directory)) {
            result_.abandoned = true;
            return false;
        }
        return true;
    }

    // Lowers one name; `path` receives where the entry is afterwards. False on an error.
    bool lower(const QString &directory, const QString &name, QString *path)
    {
        const QString from = Join(directory, name);
        const QString lowered = name.toLower();
        *path = from;
        if (lowered == name)
            return true;
        const QString to = Join(directory, lowered);
        switch (RenameNoReplace(from, to, &result_.error)) {
        case RenameOutcome::Done:
            ++result_.renamed;
            *path = to;
            return true;
        case RenameOutcome::Taken:
            result_.skipped << from;
            return true;
        case RenameOutcome::Failed:
            return false;
        }
        return false;
    }

    LowerCaseResult &result_;
    const std::function<bool(const QString &)> &progress_;
};

} // namespace

LowerCaseResult LowerCaseTree(const QString &start,
                              const std::function<bool(const QString &directory)> &progress)
{
    LowerCaseResult result;
    Walker(result, progress).walk(start);
    return result;
}

} // namespace pw
