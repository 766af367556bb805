#pragma once
// The drive, directory and file panes as the batch tools lay them out: MyDrive, MyDirectory
// and MyFileList, kept in step, opened on the main window's drive and directory. One click
// on a folder chooses it: the file list shows that folder's files.
#include "shared/file_panes.h"

class QPushButton;
class QVBoxLayout;

namespace pw {

struct FeatureContext;

struct BatchPanes {
    DriveList *drive = nullptr;
    DirectoryList *directory = nullptr;
    FileList *files = nullptr;
    FilePanes *panes = nullptr;
    QPushButton *selectAll = nullptr;  // cmdSelectAll, made by addSteps
    QPushButton *selectNone = nullptr; // cmdSelectNone, made by addSteps

    // Creates the three panes as children of `owner`, every file listed, several
    // selectable, and opens them where the main window's panes are.
    static BatchPanes create(QWidget *owner, FeatureContext &context);

    // Lays out the first two steps every batch dialog starts with: choosing the directory
    // (Label1, the drive and directory lists) and selecting files (Label2 with the given
    // caption, the file list, Select All and Select None). Select None clears the file
    // list's selection; what Select All marks is the dialog's to say.
    void addSteps(QVBoxLayout *layout, const char *selectCaption);

    // While a run goes on the panes and the selection buttons take no input, so the run
    // works on what was chosen when it started; false gives them back.
    void setLocked(bool locked);
};

} // namespace pw
