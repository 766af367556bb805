#include "tools/file_replace.h"

#include "shared/text_file.h"
#include "tools/text_replace.h"

#include <QStringDecoder>

namespace pw {

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

} // namespace

std::optional<QByteArray> ReplaceInBytes(const QByteArray &bytes, const QString &what,
                                         const QString &with, qint64 *count, QString *text)
{
    *count = 0;
    const bool bom = bytes.startsWith(kUtf8Bom);
    const QByteArrayView body = bom ? QByteArrayView(bytes).sliced(3) : QByteArrayView(bytes);

    // UTF-8 only when decoding and encoding again gives the very same bytes; then every
    // untouched stretch of the text is written back as it was read.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8(body);
    bool isUtf8 = !utf8.hasError() && decoded.toUtf8() == body;
    if (!isUtf8)
        decoded = QString::fromLatin1(bytes);

    ReplaceAllResult result = ReplaceAll(decoded, what, with);
    *count = result.count;
    if (text)
        *text = result.text;
    if (result.count == 0)
        return bytes;
    if (isUtf8)
        return bom ? kUtf8Bom + result.text.toUtf8() : result.text.toUtf8();
    // An 8-bit file holds characters 0-255 only; anything else would have to change the
    // whole file's encoding.
    for (QChar c : with) {
        if (c.unicode() > 0xFF)
            return std::nullopt;
    }
    return result.text.toLatin1();
}

FileReplaceResult ReplaceInFile(const QString &path, const QString &what, const QString &with)
{
    FileReplaceResult result;
    if (what.isEmpty())
        return result;
    QByteArray bytes;
    switch (ReadFileBytes(path, kDocumentSizeLimit, &bytes, &result.error)) {
    case ReadResult::Ok:
        break;
    case ReadResult::TooLarge:
        result.status = FileReplaceResult::TooLarge;
        return result;
    case ReadResult::Error:
        result.status = FileReplaceResult::Unreadable;
        return result;
    }

    qint64 count = 0;
    const std::optional<QByteArray> changed =
        ReplaceInBytes(bytes, what, with, &count, &result.text);
    result.count = count;
    if (!changed) {
        result.status = FileReplaceResult::NotWritten;
        result.error = QStringLiteral("The replacement cannot be written in the file's encoding");
        return result;
    }
    if (count == 0)
        return result;
    if (!WriteFileAtomically(path, *changed, &result.error)) {
        result.status = FileReplaceResult::NotWritten;
        return result;
    }
    result.status = FileReplaceResult::Changed;
    return result;
}

} // namespace pw
