// The main window's command table and the runner that builds and runs its rows.
#include "shell/commands.h"

#include "dialogs/tag_dialogs.h"
#include "generators/frameset_dialog.h"
#include "generators/js_menu_dialog.h"
#include "generators/listing_dialogs.h"
#include "generators/page_wizard.h"
#include "generators/php_data_dialog.h"
#include "generators/snippets.h"
#include "insertion/insertion_toolbar.h"
#include "insertion/toolbar_commands.h"
#include "insertion/vocabulary.h"
#include "shared/flow_layout.h"
#include "shared/insertion.h"
#include "shared/platform.h"
#include "shared/window.h"
#include "shell/editor_behaviours.h"
#include "shell/main_window.h"
#include "shell/preview_commands.h"
#include "shell/register_html.h"
#include "tools/directory_replace_dialog.h"
#include "tools/find_window.h"
#include "tools/lower_case_dialog.h"
#include "tools/rtf_dialog.h"
#include "windows/about_window.h"
#include "windows/image_viewer.h"
#include "windows/options_dialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QBoxLayout>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>

namespace pw {

namespace {

struct MenuDef {
    const char *name;
    const char *caption;
};

// Tables read best one row to a line; the formatter leaves them as written.
// clang-format off
const MenuDef kMenus[] = {
    {"mnuFile", "&File"}, {"mnuEdit", "&Edit"},     {"mnuView", "&View"},
    {"mnuRecent", "&Recent"}, {"mnuHelp", "&Help"},
};

constexpr Command separator(const char *menu)
{
    return {.name = nullptr, .place = Place::Menu, .where = menu};
}

// The box does its own editing; the menu items and buttons ask it directly.
template <void (QPlainTextEdit::*edit)()>
void editCommand(MainWindow &w, int)
{
    w.textBox()->setFocus();
    (w.textBox()->*edit)();
}

using enum Place;

// Every command of the main window except the insertion rows, in the order the controls are
// built: menus top to bottom, picture buttons left to right, then page buttons, which
// follow the insertion rows of their page. The Edit menu's Ctrl texts are part of the
// captions: the edit box handles those keys itself, so they are not shortcuts of the items.
const Command kCommands[] = {
    {.name = "mnuFileNew", .caption = "&New", .shortcut = "Ctrl+N", .where = "mnuFile",
     .window = [](MainWindow &w, int) { w.newDocument(); }},
    {.name = "mnuFileOpen", .caption = "&Open", .shortcut = "Ctrl+O", .where = "mnuFile",
     .window = [](MainWindow &w, int) { w.openDocument(); }},
    {.name = "mnuFileClose", .caption = "&Close", .shortcut = "Ctrl+W", .where = "mnuFile",
     .window = [](MainWindow &w, int) { w.closeDocument(); }},
    separator("mnuFile"),
    {.name = "mnuFileSave", .caption = "&Save", .shortcut = "Ctrl+S", .where = "mnuFile",
     .window = [](MainWindow &w, int) { w.save(); }},
    {.name = "mnuFileSaveAs", .caption = "Save &As...", .shortcut = "Ctrl+Shift+S", .where = "mnuFile",
     .window = [](MainWindow &w, int) { w.saveAs(); }},
    {.name = "mnuSaveAsUnix", .caption = "Save As Unix", .where = "mnuFile",
     .window = [](MainWindow &w, int) { w.saveAsUnix(); }},
    separator("mnuFile"),
    {.name = "mnuFilePrint", .caption = "&Print...", .shortcut = "Ctrl+P", .where = "mnuFile",
     .window = [](MainWindow &w, int) { w.print(); }},
    separator("mnuFile"),
    {.name = "mnuFileExit", .caption = "E&xit", .shortcut = "Ctrl+Q", .where = "mnuFile",
     .window = [](MainWindow &w, int) { w.close(); }},

    {.name = "mnuEditUndo", .caption = "&Undo         Ctrl+Z", .where = "mnuEdit",
     .window = editCommand<&QPlainTextEdit::undo>},
    separator("mnuEdit"),
    {.name = "mnuEditCut", .caption = "Cu&t            Ctrl+X", .where = "mnuEdit",
     .window = editCommand<&QPlainTextEdit::cut>},
    {.name = "mnuEditCopy", .caption = "&Copy         Ctrl+C", .where = "mnuEdit",
     .window = editCommand<&QPlainTextEdit::copy>},
    {.name = "mnuEditPaste", .caption = "&Paste        Ctrl+V", .where = "mnuEdit",
     .window = editCommand<&QPlainTextEdit::paste>},
    separator("mnuEdit"),
    {.name = "mnuFind", .caption = "&Find", .shortcut = "Ctrl+F", .where = "mnuEdit",
     .feature = [](FeatureContext &c) { openFindWindow(c); }},
    {.name = "mnuReplace", .caption = "&Replace", .shortcut = "Ctrl+H", .where = "mnuEdit",
     .feature = [](FeatureContext &c) { openFindWindow(c); }},
    separator("mnuEdit"),
    {.name = "mnuInsertDate", .caption = "Insert &Date", .shortcut = "Ctrl+D", .where = "mnuEdit",
     .feature = [](FeatureContext &c) {
         if (const QString date = chooseDate(c); !date.isEmpty())
             insertText(c.edit, date);
     }},
    {.name = "mnuRefresh", .caption = "Refresh", .shortcut = "F5", .where = "mnuEdit",
     .window = [](MainWindow &w, int) { w.refreshDriveLists(); }},
    {.name = "mnuCheckSpelling", .caption = "&Check Spelling", .shortcut = "F7", .where = "mnuEdit",
     .window = [](MainWindow &w, int) { w.checkSpelling(); }},
    separator("mnuEdit"),
    {.name = "mnuGotoLine", .caption = "&Goto Line", .shortcut = "Ctrl+G", .where = "mnuEdit",
     .feature = goToLine},

    {.name = "mnuBrowser", .caption = "&In Browser", .where = "mnuView",
     .window = [](MainWindow &w, int) { previewDocumentInChooser(w); }},
    separator("mnuView"),
    {.name = "mnuDefineBrowsers", .caption = "&Define Browsers", .where = "mnuView",
     .feature = [](FeatureContext &c) { defineBrowsers(c); }},
    {.name = "mnuUserButtons", .caption = "Define &User Buttons", .where = "mnuView",
     .window = [](MainWindow &w, int) { w.defineUserButtons(); }},
    {.name = "mnuFonts", .caption = "&Fonts", .where = "mnuView", .feature = chooseDisplayFont},
    {.name = "mnuViewPic", .caption = "&Picture", .where = "mnuView",
     .feature = [](FeatureContext &c) { showImageViewer(c); }},
    separator("mnuView"),
    {.name = "mnuOptions", .caption = "&Options", .where = "mnuView",
     .feature = [](FeatureContext &c) {
         showOptions(c, [&c] { registerHTMLFiles(c.platform, QCoreApplication::applicationFilePath()); });
     }},
    separator("mnuView"),
    {.name = "mnuViewColouring", .caption = "Syntax &Colouring", .where = "mnuView", .checkable = true,
     .window = [](MainWindow &w, int) { w.setColouring(!w.colouring()); }},
    {.name = "mnuViewLineNumbers", .caption = "&Line Numbers", .where = "mnuView", .checkable = true,
     .window = [](MainWindow &w, int) { w.setLineNumbers(!w.lineNumbers()); }},

    // The recent files: one control array; an empty caption shows as a blank line.
    {.name = "mnuRecentlyUsed", .caption = "", .where = "mnuRecent", .count = 10,
     .window = [](MainWindow &w, int k) { w.openRecentFile(k); }},

    {.name = "mnuHelpSearch", .caption = "&Search For Help On...", .where = "mnuHelp",
     .feature = [](FeatureContext &c) { showHelp(c); }},
    separator("mnuHelp"),
    {.name = "mnuHelpAbout", .caption = "&About Pagewick...", .where = "mnuHelp",
     .feature = [](FeatureContext &c) { showAbout(c); }},

    // The picture buttons; the gaps between their left edges group them.
    {.name = "cmdNew", .icon = "document-new", .tooltip = "New Document", .place = PictureBar, .left = 120,
     .window = [](MainWindow &w, int) { w.newDocument(); }},
    {.name = "cmdOpen", .icon = "document-open", .tooltip = "Open Document", .place = PictureBar, .left = 480,
     .window = [](MainWindow &w, int) { w.openDocument(); }},
    {.name = "cmdSave", .icon = "document-save", .tooltip = "Save Current Document", .place = PictureBar, .left = 840,
     .window = [](MainWindow &w, int) { w.save(); }},
    {.name = "cmdPrint", .icon = "document-print", .tooltip = "Print Current Document", .place = PictureBar, .left = 1320,
     .window = [](MainWindow &w, int) { w.print(); }},
    {.name = "cmdCut", .icon = "edit-cut", .tooltip = "Cut", .place = PictureBar, .left = 1800,
     .window = editCommand<&QPlainTextEdit::cut>},
    {.name = "cmdCopy", .icon = "edit-copy", .tooltip = "Copy", .place = PictureBar, .left = 2160,
     .window = editCommand<&QPlainTextEdit::copy>},
    {.name = "cmdPaste", .icon = "edit-paste", .tooltip = "Paste", .place = PictureBar, .left = 2520,
     .window = editCommand<&QPlainTextEdit::paste>},
    {.name = "cmdSpellCheck", .icon = "tools-check-spelling", .tooltip = "Check Spelling", .place = PictureBar, .left = 3000,
     .window = [](MainWindow &w, int) { w.checkSpelling(); }},
    {.name = "cmdIE", .icon = "browser-1", .tooltip = "View with Browser #1", .place = PictureBar, .left = 3480,
     .window = [](MainWindow &w, int) { previewDocument(w, Browser::First); }},
    {.name = "cmdNN", .icon = "browser-2", .tooltip = "View with Browser #2", .place = PictureBar, .left = 3840,
     .window = [](MainWindow &w, int) { previewDocument(w, Browser::Second); }},
    {.name = "cmdCommentBlock", .icon = "comment-block", .tooltip = "Comment Block of Code", .place = PictureBar,
     .left = 4320, .window = [](MainWindow &w, int) { w.commentBlock(); }},
    {.name = "cmdUnCommentBlock", .icon = "uncomment-block", .tooltip = "UnComment Block of Code", .place = PictureBar,
     .left = 4680, .window = [](MainWindow &w, int) { w.unCommentBlock(); }},
    {.name = "cmdVirtualPath", .icon = "virtual-path", .caption = "VP", .tooltip = "Map a Physical Path to a Virtual Path",
     .place = PictureBar, .left = 5160, .feature = [](FeatureContext &c) { editPathMapping(c); }},
    {.name = "cmdHelp", .icon = "help-contents|help-browser", .tooltip = "Help", .place = PictureBar, .left = -1,
     .feature = [](FeatureContext &c) { showHelp(c); }},

    // Generators and tools on the toolbar pages, after the insertion rows of their page.
    {.name = "cmdEasyBegin", .caption = "Jump Start", .tooltip = "Jump Start", .place = Page,
     .where = pages::kDialogs, .feature = runPageWizard},
    {.name = "cmdFrameDialog", .caption = "Frames", .tooltip = "Frame Dialog", .place = Page,
     .where = pages::kDialogs, .feature = runFramesetDialog},
    {.name = "cmdFileManDialog", .caption = "Listing", .tooltip = "File Management Dialog",
     .place = Page, .where = pages::kDialogs,
     .feature = [](FeatureContext &c) { openExportWizard(c); }},
    {.name = "cmdDirDialog", .icon = "directory-replace", .tooltip = "Directory Replace Dialog",
     .place = Page, .where = pages::kDialogs,
     .feature = [](FeatureContext &c) { runDirectoryReplace(c); }},
    {.name = "cmdRTFDialog", .icon = "rtf-convert", .tooltip = "RTF to HTML Conversion Dialog",
     .place = Page, .where = pages::kDialogs,
     .feature = [](FeatureContext &c) { runRTFDialog(c); }},
    {.name = "cmdLowerCase", .icon = "lower-case", .tooltip = "Convert Filenames To Lower Case Dialog", .place = Page, .where = pages::kDialogs,
     .feature = [](FeatureContext &c) { openLowerCase(c); }},
    {.name = "cmdJSMenu", .caption = "Menu", .tooltip = "JavaScript Menu Dialog", .place = Page,
     .where = pages::kJavaScript, .feature = [](FeatureContext &c) { runJsMenuDialog(c); }},
    {.name = "cmdJSAd", .caption = "Ad", .tooltip = "Ad Rotator Script", .place = Page,
     .where = pages::kJavaScript, .feature = insertAdRotator},
    {.name = "cmdJSStatusScroll", .caption = "Scroller", .tooltip = "Status Bar Scroller",
     .place = Page, .where = pages::kJavaScript, .feature = insertStatusScroller},
    {.name = "cmdPHPDataDialog", .caption = "Database", .tooltip = "PHP Database Dialog",
     .place = Page, .where = pages::kPHP,
     .feature = [](FeatureContext &c) { runPhpDataDialog(c); }},
    {.name = "cmdCopyINC", .caption = "Copy INC", .tooltip = "Copy The HTML_Class Include File",
     .place = Page, .where = pages::kPHP, .feature = copyIncludeFile},
    // The ten user buttons share one name and carry their index; captions "1" to "10".
    {.name = "cmdUD", .place = Page, .where = pages::kUser, .count = 10,
     .window = [](MainWindow &w, int k) { w.insertionToolbar()->runUserButton(k); }},
};

// clang-format on

// The text a page caption is shown with: "&" written "&&".
QString pageCaption(const QString &tabText)
{
    return QString(tabText).replace(QStringLiteral("&&"), QStringLiteral("&"));
}

} // namespace

CommandRunner::CommandRunner(MainWindow &window) : QObject(&window), window_(window)
{
    setObjectName(QStringLiteral("commandRunner"));
}

QIcon commandIcon(const char *icon)
{
    if (!icon)
        return {};
    const QStringList names = QString::fromUtf8(icon).split(u'|');
    for (const QString &name : names) {
        if (QIcon::hasThemeIcon(name))
            return QIcon::fromTheme(name);
    }
    const QString own = QStringLiteral(":/pictures/%1.svg").arg(names.first());
    return QFile::exists(own) ? QIcon(own) : QIcon();
}

QToolButton *CommandRunner::makeButton(const QString &name, const QString &caption,
                                       const QString &tooltip, Place place, const char *icon)
{
    auto *button = new QToolButton;
    button->setObjectName(name);
    button->setText(caption);
    if (icon) {
        button->setIcon(commandIcon(icon));
        button->setIconSize(QSize(18, 18));
        button->setToolButtonStyle(caption.isEmpty() ? Qt::ToolButtonIconOnly
                                                     : Qt::ToolButtonTextBesideIcon);
    }
    if (!tooltip.isEmpty())
        button->setToolTip(tooltip);
    // The document keeps the keyboard focus; the commands hand it back there anyway.
    button->setFocusPolicy(Qt::NoFocus);
    if (place == PictureBar) {
        // Square, or as wide as a caption beside the picture needs.
        const int size = twipsToPixels(375);
        if (caption.isEmpty())
            button->setFixedSize(size, size);
        else
            button->setFixedHeight(size);
        button->setAutoRaise(true);
    } else {
        button->setMinimumWidth(28);
    }
    return button;
}

void CommandRunner::build(QMenuBar *menuBar, QHBoxLayout *pictureBar)
{
    QHash<QString, QMenu *> menus;
    for (const MenuDef &def : kMenus) {
        QMenu *menu = menuBar->addMenu(QString::fromUtf8(def.caption));
        menu->setObjectName(QString::fromUtf8(def.name));
        menus.insert(menu->objectName(), menu);
    }

    int previousEnd = twipsToPixels(120);
    const int size = twipsToPixels(375);
    for (const Command &row : kCommands) {
        if (row.name)
            names_ << QString::fromUtf8(row.name);
        if (row.place == Menu) {
            QMenu *menu = menus.value(QString::fromUtf8(row.where));
            Q_ASSERT(menu);
            if (!row.name) {
                menu->addSeparator();
                continue;
            }
            for (int k = 0; k < row.count; ++k) {
                QAction *action = menu->addAction(QString::fromUtf8(row.caption));
                action->setObjectName(QString::fromUtf8(row.name));
                if (row.count > 1)
                    action->setProperty("index", k);
                if (row.shortcut)
                    action->setShortcut(QKeySequence(QString::fromUtf8(row.shortcut)));
                action->setCheckable(row.checkable);
                wireRow(action, row, k);
            }
        } else if (row.place == PictureBar) {
            QToolButton *button =
                makeButton(QString::fromUtf8(row.name), QString::fromUtf8(row.caption),
                           QString::fromUtf8(row.tooltip), PictureBar, row.icon);
            if (row.left < 0) {
                pictureBar->addStretch(1);
            } else {
                const int left = twipsToPixels(row.left);
                if (left > previousEnd)
                    pictureBar->addSpacing(left - previousEnd);
                previousEnd = left + std::max(size, button->sizeHint().width());
            }
            pictureBar->addWidget(button);
            wireRow(button, row, 0);
        }
    }
    buildPages();

#ifndef NDEBUG
    const QStringList problems = wiringProblems();
    if (!problems.isEmpty())
        qFatal("Command wiring: %s", qPrintable(problems.join(QStringLiteral("; "))));
#endif
}

// Each page holds, in order: the lists no button reads, the insertion rows (a vocabulary
// list just before the button that inserts it), then the window's own rows of that page.
void CommandRunner::buildPages()
{
    InsertionToolbar *insertion = window_.insertionToolbar();
    for (const char *tabsName : {"MyTab", "MyTabScript"}) {
        auto *tabs = window_.findChild<QTabWidget *>(QString::fromUtf8(tabsName));
        for (int i = 0; i < tabs->count(); ++i) {
            QWidget *page = tabs->widget(i);
            const QString caption = pageCaption(tabs->tabText(i));
            auto *layout = new FlowLayout(page);

            for (const VocabularyList &vocabulary : vocabularyLists()) {
                const bool hasButton =
                    std::ranges::any_of(toolbarCommands(), [&](const ToolbarCommand &c) {
                        return c.target && qstrcmp(c.target, vocabulary.name) == 0;
                    });
                if (!hasButton && caption == QLatin1String(vocabulary.page))
                    layout->addWidget(insertion->list(QString::fromUtf8(vocabulary.name)));
            }
            for (const ToolbarCommand &row : toolbarCommands()) {
                if (caption != QLatin1String(row.page))
                    continue;
                if (row.kind == CommandKind::Vocabulary)
                    layout->addWidget(insertion->list(QString::fromUtf8(row.target)));
                names_ << QString::fromUtf8(row.name);
                const QString name = QString::fromUtf8(row.name);
                QToolButton *button =
                    makeButton(name, QString::fromUtf8(row.caption),
                               row.tooltip ? QString::fromUtf8(row.tooltip) : QString(), Page);
                layout->addWidget(button);
                wire(button, name, [this, name] { run(name); });
            }
            for (const Command &row : kCommands) {
                if (row.place != Page || caption != QLatin1String(row.where))
                    continue;
                for (int k = 0; k < row.count; ++k) {
                    const QString text =
                        row.count > 1 ? QString::number(k + 1) : QString::fromUtf8(row.caption);
                    QToolButton *button =
                        makeButton(QString::fromUtf8(row.name), text,
                                   QString::fromUtf8(row.tooltip), Page, row.icon);
                    if (row.count > 1)
                        button->setProperty("index", k);
                    layout->addWidget(button);
                    wireRow(button, row, k);
                }
            }
        }
    }
}

void CommandRunner::wire(QObject *control, const QString &name, std::function<void()> action)
{
    wired_.insert(control, name);
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        connect(button, &QAbstractButton::clicked, this, std::move(action));
    else if (auto *item = qobject_cast<QAction *>(control))
        connect(item, &QAction::triggered, this, std::move(action));
}

bool CommandRunner::rowIsBuilt(const Command &row) const
{
    if (row.window || row.feature)
        return true;
    return row.dialog && window_.insertionToolbar()->hasDialog(QString::fromUtf8(row.dialog));
}

// Whether a command is built is asked when it runs: a dialog may be registered after the
// window was built.
bool CommandRunner::isBuilt(const QString &name) const
{
    for (const Command &row : kCommands) {
        if (row.name && name == QLatin1String(row.name))
            return rowIsBuilt(row);
    }
    if (const ToolbarCommand *row = findToolbarCommand(name)) {
        return row->kind != CommandKind::Dialog
               || window_.insertionToolbar()->hasDialog(QString::fromUtf8(row->target));
    }
    return false;
}

void CommandRunner::wireRow(QObject *control, const Command &row, int index)
{
    const QString name = QString::fromUtf8(row.name);
    wire(control, name, [this, name, index] { run(name, index); });
}

void CommandRunner::run(const QString &name, int index)
{
    // Only a dialog that was never registered can be missing; the wiring check reports it.
    if (!isBuilt(name))
        return;
    for (const Command &row : kCommands) {
        if (!row.name || name != QLatin1String(row.name))
            continue;
        FeatureContext context = window_.featureContext();
        if (row.window) {
            row.window(window_, index);
        } else if (row.feature) {
            row.feature(context);
        } else {
            const auto factory =
                window_.insertionToolbar()->dialogFactory(QString::fromUtf8(row.dialog));
            if (std::unique_ptr<QDialog> dialog = factory(context))
                context.platform.runDialog(*dialog);
        }
        return;
    }
    if (const ToolbarCommand *row = findToolbarCommand(name))
        window_.insertionToolbar()->run(*row);
}

QStringList CommandRunner::wiringProblems() const
{
    QStringList problems;
    for (const QString &name : names_) {
        if (!isBuilt(name))
            problems << name + QStringLiteral(" runs nothing");
    }
    // Every control of the window that can be used runs a row.
    QList<QObject *> controls;
    for (QAction *action : window_.menuBar()->findChildren<QAction *>()) {
        if (!action->isSeparator() && !action->menu())
            controls << action;
    }
    for (QAbstractButton *button : window_.findChildren<QAbstractButton *>()) {
        // The tab bars' scroll arrows and the menu bar's overflow button belong to Qt.
        if (!qobject_cast<QTabBar *>(button->parentWidget())
            && !button->objectName().startsWith(QLatin1String("qt_")))
            controls << button;
    }
    for (QObject *control : controls) {
        if (wired_.value(control) != control->objectName())
            problems << QStringLiteral("control \"%1\" runs no command").arg(control->objectName());
    }
    return problems;
}

} // namespace pw
