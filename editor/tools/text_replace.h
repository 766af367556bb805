#pragma once
// Searching and replacing in a text, the way the find window and the directory replace tool
// both do it: letter case is ignored, positions are 1-based (0 = not found), and a
// replace-all goes on right after each inserted text, so what it inserts is never searched
// again ("a" by "aa" in "aaa" makes three replacements, not an endless loop).
#include <QString>

namespace pw {

// Position (1-based) of the first occurrence of `what` at or after position `from`, without
// regard to letter case; 0 when there is none or `what` is empty.
qsizetype findIgnoringCase(const QString &text, const QString &what, qsizetype from = 1);

struct ReplaceAllResult {
    QString text;       // the text after the replacements
    qint64 count = 0;   // how many were made
    qsizetype kept = 0; // where the kept position (see replaceAll) is in the new text
};

// Replaces every occurrence of `what` by `with` in one pass. `keep` is a 0-based position in
// `text` (a caret) that the result maps into the new text: it moves with the text before
// it, and a position inside a replaced occurrence goes to the end of its replacement.
// An empty `what` replaces nothing.
ReplaceAllResult replaceAll(const QString &text, const QString &what, const QString &with,
                            qsizetype keep = 0);

} // namespace pw
