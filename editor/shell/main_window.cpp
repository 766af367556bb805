// Building frmMain: menus, toolbar tabs, picture buttons, panes, editor and status bar.
#include "shell/main_window.h"

#include "shared/file_panes.h"
#include "shared/platform.h"
#include "shared/program_state.h"
#include "shared/settings_store.h"

#include <QAction>
#include <QBoxLayout>
#include <QEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

namespace pw {

namespace {

// Twips are 1/1440 inch; at 96 dots per inch a pixel is 15 twips.
constexpr int TwipsToPixels(int twips) { return twips / 15; }

struct MenuRow {
    const char *name;     // objectName; nullptr for a separator
    const char *caption;
    const char *shortcut; // nullptr when the item has none
};

struct MenuDef {
    const char *name;
    const char *caption;
    std::initializer_list<MenuRow> rows;
};

// The menu bar. The Edit menu's Ctrl texts are part of the captions: the edit box handles
// those keys itself, so they are not shortcuts of the items.
const MenuDef kMenus[] = {
    {"mnuFile", "&File",
     {{"mnuFileNew", "&New", "Ctrl+N"},
      {"mnuFileOpen", "&Open", "Ctrl+O"},
      {"mnuFileClose", "&Close", nullptr},
      {nullptr, nullptr, nullptr},
      {"mnuFileSave", "&Save", "Ctrl+S"},
      {"mnuFileSaveAs", "Save &As...", nullptr},
      {"mnuSaveAsUnix", "Save As Unix", nullptr},
      {nullptr, nullptr, nullptr},
      {"mnuFilePrint", "&Print...", "Ctrl+P"},
      {nullptr, nullptr, nullptr},
      {"mnuFileExit", "E&xit", nullptr}}},
    {"mnuEdit", "&Edit",
     {{"mnuEditUndo", "&Undo         Ctrl+Z", nullptr},
      {nullptr, nullptr, nullptr},
      {"mnuEditCut", "Cu&t            Ctrl+X", nullptr},
      {"mnuEditCopy", "&Copy         Ctrl+C", nullptr},
      {"mnuEditPaste", "&Paste        Ctrl+V", nullptr},
      {nullptr, nullptr, nullptr},
      {"mnuFind", "&Find", nullptr},
      {"mnuReplace", "&Replace", nullptr},
      {nullptr, nullptr, nullptr},
      {"mnuInsertDate", "Insert &Date", "Ctrl+D"},
      {"mnuRefresh", "Refresh", "F5"},
      {"mnuCheckSpelling", "&Check Spelling", "F7"},
      {nullptr, nullptr, nullptr},
      {"mnuGotoLine", "&Goto Line", nullptr}}},
    {"mnuView", "&View",
     {{"mnuBrowser", "&In Browser", nullptr},
      {nullptr, nullptr, nullptr},
      {"mnuDefineBrowsers", "&Define Browsers", nullptr},
      {"mnuUserButtons", "Define &User Buttons", nullptr},
      {"mnuFonts", "&Fonts", nullptr},
      {"mnuViewPic", "&Picture", nullptr},
      {nullptr, nullptr, nullptr},
      {"mnuOptions", "&Options", nullptr}}},
    {"mnuRecent", "&Recent", {}},
    {"mnuHelp", "&Help",
     {{"mnuHelpSearch", "&Search For Help On...", nullptr},
      {nullptr, nullptr, nullptr},
      {"mnuHelpAbout", "&About Pagewick...", nullptr}}},
};

const char *const kHtmlPages[] = {"Dialogs",      "Formatting", "Fonts, Frames, && Forms",
                                  "Lists && Tables", "All Tags", "DHTML", "CSS"};
const char *const kScriptPages[] = {"JavaScript", "CFML", "VBScript", "PHP", "ASP", "User"};

struct PictureButton {
    const char *name;
    const char *tooltip;
    QStyle::StandardPixmap icon;
    const char *caption; // shown when the button has no picture of its own
    int left;            // twips from the window's left edge; the gaps group the buttons
};

// The picture buttons beside the tabs.
const PictureButton kPictureButtons[] = {
    {"cmdNew", "New Document", QStyle::SP_FileIcon, nullptr, 120},
    {"cmdOpen", "Open Document", QStyle::SP_DialogOpenButton, nullptr, 480},
    {"cmdSave", "Save Current Document", QStyle::SP_DialogSaveButton, nullptr, 840},
    {"cmdPrint", "Print Current Document", QStyle::SP_CustomBase, "P", 1320},
    {"cmdCut", "Cut", QStyle::SP_CustomBase, "X", 1800},
    {"cmdCopy", "Copy", QStyle::SP_CustomBase, "C", 2160},
    {"cmdPaste", "Paste", QStyle::SP_CustomBase, "V", 2520},
    {"cmdSpellCheck", "Check Spelling", QStyle::SP_CustomBase, "ABC", 3000},
    {"cmdIE", "View with Browser #1", QStyle::SP_CustomBase, "B1", 3480},
    {"cmdNN", "View with Browser #2", QStyle::SP_CustomBase, "B2", 3840},
    {"cmdCommentBlock", "Comment Block of Code", QStyle::SP_CustomBase, "//", 4320},
    {"cmdUnCommentBlock", "UnComment Block of Code", QStyle::SP_CustomBase, "\\\\", 4680},
    {"cmdVirtualPath", "Map a Physical Path to a Virtual Path", QStyle::SP_CustomBase, "VP",
     5160},
};

} // namespace

MainWindow::MainWindow(ProgramState &state, SettingsStore &settings, Platform &platform,
                       const QString &programFolder, QWidget *parent)
    : QMainWindow(parent), state_(state), settings_(settings), platform_(platform),
      programFolder_(programFolder), txtEdit_(new QPlainTextEdit), edit_(txtEdit_)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Pagewick"));
    createMenus();
    createToolbarTabs();
    createPanesAndEditor();
    createStatusBar();
    connectDocumentSignals();
    connectCommands();
    connectInsertion();
    connectTools();
    setMinimumSize(TwipsToPixels(9500), TwipsToPixels(4600));
    resize(TwipsToPixels(9525), TwipsToPixels(7620));
}

