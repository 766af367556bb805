#include "files/text_file.h"

#include "files/line_breaks.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <sys/stat.h>

#include <algorithm>
#include <array>

namespace pw {

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

// What Windows-1252 makes of the bytes 0x80-0x9F. The five it leaves unassigned stand for
// the control characters with their own numbers, so every byte reads as a character of its
// own and writes back as the same byte.
constexpr char16_t kCodePage80To9F[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 0x98
};

// The byte a character of the code page's 0x80-0x9F row is written as; -1 for any other.
int codePageByte(char16_t c)
{
    // Sorted by character once, searched in O(log 32) for each character written.
    static const auto sorted = [] {
        std::array<std::pair<char16_t, unsigned char>, 32> pairs{};
        for (int i = 0; i < 32; ++i)
            pairs[i] = {kCodePage80To9F[i], static_cast<unsigned char>(0x80 + i)};
        std::sort(pairs.begin(), pairs.end());
        return pairs;
    }();
    const auto it = std::lower_bound(sorted.begin(), sorted.end(), std::pair(c, uchar(0)));
    return it != sorted.end() && it->first == c ? it->second : -1;
}

// Where ISO 8859-15 differs from ISO 8859-1: the byte and the character it stands for.
constexpr std::pair<unsigned char, char16_t> kIso885915[8] = {
    {0xA4, 0x20AC}, {0xA6, 0x0160}, {0xA8, 0x0161}, {0xB4, 0x017D},
    {0xB8, 0x017E}, {0xBC, 0x0152}, {0xBD, 0x0153}, {0xBE, 0x0178},
};

char16_t iso885915Character(uchar byte)
{
    for (const auto &[b, c] : kIso885915) {
        if (b == byte)
            return c;
    }
    return byte;
}

// The byte of a character in ISO 8859-15; -1 when it has none.
int iso885915Byte(char16_t c)
{
    for (const auto &[b, ch] : kIso885915) {
        if (ch == c)
            return b;
        if (b == c)
            return -1; // the sign this byte stood for in ISO 8859-1 is gone
    }
    return c <= 0xFF ? int(c) : -1;
}

// Every byte as one character: the code page's row 0x80-0x9F when `codePage`, else the
// character of the byte's own number.
QString decodeEightBit(const QByteArray &bytes, Charset charset)
{
    QString decoded(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(decoded.data());
    for (const char byte : bytes) {
        const uchar b = static_cast<uchar>(byte);
        if (charset == Charset::Windows1252 && b >= 0x80 && b < 0xA0)
            *out++ = kCodePage80To9F[b - 0x80];
        else if (charset == Charset::Iso885915)
            *out++ = iso885915Character(b);
        else
            *out++ = b;
    }
    return decoded;
}

struct BreakCount {
    qsizetype crlf = 0, lf = 0, cr = 0;
};

BreakCount countBreaks(const QByteArray &bytes)
{
    BreakCount count;
    const qsizetype n = bytes.size();
    const char *data = bytes.constData();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = data[i];
        if (c == '\r') {
            if (i + 1 < n && data[i + 1] == '\n') {
                ++count.crlf;
                ++i;
            } else {
                ++count.cr;
            }
        } else if (c == '\n') {
            ++count.lf;
        }
    }
    return count;
}

// The most common style; a tie goes to CR LF, then LF.
LineStyle dominantStyle(const BreakCount &count)
{
    if (count.crlf >= count.lf && count.crlf >= count.cr)
        return LineStyle::CrLf;
    return count.lf >= count.cr ? LineStyle::Lf : LineStyle::Cr;
}

qint64 nanoseconds(const struct timespec &time)
{
    return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
}

FileStamp stampOf(const struct stat &info)
{
    return {true,
            qint64(info.st_size),
            nanoseconds(info.st_mtim),
            quint64(info.st_dev),
            quint64(info.st_ino),
            nanoseconds(info.st_ctim)};
}

} // namespace

QString charsetName(const TextEncoding &encoding)
{
    switch (encoding.charset) {
    case Charset::Utf8:
        return encoding.bom ? QStringLiteral("UTF-8 with BOM") : QStringLiteral("UTF-8");
    case Charset::Iso88591:
        return QStringLiteral("ISO-8859-1");
    case Charset::Iso885915:
        return QStringLiteral("ISO-8859-15");
    case Charset::Latin1:
    case Charset::Windows1252:
        break;
    }
    return QStringLiteral("Windows-1252");
}

QString lineStyleName(LineStyle style)
{
    switch (style) {
    case LineStyle::CrLf:
        return QStringLiteral("CR LF");
    case LineStyle::Lf:
        return QStringLiteral("LF");
    case LineStyle::Cr:
        return QStringLiteral("CR");
    }
    return {};
}

TextEncoding newDocumentEncoding(TextEncoding templateEncoding)
{
    templateEncoding.lines = LineStyle::CrLf;
    templateEncoding.mixedLines = false;
    templateEncoding.finalBreak = true;
    return templateEncoding;
}

