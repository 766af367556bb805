#pragma once
#include <QString>
#include <memory>

class QWidget;

namespace pw {

// The start routine: the splash while the main window loads, then the main window until it
// closes. Returns the program's exit code.
int startUp(const QString &commandLine);

// The splash window frmSplash with the logo imgLogo from the program folder.
std::unique_ptr<QWidget> createSplash(const QString &programFolder);

} // namespace pw
