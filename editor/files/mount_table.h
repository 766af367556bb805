#pragma once
// The kernel's table of mounted file systems, read without touching any of them: a mount
// whose server is gone blocks every stat on it, so whoever lists volumes at start-up must
// know which ones not to probe.
#include <QByteArray>
#include <QList>
#include <QString>

#include <chrono>
#include <functional>

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

// Whether the path lies on a remote file system of the table (or below one), judged from the
// text alone: nothing on the path is touched.
bool isOnRemoteMount(const QString &path, const QList<MountEntry> &mounts);

// Runs the check on a thread of its own and gives its answer, or false when it has not
// answered within the time. A check stuck on a dead server is left behind, never waited for.
bool answersWithin(std::function<bool()> check, std::chrono::milliseconds timeout);

} // namespace pw
