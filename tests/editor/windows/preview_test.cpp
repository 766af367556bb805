// Showing the document in an external browser, through the main window's controls and the
// scripted platform: what program is started with which argument, and every message.
#include "document/feature_context.h"
#include "files/paths.h"
#include "shared/qt_platform.h"
#include "support/main_window_harness.h"
#include "support/qt_print.h"
#include "windows/preview.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace pw;
using namespace pw::test;

namespace {

const MessageRecord kNoBrowser{
    "Cannot View In External Browser...",
    "You Have Not Specified A Browser Location Under View...Define Browser", MsgButtons::Ok,
    MsgIcon::Information};

using Started = QVector<QPair<QString, QStringList>>;

MessageRecord notStarted(const QString &program, const QString &reason)
{
    return {"Cannot View In External Browser...",
            "The Browser Could Not Be Started:\r\n" + program + "\r\n" + reason, MsgButtons::Ok,
            MsgIcon::Information};
}

// A file the owner may run, or not.
QString programFile(MainWindowHarness &h, const QString &name, bool executable)
{
    const QString path = h.writeFile(name, "#!/bin/sh\n");
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
    if (executable)
        permissions |= QFile::ExeOwner;
    QFile::setPermissions(path, permissions);
    return path;
}

void trigger(MainWindow &w, const char *menuItem)
{
    w.findChild<QAction *>(QString::fromUtf8(menuItem))->trigger();
}

void click(MainWindow &w, const char *button)
{
    w.findChild<QToolButton *>(QString::fromUtf8(button))->click();
}

// A dialog handler that clicks the named button of the dialog.
std::function<int(QDialog &)> clicking(const char *button)
{
    return [button](QDialog &dialog) {
        dialog.findChild<QPushButton *>(QString::fromUtf8(button))->click();
        return dialog.result();
    };
}

} // namespace

TEST(previewTarget, MapsOnlyAnExactlyMatchingPhysicalPath)
{
    PathMapping mapping{"/srv/web/", "http://localhost/", true};
    EXPECT_EQ(previewTarget("/srv/web/site/a.htm", mapping), "http://localhost/site/a.htm");
    // Letter case counts, and the separators stay as they are.
    EXPECT_EQ(previewTarget("/srv/Web/site/a.htm", mapping), "/srv/Web/site/a.htm");
    mapping.physicalPath = "C:\\web\\";
    EXPECT_EQ(previewTarget("C:\\web\\site\\a.htm", mapping), "http://localhost/site\\a.htm");
    // Every occurrence is replaced.
    mapping.physicalPath = "x";
    EXPECT_EQ(previewTarget("/axbx", mapping), "/ahttp://localhost/bhttp://localhost/");
    // Off, or with nothing to look for, the path goes as it is.
    mapping.physicalPath = "";
    EXPECT_EQ(previewTarget("/srv/web/a.htm", mapping), "/srv/web/a.htm");
    mapping = {"/srv/web/", "http://localhost/", false};
    EXPECT_EQ(previewTarget("/srv/web/a.htm", mapping), "/srv/web/a.htm");
}

TEST(Preview, ToolbarButtonsMapTheDocumentAndInBrowserNeverDoes)
{
    MainWindowHarness h;
    const QString doc = h.writeFile("web/site/a.htm", "<P>\r\n");
    const QString browser = h.writeFile("bin/browser", "");
    MainWindow &w = h.start(doc);
    h.state.iePath = browser;
    h.state.nnPath = browser;
    h.settings->write("Settings", "PhysicalPath", h.path("web/"));
    h.settings->write("Settings", "VirtualPath", "http://localhost/");
    h.settings->write("Settings", "UseVPath", "yes");

    click(w, "cmdIE");
    click(w, "cmdNN");
    h.platform.dialogHandlers.push_back(clicking("cmdIE"));
    trigger(w, "mnuBrowser");
    EXPECT_EQ(h.platform.dialogsRun, QStringList({"frmBrowser"}));
    EXPECT_EQ(h.platform.startedPrograms, Started({{browser, {"http://localhost/site/a.htm"}},
                                                   {browser, {"http://localhost/site/a.htm"}},
                                                   {browser, {doc}}}));
    EXPECT_TRUE(h.platform.messages.isEmpty());

    // Any other text than "yes" leaves the mapping off.
    h.settings->write("Settings", "UseVPath", "Yes");
    click(w, "cmdIE");
    EXPECT_EQ(h.platform.startedPrograms.last(), qMakePair(browser, QStringList({doc})));
}

