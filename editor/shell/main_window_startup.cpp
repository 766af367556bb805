// Loading the main window at start-up, and closing it.
#include "shell/main_window.h"

#include "document/document.h"
#include "files/paths.h"
#include "insertion/toolbar_lists.h"
#include "insertion/user_buttons.h"
#include "shared/file_panes.h"
#include "shared/platform.h"
#include "shared/program_state.h"
#include "shared/settings_store.h"
#include "shared/window.h"
#include "shell/commands.h"
#include "shell/editor_behaviours.h"
#include "shell/recent_files.h"
#include "source_view/source_edit.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QFileInfo>
#include <QScreen>
#include <QSplitter>
#include <QStyle>

#include <algorithm>

namespace pw {

void MainWindow::loadMainWindow(const QString &commandLine, bool show)
{
    restoreSourceView();
    // A file that cannot be read reports once the window shows (reportLoadProblems).
    document_->holdMessages(true);
    initializeLoad(commandLine);
    document_->holdMessages(false);
    initializeRestore();
    // A folder named on the command line opens the panes on it, over the stored folder.
    const QString argument = typedPath(commandLine);
    if (!argument.isEmpty() && QFileInfo(argument).isDir()) {
        panes_->showDirectory(QFileInfo(argument).absoluteFilePath());
        changeToolTips();
    }
    restoreWindowPlace();
    if (show)
        this->show();
    reportSettingsProblem(settings_, platform_);
    restoreFontInfo();
    loadFinished_ = true;
}

void MainWindow::reportLoadProblems()
{
    document_->showHeldMessages();
}

void MainWindow::initializeLoad(const QString &commandLine)
{
    state_.fileFilter = kFileFilter;
    state_.BlockComment = settings_.read(QStringLiteral("Settings"), QStringLiteral("BlockComment"),
                                         QStringLiteral("//"));
    loadUserButtons(state_, settings_);
    assignUDToolTips();
    recent_->clearTabs();
    commands_->lists().fillLists();

    const QString argument = typedPath(commandLine);
    if (!argument.isEmpty() && fileIsPresent(argument)) {
        if (document_->open(argument)) {
            syncFileBoxes(argument);
            recent_->add(argument);
            return;
        }
    }
    document_->load(templatePath());
    document_->makeUntitled();
    // A named file that is not there leaves the panes on the program folder.
    if (!argument.isEmpty())
        syncFileBoxes(templatePath());
}

void MainWindow::initializeRestore()
{
    state_.iePath = settings_.read(QStringLiteral("Browsers"), QStringLiteral("IE"), QString());
    state_.nnPath = settings_.read(QStringLiteral("Browsers"), QStringLiteral("NN"), QString());
    restoreDriveAndDir();
    recent_->restore(settings_);
    state_.idAttribute =
        settings_.readBool(QStringLiteral("Settings"), QStringLiteral("IDAttribute"), false);
    state_.heightWidth =
        settings_.readBool(QStringLiteral("Settings"), QStringLiteral("HeightWidth"), false);
}

namespace {
const QString kWindow = QStringLiteral("Window");
} // namespace

// The first start opens at two thirds of the screen, centred; later starts where the window
// was left, unless that place is no longer on the screen. A kept size larger than the screen
// (a settings file edited by hand, a screen since made smaller) is cut to the screen, and the
// window is moved onto it: a window is never laid out larger than what can show it.
void MainWindow::restoreWindowPlace()
{
    QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    bool ok[5] = {};
    const QRect stored(settings_.read(kWindow, QStringLiteral("Left"), QString()).toInt(&ok[0]),
                       settings_.read(kWindow, QStringLiteral("Top"), QString()).toInt(&ok[1]),
                       settings_.read(kWindow, QStringLiteral("Width"), QString()).toInt(&ok[2]),
                       settings_.read(kWindow, QStringLiteral("Height"), QString()).toInt(&ok[3]));
    if (ok[0] && ok[1] && ok[2] && ok[3] && stored.isValid() && available.intersects(stored)) {
        const QSize size = stored.size().expandedTo(minimumSize()).boundedTo(available.size());
        const int left =
            std::clamp(stored.left(), available.left(), available.right() + 1 - size.width());
        const int top =
            std::clamp(stored.top(), available.top(), available.bottom() + 1 - size.height());
        setGeometry(QRect(QPoint(left, top), size));
    } else {
        const QSize size = (available.size() * 2 / 3).expandedTo(minimumSize());
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, available));
    }
    // The panes keep their kept width only as far as the window leaves the source box its
    // least width.
    const int panes = settings_.read(kWindow, QStringLiteral("Splitter"), QString()).toInt(&ok[4]);
    if (ok[4] && panes > 0) {
        const int room = std::max(1, geometry().width() - splitter_->handleWidth());
        const int least = twipsToPixels(500);
        const int width = std::clamp(panes, std::min(least, room), std::max(least, room - least));
        splitter_->setSizes({width, std::max(1, splitter_->width() - width)});
    }
    if (settings_.readBool(kWindow, QStringLiteral("Maximized"), false))
        setWindowState(windowState() | Qt::WindowMaximized);
}

void MainWindow::saveWindowPlace()
{
    const QRect place = isMaximized() ? normalGeometry() : geometry();
    settings_.write(kWindow, QStringLiteral("Left"), QString::number(place.x()));
    settings_.write(kWindow, QStringLiteral("Top"), QString::number(place.y()));
    settings_.write(kWindow, QStringLiteral("Width"), QString::number(place.width()));
    settings_.write(kWindow, QStringLiteral("Height"), QString::number(place.height()));
    settings_.writeBool(kWindow, QStringLiteral("Maximized"), isMaximized());
    settings_.write(kWindow, QStringLiteral("Splitter"),
                    QString::number(splitter_->sizes().value(0)));
}

void MainWindow::restoreFontInfo()
{
    txtEdit_->setFont(storedDisplayFont(settings_));
    // The template's caret goes just after its "<TITLE>" (position 30); a file named on the
    // command line opens at its start, as every opened file does.
    if (document_->isUntitled())
        edit_.setCaret(30);
    txtEdit_->setFocus();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // A save the user asked for but that did not happen keeps the window open rather than
    // losing the document.
    if (!document_->maybeSave(QStringLiteral("Save on Open..."),
                              QStringLiteral("Save Current Before Closing?"))) {
        event->ignore();
        return;
    }
    saveWindowPlace();
    settings_.write(QStringLiteral("Settings"), QStringLiteral("Drive"),
                    panes_->driveList()->drive());
    settings_.write(QStringLiteral("Settings"), QStringLiteral("Dir"),
                    panes_->directoryList()->path());
    recent_->save(settings_);
    settings_.sync();
    event->accept();
}

} // namespace pw
