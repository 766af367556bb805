#include "generators/js_menu_dialog.h"

#include "shared/dialog_parts.h"
#include "shared/file_panes.h"

#include "document/feature_context.h"
#include "files/paths.h"
#include "generators/js_menu_markup.h"
#include "generators/listing_files.h"
#include "shared/named_widgets.h"
#include "shared/platform.h"
#include "shared/safe_write.h"
#include "shared/unsaved_files.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace pw {

namespace {

const QString kTitle = QStringLiteral("JavaScript Menu Dialog");

QAction *namedAction(QObject *parent, const char *name, const char *caption)
{
    auto *action = new QAction(QString::fromUtf8(caption), parent);
    action->setObjectName(QString::fromUtf8(name));
    return action;
}

// CR LF breaks and one at the end, in the character set of `like` while every character
// fits it, else in UTF-8 (nothing typed is ever dropped).
QByteArray encodeLike(const QString &text, TextEncoding like)
{
    like.lines = LineStyle::CrLf;
    like.mixedLines = false;
    like.finalBreak = true;
    if (const auto bytes = encodeText(text, like))
        return *bytes;
    like.charset = Charset::Utf8;
    like.bom = false;
    return encodeText(text, like).value_or(QByteArray());
}

} // namespace

JsMenuDialog::JsMenuDialog(FeatureContext &context, QWidget *parent)
    : QDialog(parent), platform_(context.platform), programFolder_(context.programFolder),
      panes_(context.panes), rtfEdit_(new QPlainTextEdit), outline_(rtfEdit_)
{
    setObjectName(QStringLiteral("frmJSMenu"));
    setWindowTitle(kTitle);

    auto *menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    QMenu *mnuFile = menuBar->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    QAction *mnuNew = namedAction(mnuFile, "mnuNew", "&Create New Menu");
    QAction *mnuOpen = namedAction(mnuFile, "mnuOpen", "&Open Existing Menu");
    QAction *mnuExit = namedAction(mnuFile, "mnuExit", "E&xit");
    mnuFile->addAction(mnuNew);
    mnuFile->addAction(mnuOpen);
    mnuFile->addSeparator();
    mnuFile->addAction(mnuExit);
    // A menu that acts when clicked, as the Help item of the bar does.
    QAction *mnuHelp = namedAction(menuBar, "mnuHelp", "&Help");
    menuBar->addAction(mnuHelp);

    txtImportFile_ = namedLineEdit("txtImportFile");
    txtExportFile_ = namedLineEdit("txtExportFile");
    rtfEdit_->setObjectName(QStringLiteral("rtfEdit"));
    rtfEdit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    rtfEdit_->setTabChangesFocus(true);
    QPushButton *cmdBrowse = namedButton("cmdBrowse", "...");
    QPushButton *cmdBrowse2 = namedButton("cmdBrowse2", "...");
    QPushButton *cmdLoad = namedButton("cmdLoad", "&Load The Text File");
    QPushButton *cmdSave = namedButton("cmdSave", "&Save The Text File");
    QPushButton *cmdCreate = namedButton("cmdCreate", "&Create JavaScript Menu");
    cmdCreate->setDefault(true); // Enter presses it
    QPushButton *cmdExit = namedButton("cmdExit", "E&xit");

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(namedLabel("lblInstruct", "Text File (holds the menu in text format):"));
    auto *importRow = new QHBoxLayout;
    importRow->addWidget(txtImportFile_, 1);
    importRow->addWidget(cmdBrowse);
    layout->addLayout(importRow);
    layout->addWidget(namedLabel("Label1", "Edit / Create The File Below:"));
    layout->addWidget(rtfEdit_, 1);
    layout->addWidget(namedLabel("Label2", "JavaScript Menu File To Create (HTML file):"));
    auto *exportRow = new QHBoxLayout;
    exportRow->addWidget(txtExportFile_, 1);
    exportRow->addWidget(cmdBrowse2);
    layout->addLayout(exportRow);
    auto *buttons = new QGridLayout;
    buttons->addWidget(cmdLoad, 0, 0);
    buttons->addWidget(cmdSave, 0, 1);
    buttons->addWidget(cmdCreate, 1, 0);
    buttons->addWidget(cmdExit, 1, 1);
    layout->addLayout(buttons);
    resize(560, 480);

    // Opening the File menu starts a new menu unless Open Existing Menu is then chosen.
    connect(mnuFile, &QMenu::aboutToShow, this, [this] { newMenuMode_ = true; });
    connect(mnuNew, &QAction::triggered, this, [this] { newMenuMode_ = true; });
    connect(mnuOpen, &QAction::triggered, this, [this] { newMenuMode_ = false; });
    connect(mnuExit, &QAction::triggered, this, &JsMenuDialog::reject);
    connect(mnuHelp, &QAction::triggered, this, &JsMenuDialog::showHelp);
    connect(cmdBrowse, &QPushButton::clicked, this, &JsMenuDialog::browseOutline);
    connect(cmdBrowse2, &QPushButton::clicked, this, &JsMenuDialog::browsePage);
    connect(cmdLoad, &QPushButton::clicked, this, &JsMenuDialog::loadOutline);
    connect(cmdSave, &QPushButton::clicked, this, &JsMenuDialog::saveOutline);
    connect(cmdCreate, &QPushButton::clicked, this, &JsMenuDialog::createMenu);
    connect(cmdExit, &QPushButton::clicked, this, &JsMenuDialog::reject);
    nameBoxesByLabels(this);
}

