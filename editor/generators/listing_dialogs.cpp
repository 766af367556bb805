#include "generators/listing_dialogs.h"

#include "files/paths.h"
#include "generators/listing_files.h"
#include "shared/dialog_parts.h"
#include "shared/file_panes.h"
#include "shared/named_widgets.h"
#include "shared/platform.h"
#include "shared/program_state.h"
#include "shared/unsaved_files.h"
#include "shared/window.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QRadioButton>

namespace pw {

namespace {

const QString kDialogTitle = QStringLiteral("File Management Dialog");

// The four formats in the order of the wizard's options, with their captions and a small
// sample of what each page looks like in a browser.
struct FormatChoice {
    ListingFormat format;
    const char *caption;
    const char *sample;
};

// clang-format off
const FormatChoice kChoices[] = {
    {ListingFormat::ExpandableMenu, "Expandable Menu",
     "<b>&#8863; Images</b><br>&nbsp;&nbsp;&nbsp;&nbsp;<u>logo</u><br>"
     "&nbsp;&nbsp;&nbsp;&nbsp;<u>banner</u><br><b>&#8862; Pages</b><br><b>&#8862; Scripts</b>"},
    {ListingFormat::IndentedList, "Indented List",
     "<b>Images</b><br>&nbsp;&nbsp;&nbsp;&nbsp;<u>logo.gif</u><br>"
     "&nbsp;&nbsp;&nbsp;&nbsp;<u>banner.jpg</u><br><b>Pages</b><br>"
     "&nbsp;&nbsp;&nbsp;&nbsp;<u>index.html</u>"},
    {ListingFormat::UnorderedList, "Unordered List",
     "<ul style='margin:0'><li><b>Images</b><ul><li><u>logo.gif</u></li>"
     "<li><u>banner.jpg</u></li></ul></li><li><b>Pages</b><ul><li><u>index.html</u></li>"
     "</ul></li></ul>"},
    {ListingFormat::OrderedList, "Ordered List",
     "<ol style='margin:0'><li><b>Images</b><ul><li><u>logo.gif</u></li>"
     "<li><u>banner.jpg</u></li></ul></li><li><b>Pages</b><ul><li><u>index.html</u></li>"
     "</ul></li></ol>"},
};
// clang-format on

// Each window exists once: the one already open, or a new one.
template <typename Window>
Window *openWindow(const FeatureContext &context, const char *name)
{
    auto *window =
        qobject_cast<Window *>(shownChildWindow(context.parent, QString::fromUtf8(name)));
    if (!window)
        window = new Window(context, context.parent);
    bringToFront(window);
    return window;
}

} // namespace

// ---------------------------------------------------------------------------------------
// frmExportWizard

ExportWizard::ExportWizard(const FeatureContext &context, QWidget *parent)
    : QDialog(parent), context_(context), choices_(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("frmExportWizard"));
    setWindowTitle(QStringLiteral("File Management Dialog - Export Wizard"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    auto *options = new QGroupBox(QStringLiteral("Choose A Format For The HTML File"));
    options->setObjectName(QStringLiteral("fraOptions"));
    auto *optionLayout = new QVBoxLayout(options);
    auto *preview = new QGroupBox(QStringLiteral("Preview"));
    preview->setObjectName(QStringLiteral("fraPreview"));
    auto *previewLayout = new QVBoxLayout(preview);
    int index = 0;
    for (const FormatChoice &choice : kChoices) {
        auto *option = new QRadioButton(QString::fromUtf8(choice.caption));
        option->setObjectName(QStringLiteral("optChoices"));
        option->setProperty("index", index);
        choices_->addButton(option, index);
        optionLayout->addWidget(option);
        auto *sample = new QLabel(QString::fromUtf8(choice.sample));
        sample->setObjectName(QStringLiteral("imgPreview"));
        sample->setProperty("index", index);
        sample->setTextFormat(Qt::RichText);
        sample->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        sample->setMinimumSize(180, 110);
        previewLayout->addWidget(sample);
        previews_ << sample;
        ++index;
    }
    optionLayout->addStretch();

    auto *columns = new QHBoxLayout;
    columns->addWidget(options);
    columns->addWidget(preview);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    QPushButton *cmdNext = namedButton("cmdNext", "Next  > >");
    cmdNext->setDefault(true);
    layout->addWidget(cmdNext, 0, Qt::AlignRight);

    connect(choices_, &QButtonGroup::idClicked, this, &ExportWizard::showPreview);
    connect(cmdNext, &QPushButton::clicked, this, &ExportWizard::next);
    choices_->button(0)->setChecked(true);
    showPreview(0);
    tabToCheckedOptions(this);
}

void ExportWizard::showPreview(int option)
{
    for (QLabel *sample : previews_)
        sample->setVisible(sample->property("index").toInt() == option);
}

void ExportWizard::next()
{
    const int option = std::max(0, choices_->checkedId());
    context_.state.listingStyle = listingStyleOf(kChoices[option].format);
    openFileManDialog(context_);
    close();
}

ExportWizard *openExportWizard(const FeatureContext &context)
{
    return openWindow<ExportWizard>(context, "frmExportWizard");
}

// ---------------------------------------------------------------------------------------
// frmFileManDialog

FileManDialog::FileManDialog(const FeatureContext &context, QWidget *parent)
    : ToolWindow(parent), context_(context)
{
    setObjectName(QStringLiteral("frmFileManDialog"));
    setWindowTitle(kDialogTitle);
    setModal(false);

    drive_ = new DriveList(this);
    drive_->setObjectName(QStringLiteral("MyDrive"));
    directory_ = new DirectoryList(this);
    directory_->setObjectName(QStringLiteral("MyDirectory"));
    files_ = new FileList(this);
    files_->setObjectName(QStringLiteral("MyFiles"));
    panes_ = new FilePanes(drive_, directory_, files_, context_.platform, this);
    panes_->setFollowHighlight(true);
    // The dialog opens where the program is, not where the main window's panes are.
    const QString current = QDir::currentPath();
    panes_->open(driveOfPath(current, drive_->drives()), current);

    auto *menuBar = new QMenuBar(this);
    QAction *mnuAbout = menuBar->addAction(QStringLiteral("&About"));
    mnuAbout->setObjectName(QStringLiteral("mnuAbout"));

    txtFileName_ = new QLineEdit;
    txtFileName_->setObjectName(QStringLiteral("txtFileName"));
    cmdBrowse_ = namedButton("cmdBrowse", "...");
    chkUnderline_ = new QCheckBox(QStringLiteral("Include Dynamic Underlining of Links"));
    chkUnderline_->setObjectName(QStringLiteral("chkUnderline"));
    chkUnderline_->setChecked(true);
    myProgress_ = new QProgressBar;
    myProgress_->setObjectName(QStringLiteral("MyProgress"));
    myProgress_->setRange(0, 1);
    myProgress_->setValue(0);
    cmdBack_ = namedButton("cmdBack", "< <  &Back");
    cmdStart_ = namedButton("cmdStart", "&Start");
    cmdStart_->setDefault(true); // Enter presses it
    QPushButton *cmdCancel = namedButton("cmdCancel", "E&xit");

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(namedLabel("Label1", "Choose the directory to process."));
    auto *panes = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    left->addWidget(labelFor(drive_, "lblDrive", "Dri&ve"));
    left->addWidget(drive_);
    left->addWidget(labelFor(directory_, "lblDirectory", "&Folders"));
    left->addWidget(directory_, 1);
    panes->addLayout(left, 1);
    auto *right = new QVBoxLayout;
    right->addWidget(labelFor(files_, "lblFiles", "F&iles"));
    right->addWidget(files_, 1);
    panes->addLayout(right, 1);
    layout->addLayout(panes, 1);
    layout->addWidget(labelFor(txtFileName_, "lblFileToExport", "File To Create"));
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(txtFileName_, 1);
    fileRow->addWidget(cmdBrowse_);
    layout->addLayout(fileRow);
    layout->addWidget(chkUnderline_);
    auto *status = new QHBoxLayout;
    status->addWidget(namedLabel("Label2", "Status"));
    status->addWidget(myProgress_, 1);
    layout->addLayout(status);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdBack_);
    buttons->addStretch();
    buttons->addWidget(cmdStart_);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);

