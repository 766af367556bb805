#include "shared/insertion.h"

#include "shared/edit_box.h"

#include <QPlainTextEdit>

namespace pw {

void insertAround(EditBox &edit, const QString &open, const QString &close)
{
    const QString selected = edit.selectedText();
    if (!selected.isEmpty()) {
        if (open.isEmpty() && close.isEmpty()) {
            // Nothing to add: no edit (and no "modified"), only the caret effect of a wrap.
            edit.setCaret(edit.selStart() + edit.selLength());
        } else {
            edit.replaceSelection(open + selected + close);
        }
        edit.widget()->setFocus();
        return;
    }
    const int p = edit.caret();
    insertText(edit, open + close);
    edit.setCaret(p + int(open.size()));
}

void insertText(EditBox &edit, const QString &text)
{
    // An empty text over an empty selection would be an edit that changes nothing.
    if (!text.isEmpty() || edit.selLength() > 0)
        edit.replaceSelection(text);
    edit.widget()->setFocus();
}

} // namespace pw
