// The one document: loading, the save prompt, Save, Save As and Close.
#include "document/document.h"

#include "files/paths.h"
#include "shared/edit_box.h"
#include "shared/insertion.h"
#include "shared/program_state.h"
#include "shared/safe_write.h"
#include "shared/unsaved_files.h"

#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <utility>

namespace pw {

namespace {
const QString kSorry = QStringLiteral("Sorry...");
const QString kSaveQuestion = QStringLiteral("Save...");
} // namespace

Document::Document(EditBox &edit, Platform &platform, const ProgramState &state, QObject *parent)
    : QObject(parent), edit_(edit), platform_(platform), state_(state)
{
    setObjectName(QStringLiteral("document"));
    // Runs for every keystroke: only the first change after a load or save is news.
    connect(edit_.widget(), &QPlainTextEdit::textChanged, this, [this] {
        if (!modified_ && !replacingText_)
            setModified(true);
    });
}

QString Document::statusName() const
{
    switch (kind_) {
    case Kind::None:
        return kReady;
    case Kind::Untitled:
        return kUntitled;
    case Kind::File:
        break;
    }
    return path_;
}

void Document::setKind(Kind kind, const QString &path)
{
    kind_ = kind;
    path_ = path;
    emit identityChanged();
}

void Document::setModified(bool modified)
{
    if (modified_ == modified)
        return;
    modified_ = modified;
    emit modifiedChanged(modified);
}

void Document::setText(const QString &text)
{
    const QScopedValueRollback replacing(replacingText_, true);
    edit_.setText(text);
}

void Document::setEncoding(const TextEncoding &encoding)
{
    encoding_ = encoding;
    emit encodingChanged();
}

bool Document::load(const QString &path)
{
    return loadAs(path, std::nullopt);
}

bool Document::loadAs(const QString &path, std::optional<Charset> charset)
{
    platform_.setBusy(true);
    const ReadResult read = readTextFile(path, kDocumentSizeLimit, charset);
    platform_.setBusy(false);
    if (read.status == ReadResult::TooLarge) {
        platform_.messageBox(kSorry, QStringLiteral("The File Is Too Large For Pagewick"),
                             MsgButtons::Ok, MsgIcon::Information);
        return false;
    }
    if (read.status != ReadResult::Ok) {
        auto report = [this, reason = read.error] {
            platform_.messageBox(kSorry, QStringLiteral("Error Loading Text"), MsgButtons::Ok,
                                 MsgIcon::Information, reason);
        };
        if (holdMessages_)
            heldMessages_.push_back(report);
        else
            report();
        return false;
    }
    setText(read.text);
    setEncoding(read.encoding);
    diskStamp_ = read.stamp;
    diskDigest_ = read.digest;
    setModified(false);
    return true;
}

void Document::showHeldMessages()
{
    for (const auto &message : std::exchange(heldMessages_, {}))
        message();
}

bool Document::open(const QString &path)
{
    if (!load(path))
        return false;
    setKind(Kind::File, path);
    return true;
}

void Document::makeUntitled()
{
    setEncoding(newDocumentEncoding(encoding_));
    setKind(Kind::Untitled);
}

void Document::replace(const QString &text)
{
    {
        const QScopedValueRollback replacing(replacingText_, true);
        edit_.setText(QString());
        insertText(edit_, text);
    }
    setEncoding(TextEncoding());
    setKind(Kind::Untitled);
    setModified(true);
}

void Document::restore(const QString &text, const QString &path, const TextEncoding &encoding,
                       const FileStamp &stamp)
{
    setText(text);
    setEncoding(encoding);
    diskStamp_ = stamp;
    diskDigest_.clear();
    if (path.isEmpty())
        setKind(Kind::Untitled);
    else
        setKind(Kind::File, path);
    setModified(true);
}

bool Document::maybeSave(const QString &title, const QString &text, MsgButtons buttons)
{
    if (!modified_)
        return true;
    const MsgAnswer answer = platform_.messageBox(title, text, buttons, MsgIcon::Question);
    if (answer == MsgAnswer::Cancel)
        return false;
    // Yes with a save that did not happen (picker cancelled, write failed) ends the command,
    // so the edits are not lost.
    return answer == MsgAnswer::No || save();
}

bool Document::savePrompt()
{
    return maybeSave(QStringLiteral("Save on Open..."),
                     QStringLiteral("Save Current Before Opening Another File?"));
}

bool Document::close()
{
    if (kind_ == Kind::None) {
        setText(QString());
        setModified(false);
        return true;
    }
    if (!maybeSave(QStringLiteral("Save on Open..."),
                   QStringLiteral("Save Current File Before Closing?")))
        return false;
    setText(QString());
    setKind(Kind::None);
    setModified(false);
    return true;
}

Document::WriteOutcome Document::write(const QString &path, TextEncoding encoding)
{
    const QString text = edit_.text();
    std::optional<QByteArray> bytes = encodeText(text, encoding);
    if (!bytes) {
        // Re-encoding would rewrite every other non-ASCII character of the file: only ever
        // at the user's word. Once given, the document stays UTF-8.
        if (platform_.messageBox(kSaveQuestion,
                                 QStringLiteral("This document contains characters that its "
                                                "encoding cannot hold. Save it as UTF-8?"),
                                 MsgButtons::YesNo, MsgIcon::Question)
            != MsgAnswer::Yes)
            return WriteOutcome::Declined;
        encoding.charset = Charset::Utf8;
        encoding.bom = false;
        TextEncoding utf8 = encoding_;
        utf8.charset = Charset::Utf8;
        utf8.bom = false;
        setEncoding(utf8);
        bytes = encodeText(text, encoding);
    }
    platform_.setBusy(true);
    const bool written = writeFileSafely(path, *bytes);
    platform_.setBusy(false);
    if (!written)
        return WriteOutcome::Failed;
    if (encoding.mixedLines) {
        emit notice(QStringLiteral("Mixed line breaks saved as %1, the file's most common style")
                        .arg(lineStyleName(encoding.lines)));
        encoding.mixedLines = false;
    }
    setEncoding(encoding);
    diskStamp_ = stampOfFile(path);
    diskDigest_ = bytesDigest(*bytes);
    return WriteOutcome::Written;
}

bool Document::save()
{
    if (kind_ == Kind::None) {
        platform_.messageBox(QStringLiteral("Save Aborted..."),
                             QStringLiteral("There Is No Document To Save"), MsgButtons::Ok,
                             MsgIcon::Information);
        return false;
    }
    if (kind_ == Kind::Untitled)
        return saveAs();
    if (changedOnDisk(path_, diskStamp_, diskDigest_)
        && platform_.messageBox(kSaveQuestion,
                                QStringLiteral("The file has been changed by another program "
                                               "since it was opened. Overwrite it?"),
                                MsgButtons::YesNo, MsgIcon::Question)
               != MsgAnswer::Yes)
        return false;
    switch (write(path_, encoding_)) {
    case WriteOutcome::Written:
        setModified(false);
        return true;
    case WriteOutcome::Declined:
        return false;
    case WriteOutcome::Failed:
        break;
    }
    platform_.messageBox(kSorry,
                         QStringLiteral("The file may be read-only, you may not have enough "
                                        "permissions, \r\nor the disk is full or write-protected"),
                         MsgButtons::Ok, MsgIcon::Information);
    return saveAs();
}

bool Document::saveAsWith(const TextEncoding &encoding)
{
    const QString chosen = platform_.saveFileName(QStringLiteral("Save As"), pickerFolder(),
                                                  state_.fileFilter, QString());
    if (chosen.isEmpty())
        return false;
    const QString path = typedPath(chosen);
    if (!confirmReplacing(platform_, QStringLiteral("Save As"), {path}))
        return false;
    if (write(path, encoding) != WriteOutcome::Written)
        return false;
    setKind(Kind::File, path);
    setModified(false);
    emit savedAs(path);
    return true;
}

bool Document::saveAs()
{
    return saveAsWith(encoding_);
}

bool Document::saveAsUnix()
{
    TextEncoding unix = encoding_;
    unix.lines = LineStyle::Lf;
    unix.mixedLines = false; // the user chose the style
    return saveAsWith(unix);
}

void Document::setCharset(Charset charset, bool bom)
{
    if (!isOpen())
        return;
    TextEncoding chosen = encoding_;
    chosen.charset = charset;
    chosen.bom = charset == Charset::Utf8 && bom;
    if (chosen == encoding_)
        return;
    setEncoding(chosen);
    setModified(true);
}

void Document::setLineStyle(LineStyle style)
{
    if (!isOpen() || (encoding_.lines == style && !encoding_.mixedLines))
        return;
    TextEncoding chosen = encoding_;
    chosen.lines = style;
    chosen.mixedLines = false; // the user chose the style
    setEncoding(chosen);
    setModified(true);
}

bool Document::reopenAs(Charset charset, bool bom)
{
    if (kind_ != Kind::File || !savePrompt())
        return false;
    if (!loadAs(path_, charset))
        return false;
    if (charset == Charset::Utf8 && bom != encoding_.bom) {
        // The mark is how the file is written, not read: the next Save writes the one chosen.
        TextEncoding chosen = encoding_;
        chosen.bom = bom;
        setEncoding(chosen);
        setModified(true);
    }
    return true;
}

} // namespace pw
