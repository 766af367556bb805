// What the source box does while tags are typed: the popup of names, end tags added after
// ">", and the end tag that follows a start tag's new name.
#include "source_view/block_lines.h"
#include "source_view/html_elements.h"
#include "source_view/source_edit.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStandardItemModel>

#include <algorithm>
#include <utility>

namespace pw {

namespace {

// Characters that continue an element name, so typing one inside a start tag's name renames it.
bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'-' || c == u':' || c == u'_' || c == u'.';
}

// The tag of a line that starts at a column, read as the page reads it.
const TagMark *tagAt(const LineScan &scan, int start)
{
    for (const TagMark &tag : scan.tags) {
        if (tag.start == start)
            return &tag;
    }
    return nullptr;
}

} // namespace

bool SourceEdit::completionShown() const
{
    return completer_->popup()->isVisible();
}

void SourceEdit::completeAtCaret()
{
    updateCompletion(true, true);
}

void SourceEdit::updateCompletion(bool keywords, bool mayOpen)
{
    const QTextCursor caret = textCursor();
    if (caret.hasSelection()) {
        completer_->popup()->hide();
        return;
    }
    const BlockLines lines(document(), highlighter_);
    const int line = caret.blockNumber();
    const QString before = caret.block().text().left(caret.positionInBlock());
    QStringList open;
    // Only an end tag being typed needs the walk back to the open elements.
    const qsizetype lastTag = before.lastIndexOf(u'<');
    const QStringView typedTag = QStringView(before).sliced(std::max<qsizetype>(lastTag, 0));
    if (lastTag >= 0 && typedTag.startsWith(u"</")
        && std::ranges::all_of(typedTag.sliced(2), isNameChar)) {
        for (const OpenTag &tag : openTagsAt(lines, line, caret.positionInBlock(), 8))
            open << tag.name;
    }
    Completion offer = completionAt(before, lines.stateBefore(line), true, open, keywords);
    // Most keys offer nothing: the page's case is read only when there is an offer.
    if (offer.kind != Completion::None && !pageUsesUpperCase(lines, line))
        offer = completionAt(before, lines.stateBefore(line), false, open, keywords);
    if (offer.kind == Completion::None || (!mayOpen && !completionShown())) {
        offer_ = {};
        completer_->popup()->hide();
        return;
    }
    // Rows are built again only when the offer is another list.
    const bool sameList = offer.kind == offer_.kind && offer.items == offer_.items;
    offer_ = std::move(offer);
    if (!sameList) {
        items_->clear();
        for (const CompletionItem &item : offer_.items) {
            auto *row = new QStandardItem(item.description.isEmpty()
                                              ? item.text
                                              : item.text + QStringLiteral("  \u2014  ")
                                                    + item.description);
            row->setData(item.text, kCompletionTextRole);
            row->setToolTip(item.description);
            row->setEditable(false);
            items_->appendRow(row);
        }
    }
    completer_->setCompletionPrefix(offer_.prefix);
    if (completer_->completionCount() == 0) {
        completer_->popup()->hide();
        return;
    }
    QRect place = cursorRect();
    place.setWidth(completer_->popup()->sizeHintForColumn(0)
                   + completer_->popup()->verticalScrollBar()->sizeHint().width());
    completer_->complete(place);
    // Enter and Tab take the first row unless another is chosen.
    completer_->popup()->setCurrentIndex(completer_->completionModel()->index(0, 0));
}

