#pragma once
// Document files are bytes, and saving an unchanged document gives the same bytes back. A
// file that is valid UTF-8 is edited as UTF-8 (every byte-order mark kept); any other as an
// 8-bit Windows-1252 text in which every byte stands for its own character, the five bytes
// that code page leaves unassigned included. In memory a document's line breaks are CR LF;
// the file's own break style, and whether its last line ends with a break, are remembered
// and written back.
#include <QByteArray>
#include <QString>
#include <optional>

namespace pw {

enum class LineStyle { CrLf, Lf, Cr };

// The character sets a document is written in. An 8-bit file that uses none of the bytes
// 0x80-0x9F is Latin1: Windows-1252 and ISO 8859-1 read it alike, and it keeps that
// property, so characters only the code page has (the euro, curly quotes) do not fit in it.
// ISO 8859-1 and ISO 8859-15 are never guessed, only chosen: in the first every byte is the
// character of its own number (0x80-0x9F the control characters), the second puts the euro
// and seven other letters in place of eight signs of the first.
enum class Charset { Utf8, Latin1, Windows1252, Iso88591, Iso885915 };

struct TextEncoding {
    Charset charset = Charset::Utf8;
    bool bom = false;                  // UTF-8 only: the file starts with a byte-order mark
    LineStyle lines = LineStyle::CrLf; // the file's break style (its most common one)
    bool mixedLines = false;           // the file used more than one break style
    bool finalBreak = true;            // the text ends with a line break; false keeps it so
    bool operator==(const TextEncoding &) const = default;
};

// The names the status line gives an encoding: "UTF-8", "UTF-8 with BOM", "Windows-1252"
// (an 8-bit file is read as Windows-1252 whether or not it uses the bytes only that code page
// has), "ISO-8859-1" or "ISO-8859-15"; and a break style: "CR LF", "LF" or "CR".
QString charsetName(const TextEncoding &encoding);
QString lineStyleName(LineStyle style);

// How a document that does not come from a file of its own (a new one, started from the
// template) is written: CR LF breaks, one at the end.
TextEncoding newDocumentEncoding(TextEncoding templateEncoding);

// What tells that another program changed a file: its size and modification time, and
// which file it is (device and inode) with the time its inode last changed, which no program
// can set back: a file replaced by another of the same size and time still shows.
struct FileStamp {
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0; // nanoseconds since the epoch
    quint64 device = 0;
    quint64 inode = 0;
    qint64 statusChangedNs = 0;
    bool operator==(const FileStamp &) const = default;
};

// A digest of a file's bytes (SHA-256), to tell whether the bytes on disk are still those
// that were loaded or saved.
QByteArray bytesDigest(const QByteArray &bytes);
// Whether the file at `path` is no longer what was loaded or saved with `stamp` and (when
// not empty) `digest`: another file under the name, another size or modification time, or
// (when its inode changed) other bytes. A file that is gone counts as unchanged: there is
// nothing to lose.
bool changedOnDisk(const QString &path, const FileStamp &stamp, const QByteArray &digest);

// The stamp of the file at `path` now (a link is followed); `exists` false when there is none.
FileStamp stampOfFile(const QString &path);

// The largest document that loads is one byte short of this.
constexpr qint64 kDocumentSizeLimit = 1000000;

struct ReadResult {
    enum Status { Ok, TooLarge, Error } status = Error;
    QString text;          // CR LF line breaks
    TextEncoding encoding; // how the file was written
    FileStamp stamp;       // the file as it was when read
    QByteArray digest;     // bytesDigest of the bytes read
    QString error;         // Error: why the file was refused
};

// Reads the bytes of a whole regular file of fewer than `limit` bytes into `bytes`. Error
// (with the reason in `error`, when given) for anything else that cannot be read whole.
// `stamp` (when given) receives the file's stamp taken as it was opened.
ReadResult::Status readFileBytes(const QString &path, qint64 limit, QByteArray *bytes,
                                 QString *error = nullptr, FileStamp *stamp = nullptr);

// Reads a whole regular file; files of `limit` bytes or more are refused, and so are files
// with NUL bytes or (in UTF-8) paragraph separators, which the edit box could not hold
// without changing them. With `charset` the file is read in that character set rather than
// the one it looks like; a file that is not valid UTF-8 is refused as UTF-8.
ReadResult readTextFile(const QString &path, qint64 limit = kDocumentSizeLimit,
                        std::optional<Charset> charset = std::nullopt);

// Decodes bytes as readTextFile does (without the size and NUL checks); Error only when the
// chosen `charset` is UTF-8 and the bytes are not.
ReadResult decodeText(const QByteArray &bytes, std::optional<Charset> charset = std::nullopt);

// Encodes a CR LF text in the given encoding and break style, with one final break added
// when `encoding.finalBreak` asks for it and the text lacks it. Nothing when a character
// does not fit the character set: the caller decides whether to change it.
std::optional<QByteArray> encodeText(const QString &crlfText, const TextEncoding &encoding);

// The lower layer, for code that edits file bytes in place: the characters of the bytes
// with their line breaks as they are, and back. Decoding sets `charset` and `bom` of
// `encoding`; encoding writes the byte-order mark the encoding names, and gives nothing
// when a character does not fit.
QString decodeCharacters(const QByteArray &bytes, TextEncoding *encoding);
// Decodes in the given character set; nothing when it is UTF-8 and the bytes are not. A
// leading byte-order mark sets `bom` when read as UTF-8.
std::optional<QString> decodeCharactersAs(const QByteArray &bytes, Charset charset,
                                          TextEncoding *encoding);
std::optional<QByteArray> encodeCharacters(const QString &text, const TextEncoding &encoding);

} // namespace pw
