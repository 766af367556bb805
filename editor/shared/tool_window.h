#pragma once
// A window that stays open beside the main window and runs long walks that let events run
// (the lower-case tool, the directory listing). It can be closed in the middle of a walk:
// the walk sees closed() at its next step and stops, and the window is deleted once the
// walk has ended, never under the walk's feet.
#include <QDialog>

namespace pw {

class ToolWindow : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

    bool running() const { return running_; }
    // Every way of closing (an Exit button, the close button, Escape) ends here.
    void done(int result) override;

protected:
    bool closed() const { return closed_; }
    // Brackets a walk. endRun is false when the window was closed during the walk: it is
    // then on its way out and the caller returns at once.
    void beginRun() { running_ = true; }
    bool endRun();

private:
    bool running_ = false;
    bool closed_ = false;
};

} // namespace pw
