#include "generators/php_data_dialog.h"

#include "shared/dialog_parts.h"
#include "document/feature_context.h"
#include "files/paths.h"
#include "files/text_file.h"
#include "shared/file_panes.h"
#include "shared/named_widgets.h"
#include "shared/platform.h"
#include "shared/unsaved_files.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace pw {

namespace {

const QString kTitle = QStringLiteral("PHP Database Dialog");

// A definition file holds five short lines; anything this large is not one.
constexpr qint64 kDefinitionSizeLimit = 1 << 20;

QLineEdit *namedBox(const char *name)
{
    auto *box = new QLineEdit;
    box->setObjectName(QString::fromUtf8(name));
    return box;
}

} // namespace

PhpDataDialog::PhpDataDialog(FeatureContext &context, QWidget *parent)
    : QDialog(parent), platform_(context.platform), txtDSN_(namedBox("txtDSN")),
      txtUserName_(namedBox("txtUserName")), txtPassword_(namedBox("txtPassword")),
      txtTable_(namedBox("txtTable")), txtFields_(namedBox("txtFields"))
{
    setObjectName(QStringLiteral("frmPHPDataDialog"));
    setWindowTitle(kTitle);
    txtPassword_->setEchoMode(QLineEdit::Password);

    auto *dbInfo = new QGroupBox(QStringLiteral("ODBC Database Information"));
    dbInfo->setObjectName(QStringLiteral("fraDBInfo"));
    auto *boxes = new QGridLayout(dbInfo);
    const std::pair<QLabel *, QLineEdit *> rows[] = {
        {namedLabel("Label1", "DSN"), txtDSN_},
        {namedLabel("Label2", "Username"), txtUserName_},
        {namedLabel("Label3", "Password"), txtPassword_},
        {namedLabel("Label6", "Table"), txtTable_},
    };
    int row = 0;
    for (const auto &[label, box] : rows) {
        boxes->addWidget(label, row, 0);
        boxes->addWidget(box, row++, 1);
    }
    boxes->addWidget(
        namedLabel("Label4", "Fields (Ex:  FirstName|String|LastName|String|Age|Numeric)"), row++,
        0, 1, 2);
    boxes->addWidget(txtFields_, row, 0, 1, 2);

    auto *output = new QGroupBox(QStringLiteral("Output Directory"));
    output->setObjectName(QStringLiteral("fraOutputOptions"));
    auto *drive = new DriveList(output);
    drive->setObjectName(QStringLiteral("MyDrive"));
    directory_ = new DirectoryList(output);
    directory_->setObjectName(QStringLiteral("MyDirectory"));
    auto *panes = new FilePanes(drive, directory_, nullptr, platform_, this);
    panes->open(context.paneDrive(), context.paneDirectory());
    auto *outputLayout = new QVBoxLayout(output);
    outputLayout->addWidget(labelFor(drive, "lblDrive", "Dri&ve"));
    outputLayout->addWidget(drive);
    outputLayout->addWidget(labelFor(directory_, "lblDirectory", "&Folders"));
    outputLayout->addWidget(directory_, 1);

    auto *pages = new QGroupBox(QStringLiteral("Pages To Create"));
    pages->setObjectName(QStringLiteral("fraPages"));
    auto *pagesLayout = new QVBoxLayout(pages);
    const std::pair<int, const char *> kPages[] = {
        {0, "Add"}, {1, "Update"}, {3, "Delete"}, {4, "List All"}, {5, "Menu"}};
    for (const auto &[index, caption] : kPages) {
        auto *check = new QCheckBox(QString::fromUtf8(caption));
        check->setObjectName(QStringLiteral("chkPages"));
        check->setProperty("index", index);
        check->setChecked(true);
        pagesLayout->addWidget(check);
        chkPages_[index] = check;
    }

    QLabel *about = namedLabel(
        "Label5", "The PHP Database Dialog only creates ODBC databases at this time.  Future "
                  "versions may include other formats.  Please choose the directory to publish "
                  "into on the left and supply the information needed.  Then, click Create!");
    about->setWordWrap(true);

    QPushButton *cmdLoad = namedButton("cmdLoad", "&Load");
    QPushButton *cmdSave = namedButton("cmdSave", "&Save");
    QPushButton *cmdCreate = namedButton("cmdCreate", "&Create");
    cmdCreate->setDefault(true); // Enter presses it
    QPushButton *cmdExit = namedButton("cmdExit", "E&xit");
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {cmdLoad, cmdSave, cmdCreate, cmdExit})
        buttons->addWidget(button);

    auto *right = new QVBoxLayout;
    right->addWidget(dbInfo);
    auto *middle = new QHBoxLayout;
    middle->addWidget(pages);
    middle->addWidget(about, 1);
    right->addLayout(middle);
    right->addStretch(1);
    right->addLayout(buttons);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(output);
    layout->addLayout(right, 1);

    connect(cmdLoad, &QPushButton::clicked, this, &PhpDataDialog::load);
    connect(cmdSave, &QPushButton::clicked, this, &PhpDataDialog::save);
    connect(cmdCreate, &QPushButton::clicked, this, &PhpDataDialog::create);
    connect(cmdExit, &QPushButton::clicked, this, &PhpDataDialog::reject);
    nameBoxesByLabels(this);
}

