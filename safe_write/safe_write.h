#pragma once
// The one checked write of the editor and the converter: a failed write never costs the user
// a file.
//
// - Every step is checked and the bytes are on the disk before the write counts as done; a
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
// - With Access::OwnerOnly a new file is readable by its owner alone from the start, and an
//   old one loses every right of its group and of other users before the bytes reach it;
//   when that cannot be done the write is refused.
// - With a known `source`, a target that is that file under any name (a symbolic or hard
//   link to it) is refused.
//
// Standard C++ with POSIX calls; no Qt, so that the converter library can carry it.
#include <cstdint>
#include <string>
#include <string_view>

namespace safe_write {

enum class Access {
    Usual,     // a new file gets the usual rights; an old one keeps its own
    OwnerOnly, // only the file's owner may read or write it afterwards
};

// Which file a name stands for, so that two names of one file can be told apart.
struct FileIdentity {
    bool known = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
};

struct Options {
    Access access = Access::Usual;
    // The file the bytes were made from; it is never written over.
    FileIdentity source;
};

enum class Failure {
    None,
    NoPath,         // the name was empty
    NotRegularFile, // the name stands for a folder, pipe, device or socket (see Result::kind)
    ReadOnly,       // the file's owner may not write it
    SameFile,       // the name stands for Options::source
    System,         // a system call failed (see Result::error)
};

enum class FileKind { Regular, Folder, NamedPipe, Device, Socket, Other };

// How far a failed write got: Create while the target was still being looked at or made
// new, Write once an existing file was being replaced or written over.
enum class Stage { Create, Write };

struct Result {
    Failure failure = Failure::None;
    Stage stage = Stage::Create;
    FileKind kind = FileKind::Regular; // what the name stands for, with NotRegularFile
    int error = 0;                     // the errno value, with System
    std::string reason;                // a sentence for the user, empty on success

    explicit operator bool() const { return failure == Failure::None; }
};

// Writes `bytes` as the whole content of the file at `path`.
Result writeFile(const std::string &path, std::string_view bytes, const Options &options = {});

// "a folder", "a named pipe", "a device", "a socket"; empty for a regular file and for a
// kind with no name of its own.
std::string_view kindName(FileKind kind);

#if !defined(_WIN32)
// The kind of file a stat mode stands for.
FileKind fileKindOf(unsigned mode);
#endif

} // namespace safe_write
