#include "shared/search_pattern.h"

namespace pw {

QRegularExpression searchExpression(const QString &text, const SearchOptions &options)
{
    QString pattern = options.regularExpression ? text : QRegularExpression::escape(text);
    // A group keeps an alternation ("a|b") inside the word bounds.
    if (options.wholeWord)
        pattern = QStringLiteral("\\b(?:") + pattern + QStringLiteral(")\\b");
    QRegularExpression::PatternOptions flags = QRegularExpression::UseUnicodePropertiesOption;
    if (!options.matchCase)
        flags |= QRegularExpression::CaseInsensitiveOption;
    return QRegularExpression(pattern, flags);
}

QString expandReplacement(const QRegularExpressionMatch &match, const QString &replacement)
{
    if (!replacement.contains(u'\\'))
        return replacement;
    const int captures =
        match.lastCapturedIndex() < 0 ? 0 : match.regularExpression().captureCount();
    QString out;
    out.reserve(replacement.size());
    for (qsizetype i = 0; i < replacement.size(); ++i) {
        const QChar c = replacement.at(i);
        if (c != u'\\' || i + 1 == replacement.size()) {
            out += c;
            continue;
        }
        const QChar next = replacement.at(i + 1);
        if (next == u'\\') {
            out += next;
            ++i;
            continue;
        }
        if (!next.isDigit() || next.unicode() > '9') {
            out += c;
            continue;
        }
        int number = next.unicode() - '0';
        qsizetype used = 1;
        // A second digit belongs to the number only when that capture exists.
        if (i + 2 < replacement.size()) {
            const QChar second = replacement.at(i + 2);
            if (second.unicode() >= '0' && second.unicode() <= '9') {
                const int longer = number * 10 + (second.unicode() - '0');
                if (longer <= captures) {
                    number = longer;
                    used = 2;
                }
            }
        }
        if (number <= captures)
            out += match.captured(number);
        else
            out += replacement.mid(i, used + 1); // no such capture: kept as written
        i += used;
    }
    return out;
}

} // namespace pw
