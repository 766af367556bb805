#pragma once
// frmFindInFiles: searches the files of a folder while the window stays usable. The search
// runs on a worker thread and its results come in batches as it goes; Escape or Stop ends
// it. A double click opens the file of a result (after the save prompt) at its line.
#include "document/feature_context.h"
#include "shared/search_pattern.h"
#include "tools/find_in_files.h"

#include <QDialog>
#include <QFutureWatcher>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace pw {

// What the worker hands over at a time: the hits found since the last batch, and how many
// files were searched and skipped so far.
struct FileSearchBatch {
    QList<FileHit> hits;
    int searched = 0;
    int skipped = 0;
};

class FindInFilesWindow : public QDialog {
    Q_OBJECT
public:
    explicit FindInFilesWindow(const FeatureContext &context, QWidget *parent = nullptr);
    ~FindInFilesWindow() override;

    // Starts a search with the window's fields; false (after saying why) when the fields
    // name none.
    bool start();
    // Ends a running search; what was found stays listed.
    void stop();
    // From start() until the window has taken the last batch.
    bool running() const { return running_; }
    // Opens the file of the result in the given row at its line.
    void openResult(int row);
    QList<FileHit> hits() const { return hits_; }

    void reject() override; // Escape stops a search before it closes the window

signals:
    // The search ended, finished or stopped.
    void finished();

private:
    void takeBatches(int begin, int end);
    void showStatus();

    FeatureContext context_;
    QLineEdit *txtFolder_;
    QLineEdit *txtPatterns_;
    QLineEdit *txtFind_;
    QCheckBox *chkMatchCase_;
    QCheckBox *chkWholeWord_;
    QCheckBox *chkRegularExpression_;
    QCheckBox *chkSubfolders_;
    QPushButton *cmdFind_;
    QPushButton *cmdStop_;
    QLabel *lblStatus_;
    QTreeWidget *lstResults_;
    QFutureWatcher<FileSearchBatch> watcher_;
    QList<FileHit> hits_;
    int searched_ = 0;
    int skipped_ = 0;
    bool stopped_ = false;
    bool running_ = false;
};

// Shows the Find in Files window of the main window (the open one, or a new one).
FindInFilesWindow *openFindInFiles(FeatureContext &context);

} // namespace pw
