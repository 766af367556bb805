#include "tools/text_replace.h"

#include <algorithm>

namespace pw {

qsizetype findIgnoringCase(const QString &text, const QString &what, qsizetype from)
{
    if (what.isEmpty() || from < 1)
        return 0;
    const qsizetype index = text.indexOf(what, from - 1, Qt::CaseInsensitive);
    return index < 0 ? 0 : index + 1;
}

ReplaceAllResult replaceAll(const QString &text, const QString &what, const QString &with,
                            qsizetype keep)
{
    ReplaceAllResult result;
    keep = std::clamp<qsizetype>(keep, 0, text.size());
    result.kept = keep;
    if (what.isEmpty()) {
        result.text = text;
        return result;
    }
    // The new text is built once; replacing inside the old one would move the rest of the
    // text for every occurrence.
    qsizetype from = 0;
    qsizetype index = text.indexOf(what, 0, Qt::CaseInsensitive);
    if (index < 0) {
        result.text = text;
        return result;
    }
    QString out;
    out.reserve(text.size() + std::max<qsizetype>(0, with.size() - what.size()) * 16);
    bool keptMapped = false;
    while (index >= 0) {
        if (!keptMapped && keep < index + what.size()) {
            keptMapped = true;
            result.kept = keep <= index ? out.size() + (keep - from)
                                        : out.size() + (index - from) + with.size();
        }
        out.append(QStringView(text).sliced(from, index - from));
        out.append(with);
        ++result.count;
        from = index + what.size();
        index = text.indexOf(what, from, Qt::CaseInsensitive);
    }
    if (!keptMapped)
        result.kept = out.size() + (keep - from);
    out.append(QStringView(text).sliced(from));
    result.text = std::move(out);
    return result;
}

} // namespace pw
