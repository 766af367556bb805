#pragma once
// The two ways every command puts text into the document. Both act on the edit box only:
// text goes in directly (never through the clipboard, so whatever the clipboard holds --
// text, a picture, anything -- is still there afterwards), each call is one undo step, and
// the box's change signal marks the document modified exactly as typing does. Both leave
// the keyboard focus in the box.
#include <QString>

namespace pw {

class EditBox;

// Puts `open` and `close` around the selection; the caret ends after `close`, nothing
// selected. Without a selection both go in at the caret, which then stands between them.
void insertAround(EditBox &edit, const QString &open, const QString &close);

// Replaces the selection (or inserts at the caret) with `text`; the caret ends after it.
void insertText(EditBox &edit, const QString &text);

} // namespace pw
