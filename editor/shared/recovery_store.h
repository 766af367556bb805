#pragma once
// Recovery copies of unsaved work. Each running program has a folder of its own under the
// recovery folder (~/.local/state/Pagewick/recovery/ unless XDG_STATE_HOME says otherwise),
// locked for as long as it runs, where the copy of its document is kept. A folder whose lock
// nobody holds belongs to a run that did not end normally: its copy is offered at the next
// start. A run that ends normally takes its folder with it.
//
// The lock is the kernel's, so it goes with the process however the process ends (kill -9,
// a power cut), and a second running program never takes the first one's copies.
#include "files/text_file.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

namespace pw {

// What a recovery copy holds besides the text: where and how the document is written.
struct RecoveryHeader {
    QString path; // the document's file; empty for an untitled document
    TextEncoding encoding;
    FileStamp stamp; // the file as it was loaded or last saved
};

// The bytes of a copy, and back. Nothing when the bytes are not a copy (cut short, another
// file).
QByteArray recoveryCopyBytes(const RecoveryHeader &header, const QString &text);
std::optional<std::pair<RecoveryHeader, QString>> parseRecoveryCopy(const QByteArray &bytes);

// A copy left by a run that did not end normally.
struct RecoveryCopy {
    QString file; // the copy itself
    RecoveryHeader header;
    QDateTime written;
    qint64 size = 0; // of the document's text, in bytes
};

class RecoveryStore {
public:
    // Takes a folder of its own under `folder` (made owner-only); inactive when that cannot
    // be done, and then keeps nothing.
    explicit RecoveryStore(const QString &folder);
    // The run ended normally: its folder goes, with the copy in it.
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore &) = delete;
    RecoveryStore &operator=(const RecoveryStore &) = delete;

    // $XDG_STATE_HOME/Pagewick/recovery, or ~/.local/state/Pagewick/recovery.
    static QString defaultFolder();

    bool isActive() const { return !session_.isEmpty(); }
    QString folder() const { return folder_; }
    // Where this run keeps the copy of its document.
    QString copyPath() const;

    // The copies of runs that ended without clearing up, newest first. Their folders stay
    // locked by this run from then on, so no other running program offers them too. Folders
    // of such runs that hold no copy are cleared away.
    QList<RecoveryCopy> leftovers();
    // Reads a copy's text; nothing when it cannot be read.
    static std::optional<QString> readCopy(const RecoveryCopy &copy);
    // Removes a copy offered by leftovers(), and its folder.
    void discard(const RecoveryCopy &copy);

private:
    struct Claimed {
        QString folder;
        int lock = -1;
    };
    void release(Claimed &claimed, bool removeFolder);

    QString folder_;
    QString session_; // this run's folder
    int lock_ = -1;
    QList<Claimed> claimed_;
};

} // namespace pw
