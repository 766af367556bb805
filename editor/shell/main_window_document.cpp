// The one document: loading, the save prompt, New, Open, Close, Save, Save As and Print.
#include "shell/main_window.h"

#include "files/paths.h"
#include "shared/file_panes.h"
#include "shared/insertion.h"
#include "shared/platform.h"
#include "shared/printing.h"
#include "shared/program_state.h"
#include "shared/safe_write.h"
#include "shared/settings_store.h"

#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QStatusBar>
#include <QToolButton>

namespace pw {

namespace {
const QString kSorry = QStringLiteral("Sorry...");
const QString kSaveQuestion = QStringLiteral("Save...");

} // namespace

QString MainWindow::statusText() const
{
    return statusLabel_->text();
}

void MainWindow::setDocumentName(const QString &name)
{
    statusLabel_->setText(name);
    // With no document open the box takes no typing; a click or a key starts New instead.
    txtEdit_->setReadOnly(name == kReady);
    setWindowTitle(name == kReady ? QStringLiteral("Pagewick")
                                  : QStringLiteral("Pagewick - ") + name);
    showDocumentFields();
}

void MainWindow::connectDocumentSignals()
{
    connect(txtEdit_, &QPlainTextEdit::textChanged, this, &MainWindow::onTextChanged);
}

void MainWindow::onTextChanged()
{
    // Runs for every keystroke: once modified, the Save button is already enabled, and
    // looking it up again among the toolbar's many buttons is wasted.
    if (!loadFinished_ || documentModified_)
        return;
    documentModified_ = true;
    if (QToolButton *save = pictureButton(QStringLiteral("cmdSave")))
        save->setEnabled(true);
}

void MainWindow::markUnmodified()
{
    documentModified_ = false;
    if (QToolButton *save = pictureButton(QStringLiteral("cmdSave")))
        save->setEnabled(false);
}

std::optional<QString> MainWindow::loadText(const QString &path)
{
    platform_.setBusy(true);
    const ReadResult read = readTextFile(path);
    platform_.setBusy(false);
    if (read.status == ReadResult::TooLarge) {
        platform_.messageBox(kSorry, QStringLiteral("The File Is Too Large For Pagewick"),
                             MsgButtons::Ok, MsgIcon::Information);
        return std::nullopt;
    }
    if (read.status != ReadResult::Ok) {
        const QString reason = read.error;
        auto report = [this, reason] {
            platform_.messageBox(kSorry, QStringLiteral("Error Loading Text"), MsgButtons::Ok,
                                 MsgIcon::Information, reason);
        };
        // At start-up the message waits for the main window, so it comes over it.
        if (loadFinished_)
            report();
        else
            startupMessages_.push_back(report);
        return std::nullopt;
    }
    edit_.setText(read.text);
    setEncoding(read.encoding);
    diskStamp_ = read.stamp;
    markUnmodified();
    return read.text;
}

QString MainWindow::templatePath() const
{
    return QDir(programFolder_).filePath(QStringLiteral("Template.html"));
}

bool MainWindow::openAsDocument(const QString &path)
{
    if (!loadText(path))
        return false;
    setDocumentName(path);
    return true;
}

bool MainWindow::maybeSave(const QString &title, const QString &text, MsgButtons buttons)
{
    if (!documentModified_)
        return true;
    const MsgAnswer answer = platform_.messageBox(title, text, buttons, MsgIcon::Question);
    if (answer == MsgAnswer::Cancel)
        return false;
    // Yes with a save that did not happen (picker cancelled, write failed) ends the command,
    // so the edits are not lost.
    return answer == MsgAnswer::No || save();
}

bool MainWindow::savePrompt()
{
    return maybeSave(QStringLiteral("Save on Open..."),
                     QStringLiteral("Save Current Before Opening Another File?"));
}

void MainWindow::replaceDocument(const QString &text)
{
    edit_.setText(QString());
    insertText(edit_, text);
    setEncoding(TextEncoding());
    setDocumentName(kUntitled);
    markUnmodified();
}

QString MainWindow::documentPath() const
{
    const QString name = statusText();
    return name == kUntitled || name == kReady ? QString() : name;
}

void MainWindow::newDocument()
{
    if (!savePrompt())
        return;
    const QString path = templatePath();
    if (!loadText(path))
        return;
    setEncoding(newDocumentEncoding(encoding_));
    setDocumentName(kUntitled);
    syncFileBoxes(path);
}

void MainWindow::openDocument()
{
    if (!savePrompt())
        return;
    const QString chosen =
        platform_.openFileName(QStringLiteral("Open"), paneDirectory(), state_.fileFilter);
    if (chosen.isEmpty())
        return;
    const QString path = typedPath(chosen);
    if (!openAsDocument(path))
        return;
    addToRecentlyUsed(path);
    syncFileBoxes(path);
}

void MainWindow::closeDocument()
{
    if (statusText() == kReady) {
        edit_.setText(QString());
        markUnmodified();
        return;
    }
    if (!maybeSave(QStringLiteral("Save on Open..."),
                   QStringLiteral("Save Current File Before Closing?")))
        return;
    edit_.setText(QString());
    setDocumentName(kReady);
    markUnmodified();
}

MainWindow::WriteOutcome MainWindow::writeDocument(const QString &path, TextEncoding encoding)
{
    const QString text = edit_.text();
    std::optional<QByteArray> bytes = encodeText(text, encoding);
    if (!bytes) {
        // Re-encoding would rewrite every other non-ASCII character of the file: only ever
        // at the user's word. Once given, the document stays UTF-8.
        if (platform_.messageBox(kSaveQuestion,
                                 QStringLiteral("This document contains characters that its "
                                                "encoding cannot hold. Save it as UTF-8?"),
                                 MsgButtons::YesNo, MsgIcon::Question)
            != MsgAnswer::Yes)
            return WriteOutcome::Declined;
        encoding.charset = Charset::Utf8;
        encoding.bom = false;
        TextEncoding utf8 = encoding_;
        utf8.charset = Charset::Utf8;
        utf8.bom = false;
        setEncoding(utf8);
        bytes = encodeText(text, encoding);
    }
    platform_.setBusy(true);
    const bool written = writeFileSafely(path, *bytes);
    platform_.setBusy(false);
    if (!written)
        return WriteOutcome::Failed;
    if (encoding.mixedLines) {
        statusBar()->showMessage(QStringLiteral("Mixed line breaks saved as %1, the file's "
                                                "most common style")
                                     .arg(lineStyleName(encoding.lines)),
                                 10000);
        encoding.mixedLines = false;
    }
    setEncoding(encoding);
    diskStamp_ = stampOfFile(path);
    return WriteOutcome::Written;
}

bool MainWindow::save()
{
    const QString name = statusText();
    if (name == kReady) {
        platform_.messageBox(QStringLiteral("Save Aborted..."),
                             QStringLiteral("There Is No Document To Save"), MsgButtons::Ok,
                             MsgIcon::Information);
        return false;
    }
    if (name == kUntitled)
        return saveAs();
    const FileStamp onDisk = stampOfFile(name);
    if (onDisk.exists && onDisk != diskStamp_
        && platform_.messageBox(kSaveQuestion,
                                QStringLiteral("The file has been changed by another program "
                                               "since it was opened. Overwrite it?"),
                                MsgButtons::YesNo, MsgIcon::Question)
               != MsgAnswer::Yes)
        return false;
    switch (writeDocument(name, encoding_)) {
    case WriteOutcome::Written:
        markUnmodified();
        return true;
    case WriteOutcome::Declined:
        return false;
    case WriteOutcome::Failed:
        break;
    }
    platform_.messageBox(kSorry,
                         QStringLiteral("The file may be read-only, you may not have enough "
                                        "permissions, \r\nor the disk is full or write-protected"),
                         MsgButtons::Ok, MsgIcon::Information);
    return saveAs();
}

bool MainWindow::saveAsWith(const TextEncoding &encoding)
{
    const QString chosen = platform_.saveFileName(QStringLiteral("Save As"), paneDirectory(),
                                                  state_.fileFilter, QString());
    if (chosen.isEmpty())
        return false;
    const QString path = typedPath(chosen);
    if (writeDocument(path, encoding) != WriteOutcome::Written)
        return false;
    myFileList->refresh();
    setDocumentName(path);
    addToRecentlyUsed(path);
    syncFileBoxes(path);
    markUnmodified();
    return true;
}

bool MainWindow::saveAs()
{
    return saveAsWith(encoding_);
}

void MainWindow::saveAsUnix()
{
    TextEncoding unix = encoding_;
    unix.lines = LineStyle::Lf;
    unix.mixedLines = false; // the user chose the style
    saveAsWith(unix);
}

} // namespace pw
namespace pw {

void MainWindow::print()
{
    if (statusText() == kReady)
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
