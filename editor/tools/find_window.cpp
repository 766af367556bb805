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
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <vector>

namespace pw {

namespace {

// Up to this many occurrences are replaced where they are; more, and the page is rebuilt and
// swapped in whole, which costs the same for any count but beats that many separate edits.
constexpr int kEditsInPlace = 200;

struct Occurrence {
    int qtPosition; // in the box's document
    int position;   // in the program's positions (a break counts two)
};

// The occurrences of `what` (without a line break) in the box, each search going on after the
// previous occurrence as a replace-all does; stops after `limit` + 1 of them.
std::vector<Occurrence> occurrencesOf(const QTextDocument &document, const QString &what, int limit)
{
    std::vector<Occurrence> found;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.length() - 1 < what.size())
            continue;
        const QString line = block.text();
        for (qsizetype index = line.indexOf(what, 0, Qt::CaseInsensitive); index >= 0;
             index = line.indexOf(what, index + what.size(), Qt::CaseInsensitive)) {
            const int at = block.position() + int(index);
            found.push_back({at, at + block.blockNumber()});
            if (int(found.size()) > limit)
                return found;
        }
    }
    return found;
}

} // namespace

qint64 replaceAllInDocument(EditBox &edit, const QString &what, const QString &with)
{
    if (what.isEmpty())
        return 0;
    QPlainTextEdit *box = edit.widget();
    const int horizontal = box->horizontalScrollBar()->value();
    const int vertical = box->verticalScrollBar()->value();
    const bool inLines = !what.contains(u'\r') && !what.contains(u'\n');
    const std::vector<Occurrence> few =
        inLines ? occurrencesOf(*box->document(), what, kEditsInPlace) : std::vector<Occurrence>();
    qint64 count = 0;
    int kept = 0;
    if (inLines && int(few.size()) <= kEditsInPlace) {
        if (few.empty())
            return 0;
        // Each occurrence replaced where it is, last first so the earlier positions hold, all
        // in one edit block: one undo step, as with the whole swap.
        const int caret = edit.caret();
        kept = caret;
        for (const Occurrence &at : few) {
            if (caret >= at.position + what.size())
                kept += int(with.size() - what.size());
            else if (caret > at.position)
                kept = at.position + int(with.size()) + (kept - caret);
        }
        const QString qtWith = toQtBreaks(with);
        QTextCursor cursor(box->document());
        cursor.beginEditBlock();
        for (auto at = few.rbegin(); at != few.rend(); ++at) {
            cursor.setPosition(at->qtPosition);
            cursor.setPosition(at->qtPosition + int(what.size()), QTextCursor::KeepAnchor);
            if (qtWith.isEmpty())
                cursor.removeSelectedText();
            else
                cursor.insertText(qtWith);
        }
        cursor.endEditBlock();
        count = qint64(few.size());
    } else {
        const ReplaceAllResult result = replaceAll(edit.text(), what, with, edit.caret());
        if (result.count == 0)
            return 0;
        // One edit through a private cursor: replacing occurrence by occurrence through the
        // widget's cursor takes seconds on a large page and fills the undo history.
        QTextCursor cursor(box->document());
        cursor.beginEditBlock();
        cursor.select(QTextCursor::Document);
        cursor.insertText(toQtBreaks(result.text));
        cursor.endEditBlock();
        count = result.count;
        kept = static_cast<int>(result.kept);
    }
    edit.setCaret(kept);
    box->verticalScrollBar()->setValue(vertical);
    box->horizontalScrollBar()->setValue(horizontal);
    return count;
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
    foundPos_ = edit_.find(what, 0) + 1;
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
    foundPos_ = edit_.find(what, int(foundPos_)) + 1;
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
    foundPos_ = edit_.find(what, 0) + 1;
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
