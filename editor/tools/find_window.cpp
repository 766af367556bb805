#include "tools/find_window.h"

#include "document/feature_context.h"
#include "files/line_breaks.h"
#include "shared/edit_box.h"
#include "shared/platform.h"
#include "shared/window.h"
#include "tools/text_replace.h"

#include <QCheckBox>
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

// The box's text as Qt counts it: one "\n" per line break, so that "^" and "$" meet the
// lines and a match's place maps to the box with EditBox::fromQt.
QString qtText(const QPlainTextEdit &box)
{
    QString text = box.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

QRegularExpression inLines(QRegularExpression expression)
{
    expression.setPatternOptions(expression.patternOptions() | QRegularExpression::MultilineOption);
    return expression;
}

struct Found {
    int start = -1; // program positions
    int length = 0;
};

Found found(const EditBox &edit, const QRegularExpressionMatch &match)
{
    const int start = edit.fromQt(int(match.capturedStart()));
    return {start, edit.fromQt(int(match.capturedEnd())) - start};
}

// The first match at or after `from` (program positions).
Found matchFrom(const EditBox &edit, const QRegularExpression &expression, int from)
{
    const QRegularExpressionMatch match =
        inLines(expression).match(qtText(*edit.widget()), edit.toQt(from));
    return match.hasMatch() ? found(edit, match) : Found{};
}

// The last match that starts before `before` (program positions).
Found matchBefore(const EditBox &edit, const QRegularExpression &expression, int before)
{
    const QString text = qtText(*edit.widget());
    const int limit = edit.toQt(before);
    Found last;
    QRegularExpressionMatchIterator it = inLines(expression).globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        if (match.capturedStart() >= limit)
            break;
        last = found(edit, match);
    }
    return last;
}

// The memory of the last search, kept on the window the find window belongs to.
QObject *searchMemory(QWidget *parent, bool create)
{
    if (!parent)
        return nullptr;
    QObject *memory =
        parent->findChild<QObject *>(QStringLiteral("lastSearch"), Qt::FindDirectChildrenOnly);
    if (!memory && create) {
        memory = new QObject(parent);
        memory->setObjectName(QStringLiteral("lastSearch"));
    }
    return memory;
}

LastSearch recalled(QWidget *parent)
{
    LastSearch last;
    if (const QObject *memory = searchMemory(parent, false)) {
        last.text = memory->property("text").toString();
        last.options.matchCase = memory->property("matchCase").toBool();
        last.options.wholeWord = memory->property("wholeWord").toBool();
        last.options.regularExpression = memory->property("regularExpression").toBool();
    }
    return last;
}

void remember(QWidget *parent, const LastSearch &last)
{
    if (QObject *memory = searchMemory(parent, true)) {
        memory->setProperty("text", last.text);
        memory->setProperty("matchCase", last.options.matchCase);
        memory->setProperty("wholeWord", last.options.wholeWord);
        memory->setProperty("regularExpression", last.options.regularExpression);
    }
}

bool isPlain(const SearchOptions &options)
{
    return !options.matchCase && !options.wholeWord && !options.regularExpression;
}

// Selects a match and keeps the window `aside` from covering it.
void showMatch(EditBox &edit, const Found &match, QWidget *aside)
{
    edit.widget()->setFocus();
    edit.setSelection(match.start, match.length);
    edit.widget()->ensureCursorVisible();
    if (aside && aside->isVisible())
        moveClearOf(aside, textArea(edit.widget(), edit.toQt(match.start),
                                    edit.toQt(match.start + match.length)));
}

// F3 and Shift+F3 with the find window closed: the last search from the selection.
void findAgain(QWidget *parent, EditBox &edit, Platform &platform, bool forward)
{
    const LastSearch last = recalled(parent);
    if (last.text.isEmpty())
        return;
    const QRegularExpression expression = searchExpression(last.text, last.options);
    if (!expression.isValid())
        return;
    Found match;
    if (forward) {
        // Past the start of a selected match, so the same match is not found again.
        const int from = edit.selLength() != 0 ? edit.selStart() + 1 : edit.caret();
        match = matchFrom(edit, expression, std::min(from, edit.length()));
        if (match.start < 0)
            match = matchFrom(edit, expression, 0);
    } else {
        match = matchBefore(edit, expression, edit.selStart());
        if (match.start < 0)
            match = matchBefore(edit, expression, edit.length() + 1);
    }
    if (match.start >= 0)
        showMatch(edit, match, nullptr);
    else
        platform.messageBox(QStringLiteral("Sorry..."),
                            last.text + QStringLiteral(" Was Not Found"), MsgButtons::Ok,
                            MsgIcon::Information);
}

} // namespace

