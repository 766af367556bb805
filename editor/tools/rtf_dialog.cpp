#include "tools/rtf_dialog.h"

#include "shared/dialog_parts.h"
#include "document/feature_context.h"
#include "files/paths.h"
#include "shared/named_widgets.h"
#include "shared/platform.h"
#include "shared/settings_store.h"
#include "shared/unsaved_files.h"
#include "tools/quorvel_loader.h"
#include "tools/rtf_batch.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace pw {

namespace {

const QString kTitle = QStringLiteral("RTF to HTML Conversion Dialog");
// The clean mode keeps every word of today's word processors' files; the faithful one, the
// tool's original output, stays one click away.
const QString kSettings = QStringLiteral("Settings");
const QString kCleanKey = QStringLiteral("RTFCleanHTML");

} // namespace

RtfDialog::RtfDialog(FeatureContext &context, QuorvelLibrary &library, QWidget *parent)
    : QDialog(parent), platform_(context.platform), settings_(context.settings), library_(library)
{
    setObjectName(QStringLiteral("frmRTFDialog"));
    setWindowTitle(kTitle);
    panes_ = BatchPanes::create(this, context);

    auto *layout = new QVBoxLayout(this);
    panes_.addSteps(layout, "STEP 2 - Select the RTF File(s) To Convert");
    chkClean_ = new QCheckBox(QStringLiteral("Clean HTML (keeps all the text)"));
    chkClean_->setObjectName(QStringLiteral("chkClean"));
    chkClean_->setChecked(settings_.readBool(kSettings, kCleanKey, true));
    layout->addWidget(chkClean_);
    layout->addWidget(namedLabel("Label4", "STEP 3 - Click Start"));
    cmdStart_ = namedButton("cmdStart", "&Start");
    cmdStart_->setDefault(true); // Enter presses it
    layout->addWidget(cmdStart_);
    layout->addWidget(namedLabel("Label8", "Status"));
    myProgress = new QProgressBar;
    myProgress->setObjectName(QStringLiteral("MyProgress"));
    myProgress->setRange(0, 1);
    myProgress->setValue(0);
    layout->addWidget(myProgress);
    layout->addWidget(namedLabel("Label10", "STEP 4 - Click Cancel When Finished"));
    QPushButton *cmdCancel = namedButton("cmdCancel", "&Cancel");
    layout->addWidget(cmdCancel);

    connect(panes_.selectAll, &QPushButton::clicked, this, &RtfDialog::selectAll);
    connect(cmdStart_, &QPushButton::clicked, this, &RtfDialog::start);
    connect(cmdCancel, &QPushButton::clicked, this, &RtfDialog::reject);
    connect(chkClean_, &QCheckBox::toggled, this,
            [this](bool on) { settings_.writeBool(kSettings, kCleanKey, on); });
    nameBoxesByLabels(this);
}

void RtfDialog::selectAll()
{
    panes_.files->selectWhere(isRtfName);
}

void RtfDialog::reject()
{
    // Cancel during a run ends it after the file being converted.
    if (running_)
        stopRequested_ = true;
    QDialog::reject();
}

void RtfDialog::start()
{
    if (running_)
        return;
    platform_.setBusy(true);
    myProgress->setValue(0);
    QStringList names = panes_.files->selectedNames();
    if (names.isEmpty()) {
        platform_.setBusy(false);
        platform_.messageBox(QStringLiteral("Sorry..."),
                             QStringLiteral("You Must Select At Least One RTF File"),
                             MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    // A name that is not UTF-8 cannot be opened by the name shown: listed, not guessed at.
    const QStringList unreadable = takeUnreadableNames(panes_.files->path(), names);
    if (names.isEmpty()) {
        platform_.setBusy(false);
        reportUnreadableNames(platform_, unreadable);
        return;
    }
    QStringList targets;
    for (const QString &name : names) {
        if (const std::optional<QString> target =
                rtfTargetPath(joinPath(panes_.files->path(), name)))
            targets << *target;
    }
    platform_.setBusy(false);
    if (!confirmReplacing(platform_, kTitle, targets))
        return;
    platform_.setBusy(true);
    running_ = true;
    stopRequested_ = false;
    cmdStart_->setEnabled(false);
    panes_.setLocked(true);
    chkClean_->setEnabled(false);
    myProgress->setRange(0, static_cast<int>(names.size()));
    library_.setEventPlatform(&platform_);
    const RtfBatchResult result = convertRtfFiles(
        library_, panes_.files->path(), names,
        [this](int done) {
            myProgress->setValue(done);
            platform_.processEvents();
            return !stopRequested_;
        },
        chkClean_->isChecked());
    library_.setEventPlatform(nullptr);
    platform_.setBusy(false);
    reportUnreadableNames(platform_, unreadable);
    if (!result.ok) {
        // The reason names the file, so the user can tell which one to look at.
        platform_.messageBox(kTitle,
                             QStringLiteral("The Was An Error Converting The Files\r\n\r\n%1: %2")
                                 .arg(result.failedName, result.error),
                             MsgButtons::Ok, MsgIcon::Information);
    } else if (!stopRequested_) {
        platform_.messageBox(kTitle, QStringLiteral("The Files Have Been Converted"),
                             MsgButtons::Ok, MsgIcon::Information);
    }
    myProgress->setValue(0);
    panes_.setLocked(false);
    chkClean_->setEnabled(true);
    cmdStart_->setEnabled(true);
    running_ = false;
}

void runRTFDialog(FeatureContext &context, QuorvelLibrary &library)
{
    RtfDialog dialog(context, library, context.parent);
    context.platform.runDialog(dialog);
}

void runRTFDialog(FeatureContext &context)
{
    runRTFDialog(context, programQuorvel());
}

} // namespace pw
