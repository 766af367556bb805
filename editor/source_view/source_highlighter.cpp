#include "source_view/source_highlighter.h"

#include <QPalette>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <limits>

namespace pw {

namespace {

// A line's data: whether its layout holds the colours of its current text, and what the tags
// of each element on it do (ordered by name id; empty on most lines of text).
class ColourMark : public QTextBlockUserData {
public:
    bool current = false;
    bool painted = false; // the layout holds colours, current or not
    std::vector<std::pair<int, TagCount>> tags;
};

ColourMark *markOf(const QTextBlock &block)
{
    return static_cast<ColourMark *>(block.userData());
}

double luminance(const QColor &colour)
{
    auto channel = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF())
           + 0.0722 * channel(rgb.blueF());
}

struct Hue {
    int hue;           // degrees; -1 for grey
    double saturation; // 0 to 1
};

Hue hueOf(SourceToken token)
{
    switch (token) {
    case SourceToken::Tag:
        return {215, 0.75};
    case SourceToken::ServerTag:
        return {285, 0.6};
    case SourceToken::AttributeName:
    case SourceToken::Property:
        return {25, 0.8};
    case SourceToken::AttributeValue:
    case SourceToken::String:
        return {130, 0.6};
    case SourceToken::Comment:
        return {-1, 0.0};
    case SourceToken::Entity:
        return {330, 0.6};
    case SourceToken::Declaration:
        return {200, 0.25};
    case SourceToken::Keyword:
        return {250, 0.65};
    case SourceToken::Number:
        return {10, 0.7};
    case SourceToken::Variable:
        return {185, 0.7};
    case SourceToken::ServerDelimiter:
        return {0, 0.8};
    }
    return {-1, 0.0};
}

} // namespace

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor sourceColour(SourceToken token, const QPalette &palette)
{
    const QColor base = palette.color(QPalette::Active, QPalette::Base);
    const bool darkBase = luminance(base) < 0.18;
    const Hue hue = hueOf(token);
    // Comments sit between the text and the base; the others start at a middle lightness
    // and move away from the base until they read well on it.
    const double wanted = token == SourceToken::Comment ? 3.5 : 4.5;
    double lightness = darkBase ? 0.62 : 0.38;
    QColor colour;
    for (int step = 0; step < 20; ++step) {
        colour = QColor::fromHslF(hue.hue < 0 ? 0.0f : float(hue.hue) / 360.0f,
                                  float(hue.saturation), float(lightness));
        if (contrastRatio(colour, base) >= wanted)
            break;
        lightness = std::clamp(lightness + (darkBase ? 0.03 : -0.03), 0.0, 1.0);
    }
    return colour;
}

SourceHighlighter::SourceHighlighter(QTextDocument *document) : QObject(document)
{
    setObjectName(QStringLiteral("sourceHighlighter"));
    setPalette(QPalette());
    setDocument(document);
}

void SourceHighlighter::setDocument(QTextDocument *document)
{
    if (document_)
        disconnect(document_, nullptr, this, nullptr);
    document_ = document;
    runs_.clear();
    if (!document)
        return;
    // At once rather than when events next run, so that text set before then is read (and
    // indexed) as it goes in.
    int number = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        readBlock(block, number++);
    blockCount_ = document->blockCount();
    connect(document, &QTextDocument::contentsChange, this, &SourceHighlighter::contentsChanged);
}

QColor SourceHighlighter::colour(SourceToken token) const
{
    return formats_[size_t(token)].foreground().color();
}

void SourceHighlighter::setPalette(const QPalette &palette)
{
    for (int k = 0; k < kSourceTokenCount; ++k) {
        QTextCharFormat format;
        format.setForeground(sourceColour(SourceToken(k), palette));
        formats_[size_t(k)] = format;
    }
    forgetColours(false);
}

void SourceHighlighter::setColouring(bool on)
{
    if (on == colouring_)
        return;
    colouring_ = on;
    if (!on)
        forgetColours(true);
}

bool SourceHighlighter::isColoured(const QTextBlock &block)
{
    const ColourMark *mark = markOf(block);
    return mark && mark->current;
}

