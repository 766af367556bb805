#include "support/unprivileged.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <unistd.h>

namespace pw::test {

namespace {
constexpr uid_t kNobody = 65534;
constexpr QFileDevice::Permissions kAllReadWrite =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
    | QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::WriteGroup
    | QFileDevice::ReadOther | QFileDevice::WriteOther;
constexpr QFileDevice::Permissions kAllSearch =
    QFileDevice::ExeOwner | QFileDevice::ExeUser | QFileDevice::ExeGroup | QFileDevice::ExeOther;
} // namespace

void openToEveryone(const QString &path)
{
    auto open = [](const QString &entry) {
        const bool directory = QFileInfo(entry).isDir();
        QFile::setPermissions(entry, directory ? kAllReadWrite | kAllSearch : kAllReadWrite);
    };
    open(path);
    QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        open(it.next());
}

AsUnprivilegedUser::AsUnprivilegedUser()
{
    if (geteuid() != 0)
        return;
    if (setegid(kNobody) != 0 || seteuid(kNobody) != 0) {
        ADD_FAILURE() << "could not take the unprivileged identity";
        return;
    }
    switched_ = true;
}

AsUnprivilegedUser::~AsUnprivilegedUser()
{
    if (!switched_)
        return;
    if (seteuid(0) != 0 || setegid(0) != 0)
        ADD_FAILURE() << "could not return to the superuser";
}

} // namespace pw::test
