// Building frmMain: menus, toolbar tabs, picture buttons, panes, editor and status bar.
#include "shell/main_window.h"

#include "dialogs/tag_dialogs.h"
#include "document/document.h"
#include "insertion/toolbar_lists.h"
#include "shared/file_panes.h"
#include "shared/plain_tool_tips.h"
#include "shared/platform.h"
#include "shared/program_state.h"
#include "shared/settings_store.h"
#include "shared/window.h"
#include "shell/commands.h"
#include "shell/encoding_menus.h"
#include "shell/live_spelling.h"
#include "shell/recent_files.h"
#include "source_view/source_edit.h"
#include "tools/check_results.h"
#include "tools/find_window.h"
#include "tools/speller.h"

#include <QAction>
#include <QBoxLayout>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>

// The program's own pictures live in the static core library: registered by hand.
static void initIcons()
{
    Q_INIT_RESOURCE(icons);
}

namespace pw {

namespace {

const char *const kHtmlPages[] = {
    "Dialogs", "Formatting", "Fonts, Frames, && Forms", "Lists && Tables", "All Tags",
    "DHTML",   "CSS"};
const char *const kScriptPages[] = {"JavaScript", "CFML", "VBScript", "PHP", "ASP", "User"};

} // namespace

MainWindow::MainWindow(ProgramState &state, SettingsStore &settings, Platform &platform,
                       const QString &programFolder, QWidget *parent)
    : QMainWindow(parent), state_(state), settings_(settings), platform_(platform),
      programFolder_(programFolder), txtEdit_(new SourceEdit),
      edit_(txtEdit_, [this](const QString &text) { txtEdit_->setSourceText(text); }),
      document_(new Document(edit_, platform, state, this))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Pagewick"));
    createToolbarTabs();
    createPanesAndEditor();
    createStatusBar();
    liveSpelling_ = new LiveSpelling(
        *txtEdit_, [this] { return speller(false); },
        [this](const QString &error) {
            platform_.messageBox(QStringLiteral("Pagewick"), error, MsgButtons::Ok, MsgIcon::None);
        },
        this);
    createCommands();
    connectDocument();
    connectFiles();
    showToolTipsAsPlainText(this);
    setMinimumSize(twipsToPixels(9500), twipsToPixels(4600));
    resize(twipsToPixels(9525), twipsToPixels(7620));
}

MainWindow::~MainWindow() = default;

void MainWindow::createToolbarTabs()
{
    myOuterTab = new QTabWidget;
    myOuterTab->setObjectName(QStringLiteral("MyOuterTab"));
    myTab = new QTabWidget;
    myTab->setObjectName(QStringLiteral("MyTab"));
    myTabScript = new QTabWidget;
    myTabScript->setObjectName(QStringLiteral("MyTabScript"));

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
    addPages(myTab, kHtmlPages);
    addPages(myTabScript, kScriptPages);
    myOuterTab->addTab(myTab, QStringLiteral("HTML"));
    myOuterTab->addTab(myTabScript, QStringLiteral("Script"));
    // The toolbar pages are at least as tall as a row of buttons; their buttons may ask more.
    myTab->setMinimumHeight(twipsToPixels(855));
    myTabScript->setMinimumHeight(twipsToPixels(855));
    myOuterTab->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    // The tab controls never keep the focus: it goes back to the document.
    for (QTabWidget *tabs : {myOuterTab, myTab, myTabScript}) {
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
    outer->addWidget(myOuterTab);

    // The picture buttons in one row, Help kept at the right edge; the command runner fills it.
    pictureBar_ = new QHBoxLayout;
    pictureBar_->setContentsMargins(twipsToPixels(120), 0, twipsToPixels(120), 0);
    pictureBar_->setSpacing(0);
    outer->addLayout(pictureBar_);

    // File panes on the left of the splitter, the editor and the file tabs on the right.
    auto *panes = new QWidget;
    panes->setObjectName(QStringLiteral("filePanes"));
    auto *paneLayout = new QVBoxLayout(panes);
    paneLayout->setContentsMargins(1, 0, 0, 0);
    paneLayout->setSpacing(2);
    auto *myDrive = new DriveList;
    myDrive->setObjectName(QStringLiteral("MyDrive"));
    auto *myDirectory = new DirectoryList;
    myDirectory->setObjectName(QStringLiteral("MyDirectory"));
    auto *myFileList = new FileList;
    myFileList->setObjectName(QStringLiteral("MyFileList"));
    myFileList->setPictureDrag(true);
    panes_ = new FilePanes(myDrive, myDirectory, myFileList, platform_, this);
    paneLayout->addWidget(myDrive);
    paneLayout->addWidget(myDirectory, 2);
    paneLayout->addWidget(myFileList, 3);

    auto *document = new QWidget;
    auto *docLayout = new QVBoxLayout(document);
    docLayout->setContentsMargins(0, 0, 0, 0);
    docLayout->setSpacing(2);
    txtEdit_->setObjectName(QStringLiteral("txtEdit"));
    txtEdit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtEdit_->installEventFilter(this);
    txtEdit_->viewport()->installEventFilter(this);
    myTabFiles = new QTabBar;
    myTabFiles->setObjectName(QStringLiteral("MyTabFiles"));
    myTabFiles->setExpanding(false);
    myTabFiles->setFocusPolicy(Qt::NoFocus);
    for (int i = 0; i < 5; ++i)
        myTabFiles->addTab(QString());
    docLayout->addWidget(txtEdit_, 1);
    // What Check Page and Check PHP found, under the box; hidden until the first check.
    auto *checkResults = new CheckResults(edit_);
    checkResults->setMaximumHeight(twipsToPixels(1800));
    docLayout->addWidget(checkResults);
    docLayout->addWidget(myTabFiles);

    // The splitter keeps 500 twips on either side of it.
    splitter_ = new QSplitter(Qt::Horizontal);
    splitter_->setObjectName(QStringLiteral("splitter"));
    splitter_->addWidget(panes);
    splitter_->addWidget(document);
    splitter_->setChildrenCollapsible(false);
    splitter_->setHandleWidth(twipsToPixels(135));
    splitter_->handle(1)->setObjectName(QStringLiteral("lblResizer"));
    panes->setMinimumWidth(twipsToPixels(500));
    document->setMinimumWidth(twipsToPixels(500));
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({twipsToPixels(2040), twipsToPixels(6735)});
    outer->addWidget(splitter_, 1);

    // Measures pictures dropped into the editor; never shown.
    myImage = new QLabel(central);
    myImage->setObjectName(QStringLiteral("MyImage"));
    myImage->hide();

    setCentralWidget(central);
}

void MainWindow::createCommands()
{
    addFindNextKey(this, edit_, platform_);
    // Pictures come from the desktop's icon theme; Tango (see scripts/install-deps) stands in
    // where it has none, or where no theme is set, as on a bare X server.
    initIcons();
    // Without a desktop session (a bare X server, tests) Qt looks for themes nowhere.
    QStringList themePaths = QIcon::themeSearchPaths();
    for (const QString &path :
         QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                   QStandardPaths::LocateDirectory)) {
        if (!themePaths.contains(path))
            themePaths << path;
    }
    QIcon::setThemeSearchPaths(themePaths);
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Tango"));
    QIcon::setFallbackThemeName(QStringLiteral("Tango"));

    commands_ = new CommandRunner(*this);
    for (const TagDialog &dialog : tagDialogs())
        commands_->registerDialog(QString::fromUtf8(dialog.name), dialog.make);
    commands_->build(menuBar(), pictureBar_);

    QList<QAction *> recentItems = findChildren<QAction *>(QStringLiteral("mnuRecentlyUsed"));
    std::ranges::sort(recentItems, {},
                      [](QAction *item) { return item->property("index").toInt(); });
    recent_ = new RecentFiles(recentItems, myTabFiles, this);
}

