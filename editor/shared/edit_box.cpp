#include "shared/edit_box.h"

#include "files/line_breaks.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace pw {

namespace {

// Shift+Enter would put a soft line separator (U+2028) into a block: it looks like a line
// break but is one character, is saved as that character, and breaks the "a break counts
// two" arithmetic. The box turns it into an ordinary break instead.
class LineBreakFilter : public QObject {
public:
    explicit LineBreakFilter(QObject *parent) : QObject(parent)
    {
        setObjectName(QStringLiteral("pwLineBreakFilter"));
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (key->matches(QKeySequence::InsertLineSeparator)) {
                QKeyEvent plain(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier,
                                QStringLiteral("\r"));
                QCoreApplication::sendEvent(watched, &plain);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

// The raw text of a document or selection uses U+2029 between blocks.
QString blockBreaksToCrLf(QString raw)
{
    return raw.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
}

} // namespace

EditBox::EditBox(QPlainTextEdit *box, std::function<void(const QString &)> setWholeText)
    : box_(box), setWholeText_(std::move(setWholeText))
{
    if (!box_->findChild<QObject *>(QStringLiteral("pwLineBreakFilter"),
                                    Qt::FindDirectChildrenOnly))
        box_->installEventFilter(new LineBreakFilter(box_));
}

QString EditBox::text() const
{
    // toRawText keeps U+00A0 (toPlainText would turn it into a blank).
    return blockBreaksToCrLf(box_->document()->toRawText());
}

QString EditBox::textBetween(int from, int to) const
{
    QTextCursor cursor(box_->document());
    cursor.setPosition(toQt(from));
    cursor.setPosition(toQt(to), QTextCursor::KeepAnchor);
    return blockBreaksToCrLf(cursor.selectedText());
}

int EditBox::length() const
{
    const QTextDocument *doc = box_->document();
    // characterCount counts one separator per block, the last one included.
    return doc->characterCount() - 1 + doc->blockCount() - 1;
}

void EditBox::setText(const QString &text)
{
    if (setWholeText_)
        setWholeText_(toQtBreaks(text));
    else
        box_->setPlainText(toQtBreaks(text));
}

int EditBox::caret() const
{
    return fromQt(box_->textCursor().position());
}

void EditBox::setCaret(int position)
{
    QTextCursor cursor = box_->textCursor();
    cursor.setPosition(toQt(position));
    box_->setTextCursor(cursor);
}

int EditBox::selStart() const
{
    return fromQt(box_->textCursor().selectionStart());
}

int EditBox::selLength() const
{
    const QTextCursor cursor = box_->textCursor();
    return fromQt(cursor.selectionEnd()) - fromQt(cursor.selectionStart());
}

void EditBox::setSelection(int start, int length)
{
    QTextCursor cursor = box_->textCursor();
    cursor.setPosition(toQt(start));
    cursor.setPosition(toQt(start + length), QTextCursor::KeepAnchor);
    box_->setTextCursor(cursor);
}

QString EditBox::selectedText() const
{
    return blockBreaksToCrLf(box_->textCursor().selectedText());
}

void EditBox::replaceSelection(const QString &text)
{
    QTextCursor cursor = box_->textCursor();
    cursor.beginEditBlock();
    if (text.isEmpty())
        cursor.removeSelectedText();
    else
        cursor.insertText(toQtBreaks(text));
    cursor.endEditBlock();
    box_->setTextCursor(cursor);
}

int EditBox::find(const QString &what, int from) const
{
    if (what.isEmpty() || from < 0 || from > length())
        return -1;
    if (what.contains(u'\r') || what.contains(u'\n')) {
        // A match over a line break spans blocks: search the text as the program sees it.
        const qsizetype index = text().indexOf(what, from, Qt::CaseInsensitive);
        return index < 0 ? -1 : int(index);
    }
    // Without a break a match lies within one line, so each line is searched on its own from
    // the line that holds `from` (a position in a line break searches from the next line).
    const QTextDocument *doc = box_->document();
    const int start = toQt(from);
    QTextBlock block = doc->findBlock(start);
    qsizetype column = start - block.position();
    for (; block.isValid(); block = block.next(), column = 0) {
        if (block.length() - 1 < what.size())
            continue;
        const qsizetype index = block.text().indexOf(what, column, Qt::CaseInsensitive);
        if (index >= 0)
            return block.position() + int(index) + block.blockNumber();
    }
    return -1;
}

int EditBox::lineOfPosition(int position) const
{
    return box_->document()->findBlock(toQt(position)).blockNumber();
}

int EditBox::lineStart(int line) const
{
    const QTextDocument *doc = box_->document();
    line = std::clamp(line, 0, doc->blockCount() - 1);
    return doc->findBlockByNumber(line).position() + line;
}

int EditBox::lineCount() const
{
    return box_->document()->blockCount();
}

int EditBox::toQt(int position) const
{
    const QTextDocument *doc = box_->document();
    position = std::clamp(position, 0, length());
    // Block b starts at our position block.position() + b; find the last block starting at
    // or before the position (binary search over block numbers, each lookup O(log n)).
    int low = 0;
    int high = doc->blockCount() - 1;
    while (low < high) {
        const int mid = low + (high - low + 1) / 2;
        if (doc->findBlockByNumber(mid).position() + mid <= position)
            low = mid;
        else
            high = mid - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(low);
    // The CR and the gap between CR and LF both map to the end of the line.
    const int lineEnd = block.position() + block.length() - 1;
    return std::min(position - low, lineEnd);
}

int EditBox::fromQt(int qtPosition) const
{
    const QTextDocument *doc = box_->document();
    qtPosition = std::clamp(qtPosition, 0, doc->characterCount() - 1);
    return qtPosition + doc->findBlock(qtPosition).blockNumber();
}

} // namespace pw