QString JsMenuDialog::paneDirectory() const
{
    return panes_ ? panes_->directoryList()->path() : QString();
}

void JsMenuDialog::browseOutline()
{
    const QString filter = QStringLiteral("Text Files|*.txt");
    const QString directory = paneDirectory();
    const QString chosen =
        newMenuMode_ ? platform_.saveFileName(QStringLiteral("Text File"), directory, filter)
                     : platform_.openFileName(QStringLiteral("Text File"), directory, filter);
    if (!chosen.isEmpty())
        txtImportFile_->setText(chosen);
}

void JsMenuDialog::browsePage()
{
    const QString chosen = platform_.saveFileName(QStringLiteral("JavaScript Menu File"),
                                                  paneDirectory(), QStringLiteral("HTML|*.html"));
    if (!chosen.isEmpty())
        txtExportFile_->setText(chosen);
}

QString JsMenuDialog::outlinePath(const char *title, const char *text)
{
    const QString path = typedPath(txtImportFile_->text());
    if (path.isEmpty()) {
        platform_.messageBox(QString::fromUtf8(title), QString::fromUtf8(text), MsgButtons::Ok,
                             MsgIcon::Information);
        txtImportFile_->setFocus();
    }
    return path;
}

void JsMenuDialog::loadOutline()
{
    const QString path = outlinePath("Load Aborted...", "There Is No Document To Load");
    if (path.isEmpty())
        return;
    platform_.setBusy(true);
    const ReadResult read = readTextFile(path, kDocumentSizeLimit);
    platform_.setBusy(false);
    if (read.status == ReadResult::TooLarge) {
        platform_.messageBox(QStringLiteral("Sorry..."),
                             QStringLiteral("The File Is Too Large For Pagewick"), MsgButtons::Ok,
                             MsgIcon::Information);
    } else if (read.status == ReadResult::Error) {
        platform_.messageBox(QStringLiteral("Sorry..."), QStringLiteral("Error Loading Text"),
                             MsgButtons::Ok, MsgIcon::Information, read.error);
    } else {
        outline_.setText(read.text);
        outlineEncoding_ = read.encoding;
    }
}

void JsMenuDialog::saveOutline()
{
    const QString path = outlinePath("Save Aborted...", "There Is No Document To Save");
    if (path.isEmpty())
        return;
    QString error;
    platform_.setBusy(true);
    // One break at the end, added only when the text lacks it: saving what was loaded gives
    // the same file back.
    const bool saved = writeFileSafely(path, encodeLike(outline_.text(), outlineEncoding_), &error);
    platform_.setBusy(false);
    if (saved)
        platform_.messageBox(kTitle, QStringLiteral("The Text File Has Been Saved"), MsgButtons::Ok,
                             MsgIcon::Information);
    else
        reportUnsavedFiles(platform_, {QFileInfo(path).fileName()}, error);
}

void JsMenuDialog::createMenu()
{
    const auto refuse = [this](const QString &text) {
        platform_.messageBox(QStringLiteral("Sorry"), text, MsgButtons::Ok, MsgIcon::Information);
        txtExportFile_->setFocus();
    };
    const QString path = typedPath(txtExportFile_->text());
    if (path.isEmpty())
        return refuse(QStringLiteral("You must supply an HTML filename for the menu"));
    const QString outline = outline_.text();
    if (outline.isEmpty())
        return refuse(QStringLiteral("You must supply a set of items to build the menu"));

    if (!confirmReplacing(platform_, kTitle, {path}))
        return;
    TextEncoding pageEncoding = outlineEncoding_;
    pageEncoding.bom = false;
    QString error;
    platform_.setBusy(true);
    QStringList failed;
    // The support files go beside a page that was written, never beside one that was not.
    const QFileInfo page(path);
    if (!writeFileSafely(path, encodeLike(jsMenuPage(outline), pageEncoding), &error))
        failed << page.fileName();
    else
        failed = copyMissingFiles(kListingSupportFiles, programFolder_, page.absolutePath());
    platform_.setBusy(false);
    if (failed.isEmpty())
        platform_.messageBox(kTitle, QStringLiteral("The HTML File Has Been Saved"), MsgButtons::Ok,
                             MsgIcon::Information);
    else
        reportUnsavedFiles(platform_, failed, error);
}

void JsMenuDialog::showHelp()
{
    platform_.messageBox(QStringLiteral("JavaScript Menu Text File Format"), jsMenuFormatHelp(),
                         MsgButtons::Ok, MsgIcon::Information);
}

void runJsMenuDialog(FeatureContext &context)
{
    JsMenuDialog dialog(context, context.parent);
    context.platform.runDialog(dialog);
}

} // namespace pw
