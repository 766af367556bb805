#include "source_view/source_edit.h"

#include "source_view/block_lines.h"
#include "source_view/html_scanner.h"
#include "source_view/source_highlighter.h"

#include <QCompleter>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QStandardItemModel>
#include <QScrollBar>
#include <QTextBlock>

#include <algorithm>
#include <cstdlib>

namespace pw {

namespace {

constexpr int kGutterPadding = 4;

// Extra selections this box made carry this property, so marks others add are kept.
constexpr int kOwnMark = QTextFormat::UserProperty + 0x5057;

// How many lines from the first one on screen a mark may be and still be shown at once.
constexpr int kMarkReach = 400;

QColor blend(const QColor &from, const QColor &to, double amount)
{
    auto mix = [&](double a, double b) { return float(a + (b - a) * amount); };
    return QColor::fromRgbF(mix(from.redF(), to.redF()), mix(from.greenF(), to.greenF()),
                            mix(from.blueF(), to.blueF()));
}

} // namespace

class LineNumberArea : public QWidget {
public:
    explicit LineNumberArea(SourceEdit *edit) : QWidget(edit), edit_(edit)
    {
        setObjectName(QStringLiteral("lineNumberArea"));
    }
    QSize sizeHint() const override { return {edit_->gutterWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent *event) override { edit_->paintLineNumbers(event); }

private:
    SourceEdit *edit_;
};

SourceEdit::SourceEdit(QWidget *parent)
    : QPlainTextEdit(parent), highlighter_(new SourceHighlighter(document())),
      gutter_(new LineNumberArea(this)), completer_(new QCompleter(this)),
      items_(new QStandardItemModel(completer_))
{
    completer_->setModel(items_);
    completer_->setWidget(this);
    completer_->setCompletionMode(QCompleter::PopupCompletion);
    completer_->setCaseSensitivity(Qt::CaseInsensitive);
    completer_->setModelSorting(QCompleter::UnsortedModel);
    completer_->setCompletionRole(kCompletionTextRole);
    completer_->setMaxVisibleItems(12);
    connect(completer_, qOverload<const QModelIndex &>(&QCompleter::activated), this,
            &SourceEdit::acceptCompletion);
    highlighter_->setPalette(palette());
    connect(this, &QPlainTextEdit::blockCountChanged, this, &SourceEdit::updateGutterWidth);
    connect(this, &QPlainTextEdit::updateRequest, this, &SourceEdit::updateGutter);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &SourceEdit::updateMarks);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (marksWaiting_)
            showMarks();
    });
    updateGutterWidth();
    updateMarks();
}

void SourceEdit::setSourceText(const QString &text)
{
    const qsizetype lines = text.count(u'\n') + 1;
    // The gutter keeps the new text's width while the box empties on the way.
    incomingLines_ = lines;
    updateGutterWidth();
    // Shown now rather than once the text is in, when showing it would narrow the box.
    const bool holdBar = verticalScrollBarPolicy() == Qt::ScrollBarAsNeeded
                         && lines * fontMetrics().lineSpacing() > viewport()->height();
    if (holdBar)
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setPlainText(text);
    incomingLines_ = -1;
    if (holdBar)
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void SourceEdit::setColouring(bool on)
{
    highlighter_->setColouring(on);
    viewport()->update();
}

bool SourceEdit::colouring() const
{
    return highlighter_->colouring();
}

void SourceEdit::setLineNumbers(bool on)
{
    lineNumbers_ = on;
    updateGutterWidth();
}

QColor SourceEdit::caretLineColour() const
{
    return blend(palette().color(QPalette::Base), palette().color(QPalette::Highlight), 0.12);
}

QColor SourceEdit::tagPairColour() const
{
    return blend(palette().color(QPalette::Base), palette().color(QPalette::Highlight), 0.4);
}

QColor SourceEdit::unmatchedTagColour() const
{
    return blend(palette().color(QPalette::Base), QColor(220, 40, 40), 0.35);
}

int SourceEdit::gutterWidth() const
{
    return 2 * kGutterPadding + fontMetrics().horizontalAdvance(u'9') * std::max(gutterDigits_, 2);
}

void SourceEdit::updateGutterWidth()
{
    const qsizetype lines = incomingLines_ >= 0 ? incomingLines_ : blockCount();
    gutterDigits_ = int(QString::number(lines).size());
    setViewportMargins(lineNumbers_ ? gutterWidth() : 0, 0, 0, 0);
    gutter_->setVisible(lineNumbers_);
    const QRect box = contentsRect();
    gutter_->setGeometry(box.left(), box.top(), gutterWidth(), box.height());
}

void SourceEdit::updateGutter(const QRect &rect, int dy)
{
    if (!lineNumbers_)
        return;
    if (dy != 0)
        gutter_->scroll(0, dy);
    else
        gutter_->update(0, rect.y(), gutter_->width(), rect.height());
}

void SourceEdit::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    updateGutterWidth();
}

void SourceEdit::changeEvent(QEvent *event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        highlighter_->setPalette(palette());
        updateMarks();
        viewport()->update();
    } else if (event->type() == QEvent::FontChange) {
        updateGutterWidth();
    }
}