    connect(mnuAbout, &QAction::triggered, this, &FileManDialog::about);
    connect(cmdBrowse_, &QPushButton::clicked, this, &FileManDialog::browse);
    connect(cmdBack_, &QPushButton::clicked, this, &FileManDialog::back);
    connect(cmdStart_, &QPushButton::clicked, this, &FileManDialog::start);
    connect(cmdCancel, &QPushButton::clicked, this, &FileManDialog::close);
}

void FileManDialog::about()
{
    context_.platform.messageBox(
        QStringLiteral("About ..."),
        QStringLiteral("Program: File Management Dialog\r\nVersion: 1.0\r\n\r\nAuthor : Brenlow"),
        MsgButtons::Ok, MsgIcon::Information);
}

void FileManDialog::browse()
{
    // A save picker, so that the name of a page not written yet can be typed.
    const QString chosen =
        context_.platform.saveFileName(QStringLiteral("File To Create"), directory_->chosenPath(),
                                       QStringLiteral("HTML Files|*.html"));
    if (!chosen.isEmpty())
        txtFileName_->setText(chosen);
}

void FileManDialog::back()
{
    if (running())
        return;
    // The wizard opens afresh, on its first option.
    FeatureContext context = context_;
    close();
    openExportWizard(context);
}

void FileManDialog::start()
{
    if (running())
        return;
    Platform &platform = context_.platform;
    if (txtFileName_->text().trimmed().isEmpty()) {
        platform.messageBox(kDialogTitle, QStringLiteral("You must supply a file to create"),
                            MsgButtons::Ok, MsgIcon::Information);
        txtFileName_->setFocus();
        return;
    }
    QString &style = context_.state.listingStyle;
    if (style.isEmpty())
        style = QStringLiteral("EMenu");
    const std::optional<ListingFormat> format = listingFormatOf(style);
    if (!format)
        return;

    const QString chosen = directory_->chosenPath();
    const QString pagePath = typedPath(txtFileName_->text());
    const bool underline = chkUnderline_->isChecked();
    // Asked before the walk, which may take long: the answer holds for the page it makes.
    if (!confirmReplacing(platform, kDialogTitle, {pagePath}))
        return;
    beginRun();
    setLocked(true);
    platform.setBusy(true);
    myProgress_->setRange(0, 1);
    myProgress_->setValue(0);
    // Events run now and then, not after every one of many thousand files: the window
    // stays responsive and the walk is not slowed down by it.
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    auto letEventsRun = [&] {
        if (sinceEvents.elapsed() >= 10) {
            platform.processEvents();
            sinceEvents.restart();
        }
        return !closed();
    };
    const ListingTree tree = readListingTree(
        chosen,
        [&](int index, int count, const QString &path) {
            myProgress_->setRange(0, count >= 2 ? count - 1 : 1);
            myProgress_->setValue(index);
            // The file list shows the subdirectory being listed.
            files_->setPath(path);
            platform.processEvents();
            sinceEvents.restart();
            return !closed();
        },
        letEventsRun);
    platform.setBusy(false);
    if (!endRun())
        return;
    files_->setPath(chosen);
    setLocked(false);
    if (!tree.unreadable.isEmpty()) {
        platform.messageBox(QStringLiteral("Sorry..."),
                            QStringLiteral("There was an error in creating the file"),
                            MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    reportUnreadableNames(platform, tree.skipped);
    const QString page = listingPage(*format, tree.subdirectories, underline);
    platform.setBusy(true);
    const QStringList failed = writeListingFiles(
        pagePath, page,
        *format == ListingFormat::ExpandableMenu ? kListingSupportFiles : QStringList(),
        context_.programFolder);
    platform.setBusy(false);
    files_->refresh(); // the new page may be one of them
    if (!failed.isEmpty()) {
        reportUnsavedFiles(platform, failed);
        return;
    }
    platform.messageBox(kDialogTitle, QStringLiteral("The HTML File Has Been Created"),
                        MsgButtons::Ok, MsgIcon::Information);
}

void FileManDialog::setLocked(bool locked)
{
    // The run lists what was chosen when it started; the panes only show its progress.
    for (QWidget *widget :
         {static_cast<QWidget *>(drive_), static_cast<QWidget *>(directory_),
          static_cast<QWidget *>(files_), static_cast<QWidget *>(txtFileName_),
          static_cast<QWidget *>(chkUnderline_), static_cast<QWidget *>(cmdBrowse_),
          static_cast<QWidget *>(cmdBack_), static_cast<QWidget *>(cmdStart_)})
        widget->setEnabled(!locked);
}

FileManDialog *openFileManDialog(const FeatureContext &context)
{
    return openWindow<FileManDialog>(context, "frmFileManDialog");
}

} // namespace pw
