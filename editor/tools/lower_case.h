#pragma once
// Giving every file and directory below a starting directory a lower-case name. The walk
// takes subdirectories last to first and depth first, lowers a directory's name before its
// contents and a directory's files after its subdirectories; the starting directory keeps
// its name. Hidden entries (names starting with ".") are left alone, as the file panes do
// not show them; a link to a directory has its own name lowered but is not followed.
//
// Names are case-sensitive here, so "Index.html" and "index.html" can both exist: a rename
// whose lower-case name is already taken by another entry is never made; it is skipped and
// reported. A directory whose contents cannot be read (or searched) keeps the names inside
// it and is reported; the walk goes on. Any other failure ends the walk with its
// description; names already changed stay changed.
#include <QString>
#include <QStringList>
#include <functional>

namespace pw {

struct LowerCaseResult {
    int renamed = 0;
    QStringList skipped;    // full paths left as they were because the lower-case name is taken
    QStringList unreadable; // directories whose contents could not be read, in walk order
    // Entries whose names are not UTF-8 (shown with U+FFFD): left as they are, and a
    // directory's contents with it.
    QStringList notUtf8;
    QString error;          // why the walk ended early; empty when it ran to the end
    bool abandoned = false; // the progress callback asked to stop
};

// A name in lower case, character by character with the simple case mapping, so a name
// never grows ("İ" gives "i", not "i" and a combining dot).
QString lowerCaseName(const QString &name);

// `progress` runs at every directory entered and after every file (with the directory being
// walked); it lets pending events run and returns false to abandon the walk.
LowerCaseResult lowerCaseTree(const QString &start,
                              const std::function<bool(const QString &directory)> &progress = {});

} // namespace pw
