#include "shared/search_pattern.h"

namespace pw {

QRegularExpression searchExpression(const QString &text, const SearchOptions &options)
{
    QString pattern = options.regularExpression ? text : QRegularExpression::escape(text);
    // The group keeps an alternation whole and takes no capture number of its own.
    if (options.wholeWord)
        pattern = QStringLiteral("\\b(?:") + pattern + QStringLiteral(")\\b");
    // Letters beyond ASCII are word characters and have their cases too.
    QRegularExpression::PatternOptions flags = QRegularExpression::UseUnicodePropertiesOption;
    if (!options.matchCase)
        flags |= QRegularExpression::CaseInsensitiveOption;
    return QRegularExpression(pattern, flags);
}

} // namespace pw
