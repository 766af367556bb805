#include "support/small_disk.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace pw::test {

SmallDisk::SmallDisk(const QString &folder, qint64 bytes) : folder_(folder)
{
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0777";
    if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                options.constData())
        == 0) {
        mounted_ = true;
        return;
    }
    reason_ = QStringLiteral("a small tmpfs cannot be mounted here (%1), so the full-disk "
                             "checks cannot run")
                  .arg(QString::fromLocal8Bit(std::strerror(errno)));
}

SmallDisk::~SmallDisk()
{
    if (mounted_)
        ::umount2(QFile::encodeName(folder_).constData(), MNT_DETACH);
}

bool SmallDisk::fill()
{
    const QByteArray path = QFile::encodeName(folder_ + QStringLiteral("/filler"));
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const QByteArray block(4096, 'f');
    bool full = false;
    // Whole blocks first, then single bytes for what is left of the last one.
    for (qsizetype size : {block.size(), qsizetype(1)}) {
        for (;;) {
            if (::write(fd, block.constData(), size_t(size)) < 0) {
                full = errno == ENOSPC;
                break;
            }
        }
    }
    ::close(fd);
    return full;
}

} // namespace pw::test
