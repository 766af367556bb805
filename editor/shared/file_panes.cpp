#include "shared/file_panes.h"

#include "files/paths.h"
#include "shared/platform.h"
#include "shared/unsaved_files.h"

#include <QDir>
#include <QDrag>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QStyle>
#include <QUrl>

#include <algorithm>
#include <vector>

namespace pw {

namespace {

constexpr int kPathRole = Qt::UserRole;

// The pane text of a directory name at a depth of the directory list.
QString indented(const QString &name, int depth)
{
    return QString(depth * 2, u' ') + name;
}

bool isReadableDirectory(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

} // namespace

bool isDraggablePicture(const QString &name)
{
    const QString ext = name.trimmed().toLower().right(3);
    return ext == QLatin1String("gif") || ext == QLatin1String("bmp") || ext == QLatin1String("jpg")
           || ext == QLatin1String("png");
}

QMimeData *pictureDragDataFor(const QString &directory, const QString &name)
{
    auto *data = new QMimeData;
    data->setText(name);
    data->setUrls({QUrl::fromLocalFile(joinPath(directory, name))});
    data->setData(QString::fromLatin1(kPictureDragFormat), name.toUtf8());
    return data;
}

// ---------------------------------------------------------------------------------------
// DirectoryList

DirectoryList::DirectoryList(QWidget *parent) : QListWidget(parent)
{
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // A double click enters the directory whatever the style's activation rule is.
    connect(this, &QListWidget::itemDoubleClicked, this, &DirectoryList::enter);
    // Filling the list blocks signals, so only the user's highlighting is announced.
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            emit directoryHighlighted(entryPath(row));
    });
}

QString DirectoryList::chosenPath() const
{
    const QString highlighted = entryPath(currentRow());
    return highlighted.isEmpty() ? path_ : highlighted;
}

bool DirectoryList::setPath(const QString &path)
{
    const QString clean = cleanDirectoryPath(path);
    if (!isReadableDirectory(clean))
        return false;
    const bool changed = clean != path_;
    path_ = clean;
    fill();
    if (changed)
        emit directoryChanged(path_);
    return true;
}

QString DirectoryList::entryPath(int row) const
{
    const QListWidgetItem *it = item(row);
    return it ? it->data(kPathRole).toString() : QString();
}

void DirectoryList::refresh()
{
    if (path_.isEmpty())
        return;
    // A directory removed meanwhile gives way to its nearest existing ancestor.
    QString p = path_;
    while (!isReadableDirectory(p) && p != QLatin1String("/"))
        p = cleanDirectoryPath(QFileInfo(p).path());
    if (p != path_) {
        setPath(p);
        return;
    }
    fill();
}

void DirectoryList::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        enter(currentItem());
        return;
    }
    QListWidget::keyPressEvent(event);
}

void DirectoryList::enter(QListWidgetItem *item)
{
    if (!item)
        return;
    const QString path = item->data(kPathRole).toString();
    if (!setPath(path) && !nameIsReadable(path_, fileNameOfPath(path)))
        emit unreadableEntered(fileNameOfPath(path));
}

void DirectoryList::fill()
{
    const QSignalBlocker block(this);
    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    auto add = [this](const QIcon &icon, const QString &text, const QString &full) {
        auto *it = new QListWidgetItem(icon, text, this);
        it->setData(kPathRole, full);
    };
    // The ancestors from the root down to the current directory.
    add(open, QStringLiteral("/"), QStringLiteral("/"));
    const QStringList parts = path_.split(u'/', Qt::SkipEmptyParts);
    QString walked;
    for (int i = 0; i < parts.size(); ++i) {
        walked += u'/' + parts[i];
        add(open, indented(parts[i], i + 1), walked);
    }
    currentRow_ = count() - 1;
    const int depth = int(parts.size()) + 1;
    // Folders whose names are not UTF-8 are shown too, after the others: a folder that
    // vanished from the list would look like a lost one.
    const QStringList subdirs =
        QDir(path_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)
        + unreadableEntries(path_, EntryKind::Directories);
    for (const QString &name : subdirs)
        add(closed, indented(name, depth), joinPath(path_, name));
    setCurrentRow(currentRow_);
}

// ---------------------------------------------------------------------------------------
// FileList

FileList::FileList(QWidget *parent) : QListWidget(parent)
{
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *it) { emit fileClicked(it->text()); });
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *it) { emit fileActivated(it->text()); });
}

bool FileList::setPath(const QString &path)
{
    const QString clean = cleanDirectoryPath(path);
    if (!isReadableDirectory(clean)) {
        path_.clear();
        clear();
        return false;
    }
    path_ = clean;
    fill({});
    return true;
}

void FileList::setPattern(const QString &pattern)
{
    pattern_ = pattern;
    if (!path_.isEmpty())
        fill({});
}

void FileList::setMultiSelect(bool multi)
{
    setSelectionMode(multi ? QAbstractItemView::ExtendedSelection
                           : QAbstractItemView::SingleSelection);
}

bool FileList::multiSelect() const
{
    return selectionMode() != QAbstractItemView::SingleSelection;
}

