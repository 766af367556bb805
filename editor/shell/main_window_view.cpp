// The source view's display settings and the status line's permanent fields.
#include "shell/main_window.h"

#include "document/document.h"
#include "shared/settings_store.h"
#include "shell/live_spelling.h"
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
const QString kAddEndTags = QStringLiteral("AddEndTags");
const QString kLiveSpelling = QStringLiteral("LiveSpelling");
} // namespace

void MainWindow::restoreSourceView()
{
    txtEdit_->setColouring(settings_.readBool(kView, kColouring, true));
    txtEdit_->setLineNumbers(settings_.readBool(kView, kLineNumbers, true));
    txtEdit_->setAddEndTags(settings_.readBool(kView, kAddEndTags, true));
    liveSpelling_->setEnabled(settings_.readBool(kView, kLiveSpelling, true));
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

void MainWindow::setAddEndTags(bool on)
{
    txtEdit_->setAddEndTags(on);
    settings_.writeBool(kView, kAddEndTags, on);
    settings_.sync();
    checkViewItems();
}

bool MainWindow::addEndTags() const
{
    return txtEdit_->addEndTags();
}

void MainWindow::setLiveSpelling(bool on)
{
    // Turned on by the user, a missing dictionary is said at once.
    if (on)
        speller(true);
    liveSpelling_->setEnabled(on);
    settings_.writeBool(kView, kLiveSpelling, on);
    settings_.sync();
    checkViewItems();
}

bool MainWindow::liveSpelling() const
{
    return liveSpelling_->isEnabled();
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
    if (auto *item = findChild<QAction *>(QStringLiteral("mnuViewAddEndTags")))
        item->setChecked(addEndTags());
    if (auto *item = findChild<QAction *>(QStringLiteral("mnuViewLiveSpelling")))
        item->setChecked(liveSpelling());
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
