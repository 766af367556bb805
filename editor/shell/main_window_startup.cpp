// Loading the main window at start-up, and closing it.
#include "shell/main_window.h"

#include "shared/paths.h"
#include "shared/platform.h"
#include "shared/program_state.h"
#include "shared/settings_store.h"

#include <QCloseEvent>
#include <QPlainTextEdit>

namespace pw {

void MainWindow::LoadMainWindow(const QString &commandLine, bool show)
{
    InitializeLoad(commandLine);
    InitializeRestore();
    if (show)
        this->show();
    ReportSettingsProblem(settings_, platform_);
    RestoreFontInfo();
    loadFinished_ = true;
}

void MainWindow::InitializeLoad(const QString &commandLine)
{
    state_.FileFilter = kFileFilter;
    state_.BlockComment = settings_.read(QStringLiteral("Settings"), QStringLiteral("BlockComment"),
                                         QStringLiteral("//"));
    LoadUD();
    AssignUDToolTips();
    ClearTabs();
    Fill_All_Combos();

    const QString argument = typedPath(commandLine);
    if (!argument.isEmpty() && FileIsPresent(argument)) {
        if (OpenAsDocument(argument)) {
            SyncFileBoxes(argument);
            AddToRecentlyUsed(argument);
            return;
        }
    }
    LoadText(templatePath());
    SetDocumentName(kUntitled);
    encoding_ = newDocumentEncoding(encoding_);
    // A named file that is not there leaves the panes on the program folder.
    if (!argument.isEmpty())
        SyncFileBoxes(templatePath());
}

void MainWindow::InitializeRestore()
{
    state_.IEPath = settings_.read(QStringLiteral("Browsers"), QStringLiteral("IE"), QString());
    state_.NNPath = settings_.read(QStringLiteral("Browsers"), QStringLiteral("NN"), QString());
    RestoreDriveAndDir();
    RestoreRecentlyUsed();
    state_.IDAttribute = settings_.readBool(QStringLiteral("Settings"), QStringLiteral("IDAttribute"), false);
    state_.HeightWidth = settings_.readBool(QStringLiteral("Settings"), QStringLiteral("HeightWidth"), false);
}

void MainWindow::RestoreFontInfo()
{
    const QString section = QStringLiteral("Fonts");
    QFont font(settings_.read(section, QStringLiteral("Name"), QStringLiteral("Arial")));
    bool ok = false;
    const double size = settings_.read(section, QStringLiteral("Size"), QStringLiteral("12")).toDouble(&ok);
    font.setPointSizeF(ok && size > 0 ? size : 12.0);
    font.setBold(settings_.readBool(section, QStringLiteral("Bold"), false));
    font.setItalic(settings_.readBool(section, QStringLiteral("Italic"), false));
    font.setUnderline(settings_.readBool(section, QStringLiteral("Underline"), false));
    font.setStrikeOut(settings_.readBool(section, QStringLiteral("Strikethru"), false));
    txtEdit_->setFont(font);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // A save the user asked for but that did not happen keeps the window open rather than
    // losing the document.
    if (!maybeSave(QStringLiteral("Save on Open..."),
                   QStringLiteral("Save Current Before Closing?"))) {
        event->ignore();
        return;
    }
    settings_.write(QStringLiteral("Settings"), QStringLiteral("Drive"), paneDrive());
    settings_.write(QStringLiteral("Settings"), QStringLiteral("Dir"), paneDirectory());
    SaveRecentlyUsed();
    settings_.sync();
    event->accept();
}

} // namespace pw