MainWindow::~MainWindow() = default;

void MainWindow::createMenus()
{
    for (const MenuDef &def : kMenus) {
        QMenu *menu = menuBar()->addMenu(QString::fromUtf8(def.caption));
        menu->setObjectName(QString::fromUtf8(def.name));
        for (const MenuRow &row : def.rows) {
            if (!row.name) {
                menu->addSeparator();
                continue;
            }
            QAction *action = menu->addAction(QString::fromUtf8(row.caption));
            action->setObjectName(QString::fromUtf8(row.name));
            if (row.shortcut)
                action->setShortcut(QKeySequence(QString::fromUtf8(row.shortcut)));
        }
    }
    // The ten recent-file items are one array; an empty caption shows as a blank line.
    QMenu *recent = menuBar()->findChild<QMenu *>(QStringLiteral("mnuRecent"));
    for (int i = 0; i < 10; ++i) {
        QAction *item = recent->addAction(QString());
        item->setObjectName(QStringLiteral("mnuRecentlyUsed"));
        item->setProperty("index", i);
        mnuRecentlyUsed_ << item;
    }
}

void MainWindow::createToolbarTabs()
{
    MyOuterTab_ = new QTabWidget;
    MyOuterTab_->setObjectName(QStringLiteral("MyOuterTab"));
    MyTab_ = new QTabWidget;
    MyTab_->setObjectName(QStringLiteral("MyTab"));
    MyTabScript_ = new QTabWidget;
    MyTabScript_->setObjectName(QStringLiteral("MyTabScript"));

    // Each page is named after the letters of its caption ("pageListsTables").
    auto addPages = [](QTabWidget *tabs, const auto &captions) {
        static const QRegularExpression notLetter(QStringLiteral("[^A-Za-z]"));
        for (const char *caption : captions) {
            auto *page = new QWidget;
            const QString text = QString::fromUtf8(caption);
            page->setObjectName(QStringLiteral("page") + QString(text).remove(notLetter));
            tabs->addTab(page, text);
        }
    };
    addPages(MyTab_, kHtmlPages);
    addPages(MyTabScript_, kScriptPages);
    MyOuterTab_->addTab(MyTab_, QStringLiteral("HTML"));
    MyOuterTab_->addTab(MyTabScript_, QStringLiteral("Script"));
    // The toolbar pages are at least as tall as a row of buttons; their buttons may ask more.
    MyTab_->setMinimumHeight(TwipsToPixels(855));
    MyTabScript_->setMinimumHeight(TwipsToPixels(855));
    MyOuterTab_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    // The tab controls never keep the focus: it goes back to the document.
    for (QTabWidget *tabs : {MyOuterTab_, MyTab_, MyTabScript_}) {
        tabs->installEventFilter(this);
        tabs->tabBar()->installEventFilter(this);
    }
}

