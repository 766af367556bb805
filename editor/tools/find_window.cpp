#include "tools/find_window.h"

#include "document/feature_context.h"
#include "files/line_breaks.h"
#include "shared/edit_box.h"
#include "shared/platform.h"
#include "shared/window.h"
#include "tools/text_replace.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTextCursor>
#include <QTextDocument>

namespace pw {

qint64 replaceAllInDocument(EditBox &edit, const QString &what, const QString &with)
{
    if (what.isEmpty())
        return 0;
    const ReplaceAllResult result = replaceAll(edit.text(), what, with, edit.caret());
    if (result.count == 0)
        return 0;
    // One edit through a private cursor: replacing occurrence by occurrence through the
    // widget's cursor takes seconds on a large page and fills the undo history.
    QPlainTextEdit *box = edit.widget();
    const int horizontal = box->horizontalScrollBar()->value();
    const int vertical = box->verticalScrollBar()->value();
    QTextCursor cursor(box->document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(toQtBreaks(result.text));
    cursor.endEditBlock();
    edit.setCaret(static_cast<int>(result.kept));
    box->verticalScrollBar()->setValue(vertical);
    box->horizontalScrollBar()->setValue(horizontal);
    return result.count;
}

FindWindow::FindWindow(EditBox &edit, Platform &platform, QWidget *parent)
    : QDialog(parent), edit_(edit), platform_(platform)
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QStringLiteral("Find and Replace"));
    setModal(false);
    auto *findNextKey = new QShortcut(QKeySequence(Qt::Key_F3), this);
    connect(findNextKey, &QShortcut::activated, this, &FindWindow::findNext);

    auto *grid = new QGridLayout(this);
    const char *titles[] = {"String To Search For", "String To Replace With"};
    for (int i = 0; i < 2; ++i) {
        auto *label = new QLabel(QString::fromUtf8(titles[i]));
        label->setObjectName(QStringLiteral("lblTitle"));
        label->setProperty("index", i);
        grid->addWidget(label, i * 2, 0);
    }
    txtFind_ = new QLineEdit;
    txtFind_->setObjectName(QStringLiteral("txtFind"));
    txtReplace_ = new QLineEdit;
    txtReplace_->setObjectName(QStringLiteral("txtReplace"));
    grid->addWidget(txtFind_, 1, 0);
    grid->addWidget(txtReplace_, 3, 0);
    txtFind_->setMinimumWidth(260);

    auto *buttons = new QHBoxLayout;
    const char *captions[] = {"&Find", "Find &Next", "&Replace", "Replace &All", "&Done"};
    for (int i = 0; i < 5; ++i) {
        auto *button = new QPushButton(QString::fromUtf8(captions[i]));
        button->setObjectName(QStringLiteral("cmdCommand"));
        button->setProperty("index", i);
        // Enter belongs to the search box (it means Find), not to a default button.
        button->setAutoDefault(false);
        button->setDefault(false);
        connect(button, &QPushButton::clicked, this, [this, i] { cmdCommand_Click(i); });
        buttons->addWidget(button);
        cmdCommand_[i] = button;
    }
    grid->addLayout(buttons, 4, 0);
    connect(txtFind_, &QLineEdit::returnPressed, this, [this] { cmdCommand_Click(0); });
}

void FindWindow::cmdCommand_Click(int index)
{
    switch (index) {
    case 0:
        find();
        break;
    case 1:
        findNext();
        break;
    case 2:
        replace();
        break;
    case 3:
        replaceAll();
        break;
    case 4:
        finish();
        break;
    default:
        break;
    }
}

void FindWindow::selectMatch()
{
    edit_.widget()->setFocus();
    edit_.setSelection(static_cast<int>(foundPos_ - 1), static_cast<int>(txtFind_->text().size()));
}

void FindWindow::notFound()
{
    platform_.messageBox(QStringLiteral("Sorry..."),
                         txtFind_->text() + QStringLiteral(" Was Not Found"), MsgButtons::Ok,
                         MsgIcon::Information);
}

// An empty search text would match everywhere and select nothing; the buttons ignore it.

void FindWindow::find()
{
    const QString what = txtFind_->text();
    if (what.isEmpty())
        return;
    foundPos_ = findIgnoringCase(edit_.text(), what, 1);
    if (foundPos_ > 0)
        selectMatch();
    else
        notFound();
    cmdCommand_[1]->setFocus();
}

void FindWindow::findNext()
{
    const QString what = txtFind_->text();
    if (what.isEmpty())
        return;
    foundPos_ = findIgnoringCase(edit_.text(), what, foundPos_ + 1);
    if (foundPos_ > 0)
        selectMatch();
    else
        find(); // wraps to the top, or says there is none at all
}

void FindWindow::replace()
{
    const QString what = txtFind_->text();
    if (what.isEmpty())
        return;
    foundPos_ = findIgnoringCase(edit_.text(), what, 1);
    if (foundPos_ > 0) {
        selectMatch();
        edit_.replaceSelection(txtReplace_->text());
    } else {
        notFound();
    }
}

void FindWindow::replaceAll()
{
    const QString what = txtFind_->text();
    if (what.isEmpty())
        return;
    const qint64 count = replaceAllInDocument(edit_, what, txtReplace_->text());
    foundPos_ = 0; // the search that ends the run finds nothing
    if (count == 0) {
        notFound();
        return;
    }
    platform_.messageBox(QStringLiteral("Replace All Completed..."),
                         QString::number(count) + QStringLiteral(" Replacements Were Made"),
                         MsgButtons::Ok, MsgIcon::Information);
}

void FindWindow::finish()
{
    close();
}

void FindWindow::done(int result)
{
    QDialog::done(result);
    keepOnTop(this, false);
}

void addFindNextKey(QWidget *parent)
{
    auto *key = new QShortcut(QKeySequence(Qt::Key_F3), parent);
    key->setObjectName(QStringLiteral("keyFindNext"));
    QObject::connect(key, &QShortcut::activated, parent, [parent] {
        auto *window =
            parent->findChild<FindWindow *>(QStringLiteral("frmFind"), Qt::FindDirectChildrenOnly);
        if (window && window->isVisible())
            window->findNext();
    });
}

FindWindow *openFindWindow(FeatureContext &context)
{
    FindWindow *window = nullptr;
    if (context.parent)
        window = context.parent->findChild<FindWindow *>(QStringLiteral("frmFind"),
                                                         Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new FindWindow(context.edit, context.platform, context.parent);
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->show();
    keepOnTop(window, true);
    window->raise();
    window->activateWindow();
    return window;
}

} // namespace pw
