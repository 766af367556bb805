#pragma once
// How a search text and its options become one regular expression, for finding in the open
// document as in files, and how a replacement text takes the captured parts of a match.
#include <QRegularExpression>
#include <QString>

namespace pw {

struct SearchOptions {
    bool matchCase = false;
    bool wholeWord = false;
    bool regularExpression = false;
};

// The expression that finds `text` with the options: escaped unless a regular expression,
// \b..\b around it for a whole word, case-insensitive unless matchCase. An invalid regular
// expression gives an invalid QRegularExpression (isValid() false, errorString() says why).
QRegularExpression searchExpression(const QString &text, const SearchOptions &options);

// The replacement for one match. "\0" .. "\99" stand for the whole match and its captures
// ("\12" is capture 12 when the expression has 12 captures, else capture 1 and a "2"), "\\"
// for one backslash. A capture that took part in nothing gives the empty text; a number past
// the expression's captures, and a backslash before anything else, stay as written. "$" is
// an ordinary character, so replacements written for a plain search keep their dollars.
QString expandReplacement(const QRegularExpressionMatch &match, const QString &replacement);

} // namespace pw
