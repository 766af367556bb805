// Start-up, the window's controls and menus, the settings store and shutdown.
#include "shared/file_panes.h"
#include "shell/register_html.h"
#include "shell/start_up.h"
#include "support/main_window_harness.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace pw;
using namespace pw::test;

namespace {

QString templateText()
{
    QFile file(QStringLiteral(PAGEWICK_BIN_DIR "/Template.html"));
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

// Closes the window as the user would and says whether it closed.
bool closeWindow(MainWindow &window)
{
    QCloseEvent event;
    QCoreApplication::sendEvent(&window, &event);
    return event.isAccepted();
}

void typeInto(MainWindow &window, const QString &text)
{
    window.editBox().widget()->setFocus();
    window.editBox().widget()->insertPlainText(text);
}

} // namespace

TEST(startUp, WithNothingStoredUsesTheDefaults)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    EXPECT_EQ(statusText(w), "Untitled.html");
    EXPECT_EQ(w.windowTitle(), "Pagewick - Untitled.html");
    EXPECT_EQ(w.editBox().text(), templateText());
    EXPECT_EQ(w.panes().driveList()->drive(), "/");
    EXPECT_EQ(w.panes().directoryList()->path(), QDir::homePath());
    EXPECT_FALSE(h.state.idAttribute);
    EXPECT_FALSE(h.state.heightWidth);
    EXPECT_EQ(h.state.BlockComment, "//");
    EXPECT_EQ(h.state.fileFilter,
              "HTML Files|*.html;*.htm|JavaScripts|*.js|VBScripts|*.vbs|Perl Scripts|*.pl|PHP "
              "Scripts|*.php;*.phtml;*.php3|Active Server Pages|*.asp|Include Files|*.inc|TCL "
              "Scripts|*.tcl;*.tk|Text Files|*.txt|All Files|*.*");
    EXPECT_EQ(w.recent().files(), QStringList(10, QString()));
    EXPECT_TRUE(w.loadFinished());
    EXPECT_FALSE(w.document().isModified());
    EXPECT_TRUE(h.platform.messages.isEmpty());
    // The template puts the caret target just after "<TITLE>".
    EXPECT_EQ(w.editBox().text().mid(0, 30).right(7), "<TITLE>");
}

TEST(startUp, StoredOptionsAndBrowsersAreRead)
{
    MainWindowHarness h;
    h.settings->write("Settings", "IDAttribute", "True");
    h.settings->write("Settings", "HeightWidth", "true"); // only "True" counts
    h.settings->write("Settings", "BlockComment", "'");
    h.settings->write("Browsers", "IE", "/usr/bin/firefox");
    h.settings->write("Browsers", "NN", "/opt/b two/browser");
    h.settings->write("Settings", "UDO3", "<BLINK>");
    h.settings->write("Settings", "UDC3", "</BLINK>");
    h.start();
    EXPECT_TRUE(h.state.idAttribute);
    EXPECT_FALSE(h.state.heightWidth);
    EXPECT_EQ(h.state.BlockComment, "'");
    EXPECT_EQ(h.state.iePath, "/usr/bin/firefox");
    EXPECT_EQ(h.state.nnPath, "/opt/b two/browser");
    EXPECT_EQ(h.state.userOpenTags[2], "<BLINK>");
    EXPECT_EQ(h.state.userCloseTags[2], "</BLINK>");
}

TEST(startUp, ExistingArgumentFileOpensButStoredRecentListWins)
{
    MainWindowHarness h;
    const QString file = h.writeFile("site/page one.html", "<P>hello</P>\r\n");
    h.settings->write("Settings", "RU0", "/stored/first.html");
    const QString stored = QFileInfo(h.writeFile("stored/x.htm", "")).absolutePath();
    h.settings->write("Settings", "Dir", stored + "/");
    MainWindow &w = h.start("  " + file + "  ");
    EXPECT_EQ(statusText(w), file);
    EXPECT_EQ(w.windowTitle(), "Pagewick - " + file);
    EXPECT_EQ(w.editBox().text(), "<P>hello</P>\r\n");
    EXPECT_EQ(w.recent().tabFiles()[0], file);
    EXPECT_EQ(w.findChild<QTabBar *>("MyTabFiles")->tabText(0), "page one.html");
    // Restoring after loading: the stored list and directory replace what the file set.
    EXPECT_EQ(w.recent().files()[0], "/stored/first.html");
    EXPECT_EQ(w.panes().directoryList()->path(), stored);
}

