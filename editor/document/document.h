#pragma once
// The one open document: which file it is (a path, untitled, or no document at all), how
// its file is written (encoding, byte-order mark, line breaks, final break), the file's stamp
// on disk when it was loaded or last saved, and whether it has unsaved changes
// (DocumentModified). Its text lives in the edit box. The status line, the window title, the
// Save button and the file tabs follow its signals; none of them holds its state.
//
// Every message, title and status text of loading, saving and the save prompt is here, so a
// document is loaded, edited, saved and closed the same way with or without a main window.
#include "files/text_file.h"
#include "shared/platform.h"

#include <QObject>
#include <QString>
#include <functional>

namespace pw {

class EditBox;
struct ProgramState;

// The status texts that name no file: a new document, and no document open.
inline const QString kUntitled = QStringLiteral("Untitled.html");
inline const QString kReady = QStringLiteral("Ready...");

class Document : public QObject {
    Q_OBJECT
public:
    // The document's text is `edit`'s; the pickers' file filter is the state's.
    Document(EditBox &edit, Platform &platform, const ProgramState &state,
             QObject *parent = nullptr);

    bool isOpen() const { return kind_ != Kind::None; }
    bool isUntitled() const { return kind_ == Kind::Untitled; }
    // The document's file; empty while it is untitled or no document is open.
    QString path() const { return kind_ == Kind::File ? path_ : QString(); }
    // What the status line shows: the path, "Untitled.html" or "Ready...".
    QString statusName() const;
    bool isModified() const { return modified_; }
    const TextEncoding &encoding() const { return encoding_; }
    // The file as it was loaded or last saved.
    const FileStamp &diskStamp() const { return diskStamp_; }
    EditBox &edit() const { return edit_; }

    // The folder the open and save pickers start in (the file panes' directory).
    void setPickerFolder(std::function<QString()> folder) { pickerFolder_ = std::move(folder); }
    QString pickerFolder() const { return pickerFolder_ ? pickerFolder_() : QString(); }

    // Reads the whole file into the box, unmodified; false, with the box unchanged, when the
    // file was refused or could not be read (after its message). The name stays as it was.
    bool load(const QString &path);
    // Loads a file and names the document after it; false (document unchanged) on failure.
    bool open(const QString &path);
    // Names the loaded text a new untitled document, written as new documents are.
    void makeUntitled();
    // Makes the text a new untitled document, modified: nothing written yet, so closing it
    // asks first.
    void replace(const QString &text);
    // Brings back unsaved work kept from an earlier run: the text, under its file's name
    // (untitled when `path` is empty) and written as before, modified.
    void restore(const QString &text, const QString &path, const TextEncoding &encoding,
                 const FileStamp &stamp);

    // The one save prompt: asks only while the document is modified; Yes saves first. True
    // when the command may go on (No, or Yes and the save happened). Commands that offer no
    // way back ask with Yes and No only.
    bool maybeSave(const QString &title, const QString &text,
                   MsgButtons buttons = MsgButtons::YesNoCancel);
    // The prompt run before another file replaces the document.
    bool savePrompt();

    bool save();   // true when the document was written
    bool saveAs(); // true when the document was written
    bool saveAsUnix();

    // The character set (UTF-8 with or without its mark) and the break style the next Save
    // writes; the text stays as it is, and the document counts as changed.
    void setCharset(Charset charset, bool bom = false);
    void setLineStyle(LineStyle style);
    // Reads the document's file again in the given character set, after the save prompt.
    // False when it has no file, the user cancelled, or the file could not be read so.
    bool reopenAs(Charset charset, bool bom = false);
    // Asks to save a modified document, then empties the box: no document is open. False
    // when the user cancelled.
    bool close();

    // While held (at start-up, before the window shows), a file that cannot be read reports
    // later, through showHeldMessages, so its message comes over the window.
    void holdMessages(bool hold) { holdMessages_ = hold; }
    void showHeldMessages();

signals:
    // The document was opened, named, made untitled or closed.
    void identityChanged();
    // How its file is written changed (status fields).
    void encodingChanged();
    void modifiedChanged(bool modified);
    // The document was written under a name the user chose: panes, recent files and tabs
    // follow it.
    void savedAs(const QString &path);
    // A passing note for the status line.
    void notice(const QString &text);

private:
    enum class Kind { None, Untitled, File };
    enum class WriteOutcome { Written, Declined, Failed };
    void setKind(Kind kind, const QString &path = QString());
    void setModified(bool modified);
    // Replaces the box's whole text without counting it as an edit.
    void setText(const QString &text);
    void setEncoding(const TextEncoding &encoding);
    bool loadAs(const QString &path, std::optional<Charset> charset);
    // Writes the document in `encoding` (asking before changing its character set);
    // Declined when the user said No, which writes nothing.
    WriteOutcome write(const QString &path, TextEncoding encoding);
    bool saveAsWith(const TextEncoding &encoding);

    EditBox &edit_;
    Platform &platform_;
    const ProgramState &state_;
    std::function<QString()> pickerFolder_;
    Kind kind_ = Kind::None;
    QString path_;
    bool modified_ = false;
    TextEncoding encoding_;
    FileStamp diskStamp_;   // the file as it was loaded or last saved
    QByteArray diskDigest_; // its bytes' digest then; empty when not known
    bool holdMessages_ = false;
    bool replacingText_ = false; // the box's text is being replaced, not edited
    QList<std::function<void()>> heldMessages_;
};

} // namespace pw
