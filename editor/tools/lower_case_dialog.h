#pragma once
// frmLowerCase: gives every file and directory from the chosen directory down a lower-case
// name. It stays open beside the main window (modeless).
#include "shared/tool_window.h"
#include "tools/batch_panes.h"

class QPushButton;

namespace pw {

class Platform;
struct FeatureContext;

class LowerCaseDialog : public ToolWindow {
    Q_OBJECT
public:
    explicit LowerCaseDialog(FeatureContext &context, QWidget *parent = nullptr);

    void start();

private:
    Platform &platform_;
    BatchPanes panes_;
    QPushButton *cmdStart_ = nullptr;
};

// The toolbar command: shows the window (the one already open, or a new one).
LowerCaseDialog *openLowerCase(FeatureContext &context);

} // namespace pw
