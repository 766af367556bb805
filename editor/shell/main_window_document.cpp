// The document's views (status line, title, Save button, status fields) and the commands that
// put another file in it: New, Open and Print.
#include "shell/main_window.h"

#include "document/document.h"
#include "files/paths.h"
#include "shared/file_panes.h"
#include "shared/platform.h"
#include "shared/printing.h"
#include "shared/program_state.h"
#include "shell/recent_files.h"
#include "source_view/source_edit.h"

#include <QDir>
#include <QLabel>
#include <QPrinter>
#include <QStatusBar>
#include <QToolButton>

namespace pw {

void MainWindow::connectDocument()
{
    document_->setPickerFolder([this] { return panes_->directoryList()->path(); });
    connect(document_, &Document::identityChanged, this, &MainWindow::showIdentity);
    connect(document_, &Document::encodingChanged, this, &MainWindow::showDocumentFields);
    connect(document_, &Document::modifiedChanged, this, &MainWindow::showModified);
    connect(document_, &Document::notice, this,
            [this](const QString &text) { statusBar()->showMessage(text, 10000); });
    connect(document_, &Document::savedAs, this, [this](const QString &path) {
        panes_->fileList()->refresh();
        recent_->add(path);
        syncFileBoxes(path);
    });
    showIdentity();
    showModified(document_->isModified());
}

void MainWindow::showIdentity()
{
    const QString name = document_->statusName();
    statusLabel_->setText(name);
    // Every file the document shows has its tab, selected.
    if (!document_->path().isEmpty())
        recent_->addFileTab(document_->path());
    // With no document open the box takes no typing; a click or a key starts New instead.
    txtEdit_->setReadOnly(!document_->isOpen());
    setWindowTitle(document_->isOpen() ? QStringLiteral("Pagewick - ") + name
                                       : QStringLiteral("Pagewick"));
    showDocumentFields();
}

void MainWindow::showModified(bool modified)
{
    if (auto *save = findChild<QToolButton *>(QStringLiteral("cmdSave")))
        save->setEnabled(modified);
}

QString MainWindow::templatePath() const
{
    return QDir(programFolder_).filePath(QStringLiteral("Template.html"));
}

void MainWindow::newDocument()
{
    if (!document_->savePrompt())
        return;
    const QString path = templatePath();
    if (!document_->load(path))
        return;
    document_->makeUntitled();
    syncFileBoxes(path);
}

void MainWindow::openDocument()
{
    if (!document_->savePrompt())
        return;
    const QString chosen = platform_.openFileName(
        QStringLiteral("Open"), panes_->directoryList()->path(), state_.fileFilter);
    if (chosen.isEmpty())
        return;
    const QString path = typedPath(chosen);
    if (!document_->open(path))
        return;
    recent_->add(path);
    syncFileBoxes(path);
}

void MainWindow::print()
{
    if (!document_->isOpen())
        return;
    platform_.setBusy(true);
    QPrinter printer(QPrinter::HighResolution);
    // The whole text prints, whatever range the dialog offers; one inch on every side.
    const bool printed = platform_.choosePrinter(printer)
                         && printRichText(txtEdit_, printer, 1440, 1440, 1440, 1440);
    platform_.setBusy(false);
    txtEdit_->setFocus();
    if (!printed)
        platform_.messageBox(QStringLiteral("Sorry, I Cannot Print..."),
                             QStringLiteral("Make Sure The Printer Has Paper And Is Online..."),
                             MsgButtons::Ok, MsgIcon::Information);
}

} // namespace pw
