#pragma once
// frmDirectoryReplace: replaces one text by another in the chosen files of one directory.
// Modal; the run stays on the user-interface thread but lets events run between files.
#include "tools/batch_panes.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace pw {

class Platform;
struct FeatureContext;

// frmReplaceSummary: after Start and before anything is written, the files that will change
// with the number of replacements in each; Replace goes on, Cancel writes nothing.
class ReplaceSummaryDialog : public QDialog {
    Q_OBJECT
public:
    ReplaceSummaryDialog(const QStringList &names, const QList<qint64> &counts,
                         QWidget *parent = nullptr);
};

// "Undo Last Directory Replace": puts back the files of the last directory replace, and
// names those changed since, which it leaves alone.
void undoLastDirectoryReplace(FeatureContext &context);

class DirectoryReplaceDialog : public QDialog {
    Q_OBJECT
public:
    explicit DirectoryReplaceDialog(FeatureContext &context, QWidget *parent = nullptr);

    void start();
    bool running() const { return running_; }
    void undoLast();

    void reject() override;

private:
    void setInputLocked(bool locked);

    Platform &platform_;
    BatchPanes panes_;
    QLineEdit *txtFind_ = nullptr;
    QLineEdit *txtReplace_ = nullptr;
    QLabel *lblStatus_ = nullptr;
    QProgressBar *myProgress = nullptr;
    QPlainTextEdit *txtEdit_ = nullptr; // shows the text of the file last handled
    QPushButton *cmdStart_ = nullptr;
    QPushButton *cmdUndo_ = nullptr;
    bool running_ = false;
    bool stopRequested_ = false;
};

// The toolbar command: shows the dialog modally over the main window.
void runDirectoryReplace(FeatureContext &context);

} // namespace pw