void FileList::refresh()
{
    if (path_.isEmpty())
        return;
    if (!isReadableDirectory(path_)) {
        clear();
        return;
    }
    fill(selectedNames());
}

QStringList FileList::fileNames() const
{
    QStringList names;
    names.reserve(count());
    for (int i = 0; i < count(); ++i)
        names << item(i)->text();
    return names;
}

QStringList FileList::selectedNames() const
{
    // From the selection ranges: asking every item would search the ranges once per item.
    QList<int> rows;
    for (const QItemSelectionRange &range : selectionModel()->selection()) {
        for (int r = range.top(); r <= range.bottom(); ++r)
            rows << r;
    }
    std::sort(rows.begin(), rows.end());
    QStringList names;
    names.reserve(rows.size());
    for (int r : rows)
        names << item(r)->text();
    return names;
}

QStringList FileList::selectedPaths() const
{
    QStringList paths;
    for (const QString &name : selectedNames())
        paths << fullPath(name);
    return paths;
}

QString FileList::currentName() const
{
    const QListWidgetItem *it = currentItem();
    return it ? it->text() : QString();
}

bool FileList::selectName(const QString &name)
{
    for (int i = 0; i < count(); ++i) {
        if (item(i)->text() == name) {
            setCurrentRow(i, QItemSelectionModel::ClearAndSelect);
            return true;
        }
    }
    return false;
}

void FileList::selectWhere(const std::function<bool(const QString &name)> &accept)
{
    if (!multiSelect())
        return;
    const int rows = count();
    // Rows already selected are left out of the new ranges: the selection model compares
    // every new range with every old one.
    std::vector<bool> selected(rows, false);
    for (const QItemSelectionRange &range : selectionModel()->selection()) {
        for (int r = range.top(); r <= range.bottom(); ++r)
            selected[r] = true;
    }
    QItemSelection selection;
    const QAbstractItemModel *m = model();
    int first = -1;
    for (int i = 0; i <= rows; ++i) {
        const bool accepted = i < rows && !selected[i] && accept(item(i)->text());
        if (accepted && first < 0)
            first = i;
        if (!accepted && first >= 0) {
            selection.append(QItemSelectionRange(m->index(first, 0), m->index(i - 1, 0)));
            first = -1;
        }
    }
    if (!selection.isEmpty())
        selectionModel()->select(selection, QItemSelectionModel::Select);
}

QString FileList::fullPath(const QString &name) const
{
    return joinPath(path_, name);
}

void FileList::setPictureDrag(bool enabled)
{
    setDragEnabled(enabled);
    setDragDropMode(enabled ? QAbstractItemView::DragOnly : QAbstractItemView::NoDragDrop);
}

QMimeData *FileList::pictureDragData() const
{
    const QString name = currentName();
    if (name.isEmpty() || !isDraggablePicture(name))
        return nullptr;
    return pictureDragDataFor(path_, name);
}

void FileList::startDrag(Qt::DropActions)
{
    QMimeData *data = pictureDragData();
    if (!data)
        return;
    emit pictureDragStarted(currentName());
    auto *drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction);
    drag->deleteLater();
}

void FileList::fill(const QStringList &keepSelected)
{
    const QSignalBlocker block(this);
    clear();
    QStringList filters;
    bool all = false;
    for (const QString &part : pattern_.split(u';', Qt::SkipEmptyParts)) {
        const QString p = part.trimmed();
        if (p == QLatin1String("*") || p == QLatin1String("*.*"))
            all = true;
        else if (!p.isEmpty())
            filters << p;
    }
    // No pattern lists every file, as "*" does: QDir::match on an empty list matches nothing,
    // which would hide the names only this list adds.
    all = all || filters.isEmpty();
    QDir dir(path_);
    if (!all)
        dir.setNameFilters(filters); // without QDir::CaseSensitive: any letter case matches
    QStringList names = dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    // Files whose names are not UTF-8 are shown after the others, so the tools can name them
    // as skipped rather than losing them without a word.
    for (const QString &name : unreadableEntries(path_, EntryKind::Files)) {
        if (all || QDir::match(filters, name))
            names << name;
    }
    addItems(names);
    if (keepSelected.isEmpty())
        return;
    // One selection of row ranges, applied at once: item by item is quadratic.
    const QSet<QString> keep(keepSelected.cbegin(), keepSelected.cend());
    QItemSelection selection;
    const QAbstractItemModel *m = model();
    int first = -1;
    for (int i = 0; i <= count(); ++i) {
        const bool kept = i < count() && keep.contains(names.at(i));
        if (kept && first < 0)
            first = i;
        if (!kept && first >= 0) {
            selection.select(m->index(first, 0), m->index(i - 1, 0));
            first = -1;
        }
    }
    if (selectionMode() == QAbstractItemView::SingleSelection && !selection.isEmpty())
        selection = QItemSelection(selection.first().topLeft(), selection.first().topLeft());
    selectionModel()->select(selection, QItemSelectionModel::Select);
}

// ---------------------------------------------------------------------------------------
// FilePanes

