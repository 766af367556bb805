#include "tools/lower_case.h"

#include "files/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace pw {

namespace {

// Whether the walk can list the directory and reach what is in it.
bool canReadDirectory(const QString &directory)
{
    const QByteArray path = QFile::encodeName(directory);
    DIR *dir = ::opendir(path.constData());
    if (!dir)
        return false;
    ::closedir(dir);
    // Reaching "." through the directory needs its search permission.
    struct stat info;
    return ::stat((path + "/.").constData(), &info) == 0;
}

enum class RenameOutcome { Done, Taken, Failed };

// One rename that never replaces what is at the new name: 0, or the error number (EEXIST
// when the new name is taken).
int moveNoReplace(const QByteArray &from, const QByteArray &to)
{
#if defined(__linux__) && defined(RENAME_NOREPLACE)
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
        // The file system cannot refuse to replace by itself: check first.
#endif
    struct stat info;
    if (::lstat(to.constData(), &info) == 0)
        return EEXIST;
    if (errno != ENOENT)
        return errno;
    return std::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

bool sameEntry(const QByteArray &a, const QByteArray &b)
{
    struct stat first;
    struct stat second;
    return ::lstat(a.constData(), &first) == 0 && ::lstat(b.constData(), &second) == 0
           && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

QString describe(int errorNumber, const QString &path)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber)) + QStringLiteral(": ") + path;
}

// Renames without ever replacing what is at the new name.
RenameOutcome renameNoReplace(const QString &from, const QString &to, QString *error)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    int result = moveNoReplace(source, target);
    if (result == 0)
        return RenameOutcome::Done;
    if (result == EEXIST && !sameEntry(source, target))
        return RenameOutcome::Taken;
    if (result != EEXIST) {
        *error = describe(result, from);
        return RenameOutcome::Failed;
    }
    // A file system that ignores letter case (a FAT stick, a Windows share) finds the entry
    // itself under the lower-case name, and a rename onto itself changes nothing: the name
    // changes in two steps, through a free temporary name beside it. (Two hard links that
    // differ in case come here too; the second step then finds the name taken.)
    const QByteArray directory = source.left(source.lastIndexOf('/') + 1);
    QByteArray temporary;
    for (int attempt = 0;; ++attempt) {
        temporary = directory + ".pagewick-lower-case-" + QByteArray::number(attempt);
        result = moveNoReplace(source, temporary);
        if (result != EEXIST || attempt == 100)
            break;
    }
    if (result != 0) {
        *error = describe(result, from);
        return RenameOutcome::Failed;
    }
    result = moveNoReplace(temporary, target);
    if (result == 0)
        return RenameOutcome::Done;
    const int back = moveNoReplace(temporary, source);
    if (back != 0) {
        *error = describe(back, QFile::decodeName(temporary));
        return RenameOutcome::Failed;
    }
    if (result == EEXIST)
        return RenameOutcome::Taken;
    *error = describe(result, from);
    return RenameOutcome::Failed;
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
            result_.error = describe(ENOENT, directory);
            return false;
        }
        // An empty listing would pass for an empty directory: say which one was not read.
        if (!canReadDirectory(directory)) {
            result_.unreadable << directory;
            return true;
        }
        const QDir dir(directory);
        const QDir::SortFlags order = QDir::Name | QDir::IgnoreCase;
        // The subdirectories as the directory list shows them, links to directories too.
        const QStringList subdirectories = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, order);
        for (qsizetype i = subdirectories.size() - 1; i >= 0; --i) {
            QString path = joinPath(directory, subdirectories[i]);
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
        for (const EntryKind kind : {EntryKind::Directories, EntryKind::Files}) {
            for (const QString &name : unreadableEntries(directory, kind))
                result_.notUtf8 << joinPath(directory, name);
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
        const QString from = joinPath(directory, name);
        const QString lowered = lowerCaseName(name);
        *path = from;
        if (lowered == name)
            return true;
        const QString to = joinPath(directory, lowered);
        switch (renameNoReplace(from, to, &result_.error)) {
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

QString lowerCaseName(const QString &name)
{
    // Qt gives the simple mapping of every character except the one whose full lower case
    // is longer than itself: capital I with dot above, which it leaves unchanged.
    constexpr char16_t kCapitalIWithDot = 0x0130;
    QString lowered;
    lowered.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c.isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            const char32_t lower = QChar::toLower(QChar::surrogateToUcs4(c, name.at(i + 1)));
            lowered += QString::fromUcs4(&lower, 1);
            ++i;
        } else if (c.unicode() == kCapitalIWithDot) {
            lowered += u'i';
        } else {
            lowered += c.toLower();
        }
    }
    return lowered;
}

LowerCaseResult lowerCaseTree(const QString &start,
                              const std::function<bool(const QString &directory)> &progress)
{
    LowerCaseResult result;
    Walker(result, progress).walk(start);
    return result;
}

} // namespace pw
