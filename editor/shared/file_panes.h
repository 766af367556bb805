#pragma once
// The drive, directory and file panes: three list widgets usable on their own or as a set.
// The main window shows them at its left; the batch tools, the picture viewer and the
// generators lay them out in their own dialogs.
//
//   DriveList      (QComboBox)   the mounted volumes, "/" first. drive() / setDrive().
//   DirectoryList  (QListWidget) the ancestors of one current directory, then its
//                                subdirectories; a double click (or Enter) enters a
//                                directory, one click highlights it. path() /
//                                setPath(), chosenPath() (the highlighted one).
//   FileList       (QListWidget) the file names of one directory, sorted, filtered by an
//                                optional pattern; single or multiple selection.
//                                path() / setPath(), selectedNames(), refresh().
//   FilePanes      (QObject)     keeps any of the three in step: drive changed -> directory
//                                := drive (with the "drive not ready" message when that
//                                fails), directory changed (or, in the dialogs that follow
//                                the highlight, highlighted) -> file list path.
//
// A typical dialog:
//     auto *drive = new DriveList(this);       drive->setObjectName("MyDrive");
//     auto *dir = new DirectoryList(this);     dir->setObjectName("MyDirectory");
//     auto *files = new FileList(this);        files->setObjectName("MyFileList");
//     files->setMultiSelect(true);
//     files->setPattern("*.rtf");
//     auto *panes = new FilePanes(drive, dir, files, ctx.platform, this);
//     panes->open(ctx.paneDrive(), ctx.paneDirectory());
//     connect(selectAll, &QPushButton::clicked, files, &FileList::selectAll);
//     connect(selectNone, &QPushButton::clicked, files, &FileList::clearSelection);
//     for (const QString &path : files->selectedPaths()) ...
//
// Paths handed out have no trailing separator except the root "/". Listing never calls stat
// per entry beyond what QDir needs to tell files from directories.
#include "files/drives.h"

#include <QComboBox>
#include <QListWidget>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QMimeData;

namespace pw {

class Platform;

// True when a file list entry can be dragged into the editor as a picture: its name,
// blanks trimmed and in lower case, ends in "gif", "bmp", "jpg" or "png".
bool isDraggablePicture(const QString &name);

// The mime data of a picture dragged from a file list: the name as text, the full path as
// a file URL, and the name under kPictureDragFormat so a drop can tell it came from a pane.
inline constexpr const char *kPictureDragFormat = "application/x-pagewick-file-name";
QMimeData *pictureDragDataFor(const QString &directory, const QString &name);

// The mounted volumes, "/" first (mountedDrives in files/drives.h).
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

class DirectoryList : public QListWidget {
    Q_OBJECT
public:
    explicit DirectoryList(QWidget *parent = nullptr);

    // The current directory; empty until a path was set.
    QString path() const { return path_; }
    // Makes the directory current and lists it. Emits directoryChanged when the path
    // changed. False (and nothing changed) when it is not a readable directory.
    bool setPath(const QString &path);
    // The full path of the entry at the row, or empty.
    QString entryPath(int row) const;
    // The row of the current directory.
    int currentDirectoryRow() const { return currentRow_; }
    // The directory of the highlighted entry (a single click or the arrow keys chose it),
    // else the current one: the folder a dialog's run acts on.
    QString chosenPath() const;
    // Lists the current directory again (subdirectories created or removed since).
    void refresh();

signals:
    void directoryChanged(const QString &path);
    // A listed folder was entered whose name is not valid UTF-8: it cannot be reached by the
    // name shown, so the list stays where it is.
    void unreadableEntered(const QString &name);
    // The user highlighted another entry without entering it.
    void directoryHighlighted(const QString &path);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fill();
    void enter(QListWidgetItem *item);
    QString path_;
    int currentRow_ = -1;
};

class FileList : public QListWidget {
    Q_OBJECT
public:
    explicit FileList(QWidget *parent = nullptr);

    // The listed directory; empty until a path was set.
    QString path() const { return path_; }
    // Lists the files of the directory. False (and the list emptied, path kept empty) when
    // it is not a readable directory.
    bool setPath(const QString &path);
    // Name patterns separated by ";" ("*.gif;*.bmp;*.jpg"), matched without regard to case.
    // Empty, "*" and "*.*" list every file. Lists again when a path is set.
    void setPattern(const QString &pattern);
    QString pattern() const { return pattern_; }
    // Several names selectable (click toggles, Shift and Ctrl extend) or one.
    void setMultiSelect(bool multi);
    bool multiSelect() const;

    // Lists the directory again; names still present stay selected.
    void refresh();
    // Every listed name, in list order.
    QStringList fileNames() const;
    // Selected names in list order.
    QStringList selectedNames() const;
    // Directory path joined with each selected name.
    QStringList selectedPaths() const;
    // The name at the current row, or empty (the "selected entry" of a single-select list).
    QString currentName() const;
    // Selects the named entry (and makes it current); false when it is not listed.
    bool selectName(const QString &name);
    // Adds every listed name the predicate accepts to the selection (multiSelect only);
    // others keep their state. One selection range per run of accepted names, so the time
    // grows with the number of names, however they alternate.
    void selectWhere(const std::function<bool(const QString &name)> &accept);
    // The directory joined with a listed name.
    QString fullPath(const QString &name) const;
    // selectAll() and clearSelection() come from QAbstractItemView (selectAll needs
    // multiSelect).

    // Pictures may be dragged from the list (off by default). The drag carries
    // pictureDragDataFor of the current name; other names start no drag.
    void setPictureDrag(bool enabled);
    // The drag the current entry would start, or nullptr when it is no picture (the caller
    // owns the result).
    QMimeData *pictureDragData() const;

signals:
    // A click on an entry, and a double click or Enter on one.
    void fileClicked(const QString &name);
    void fileActivated(const QString &name);
    // A picture drag is about to start with the named entry.
    void pictureDragStarted(const QString &name);

protected:
    void startDrag(Qt::DropActions supportedActions) override;

private:
    void fill(const QStringList &keepSelected);
    QString path_;
    QString pattern_;
};

// Keeps the panes of one window in step. Any of the three may be null.
class FilePanes : public QObject {
    Q_OBJECT
public:
    FilePanes(DriveList *drive, DirectoryList *directory, FileList *files, Platform &platform,
              QObject *parent = nullptr);

    // Shows the drive and directory a window opens on (e.g. the main window's panes). A
    // drive that cannot be selected falls back to "/"; a directory that cannot be listed
    // leaves the directory list on the drive's root.
    void open(const QString &drive, const QString &directory);
    // Moves the panes to the directory (the drive list follows to its volume). False when
    // the directory cannot be listed.
    bool showDirectory(const QString &directory);
    // Drive list, directory list and file list read again from the file system, in order.
    void refresh();
    // The file list shows the highlighted directory's files, not only the entered one's, so
    // one click chooses the folder a dialog works on (off by default).
    void setFollowHighlight(bool follow);

    DriveList *driveList() const { return drive_; }
    DirectoryList *directoryList() const { return directory_; }
    FileList *fileList() const { return files_; }

signals:
    // After the panes followed a change (drive, directory or refresh); for tooltips.
    void changed();

private:
    void onDriveChanged(const QString &drive);
    void onDirectoryChanged(const QString &path);
    void onDirectoryHighlighted(const QString &path);
    bool followHighlight_ = false;
    DriveList *drive_;
    DirectoryList *directory_;
    FileList *files_;
    Platform &platform_;
};

} // namespace pw
