#include "tools/rtf_batch.h"

#include "shared/paths.h"
#include "tools/quorvel_loader.h"

namespace pw {

std::optional<QString> RtfTargetPath(const QString &sourcePath)
{
    if (sourcePath.size() - DirectoryOfPath(sourcePath).size() < 3)
        return std::nullopt;
    return sourcePath.chopped(3) + QStringLiteral("html");
}

bool IsRtfName(const QString &name)
{
    return name.right(3).toLower() == QStringLiteral("rtf");
}

RtfBatchResult ConvertRtfFiles(QuorvelLibrary &library, const QString &directory,
                               const QStringList &names,
                               const std::function<bool(int done)> &afterFile)
{
    RtfBatchResult result;
    for (const QString &name : names) {
        const QString source = joinPath(directory, name);
        const std::optional<QString> target = RtfTargetPath(source);
        if (!target || !library.convertFile(source, *target, 0, kRtfTitle, kRtfHeadTags,
                                            kRtfBodyOptions, kRtfFontName, 0)) {
            result.ok = false;
            result.failedName = name;
            result.error = target ? library.errorString()
                                  : QStringLiteral("The file name is too short");
            return result;
        }
        ++result.converted;
        if (afterFile && !afterFile(result.converted))
            return result;
    }
    return result;
}

} // namespace pw
