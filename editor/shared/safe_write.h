#pragma once
// Every file the editor writes goes through writeFileSafely, so that a failed write never
// costs the user a file. It is the checked write the converter library uses too
// (safe_write/safe_write.h, where its rules are): every step checked and the bytes on the
// disk before success; on failure the old file stays byte for byte as it was, with the
// reason reported and no temporary file left; files replaced by a renamed new file only
// where that keeps them what they were, else written in place; symbolic links written
// through; only regular files written, and none whose owner may not write it.
//
// A file that holds a secret (a password) is written owner-only: a new file is made
// readable by its owner alone from the start, and an old one loses every right of its group
// and of other users before the bytes reach it; when that cannot be done the write is
// refused.
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
