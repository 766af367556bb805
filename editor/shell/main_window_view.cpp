// The source view's display settings and the status line's permanent fields.
#include "shell/main_window.h"

#include "document/document.h"
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
    txtEdit_->setColouring(settings_.readBool(kView, kColouring, true));
    txtEdit_->setLineNumbers(settings_.readBool(kView, kLineNumbers, true));
    checkViewItems();
}

void MainWindow::setColouring(bool on)
{
    txtEdit_->setColouring(on);
    settings_.writeBool(kView, kColouring, on);
    settings_.sync();
    checkViewItems();
}

void MainWindow::setLineNumbers(bool on)
{
    txtEdit_->setLineNumbers(on);
    settings_.writeBool(kView, kLineNumbers, on);
    settings_.sync();
    checkViewItems();
}

bool MainWindow::colouring() const
{
    return txtEdit_->colouring();
}

bool MainWindow::lineNumbers() const
{
    return txtEdit_->lineNumbers();
}

void MainWindow::checkViewItems()
{
    if (auto *item = findChild<QAction *>(QStringLiteral("mnuViewColouring")))
        item->setChecked(colouring());
    if (auto *item = findChild<QAction *>(QStringLiteral("mnuViewLineNumbers")))
        item->setChecked(lineNumbers());
}

void MainWindow::showDocumentFields()
{
    const bool open = document_->isOpen();
    const TextEncoding &encoding = document_->encoding();
    encodingField_->setText(open ? charsetName(encoding) : QString());
    lineBreaksField_->setText(open ? lineStyleName(encoding.lines) : QString());
}

void MainWindow::showCaretField()
{
    const QTextCursor caret = txtEdit_->textCursor();
    caretField_->setText(QStringLiteral("Ln %1, Col %2")
                             .arg(caret.blockNumber() + 1)
                             .arg(caret.positionInBlock() + 1));
}

} // namespace pw
