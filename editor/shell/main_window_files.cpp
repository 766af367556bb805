// Recent files, file tabs and the file panes around the document.
#include "shell/main_window.h"

#include "files/mount_table.h"
#include "files/paths.h"
#include "shared/file_panes.h"
#include "shared/platform.h"
#include "shared/settings_store.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QTabBar>

#include <chrono>

namespace pw {

void MainWindow::connectFiles()
{
    connect(myTabFiles, &QTabBar::currentChanged, this, [this](int index) {
        const int previous = currentFileTab_;
        currentFileTab_ = index;
        if (!selectingFileTab_)
            openFromFileTab(index, previous);
    });
    connect(myFileList, &FileList::fileActivated, this, &MainWindow::openFromFileList);
    connect(myFileList, &FileList::fileClicked, this, &MainWindow::changeToolTips);
    connect(myDirectory, &QListWidget::itemClicked, this, &MainWindow::changeToolTips);
    connect(panes_, &FilePanes::changed, this, &MainWindow::changeToolTips);
}

// ---------------------------------------------------------------------------------------
// Recent-files menu

namespace {
// Menu and tab captions read "&" as an access-key mark; a path shows every "&" it has.
QString caption(const QString &path)
{
    return QString(path).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

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

QString MainWindow::recentPath(int index) const
{
    return mnuRecentlyUsed_[index]->data().toString();
}

void MainWindow::setRecentPath(int index, const QString &path)
{
    mnuRecentlyUsed_[index]->setData(path);
    mnuRecentlyUsed_[index]->setText(caption(path));
}

void MainWindow::addToRecentlyUsed(const QString &path)
{
    // The list keeps duplicates: the newest copy goes on top, older copies stay.
    for (int i = 9; i >= 1; --i)
        setRecentPath(i, recentPath(i - 1));
    setRecentPath(0, path);
    addFileTab(path);
}

QStringList MainWindow::recentFiles() const
{
    QStringList list;
    for (int i = 0; i < 10; ++i)
        list << recentPath(i);
    return list;
}

void MainWindow::restoreRecentlyUsed()
{
    for (int i = 0; i < 10; ++i)
        setRecentPath(i, settings_.read(QStringLiteral("Settings"), QStringLiteral("RU%1").arg(i),
                                        QString()));
}

void MainWindow::saveRecentlyUsed()
{
    for (int i = 0; i < 10; ++i)
        settings_.write(QStringLiteral("Settings"), QStringLiteral("RU%1").arg(i), recentPath(i));
}

void MainWindow::openRecentFile(int index)
{
    if (index < 0 || index >= int(mnuRecentlyUsed_.size()))
        return;
    const QString path = recentPath(index);
    if (path.isEmpty())
        return;
    if (!fileIsPresent(path)) {
        platform_.messageBox(QStringLiteral("Error Loading File..."),
                             QStringLiteral("The Specified File Cannot Be Found"), MsgButtons::Ok,
                             MsgIcon::Information);
        return;
    }
    if (!savePrompt())
        return;
    // The modified flag is cleared by the load itself: a load that fails leaves the edits
    // on screen, and they must still count as unsaved.
    if (!openAsDocument(path))
        return;
    syncFileBoxes(path);
    addFileTab(path);
}

// ---------------------------------------------------------------------------------------
// File tabs

void MainWindow::selectFileTab(int index)
{
    selectingFileTab_ = true;
    myTabFiles->setCurrentIndex(index);
    selectingFileTab_ = false;
}

void MainWindow::addFileTab(const QString &path)
{
    // Exact comparison: paths differing in letter case are different files here.
    int found = -1;
    for (int i = 0; i < 5; ++i) {
        if (tabFiles_[i] == path)
            found = i;
    }
    if (found >= 0) {
        selectFileTab(found);
        return;
    }
    for (int i = 4; i >= 1; --i)
        tabFiles_[i] = tabFiles_[i - 1];
    tabFiles_[0] = path;
    for (int i = 0; i < 5; ++i)
        myTabFiles->setTabText(i, caption(pathPart(tabFiles_[i], 3)));
}

void MainWindow::clearTabs()
{
    for (int i = 0; i < 5; ++i)
        myTabFiles->setTabText(i, QString());
    selectFileTab(0);
}

void MainWindow::openFromFileTab(int index, int previous)
{
    if (index == previous || index < 0 || index >= 5)
        return;
    // An empty tab stays selected and opens nothing.
    if (myTabFiles->tabText(index).isEmpty())
        return;
    // The file is the one whose tab was clicked, taken before the prompt: a Save As there
    // puts its own file on the tabs and moves the others along.
    const QString path = tabFiles_[index];
    // Answered Cancel, or the file refused: the open document's tab stays selected.
    if (!savePrompt() || !openAsDocument(path)) {
        selectFileTab(previous);
        return;
    }
    syncFileBoxes(path);
    // Selects the file's tab where the prompt moved it (or puts it back if it fell off).
    addFileTab(path);
}

// ---------------------------------------------------------------------------------------
// File panes

QString MainWindow::paneDrive() const
{
    return myDrive->drive();
}

QString MainWindow::paneDirectory() const
{
    return myDirectory->path();
}

void MainWindow::setPaneDrive(const QString &drive)
{
    myDrive->setDrive(drive);
}

void MainWindow::setPaneDirectory(const QString &directory)
{
    panes_->showDirectory(directory);
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
    const QString drive =
        settings_.read(QStringLiteral("Settings"), QStringLiteral("Drive"), QStringLiteral("/"));
    const QString directory =
        settings_.read(QStringLiteral("Settings"), QStringLiteral("Dir"), QDir::homePath());
    // The whole stored drive counts: a mount point is longer than a drive letter.
    const QString root = driveRoot(drive, myDrive->drives());
    if (myDrive->drives().contains(root) && directoryAnswers(directory)
        && myDirectory->setPath(directory)) {
        myDrive->showDriveOf(root);
        changeToolTips();
        return;
    }
    // Stored drive or directory unusable: back on "/", quietly.
    myDrive->showDriveOf(QStringLiteral("/"));
    if (myDirectory->path().isEmpty())
        myDirectory->setPath(QStringLiteral("/"));
    changeToolTips();
}

void MainWindow::refreshDriveLists()
{
    panes_->refresh();
}

void MainWindow::openFromFileList(const QString &name)
{
    if (name.isEmpty())
        return;
    // The folder the name was listed in, taken before the prompt: a Save As there moves the
    // panes to the saved file's folder.
    const QString path = joinPath(myDirectory->path(), name);
    if (!savePrompt())
        return;
    if (!openAsDocument(path))
        return;
    addToRecentlyUsed(path);
}

void MainWindow::changeToolTips()
{
    myDrive->setToolTip(myDrive->currentText());
    myDirectory->setToolTip(myDirectory->path());
    myFileList->setToolTip(myFileList->currentName());
}

} // namespace pw