QByteArray bytesDigest(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

bool changedOnDisk(const QString &path, const FileStamp &stamp, const QByteArray &digest)
{
    const FileStamp now = stampOfFile(path);
    if (!now.exists)
        return false;
    FileStamp same = now;
    same.statusChangedNs = stamp.statusChangedNs;
    if (same != stamp)
        return true; // another file, or another size or time
    // The inode changed (a write with its time set back, but also a change of rights) or
    // nothing shows on a file system whose times are coarse: the bytes decide, where known.
    if (digest.isEmpty())
        return now.statusChangedNs != stamp.statusChangedNs;
    QByteArray bytes;
    // A file grown past what any document holds is changed too.
    return readFileBytes(path, kDocumentSizeLimit, &bytes) != ReadResult::Ok
           || bytesDigest(bytes) != digest;
}

FileStamp stampOfFile(const QString &path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return stampOf(info);
}

QString decodeCharacters(const QByteArray &bytes, TextEncoding *encoding)
{
    QByteArrayView body(bytes);
    const bool bom = body.startsWith(kUtf8Bom);
    if (bom)
        body = body.sliced(3);
    // A second mark is text like any other character: the decoder must not drop it.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString decoded = utf8(body);
    // UTF-8 only when encoding the characters again gives the very same bytes.
    if (!utf8.hasError() && decoded.toUtf8() == body) {
        encoding->charset = Charset::Utf8;
        encoding->bom = bom;
        return decoded;
    }
    encoding->bom = false;
    const bool codePage =
        std::ranges::any_of(bytes, [](char c) { return uchar(c) >= 0x80 && uchar(c) < 0xA0; });
    encoding->charset = codePage ? Charset::Windows1252 : Charset::Latin1;
    return decodeEightBit(bytes, Charset::Windows1252);
}

std::optional<QString> decodeCharactersAs(const QByteArray &bytes, Charset charset,
                                          TextEncoding *encoding)
{
    if (charset != Charset::Utf8) {
        encoding->charset = charset;
        encoding->bom = false;
        return decodeEightBit(bytes, charset);
    }
    TextEncoding found;
    QString decoded = decodeCharacters(bytes, &found);
    if (found.charset != Charset::Utf8)
        return std::nullopt;
    encoding->charset = Charset::Utf8;
    encoding->bom = found.bom;
    return decoded;
}

std::optional<QByteArray> encodeCharacters(const QString &text, const TextEncoding &encoding)
{
    if (encoding.charset == Charset::Utf8)
        return encoding.bom ? kUtf8Bom + text.toUtf8() : text.toUtf8();
    const bool codePage = encoding.charset == Charset::Windows1252;
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (encoding.charset == Charset::Iso885915) {
            const int byte = iso885915Byte(c);
            if (byte < 0)
                return std::nullopt;
            *out++ = static_cast<char>(byte);
            continue;
        }
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)
            || (encoding.charset == Charset::Iso88591 && c <= 0xFF)) {
            *out++ = static_cast<char>(c);
            continue;
        }
        // Latin1 stays free of the bytes 0x80-0x9F, so it reads the same either way.
        const int byte = codePage ? codePageByte(c) : -1;
        if (byte < 0)
            return std::nullopt;
        *out++ = static_cast<char>(byte);
    }
    return bytes;
}

ReadResult decodeText(const QByteArray &bytes, std::optional<Charset> charset)
{
    ReadResult result;
    result.status = ReadResult::Ok;
    const BreakCount breaks = countBreaks(bytes);
    result.encoding.lines = dominantStyle(breaks);
    result.encoding.mixedLines = (breaks.crlf > 0) + (breaks.lf > 0) + (breaks.cr > 0) > 1;
    result.encoding.finalBreak = bytes.endsWith('\n') || bytes.endsWith('\r');
    if (!charset) {
        result.text = toCrLf(decodeCharacters(bytes, &result.encoding));
        return result;
    }
    const std::optional<QString> decoded = decodeCharactersAs(bytes, *charset, &result.encoding);
    if (!decoded) {
        result.status = ReadResult::Error;
        result.error = QStringLiteral("The file is not valid UTF-8.");
        return result;
    }
    result.text = toCrLf(*decoded);
    return result;
}

ReadResult::Status readFileBytes(const QString &path, qint64 limit, QByteArray *bytes,
                                 QString *error, FileStamp *stamp)
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
    // Taken before reading: a change made while the file is read shows as a change.
    struct stat opened;
    if (stamp && ::fstat(file.handle(), &opened) == 0)
        *stamp = stampOf(opened);
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

ReadResult readTextFile(const QString &path, qint64 limit, std::optional<Charset> charset)
{
    QByteArray bytes;
    ReadResult refused;
    FileStamp stamp;
    refused.status = readFileBytes(path, limit, &bytes, &refused.error, &stamp);
    if (refused.status != ReadResult::Ok)
        return refused;
    refused.status = ReadResult::Error;
    if (bytes.contains('\0')) {
        refused.error = QStringLiteral("The file holds binary data (NUL bytes), not text.");
        return refused;
    }
    ReadResult read = decodeText(bytes, charset);
    if (read.status != ReadResult::Ok)
        return read;
    read.stamp = stamp;
    read.digest = bytesDigest(bytes);
    // The edit box turns a paragraph separator (and the two characters it uses to mark
    // frames) into a line break, so saving would change the file.
    for (const QChar c : std::as_const(read.text)) {
        if (c == QChar::ParagraphSeparator || c.unicode() == 0xFDD0 || c.unicode() == 0xFDD1) {
            refused.error = QStringLiteral("The file holds characters the editor would change "
                                           "on saving (U+%1).")
                                .arg(c.unicode(), 4, 16, QLatin1Char('0'))
                                .toUpper();
            return refused;
        }
    }
    return read;
}

std::optional<QByteArray> encodeText(const QString &crlfText, const TextEncoding &encoding)
{
    QString text = crlfText;
    if (encoding.finalBreak && !text.endsWith(QLatin1String("\r\n")))
        text += QLatin1String("\r\n");
    if (encoding.lines == LineStyle::Lf)
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    else if (encoding.lines == LineStyle::Cr)
        text.replace(QLatin1String("\r\n"), QLatin1String("\r"));
    return encodeCharacters(text, encoding);
}

} // namespace pw
