#pragma once
// frmRTFDialog: converts the chosen files of one directory from RTF into HTML files beside
// them with the converter library. Modal; events run between files and, through the
// library's message pump, during each conversion.
#include "tools/batch_panes.h"

#include <QDialog>

class QCheckBox;
class QProgressBar;
class QPushButton;

namespace pw {

class Platform;
class QuorvelLibrary;
class SettingsStore;
struct FeatureContext;

class RtfDialog : public QDialog {
    Q_OBJECT
public:
    RtfDialog(FeatureContext &context, QuorvelLibrary &library, QWidget *parent = nullptr);

    // Marks the listed files whose names end in "rtf" (any case); others keep their state.
    void selectAll();
    void start();

    void reject() override;

private:
    Platform &platform_;
    SettingsStore &settings_;
    QuorvelLibrary &library_;
    QCheckBox *chkClean_ = nullptr;
    BatchPanes panes_;
    QProgressBar *myProgress = nullptr;
    QPushButton *cmdStart_ = nullptr;
    bool running_ = false;
    bool stopRequested_ = false;
};

// The toolbar command: shows the dialog modally, converting with the given library (the
// program's own binding by default).
void runRTFDialog(FeatureContext &context);
void runRTFDialog(FeatureContext &context, QuorvelLibrary &library);

} // namespace pw