void SourceHighlighter::forgetColours(bool clear)
{
    if (!document())
        return;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        ColourMark *mark = markOf(block);
        if (!mark)
            continue;
        mark->current = false;
        if (clear && mark->painted) {
            mark->painted = false;
            block.layout()->clearFormats();
            document()->markContentsDirty(block.position(), block.length());
        }
    }
}

bool SourceHighlighter::readBlock(QTextBlock block, int number)
{
    const QTextBlock previous = block.previous();
    const int start =
        previous.isValid() ? std::max(previous.userState(), kPageStartState) : kPageStartState;
    const bool colour = colouring_ && number >= firstShown_ && number <= lastShown_;
    const QString text = block.text();
    scan_.clear();
    scan_.tagsOnly = !colour;
    const int before = block.userState();
    block.setUserState(scanLine(text, start, &scan_));
    if (colour) {
        QList<QTextLayout::FormatRange> ranges;
        ranges.reserve(qsizetype(scan_.runs.size()));
        for (const SourceRun &run : scan_.runs)
            ranges.append({run.start, run.length, formats_[size_t(run.token)]});
        block.layout()->setFormats(ranges);
        document_->markContentsDirty(block.position(), block.length());
    }
    auto tags = countsOf(text, scan_);
    auto *mark = markOf(block);
    if (!mark && (colour || !tags.empty())) {
        mark = new ColourMark;
        block.setUserData(mark);
    }
    if (mark) {
        // A line off screen keeps the colours of its old text until it is shown again.
        mark->current = colour;
        mark->painted = mark->painted || colour;
        if (mark->tags != tags) {
            mark->tags = std::move(tags);
            forgetRuns(number, number);
        }
    }
    return block.userState() != before;
}

SourceHighlighter::ElementCounts SourceHighlighter::countsOf(const QString &text,
                                                             const LineScan &scan)
{
    ElementCounts counts;
    if (scan.tags.empty())
        return counts;
    for (auto &[name, count] : countTags(text, scan)) {
        auto id = elementIds_.constFind(name);
        if (id == elementIds_.cend())
            id = elementIds_.insert(name, int(elementIds_.size()));
        counts.emplace_back(*id, count);
    }
    std::ranges::sort(counts, {}, &std::pair<int, TagCount>::first);
    return counts;
}

void SourceHighlighter::contentsChanged(int from, int removed, int added)
{
    QTextDocument *doc = document_;
    if (!doc)
        return;
    QTextBlock block = doc->findBlock(from);
    if (!block.isValid())
        return;
    const int first = block.blockNumber();
    const QTextBlock lastEdited = doc->findBlock(from + added + (removed > 0 ? 1 : 0));
    if (doc->blockCount() != blockCount_) {
        // Lines came or went: every run from the edited line on holds other lines now.
        blockCount_ = doc->blockCount();
        forgetRuns(first, std::numeric_limits<int>::max());
    } else {
        const QTextBlock last = doc->findBlock(from + added);
        forgetRuns(first, last.isValid() ? last.blockNumber() : doc->blockCount() - 1);
    }
    // The edited lines are read again, and the lines after them while their states change.
    const int end =
        lastEdited.isValid() ? lastEdited.position() + lastEdited.length() : doc->characterCount();
    bool stateChanged = false;
    for (int number = first; block.isValid() && (block.position() < end || stateChanged);
         block = block.next(), ++number)
        stateChanged = readBlock(block, number);
}

void SourceHighlighter::forgetRuns(int firstLine, int lastLine)
{
    const auto firstRun = size_t(std::max(firstLine, 0) / kRunLines);
    if (lastLine == std::numeric_limits<int>::max()) {
        if (runs_.size() > firstRun)
            runs_.resize(firstRun);
        return;
    }
    const size_t lastRun = std::min(size_t(std::max(lastLine, 0) / kRunLines) + 1, runs_.size());
    for (size_t k = firstRun; k < lastRun; ++k)
        runs_[k].current = false;
}

