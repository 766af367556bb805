#pragma once
// The document box as a source view: a QPlainTextEdit with the source coloured
// (source_highlighter.h), line numbers in a gutter on its left, the caret's line lightly
// marked, and the tag under the caret marked with its partner (tag_matching.h). None of it
// changes the text: the colours and marks live in the box's layout and extra selections.
#include "source_view/tag_matching.h"

#include <QPlainTextEdit>

namespace pw {

class SourceHighlighter;

class SourceEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit SourceEdit(QWidget *parent = nullptr);

    // The whole text, with the box's width set for it first: the gutter for its line count
    // and the scroll bar it needs. A change of width lays out every line again (a text layout
    // for each), which on a page of a million short lines cost hundreds of megabytes.
    void setSourceText(const QString &text);

    void setColouring(bool on);
    bool colouring() const;
    void setLineNumbers(bool on);
    bool lineNumbers() const { return lineNumbers_; }

    SourceHighlighter *highlighter() const { return highlighter_; }
    QWidget *lineNumberArea() const { return gutter_; }
    // The tag under the caret and its partner, as marked now.
    const TagMatch &tagMatch() const { return match_; }
    // The marks' backgrounds: the caret's line, a tag and its partner, a tag without one.
    QColor caretLineColour() const;
    QColor tagPairColour() const;
    QColor unmatchedTagColour() const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    friend class LineNumberArea;
    int gutterWidth() const;
    void paintLineNumbers(QPaintEvent *event);
    void updateGutterWidth();
    void updateGutter(const QRect &rect, int dy);
    void updateMarks();
    // Shows the caret's line, the tag and its partner as matched now (match_).
    void showMarks();

    SourceHighlighter *highlighter_;
    QWidget *gutter_;
    bool lineNumbers_ = true;
    int gutterDigits_ = 0;
    qsizetype incomingLines_ = -1; // the lines of a text going in (setSourceText)
    TagMatch match_;
    bool marksWaiting_ = false; // a mark too far from the view waits for it (showMarks)
};

} // namespace pw