void MainWindow::createPanesAndEditor()
{
    auto *central = new QWidget;
    auto *outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(2);
    outer->addWidget(MyOuterTab_);

    // Picture buttons in one row, Help kept at the right edge.
    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(TwipsToPixels(120), 0, TwipsToPixels(120), 0);
    buttons->setSpacing(0);
    const int size = TwipsToPixels(375);
    auto makeButton = [size](const char *name, const char *tooltip) {
        auto *button = new QToolButton;
        button->setObjectName(QString::fromUtf8(name));
        button->setToolTip(QString::fromUtf8(tooltip));
        button->setFixedSize(size, size);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        return button;
    };
    int previousEnd = TwipsToPixels(120);
    for (const PictureButton &def : kPictureButtons) {
        QToolButton *button = makeButton(def.name, def.tooltip);
        if (def.icon != QStyle::SP_CustomBase)
            button->setIcon(style()->standardIcon(def.icon));
        else
            button->setText(QString::fromUtf8(def.caption));
        const int left = TwipsToPixels(def.left);
        if (left > previousEnd)
            buttons->addSpacing(left - previousEnd);
        previousEnd = left + size;
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    QToolButton *help = makeButton("cmdHelp", "Help");
    help->setText(QStringLiteral("?"));
    buttons->addWidget(help);
    outer->addLayout(buttons);

    // File panes on the left of the splitter, the editor and the file tabs on the right.
    auto *panes = new QWidget;
    panes->setObjectName(QStringLiteral("filePanes"));
    auto *paneLayout = new QVBoxLayout(panes);
    paneLayout->setContentsMargins(1, 0, 0, 0);
    paneLayout->setSpacing(2);
    MyDrive_ = new DriveList;
    MyDrive_->setObjectName(QStringLiteral("MyDrive"));
    MyDirectory_ = new DirectoryList;
    MyDirectory_->setObjectName(QStringLiteral("MyDirectory"));
    MyFileList_ = new FileList;
    MyFileList_->setObjectName(QStringLiteral("MyFileList"));
    MyFileList_->setPictureDrag(true);
    panes_ = new FilePanes(MyDrive_, MyDirectory_, MyFileList_, platform_, this);
    paneLayout->addWidget(MyDrive_);
    paneLayout->addWidget(MyDirectory_, 2);
    paneLayout->addWidget(MyFileList_, 3);

    auto *document = new QWidget;
    auto *docLayout = new QVBoxLayout(document);
    docLayout->setContentsMargins(0, 0, 0, 0);
    docLayout->setSpacing(2);
    txtEdit_->setObjectName(QStringLiteral("txtEdit"));
    txtEdit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtEdit_->installEventFilter(this);
    MyTabFiles_ = new QTabBar;
    MyTabFiles_->setObjectName(QStringLiteral("MyTabFiles"));
    MyTabFiles_->setExpanding(false);
    MyTabFiles_->setFocusPolicy(Qt::NoFocus);
    for (int i = 0; i < 5; ++i)
        MyTabFiles_->addTab(QString());
    docLayout->addWidget(txtEdit_, 1);
    docLayout->addWidget(MyTabFiles_);

    // The splitter keeps 500 twips on either side of it.
    splitter_ = new QSplitter(Qt::Horizontal);
    splitter_->setObjectName(QStringLiteral("splitter"));
    splitter_->addWidget(panes);
    splitter_->addWidget(document);
    splitter_->setChildrenCollapsible(false);
    splitter_->setHandleWidth(TwipsToPixels(135));
    splitter_->handle(1)->setObjectName(QStringLiteral("lblResizer"));
    panes->setMinimumWidth(TwipsToPixels(500));
    document->setMinimumWidth(TwipsToPixels(500));
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({TwipsToPixels(2040), TwipsToPixels(6735)});
    outer->addWidget(splitter_, 1);

    // Measures pictures dropped into the editor; never shown.
    MyImage_ = new QLabel(central);
    MyImage_->setObjectName(QStringLiteral("MyImage"));
    MyImage_->hide();

    setCentralWidget(central);
}

void MainWindow::createStatusBar()
{
    statusBar()->setObjectName(QStringLiteral("sbStatusBar"));
    statusLabel_ = new QLabel;
    statusLabel_->setObjectName(QStringLiteral("sbStatusText"));
    statusBar()->addWidget(statusLabel_, 1);
}

void MainWindow::connectCommands()
{
    auto onAction = [this](const char *name, auto slot) {
        if (QAction *action = findChild<QAction *>(QString::fromUtf8(name)))
            connect(action, &QAction::triggered, this, slot);
    };
    auto onButton = [this](const char *name, auto slot) {
        if (QToolButton *button = pictureButton(QString::fromUtf8(name)))
            connect(button, &QToolButton::clicked, this, slot);
    };
    onAction("mnuFileNew", [this] { New(); });
    onAction("mnuFileOpen", [this] { Open(); });
    onAction("mnuFileClose", [this] { Close(); });
    onAction("mnuFileSave", [this] { Save(); });
    onAction("mnuFileSaveAs", [this] { SaveAs(); });
    onAction("mnuSaveAsUnix", [this] { SaveAsUnix(); });
    onAction("mnuFilePrint", [this] { Print(); });
    onAction("mnuFileExit", [this] { close(); });
    onButton("cmdNew", [this] { New(); });
    onButton("cmdOpen", [this] { Open(); });
    onButton("cmdSave", [this] { Save(); });
    onButton("cmdPrint", [this] { Print(); });

    // The box does its own editing; the menu items and buttons ask it directly.
    onAction("mnuEditUndo", [this] { txtEdit_->setFocus(); txtEdit_->undo(); });
    onAction("mnuEditCut", [this] { txtEdit_->setFocus(); txtEdit_->cut(); });
    onAction("mnuEditCopy", [this] { txtEdit_->setFocus(); txtEdit_->copy(); });
    onAction("mnuEditPaste", [this] { txtEdit_->setFocus(); txtEdit_->paste(); });
    onButton("cmdCut", [this] { txtEdit_->setFocus(); txtEdit_->cut(); });
    onButton("cmdCopy", [this] { txtEdit_->setFocus(); txtEdit_->copy(); });
    onButton("cmdPaste", [this] { txtEdit_->setFocus(); txtEdit_->paste(); });

    connectFiles();
}

FeatureContext MainWindow::featureContext()
{
    return FeatureContext{edit_,
                          state_,
                          settings_,
                          platform_,
                          this,
                          programFolder_,
                          [this] { return paneDrive(); },
                          [this] { return paneDirectory(); }};
}

QWidget *MainWindow::toolbarPage(const QString &caption) const
{
    for (QTabWidget *tabs : {MyTab_, MyTabScript_}) {
        for (int i = 0; i < tabs->count(); ++i) {
            // Captions are written with "&&" for a shown "&".
            if (tabs->tabText(i).replace(QStringLiteral("&&"), QStringLiteral("&")) == caption)
                return tabs->widget(i);
        }
    }
    return nullptr;
}

QToolButton *MainWindow::pictureButton(const QString &name) const
{
    return findChild<QToolButton *>(name);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == txtEdit_) {
            // Entering the editor with no document starts a new one. Focus that merely comes
            // back to the editor, when the window is activated again or a menu or message box
            // closes, is no entering: otherwise a Close answered in its prompt would be undone
            // at once, and a missing template would repeat its message for ever.
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            const bool returning = reason == Qt::ActiveWindowFocusReason
                                   || reason == Qt::PopupFocusReason;
            if (statusText() == kReady && loadFinished_ && !returning)
                New();
        } else {
            txtEdit_->setFocus();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace pw
