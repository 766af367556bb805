#pragma once
// The recent files (the Recent menu's ten items, RU0..RU9 in the settings) and the five file
// tabs under the document. The newest file is on top of the menu and on the first tab.
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>

class QAction;
class QTabBar;

namespace pw {

class SettingsStore;

class RecentFiles : public QObject {
    Q_OBJECT
public:
    // `items` are the menu's ten items in order; `tabs` has five tabs.
    RecentFiles(QList<QAction *> items, QTabBar *tabs, QObject *parent);

    // The file goes on top of the menu (from where it was, if it was there) and gets a tab
    // (or its tab is selected). Only items that name a file are shown.
    void add(const QString &path);
    // The path of menu item `index`; empty when it names none.
    QString path(int index) const;
    QStringList files() const;
    void restore(const SettingsStore &settings);
    void save(SettingsStore &settings) const;

    // Selects the file's tab, first putting it on the first tab when it has none.
    void addFileTab(const QString &path);
    void clearTabs();
    // Selects a tab as the program, not the user, does: nothing is opened.
    void selectFileTab(int index);
    const std::array<QString, 5> &tabFiles() const { return tabFiles_; }

signals:
    // The user chose tab `index`, leaving tab `previous`.
    void fileTabChosen(int index, int previous);

private:
    void setPath(int index, const QString &path);
    void setFiles(const QStringList &paths);

    QList<QAction *> items_;
    QTabBar *tabs_;
    std::array<QString, 5> tabFiles_;
    int currentFileTab_ = 0;
    bool selectingFileTab_ = false;
};

} // namespace pw