TEST(startUp, AnArgumentNamingAFileWithBlanksOpensThatFile)
{
    MainWindowHarness h;
    h.writeFile("site/a.html", "<P>plain</P>\r\n");
    const QString blank = h.writeFile("site/a.html ", "<P>blank</P>\r\n");
    MainWindow &w = h.start(blank);
    EXPECT_EQ(statusText(w), blank);
    EXPECT_EQ(w.editBox().text(), "<P>blank</P>\r\n");
}

TEST(startUp, MissingArgumentFileOpensTheTemplateSilently)
{
    MainWindowHarness h;
    MainWindow &w = h.start(h.path("no such file.html"));
    EXPECT_EQ(statusText(w), "Untitled.html");
    EXPECT_EQ(w.windowTitle(), "Pagewick - Untitled.html");
    EXPECT_EQ(w.editBox().text(), templateText());
    EXPECT_TRUE(h.platform.messages.isEmpty());
    EXPECT_EQ(w.recent().tabFiles()[0], "");
}

TEST(startUp, AnArgumentNamingAFolderOpensThePanesOnItOverTheStoredFolder)
{
    MainWindowHarness h;
    h.writeFile("site/index.html", "<P>home</P>");
    h.settings->write("Settings", "Dir", QDir::homePath());
    MainWindow &w = h.start(h.path("site"));
    EXPECT_EQ(w.panes().directoryList()->path(), QDir::cleanPath(h.path("site")));
    EXPECT_EQ(statusText(w), "Untitled.html");
    EXPECT_EQ(w.editBox().text(), templateText());
    EXPECT_TRUE(h.platform.messages.isEmpty());
}

TEST(startUp, FontIsRestoredFromTheStore)
{
    MainWindowHarness h;
    h.settings->write("Fonts", "Name", "DejaVu Sans Mono");
    h.settings->write("Fonts", "Size", "15");
    h.settings->write("Fonts", "Bold", "True");
    h.settings->write("Fonts", "Italic", "False");
    MainWindow &w = h.start();
    const QFont font = w.editBox().widget()->font();
    EXPECT_EQ(font.family(), "DejaVu Sans Mono");
    EXPECT_EQ(font.pointSize(), 15);
    EXPECT_TRUE(font.bold());
    EXPECT_FALSE(font.italic());
}

TEST(MainWindowControls, EveryControlCarriesItsName)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    EXPECT_EQ(w.objectName(), "frmMain");
    for (const char *name : {"MyOuterTab", "MyTab", "MyTabScript"})
        EXPECT_NE(w.findChild<QTabWidget *>(name), nullptr) << name;
    EXPECT_NE(w.findChild<QPlainTextEdit *>("txtEdit"), nullptr);
    EXPECT_NE(w.findChild<QStatusBar *>("sbStatusBar"), nullptr);
    EXPECT_NE(w.findChild<QTabBar *>("MyTabFiles"), nullptr);
    EXPECT_EQ(w.findChild<QTabBar *>("MyTabFiles")->count(), 5);
    for (const char *name : {"MyDrive", "MyDirectory", "MyFileList", "lblResizer", "MyImage"})
        EXPECT_NE(w.findChild<QWidget *>(name), nullptr) << name;

    const std::pair<const char *, const char *> buttons[] = {
        {"cmdNew", "New Document"},
        {"cmdOpen", "Open Document"},
        {"cmdSave", "Save Current Document"},
        {"cmdPrint", "Print Current Document"},
        {"cmdCut", "Cut"},
        {"cmdCopy", "Copy"},
        {"cmdPaste", "Paste"},
        {"cmdSpellCheck", "Check Spelling"},
        {"cmdIE", "View with Browser #1"},
        {"cmdNN", "View with Browser #2"},
        {"cmdCommentBlock", "Comment Block of Code"},
        {"cmdUnCommentBlock", "UnComment Block of Code"},
        {"cmdVirtualPath", "Map a Physical Path to a Virtual Path"},
        {"cmdHelp", "Help"},
    };
    for (const auto &[name, tip] : buttons) {
        auto *button = w.findChild<QToolButton *>(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->toolTip(), tip) << name;
        EXPECT_FALSE(button->isHidden()) << name;
    }
    EXPECT_EQ(w.findChild<QToolButton *>("cmdVirtualPath")->text(), "VP");
}

