#pragma once
// A command that writes several files reports those it could not write in one message, and
// shows its success message only when there are none.
#include <QString>
#include <QStringList>

namespace pw {

class Platform;

// "These Files Could Not Be Saved:" and the names, one to a line; `detail` (why, when
// known) is shown on request.
void reportUnsavedFiles(Platform &platform, const QStringList &names,
                        const QString &detail = QString());

} // namespace pw
