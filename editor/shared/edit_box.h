#pragma once
// EditBox shows the document box (a QPlainTextEdit) the way the program's algorithms see it:
// one text whose line breaks are CR LF, and positions in which a line break counts as two
// characters. Qt keeps one separator per break; converting between the two goes through the
// document's blocks in O(log n), so algorithms written as "p + 13" stay "p + 13".
// A position that falls between CR and LF maps to the end of that line.
// U+00A0 and U+2028 are ordinary characters here; Shift+Enter in the box makes an ordinary
// break rather than a U+2028, which would look like a break but count and save as one char.
#include <QString>

#include <functional>

class QPlainTextEdit;

namespace pw {

class EditBox {
public:
    // `setWholeText`, when given, puts a whole text (with "\n" breaks) into the box in place
    // of its setPlainText: a box that must make room for the text first does it there.
    explicit EditBox(QPlainTextEdit *box,
                     std::function<void(const QString &)> setWholeText = nullptr);

    QPlainTextEdit *widget() const { return box_; }

    // The whole text with CR LF line breaks (U+00A0 and every other character kept).
    QString text() const;
    // The text between two positions, with CR LF breaks, read without moving the caret.
    QString textBetween(int from, int to) const;
    // Length of text() without building it.
    int length() const;
    // Replaces the whole text as one edit (used by loading); breaks may be CR LF, CR or LF.
    // The caret goes to the start and the undo history starts afresh.
    void setText(const QString &text);

    int caret() const;           // caret position (selection end the user moved to)
    void setCaret(int position); // collapses the selection
    int selStart() const;        // start of the selection (the lower end)
    int selLength() const;       // length of the selection, breaks counting two
    // Selects from start to start + length (a negative length selects backwards); the caret
    // ends at start + length. Positions are clamped to the text.
    void setSelection(int start, int length);
    QString selectedText() const; // with CR LF breaks
    // Replaces the selection with the given text (breaks CR LF, CR or LF) as one undo step;
    // the caret ends after the inserted text and nothing stays selected.
    void replaceSelection(const QString &text);
    // The position of the first occurrence of `what` at or after `from`, without regard to
    // letter case, or -1 (also for an empty `what`). Searches the box's lines in place: no copy
    // of the whole text unless `what` holds a line break.
    int find(const QString &what, int from) const;
    // Zero-based line of a position.
    int lineOfPosition(int position) const;
    // Position where a zero-based line starts (clamped to the last line).
    int lineStart(int line) const;
    int lineCount() const;

    // Conversions between the program's positions and Qt's.
    int toQt(int position) const;
    int fromQt(int qtPosition) const;

private:
    QPlainTextEdit *box_;
    std::function<void(const QString &)> setWholeText_;
};

} // namespace pw