TEST(MainWindowControls, TabPagesHaveTheirCaptions)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    auto captions = [&](const char *name) {
        QStringList list;
        auto *tabs = w.findChild<QTabWidget *>(name);
        for (int i = 0; i < tabs->count(); ++i)
            list << tabs->tabText(i);
        return list;
    };
    EXPECT_EQ(captions("MyOuterTab"), QStringList({"HTML", "Script"}));
    EXPECT_EQ(captions("MyTab"), QStringList({"Dialogs", "Formatting", "Fonts, Frames, && Forms",
                                              "Lists && Tables", "All Tags", "DHTML", "CSS"}));
    EXPECT_EQ(captions("MyTabScript"),
              QStringList({"JavaScript", "CFML", "VBScript", "PHP", "ASP", "User"}));
    auto *outer = w.findChild<QTabWidget *>("MyOuterTab");
    EXPECT_EQ(outer->widget(0), w.findChild<QTabWidget *>("MyTab"));
    EXPECT_EQ(outer->widget(1), w.findChild<QTabWidget *>("MyTabScript"));
    EXPECT_NE(w.toolbarPage("Fonts, Frames, & Forms"), nullptr);
    EXPECT_NE(w.toolbarPage("User"), nullptr);
}

TEST(MainWindowControls, MenuBarMatchesTheProgramsMenus)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    // "-" is a separator; "|" separates a caption from its shortcut. Besides the program's
    // own shortcuts, the ones users expect of an editor today (Ctrl+W, Ctrl+F, ...).
    const std::vector<std::pair<QString, QStringList>> expected = {
        {"&File",
         {"&New|Ctrl+N", "&Open|Ctrl+O", "&Close|Ctrl+W", "-", "&Save|Ctrl+S",
          "Save &As...|Ctrl+Shift+S", "Save As Unix", "-", "&Encoding|Ctrl+Shift+E",
          "Line &Breaks|Ctrl+Shift+L", "Reopen With Encoding|Ctrl+Shift+R", "-", "&Print...|Ctrl+P",
          "-", "E&xit|Ctrl+Q"}},
        {"&Edit",
         {"&Undo|Ctrl+Z",
          "R&edo|Ctrl+Y",
          "-",
          "Cu&t|Ctrl+X",
          "&Copy|Ctrl+C",
          "&Paste|Ctrl+V",
          "-",
          "&Find|Ctrl+F",
          "&Replace|Ctrl+H",
          "Find in F&iles|Ctrl+Shift+F",
          "Undo Last Directory Replace",
          "-",
          "Insert &Date|Ctrl+D",
          "Refresh|F5",
          "&Check Spelling|F7",
          "Check Pa&ge|F8",
          "Check P&HP|Shift+F8",
          "-",
          "&Goto Line|Ctrl+G",
          "-",
          "Complete &Tag|Ctrl+Space",
          "C&lose Tag|Ctrl+Alt+.",
          "&Wrap Selection In Tag|Ctrl+Shift+W",
          "Select Ele&ment|Ctrl+Shift+A"}},
        {"&View",
         {"&In Browser", "-", "&Define Browsers", "Define &User Buttons", "&Fonts", "&Picture", "-",
          "&Options", "-", "Syntax &Colouring", "&Line Numbers", "Add &End Tags|Ctrl+Alt+E",
          "Live &Spelling|Shift+F7"}},
        // At first start no file is recent: the ten items are there but none is shown.
        {"&Recent", QStringList(10, "(hidden)")},
        {"&Help", {"&Search For Help On...", "-", "&About Pagewick..."}},
    };
    const QList<QAction *> menus = w.menuBar()->actions();
    ASSERT_EQ(menus.size(), int(expected.size()));
    for (int m = 0; m < menus.size(); ++m) {
        EXPECT_EQ(menus[m]->text(), expected[m].first);
        QStringList items;
        for (QAction *item : menus[m]->menu()->actions()) {
            if (item->isSeparator()) {
                items << "-";
                continue;
            }
            if (!item->isVisible()) {
                items << "(hidden)";
                continue;
            }
            QString entry = item->text();
            if (!item->shortcut().isEmpty())
                entry += "|" + item->shortcut().toString();
            items << entry;
        }
        EXPECT_EQ(items, expected[m].second) << expected[m].first.toStdString();
    }
    EXPECT_EQ(w.findChildren<QAction *>("mnuRecentlyUsed").size(), 10);
    for (const char *name :
         {"mnuFileNew",     "mnuFileOpen",   "mnuFileClose",     "mnuFileSave",  "mnuFileSaveAs",
          "mnuSaveAsUnix",  "mnuFilePrint",  "mnuFileExit",      "mnuEditUndo",  "mnuFind",
          "mnuReplace",     "mnuInsertDate", "mnuCheckSpelling", "mnuGotoLine",  "mnuBrowser",
          "mnuUserButtons", "mnuOptions",    "mnuHelpSearch",    "mnuHelpAbout", "mnuViewPic"})
        EXPECT_NE(w.findChild<QAction *>(name), nullptr) << name;
}

