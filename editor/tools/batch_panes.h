#pragma once
// The drive, directory and file panes as the batch tools lay them out: MyDrive, MyDirectory
// and MyFileList, kept in step, opened on the main window's drive and directory.
#include "shared/file_panes.h"

namespace pw {

struct FeatureContext;

struct BatchPanes {
    DriveList *drive = nullptr;
    DirectoryList *directory = nullptr;
    FileList *files = nullptr;
    FilePanes *panes = nullptr;

    // Creates the three panes as children of `owner`, every file listed, several
    // selectable, and opens them where the main window's panes are.
    static BatchPanes Create(QWidget *owner, FeatureContext &context);

    // The directory list's path with a separator appended (the path files are joined to).
    QString directoryPrefix() const;
};

} // namespace pw