TEST(Preview, SaysWhatIsMissingAndStartsNothing)
{
    MainWindowHarness h;
    const QString doc = h.writeFile("a.htm", "<P>\r\n");
    const QString browser = h.writeFile("browser", "");
    MainWindow &w = h.start(doc);

    // No browser named, and no default browser installed.
    click(w, "cmdIE");
    click(w, "cmdNN");
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({kNoBrowser, kNoBrowser}));
    // A named browser that is not there: it says so, and starts nothing.
    h.platform.messages.clear();
    h.state.nnPath = h.path("gone");
    click(w, "cmdNN");
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({notStarted(
                                       h.path("gone"), "The Browser Program Cannot Be Found")}));
    h.platform.messages.clear();
    // The document's file gone.
    h.state.nnPath = browser;
    QFile::remove(doc);
    click(w, "cmdNN");
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>({{"The Following File Cannot Be Located", doc, MsgButtons::Ok,
                                       MsgIcon::Information}}));
    EXPECT_TRUE(h.platform.startedPrograms.isEmpty());

    // No document, then a never-saved one whose Save As is cancelled.
    h.platform.messages.clear();
    trigger(w, "mnuFileClose");
    click(w, "cmdNN");
    trigger(w, "mnuFileNew");
    h.platform.fileAnswers = {QString()};
    trigger(w, "mnuBrowser");
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>(
                  {{"View In Browser Aborted...", "There Is No Document To Show", MsgButtons::Ok,
                    MsgIcon::Information},
                   {"Notice...", "You Must Save The File Before Viewing In External Browser",
                    MsgButtons::Ok, MsgIcon::Information}}));
    EXPECT_TRUE(h.platform.dialogsRun.isEmpty());
    EXPECT_TRUE(h.platform.startedPrograms.isEmpty());
}

TEST(Preview, TheDefaultBrowserStandsInForAnUnnamedFirstBrowserWithoutBeingStored)
{
    MainWindowHarness h;
    const QString doc = h.writeFile("a.htm", "<P>\r\n");
    const QString launcher = h.writeFile("xdg-open", "");
    h.platform.programsOnPath.insert("xdg-open", launcher);
    MainWindow &w = h.start(doc);

    click(w, "cmdIE");
    EXPECT_EQ(h.platform.startedPrograms, Started({{launcher, {doc}}}));
    // The browsers window shows it but leaves it out of the box, so Done stores nothing.
    h.platform.dialogHandlers.push_back([&](QDialog &dialog) {
        EXPECT_EQ(dialog.findChild<QLineEdit *>("txtIE")->text(), "");
        EXPECT_EQ(dialog.findChild<QLineEdit *>("txtIE")->placeholderText(), launcher);
        dialog.findChild<QPushButton *>("cmdDone")->click();
        return dialog.result();
    });
    trigger(w, "mnuDefineBrowsers");
    h.settings->sync();
    EXPECT_EQ(h.storedValue("Browsers", "IE"), "<absent>");
    // The second browser has no stand-in.
    click(w, "cmdNN");
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({kNoBrowser}));
}

