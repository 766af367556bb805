#pragma once
// The mounted volumes a user keeps files on (the drive list of the file panes shows them:
// see shared/file_panes.h).
#include "files/mount_table.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace pw {

// One mounted volume of the drive list.
struct DriveEntry {
    QString root;  // mount point, "/" or "/media/usb"
    QString label; // what the list shows
    bool operator==(const DriveEntry &) const = default;
};

// The mounted volumes a user keeps files on: "/" first, then the others sorted by mount
// point. Kernel and system pseudo file systems and file bind mounts are left out.
QList<DriveEntry> mountedDrives();

// The volumes of a mount table, as mountedDrives lists them. Remote file systems (and
// mounts below one) are listed by their mount point without being probed: a stat on a
// mount whose server is gone would hang the caller.
QList<DriveEntry> drivesOfMounts(const QList<MountEntry> &mounts);

// The listed root that holds the path (the longest matching mount point); "/" when none.
QString driveOfPath(const QString &path, const QStringList &roots);

// The listed root a stored or typed drive stands for, made clean as text (nothing is touched:
// the drive may be a dead network mount). A drive that is one of the roots as written keeps its
// blanks; otherwise it is trimmed and backslashes count as separators. "" and a Windows-style
// drive ("c:", "c:\") name no Linux volume; they stand for "/".
QString driveRoot(const QString &drive, const QStringList &roots);

// A directory path made absolute and clean, without trailing separator except for "/".
// Backslashes count as separators. Empty stays empty.
QString cleanDirectoryPath(const QString &path);

} // namespace pw
