#pragma once
// The one place where the search options become a regular expression, for the Find window
// and for Find in Files alike.
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

} // namespace pw
