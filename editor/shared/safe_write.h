#pragma once
// Every file the editor writes goes through writeFileSafely, so that a failed write never
// costs the user a file.
//
// - Every step is checked and the data is on the disk before the write counts as done; a
//   failure is reported with its reason, leaves the old file byte for byte as it was and
//   leaves no temporary file behind.
// - A file is replaced by renaming a new file over it only where that keeps the file what
//   it was: a regular file with one link, whose owner, group, mode and extended attributes
//   (access control lists included) the new file can take, in a directory the user may
//   write. Anywhere else (a file with other links, another user's file in a folder the user
//   may not write) the file is written in place, and its old bytes, kept in memory, are
//   written back when the write fails.
// - A symbolic link is written through: the file it points to gets the bytes and the link
//   stays a link; a link that points nowhere yet creates its target.
// - Only regular files are written: a directory, named pipe, device or socket is refused
//   and left as it is. A file whose owner may not write it is read-only for every user,
//   the administrator included, and is refused too.
// - A file that holds a secret (a password) is written owner-only: a new file is made
//   readable by its owner alone from the start, and an old one loses every right of its
//   group and of other users before the bytes reach it; when that cannot be done the write
//   is refused.
#include <QByteArray>
#include <QString>

namespace pw {

enum class FileAccess {
    Usual,     // a new file gets the usual rights; an old one keeps its own
    OwnerOnly, // only the file's owner may read or write it afterwards
};

// Writes `bytes` as the whole content of the file at `path`. Returns false, with the reason
// in `error` when given, if the file could not be written.
bool writeFileSafely(const QString &path, const QByteArray &bytes, QString *error = nullptr,
                     FileAccess access = FileAccess::Usual);

} // namespace pw
