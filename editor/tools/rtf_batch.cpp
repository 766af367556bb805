#include "tools/rtf_batch.h"

#include "shared/paths.h"
#include "shared/safe_write.h"
#include "shared/text_file.h"
#include "tools/quorvel_loader.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

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

namespace {

// Converts into a temporary file beside the target and, on success, puts it in the
// target's place; on failure nothing of the target is touched.
bool ConvertOne(QuorvelLibrary &library, const QString &source, const QString &target,
                QString *error)
{
    const QFileInfo targetInfo(target);
    QTemporaryFile scratch(targetInfo.absolutePath() + QStringLiteral("/.") +
                           targetInfo.fileName() + QStringLiteral(".XXXXXX"));
    if (!scratch.open()) {
        *error = scratch.errorString();
        return false;
    }
    scratch.close();
    if (!library.convertFile(source, scratch.fileName(), 0, kRtfTitle, kRtfHeadTags,
                             kRtfBodyOptions, kRtfFontName, 0)) {
        *error = library.errorString();
        return false;
    }
    QFile converted(scratch.fileName());
    if (!converted.open(QIODevice::ReadOnly)) {
        *error = converted.errorString();
        return false;
    }
    const QByteArray bytes = converted.readAll();
    if (converted.error() != QFileDevice::NoError) {
        *error = converted.errorString();
        return false;
    }
    return writeFileSafely(target, bytes, error);
}

} // namespace

RtfBatchResult ConvertRtfFiles(QuorvelLibrary &library, const QString &directory,
                               const QStringList &names,
                               const std::function<bool(int done)> &afterFile)
{
    RtfBatchResult result;
    QString prefix = directory;
    WithTrailingBackslash(prefix);
    for (const QString &name : names) {
        const QString source = prefix + name;
        const std::optional<QString> target = RtfTargetPath(source);
        QString error;
        if (!target) {
            error = QStringLiteral("The file name is too short");
        } else if (ConvertOne(library, source, *target, &error)) {
            ++result.converted;
            if (afterFile && !afterFile(result.converted))
                return result;
            continue;
        }
        result.ok = false;
        result.failedName = name;
        result.error = error;
        return result;
    }
    return result;
}

} // namespace pw
