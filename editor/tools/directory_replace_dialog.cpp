#include "tools/directory_replace_dialog.h"

#include "shared/dialog_parts.h"
#include "document/feature_context.h"
#include "files/line_breaks.h"
#include "shared/named_widgets.h"
#include "shared/platform.h"
#include "shared/unsaved_files.h"
#include "tools/file_replace.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace pw {

namespace {

const QString kTitle = QStringLiteral("Directory Replace Dialog");
const QString kReadyStatus = QStringLiteral("Press Start To Begin...");

} // namespace

DirectoryReplaceDialog::DirectoryReplaceDialog(FeatureContext &context, QWidget *parent)
    : QDialog(parent), platform_(context.platform)
{
    setObjectName(QStringLiteral("frmDirectoryReplace"));
    setWindowTitle(kTitle);
    panes_ = BatchPanes::create(this, context);

    auto *layout = new QVBoxLayout(this);
    panes_.addSteps(layout, "STEP 2 - Select File(s) To Replace");

    layout->addWidget(namedLabel("Label4", "STEP 3 - Enter Text To Find and Replace"));
    auto *texts = new QGridLayout;
    txtFind_ = new QLineEdit;
    txtFind_->setObjectName(QStringLiteral("txtFind"));
    txtReplace_ = new QLineEdit;
    txtReplace_->setObjectName(QStringLiteral("txtReplace"));
    texts->addWidget(namedLabel("Label6", "Find"), 0, 0);
    texts->addWidget(txtFind_, 0, 1);
    texts->addWidget(namedLabel("Label7", "Replace"), 1, 0);
    texts->addWidget(txtReplace_, 1, 1);
    layout->addLayout(texts);

    layout->addWidget(namedLabel("Label5", "STEP 4 - Click Start To Perform The Replace"));
    cmdStart_ = namedButton("cmdStart", "&Start");
    cmdStart_->setDefault(true); // Enter presses it
    layout->addWidget(cmdStart_);
    auto *status = new QHBoxLayout;
    status->addWidget(namedLabel("Label8", "Status"));
    lblStatus_ = namedLabel("lblStatus", "Press Start To Begin...");
    status->addWidget(lblStatus_, 1);
    layout->addLayout(status);
    myProgress = new QProgressBar;
    myProgress->setObjectName(QStringLiteral("MyProgress"));
    myProgress->setRange(0, 1);
    myProgress->setValue(0);
    layout->addWidget(myProgress);
    // A scratch box the run works in: kept (and named) but never shown.
    QLabel *scratchLabel = namedLabel("Label9", "View Port - Ignore Please");
    scratchLabel->hide();
    layout->addWidget(scratchLabel);
    txtEdit_ = new QPlainTextEdit;
    txtEdit_->setObjectName(QStringLiteral("txtEdit"));
    txtEdit_->setReadOnly(true);
    txtEdit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtEdit_->setMaximumHeight(80);
    txtEdit_->hide();
    layout->addWidget(txtEdit_);

    auto *line = new QFrame;
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    layout->addWidget(line);
    layout->addWidget(namedLabel("Label10", "STEP 5 - Click Cancel When Finished"));
    QPushButton *cmdCancel = namedButton("cmdCancel", "&Cancel");
    layout->addWidget(cmdCancel);

    connect(panes_.selectAll, &QPushButton::clicked, this, [this] { panes_.files->selectAll(); });
    connect(cmdStart_, &QPushButton::clicked, this, &DirectoryReplaceDialog::start);
    connect(cmdCancel, &QPushButton::clicked, this, &DirectoryReplaceDialog::reject);
    nameBoxesByLabels(this);
}

void DirectoryReplaceDialog::reject()
{
    // Cancel during a run ends it after the file being written; the dialog closes then.
    if (running_)
        stopRequested_ = true;
    QDialog::reject();
}

void DirectoryReplaceDialog::start()
{
    if (running_)
        return;
    running_ = true;
    stopRequested_ = false;
    cmdStart_->setEnabled(false);
    // Every file of the run gets the texts and the files chosen when it started: a text
    // half typed while events run must never reach the files after it.
    setInputLocked(true);
    lblStatus_->setText(QStringLiteral("Replacing..."));
    platform_.setBusy(true);
    myProgress->setValue(0);

    const QStringList names = panes_.files->selectedNames();
    const QString what = txtFind_->text();
    const QString with = txtReplace_->text();
    myProgress->setRange(0, std::max<int>(1, static_cast<int>(names.size())));
    QStringList notWritten;
    QStringList whyNotWritten;
    QStringList binary;
    int done = 0;
    for (const QString &name : names) {
        lblStatus_->setText(name);
        const FileReplaceResult result = replaceInFile(panes_.files->fullPath(name), what, with);
        // A file that cannot be loaded is reported and left as it is.
        if (result.status == FileReplaceResult::TooLarge
            || result.status == FileReplaceResult::Unreadable) {
            platform_.setBusy(false);
            platform_.messageBox(QStringLiteral("Sorry..."),
                                 result.status == FileReplaceResult::TooLarge
                                     ? QStringLiteral("The File Is Too Large For Pagewick")
                                     : QStringLiteral("Error Loading Text"),
                                 MsgButtons::Ok, MsgIcon::Information);
            platform_.setBusy(true);
        } else if (result.status == FileReplaceResult::NotWritten) {
            notWritten << name;
            whyNotWritten << name + QStringLiteral(": ") + result.error;
        } else if (result.status == FileReplaceResult::Binary) {
            binary << name;
        } else {
            txtEdit_->setPlainText(toQtBreaks(result.text));
        }
        myProgress->setValue(++done);
        platform_.processEvents();
        if (stopRequested_)
            break;
    }

    platform_.setBusy(false);
    if (!binary.isEmpty()) {
        platform_.messageBox(QStringLiteral("Sorry..."),
                             QStringLiteral("These Files Were Skipped Because They Are Not Text "
                                            "Files:\r\n")
                                 + binary.join(QStringLiteral("\r\n")),
                             MsgButtons::Ok, MsgIcon::Information);
    }
    if (!notWritten.isEmpty())
        reportUnsavedFiles(platform_, notWritten, whyNotWritten.join(u'\n'));
    if (!stopRequested_)
        platform_.messageBox(kTitle, QStringLiteral("Replace Completed"), MsgButtons::Ok,
                             MsgIcon::Information);
    lblStatus_->setText(kReadyStatus);
    myProgress->setValue(0);
    setInputLocked(false);
    cmdStart_->setEnabled(true);
    running_ = false;
}

void DirectoryReplaceDialog::setInputLocked(bool locked)
{
    txtFind_->setReadOnly(locked);
    txtReplace_->setReadOnly(locked);
    panes_.setLocked(locked);
}

void runDirectoryReplace(FeatureContext &context)
{
    DirectoryReplaceDialog dialog(context, context.parent);
    context.platform.runDialog(dialog);
}

} // namespace pw
