// The mounted volumes a user keeps files on.
#include "files/drives.h"

#include "files/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

namespace pw {

namespace {

// Mount points and file system types that hold no user files.
bool isSystemMount(const QString &root, const QByteArray &type)
{
    static const char *const kTypes[] = {
        "proc",       "sysfs",      "cgroup",    "cgroup2", "devpts",      "devtmpfs",
        "securityfs", "debugfs",    "tracefs",   "pstore",  "bpf",         "mqueue",
        "hugetlbfs",  "configfs",   "fusectl",   "autofs",  "binfmt_misc", "nsfs",
        "efivarfs",   "rpc_pipefs", "selinuxfs", "squashfs"};
    for (const char *t : kTypes) {
        if (type == t)
            return true;
    }
    auto under = [&root](const char *top) {
        const QString prefix = QString::fromLatin1(top);
        return root == prefix || root.startsWith(prefix + u'/');
    };
    // Removable media under /run/media are user volumes; the rest of /run is not.
    if (root.startsWith(QLatin1String("/run/media/")))
        return false;
    return under("/proc") || under("/sys") || under("/dev") || under("/run") || under("/var/run")
           || under("/var/lock") || under("/snap");
}

} // namespace

QList<DriveEntry> mountedDrives()
{
    return drivesOfMounts(readMountTable());
}

QList<DriveEntry> drivesOfMounts(const QList<MountEntry> &mounts)
{
    QList<DriveEntry> drives{{QStringLiteral("/"), QStringLiteral("/")}};
    QStringList remoteRoots;
    for (const MountEntry &mount : mounts) {
        // Clean as text only: cleanDirectoryPath would look at the directory.
        const QString root = QDir::cleanPath(mount.root);
        if (!root.startsWith(u'/') || root == QLatin1String("/") || mount.type == "rootfs"
            || isSystemMount(root, mount.type))
            continue;
        const bool remote =
            isRemoteFileSystem(mount.type)
            || std::any_of(remoteRoots.cbegin(), remoteRoots.cend(),
                           [&root](const QString &r) { return root.startsWith(r + u'/'); });
        if (remote)
            remoteRoots << root;
        if (std::any_of(drives.cbegin(), drives.cend(),
                        [&root](const DriveEntry &d) { return d.root == root; }))
            continue;
        QString label = root;
        if (!remote) {
            // Bind-mounted files (container set-ups) are no volumes, and a file system
            // without size is a pseudo one.
            if (!QFileInfo(root).isDir())
                continue;
            const QStorageInfo volume(root);
            if (volume.bytesTotal() <= 0)
                continue;
            const QString name = volume.name();
            if (!name.isEmpty() && name != root)
                label += QStringLiteral(" [%1]").arg(name);
        }
        drives.append({root, label});
    }
    std::sort(drives.begin() + 1, drives.end(),
              [](const DriveEntry &a, const DriveEntry &b) { return a.root < b.root; });
    return drives;
}

QString driveOfPath(const QString &path, const QStringList &roots)
{
    const QString clean = cleanDirectoryPath(path);
    QString best = QStringLiteral("/");
    for (const QString &root : roots) {
        const bool holds =
            root == QLatin1String("/") || clean == root || clean.startsWith(root + u'/');
        if (holds && root.size() > best.size())
            best = root;
    }
    return best;
}

QString driveRoot(const QString &drive, const QStringList &roots)
{
    if (!drive.isEmpty()) {
        const QString asWritten = QDir::cleanPath(drive);
        if (roots.contains(asWritten))
            return asWritten;
    }
    QString root = drive.trimmed();
    if (root.isEmpty() || !pathPart(root, 1).isEmpty())
        return QStringLiteral("/");
    root.replace(u'\\', u'/');
    return QDir::cleanPath(QDir(root).absolutePath());
}

QString cleanDirectoryPath(const QString &path)
{
    // Blanks and backslashes may belong to a Linux directory's own name; only a path that
    // names no directory as written is trimmed and read with backslashes as separators.
    QString p = path;
    if (p.isEmpty())
        return p;
    if (!QFileInfo(p).isDir()) {
        p = p.trimmed();
        if (p.isEmpty())
            return p;
        p.replace(u'\\', u'/');
    }
    return QDir::cleanPath(QDir(p).absolutePath());
}

} // namespace pw
