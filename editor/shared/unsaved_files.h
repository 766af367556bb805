#pragma once
// A command that writes several files asks once before it replaces any that exist, reports
// those it could not write in one message, and shows its success message only when there
// are none.
#include "files/paths.h"

#include <QString>
#include <QStringList>

namespace pw {

class Platform;

// "These Files Could Not Be Saved:" and the names, one to a line; `detail` (why, when
// known) is shown on request.
// Asks once, before anything is written, whether the files among `paths` that exist already
// may be replaced: "These Files Already Exist:", their names one to a line, "Replace Them?",
// Yes and No. True when none exists or the answer was Yes; on No the command writes nothing.
bool confirmReplacing(Platform &platform, const QString &title, const QStringList &paths);

// "These Files Were Skipped Because Their Names Are Not Valid UTF-8:" and the names as shown
// (U+FFFD for the bytes that do not decode); nothing when there are none.
void reportUnreadableNames(Platform &platform, const QStringList &names);
// "This File (Folder) Cannot Be Opened Because Its Name Is Not Valid UTF-8:" and the name as
// shown, for a pane entry that was opened.
void reportUnopenableName(Platform &platform, EntryKind kind, const QString &name);

void reportUnsavedFiles(Platform &platform, const QStringList &names,
                        const QString &detail = QString());

} // namespace pw
