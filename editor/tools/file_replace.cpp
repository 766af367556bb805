#include "tools/file_replace.h"

#include "files/text_file.h"
#include "shared/safe_write.h"
#include "tools/text_replace.h"

#include <algorithm>

namespace pw {

bool isBinaryContent(const QByteArray &bytes)
{
    return bytes.contains('\0');
}

std::optional<QByteArray> replaceInBytes(const QByteArray &bytes, const QString &what,
                                         const QString &with, qint64 *count, QString *text)
{
    *count = 0;
    // Decoded as the editor decodes a document, so every untouched stretch of the text is
    // written back as it was read.
    TextEncoding encoding;
    const QString decoded = decodeCharacters(bytes, &encoding);
    ReplaceAllResult result = replaceAll(decoded, what, with);
    *count = result.count;
    if (text)
        *text = result.text;
    if (result.count == 0)
        return bytes;
    // A character the file's encoding cannot hold would have to change the whole file's
    // encoding: nothing is written instead.
    return encodeCharacters(result.text, encoding);
}

FileReplacePlan planReplaceInFile(const QString &path, const QString &what, const QString &with)
{
    FileReplacePlan plan;
    FileReplaceResult &result = plan.result;
    if (what.isEmpty())
        return plan;
    QByteArray &bytes = plan.before;
    switch (readFileBytes(path, kDocumentSizeLimit, &bytes, &result.error, &plan.read)) {
    case ReadResult::Ok:
        break;
    case ReadResult::TooLarge:
        result.status = FileReplaceResult::TooLarge;
        return plan;
    case ReadResult::Error:
        result.status = FileReplaceResult::Unreadable;
        return plan;
    }

    if (isBinaryContent(bytes)) {
        result.status = FileReplaceResult::Binary;
        return plan;
    }

    qint64 count = 0;
    const std::optional<QByteArray> changed =
        replaceInBytes(bytes, what, with, &count, &result.text);
    result.count = count;
    if (!changed) {
        result.status = FileReplaceResult::NotWritten;
        result.error = QStringLiteral("The replacement cannot be written in the file's encoding");
        return plan;
    }
    if (count > 0) {
        result.status = FileReplaceResult::Changed;
        plan.after = *changed;
    }
    return plan;
}

FileReplaceResult replaceInFile(const QString &path, const QString &what, const QString &with)
{
    FileReplacePlan plan = planReplaceInFile(path, what, with);
    if (plan.result.status == FileReplaceResult::Changed)
        plan.result.status = writeUnlessChanged(path, plan.after, plan.read, &plan.result.error);
    return plan.result;
}

FileReplaceResult::Status writeUnlessChanged(const QString &path, const QByteArray &bytes,
                                             const FileStamp &read, QString *error)
{
    // Writing over another program's change would lose it.
    if (stampOfFile(path) != read) {
        *error = QStringLiteral("The file was changed by another program");
        return FileReplaceResult::NotWritten;
    }
    if (!writeFileSafely(path, bytes, error))
        return FileReplaceResult::NotWritten;
    return FileReplaceResult::Changed;
}

} // namespace pw