FilePanes::FilePanes(DriveList *drive, DirectoryList *directory, FileList *files,
                     Platform &platform, QObject *parent)
    : QObject(parent), drive_(drive), directory_(directory), files_(files), platform_(platform)
{
    if (drive_)
        connect(drive_, &DriveList::driveChanged, this, &FilePanes::onDriveChanged);
    if (directory_) {
        connect(directory_, &DirectoryList::directoryChanged, this, &FilePanes::onDirectoryChanged);
        connect(directory_, &DirectoryList::unreadableEntered, this, [this](const QString &name) {
            reportUnopenableName(platform_, EntryKind::Directories, name);
        });
        connect(directory_, &DirectoryList::directoryHighlighted, this,
                &FilePanes::onDirectoryHighlighted);
    }
}

void FilePanes::setFollowHighlight(bool follow)
{
    followHighlight_ = follow;
}

void FilePanes::onDirectoryHighlighted(const QString &path)
{
    if (!followHighlight_ || !files_ || path == files_->path())
        return;
    // A folder that cannot be listed leaves the file list on the folder it showed.
    if (!isReadableDirectory(cleanDirectoryPath(path)))
        return;
    files_->setPath(path);
    emit changed();
}

void FilePanes::open(const QString &drive, const QString &directory)
{
    if (drive_ && !drive_->setDrive(drive))
        drive_->setDrive(QStringLiteral("/"));
    if (directory_) {
        if (!directory_->setPath(directory) && directory_->path().isEmpty())
            directory_->setPath(drive_ ? drive_->drive() : QStringLiteral("/"));
        if (files_ && files_->path() != directory_->path())
            files_->setPath(directory_->path());
    } else if (files_) {
        files_->setPath(directory);
    }
    emit changed();
}

bool FilePanes::showDirectory(const QString &directory)
{
    const QString clean = cleanDirectoryPath(directory);
    const bool shown = directory_ ? directory_->setPath(clean)
                                  : (files_ ? files_->setPath(clean) : isReadableDirectory(clean));
    if (!shown)
        return false;
    if (drive_)
        drive_->showDriveOf(clean);
    emit changed();
    return true;
}

void FilePanes::refresh()
{
    if (drive_)
        drive_->refresh();
    if (directory_)
        directory_->refresh();
    // Reading the folders again puts the highlight back on the entered one.
    if (files_ && directory_ && followHighlight_ && files_->path() != directory_->path())
        files_->setPath(directory_->path());
    else if (files_)
        files_->refresh();
    emit changed();
}

void FilePanes::onDriveChanged(const QString &drive)
{
    if (directory_ && !directory_->setPath(drive)) {
        platform_.messageBox(QStringLiteral("Sorry..."),
                             QStringLiteral("Please Insert A Disk In The Drive First"),
                             MsgButtons::Ok, MsgIcon::Information);
        // Back to the first volume; the directory list stays where it was.
        drive_->showDriveOf(QStringLiteral("/"));
    }
    emit changed();
}

void FilePanes::onDirectoryChanged(const QString &path)
{
    if (files_)
        files_->setPath(path);
    emit changed();
}

DriveList::DriveList(QWidget *parent) : QComboBox(parent), source_(mountedDrives)
{
    fill(QStringLiteral("/"));
    connect(this, &QComboBox::activated, this, [this](int index) {
        const QString root = itemData(index, kPathRole).toString();
        if (root == current_)
            return;
        current_ = root;
        emit driveChanged(root);
    });
}

QString DriveList::drive() const
{
    return current_.isEmpty() ? QStringLiteral("/") : current_;
}

QStringList DriveList::drives() const
{
    QStringList roots;
    for (int i = 0; i < count(); ++i)
        roots << itemData(i, kPathRole).toString();
    return roots;
}

bool DriveList::setDrive(const QString &drive)
{
    const QString root = driveRoot(drive, drives());
    const int index = findData(root, kPathRole);
    if (index < 0)
        return false;
    setCurrentIndex(index);
    if (root != current_) {
        current_ = root;
        emit driveChanged(root);
    }
    return true;
}

void DriveList::showDriveOf(const QString &path)
{
    const QString root = driveOfPath(path, drives());
    const int index = findData(root, kPathRole);
    if (index < 0)
        return;
    setCurrentIndex(index);
    current_ = root;
}

void DriveList::refresh()
{
    const QString before = current_;
    fill(before);
    if (current_ != before)
        emit driveChanged(current_);
}

void DriveList::setDriveSource(std::function<QList<DriveEntry>()> source)
{
    source_ = std::move(source);
    refresh();
}

void DriveList::fill(const QString &keep)
{
    const QSignalBlocker block(this);
    clear();
    const QIcon icon = style()->standardIcon(QStyle::SP_DriveHDIcon);
    for (const DriveEntry &entry : source_()) {
        addItem(icon, entry.label);
        setItemData(count() - 1, entry.root, kPathRole);
    }
    int index = findData(keep, kPathRole);
    if (index < 0)
        index = findData(QStringLiteral("/"), kPathRole);
    setCurrentIndex(index);
    current_ = index >= 0 ? itemData(index, kPathRole).toString() : QStringLiteral("/");
}

} // namespace pw
