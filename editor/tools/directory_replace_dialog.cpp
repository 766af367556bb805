#include "tools/directory_replace_dialog.h"

#include "shared/dialog_parts.h"
#include "document/feature_context.h"
#include "files/line_breaks.h"
#include "files/paths.h"
#include "shared/named_widgets.h"
#include "shared/platform.h"
#include "shared/unsaved_files.h"
#include "tools/file_replace.h"
#include "tools/replace_undo.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace pw {

namespace {

const QString kTitle = QStringLiteral("Directory Replace Dialog");
const QString kReadyStatus = QStringLiteral("Press Start To Begin...");
const QString kUndoTitle = QStringLiteral("Undo Last Directory Replace");

// Tells how the undo went: what was put back, and what was not and why.
void reportUndo(Platform &platform, const ReplaceUndo::Outcome &outcome)
{
    if (outcome.restored.isEmpty() && outcome.changed.isEmpty() && outcome.failed.isEmpty()) {
        platform.messageBox(kUndoTitle, QStringLiteral("There Is No Directory Replace To Undo"),
                            MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    QString text = QStringLiteral("%1 Files Have Been Put Back").arg(outcome.restored.size());
    if (!outcome.changed.isEmpty())
        text += QStringLiteral("\r\n\r\nThese Files Were Changed Since And Were Left Alone:\r\n")
                + outcome.changed.join(QStringLiteral("\r\n"));
    if (!outcome.failed.isEmpty())
        text += QStringLiteral("\r\n\r\nThese Files Could Not Be Put Back:\r\n")
                + outcome.failed.join(QStringLiteral("\r\n"));
    platform.messageBox(kUndoTitle, text, MsgButtons::Ok, MsgIcon::Information);
}

} // namespace

ReplaceSummaryDialog::ReplaceSummaryDialog(const QStringList &names, const QList<qint64> &counts,
                                           QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmReplaceSummary"));
    setWindowTitle(kTitle);
    auto *layout = new QVBoxLayout(this);
    qint64 total = 0;
    for (const qint64 count : counts)
        total += count;
    layout->addWidget(new QLabel(QStringLiteral("%1 replacements in %2 files. Nothing has been "
                                                "written yet.")
                                     .arg(total)
                                     .arg(names.size())));
    auto *list = new QTreeWidget;
    list->setObjectName(QStringLiteral("lstSummary"));
    list->setRootIsDecorated(false);
    list->setHeaderLabels({QStringLiteral("File"), QStringLiteral("Replacements")});
    for (qsizetype i = 0; i < names.size(); ++i) {
        auto *item = new QTreeWidgetItem(list, {names.at(i), QString::number(counts.at(i))});
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }
    list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    layout->addWidget(list);
    auto *buttons = new QHBoxLayout;
    QPushButton *cmdReplace = namedButton("cmdReplace", "&Replace");
    QPushButton *cmdCancel = namedButton("cmdCancel", "&Cancel");
    buttons->addStretch();
    buttons->addWidget(cmdReplace);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);
    connect(cmdReplace, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(520, 320);
}

void undoLastDirectoryReplace(FeatureContext &context)
{
    context.platform.setBusy(true);
    const ReplaceUndo::Outcome outcome = ReplaceUndo().undo();
    context.platform.setBusy(false);
    reportUndo(context.platform, outcome);
}

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
    cmdUndo_ = namedButton("cmdUndo", "&Undo Last Directory Replace");
    cmdUndo_->setEnabled(ReplaceUndo().available());
    layout->addWidget(cmdUndo_);

    connect(panes_.selectAll, &QPushButton::clicked, this, [this] { panes_.files->selectAll(); });
    connect(cmdStart_, &QPushButton::clicked, this, &DirectoryReplaceDialog::start);
    connect(cmdCancel, &QPushButton::clicked, this, &DirectoryReplaceDialog::reject);
    connect(cmdUndo_, &QPushButton::clicked, this, &DirectoryReplaceDialog::undoLast);
    nameBoxesByLabels(this);
}

void DirectoryReplaceDialog::undoLast()
{
    if (running_)
        return;
    platform_.setBusy(true);
    const ReplaceUndo::Outcome outcome = ReplaceUndo().undo();
    platform_.setBusy(false);
    reportUndo(platform_, outcome);
    cmdUndo_->setEnabled(ReplaceUndo().available());
    panes_.files->refresh();
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
    cmdUndo_->setEnabled(false);
    // Every file of the run gets the texts and the files chosen when it started: a text
    // half typed while events run must never reach the files after it.
    setInputLocked(true);
    lblStatus_->setText(QStringLiteral("Replacing..."));
    platform_.setBusy(true);
    myProgress->setValue(0);

    QStringList names = panes_.files->selectedNames();
    // A name that is not UTF-8 cannot be opened by the name shown: listed, not guessed at.
    const QStringList unreadable = takeUnreadableNames(panes_.files->path(), names);
    const QString what = txtFind_->text();
    const QString with = txtReplace_->text();
    myProgress->setRange(0, std::max<int>(1, static_cast<int>(names.size())));
    QStringList notWritten;
    QStringList whyNotWritten;
    QStringList binary;
    // First every file is read and counted; nothing is written until the user has seen
    // what will change.
    QList<FileReplacePlan> plans;
    QStringList changing;
    QStringList paths;
    int done = 0;
    for (const QString &name : names) {
        lblStatus_->setText(name);
        const QString path = panes_.files->fullPath(name);
        FileReplacePlan plan = planReplaceInFile(path, what, with);
        const FileReplaceResult &result = plan.result;
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
            if (result.status == FileReplaceResult::Changed) {
                changing << name;
                paths << path;
                plans << std::move(plan);
            }
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
    reportUnreadableNames(platform_, unreadable);
    bool cancelled = stopRequested_;
    if (!cancelled && !plans.isEmpty()) {
        QList<qint64> counts;
        for (const FileReplacePlan &plan : plans)
            counts << plan.result.count;
        ReplaceSummaryDialog summary(changing, counts, this);
        cancelled = platform_.runDialog(summary) != QDialog::Accepted;
    }
    if (!cancelled && !plans.isEmpty()) {
        platform_.setBusy(true);
        ReplaceUndo undo;
        QList<QByteArray> originals;
        for (const FileReplacePlan &plan : plans)
            originals << plan.before;
        QString error;
        if (!undo.keepOriginals(paths, originals, &error)) {
            // Without the way back nothing is written.
            notWritten << changing;
            whyNotWritten << error;
        } else {
            myProgress->setRange(0, static_cast<int>(plans.size()));
            myProgress->setValue(0);
            QStringList written;
            QList<QByteArray> writtenBytes;
            for (qsizetype i = 0; i < plans.size(); ++i) {
                const FileReplacePlan &plan = plans.at(i);
                lblStatus_->setText(changing.at(i));
                QString why;
                if (writeUnlessChanged(paths.at(i), plan.after, plan.read, &why)
                    == FileReplaceResult::Changed) {
                    written << paths.at(i);
                    writtenBytes << plan.after;
                    txtEdit_->setPlainText(toQtBreaks(plan.result.text));
                } else {
                    notWritten << changing.at(i);
                    whyNotWritten << changing.at(i) + QStringLiteral(": ") + why;
                }
                myProgress->setValue(static_cast<int>(i) + 1);
                platform_.processEvents();
            }
            undo.noteWritten(written, writtenBytes);
        }
        platform_.setBusy(false);
    }
    if (!notWritten.isEmpty())
        reportUnsavedFiles(platform_, notWritten, whyNotWritten.join(u'\n'));
    if (!cancelled)
        platform_.messageBox(kTitle, QStringLiteral("Replace Completed"), MsgButtons::Ok,
                             MsgIcon::Information);
    lblStatus_->setText(kReadyStatus);
    myProgress->setValue(0);
    setInputLocked(false);
    cmdStart_->setEnabled(true);
    cmdUndo_->setEnabled(ReplaceUndo().available());
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