void SourceEdit::acceptCompletion(const QModelIndex &index)
{
    const QString text = index.data(kCompletionTextRole).toString();
    const Completion offer = offer_;
    completer_->popup()->hide();
    offer_ = {};
    if (text.isEmpty())
        return;
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, int(offer.prefix.size()));
    cursor.insertText(text);
    const bool hasValues =
        offer.kind == Completion::AttributeName && !attributeValues(offer.element, text).isEmpty();
    if (offer.kind == Completion::AttributeName) {
        // The value goes between quotes; the caret waits there.
        cursor.insertText(QStringLiteral("=\"\""));
        cursor.movePosition(QTextCursor::Left);
    } else if (offer.kind == Completion::AttributeValue && offer.quoted
               && document()->characterAt(cursor.position()) == u'"') {
        cursor.movePosition(QTextCursor::Right);
    }
    cursor.endEditBlock();
    setTextCursor(cursor);
    if (hasValues)
        updateCompletion(false, true);
}

bool SourceEdit::addEndTagFor(const QString &typed)
{
    if (!addEndTags_ || typed != QStringLiteral(">") || textCursor().hasSelection())
        return false;
    QTextCursor cursor = textCursor();
    const BlockLines lines(document(), highlighter_);
    const QString text = cursor.block().text();
    const int column = cursor.positionInBlock();
    const QString before = text.left(column) + u'>';
    LineScan scan;
    scanLine(before, lines.stateBefore(cursor.blockNumber()), &scan);
    if (scan.tags.empty())
        return false;
    const TagMark &tag = scan.tags.back();
    if (tag.end != before.size() || tag.closing || tag.selfClosing || tag.nameLength == 0)
        return false;
    const QString name = before.mid(tag.start + 1, tag.nameLength);
    const HtmlElement *element = findElement(name);
    // ColdFusion tags stand alone; an element whose end tag may be left out gets none.
    if (name.startsWith(u"cf", Qt::CaseInsensitive)
        || (element && element->endTag != EndTag::Required))
        return false;
    const QString endTag = QStringLiteral("</") + name + u'>';
    if (QStringView(text).sliced(column).startsWith(endTag, Qt::CaseInsensitive))
        return false; // already closed right there
    cursor.beginEditBlock();
    cursor.insertText(u'>' + endTag);
    cursor.movePosition(QTextCursor::Left, QTextCursor::MoveAnchor, int(endTag.size()));
    cursor.endEditBlock();
    setTextCursor(cursor);
    return true;
}

