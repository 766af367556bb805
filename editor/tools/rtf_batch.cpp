#include "tools/rtf_batch.h"

#include "files/paths.h"
#include "tools/quorvel_loader.h"

namespace pw {

std::optional<QString> rtfTargetPath(const QString &sourcePath)
{
    if (sourcePath.size() - directoryOfPath(sourcePath).size() < 3)
        return std::nullopt;
    return sourcePath.chopped(3) + QStringLiteral("html");
}

bool isRtfName(const QString &name)
{
    return name.right(3).toLower() == QStringLiteral("rtf");
}

RtfBatchResult convertRtfFiles(QuorvelLibrary &library, const QString &directory,
                               const QStringList &names,
                               const std::function<bool(int done)> &afterFile, bool clean)
{
    RtfBatchResult result;
    for (const QString &name : names) {
        const QString source = joinPath(directory, name);
        const std::optional<QString> target = rtfTargetPath(source);
        const bool converted =
            target
            && (clean ? library.convertClean(source, *target, QUORVEL_CLEAN_PAGE)
                      : library.convertFile(source, *target, 0, kRtfTitle, kRtfHeadTags,
                                            kRtfBodyOptions, kRtfFontName, 0));
        if (!converted) {
            result.ok = false;
            result.failedName = name;
            result.error =
                target ? library.errorString() : QStringLiteral("The file name is too short");
            return result;
        }
        ++result.converted;
        if (afterFile && !afterFile(result.converted))
            return result;
    }
    return result;
}

} // namespace pw
