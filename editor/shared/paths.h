#pragma once
// Splitting and normalising file paths. Both "\" and "/" separate directories, so paths the
// program stored with backslashes and native Linux paths take the same routes. A drive is
// the leading "X:" of a path; a path without one has an empty drive.
#include <QString>

namespace pw {

// The piece of the path that `part` asks for. 1: the drive ("c:"), empty when the path has
// none. 2: the directory after the drive up to and including the last separator ("\a\b\"
// of "c:\a\b\f.htm"). 3: the text after the last separator. 4: that text up to its first
// full stop. 2 to 4 are empty when the path has no separator, 4 also when the name has no
// full stop; any other number gives an empty text.
QString PathPart(const QString &path, int part);
// The path up to and including its last separator; empty when there is none.
QString DirectoryOfPath(const QString &path);
// The text after the last separator; empty when there is none.
QString FileNameOfPath(const QString &path);
// The text before the first full stop; empty when there is none (or the name starts with one).
QString NameWithoutExtension(const QString &name);
// True when a file (not a directory) exists at the path; every failure gives false.
bool FileIsPresent(const QString &path);
// Trims blanks at both ends and appends a separator unless the path ends with one. The
// separator appended is the kind the path already uses, else the platform's. Changes the
// argument and returns the new value.
QString WithTrailingBackslash(QString &path);

} // namespace pw
