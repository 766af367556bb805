#pragma once
// frmFind: the find-and-replace window. It stays open beside the main window (modeless) and
// above every other window while it is open, and works on the document box it was opened
// for. foundPos_ is the 1-based position of the last match, 0 when the last search found
// nothing; it starts at 0 each time the window is opened.
#include "shared/search_pattern.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pw {

class EditBox;
class Platform;
struct FeatureContext;

// Replaces every occurrence of `what` (letter case ignored) in the document by `with` as
// one edit, so one undo takes it all back; the caret keeps its place in the text around it
// and the view does not scroll. Returns how many replacements were made.
qint64 replaceAllInDocument(EditBox &edit, const QString &what, const QString &with);
// The same with an expression: each match replaced by `with` with its captures put in
// (expandReplacement), the search going on after the match in the old text.
qint64 replaceAllInDocument(EditBox &edit, const QRegularExpression &expression,
                            const QString &with);

// The last search of a window's find window: what F3 and Shift+F3 look for once the find
// window is closed, and what the find window shows when it opens again.
struct LastSearch {
    QString text;
    SearchOptions options;
};

class FindWindow : public QDialog {
    Q_OBJECT
public:
    FindWindow(EditBox &edit, Platform &platform, QWidget *parent = nullptr);

    qsizetype foundPos() const { return foundPos_; }

    // The five buttons of the cmdCommand array, by index.
    void find();         // 0: first occurrence from the top
    void findNext();     // 1: next occurrence after the last match, wrapping to the top
    void findPrevious(); // Shift+F3: the occurrence before the last match, wrapping to the end
    void replace();      // 2: replaces the first occurrence left in the document
    void replaceAll();   // 3: replaces every occurrence, one undo step
    void finish();       // 4: closes the window

    // Every way of closing (Done, the window's close button, Escape) ends here.
    void done(int result) override;

    // The search text and options as they are set in the window.
    LastSearch search() const;

private:
    void cmdCommand_Click(int index);
    void selectMatch();
    void notFound();
    // The expression of the window's search, or an invalid one after saying why in the
    // window; also remembers a valid search for F3.
    QRegularExpression expression();
    // Plain searches (no option set) keep the box's own search, which reads the lines in
    // place; the others match an expression over the text.
    bool plain() const;
    bool locate(qsizetype from);

    EditBox &edit_;
    Platform &platform_;
    QLineEdit *txtFind_ = nullptr;
    QLineEdit *txtReplace_ = nullptr;
    QCheckBox *chkMatchCase_ = nullptr;
    QCheckBox *chkWholeWord_ = nullptr;
    QCheckBox *chkRegularExpression_ = nullptr;
    QLabel *lblMessage_ = nullptr;
    QPushButton *cmdCommand_[5] = {};
    qsizetype foundPos_ = 0;
    qsizetype foundLength_ = 0;
};

// Shows the find window for the document (the one already open, or a new one), modeless and
// above all other windows. Both mnuFind and mnuReplace open it.
FindWindow *openFindWindow(FeatureContext &context);

// F3 and Shift+F3 find the next and the previous match: with the find window of `parent`
// when it is open (from the main window as from the find window itself), else the last
// search of that window from the caret, wrapping around the document.
void addFindNextKey(QWidget *parent, EditBox &edit, Platform &platform);

} // namespace pw
