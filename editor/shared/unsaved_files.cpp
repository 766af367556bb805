#include "shared/unsaved_files.h"

#include "shared/platform.h"

#include <QStringList>

namespace pw {

void reportUnsavedFiles(Platform &platform, const QVector<UnsavedFile> &files)
{
    QStringList names;
    QStringList reasons;
    for (const UnsavedFile &file : files) {
        names << file.name;
        if (!file.reason.isEmpty())
            reasons << file.name + QStringLiteral(": ") + file.reason;
    }
    platform.messageBox(QStringLiteral("Sorry..."),
                        QStringLiteral("These Files Could Not Be Saved:\r\n")
                            + names.join(QStringLiteral("\r\n")),
                        MsgButtons::Ok, MsgIcon::Information, reasons.join(u'\n'));
}

} // namespace pw
