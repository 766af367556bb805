#include "files/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace pw {

namespace {

bool hasDrive(const QString &path)
{
    return path.size() >= 2 && path.at(1) == u':' && path.at(0).isLetter();
}

// Whether the character separates directories in the path: "/" always, "\\" unless the path
// is a Linux path (starts with "/"), where it belongs to a name.
bool isSeparatorIn(const QString &path, QChar c)
{
    return c == u'/' || (c == u'\\' && !path.startsWith(u'/'));
}

qsizetype lastSeparator(const QString &path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        if (isSeparatorIn(path, path.at(i)))
            return i;
    }
    return -1;
}

bool existsAsWritten(const QString &path)
{
    // A dangling link exists too: it is an entry of its directory.
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

QString pathPart(const QString &path, int part)
{
    switch (part) {
    case 1:
        return hasDrive(path) ? path.left(2) : QString();
    case 2: {
        const qsizetype last = lastSeparator(path);
        if (last < 0)
            return QString();
        const qsizetype from = hasDrive(path) ? 2 : 0;
        return path.mid(from, last + 1 - from);
    }
    case 3:
        return fileNameOfPath(path);
    case 4:
        return nameWithoutExtension(fileNameOfPath(path));
    default:
        return QString();
    }
}

QString directoryOfPath(const QString &path)
{
    const qsizetype last = lastSeparator(path);
    return last < 0 ? QString() : path.left(last + 1);
}

QString fileNameOfPath(const QString &path)
{
    const qsizetype last = lastSeparator(path);
    return last < 0 ? QString() : path.mid(last + 1);
}

QString nameWithoutExtension(const QString &name)
{
    const qsizetype dot = name.indexOf(u'.');
    return dot < 0 ? QString() : name.left(dot);
}

bool fileIsPresent(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

QString withTrailingBackslash(QString &path)
{
    if (!path.isEmpty() && QFileInfo(path).isDir()) {
        if (!path.endsWith(u'/'))
            path += u'/';
        return path;
    }
    // Blanks only, as typed into a path field; tabs and other spaces are part of the name.
    qsizetype begin = 0;
    qsizetype end = path.size();
    while (begin < end && path.at(begin) == u' ')
        ++begin;
    while (end > begin && path.at(end - 1) == u' ')
        --end;
    path = path.mid(begin, end - begin);
    if (path.isEmpty() || !isSeparatorIn(path, path.back())) {
        const qsizetype last = lastSeparator(path);
        path += last >= 0 ? path.at(last) : QDir::separator();
    }
    return path;
}

QString joinPath(const QString &directory, const QString &name)
{
    if (directory.isEmpty())
        return name;
    return directory.endsWith(u'/') ? directory + name : directory + u'/' + name;
}

QString typedPath(const QString &text)
{
    if (text.isEmpty() || existsAsWritten(text))
        return text;
    return text.trimmed();
}

QStringList unreadableEntries(const QString &directory, EntryKind kind)
{
    QStringList names;
    DIR *dir = ::opendir(QFile::encodeName(directory).constData());
    if (!dir)
        return names;
    QList<QByteArray> found;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (QString::fromUtf8(name).toUtf8() == name)
            continue; // Qt lists it
        // Looked at by the name's own bytes, which no QString holds.
        struct stat info;
        if (::fstatat(::dirfd(dir), entry->d_name, &info, 0) != 0)
            continue;
        if (kind == EntryKind::Files ? S_ISREG(info.st_mode) : S_ISDIR(info.st_mode))
            found << name;
    }
    ::closedir(dir);
    std::sort(found.begin(), found.end());
    for (const QByteArray &name : found)
        names << QString::fromUtf8(name); // undecodable bytes become U+FFFD
    return names;
}

bool nameIsReadable(const QString &directory, const QString &name)
{
    if (!name.contains(QChar::ReplacementCharacter))
        return true;
    // Without following a link: a dangling one is still an entry of that name.
    struct stat info;
    return ::lstat(QFile::encodeName(joinPath(directory, name)).constData(), &info) == 0;
}

QStringList takeUnreadableNames(const QString &directory, QStringList &names)
{
    QStringList unreadable;
    QStringList readable;
    for (const QString &name : std::as_const(names))
        (nameIsReadable(directory, name) ? readable : unreadable) << name;
    names = readable;
    return unreadable;
}

} // namespace pw