TEST(MainWindowLayout, MinimumSizeAndSplitterBounds)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    w.show();
    // 9500 x 4600 twips at 15 twips a pixel.
    EXPECT_EQ(w.minimumSize(), QSize(633, 306));
    w.resize(100, 100);
    EXPECT_GE(w.width(), 633);
    EXPECT_GE(w.height(), 306);

    auto *splitter = w.findChild<QSplitter *>("splitter");
    ASSERT_NE(splitter, nullptr);
    EXPECT_EQ(splitter->handle(1)->objectName(), "lblResizer");
    // A drag closer than 500 twips (33 pixels) to either edge stops at the bound.
    splitter->setSizes({1, splitter->width()});
    EXPECT_GE(splitter->sizes()[0], 33);
    splitter->setSizes({splitter->width(), 1});
    EXPECT_GE(splitter->sizes()[1], 33);
}

TEST(MainWindowLayout, TabControlsHandFocusBackToTheEditor)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    w.show();
    w.activateWindow();
    for (const char *name : {"MyOuterTab", "MyTab", "MyTabScript"}) {
        auto *tabs = w.findChild<QTabWidget *>(name);
        w.findChild<QTabBar *>("MyTabFiles")->setFocus();
        tabs->tabBar()->setFocus();
        QCoreApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), w.editBox().widget()) << name;
    }
}

TEST(Shutdown, UnmodifiedDocumentClosesWithoutPromptAndWritesSettings)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    const QString www = QFileInfo(h.writeFile("www/a.html", "")).absolutePath();
    w.panes().showDirectory(www + "/");
    w.recent().add("/srv/www/a.html");
    EXPECT_TRUE(closeWindow(w));
    EXPECT_TRUE(h.platform.messages.isEmpty());
    EXPECT_EQ(h.storedValue("Settings", "Dir"), www);
    EXPECT_EQ(h.storedValue("Settings", "Drive"), "/");
    EXPECT_EQ(h.storedValue("Settings", "RU0"), "/srv/www/a.html");
    EXPECT_EQ(h.storedValue("Settings", "RU9"), "");
}

TEST(Shutdown, CancelKeepsTheWindowAndWritesNothing)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    typeInto(w, "edit");
    ASSERT_TRUE(w.document().isModified());
    h.platform.messageAnswers = {MsgAnswer::Cancel};
    EXPECT_FALSE(closeWindow(w));
    ASSERT_EQ(h.platform.messages.size(), 1);
    EXPECT_EQ(h.platform.messages[0],
              (MessageRecord{"Save on Open...", "Save Current Before Closing?",
                             MsgButtons::YesNoCancel, MsgIcon::Question}));
    EXPECT_FALSE(QFile::exists(h.settingsFile()));
    EXPECT_TRUE(w.document().isModified());
}

TEST(Shutdown, NoClosesWithoutSavingYesSavesFirst)
{
    MainWindowHarness h;
    const QString file = h.writeFile("doc.html", "one\r\n");
    {
        MainWindow &w = h.start(file);
        typeInto(w, "X");
        h.platform.messageAnswers = {MsgAnswer::No};
        EXPECT_TRUE(closeWindow(w));
        EXPECT_EQ(MainWindowHarness::readFile(file), "one\r\n");
        EXPECT_EQ(h.storedValue("Settings", "RU0"), "");
    }
    MainWindow &w = h.restart(file);
    typeInto(w, "X");
    h.platform.messageAnswers = {MsgAnswer::Yes};
    EXPECT_TRUE(closeWindow(w));
    EXPECT_EQ(MainWindowHarness::readFile(file), "Xone\r\n");
}

TEST(Shutdown, YesWithACancelledSaveAsKeepsTheWindow)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    typeInto(w, "unsaved work");
    h.platform.messageAnswers = {MsgAnswer::Yes};
    h.platform.fileAnswers = {QString()}; // the save picker is cancelled
    EXPECT_FALSE(closeWindow(w));
    EXPECT_TRUE(w.document().isModified());
}

