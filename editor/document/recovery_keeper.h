#pragma once
// Keeps a recovery copy of the document while it has unsaved changes, so a crash, a power
// cut or kill -9 costs no more than the last moments of typing: the copy is written once
// typing pauses for a moment, and during long typing at least every half minute. It goes
// as soon as nothing is unsaved (saved, closed without saving, another file opened).
//
// The copy is written on a thread of its own: the text is taken on the user-interface thread
// (a few milliseconds for the largest document), the write and its flush to disk run beside
// the typing.
#include <QObject>
#include <QThreadPool>
#include <QTimer>

namespace pw {

class Document;
class RecoveryStore;

class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    // Writes nothing when the store is not active.
    RecoveryKeeper(Document &document, RecoveryStore &store, QObject *parent = nullptr);
    // Waits for a write under way; what is unsaved then stays with the store's folder.
    ~RecoveryKeeper() override;

    // How long typing must pause, and the longest time changes may go without a copy.
    void setDelays(int pauseMs, int longestMs);
    // Writes the copy now (when there are unsaved changes) or removes it (when there are
    // none), without waiting for the write.
    void update();
    // Waits until every write asked for is done.
    void waitForWrites();
    // How many copies were written, for the status of a run.
    int writes() const { return writes_; }

private:
    void changed();

    Document &document_;
    RecoveryStore &store_;
    QTimer pause_;
    QTimer longest_;
    QThreadPool writer_; // one thread: copies and removals land in the order asked
    int writes_ = 0;
};

} // namespace pw
