#include "shell/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace pw {

QString programFolder()
{
    const QDir executableDir(QCoreApplication::applicationDirPath());
    if (QFileInfo::exists(executableDir.filePath(QStringLiteral("Template.html"))))
        return executableDir.absolutePath();
    return QDir::cleanPath(executableDir.filePath(QStringLiteral("../share/pagewick")));
}

} // namespace pw
