#pragma once
// Splitting and normalising file paths. Paths the program stored with backslashes and native
// Linux paths take the same routes: "\" and "/" both separate directories, except in a path
// that starts with "/", which comes from the file system, where a backslash is an ordinary
// character of a name. A drive is the leading "X:" of a path; a path without one has an
// empty drive.
//
// Blanks at either end of a name are part of it ("s " and "s" are two folders): a path from
// the file system or the file panes is never trimmed. Only text the user typed is, and only
// when nothing exists at it as typed (typedPath).
#include <QString>

namespace pw {

// The piece of the path that `part` asks for. 1: the drive ("c:"), empty when the path has
// none. 2: the directory after the drive up to and including the last separator ("\a\b\"
// of "c:\a\b\f.htm"). 3: the text after the last separator. 4: that text up to its first
// full stop. 2 to 4 are empty when the path has no separator, 4 also when the name has no
// full stop; any other number gives an empty text.
QString pathPart(const QString &path, int part);
// The path up to and including its last separator; empty when there is none.
QString directoryOfPath(const QString &path);
// The text after the last separator; empty when there is none.
QString fileNameOfPath(const QString &path);
// The text before the first full stop; empty when there is none (or the name starts with one).
QString nameWithoutExtension(const QString &name);
// True when a file (not a directory) exists at the path; every failure gives false.
bool fileIsPresent(const QString &path);
// Appends a separator unless the path ends with one. A path naming an existing directory
// as written gets "/" and keeps its blanks; any other path is typed or stored text: it is
// trimmed of blanks at both ends and gets the separator it already uses, else the
// platform's. Changes the argument and returns the new value.
QString withTrailingBackslash(QString &path);

// A file system path made of a directory and a name in it, joined with "/" (none added when
// the directory already ends with one; the name alone when the directory is empty). Nothing
// is trimmed and a backslash is part of a name.
QString joinPath(const QString &directory, const QString &name);

// A path the user typed (a command line argument, a picker's answer): as typed when
// something exists there, else with blanks trimmed at both ends.
QString typedPath(const QString &text);

// The entries of a directory whose names are not valid UTF-8, which Qt's own listings leave
// out: its regular files (or links to them), or its subdirectories, each shown with U+FFFD
// for the bytes that do not decode, in the order of their bytes.
enum class EntryKind { Files, Directories };
QStringList unreadableEntries(const QString &directory, EntryKind kind);
// Whether a name listed in the directory can be used to reach its entry: false for a name
// shown with U+FFFD that nothing answers to as spelt, which a tool cannot open by that name
// and lists as skipped instead. A name that really holds U+FFFD (valid UTF-8) is readable.
bool nameIsReadable(const QString &directory, const QString &name);
// Takes the names of the directory that are not readable out of `names` and returns them,
// in order.
QStringList takeUnreadableNames(const QString &directory, QStringList &names);

} // namespace pw
