#pragma once
// The kernel's table of mounted file systems, read without touching any of them: a mount
// whose server is gone blocks every stat on it, so whoever lists volumes at start-up must
// know which ones not to probe.
#include <QByteArray>
#include <QList>
#include <QString>

namespace pw {

struct MountEntry {
    QString root;    // the mount point, escapes decoded ("/media/my stick")
    QByteArray type; // the file system type ("ext4", "nfs4", "fuse.sshfs")
    bool operator==(const MountEntry &) const = default;
};

// The mounts listed in a table of the /proc/self/mountinfo form, in table order; empty when
// it cannot be read. Malformed lines are left out.
QList<MountEntry> readMountTable(const QString &path = QStringLiteral("/proc/self/mountinfo"));

// Whether a stat on a file system of this type may wait on a server or a user-space daemon
// (network file systems, and FUSE file systems that are not backed by a local device).
bool isRemoteFileSystem(const QByteArray &type);

} // namespace pw
