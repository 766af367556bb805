#pragma once
// Find in Files without widgets: which files of a folder to search, and the lines of one
// file that match. Files are read as Open reads them (same character sets and limit), and a
// file Open would refuse (binary, too large, unreadable) is skipped.
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <functional>

namespace pw {

// One matching line: its 1-based number, its text, and where each match of it is (start and
// length in the line's text).
struct FileHit {
    QString path;
    int line = 0;
    QString text;
    QList<std::pair<int, int>> matches;
};

// "*.html; *.htm" or "*.html *.htm" as a list of patterns; "*" when there are none.
QStringList filePatterns(const QString &patterns);

// The lines of the file that the expression matches; none for a file that is skipped.
// `searched` (when given) is set false when the file was skipped.
QList<FileHit> searchFile(const QString &path, const QRegularExpression &expression,
                          bool *searched = nullptr);

// What one search walks over.
struct FileSearch {
    QString folder;
    QStringList patterns;
    bool subfolders = true;
};

// Calls `file` for every regular file of the search, in the order the folder lists them
// (subfolders depth first when asked), until it returns false. Then `unreachable` (when
// given) is called, until it returns false, with the name as shown (U+FFFD for the bytes that
// do not decode) of every file matching the patterns and, when subfolders are searched, every
// subfolder whose name is not valid UTF-8: neither can be searched by that name.
void walkFiles(const FileSearch &search, const std::function<bool(const QString &)> &file,
               const std::function<bool(const QString &)> &unreachable = {});

} // namespace pw