TEST(DefineBrowsers, DoneKeepsTheOldPathForAMissingFileAndStoresAnExistingOne)
{
    MainWindowHarness h;
    const QString oldBrowser = programFile(h, "old browser", true);
    const QString newBrowser = programFile(h, "new browser", true);
    h.settings->write("Browsers", "IE", oldBrowser);
    MainWindow &w = h.start();

    h.platform.fileAnswers = {newBrowser};
    h.platform.dialogHandlers.push_back([&](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Define External Browsers");
        EXPECT_EQ(dialog.findChild<QLineEdit *>("txtIE")->text(), oldBrowser);
        for (QPushButton *browse : dialog.findChildren<QPushButton *>("cmdIE")) {
            if (browse->property("index").toInt() == 1)
                browse->click();
        }
        EXPECT_EQ(dialog.findChild<QLineEdit *>("txtNN")->text(), newBrowser);
        // Emptied, the first box changes nothing.
        dialog.findChild<QLineEdit *>("txtIE")->clear();
        dialog.findChild<QPushButton *>("cmdDone")->click();
        return dialog.result();
    });
    trigger(w, "mnuDefineBrowsers");
    EXPECT_EQ(h.platform.pickers.size(), 1);
    EXPECT_EQ(h.platform.pickers.value(0).kind, "program");
    EXPECT_EQ(h.state.iePath, oldBrowser);
    EXPECT_EQ(h.state.nnPath, newBrowser);
    h.settings->sync();
    EXPECT_EQ(h.storedValue("Browsers", "IE"), oldBrowser);
    EXPECT_EQ(h.storedValue("Browsers", "NN"), newBrowser);
    EXPECT_TRUE(h.platform.messages.isEmpty());
}

// A path that is no program is refused with the reason and the path: the window stays open
// on that box and stores nothing, until the box names a program.
TEST(DefineBrowsers, ARefusedPathIsNamedWithTheReasonAndTheWindowStaysOpen)
{
    MainWindowHarness h;
    const QString oldBrowser = programFile(h, "old browser", true);
    const QString plain = programFile(h, "plain file", false);
    const QString newBrowser = programFile(h, "new browser", true);
    ASSERT_TRUE(QDir().mkpath(h.path("a folder")));
    h.settings->write("Browsers", "IE", oldBrowser);
    MainWindow &w = h.start();

    const struct {
        QString path;
        const char *reason;
    } refused[] = {
        {h.path("missing"), "The Browser Program Cannot Be Found"},
        {h.path("a folder"), "The Browser Path Is Not A File"},
        {plain, "The Browser Program Is Not Executable"},
    };
    h.platform.dialogHandlers.push_back([&](QDialog &dialog) {
        dialog.show();
        auto *first = dialog.findChild<QLineEdit *>("txtIE");
        auto *second = dialog.findChild<QLineEdit *>("txtNN");
        second->setText(newBrowser);
        for (const auto &[path, reason] : refused) {
            h.platform.messages.clear();
            first->setText("  " + path + " ");
            dialog.findChild<QPushButton *>("cmdDone")->click();
            EXPECT_EQ(h.platform.messages,
                      QVector<MessageRecord>(
                          {{"Define External Browsers", QString(reason) + ":\r\n" + path,
                            MsgButtons::Ok, MsgIcon::Exclamation}}));
            EXPECT_TRUE(dialog.isVisible()) << reason;
            EXPECT_EQ(dialog.focusWidget(), first) << reason;
            EXPECT_EQ(h.state.nnPath, "") << "nothing stored while a box is refused";
        }
        h.platform.messages.clear();
        first->setText(newBrowser);
        dialog.findChild<QPushButton *>("cmdDone")->click();
        EXPECT_FALSE(dialog.isVisible());
        return dialog.result();
    });
    trigger(w, "mnuDefineBrowsers");
    EXPECT_TRUE(h.platform.messages.isEmpty());
    EXPECT_EQ(h.state.iePath, newBrowser);
    EXPECT_EQ(h.state.nnPath, newBrowser);
}

