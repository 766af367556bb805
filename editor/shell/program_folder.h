#pragma once
#include <QString>

namespace pw {

// The folder that holds Template.html and the other program files: the executable's own
// folder when it has them (a build tree), else ../share/pagewick beside it (an install).
QString programFolder();

} // namespace pw
