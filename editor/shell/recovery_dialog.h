#pragma once
// frmRecovery: at start-up, the unsaved work that runs which did not end normally left
// behind, listed with the file it belongs to, when it was kept and its size. Restore opens
// the chosen copy as a modified document under its own name, so Save writes where the user
// expects; Discard throws it away; Later keeps every copy for the next start.
#include "shared/recovery_store.h"

#include <QDialog>

class QTreeWidget;

namespace pw {

class Document;
class Platform;
class RecoveryKeeper;

class RecoveryDialog : public QDialog {
    Q_OBJECT
public:
    enum class Action { Restore, Discard, Later };

    RecoveryDialog(const QList<RecoveryCopy> &copies, QWidget *parent = nullptr);

    Action action() const { return action_; }
    // The copy Restore or Discard acts on.
    int chosen() const;

private:
    void finish(Action action);

    QTreeWidget *lstCopies_;
    Action action_ = Action::Later;
};

// Offers the copies the store finds (nothing when there are none). A restored copy becomes
// the document (after the save prompt for the one shown) and is kept at once as this run's
// copy before the old one goes.
void offerRecovery(Document &document, RecoveryStore &store, RecoveryKeeper &keeper,
                   Platform &platform, QWidget *parent);

} // namespace pw
