#pragma once
// The document box as a source view: a QPlainTextEdit with the source coloured
// (source_highlighter.h), line numbers in a gutter on its left, the caret's line lightly
// marked, and the tag under the caret marked with its partner (tag_matching.h). None of it
// changes the text: the colours and marks live in the box's layout and extra selections.
//
// Typing tags is helped along (tag_completion.h): "<" offers the element names, a start
// tag's blanks its attributes, an attribute of a fixed set its values, "</" the end tag of
// the innermost open element first; ">" of a start tag can add its end tag; renaming a start
// tag renames its end tag in the same undo step.
#include "source_view/tag_completion.h"
#include "source_view/tag_matching.h"

#include <QPlainTextEdit>

#include <functional>
#include <utility>

class QCompleter;
class QMenu;
class QModelIndex;
class QStandardItemModel;

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

    // Whether ">" of a start tag adds its end tag after the caret (on by default).
    void setAddEndTags(bool on) { addEndTags_ = on; }
    bool addEndTags() const { return addEndTags_; }
    // Offers what fits at the caret, the words of a script or style sheet included.
    void completeAtCaret();
    // The popup's rows keep what goes in under this role, apart from what they show (the
    // name and its description).
    static constexpr int kCompletionTextRole = Qt::UserRole + 1;
    // The popup of names; what it offers now.
    QCompleter *completer() const { return completer_; }
    bool completionShown() const;
    const Completion &completion() const { return offer_; }
    // Inserts the end tag of the innermost element open at the caret, as one undo step;
    // false when no element is open there.
    bool closeInnermostTag();
    // Selects the element around the caret from its start tag through its end tag; false
    // when the caret is in none.
    bool selectElement();

    // Wavy underlines under ranges of Qt positions (they move with edits), replacing the
    // ones shown before; spelling uses them for the words it does not know.
    void setUnderlines(const std::vector<std::pair<int, int>> &ranges, const QColor &colour);
    // The underlined ranges now, as (position, length), in order.
    std::vector<std::pair<int, int>> underlines() const;
    // The right-click menu at a point of the viewport: the box's own items, with whatever
    // the extension adds for the text cursor at that point. The caller owns the menu.
    using MenuExtension = std::function<void(QMenu *, const QTextCursor &)>;
    void setMenuExtension(MenuExtension extension) { menuExtension_ = std::move(extension); }
    QMenu *contextMenuAt(const QPoint &point);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
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
    // Completion (source_edit_typing.cpp).
    void updateCompletion(bool keywords, bool mayOpen);
    void acceptCompletion(const QModelIndex &index);
    bool addEndTagFor(const QString &typed);
    // A start tag whose name is being edited and its end tag, kept from key to key so that
    // a name emptied on the way ("<div" to "<" to "<section") keeps its partner.
    struct Rename {
        bool active = false;
        int line = 0;
        int tagStart = 0;
        QString name;
        int partnerAt = 0;    // where the end tag's name starts, before the key
        int lengthBefore = 0; // the document's length before the key
        int revision = -1;    // the document's revision after the last renaming key
    };
    Rename watchRename(const QKeyEvent &event);
    void finishRename(const Rename &rename);

    SourceHighlighter *highlighter_;
    QWidget *gutter_;
    bool lineNumbers_ = true;
    int gutterDigits_ = 0;
    qsizetype incomingLines_ = -1; // the lines of a text going in (setSourceText)
    TagMatch match_;
    bool marksWaiting_ = false; // a mark too far from the view waits for it (showMarks)
    bool addEndTags_ = true;
    QCompleter *completer_;
    QStandardItemModel *items_;
    Completion offer_;
    Rename rename_;
    std::vector<QTextCursor> underlines_;
    QColor underlineColour_;
    MenuExtension menuExtension_;
};

} // namespace pw
