#include "shared/unsaved_files.h"

#include "shared/platform.h"

namespace pw {

void reportUnsavedFiles(Platform &platform, const QStringList &names, const QString &detail)
{
    platform.messageBox(QStringLiteral("Sorry..."),
                        QStringLiteral("These Files Could Not Be Saved:\r\n")
                            + names.join(QStringLiteral("\r\n")),
                        MsgButtons::Ok, MsgIcon::Information, detail);
}

} // namespace pw
