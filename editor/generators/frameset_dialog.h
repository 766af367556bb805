#pragma once
// frmFrameDialog: three frameset layouts, each with a sketch and a Create button. The chosen
// layout's page goes back in dialogResult (empty when nothing is to be made); cmdFrameDialog
// makes it the new untitled document.
#include "document/feature_context.h"

#include <QDialog>

namespace pw {

struct ProgramState;

class FramesetDialog : public QDialog {
    Q_OBJECT
public:
    explicit FramesetDialog(ProgramState &state, QWidget *parent = nullptr);

private:
    void choose(int index);

    ProgramState &state_;
};

// cmdFrameDialog.
void runFramesetDialog(FeatureContext &context);

} // namespace pw
