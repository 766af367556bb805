#include "tools/file_replace.h"

#include "files/text_file.h"
#include "shared/safe_write.h"
#include "tools/text_replace.h"

#include <algorithm>

namespace pw {

bool isBinaryContent(const QByteArray &bytes)
{
    return QByteArrayView(bytes).first(std::min(bytes.size(), kBinaryProbeSize)).contains('\0');
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

FileReplaceResult replaceInFile(const QString &path, const QString &what, const QString &with)
{
    FileReplaceResult result;
    if (what.isEmpty())
        return result;
    QByteArray bytes;
    FileStamp read;
    switch (readFileBytes(path, kDocumentSizeLimit, &bytes, &result.error, &read)) {
    case ReadResult::Ok:
        break;
    case ReadResult::TooLarge:
        result.status = FileReplaceResult::TooLarge;
        return result;
    case ReadResult::Error:
        result.status = FileReplaceResult::Unreadable;
        return result;
    }

    if (isBinaryContent(bytes)) {
        result.status = FileReplaceResult::Binary;
        return result;
    }

    qint64 count = 0;
    const std::optional<QByteArray> changed =
        replaceInBytes(bytes, what, with, &count, &result.text);
    result.count = count;
    if (!changed) {
        result.status = FileReplaceResult::NotWritten;
        result.error = QStringLiteral("The replacement cannot be written in the file's encoding");
        return result;
    }
    if (count == 0)
        return result;
    result.status = writeUnlessChanged(path, *changed, read, &result.error);
    return result;
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