void MainWindow::createStatusBar()
{
    statusBar()->setObjectName(QStringLiteral("sbStatusBar"));
    statusLabel_ = new QLabel;
    statusLabel_->setObjectName(QStringLiteral("sbStatusText"));
    statusBar()->addWidget(statusLabel_, 1);
    // The caret, the encoding and the line breaks beside the document's name.
    auto field = [this](const char *name) {
        auto *label = new QLabel;
        label->setObjectName(QString::fromUtf8(name));
        statusBar()->addPermanentWidget(label);
        return label;
    };
    caretField_ = field("sbCaret");
    encodingField_ = field("sbEncoding");
    lineBreaksField_ = field("sbLineBreaks");
    new EncodingMenus(*document_, encodingField_, lineBreaksField_, this);
    connect(txtEdit_, &QPlainTextEdit::cursorPositionChanged, this, &MainWindow::showCaretField);
    showCaretField();
}

FeatureContext MainWindow::featureContext()
{
    return FeatureContext{edit_,     *document_, state_,         settings_,
                          platform_, this,       programFolder_, panes_};
}

QWidget *MainWindow::toolbarPage(const QString &caption) const
{
    for (QTabWidget *tabs : {myTab, myTabScript}) {
        for (int i = 0; i < tabs->count(); ++i) {
            // Captions are written with "&&" for a shown "&".
            if (tabs->tabText(i).replace(QStringLiteral("&&"), QStringLiteral("&")) == caption)
                return tabs->widget(i);
        }
    }
    return nullptr;
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // With no document open, a click in the box or a key that would type starts New; the
    // click or key itself does nothing more.
    const bool pressed =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress;
    if (pressed && loadFinished_ && !document_->isOpen()) {
        const bool click =
            watched == txtEdit_->viewport() && event->type() == QEvent::MouseButtonPress;
        bool typing = false;
        if (watched == txtEdit_ && event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            const Qt::KeyboardModifiers commands =
                Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
            typing = !(key->modifiers() & commands)
                     && (!key->text().isEmpty() || key->key() == Qt::Key_Return
                         || key->key() == Qt::Key_Enter);
        }
        if (click || typing) {
            newDocument();
            return true;
        }
    }
    if (editorEvent(watched, event))
        return true;
    if (event->type() == QEvent::FocusIn) {
        if (watched == txtEdit_) {
            // Entering the editor with no document starts a new one. Focus that merely comes
            // back to the editor, when the window is activated again or a menu or message box
            // closes, is no entering: otherwise a Close answered in its prompt would be undone
            // at once, and a missing template would repeat its message for ever.
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            const bool returning =
                reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
            if (!document_->isOpen() && loadFinished_ && !returning)
                newDocument();
        } else {
            txtEdit_->setFocus();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace pw
