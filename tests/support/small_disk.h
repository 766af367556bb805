#pragma once
// A tiny file system of its own (tmpfs) mounted on a folder for the life of the object, so a
// test can fill it up and see what a write does on a full disk. Mounting needs the right to
// mount; where that is missing, `mounted()` is false and `reason()` says why, for a skip.
#include <QString>

namespace pw::test {

class SmallDisk {
public:
    // Mounts a file system of `bytes` bytes on the existing, empty folder `folder`.
    SmallDisk(const QString &folder, qint64 bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool mounted() const { return mounted_; }
    QString reason() const { return reason_; }
    // Writes a filler file until the file system has no room left; true when it is full.
    bool fill();

private:
    QString folder_;
    bool mounted_ = false;
    QString reason_;
};

} // namespace pw::test