TEST(SettingsStore, ValuesRoundTripExactly)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("store.conf");
    const QStringList values = {"",
                                "  blanks around  ",
                                "\"quoted\"",
                                "it's",
                                "a|b|c",
                                "HTML Files|*.html;*.htm",
                                "a, b, c",
                                "c:\\Program Files\\x.exe",
                                "<A Href=\"x\">",
                                "=equals=",
                                "#hash ;semi",
                                "ümlaut",
                                "@Variant(x)",
                                "line\nbreak"};
    {
        SettingsStore store(file);
        for (int i = 0; i < values.size(); ++i)
            store.write("Settings", QStringLiteral("K%1").arg(i), values[i]);
        store.sync();
    }
    SettingsStore store(file);
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(store.read("Settings", QStringLiteral("K%1").arg(i), "default"), values[i])
            << values[i].toStdString();
    EXPECT_EQ(store.read("Settings", "Missing", "fallback"), "fallback");
    EXPECT_EQ(store.read("Browsers", "K1", "other section"), "other section");
}

TEST(registerHTMLFiles, WritesTheDesktopEntryAndReports)
{
    QTemporaryDir dir;
    FakePlatform platform;
    const QString apps = dir.filePath("applications");
    const QString mimeapps = dir.filePath("config/mimeapps.list");
    QDir().mkpath(dir.filePath("config"));
    {
        QFile existing(mimeapps);
        existing.open(QIODevice::WriteOnly);
        existing.write(
            "[Default Applications]\ntext/plain=gedit.desktop\n\n"
            "[Added Associations]\ntext/html=other.desktop;\nimage/png=viewer.desktop;\n");
    }
    registerHTMLFiles(platform, "/opt/my apps/pagewick", apps, mimeapps);
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0], (MessageRecord{"Register Pagewick...",
                                                   "Pagewick has been registered with HTML files!",
                                                   MsgButtons::Ok, MsgIcon::Information}));
    const QString entry =
        QString::fromUtf8(MainWindowHarness::readFile(apps + "/pagewick.desktop"));
    EXPECT_TRUE(entry.contains("Name=Edit with Pagewick\n"));
    EXPECT_TRUE(entry.contains("MimeType=text/html;\n"));
    EXPECT_TRUE(entry.contains("Exec=\"/opt/my apps/pagewick\" %f\n"));
    EXPECT_EQ(QString::fromUtf8(MainWindowHarness::readFile(mimeapps)),
              "[Default Applications]\ntext/plain=gedit.desktop\n\n"
              "[Added Associations]\ntext/html=pagewick.desktop;other.desktop;\n"
              "image/png=viewer.desktop;\n");

    // Registering again leaves the same state.
    registerHTMLFiles(platform, "/opt/my apps/pagewick", apps, mimeapps);
    EXPECT_EQ(QString::fromUtf8(MainWindowHarness::readFile(mimeapps)),
              "[Default Applications]\ntext/plain=gedit.desktop\n\n"
              "[Added Associations]\ntext/html=pagewick.desktop;other.desktop;\n"
              "image/png=viewer.desktop;\n");
    EXPECT_EQ(platform.messages.size(), 2);
}

TEST(registerHTMLFiles, AddsTheSectionWhenMissing)
{
    EXPECT_EQ(withHtmlAssociation(""), "[Added Associations]\ntext/html=pagewick.desktop;\n");
    EXPECT_EQ(withHtmlAssociation("[Default Applications]\nx=y.desktop\n"),
              "[Default Applications]\nx=y.desktop\n\n[Added Associations]\n"
              "text/html=pagewick.desktop;\n");
    EXPECT_EQ(withHtmlAssociation("[Added Associations]\n[Other]\ntext/html=a;\n"),
              "[Added Associations]\ntext/html=pagewick.desktop;\n[Other]\ntext/html=a;\n");
}

TEST(Splash, ShowsTheLogoAndToleratesItsAbsence)
{
    std::unique_ptr<QWidget> splash = createSplash(PAGEWICK_BIN_DIR);
    EXPECT_EQ(splash->objectName(), "frmSplash");
    auto *logo = splash->findChild<QLabel *>("imgLogo");
    ASSERT_NE(logo, nullptr);
    EXPECT_FALSE(logo->pixmap().isNull());
    EXPECT_GT(logo->pixmap().width(), 100);

    QTemporaryDir empty;
    std::unique_ptr<QWidget> bare = createSplash(empty.path());
    ASSERT_NE(bare->findChild<QLabel *>("imgLogo"), nullptr);
    EXPECT_TRUE(bare->findChild<QLabel *>("imgLogo")->pixmap().isNull());
}
