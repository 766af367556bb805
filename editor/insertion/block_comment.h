#pragma once
// Line comments over the selected lines, with the block comment symbol ("//", "'", ...).
// Each command rebuilds the affected range in one pass and replaces it with one edit, so it
// is one undo step and fast on thousands of lines; the clipboard is never touched.
#include <QString>

namespace pw {

class EditBox;

// Puts `symbol` at the selection start and at the start of every following line up to the
// line holding the selection end (a selection ending at a line start includes that line).
// The caret ends after the last symbol put in (after the selection when only one line is
// involved); nothing stays selected.
void commentBlock(EditBox &edit, const QString &symbol);

// Takes `symbol` away where the selection begins with it, and from the start of every
// following line up to the line holding the selection end where that line begins with it
// (exactly, case-sensitive; a symbol after blanks stays). One symbol per line per call.
// Over several lines the caret ends at the start of the last line; within one line it ends
// after the shortened selection (or the selection stays when nothing was removed).
void unCommentBlock(EditBox &edit, const QString &symbol);

} // namespace pw
