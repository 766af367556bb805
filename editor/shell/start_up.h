#pragma once
#include <QString>

namespace pw {

// The start routine: the splash while the main window loads, then the main window until it
// closes. Returns the program's exit code.
int StartUp(const QString &commandLine);

} // namespace pw
