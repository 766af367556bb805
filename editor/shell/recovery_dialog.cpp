#include "shell/recovery_dialog.h"

#include "document/document.h"
#include "document/recovery_keeper.h"
#include "shared/named_widgets.h"
#include "shared/platform.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace pw {

RecoveryDialog::RecoveryDialog(const QList<RecoveryCopy> &copies, QWidget *parent)
    : QDialog(parent), lstCopies_(new QTreeWidget)
{
    setObjectName(QStringLiteral("frmRecovery"));
    setWindowTitle(QStringLiteral("Recover Unsaved Work"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(
        namedLabel("lblRecovery", "Pagewick did not close normally. This unsaved work was kept:"));
    lstCopies_->setObjectName(QStringLiteral("lstCopies"));
    lstCopies_->setRootIsDecorated(false);
    lstCopies_->setHeaderLabels(
        {QStringLiteral("File"), QStringLiteral("Kept"), QStringLiteral("Size")});
    const QLocale locale;
    for (const RecoveryCopy &copy : copies) {
        const QString name =
            copy.header.path.isEmpty() ? QStringLiteral("Untitled.html") : copy.header.path;
        auto *item = new QTreeWidgetItem(
            lstCopies_, {name, locale.toString(copy.written, QLocale::ShortFormat),
                         QStringLiteral("%1 bytes").arg(locale.toString(copy.size))});
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
    lstCopies_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    lstCopies_->setCurrentItem(lstCopies_->topLevelItem(0));
    layout->addWidget(lstCopies_);

    auto *buttons = new QHBoxLayout;
    QPushButton *cmdRestore = namedButton("cmdRestore", "&Restore");
    QPushButton *cmdDiscard = namedButton("cmdDiscard", "&Discard");
    QPushButton *cmdLater = namedButton("cmdLater", "&Later");
    cmdRestore->setDefault(true);
    buttons->addStretch();
    for (QPushButton *button : {cmdRestore, cmdDiscard, cmdLater})
        buttons->addWidget(button);
    layout->addLayout(buttons);
    connect(cmdRestore, &QPushButton::clicked, this, [this] { finish(Action::Restore); });
    connect(cmdDiscard, &QPushButton::clicked, this, [this] { finish(Action::Discard); });
    connect(cmdLater, &QPushButton::clicked, this, [this] { finish(Action::Later); });
    connect(lstCopies_, &QTreeWidget::itemDoubleClicked, this, [this] { finish(Action::Restore); });
    resize(640, 260);
}

int RecoveryDialog::chosen() const
{
    return lstCopies_->indexOfTopLevelItem(lstCopies_->currentItem());
}

void RecoveryDialog::finish(Action action)
{
    action_ = action;
    if (action == Action::Later)
        reject();
    else
        accept();
}

void offerRecovery(Document &document, RecoveryStore &store, RecoveryKeeper &keeper,
                   Platform &platform, QWidget *parent)
{
    QList<RecoveryCopy> copies = store.leftovers();
    while (!copies.isEmpty()) {
        RecoveryDialog dialog(copies, parent);
        // Closing the window is Later: nothing is lost by asking again next time.
        if (platform.runDialog(dialog) != QDialog::Accepted
            || dialog.action() == RecoveryDialog::Action::Later)
            return;
        const int index = dialog.chosen();
        if (index < 0)
            continue;
        const RecoveryCopy copy = copies.at(index);
        if (dialog.action() == RecoveryDialog::Action::Discard) {
            store.discard(copy);
            copies.removeAt(index);
            continue;
        }
        const std::optional<QString> text = RecoveryStore::readCopy(copy);
        if (!text) {
            platform.messageBox(QStringLiteral("Sorry..."), QStringLiteral("Error Loading Text"),
                                MsgButtons::Ok, MsgIcon::Information);
            continue;
        }
        if (!document.savePrompt())
            return;
        document.restore(*text, copy.header.path, copy.header.encoding, copy.header.stamp);
        keeper.update();
        keeper.waitForWrites();
        store.discard(copy);
        return;
    }
}

} // namespace pw
