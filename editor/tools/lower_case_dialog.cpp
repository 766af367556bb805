#include "tools/lower_case_dialog.h"

#include "document/feature_context.h"
#include "shared/dialog_parts.h"
#include "shared/named_widgets.h"
#include "shared/platform.h"
#include "shared/unsaved_files.h"
#include "shared/window.h"
#include "tools/lower_case.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pw {

namespace {

const QString kTitle = QStringLiteral("Convert To Lower Case Dialog");

} // namespace

LowerCaseDialog::LowerCaseDialog(FeatureContext &context, QWidget *parent)
    : ToolWindow(parent), platform_(context.platform)
{
    setObjectName(QStringLiteral("frmLowerCase"));
    setWindowTitle(kTitle);
    setModal(false);
    panes_ = BatchPanes::create(this, context);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(labelFor(panes_.drive, "lblDrive", "Dri&ve"));
    layout->addWidget(panes_.drive);
    layout->addWidget(labelFor(panes_.directory, "lblDirectory", "&Folders"));
    layout->addWidget(panes_.directory, 2);
    layout->addWidget(labelFor(panes_.files, "lblFiles", "F&iles"));
    layout->addWidget(panes_.files, 3);
    QLabel *label = namedLabel(
        "Label1", "When you click Start, all directories and files from your current position "
                  "and lower will be converted to lowercase names.");
    label->setWordWrap(true);
    layout->addWidget(label);
    auto *buttons = new QHBoxLayout;
    cmdStart_ = namedButton("cmdStart", "&Start");
    cmdStart_->setDefault(true); // Enter presses it
    QPushButton *cmdCancel = namedButton("cmdCancel", "E&xit");
    buttons->addWidget(cmdStart_);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);

    keepRoomForWrappedText(*this);

    connect(cmdStart_, &QPushButton::clicked, this, &LowerCaseDialog::start);
    connect(cmdCancel, &QPushButton::clicked, this, &LowerCaseDialog::close);
}

void LowerCaseDialog::start()
{
    if (running())
        return;
    DirectoryList *directory = panes_.directory;
    // One click on a folder chooses it: the file list already shows what the walk starts on.
    const QString start = directory->chosenPath();
    if (start.isEmpty())
        return;

    beginRun();
    cmdStart_->setEnabled(false);
    // The panes show the walk's progress; a click in them must not move it.
    panes_.setLocked(true);
    platform_.setBusy(true);
    // The file list shows the directory being walked, as progress.
    QString shown;
    const LowerCaseResult result = lowerCaseTree(start, [&](const QString &current) {
        if (current != shown) {
            shown = current;
            panes_.files->setPath(current);
        }
        platform_.processEvents();
        return !closed();
    });
    platform_.setBusy(false);
    if (!endRun())
        return;
    cmdStart_->setEnabled(true);
    panes_.setLocked(false);
    // The panes show the walked folder with its new names (the folder keeps its own name).
    if (!directory->setPath(start))
        directory->refresh();
    panes_.files->setPath(directory->path());

    if (!result.skipped.isEmpty()) {
        platform_.messageBox(
            kTitle,
            QStringLiteral("These Names Were Not Changed Because The Lower Case Name Is "
                           "Already Taken:\r\n")
                + result.skipped.join(QStringLiteral("\r\n")),
            MsgButtons::Ok, MsgIcon::Information);
    }
    if (!result.unreadable.isEmpty()) {
        platform_.messageBox(
            kTitle,
            QStringLiteral("These Folders Could Not Be Read, So The Names In Them Were Not "
                           "Changed:\r\n")
                + result.unreadable.join(QStringLiteral("\r\n")),
            MsgButtons::Ok, MsgIcon::Information);
    }
    reportUnreadableNames(platform_, result.notUtf8);
    if (!result.error.isEmpty())
        platform_.messageBox(QStringLiteral("Pagewick"), result.error, MsgButtons::Ok,
                             MsgIcon::None);
}

LowerCaseDialog *openLowerCase(FeatureContext &context)
{
    auto *window = qobject_cast<LowerCaseDialog *>(
        shownChildWindow(context.parent, QStringLiteral("frmLowerCase")));
    if (!window)
        window = new LowerCaseDialog(context, context.parent);
    bringToFront(window);
    return window;
}

} // namespace pw
