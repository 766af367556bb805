#include "files/mount_table.h"

#include <QDir>
#include <QFile>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace pw {

namespace {

// The table writes blanks, tabs, line breaks and backslashes of a path as "\ooo".
QByteArray decodeEscapes(const QByteArray &field)
{
    QByteArray decoded;
    decoded.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field.at(i);
        if (c == '\\' && i + 3 < field.size()) {
            const QByteArray digits = field.mid(i + 1, 3);
            bool ok = false;
            const int value = digits.toInt(&ok, 8);
            if (ok && digits.size() == 3 && value < 256) {
                decoded += char(value);
                i += 3;
                continue;
            }
        }
        decoded += c;
    }
    return decoded;
}

} // namespace

QList<MountEntry> readMountTable(const QString &path)
{
    QList<MountEntry> mounts;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return mounts;
    // A file of the proc file system has no size: read it to its end.
    const QByteArray table = file.readAll();
    for (const QByteArray &line : table.split('\n')) {
        // "id parent major:minor root mount-point options [optional...] - type source ..."
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf(QByteArray("-"));
        if (fields.size() < 5 || dash < 6 || dash + 1 >= fields.size())
            continue;
        mounts.append(
            {QFile::decodeName(decodeEscapes(fields.at(4))), decodeEscapes(fields.at(dash + 1))});
    }
    return mounts;
}

bool isRemoteFileSystem(const QByteArray &type)
{
    static const char *const kNetwork[] = {"nfs",   "nfs4",     "cifs",   "smb3",      "smbfs",
                                           "ncpfs", "9p",       "ceph",   "glusterfs", "davfs",
                                           "sshfs", "afs",      "coda",   "lustre",    "ocfs2",
                                           "gfs2",  "orangefs", "beegfs", "gpfs"};
    for (const char *t : kNetwork) {
        if (type == t)
            return true;
    }
    // A FUSE file system is a user-space daemon (sshfs, rclone, gvfs...) unless it sits on
    // a block device of this machine ("fuseblk": NTFS, exFAT sticks).
    return type == "fuse" || type.startsWith("fuse.");
}

bool isOnRemoteMount(const QString &path, const QList<MountEntry> &mounts)
{
    const QString clean = QDir::cleanPath(path);
    for (const MountEntry &mount : mounts) {
        if (!isRemoteFileSystem(mount.type))
            continue;
        const QString root = QDir::cleanPath(mount.root);
        if (clean == root || clean.startsWith(root == QLatin1String("/") ? root : root + u'/'))
            return true;
    }
    return false;
}

bool answersWithin(std::function<bool()> check, std::chrono::milliseconds timeout)
{
    // Shared with the thread, which may outlive this call.
    struct Answer {
        std::mutex mutex;
        std::condition_variable ready;
        bool done = false;
        bool value = false;
    };
    auto answer = std::make_shared<Answer>();
    std::thread([answer, check = std::move(check)] {
        const bool value = check();
        const std::lock_guard lock(answer->mutex);
        answer->value = value;
        answer->done = true;
        answer->ready.notify_all();
    }).detach();
    std::unique_lock lock(answer->mutex);
    answer->ready.wait_for(lock, timeout, [&] { return answer->done; });
    return answer->done && answer->value;
}

} // namespace pw
