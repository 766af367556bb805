#pragma once
// Reading a directory tree for a listing page, and writing the page with its support files.
#include "generators/listing_markup.h"

#include <functional>

namespace pw {

struct ListingTree {
    QList<ListingSubdirectory> subdirectories;
    // The directory that could not be read (the chosen one or one of its subdirectories);
    // the reading ended there. Empty when everything was read.
    QString unreadable;
    bool stopped = false; // a callback asked to stop
    // Subdirectories and files whose names are not UTF-8 (shown with U+FFFD), left out of
    // the page since no link could reach them by the name shown.
    QStringList skipped;
};

// Reads the subdirectories of `directory` and the files in each, sorted by name without
// regard to case as the file panes show them; hidden entries are left out as the panes
// leave them out. Files in `directory` itself and deeper levels are not read.
// `onSubdirectory(index, count, path)` runs before each subdirectory is read and `onFile()`
// after each of its files; either returns false to stop.
ListingTree readListingTree(
    const QString &directory,
    const std::function<bool(int index, int count, const QString &path)> &onSubdirectory = {},
    const std::function<bool()> &onFile = {});

// Copies each named file from `programFolder` into `targetDirectory`, unless a file of that
// name is already there: an existing file is never replaced. Returns the names that could
// not be copied (the source is missing or unreadable, or the copy could not be written).
QStringList copyMissingFiles(const QStringList &names, const QString &programFolder,
                             const QString &targetDirectory);

// Writes the page as the whole file at `pagePath` with one CR LF after it, then, when
// `supportFiles` is not empty, copies those files beside it with copyMissingFiles (also
// when the page itself could not be written). Returns the names of the files that could
// not be written, the page's first.
QStringList writeListingFiles(const QString &pagePath, const QString &page,
                              const QStringList &supportFiles, const QString &programFolder);

} // namespace pw
