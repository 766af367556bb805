#include "shared/text_file.h"

#include "shared/edit_box.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace pw {

static LineStyle detectLineStyle(const QByteArray &bytes)
{
    qsizetype crlf = 0, lf = 0, cr = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c == '\r') {
            if (i + 1 < n && bytes[i + 1] == '\n') {
                ++crlf;
                ++i;
            } else {
                ++cr;
            }
        } else if (c == '\n') {
            ++lf;
        }
    }
    if (crlf == 0 && cr == 0 && lf > 0)
        return LineStyle::Lf;
    if (crlf == 0 && lf == 0 && cr > 0)
        return LineStyle::Cr;
    return LineStyle::CrLf;
}

ReadResult DecodeText(const QByteArray &bytes)
{
    ReadResult result;
    result.status = ReadResult::Ok;
    result.encoding.lines = detectLineStyle(bytes);
    QByteArrayView body(bytes);
    if (body.startsWith("\xEF\xBB\xBF")) {
        result.encoding.bom = true;
        body = body.sliced(3);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8(body);
    if (!utf8.hasError()) {
        result.encoding.utf8 = true;
    } else {
        // Not UTF-8: every byte stands for the character with the same number.
        result.encoding.bom = false;
        decoded = QString::fromLatin1(bytes);
    }
    result.text = ToCrLf(decoded);
    return result;
}

ReadResult::Status ReadFileBytes(const QString &path, qint64 limit, QByteArray *bytes,
                                 QString *error)
{
    // Only regular files: a device or a pipe reports no length and may never end (or, for
    // a pipe, never open), and the program would hang reading it.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        if (error)
            *error = QStringLiteral("Not a regular file");
        return ReadResult::Error;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return ReadResult::Error;
    }
    if (file.size() >= limit)
        return ReadResult::TooLarge;
    // Never more than the limit, whatever length the file claimed (it may have grown since,
    // or be one whose size the system does not know).
    *bytes = file.read(limit);
    if (bytes->size() >= limit)
        return ReadResult::TooLarge;
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return ReadResult::Error;
    }
    return ReadResult::Ok;
}

ReadResult ReadTextFile(const QString &path, qint64 limit)
{
    QByteArray bytes;
    ReadResult refused;
    refused.status = ReadFileBytes(path, limit, &bytes);
    if (refused.status != ReadResult::Ok)
        return refused;
    if (bytes.contains('\0'))
        return {};
    ReadResult read = DecodeText(bytes);
    // The edit box turns a paragraph separator (and the two characters it uses to mark
    // frames) into a line break, so saving would change the file.
    for (const QChar c : std::as_const(read.text)) {
        if (c == QChar::ParagraphSeparator || c.unicode() == 0xFDD0 || c.unicode() == 0xFDD1)
            return {};
    }
    return read;
}

QByteArray EncodeText(const QString &crlfText, const TextEncoding &encoding,
                      TextEncoding *usedEncoding)
{
    QString text = crlfText;
    if (encoding.lines == LineStyle::Lf)
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    else if (encoding.lines == LineStyle::Cr)
        text.replace(QLatin1String("\r\n"), QLatin1String("\r"));

    TextEncoding used = encoding;
    if (!used.utf8) {
        for (QChar c : std::as_const(text)) {
            if (c.unicode() > 0xFF) {
                used.utf8 = true;
                break;
            }
        }
    }
    if (usedEncoding)
        *usedEncoding = used;
    if (!used.utf8)
        return text.toLatin1();
    QByteArray bytes = used.bom ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    bytes += text.toUtf8();
    return bytes;
}

bool WriteFileAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    // The rename would replace even a file the user made read-only; refuse as a direct
    // write would. A file whose owner may not write it counts as read-only for every user,
    // the administrator included.
    const QFileInfo target(path);
    if (target.exists()
        && (!target.isFile() || !target.isWritable()
            || !(target.permissions() & QFileDevice::WriteOwner))) {
        if (error)
            *error = QStringLiteral("The file is read-only");
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace pw
