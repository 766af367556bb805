// Recent files, file tabs and the file panes around the document.
#include "shell/main_window.h"

#include "shared/paths.h"
#include "shared/settings_store.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QTabBar>

namespace pw {

void MainWindow::AddToRecentlyUsed(const QString &path)
{
    // The list keeps duplicates: the newest copy goes on top, older copies stay.
    for (int i = 9; i >= 1; --i)
        mnuRecentlyUsed_[i]->setText(mnuRecentlyUsed_[i - 1]->text());
    mnuRecentlyUsed_[0]->setText(path);
    AddFileTab(path);
}

void MainWindow::AddFileTab(const QString &path)
{
    int found = -1;
    for (int i = 0; i < 5; ++i) {
        if (TabFiles[i] == path)
            found = i;
    }
    if (found >= 0) {
        MyTabFiles_->setCurrentIndex(found);
        return;
    }
    for (int i = 4; i >= 1; --i)
        TabFiles[i] = TabFiles[i - 1];
    TabFiles[0] = path;
    for (int i = 0; i < 5; ++i)
        MyTabFiles_->setTabText(i, PathPart(TabFiles[i], 3));
}

void MainWindow::ClearTabs()
{
    for (int i = 0; i < 5; ++i)
        MyTabFiles_->setTabText(i, QString());
    MyTabFiles_->setCurrentIndex(0);
}

QStringList MainWindow::recentFiles() const
{
    QStringList list;
    for (const QAction *item : mnuRecentlyUsed_)
        list << item->text();
    return list;
}

void MainWindow::RestoreRecentlyUsed()
{
    for (int i = 0; i < 10; ++i)
        mnuRecentlyUsed_[i]->setText(settings_.read(QStringLiteral("Settings"),
                                                    QStringLiteral("RU%1").arg(i), QString()));
}

void MainWindow::SaveRecentlyUsed()
{
    for (int i = 0; i < 10; ++i)
        settings_.write(QStringLiteral("Settings"), QStringLiteral("RU%1").arg(i),
                        mnuRecentlyUsed_[i]->text());
}

void MainWindow::SyncFileBoxes(const QString &path)
{
    setPaneDrive(PathPart(path, 1));
    setPaneDirectory(QString(PathPart(path, 1) + PathPart(path, 2)));
}

void MainWindow::RestoreDriveAndDir()
{
    setPaneDrive(settings_.read(QStringLiteral("Settings"), QStringLiteral("Drive"), QStringLiteral("/")));
    setPaneDirectory(settings_.read(QStringLiteral("Settings"), QStringLiteral("Dir"), QDir::homePath()));
}

void MainWindow::setPaneDrive(const QString &drive)
{
    paneDrive_ = drive.isEmpty() ? QStringLiteral("/") : drive;
    MyDrive_->clear();
    MyDrive_->addItem(paneDrive_);
}

void MainWindow::setPaneDirectory(const QString &directory)
{
    paneDirectory_ = directory;
    MyDirectory_->clear();
    MyDirectory_->addItem(directory);
    MyFileList_->clear();
    const QDir dir(directory);
    MyFileList_->addItems(dir.entryList(QDir::Files, QDir::Name));
}

} // namespace pw