qint64 replaceAllInDocument(EditBox &edit, const QRegularExpression &expression,
                            const QString &with)
{
    QPlainTextEdit *box = edit.widget();
    const QString text = qtText(*box);
    const int caret = box->textCursor().position();
    QString result;
    qint64 count = 0;
    qsizetype copied = 0;
    int kept = caret;
    QRegularExpressionMatchIterator it = inLines(expression).globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        const QString replacement = expandReplacement(match, with);
        result += QStringView(text).mid(copied, match.capturedStart() - copied);
        result += replacement;
        copied = match.capturedEnd();
        const qsizetype shift = replacement.size() - match.capturedLength();
        if (caret >= match.capturedEnd())
            kept += int(shift);
        else if (caret > match.capturedStart())
            kept = int(result.size()); // inside a match: after its replacement
        ++count;
    }
    if (count == 0)
        return 0;
    result += QStringView(text).mid(copied);
    const int horizontal = box->horizontalScrollBar()->value();
    const int vertical = box->verticalScrollBar()->value();
    // One edit: one undo step, and no slow edit-by-edit work on a large page.
    QTextCursor cursor(box->document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(result);
    cursor.endEditBlock();
    QTextCursor place(box->document());
    place.setPosition(std::clamp(kept, 0, int(result.size())));
    box->setTextCursor(place);
    box->verticalScrollBar()->setValue(vertical);
    box->horizontalScrollBar()->setValue(horizontal);
    return count;
}

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
    auto *findPreviousKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this);
    connect(findPreviousKey, &QShortcut::activated, this, &FindWindow::findPrevious);

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
    const QList<QLabel *> titleLabels = findChildren<QLabel *>(QStringLiteral("lblTitle"));
    titleLabels.at(0)->setBuddy(txtFind_);
    titleLabels.at(1)->setBuddy(txtReplace_);

    auto *options = new QHBoxLayout;
    chkMatchCase_ = new QCheckBox(QStringLiteral("Match &Case"));
    chkMatchCase_->setObjectName(QStringLiteral("chkMatchCase"));
    chkWholeWord_ = new QCheckBox(QStringLiteral("&Whole Word"));
    chkWholeWord_->setObjectName(QStringLiteral("chkWholeWord"));
    chkRegularExpression_ = new QCheckBox(QStringLiteral("Regular E&xpression"));
    chkRegularExpression_->setObjectName(QStringLiteral("chkRegularExpression"));
    chkRegularExpression_->setToolTip(QStringLiteral(
        "Qt's regular expressions; \\1 .. \\99 in the replacement put in the captures"));
    for (QCheckBox *box : {chkMatchCase_, chkWholeWord_, chkRegularExpression_}) {
        options->addWidget(box);
        // A message about the old expression no longer applies.
        connect(box, &QCheckBox::toggled, this, [this] { lblMessage_->clear(); });
    }
    options->addStretch();
    grid->addLayout(options, 4, 0);
    lblMessage_ = new QLabel;
    lblMessage_->setObjectName(QStringLiteral("lblMessage"));
    lblMessage_->setWordWrap(true);
    grid->addWidget(lblMessage_, 5, 0);
    connect(txtFind_, &QLineEdit::textChanged, this, [this] { lblMessage_->clear(); });

    const LastSearch last = recalled(parent);
    txtFind_->setText(last.text);
    txtFind_->selectAll();
    chkMatchCase_->setChecked(last.options.matchCase);
    chkWholeWord_->setChecked(last.options.wholeWord);
    chkRegularExpression_->setChecked(last.options.regularExpression);

    auto *buttons = new QHBoxLayout;
    const char *captions[] = {"&Find", "Find &Next", "&Replace", "Replace &All", "&Done"};
    for (int i = 0; i < 5; ++i) {
        auto *button = new QPushButton(QString::fromUtf8(captions[i]));
        button->setObjectName(QStringLiteral("cmdCommand"));
        button->setProperty("index", i);
        // Enter, wherever it is pressed in the window, means Find.
        button->setAutoDefault(false);
        button->setDefault(i == 0);
        connect(button, &QPushButton::clicked, this, [this, i] { cmdCommand_Click(i); });
        buttons->addWidget(button);
        cmdCommand_[i] = button;
    }
    grid->addLayout(buttons, 6, 0);
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

LastSearch FindWindow::search() const
{
    return {txtFind_->text(),
            {chkMatchCase_->isChecked(), chkWholeWord_->isChecked(),
             chkRegularExpression_->isChecked()}};
}

bool FindWindow::plain() const
{
    return isPlain(search().options);
}

QRegularExpression FindWindow::expression()
{
    const LastSearch current = search();
    QRegularExpression expression = searchExpression(current.text, current.options);
    if (!expression.isValid()) {
        lblMessage_->setText(QStringLiteral("Invalid regular expression: %1 (at character %2)")
                                 .arg(expression.errorString())
                                 .arg(expression.patternErrorOffset() + 1));
        return expression;
    }
    lblMessage_->clear();
    remember(parentWidget(), current);
    return expression;
}

