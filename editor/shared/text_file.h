#pragma once
// Document files are bytes. A file that is valid UTF-8 is edited as UTF-8, any other as an
// 8-bit text whose bytes map one to one onto characters 0-255, so both round-trip exactly.
// In memory a document's line breaks are CR LF; the file's own break style is remembered
// and written back.
#include <QByteArray>
#include <QString>

namespace pw {

enum class LineStyle { CrLf, Lf, Cr };

struct TextEncoding {
    bool utf8 = false;
    bool bom = false;
    LineStyle lines = LineStyle::CrLf;
    bool operator==(const TextEncoding &) const = default;
};

// The largest document that loads is one byte short of this.
constexpr qint64 kDocumentSizeLimit = 1000000;

struct ReadResult {
    enum Status { Ok, TooLarge, Error } status = Error;
    QString text;          // CR LF line breaks
    TextEncoding encoding; // how the file was written
};

// Reads the bytes of a whole regular file of fewer than `limit` bytes into `bytes`. Error
// (with the reason in `error`, when given) for anything else that cannot be read whole.
ReadResult::Status ReadFileBytes(const QString &path, qint64 limit, QByteArray *bytes,
                                 QString *error = nullptr);

// Reads a whole regular file; files of `limit` bytes or more are refused, and so are files
// with NUL bytes or (in UTF-8) paragraph separators, which the edit box could not hold
// without changing them.
ReadResult ReadTextFile(const QString &path, qint64 limit = kDocumentSizeLimit);

// Decodes bytes as ReadTextFile does (without the size and NUL checks).
ReadResult DecodeText(const QByteArray &bytes);

// Encodes a CR LF text in the given encoding and break style. A character that the 8-bit
// encoding cannot hold makes the whole text UTF-8 instead, so nothing is ever dropped;
// `usedEncoding` (when given) receives what was used.
QByteArray EncodeText(const QString &crlfText, const TextEncoding &encoding,
                      TextEncoding *usedEncoding = nullptr);

// Writes bytes to a temporary file beside the target and renames it over the target, so a
// failed write leaves the old file whole. Returns false (with a reason) on failure.
bool WriteFileAtomically(const QString &path, const QByteArray &bytes, QString *error = nullptr);

} // namespace pw
