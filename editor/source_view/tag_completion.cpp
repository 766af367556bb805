#include "source_view/tag_completion.h"

#include "source_view/html_elements.h"
#include "source_view/html_scanner.h"

#include <QHash>

#include <algorithm>

namespace pw {

namespace {

QStringView nameOf(QStringView line, const TagMark &tag)
{
    return line.sliced(tag.start + (tag.closing ? 2 : 1), tag.nameLength);
}

QString elementCase(const char *name, bool upperCase)
{
    const QString text = QString::fromLatin1(name);
    return upperCase ? text.toUpper() : text;
}

// Attributes as the toolbar writes them in an upper-case page: "Href", "Align".
QString attributeCase(const QString &name, bool upperCase)
{
    return upperCase && !name.isEmpty() ? name.left(1).toUpper() + name.mid(1) : name;
}

QString descriptionOf(QStringView name)
{
    const HtmlElement *element = findElement(name);
    return element ? QString::fromUtf8(element->description) : QString();
}

// Where the caret stands among a start tag's attributes, read from the text after the name.
struct AttributeReading {
    enum { Between, Name, AfterName, AfterEquals, Value, QuotedValue } at = Between;
    QString name;
    QString typed;
};

AttributeReading readAttributes(QStringView text)
{
    AttributeReading r;
    QChar quote;
    for (const QChar c : text) {
        const bool blank = c.isSpace();
        switch (r.at) {
        case AttributeReading::Between:
        case AttributeReading::AfterName:
            if (c == u'=' && r.at == AttributeReading::AfterName) {
                r.at = AttributeReading::AfterEquals;
            } else if (!blank && c != u'/' && c != u'=') {
                r.at = AttributeReading::Name;
                r.name = c;
            }
            break;
        case AttributeReading::Name:
            if (c == u'=')
                r.at = AttributeReading::AfterEquals;
            else if (blank)
                r.at = AttributeReading::AfterName;
            else
                r.name += c;
            break;
        case AttributeReading::AfterEquals:
            if (c == u'"' || c == u'\'') {
                r.at = AttributeReading::QuotedValue;
                quote = c;
                r.typed.clear();
            } else if (!blank) {
                r.at = AttributeReading::Value;
                r.typed = c;
            }
            break;
        case AttributeReading::Value:
            if (blank)
                r.at = AttributeReading::Between;
            else
                r.typed += c;
            break;
        case AttributeReading::QuotedValue:
            if (c == quote)
                r.at = AttributeReading::Between;
            else
                r.typed += c;
            break;
        }
    }
    return r;
}

QList<CompletionItem> elementItems(bool upperCase)
{
    QList<CompletionItem> items;
    for (const HtmlElement &element : htmlElements())
        items.append(
            {elementCase(element.name, upperCase), QString::fromUtf8(element.description)});
    return items;
}

QList<CompletionItem> endTagItems(bool upperCase, const QStringList &openElements)
{
    QList<CompletionItem> items;
    QStringList offered;
    for (const QString &name : openElements) {
        if (offered.contains(name, Qt::CaseInsensitive))
            continue;
        offered << name;
        items.append({name + u'>', descriptionOf(name)});
    }
    for (const HtmlElement &element : htmlElements()) {
        const QString name = elementCase(element.name, upperCase);
        if (element.endTag == EndTag::Void || offered.contains(name, Qt::CaseInsensitive))
            continue;
        items.append({name + u'>', QString::fromUtf8(element.description)});
    }
    return items;
}

Completion offerAttributes(QStringView element, QStringView afterName, bool upperCase)
{
    Completion offer;
    offer.element = element.toString();
    const AttributeReading r = readAttributes(afterName);
    switch (r.at) {
    case AttributeReading::Between:
    case AttributeReading::AfterName:
    case AttributeReading::Name: {
        offer.kind = Completion::AttributeName;
        offer.prefix = r.at == AttributeReading::Name ? r.name : QString();
        for (const QString &name : attributesOf(element)) {
            const QStringList values = attributeValues(element, name);
            offer.items.append({attributeCase(name, upperCase), values.join(QStringLiteral(", "))});
        }
        break;
    }
    case AttributeReading::AfterEquals:
    case AttributeReading::Value:
    case AttributeReading::QuotedValue: {
        const QStringList values = attributeValues(element, r.name);
        if (values.isEmpty())
            return {};
        offer.kind = Completion::AttributeValue;
        offer.attribute = r.name;
        offer.quoted = r.at == AttributeReading::QuotedValue;
        offer.prefix = r.typed;
        for (const QString &value : values)
            offer.items.append({value, QString()});
        break;
    }
    }
    return offer;
}

// An element whose end tag may be left out is closed by a later one of its kind (the next
// LI) or by the end tag of what holds it (the UL's).
bool impliedClosed(QStringView name, const std::vector<OpenTag> &inner,
                   const QHash<QString, int> &closed)
{
    const HtmlElement *element = findElement(name);
    if (!element || element->endTag != EndTag::Optional)
        return false;
    return std::ranges::any_of(
               inner,
               [&](const OpenTag &tag) { return tag.name.compare(name, Qt::CaseInsensitive) == 0; })
           || std::ranges::any_of(closed, [](int count) { return count > 0; });
}

} // namespace

Completion completionAt(QStringView before, int state, bool upperCase,
                        const QStringList &openElements, bool keywords)
{
    // "<" and "</" in the page's text: the name is still to come.
    for (const bool closing : {true, false}) {
        const QStringView mark = closing ? QStringView(u"</") : QStringView(u"<");
        if (!before.endsWith(mark))
            continue;
        if (areaOf(scanLine(before.chopped(mark.size()), state)) != SourceArea::Text)
            break;
        Completion offer;
        offer.kind = closing ? Completion::EndTag : Completion::ElementName;
        offer.items = closing ? endTagItems(upperCase, openElements) : elementItems(upperCase);
        return offer;
    }

    LineScan scan;
    const int end = scanLine(before, state, &scan);
    const SourceArea area = areaOf(end);
    if (area == SourceArea::Code && keywords) {
        Completion offer;
        offer.kind = Completion::Keyword;
        qsizetype start = before.size();
        while (start > 0 && (before[start - 1].isLetterOrNumber() || before[start - 1] == u'_'))
            --start;
        offer.prefix = before.sliced(start).toString();
        for (const QString &word : keywordsOf(end))
            offer.items.append({word, QString()});
        return offer;
    }
    if (area != SourceArea::Tag || scan.tags.empty() || scan.tags.back().end >= 0)
        return {};
    const TagMark &tag = scan.tags.back();
    const QStringView name = nameOf(before, tag);
    const qsizetype nameEnd = tag.start + (tag.closing ? 2 : 1) + tag.nameLength;
    if (before.size() == nameEnd && !name.isEmpty()) {
        Completion offer;
        offer.kind = tag.closing ? Completion::EndTag : Completion::ElementName;
        offer.prefix = name.toString();
        offer.items = tag.closing ? endTagItems(upperCase, openElements) : elementItems(upperCase);
        return offer;
    }
    if (tag.closing || name.isEmpty())
        return {};
    return offerAttributes(name, before.sliced(nameEnd), upperCase);
}

bool pageUsesUpperCase(const SourceLines &lines, int line)
{
    constexpr int kNear = 200;
    int upper = 0;
    int lower = 0;
    LineScan scan;
    const int last = std::min(lines.lineCount() - 1, line + kNear);
    for (int at = std::max(0, line - kNear); at <= last; ++at) {
        const QString text = lines.line(at);
        scan.clear();
        scanLine(text, lines.stateBefore(at), &scan);
        for (const TagMark &tag : scan.tags) {
            const QStringView name = nameOf(text, tag);
            const bool hasUpper = std::ranges::any_of(name, [](QChar c) { return c.isUpper(); });
            const bool hasLower = std::ranges::any_of(name, [](QChar c) { return c.isLower(); });
            upper += hasUpper && !hasLower;
            lower += hasLower && !hasUpper;
        }
    }
    return upper >= lower;
}

std::vector<OpenTag> openTagsAt(const SourceLines &lines, int line, int column, int count,
                                int reach)
{
    std::vector<OpenTag> open;
    if (line < 0 || line >= lines.lineCount())
        return open;
    QHash<QString, int> closed; // end tags seen on the way back, not yet paired
    LineScan scan;
    for (int at = line; at >= 0 && at > line - reach && int(open.size()) < count; --at) {
        const QString text = lines.line(at);
        scan.clear();
        scanLine(text, lines.stateBefore(at), &scan);
        for (auto tag = scan.tags.rbegin(); tag != scan.tags.rend(); ++tag) {
            // On the caret's line only the tags that end before the caret count.
            if (at == line && (tag->end < 0 || tag->end > column))
                continue;
            const QStringView name = nameOf(text, *tag);
            if (tag->selfClosing || name.isEmpty() || isVoidElement(name)
                || name.startsWith(u"cf", Qt::CaseInsensitive))
                continue;
            const QString folded = name.toString().toCaseFolded();
            if (tag->closing) {
                ++closed[folded];
            } else if (closed.value(folded) > 0) {
                --closed[folded];
            } else if (impliedClosed(name, open, closed)) {
                continue;
            } else {
                open.push_back({name.toString(), at, tag->start});
                if (int(open.size()) == count)
                    break;
            }
        }
    }
    return open;
}

ElementRange elementAt(const SourceLines &lines, int line, int column)
{
    auto before = [](const TagSpan &a, const TagSpan &b) {
        return a.line < b.line || (a.line == b.line && a.start < b.start);
    };
    const TagMatch here = matchTag(lines, line, column);
    if (here.kind == TagMatch::Paired) {
        const bool forward = before(here.tag, here.partner);
        return {true, forward ? here.tag : here.partner, forward ? here.partner : here.tag};
    }
    if (here.kind == TagMatch::Single)
        return {true, here.tag, here.tag};
    for (const OpenTag &open : openTagsAt(lines, line, column, 64)) {
        const TagMatch match = matchTag(lines, open.line, open.start + 1);
        if (match.kind == TagMatch::Paired && !before(match.partner, TagSpan{line, column, 0}))
            return {true, match.tag, match.partner};
    }
    return {};
}

ElementRange enclosingElement(const SourceLines &lines, const ElementRange &inner)
{
    if (!inner.found)
        return {};
    for (const OpenTag &open : openTagsAt(lines, inner.start.line, inner.start.start, 64)) {
        const TagMatch match = matchTag(lines, open.line, open.start + 1);
        const TagSpan &end = match.partner;
        const bool after =
            end.line > inner.end.line
            || (end.line == inner.end.line && end.start >= inner.end.start + inner.end.length);
        if (match.kind == TagMatch::Paired && after)
            return {true, match.tag, match.partner};
    }
    return {};
}

TagPair tagPairFor(QStringView answer)
{
    QStringView inner = answer.trimmed();
    if (inner.startsWith(u'<'))
        inner = inner.sliced(1);
    if (inner.endsWith(u'>'))
        inner = inner.chopped(1);
    if (inner.endsWith(u'/'))
        inner = inner.chopped(1);
    inner = inner.trimmed();
    qsizetype nameLength = 0;
    while (nameLength < inner.size()
           && (inner[nameLength].isLetterOrNumber() || inner[nameLength] == u'-'
               || inner[nameLength] == u':'))
        ++nameLength;
    if (nameLength == 0 || !inner[0].isLetter())
        return {};
    const QStringView name = inner.first(nameLength);
    TagPair pair{u'<' + inner.toString() + u'>', QString()};
    if (!isVoidElement(name))
        pair.close = QStringLiteral("</") + name.toString() + u'>';
    return pair;
}

} // namespace pw