// A browser that does not start is reported with the reason, and the chooser stays open for
// the other one; its words say what it shows, the document or the help file.
TEST(Preview, ABrowserThatDoesNotStartIsReportedWithTheReason)
{
    MainWindowHarness h;
    const QString doc = h.writeFile("a.htm", "<P>\r\n");
    const QString browser = programFile(h, "browser", true);
    MainWindow &w = h.start(doc);
    h.state.iePath = browser;
    h.state.nnPath = browser;

    // The platform's own reason.
    h.platform.startProgramResult = false;
    h.platform.startProgramError = "Permission denied by the desktop";
    click(w, "cmdIE");
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>({notStarted(browser, "Permission denied by the desktop")}));

    // The real start of a file that may not be run: the system's reason, whatever its words.
    h.platform.messages.clear();
    const QString plain = programFile(h, "plain", false);
    h.state.iePath = plain;
    QtPlatform real;
    h.platform.onStartProgram = [&](const QString &program, const QStringList &arguments,
                                    QString *error) {
        return real.startProgram(program, arguments, error);
    };
    QStringList labels;
    h.platform.dialogHandlers.push_back([&](QDialog &dialog) {
        labels << dialog.findChild<QLabel *>("Label1")->text();
        dialog.findChild<QPushButton *>("cmdIE")->click();
        EXPECT_EQ(dialog.result(), 0) << "the chooser stays open";
        return dialog.result();
    });
    trigger(w, "mnuBrowser");
    ASSERT_EQ(h.platform.messages.size(), 1);
    const QString prefix = "The Browser Could Not Be Started:\r\n" + plain + "\r\n";
    EXPECT_TRUE(h.platform.messages.front().text.startsWith(prefix))
        << h.platform.messages.front().text.toStdString();
    EXPECT_GT(h.platform.messages.front().text.size(), prefix.size()) << "a reason is given";

    h.platform.onStartProgram = nullptr;
    h.platform.dialogHandlers.push_back([&](QDialog &dialog) {
        labels << dialog.findChild<QLabel *>("Label1")->text();
        return int(QDialog::Rejected);
    });
    click(w, "cmdHelp");
    EXPECT_EQ(labels, QStringList({"Choose A Browser To View The Document",
                                   "Choose A Browser To View The Help File"}));
}

TEST(VirtualPath, TheCloseBoxStoresTheBoxesLikeOk)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    QString directory = w.panes().directoryList()->path();
    const QString physical = withTrailingBackslash(directory);

    h.platform.dialogHandlers.push_back([&](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Virtual Path Mapping");
        EXPECT_EQ(dialog.findChild<QLineEdit *>("txtPhysicalPath")->text(), physical);
        EXPECT_EQ(dialog.findChild<QLineEdit *>("txtVirtualPath")->text(), "http://");
        EXPECT_FALSE(dialog.findChild<QCheckBox *>("chkUseVPath")->isChecked());
        dialog.findChild<QLineEdit *>("txtPhysicalPath")->setText(" /srv/www/ ");
        dialog.findChild<QLineEdit *>("txtVirtualPath")->setText("http://localhost/");
        dialog.findChild<QCheckBox *>("chkUseVPath")->setChecked(true);
        dialog.show();
        dialog.close();
        return dialog.result();
    });
    click(w, "cmdVirtualPath");
    h.settings->sync();
    EXPECT_EQ(h.storedValue("Settings", "PhysicalPath"), " /srv/www/ ") << "kept as typed";
    EXPECT_EQ(h.storedValue("Settings", "VirtualPath"), "http://localhost/");
    EXPECT_EQ(h.storedValue("Settings", "UseVPath"), "yes");

    // The button takes the pane's directory again; Ok with the box cleared stores "no".
    h.platform.dialogHandlers.push_back([&](QDialog &dialog) {
        EXPECT_EQ(dialog.findChild<QLineEdit *>("txtPhysicalPath")->text(), physical);
        EXPECT_TRUE(dialog.findChild<QCheckBox *>("chkUseVPath")->isChecked());
        dialog.findChild<QCheckBox *>("chkUseVPath")->setChecked(false);
        dialog.findChild<QPushButton *>("cmdOk")->click();
        return dialog.result();
    });
    click(w, "cmdVirtualPath");
    h.settings->sync();
    EXPECT_EQ(h.storedValue("Settings", "PhysicalPath"), physical);
    EXPECT_EQ(h.storedValue("Settings", "UseVPath"), "no");
}

