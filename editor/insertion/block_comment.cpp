#include "insertion/block_comment.h"

#include "shared/edit_box.h"

#include <QPlainTextEdit>

#include <algorithm>

namespace pw {

namespace {

// Replaces [from, to) with `text` as one undo step, unless nothing changes.
void replaceRange(EditBox &edit, int from, int to, const QString &oldText, const QString &text)
{
    if (text == oldText)
        return;
    edit.setSelection(from, to - from);
    edit.replaceSelection(text);
}

} // namespace

void commentBlock(EditBox &edit, const QString &symbol)
{
    const int start = edit.selStart();
    const int end = start + edit.selLength();
    const int first = edit.lineOfPosition(start);
    const int last = edit.lineOfPosition(end);
    edit.widget()->setFocus();

    // The symbol goes at the selection start and after every line break inside the
    // selection: those are exactly the starts of lines first + 1 .. last, the last one
    // possibly at the selection end itself.
    const QString selected = edit.textBetween(start, end);
    QString result;
    result.reserve(selected.size() + (last - first + 1) * symbol.size());
    result += symbol;
    qsizetype from = 0;
    for (;;) {
        const qsizetype br = selected.indexOf(QStringLiteral("\r\n"), from);
        if (br < 0)
            break;
        result += QStringView(selected).mid(from, br + 2 - from);
        result += symbol;
        from = br + 2;
    }
    result += QStringView(selected).mid(from);

    replaceRange(edit, start, end, selected, result);
    if (last == first) {
        edit.setCaret(start + int(result.size()));
    } else {
        // Before the last line's start lie one symbol per line from first to last - 1.
        const int lastLineStart = edit.lineStart(last);
        edit.setCaret(lastLineStart + int(symbol.size()));
    }
}

void unCommentBlock(EditBox &edit, const QString &symbol)
{
    const int start = edit.selStart();
    const int length = edit.selLength();
    const int end = start + length;
    const int first = edit.lineOfPosition(start);
    const int last = edit.lineOfPosition(end);
    const qsizetype n = symbol.size();
    edit.widget()->setFocus();

    // The last line's symbol may reach past the selection end: read that far.
    const int rangeEnd = std::max(end, std::min(edit.length(), edit.lineStart(last) + int(n)));
    const QString range = edit.textBetween(start, rangeEnd);
    QString result;
    result.reserve(range.size());

    qsizetype from = 0; // next character of `range` not yet copied
    const bool selectionStartsWithSymbol = length >= n && range.startsWith(symbol);
    if (selectionStartsWithSymbol)
        from = n;

    int lastLineStartInResult = -1;
    qsizetype scan = 0;
    for (int line = first + 1; line <= last; ++line) {
        const qsizetype br = range.indexOf(QStringLiteral("\r\n"), std::max(scan, from));
        if (br < 0)
            break; // cannot happen: every following line starts after a break in the range
        const qsizetype lineStart = br + 2;
        result += QStringView(range).mid(from, lineStart - from);
        from = lineStart;
        scan = lineStart;
        lastLineStartInResult = int(result.size());
        if (QStringView(range).mid(lineStart, n) == symbol)
            from = lineStart + n;
    }
    result += QStringView(range).mid(from);

    replaceRange(edit, start, rangeEnd, range, result);
    if (last != first) {
        edit.setCaret(start + lastLineStartInResult);
    } else if (selectionStartsWithSymbol) {
        // The shortened selection, the caret after it and nothing selected.
        edit.setCaret(start + length - int(n));
    }
}

} // namespace pw