SourceEdit::Rename SourceEdit::watchRename(const QKeyEvent &event)
{
    const QTextCursor caret = textCursor();
    const QString typed = event.text();
    const bool editsName = event.key() == Qt::Key_Backspace || event.key() == Qt::Key_Delete
                           || (typed.size() == 1 && isNameChar(typed[0]));
    const Rename kept = std::exchange(rename_, {});
    if (!editsName || caret.hasSelection()
        || (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return {};
    const BlockLines lines(document(), highlighter_);
    const int line = caret.blockNumber();
    const int column = caret.positionInBlock();
    const QString text = lines.line(line);
    // The tag renamed by the keys before, while the caret stays in its name.
    if (kept.active && kept.revision == document()->revision() && kept.line == line
        && column > kept.tagStart && column <= kept.tagStart + 1 + kept.name.size()
        && QStringView(text).sliced(kept.tagStart + 1).startsWith(kept.name)) {
        Rename again = kept;
        again.lengthBefore = document()->characterCount();
        return again;
    }
    const TagMatch match = matchTag(lines, line, column);
    if (match.kind != TagMatch::Paired)
        return {};
    LineScan scan;
    scanLine(text, lines.stateBefore(line), &scan);
    const TagMark *tag = tagAt(scan, match.tag.start);
    if (!tag || tag->closing || column < tag->start + 1
        || column > tag->start + 1 + tag->nameLength)
        return {};
    Rename rename;
    rename.active = true;
    rename.line = line;
    rename.tagStart = tag->start;
    rename.name = text.mid(tag->start + 1, tag->nameLength);
    rename.partnerAt =
        document()->findBlockByNumber(match.partner.line).position() + match.partner.start + 2;
    rename.lengthBefore = document()->characterCount();
    return rename;
}

void SourceEdit::finishRename(const Rename &rename)
{
    if (!rename.active || textCursor().blockNumber() != rename.line)
        return;
    const BlockLines lines(document(), highlighter_);
    const QString text = lines.line(rename.line);
    if (rename.tagStart >= text.size() || text[rename.tagStart] != u'<')
        return;
    qsizetype end = rename.tagStart + 1;
    while (end < text.size() && isNameChar(text[end]))
        ++end;
    const QString name = text.mid(rename.tagStart + 1, end - rename.tagStart - 1);
    // The key changed only the start tag, which comes before its end tag.
    const int at = rename.partnerAt + document()->characterCount() - rename.lengthBefore;
    QTextCursor partner(document());
    partner.setPosition(at);
    partner.setPosition(at + int(rename.name.size()), QTextCursor::KeepAnchor);
    if (partner.selectedText().compare(rename.name, Qt::CaseInsensitive) != 0)
        return;
    if (name != rename.name)
        partner.insertText(name);
    rename_ = rename;
    rename_.name = name;
    rename_.partnerAt = at;
    rename_.revision = -1; // set once the key's edit block is closed
}

void SourceEdit::keyPressEvent(QKeyEvent *event)
{
    if (completionShown()) {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Tab: {
            const QModelIndex current = completer_->popup()->currentIndex();
            if (current.isValid())
                acceptCompletion(current);
            else
                completer_->popup()->hide();
            event->accept();
            return;
        }
        case Qt::Key_Escape:
            completer_->popup()->hide();
            offer_ = {};
            event->accept();
            return;
        default:
            break;
        }
    }
    const QString typed = event->text();
    const bool typing =
        !typed.isEmpty() && typed[0].isPrint()
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (typing && addEndTagFor(typed)) {
        updateCompletion(false, false);
        return;
    }
    const Rename rename = watchRename(*event);
    if (rename.active) {
        // The key's edit and the end tag's new name are one undo step.
        QTextCursor step = textCursor();
        step.beginEditBlock();
        QPlainTextEdit::keyPressEvent(event);
        finishRename(rename);
        step.endEditBlock();
        // Another edit before the next key (a paste, an undo) ends the renaming.
        if (rename_.active)
            rename_.revision = document()->revision();
    } else {
        QPlainTextEdit::keyPressEvent(event);
    }
    if (typing)
        updateCompletion(false, true);
    else if (completionShown())
        updateCompletion(false, event->key() == Qt::Key_Backspace);
}

bool SourceEdit::closeInnermostTag()
{
    const QTextCursor caret = textCursor();
    const BlockLines lines(document(), highlighter_);
    const std::vector<OpenTag> open =
        openTagsAt(lines, caret.blockNumber(), caret.positionInBlock(), 1);
    if (open.empty())
        return false;
    QTextCursor cursor = caret;
    cursor.insertText(QStringLiteral("</") + open.front().name + u'>');
    setTextCursor(cursor);
    return true;
}

bool SourceEdit::selectElement()
{
    const QTextCursor caret = textCursor();
    const BlockLines lines(document(), highlighter_);
    const QTextBlock caretBlock = document()->findBlock(caret.selectionStart());
    const int column = caret.selectionStart() - caretBlock.position();
    ElementRange range = elementAt(lines, caretBlock.blockNumber(), column);
    auto startOf = [&](const ElementRange &r) {
        return document()->findBlockByNumber(r.start.line).position() + r.start.start;
    };
    auto endOf = [&](const ElementRange &r) {
        return document()->findBlockByNumber(r.end.line).position() + r.end.start + r.end.length;
    };
    // Asked again with the element selected, the element that holds it is next.
    if (range.found && startOf(range) == caret.selectionStart()
        && endOf(range) == caret.selectionEnd())
        range = enclosingElement(lines, range);
    if (!range.found)
        return false;
    QTextCursor cursor(document());
    cursor.setPosition(startOf(range));
    cursor.setPosition(endOf(range), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    return true;
}

} // namespace pw
