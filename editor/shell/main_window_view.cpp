// The source view's display settings and the status line's permanent fields.
#include "shell/main_window.h"

#include "shared/settings_store.h"
#include "source_view/source_edit.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>

namespace pw {

namespace {
const QString kView = QStringLiteral("View");
const QString kColouring = QStringLiteral("Colouring");
const QString kLineNumbers = QStringLiteral("LineNumbers");
} // namespace

void MainWindow::restoreSourceView()
{
    sourceEdit_->setColouring(settings_.readBool(kView, kColouring, true));
    sourceEdit_->setLineNumbers(settings_.readBool(kView, kLineNumbers, true));
    checkViewItems();
}

void MainWindow::setColouring(bool on)
{
    sourceEdit_->setColouring(on);
    settings_.writeBool(kView, kColouring, on);
    settings_.sync();
    checkViewItems();
}

void MainWindow::setLineNumbers(bool on)
{
    sourceEdit_->setLineNumbers(on);
    settings_.writeBool(kView, kLineNumbers, on);
    settings_.sync();
    checkViewItems();
}

bool MainWindow::colouring() const
{
    return sourceEdit_->colouring();
}

bool MainWindow::lineNumbers() const
{
    return sourceEdit_->lineNumbers();
}

void MainWindow::checkViewItems()
{
    if (auto *item = findChild<QAction *>(QStringLiteral("mnuViewColouring")))
        item->setChecked(colouring());
    if (auto *item = findChild<QAction *>(QStringLiteral("mnuViewLineNumbers")))
        item->setChecked(lineNumbers());
}

void MainWindow::setEncoding(const TextEncoding &encoding)
{
    encoding_ = encoding;
    showDocumentFields();
}

void MainWindow::showDocumentFields()
{
    const bool open = statusText() != kReady;
    encodingField_->setText(open ? charsetName(encoding_) : QString());
    lineBreaksField_->setText(open ? lineStyleName(encoding_.lines) : QString());
}

void MainWindow::showCaretField()
{
    const QTextCursor caret = txtEdit_->textCursor();
    caretField_->setText(QStringLiteral("Ln %1, Col %2")
                             .arg(caret.blockNumber() + 1)
                             .arg(caret.positionInBlock() + 1));
}

} // namespace pw
