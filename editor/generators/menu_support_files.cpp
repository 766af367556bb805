#include "generators/menu_support_files.h"

#include "shared/paths.h"
#include "shared/safe_write.h"
#include "shared/text_file.h"

namespace pw {

QStringList menuSupportFileNames()
{
    return {QStringLiteral("true.gif"), QStringLiteral("false.gif"), QStringLiteral("list.js")};
}

QVector<UnsavedFile> copyMenuSupportFiles(const QString &programFolder, const QString &pagePath)
{
    // The support files are small; anything this large is not one of them.
    constexpr qint64 kSupportFileLimit = 16 * 1024 * 1024;
    const QString folder = directoryOfPath(pagePath);
    QVector<UnsavedFile> failed;
    for (const QString &name : menuSupportFileNames()) {
        const QString target = folder + name;
        if (fileIsPresent(target))
            continue;
        QByteArray bytes;
        QString error;
        const QString source = joinPath(programFolder, name);
        if (readFileBytes(source, kSupportFileLimit, &bytes, &error) != ReadResult::Ok)
            failed.push_back(
                {target, source + QStringLiteral(": ")
                             + (error.isEmpty() ? QStringLiteral("too large") : error)});
        else if (!writeFileSafely(target, bytes, &error))
            failed.push_back({target, error});
    }
    return failed;
}

} // namespace pw