void SourceEdit::paintEvent(QPaintEvent *event)
{
    // The lines about to be painted get their colours first.
    const QTextBlock first = firstVisibleBlock();
    QTextBlock last = first;
    qreal top = blockBoundingGeometry(first).translated(contentOffset()).top();
    const int height = viewport()->height();
    for (QTextBlock block = first; block.isValid() && top <= height; block = block.next()) {
        last = block;
        top += blockBoundingRect(block).height();
    }
    highlighter_->showBlocks(first, last);
    QPlainTextEdit::paintEvent(event);
}

void SourceEdit::paintLineNumbers(QPaintEvent *event)
{
    QPainter painter(gutter_);
    const QPalette colours = palette();
    painter.fillRect(event->rect(), colours.color(QPalette::Window));
    const int caretLine = textCursor().blockNumber();
    QTextBlock block = firstVisibleBlock();
    int number = block.blockNumber();
    qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
    const int lineHeight = fontMetrics().height();
    const int width = gutter_->width() - kGutterPadding;
    while (block.isValid() && top <= event->rect().bottom()) {
        const qreal bottom = top + blockBoundingRect(block).height();
        if (block.isVisible() && bottom >= event->rect().top()) {
            painter.setPen(colours.color(number == caretLine ? QPalette::WindowText
                                                             : QPalette::PlaceholderText));
            painter.drawText(QRectF(0, top, width, lineHeight), Qt::AlignRight | Qt::AlignTop,
                             QString::number(number + 1));
        }
        block = block.next();
        top = bottom;
        ++number;
    }
}

void SourceEdit::updateMarks()
{
    const QTextCursor caret = textCursor();
    match_ = {};
    if (!caret.hasSelection())
        match_ = matchTag(BlockLines(document(), highlighter_), caret.blockNumber(),
                          caret.positionInBlock());
    showMarks();
}

void SourceEdit::showMarks()
{
    QList<QTextEdit::ExtraSelection> marks;
    for (const QTextEdit::ExtraSelection &mark : extraSelections()) {
        if (!mark.format.hasProperty(kOwnMark))
            marks << mark;
    }
    // The box finds where a mark is by walking the lines from the first one on screen, so a
    // mark thousands of lines away would cost as much as a search through them; such a mark
    // waits until the view comes near it.
    const int firstShown = firstVisibleBlock().blockNumber();
    marksWaiting_ = false;
    auto near = [&](int line) {
        const bool isNear = std::abs(line - firstShown) <= kMarkReach;
        marksWaiting_ = marksWaiting_ || !isNear;
        return isNear;
    };
    auto add = [&](const QTextCursor &cursor, const QColor &colour, bool fullWidth) {
        QTextEdit::ExtraSelection mark;
        mark.cursor = cursor;
        mark.format.setBackground(colour);
        mark.format.setProperty(kOwnMark, true);
        if (fullWidth)
            mark.format.setProperty(QTextFormat::FullWidthSelection, true);
        marks << mark;
    };
    QTextCursor caret = textCursor();
    caret.clearSelection();
    if (near(caret.blockNumber()))
        add(caret, caretLineColour(), true);
    auto addTag = [&](const TagSpan &span, const QColor &colour) {
        if (!near(span.line))
            return;
        const QTextBlock block = document()->findBlockByNumber(span.line);
        QTextCursor cursor(block);
        cursor.setPosition(block.position() + span.start);
        cursor.setPosition(block.position() + span.start + span.length, QTextCursor::KeepAnchor);
        add(cursor, colour, false);
    };
    for (const QTextCursor &range : underlines_) {
        if (!range.hasSelection() || !near(range.block().blockNumber()))
            continue;
        QTextEdit::ExtraSelection mark;
        mark.cursor = range;
        mark.format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
        mark.format.setUnderlineColor(underlineColour_);
        mark.format.setProperty(kOwnMark, true);
        marks << mark;
    }
    if (match_.kind == TagMatch::Paired) {
        addTag(match_.tag, tagPairColour());
        addTag(match_.partner, tagPairColour());
    } else if (match_.kind == TagMatch::Unmatched) {
        addTag(match_.tag, unmatchedTagColour());
    }
    setExtraSelections(marks);
    if (lineNumbers_)
        gutter_->update();
}

void SourceEdit::setUnderlines(const std::vector<std::pair<int, int>> &ranges, const QColor &colour)
{
    underlines_.clear();
    underlineColour_ = colour;
    for (const auto &[position, length] : ranges) {
        QTextCursor range(document());
        range.setPosition(position);
        range.setPosition(position + length, QTextCursor::KeepAnchor);
        underlines_.push_back(range);
    }
    showMarks();
}

std::vector<std::pair<int, int>> SourceEdit::underlines() const
{
    std::vector<std::pair<int, int>> ranges;
    for (const QTextCursor &range : underlines_) {
        if (range.hasSelection())
            ranges.emplace_back(range.selectionStart(),
                                range.selectionEnd() - range.selectionStart());
    }
    std::ranges::sort(ranges);
    return ranges;
}

QMenu *SourceEdit::contextMenuAt(const QPoint &point)
{
    QMenu *menu = createStandardContextMenu(point);
    if (menuExtension_)
        menuExtension_(menu, cursorForPosition(point));
    return menu;
}

void SourceEdit::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = contextMenuAt(event->pos());
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

} // namespace pw
