#include "tools/rtf_dialog.h"

#include "shared/feature_context.h"
#include "shared/named_widgets.h"
#include "shared/platform.h"
#include "tools/quorvel_loader.h"
#include "tools/rtf_batch.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace pw {

namespace {

const QString kTitle = QStringLiteral("RTF to HTML Conversion Dialog");

} // namespace

RtfDialog::RtfDialog(FeatureContext &context, QuorvelLibrary &library, QWidget *parent)
    : QDialog(parent), platform_(context.platform), library_(library)
{
    setObjectName(QStringLiteral("frmRTFDialog"));
    setWindowTitle(kTitle);
    panes_ = BatchPanes::Create(this, context);

    auto *layout = new QVBoxLayout(this);
    panes_.addSteps(layout, "STEP 2 - Select the RTF File(s) To Convert");
    layout->addWidget(NamedLabel("Label4", "STEP 3 - Click Start"));
    cmdStart_ = NamedButton("cmdStart", "&Start");
    layout->addWidget(cmdStart_);
    layout->addWidget(NamedLabel("Label8", "Status"));
    MyProgress_ = new QProgressBar;
    MyProgress_->setObjectName(QStringLiteral("MyProgress"));
    MyProgress_->setRange(0, 1);
    MyProgress_->setValue(0);
    layout->addWidget(MyProgress_);
    layout->addWidget(NamedLabel("Label10", "STEP 4 - Click Cancel When Finished"));
    QPushButton *cmdCancel = NamedButton("cmdCancel", "&Cancel");
    layout->addWidget(cmdCancel);

    connect(panes_.selectAll, &QPushButton::clicked, this, &RtfDialog::SelectAll);
    connect(cmdStart_, &QPushButton::clicked, this, &RtfDialog::Start);
    connect(cmdCancel, &QPushButton::clicked, this, &RtfDialog::reject);
}

void RtfDialog::SelectAll()
{
    panes_.files->selectWhere(IsRtfName);
}

void RtfDialog::reject()
{
    // Cancel during a run ends it after the file being converted.
    if (running_)
        stopRequested_ = true;
    QDialog::reject();
}

void RtfDialog::Start()
{
    if (running_)
        return;
    platform_.setBusy(true);
    MyProgress_->setValue(0);
    const QStringList names = panes_.files->selectedNames();
    if (names.isEmpty()) {
        platform_.setBusy(false);
        platform_.messageBox(QStringLiteral("Sorry..."),
                             QStringLiteral("You Must Select At Least One RTF File"),
                             MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    running_ = true;
    stopRequested_ = false;
    cmdStart_->setEnabled(false);
    panes_.setLocked(true);
    MyProgress_->setRange(0, static_cast<int>(names.size()));
    library_.setEventPlatform(&platform_);
    const RtfBatchResult result =
        ConvertRtfFiles(library_, panes_.files->path(), names, [this](int done) {
            MyProgress_->setValue(done);
            platform_.processEvents();
            return !stopRequested_;
        });
    library_.setEventPlatform(nullptr);
    platform_.setBusy(false);
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
    MyProgress_->setValue(0);
    panes_.setLocked(false);
    cmdStart_->setEnabled(true);
    running_ = false;
}

void RunRTFDialog(FeatureContext &context, QuorvelLibrary &library)
{
    RtfDialog dialog(context, library, context.parent);
    context.platform.runDialog(dialog);
}

void RunRTFDialog(FeatureContext &context)
{
    RunRTFDialog(context, ProgramQuorvel());
}

} // namespace pw
