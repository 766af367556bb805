#include "shared/unsaved_files.h"

#include "files/paths.h"
#include "shared/platform.h"

#include <QFileInfo>

namespace pw {

bool confirmReplacing(Platform &platform, const QString &title, const QStringList &paths)
{
    QStringList existing;
    for (const QString &path : paths) {
        // A link counts as the file it leads to. A folder is not replaced by anything: the
        // write that follows reports it.
        const QFileInfo info(path);
        if ((info.exists() && !info.isDir()) || (info.isSymLink() && !info.exists()))
            existing << fileNameOfPath(path);
    }
    if (existing.isEmpty())
        return true;
    existing.removeDuplicates();
    return platform.messageBox(title,
                               QStringLiteral("These Files Already Exist:\r\n")
                                   + existing.join(QStringLiteral("\r\n"))
                                   + QStringLiteral("\r\nReplace Them?"),
                               MsgButtons::YesNo, MsgIcon::Question)
           == MsgAnswer::Yes;
}

void reportUnreadableNames(Platform &platform, const QStringList &names)
{
    if (names.isEmpty())
        return;
    platform.messageBox(QStringLiteral("Sorry..."),
                        QStringLiteral("These Files Were Skipped Because Their Names Are Not "
                                       "Valid UTF-8:\r\n")
                            + names.join(QStringLiteral("\r\n")),
                        MsgButtons::Ok, MsgIcon::Information);
}

void reportUnopenableName(Platform &platform, EntryKind kind, const QString &name)
{
    platform.messageBox(
        QStringLiteral("Sorry..."),
        QStringLiteral("This %1 Cannot Be Opened Because Its Name Is Not Valid "
                       "UTF-8:\r\n%2")
            .arg(kind == EntryKind::Files ? QStringLiteral("File") : QStringLiteral("Folder"),
                 name),
        MsgButtons::Ok, MsgIcon::Information);
}

void reportUnsavedFiles(Platform &platform, const QStringList &names, const QString &detail)
{
    platform.messageBox(QStringLiteral("Sorry..."),
                        QStringLiteral("These Files Could Not Be Saved:\r\n")
                            + names.join(QStringLiteral("\r\n")),
                        MsgButtons::Ok, MsgIcon::Information, detail);
}

} // namespace pw
