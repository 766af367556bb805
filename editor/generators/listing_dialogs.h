#pragma once
// The directory listing tool: a small wizard (frmExportWizard) where the format is chosen,
// then frmFileManDialog, where the directory and the page file are chosen and the page is
// written. Both stay open beside the main window (modeless); one of each at a time.
#include "document/feature_context.h"
#include "shared/tool_window.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace pw {

class DirectoryList;
class DriveList;
class FileList;
class FilePanes;

class ExportWizard : public QDialog {
    Q_OBJECT
public:
    explicit ExportWizard(const FeatureContext &context, QWidget *parent = nullptr);

    // Sets the listing style from the chosen option, opens the file management dialog and
    // closes the wizard.
    void next();

private:
    void showPreview(int option);

    FeatureContext context_;
    QButtonGroup *choices_ = nullptr;
    QList<QLabel *> previews_;
};

class FileManDialog : public ToolWindow {
    Q_OBJECT
public:
    explicit FileManDialog(const FeatureContext &context, QWidget *parent = nullptr);

    // Writes the page for the chosen directory in the current listing style.
    void start();

private:
    void browse();
    void back();
    void about();
    void setLocked(bool locked);

    FeatureContext context_;
    DriveList *drive_ = nullptr;
    DirectoryList *directory_ = nullptr;
    FileList *files_ = nullptr;
    FilePanes *panes_ = nullptr;
    QLineEdit *txtFileName_ = nullptr;
    QCheckBox *chkUnderline_ = nullptr;
    QProgressBar *myProgress_ = nullptr;
    QPushButton *cmdBrowse_ = nullptr;
    QPushButton *cmdBack_ = nullptr;
    QPushButton *cmdStart_ = nullptr;
};

// The toolbar command: shows the wizard (the one already open, or a new one).
ExportWizard *openExportWizard(const FeatureContext &context);
// Shows the file management dialog (the one already open, or a new one).
FileManDialog *openFileManDialog(const FeatureContext &context);

} // namespace pw
