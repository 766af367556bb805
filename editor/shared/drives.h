#pragma once
// The mounted volumes a user keeps files on, and the drive list of the file panes that shows
// them (see file_panes.h for the panes as a set).
#include "shared/mount_table.h"

#include <QComboBox>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

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

class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget *parent = nullptr);

    // The current volume's root ("/" when nothing is listed).
    QString drive() const;
    // Selects the listed volume with this root. "" and a Windows-style drive ("c:", "c:\")
    // select "/". Emits driveChanged when the selection changed. False (and nothing changed)
    // when no listed volume has that root.
    bool setDrive(const QString &drive);
    // Selects the volume holding the path without emitting driveChanged.
    void showDriveOf(const QString &path);
    // The listed roots in order.
    QStringList drives() const;
    // Lists the volumes again; keeps the current one when it is still mounted, else "/".
    void refresh();
    // Where the volumes come from (tests and special set-ups); mountedDrives by default.
    void setDriveSource(std::function<QList<DriveEntry>()> source);

signals:
    // The user picked another volume, or setDrive changed it.
    void driveChanged(const QString &drive);

private:
    void fill(const QString &keep);
    std::function<QList<DriveEntry>()> source_;
    QString current_;
};

} // namespace pw
