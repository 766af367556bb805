#include "source_view/source_highlighter.h"

#include <QPalette>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <cmath>

namespace pw {

namespace {

// Marks a block whose layout holds the colours of its current text.
class ColourMark : public QTextBlockUserData {
public:
    bool current = false;
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

SourceHighlighter::SourceHighlighter(QTextDocument *document) : QSyntaxHighlighter(document)
{
    setObjectName(QStringLiteral("sourceHighlighter"));
    setPalette(QPalette());
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
        if (!mark || !mark->current)
            continue;
        mark->current = false;
        if (clear) {
            block.layout()->clearFormats();
            document()->markContentsDirty(block.position(), block.length());
        }
    }
}

void SourceHighlighter::highlightBlock(const QString &text)
{
    const int start = std::max(previousBlockState(), kPageStartState);
    const int number = currentBlock().blockNumber();
    const bool colour = colouring_ && number >= firstShown_ && number <= lastShown_;
    if (colour) {
        scan_.clear();
        setCurrentBlockState(scanLine(text, start, &scan_));
        for (const SourceRun &run : scan_.runs)
            setFormat(run.start, run.length, formats_[size_t(run.token)]);
    } else {
        setCurrentBlockState(scanLine(text, start));
    }
    auto *mark = static_cast<ColourMark *>(currentBlockUserData());
    if (colour && !mark) {
        mark = new ColourMark;
        setCurrentBlockUserData(mark);
    }
    if (mark)
        mark->current = colour;
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
}

} // namespace pw
