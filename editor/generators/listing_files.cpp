#include "generators/listing_files.h"

#include "files/paths.h"
#include "files/text_file.h"
#include "shared/safe_write.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

namespace pw {

namespace {

// Asked of the file system with the process's effective rights, which decide whether the
// names can be listed.
bool isReadableDirectory(const QString &path)
{
    return QFileInfo(path).isDir()
           && faccessat(AT_FDCWD, QFile::encodeName(path).constData(), R_OK | X_OK, AT_EACCESS)
                  == 0;
}

// The sort and filter of the file panes, so the page lists what the panes show.
constexpr QDir::SortFlags kPaneOrder = QDir::Name | QDir::IgnoreCase;

} // namespace

ListingTree readListingTree(
    const QString &directory,
    const std::function<bool(int index, int count, const QString &path)> &onSubdirectory,
    const std::function<bool()> &onFile)
{
    ListingTree tree;
    if (!isReadableDirectory(directory)) {
        tree.unreadable = directory;
        return tree;
    }
    const QStringList names =
        QDir(directory).entryList(QDir::Dirs | QDir::NoDotAndDotDot, kPaneOrder);
    tree.skipped = unreadableEntries(directory, EntryKind::Directories);
    const int count = int(names.size());
    for (int i = 0; i < count; ++i) {
        const QString path = joinPath(directory, names[i]);
        if (onSubdirectory && !onSubdirectory(i, count, path)) {
            tree.stopped = true;
            return tree;
        }
        if (!isReadableDirectory(path)) {
            tree.unreadable = path;
            return tree;
        }
        ListingSubdirectory sub{names[i], QDir(path).entryList(QDir::Files, kPaneOrder)};
        for (const QString &name : unreadableEntries(path, EntryKind::Files))
            tree.skipped << names[i] + u'/' + name;
        for (qsizetype f = 0; f < sub.files.size(); ++f) {
            if (onFile && !onFile()) {
                tree.stopped = true;
                return tree;
            }
        }
        tree.subdirectories << std::move(sub);
    }
    return tree;
}

QStringList copyMissingFiles(const QStringList &names, const QString &programFolder,
                             const QString &targetDirectory)
{
    QStringList failed;
    for (const QString &name : names) {
        const QString target = joinPath(targetDirectory, name);
        // Anything already at the name stays: a file the author may have changed, and a
        // directory or other entry the copy could not replace anyway (reported below).
        if (fileIsPresent(target))
            continue;
        QByteArray bytes;
        if (readFileBytes(joinPath(programFolder, name), kDocumentSizeLimit, &bytes)
                != ReadResult::Ok
            || !writeFileSafely(target, bytes))
            failed << name;
    }
    return failed;
}

QStringList writeListingFiles(const QString &pagePath, const QString &page,
                              const QStringList &supportFiles, const QString &programFolder)
{
    QStringList failed;
    if (!writeFileSafely(pagePath, (page + QStringLiteral("\r\n")).toUtf8()))
        failed << fileNameOfPath(QFileInfo(pagePath).absoluteFilePath());
    if (!supportFiles.isEmpty())
        failed << copyMissingFiles(supportFiles, programFolder, QFileInfo(pagePath).absolutePath());
    return failed;
}

} // namespace pw
