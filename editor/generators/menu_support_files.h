#pragma once
// A script menu page (the menu generator's, and the directory listing's menu format) needs
// the List script and the two topic pictures beside it. They are copied from the program
// folder, and a file of the same name already there is kept: the author may have changed it.
#include "shared/unsaved_files.h"

#include <QStringList>

namespace pw {

// The support files, in the order they are copied.
QStringList menuSupportFileNames();

// Copies every support file that is not there yet from `programFolder` into the folder of
// the page at `pagePath` (the folder part of the path; the current directory when it has
// none). Returns the targets that could not be written, with the reason for each.
QVector<UnsavedFile> copyMenuSupportFiles(const QString &programFolder, const QString &pagePath);

} // namespace pw