const SourceHighlighter::Run &SourceHighlighter::run(int index)
{
    if (runs_.size() <= size_t(index))
        runs_.resize(size_t(index) + 1);
    Run &run = runs_[size_t(index)];
    if (run.current)
        return run;
    // The sums of the run's lines, each element's lines in order.
    run.counts.clear();
    QTextBlock block = document()->findBlockByNumber(index * kRunLines);
    for (int k = 0; k < kRunLines && block.isValid(); ++k, block = block.next()) {
        const ColourMark *mark = markOf(block);
        if (!mark)
            continue;
        for (const auto &[name, count] : mark->tags) {
            auto at =
                std::ranges::lower_bound(run.counts, name, {}, &std::pair<int, TagCount>::first);
            if (at == run.counts.end() || at->first != name)
                at = run.counts.insert(at, {name, TagCount()});
            at->second.append(count);
        }
    }
    run.current = true;
    return run;
}

namespace {

TagCount countFor(const std::vector<std::pair<int, TagCount>> &counts, int name)
{
    const auto at = std::ranges::lower_bound(counts, name, {}, &std::pair<int, TagCount>::first);
    return at != counts.end() && at->first == name ? at->second : TagCount();
}

} // namespace

TagCount SourceHighlighter::lineTags(int line, const QString &foldedName) const
{
    const auto id = elementIds_.constFind(foldedName);
    if (!document() || id == elementIds_.cend())
        return {};
    const ColourMark *mark = markOf(document()->findBlockByNumber(line));
    return mark ? countFor(mark->tags, *id) : TagCount();
}

int SourceHighlighter::nextCandidate(int from, bool forward, const QString &foldedName, int &depth)
{
    const QTextDocument *doc = document();
    const auto id = elementIds_.constFind(foldedName);
    if (!doc || id == elementIds_.cend())
        return -1; // no line has a tag of the element
    const int name = *id;
    const int count = doc->blockCount();
    const int step = forward ? 1 : -1;
    QTextBlock block; // the block of line `at`, found when lines are read one by one
    for (int at = from; at >= 0 && at < count;) {
        // A whole run of lines at once, when the search enters it at its first line (going
        // forward) or its last (going back) and the run cannot end the search.
        const bool runStart =
            forward ? at % kRunLines == 0 : (at % kRunLines == kRunLines - 1 || at == count - 1);
        if (runStart) {
            const TagCount sum = countFor(run(at / kRunLines).counts, name);
            if (!sum.reachesZero(forward, depth)) {
                depth = sum.depthAfter(forward, depth);
                at = forward ? (at / kRunLines + 1) * kRunLines : (at / kRunLines) * kRunLines - 1;
                block = QTextBlock();
                continue;
            }
        }
        if (!block.isValid())
            block = doc->findBlockByNumber(at);
        if (const ColourMark *mark = markOf(block)) {
            const TagCount line = countFor(mark->tags, name);
            if (line.reachesZero(forward, depth))
                return at;
            depth = line.depthAfter(forward, depth);
        }
        block = forward ? block.next() : block.previous();
        at += step;
    }
    return -1;
}

void SourceHighlighter::showBlocks(const QTextBlock &first, const QTextBlock &last)
{
    if (!first.isValid())
        return;
    firstShown_ = first.blockNumber();
    lastShown_ = last.isValid() ? last.blockNumber() : firstShown_;
    if (!colouring_)
        return;
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        if (!isColoured(block))
            colourBlock(block);
        if (block == last)
            break;
    }
}

// What highlightBlock would do for the block, without going through the document's change
// notices: the layout gets the colours and the block is laid out again.
void SourceHighlighter::colourBlock(QTextBlock block)
{
    const QTextBlock previous = block.previous();
    const int start =
        previous.isValid() ? std::max(previous.userState(), kPageStartState) : kPageStartState;
    scan_.clear();
    scan_.tagsOnly = false;
    scanLine(block.text(), start, &scan_);
    QList<QTextLayout::FormatRange> ranges;
    ranges.reserve(qsizetype(scan_.runs.size()));
    for (const SourceRun &run : scan_.runs)
        ranges.append({run.start, run.length, formats_[size_t(run.token)]});
    block.layout()->setFormats(ranges);
    document()->markContentsDirty(block.position(), block.length());
    auto *mark = markOf(block);
    if (!mark) {
        mark = new ColourMark;
        block.setUserData(mark);
    }
    mark->current = true;
    mark->painted = true;
}

} // namespace pw
