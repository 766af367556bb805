#include "shell/recent_files.h"

#include "files/paths.h"
#include "shared/settings_store.h"

#include <QAction>
#include <QTabBar>

#include <algorithm>

namespace pw {

namespace {
// Menu and tab captions read "&" as an access-key mark; a path shows every "&" it has.
QString caption(const QString &path)
{
    return QString(path).replace(QLatin1Char('&'), QStringLiteral("&&"));
}
} // namespace

RecentFiles::RecentFiles(QList<QAction *> items, QTabBar *tabs, QObject *parent)
    : QObject(parent), items_(std::move(items)), tabs_(tabs)
{
    setObjectName(QStringLiteral("recentFiles"));
    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
        const int previous = currentFileTab_;
        currentFileTab_ = index;
        if (!selectingFileTab_)
            emit fileTabChosen(index, previous);
    });
}

QString RecentFiles::path(int index) const
{
    return index >= 0 && index < items_.size() ? items_[index]->data().toString() : QString();
}

void RecentFiles::setPath(int index, const QString &path)
{
    items_[index]->setData(path);
    items_[index]->setText(caption(path));
    // An item that names no file is no choice: it is not shown.
    items_[index]->setVisible(!path.isEmpty());
}

void RecentFiles::setFiles(const QStringList &paths)
{
    // Each file once, the first (newest) place kept; the named ones fill the top items.
    QStringList kept;
    for (const QString &path : paths) {
        if (!path.isEmpty() && !kept.contains(path))
            kept << path;
    }
    for (int i = 0; i < items_.size(); ++i)
        setPath(i, i < kept.size() ? kept[i] : QString());
}

void RecentFiles::add(const QString &path)
{
    setFiles(QStringList{path} + files());
    addFileTab(path);
}

QStringList RecentFiles::files() const
{
    QStringList list;
    for (int i = 0; i < items_.size(); ++i)
        list << path(i);
    return list;
}

void RecentFiles::restore(const SettingsStore &settings)
{
    QStringList stored;
    for (int i = 0; i < items_.size(); ++i)
        stored << settings.read(QStringLiteral("Settings"), QStringLiteral("RU%1").arg(i),
                                QString());
    setFiles(stored);
}

void RecentFiles::save(SettingsStore &settings) const
{
    for (int i = 0; i < items_.size(); ++i)
        settings.write(QStringLiteral("Settings"), QStringLiteral("RU%1").arg(i), path(i));
}

void RecentFiles::selectFileTab(int index)
{
    selectingFileTab_ = true;
    tabs_->setCurrentIndex(index);
    selectingFileTab_ = false;
}

void RecentFiles::addFileTab(const QString &path)
{
    // Exact comparison: paths differing in letter case are different files here.
    int found = -1;
    for (int i = 0; i < int(tabFiles_.size()); ++i) {
        if (tabFiles_[i] == path)
            found = i;
    }
    if (found >= 0) {
        selectFileTab(found);
        return;
    }
    std::shift_right(tabFiles_.begin(), tabFiles_.end(), 1);
    tabFiles_[0] = path;
    for (int i = 0; i < int(tabFiles_.size()); ++i)
        tabs_->setTabText(i, caption(pathPart(tabFiles_[i], 3)));
    // The new file's tab is the selected one, so the tab of the file shown before can be
    // clicked to open it again.
    selectFileTab(0);
}

void RecentFiles::clearTabs()
{
    for (int i = 0; i < int(tabFiles_.size()); ++i)
        tabs_->setTabText(i, QString());
    selectFileTab(0);
}

} // namespace pw
