// Opening files from the recent files, the file tabs and the file panes around the document.
#include "shell/main_window.h"

#include "document/document.h"
#include "files/mount_table.h"
#include "files/paths.h"
#include "shared/file_panes.h"
#include "shared/platform.h"
#include "shared/settings_store.h"
#include "shared/unsaved_files.h"
#include "shell/recent_files.h"
#include "source_view/source_edit.h"

#include <QDir>
#include <QFileInfo>

#include <chrono>

namespace pw {

namespace {
// A stored folder on a network mount whose server is gone would block start-up on its first
// look; such a folder is given two seconds to answer. Local folders are not delayed.
bool directoryAnswers(const QString &directory)
{
    using namespace std::chrono_literals;
    if (!isOnRemoteMount(directory, readMountTable()))
        return true;
    return answersWithin([directory] { return QFileInfo(directory).isDir(); }, 2s);
}
} // namespace

void MainWindow::connectFiles()
{
    connect(recent_, &RecentFiles::fileTabChosen, this, &MainWindow::openFromFileTab);
    FileList *files = panes_->fileList();
    connect(files, &FileList::fileActivated, this, &MainWindow::openFromFileList);
    connect(files, &FileList::fileClicked, this, &MainWindow::changeToolTips);
    connect(panes_->directoryList(), &QListWidget::itemClicked, this, &MainWindow::changeToolTips);
    connect(panes_, &FilePanes::changed, this, &MainWindow::changeToolTips);
}

void MainWindow::openRecentFile(int index)
{
    const QString path = recent_->path(index);
    if (path.isEmpty())
        return;
    if (!fileIsPresent(path)) {
        platform_.messageBox(QStringLiteral("Error Loading File..."),
                             QStringLiteral("The Specified File Cannot Be Found"), MsgButtons::Ok,
                             MsgIcon::Information);
        return;
    }
    if (!document_->savePrompt())
        return;
    // The modified flag is cleared by the load itself: a load that fails leaves the edits
    // on screen, and they must still count as unsaved.
    if (!document_->open(path))
        return;
    syncFileBoxes(path);
}

void MainWindow::openFromFileTab(int index, int previous)
{
    const std::array<QString, 5> &files = recent_->tabFiles();
    if (index == previous || index < 0 || index >= int(files.size()))
        return;
    // The file is the one whose tab was clicked, taken before the prompt: a Save As there
    // puts its own file on the tabs and moves the others along. An empty tab stays selected
    // and opens nothing.
    const QString path = files[index];
    if (path.isEmpty())
        return;
    // Answered Cancel, or the file refused: the open document's tab stays selected.
    if (!document_->savePrompt() || !document_->open(path)) {
        recent_->selectFileTab(previous);
        return;
    }
    syncFileBoxes(path);
}

void MainWindow::openFromFileList(const QString &name)
{
    if (name.isEmpty())
        return;
    // The folder the name was listed in, taken before the prompt: a Save As there moves the
    // panes to the saved file's folder.
    const QString folder = panes_->directoryList()->path();
    // Asked before the save prompt: the document would be given up for nothing.
    if (!nameIsReadable(folder, name)) {
        reportUnopenableName(platform_, EntryKind::Files, name);
        return;
    }
    const QString path = joinPath(folder, name);
    if (!document_->savePrompt())
        return;
    if (!document_->open(path))
        return;
    recent_->add(path);
}

void MainWindow::syncFileBoxes(const QString &path)
{
    // The drive list follows to the volume that holds the directory.
    const QString directory = directoryOfPath(path);
    if (!directory.isEmpty())
        panes_->showDirectory(directory);
}

void MainWindow::restoreDriveAndDir()
{
    DriveList *drives = panes_->driveList();
    DirectoryList *directories = panes_->directoryList();
    const QString drive =
        settings_.read(QStringLiteral("Settings"), QStringLiteral("Drive"), QStringLiteral("/"));
    const QString directory =
        settings_.read(QStringLiteral("Settings"), QStringLiteral("Dir"), QDir::homePath());
    // The whole stored drive counts: a mount point is longer than a drive letter.
    const QString root = driveRoot(drive, drives->drives());
    if (drives->drives().contains(root) && directoryAnswers(directory)
        && directories->setPath(directory)) {
        drives->showDriveOf(root);
        changeToolTips();
        return;
    }
    // Stored drive or directory unusable: back on "/", quietly.
    drives->showDriveOf(QStringLiteral("/"));
    if (directories->path().isEmpty())
        directories->setPath(QStringLiteral("/"));
    changeToolTips();
}

void MainWindow::changeToolTips()
{
    panes_->driveList()->setToolTip(panes_->driveList()->currentText());
    panes_->directoryList()->setToolTip(panes_->directoryList()->path());
    panes_->fileList()->setToolTip(panes_->fileList()->currentName());
}

} // namespace pw
