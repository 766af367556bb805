#pragma once
// frmLowerCase: gives every file and directory from the chosen directory down a lower-case
// name. It stays open beside the main window (modeless).
#include "tools/batch_panes.h"

#include <QDialog>

class QPushButton;

namespace pw {

class Platform;
struct FeatureContext;

class LowerCaseDialog : public QDialog {
    Q_OBJECT
public:
    explicit LowerCaseDialog(FeatureContext &context, QWidget *parent = nullptr);

    void start();
    bool running() const { return running_; }

    // Every way of closing (Exit, the window's close button, Escape) ends here.
    void done(int result) override;

private:
    Platform &platform_;
    BatchPanes panes_;
    QPushButton *cmdStart_ = nullptr;
    bool running_ = false;
    bool closed_ = false;
};

// The toolbar command: shows the window (the one already open, or a new one).
LowerCaseDialog *openLowerCase(FeatureContext &context);

} // namespace pw
