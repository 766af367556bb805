#pragma once
// Replacing a text in files on disk. Only what is replaced changes: a file without a match
// is not written, and a changed file keeps every other byte, its encoding (UTF-8 with or
// without a byte-order mark, or 8-bit) and its line breaks. A failed write leaves the file
// as it was.
#include "files/text_file.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace pw {

struct FileReplaceResult {
    enum Status {
        Changed,    // written with `count` replacements
        NoMatch,    // nothing to replace; the file was not written
        TooLarge,   // 1,000,000 bytes or more; not touched
        Unreadable, // could not be opened or read; not touched
        Binary,     // a NUL byte anywhere in it; not touched
        NotWritten, // the new text could not be written (the file keeps its old contents)
    } status = NoMatch;
    qint64 count = 0;
    QString error; // why it was not written
    QString text;  // the file's text after the replacements (as read when none was made)
};

// Whether the bytes are those of a binary file (a picture, an archive), which is never
// changed: a NUL byte anywhere in them. The whole file is looked at, since a text header can
// sit in front of binary data well past any first block.
bool isBinaryContent(const QByteArray &bytes);

// What replacing in one file would do, worked out before anything is written: Changed with
// the count, the bytes as read and as they would be written and the stamp they were read
// with; or why the file would be left alone (NoMatch, TooLarge, Unreadable, Binary, and
// NotWritten when the replacement cannot be written in its encoding).
struct FileReplacePlan {
    FileReplaceResult result;
    QByteArray before;
    QByteArray after;
    FileStamp read;
};
FileReplacePlan planReplaceInFile(const QString &path, const QString &what, const QString &with);

// The replacement on the bytes of one file: the bytes are read as UTF-8 when they are
// valid UTF-8 that round-trips, else as 8-bit (Windows-1252) characters; occurrences of `what` are
// replaced (letter case ignored, inserted text never searched again) and the result is
// encoded the same way. `count` receives the number of replacements and `text` (when
// given) the text after them. Returns nothing when the replacement cannot be written in an
// 8-bit file's encoding.
std::optional<QByteArray> replaceInBytes(const QByteArray &bytes, const QString &what,
                                         const QString &with, qint64 *count,
                                         QString *text = nullptr);

// Replaces in the file at `path`. An empty `what` changes nothing and reads nothing; a
// binary file is read but never changed.
FileReplaceResult replaceInFile(const QString &path, const QString &what, const QString &with);

// Writes the new bytes of a file that was read when its stamp was `read`: Changed, or
// NotWritten (with the reason) when the write failed or another program changed the file
// since, which leaves that program's bytes as they are.
FileReplaceResult::Status writeUnlessChanged(const QString &path, const QByteArray &bytes,
                                             const FileStamp &read, QString *error);

} // namespace pw