TEST(Help, TheHelpPageIsOfferedToTheChosenBrowser)
{
    MainWindowHarness h;
    const QString browser = h.writeFile("browser", "");
    MainWindow &w = h.start();
    h.state.nnPath = browser;
    h.platform.dialogHandlers.push_back(clicking("cmdNetscape"));
    click(w, "cmdHelp");
    const QString page = QDir(w.programFolder()).filePath("helpmain.html");
    EXPECT_EQ(h.platform.startedPrograms, Started({{browser, {page}}}));
    EXPECT_TRUE(h.platform.messages.isEmpty()) << "the help page is installed";

    // With no first browser the chooser says so and stays open for another choice.
    h.platform.dialogHandlers.push_back([](QDialog &dialog) {
        dialog.findChild<QPushButton *>("cmdIE")->click();
        EXPECT_EQ(dialog.result(), 0);
        dialog.findChild<QPushButton *>("cmdExit")->click();
        return dialog.result();
    });
    trigger(w, "mnuHelpSearch");
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({kNoBrowser}));
    EXPECT_EQ(h.platform.startedPrograms.size(), 1);
}

// The real start of a real program: a path with blanks reaches the browser as one argument.
TEST(Preview, ARealBrowserGetsADocumentPathWithBlanksAsOneArgument)
{
    MainWindowHarness h;
    const QString doc = h.writeFile("my site/a page.htm", "<P>\r\n");
    const QString log = h.path("arguments.txt");
    const QString browser = h.writeFile(
        "fake browser",
        QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do printf '[%s]\\n' \"$a\"; done > '%1.tmp'\n"
                       "mv '%1.tmp' '%1'\n")
            .arg(log)
            .toUtf8());
    QFile::setPermissions(browser, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QtPlatform real;
    h.platform.onStartProgram = [&](const QString &program, const QStringList &arguments,
                                    QString *error) {
        return real.startProgram(program, arguments, error);
    };
    MainWindow &w = h.start(doc);
    h.state.iePath = browser;
    click(w, "cmdIE");
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(log); }, 10000));
    EXPECT_EQ(MainWindowHarness::readFile(log), ("[" + doc + "]\n").toUtf8());
}

// A document whose name starts with "-" reaches the browser (or its launcher) as the absolute
// path it is, never as something it could read as an option; mapped or not.
TEST(Preview, ANameThatLooksLikeAnOptionIsHandedOverAsAnAbsolutePath)
{
    MainWindowHarness h;
    const QString launcher = h.writeFile("xdg-open", "");
    h.platform.programsOnPath.insert("xdg-open", launcher);
    const QString folder = QFileInfo(h.writeFile("docs/-x.html", "<P>\r\n")).canonicalPath();
    h.writeFile("docs/--user-data-dir=x.html", "<P>\r\n");
    FeatureContext context = h.start().featureContext();
    const QString old = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder));
    Started expected;
    for (const QString name : {"-x.html", "--user-data-dir=x.html"}) {
        EXPECT_TRUE(startBrowserOn(context, Browser::First, name, false));
        EXPECT_TRUE(startBrowserOn(context, Browser::First, name, true));
        expected << qMakePair(launcher, QStringList{folder + "/" + name})
                 << qMakePair(launcher, QStringList{folder + "/" + name});
    }
    QDir::setCurrent(old);
    EXPECT_EQ(h.platform.startedPrograms, expected);
    EXPECT_TRUE(h.platform.messages.isEmpty());
}
