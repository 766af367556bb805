#pragma once
// frmFind: the find-and-replace window. It stays open beside the main window (modeless) and
// above every other window while it is open, and works on the document box it was opened
// for. foundPos_ is the 1-based position of the last match, 0 when the last search found
// nothing; it starts at 0 each time the window is opened.
#include <QDialog>

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

class FindWindow : public QDialog {
    Q_OBJECT
public:
    FindWindow(EditBox &edit, Platform &platform, QWidget *parent = nullptr);

    qsizetype foundPos() const { return foundPos_; }

    // The five buttons of the cmdCommand array, by index.
    void find();       // 0: first occurrence from the top
    void findNext();   // 1: next occurrence after the last match, wrapping to the top
    void replace();    // 2: replaces the first occurrence left in the document
    void replaceAll(); // 3: replaces every occurrence, one undo step
    void finish();     // 4: closes the window

    // Every way of closing (Done, the window's close button, Escape) ends here.
    void done(int result) override;

private:
    void cmdCommand_Click(int index);
    void selectMatch();
    void notFound();

    EditBox &edit_;
    Platform &platform_;
    QLineEdit *txtFind_ = nullptr;
    QLineEdit *txtReplace_ = nullptr;
    QPushButton *cmdCommand_[5] = {};
    qsizetype foundPos_ = 0;
};

// Shows the find window for the document (the one already open, or a new one), modeless and
// above all other windows. Both mnuFind and mnuReplace open it.
FindWindow *openFindWindow(FeatureContext &context);

// F3 runs Find Next while the find window of `parent` is open, from the main window as from
// the find window itself; nothing when no find window is open.
void addFindNextKey(QWidget *parent);

} // namespace pw