PhpDataFields PhpDataDialog::fields() const
{
    PhpDataFields f;
    f.dsn = txtDSN_->text();
    f.userName = txtUserName_->text();
    f.password = txtPassword_->text();
    f.table = txtTable_->text();
    f.fields = txtFields_->text();
    f.add = chkPages_.at(0)->isChecked();
    f.update = chkPages_.at(1)->isChecked();
    f.remove = chkPages_.at(3)->isChecked();
    f.listAll = chkPages_.at(4)->isChecked();
    f.menu = chkPages_.at(5)->isChecked();
    return f;
}

QString PhpDataDialog::targetDirectory() const
{
    return directory_->chosenPath();
}

bool PhpDataDialog::writeFile(const QString &path, const QString &text, FileAccess access,
                              QString *error)
{
    platform_.setBusy(true);
    const bool written = writeFileSafely(path, text.toUtf8(), error, access);
    platform_.setBusy(false);
    return written;
}

void PhpDataDialog::create()
{
    const QStringList renamed = phpRenamedFieldNames(fields().fields);
    if (!renamed.isEmpty()) {
        platform_.messageBox(kTitle,
                             QStringLiteral("A Field Name Cannot Hold A Blank, A Dot Or \"[\": ")
                                 + renamed.join(QStringLiteral(", ")),
                             MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    const QString directory = targetDirectory();
    const QList<GeneratedPage> pages = phpDataPages(fields());
    QStringList targets;
    for (const GeneratedPage &page : pages)
        targets << joinPath(directory, page.fileName);
    if (!confirmReplacing(platform_, kTitle, targets))
        return;
    QStringList failed;
    QStringList why;
    for (const GeneratedPage &page : pages) {
        QString error;
        if (!writeFile(joinPath(directory, page.fileName), page.text + QStringLiteral("\r\n"),
                       FileAccess::Usual, &error)) {
            failed << page.fileName;
            why << page.fileName + QStringLiteral(": ") + error;
        }
    }
    if (failed.isEmpty()) {
        platform_.messageBox(kTitle, QStringLiteral("The Pages Have Been Created"), MsgButtons::Ok,
                             MsgIcon::Information);
    } else {
        reportUnsavedFiles(platform_, failed, why.join(u'\n'));
    }
}

void PhpDataDialog::save()
{
    const QString path =
        platform_.saveFileName(QStringLiteral("Save As"), targetDirectory(), QString());
    if (path.isEmpty() || !confirmReplacing(platform_, kTitle, {path}))
        return;
    // The file holds the password as typed: no one but its owner may read it.
    QString error;
    if (writeFile(path, phpDefinitionText(fields()), FileAccess::OwnerOnly, &error)) {
        platform_.messageBox(kTitle, QStringLiteral("The File Has Been Saved"), MsgButtons::Ok,
                             MsgIcon::Information);
    } else {
        reportUnsavedFiles(platform_, {fileNameOfPath(path)}, error);
    }
}

void PhpDataDialog::load()
{
    const QString path =
        platform_.openFileName(QStringLiteral("Open"), targetDirectory(), QString());
    if (path.isEmpty())
        return;
    platform_.setBusy(true);
    QByteArray bytes;
    const bool read = readFileBytes(path, kDefinitionSizeLimit, &bytes) == ReadResult::Ok;
    platform_.setBusy(false);
    const std::optional<PhpDataFields> loaded =
        read ? parsePhpDefinition(decodeText(bytes).text, fields()) : std::nullopt;
    if (!loaded) {
        platform_.messageBox(kTitle, QStringLiteral("Could Not Load The File"), MsgButtons::Ok,
                             MsgIcon::Information);
        return;
    }
    txtDSN_->setText(loaded->dsn);
    txtTable_->setText(loaded->table);
    txtUserName_->setText(loaded->userName);
    txtPassword_->setText(loaded->password);
    txtFields_->setText(loaded->fields);
}

void runPhpDataDialog(FeatureContext &context)
{
    PhpDataDialog dialog(context, context.parent);
    context.platform.runDialog(dialog);
}

} // namespace pw
