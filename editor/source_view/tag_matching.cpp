#include "source_view/tag_matching.h"

#include "source_view/html_elements.h"
#include "source_view/html_scanner.h"

#include <algorithm>
#include <ranges>

namespace pw {

namespace {

// The element table's answer on whether an element's end tag may be left out.
bool endTagOptional(QStringView name)
{
    const HtmlElement *element = findElement(name);
    return element && element->endTag == EndTag::Optional;
}

QStringView nameOf(QStringView line, const TagMark &tag)
{
    return line.sliced(tag.start + (tag.closing ? 2 : 1), tag.nameLength);
}

TagSpan spanOf(int line, const TagMark &tag)
{
    const int nameEnd = tag.start + (tag.closing ? 2 : 1) + tag.nameLength;
    return {line, tag.start, (tag.end >= 0 ? tag.end : nameEnd) - tag.start};
}

} // namespace

TextLines::TextLines(const QString &text)
{
    qsizetype from = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i <= n; ++i) {
        if (i < n && text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines_.push_back(text.sliced(from, i - from));
        if (i < n && text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        from = i + 1;
    }
    int state = kPageStartState;
    LineScan scan;
    for (const QString &line : lines_) {
        states_.push_back(state);
        scan.clear();
        state = scanLine(line, state, &scan);
        counts_.push_back(countTags(line, scan));
    }
}

int TextLines::nextCandidate(int from, bool forward, const QString &foldedName, int &depth) const
{
    for (int at = from; at >= 0 && at < lineCount(); at += forward ? 1 : -1) {
        for (const auto &[name, count] : counts_[size_t(at)]) {
            if (name != foldedName)
                continue;
            if (count.reachesZero(forward, depth))
                return at;
            depth = count.depthAfter(forward, depth);
        }
    }
    return -1;
}

int SourceLines::nextCandidate(int from, bool forward, const QString &foldedName, int &) const
{
    for (int at = from; at >= 0 && at < lineCount(); at += forward ? 1 : -1) {
        if (line(at).contains(foldedName, Qt::CaseInsensitive))
            return at;
    }
    return -1;
}

void TagCount::add(bool closing)
{
    TagCount tag;
    (closing ? tag.closes : tag.opens) = 1;
    tag.forwardReach = closing ? 1 : 0;
    tag.backwardReach = closing ? 0 : 1;
    append(tag);
}

void TagCount::append(const TagCount &next)
{
    forwardReach = std::max(forwardReach, closes - opens + next.forwardReach);
    backwardReach = std::max(next.backwardReach, next.opens - next.closes + backwardReach);
    opens += next.opens;
    closes += next.closes;
}

std::vector<std::pair<QString, TagCount>> countTags(QStringView line, const LineScan &scan)
{
    std::vector<std::pair<QString, TagCount>> counts;
    for (const TagMark &tag : scan.tags) {
        if (tag.selfClosing)
            continue;
        const QString name = nameOf(line, tag).toString().toCaseFolded();
        auto entry = std::ranges::find(counts, name, &std::pair<QString, TagCount>::first);
        if (entry == counts.end())
            entry = counts.insert(counts.end(), {name, TagCount()});
        entry->second.add(tag.closing);
    }
    return counts;
}

bool isVoidElement(QStringView name)
{
    const HtmlElement *element = findElement(name);
    return element && element->endTag == EndTag::Void;
}

TagMatch matchTag(const SourceLines &lines, int line, int column)
{
    TagMatch match;
    if (line < 0 || line >= lines.lineCount())
        return match;
    LineScan scan;
    const QString caretText = lines.line(line);
    scanLine(caretText, lines.stateBefore(line), &scan);
    const auto under = std::ranges::find_if(scan.tags, [&](const TagMark &tag) {
        return column >= tag.start && column <= tag.start + (tag.closing ? 2 : 1) + tag.nameLength;
    });
    if (under == scan.tags.end())
        return match;
    const TagMark tag = *under;
    const QString name = nameOf(caretText, tag).toString();
    const QString foldedName = name.toCaseFolded();
    match.tag = spanOf(line, tag);
    const bool coldFusion = name.startsWith(QLatin1String("cf"), Qt::CaseInsensitive);
    if (isVoidElement(name) || tag.selfClosing) {
        // An end tag of a void element closes nothing.
        match.kind = tag.closing ? TagMatch::Unmatched : TagMatch::Single;
        return match;
    }

    // Walk away from the tag, counting the same element's tags opened and closed on the way.
    const bool forward = !tag.closing;
    int depth = 1;
    const auto index = std::size_t(under - scan.tags.begin());
    std::vector<TagMark> tags(
        forward ? scan.tags.begin() + std::ptrdiff_t(index) + 1 : scan.tags.begin(),
        forward ? scan.tags.end() : scan.tags.begin() + std::ptrdiff_t(index));
    QString text = caretText;
    for (int at = line;;) {
        if (!forward)
            std::ranges::reverse(tags);
        for (const TagMark &other : tags) {
            if (other.selfClosing || nameOf(text, other).compare(name, Qt::CaseInsensitive) != 0)
                continue;
            depth += other.closing == tag.closing ? 1 : -1;
            if (depth == 0) {
                match.kind = TagMatch::Paired;
                match.partner = spanOf(at, other);
                return match;
            }
        }
        // The next line that may hold the partner; the lines passed only change the depth.
        at = lines.nextCandidate(at + (forward ? 1 : -1), forward, foldedName, depth);
        if (at < 0) {
            const bool mayStandAlone = coldFusion || (!tag.closing && endTagOptional(name));
            match.kind = mayStandAlone ? TagMatch::Single : TagMatch::Unmatched;
            return match;
        }
        text = lines.line(at);
        scan.clear();
        scanLine(text, lines.stateBefore(at), &scan);
        tags = scan.tags;
    }
}

} // namespace pw