void FindWindow::selectMatch()
{
    showMatch(edit_, {int(foundPos_ - 1), int(foundLength_)}, this);
}

void FindWindow::notFound()
{
    platform_.messageBox(QStringLiteral("Sorry..."),
                         txtFind_->text() + QStringLiteral(" Was Not Found"), MsgButtons::Ok,
                         MsgIcon::Information);
}

// Sets foundPos_ and foundLength_ to the first match at or after `from` (0-based); false,
// with foundPos_ 0, when there is none or the expression is invalid.
bool FindWindow::locate(qsizetype from)
{
    foundPos_ = 0;
    foundLength_ = 0;
    const QRegularExpression expression = this->expression();
    if (!expression.isValid())
        return false;
    if (plain()) {
        foundPos_ = edit_.find(txtFind_->text(), int(from)) + 1;
        foundLength_ = txtFind_->text().size();
    } else {
        const Found match =
            matchFrom(edit_, expression, int(std::min<qsizetype>(from, edit_.length())));
        foundPos_ = match.start + 1;
        foundLength_ = match.length;
    }
    return foundPos_ > 0;
}

// An empty search text would match everywhere and select nothing; the buttons ignore it. An
// invalid expression is named in the window and searches nothing.

void FindWindow::find()
{
    if (txtFind_->text().isEmpty())
        return;
    if (locate(0))
        selectMatch();
    else if (lblMessage_->text().isEmpty())
        notFound();
    cmdCommand_[1]->setFocus();
}

void FindWindow::findNext()
{
    if (txtFind_->text().isEmpty())
        return;
    if (locate(foundPos_))
        selectMatch();
    else if (lblMessage_->text().isEmpty())
        find(); // wraps to the top, or says there is none at all
}

void FindWindow::findPrevious()
{
    if (txtFind_->text().isEmpty())
        return;
    const QRegularExpression expression = this->expression();
    if (!expression.isValid())
        return;
    // Before the last match, or from the end when there is none yet; then around the end.
    const int before = foundPos_ > 0 ? int(foundPos_ - 1) : edit_.length() + 1;
    Found match = matchBefore(edit_, expression, before);
    if (match.start < 0)
        match = matchBefore(edit_, expression, edit_.length() + 1);
    if (match.start < 0) {
        foundPos_ = 0;
        notFound();
        return;
    }
    foundPos_ = match.start + 1;
    foundLength_ = match.length;
    selectMatch();
}

void FindWindow::replace()
{
    if (txtFind_->text().isEmpty())
        return;
    if (!locate(0)) {
        if (lblMessage_->text().isEmpty())
            notFound();
        return;
    }
    selectMatch();
    QString with = txtReplace_->text();
    if (chkRegularExpression_->isChecked()) {
        // The captures of this match, as the match reads in the box.
        const QRegularExpression expression = inLines(this->expression());
        const QRegularExpressionMatch match =
            expression.match(qtText(*edit_.widget()), edit_.toQt(int(foundPos_ - 1)));
        with = expandReplacement(match, with);
    }
    edit_.replaceSelection(with);
}

void FindWindow::replaceAll()
{
    const QString what = txtFind_->text();
    if (what.isEmpty())
        return;
    const QRegularExpression expression = this->expression();
    if (!expression.isValid())
        return;
    const qint64 count = plain() ? replaceAllInDocument(edit_, what, txtReplace_->text())
                                 : replaceAllInDocument(edit_, expression, txtReplace_->text());
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

void addFindNextKey(QWidget *parent, EditBox &edit, Platform &platform)
{
    const auto add = [&](const char *name, QKeySequence key, bool forward) {
        auto *shortcut = new QShortcut(key, parent);
        shortcut->setObjectName(QString::fromLatin1(name));
        QObject::connect(shortcut, &QShortcut::activated, parent,
                         [parent, &edit, &platform, forward] {
                             auto *window = parent->findChild<FindWindow *>(
                                 QStringLiteral("frmFind"), Qt::FindDirectChildrenOnly);
                             if (window && window->isVisible())
                                 forward ? window->findNext() : window->findPrevious();
                             else
                                 findAgain(parent, edit, platform, forward);
                         });
    };
    add("keyFindNext", QKeySequence(Qt::Key_F3), true);
    add("keyFindPrevious", QKeySequence(Qt::SHIFT | Qt::Key_F3), false);
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
    // Beside the text the search starts from, not over it.
    const int caret = context.edit.widget()->textCursor().position();
    moveClearOf(window, textArea(context.edit.widget(), caret, caret));
    window->raise();
    window->activateWindow();
    return window;
}

} // namespace pw
