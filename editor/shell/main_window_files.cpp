// Recent files, file tabs and the file panes around the document.
#include "shell/main_window.h"

#include "shared/file_panes.h"
#include "shared/paths.h"
#include "shared/platform.h"
#include "shared/settings_store.h"

#include <QAction>
#include <QDir>
#include <QTabBar>

namespace pw {

void MainWindow::connectFiles()
{
    connect(MyTabFiles_, &QTabBar::currentChanged, this, [this](int index) {
        const int previous = currentFileTab_;
        currentFileTab_ = index;
        if (!selectingFileTab_)
            OpenFromFileTab(index, previous);
    });
    connect(MyFileList_, &FileList::fileActivated, this, &MainWindow::OpenFromFileList);
    connect(MyFileList_, &FileList::fileClicked, this, &MainWindow::ChangeToolTips);
    connect(MyDirectory_, &QListWidget::itemClicked, this, &MainWindow::ChangeToolTips);
    connect(panes_, &FilePanes::changed, this, &MainWindow::ChangeToolTips);
}

// ---------------------------------------------------------------------------------------
// Recent-files menu

namespace {
// Menu and tab captions read "&" as an access-key mark; a path shows every "&" it has.
QString Caption(const QString &path)
{
    return QString(path).replace(QLatin1Char('&'), QStringLiteral("&&"));
}
} // namespace

QString MainWindow::recentPath(int index) const
{
    return mnuRecentlyUsed_[index]->data().toString();
}

void MainWindow::setRecentPath(int index, const QString &path)
{
    mnuRecentlyUsed_[index]->setData(path);
    mnuRecentlyUsed_[index]->setText(Caption(path));
}

void MainWindow::AddToRecentlyUsed(const QString &path)
{
    // The list keeps duplicates: the newest copy goes on top, older copies stay.
    for (int i = 9; i >= 1; --i)
        setRecentPath(i, recentPath(i - 1));
    setRecentPath(0, path);
    AddFileTab(path);
}

QStringList MainWindow::recentFiles() const
{
    QStringList list;
    for (int i = 0; i < 10; ++i)
        list << recentPath(i);
    return list;
}

void MainWindow::RestoreRecentlyUsed()
{
    for (int i = 0; i < 10; ++i)
        setRecentPath(i, settings_.read(QStringLiteral("Settings"), QStringLiteral("RU%1").arg(i),
                                        QString()));
}

void MainWindow::SaveRecentlyUsed()
{
    for (int i = 0; i < 10; ++i)
        settings_.write(QStringLiteral("Settings"), QStringLiteral("RU%1").arg(i), recentPath(i));
}

void MainWindow::OpenRecentFile(int index)
{
    if (index < 0 || index >= int(mnuRecentlyUsed_.size()))
        return;
    const QString path = recentPath(index);
    if (path.isEmpty())
        return;
    if (!FileIsPresent(path)) {
        platform_.messageBox(QStringLiteral("Error Loading File..."),
                             QStringLiteral("The Specified File Cannot Be Found"), MsgButtons::Ok,
                             MsgIcon::Information);
        return;
    }
    if (!SavePrompt())
        return;
    // The modified flag is cleared by the load itself: a load that fails leaves the edits
    // on screen, and they must still count as unsaved.
    if (!OpenAsDocument(path))
        return;
    SyncFileBoxes(path);
    AddFileTab(path);
}

// ---------------------------------------------------------------------------------------
// File tabs

void MainWindow::selectFileTab(int index)
{
    selectingFileTab_ = true;
    MyTabFiles_->setCurrentIndex(index);
    selectingFileTab_ = false;
}

void MainWindow::AddFileTab(const QString &path)
{
    // Exact comparison: paths differing in letter case are different files here.
    int found = -1;
    for (int i = 0; i < 5; ++i) {
        if (TabFiles[i] == path)
            found = i;
    }
    if (found >= 0) {
        selectFileTab(found);
        return;
    }
    for (int i = 4; i >= 1; --i)
        TabFiles[i] = TabFiles[i - 1];
    TabFiles[0] = path;
    for (int i = 0; i < 5; ++i)
        MyTabFiles_->setTabText(i, Caption(PathPart(TabFiles[i], 3)));
}

void MainWindow::ClearTabs()
{
    for (int i = 0; i < 5; ++i)
        MyTabFiles_->setTabText(i, QString());
    selectFileTab(0);
}

void MainWindow::OpenFromFileTab(int index, int previous)
{
    if (index == previous || index < 0 || index >= 5)
        return;
    // An empty tab stays selected and opens nothing.
    if (MyTabFiles_->tabText(index).isEmpty())
        return;
    // The file is the one whose tab was clicked, taken before the prompt: a Save As there
    // puts its own file on the tabs and moves the others along.
    const QString path = TabFiles[index];
    // Answered Cancel, or the file refused: the open document's tab stays selected.
    if (!SavePrompt() || !OpenAsDocument(path)) {
        selectFileTab(previous);
        return;
    }
    SyncFileBoxes(path);
    // Selects the file's tab where the prompt moved it (or puts it back if it fell off).
    AddFileTab(path);
}

// ---------------------------------------------------------------------------------------
// File panes

QString MainWindow::paneDrive() const
{
    return MyDrive_->drive();
}

QString MainWindow::paneDirectory() const
{
    return MyDirectory_->path();
}

void MainWindow::setPaneDrive(const QString &drive)
{
    MyDrive_->setDrive(drive);
}

void MainWindow::setPaneDirectory(const QString &directory)
{
    panes_->showDirectory(directory);
}

void MainWindow::SyncFileBoxes(const QString &path)
{
    // The drive list follows to the volume that holds the directory.
    const QString directory = DirectoryOfPath(path);
    if (!directory.isEmpty())
        panes_->showDirectory(directory);
}

void MainWindow::RestoreDriveAndDir()
{
    const QString drive = settings_.read(QStringLiteral("Settings"), QStringLiteral("Drive"),
                                         QStringLiteral("/"));
    const QString directory = settings_.read(QStringLiteral("Settings"), QStringLiteral("Dir"),
                                             QDir::homePath());
    // The whole stored drive counts: a mount point is longer than a drive letter.
    const QString root = DriveRoot(drive);
    if (MyDrive_->drives().contains(root) && MyDirectory_->setPath(directory)) {
        MyDrive_->showDriveOf(root);
        ChangeToolTips();
        return;
    }
    // Stored drive or directory unusable: back on "/", quietly.
    MyDrive_->showDriveOf(QStringLiteral("/"));
    if (MyDirectory_->path().isEmpty())
        MyDirectory_->setPath(QStringLiteral("/"));
    ChangeToolTips();
}

void MainWindow::RefreshDriveLists()
{
    panes_->refresh();
}

void MainWindow::OpenFromFileList(const QString &name)
{
    if (name.isEmpty())
        return;
    // The folder the name was listed in, taken before the prompt: a Save As there moves the
    // panes to the saved file's folder.
    const QString path = joinPath(MyDirectory_->path(), name);
    if (!SavePrompt())
        return;
    if (!OpenAsDocument(path))
        return;
    AddToRecentlyUsed(path);
}

void MainWindow::ChangeToolTips()
{
    MyDrive_->setToolTip(MyDrive_->currentText());
    MyDirectory_->setToolTip(MyDirectory_->path());
    MyFileList_->setToolTip(MyFileList_->currentName());
}

} // namespace pw
