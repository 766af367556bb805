// The directory listing tool: reading the tree, writing the page and its support files, and
// the wizard and dialog that run it from the main window.
#include "support/qt_print.h"
#include "generators/listing_dialogs.h"
#include "generators/listing_files.h"
#include "shared/file_panes.h"
#include "support/browser_check.h"
#include "support/main_window_harness.h"
#include "support/test_files.h"
#include "support/unprivileged.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>
#include <sys/stat.h>
#include <fcntl.h>

using namespace pw;
using namespace pw::test;

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

template <typename Control>
QList<Control *> arrayOf(QWidget *window, const char *name)
{
    QList<Control *> controls(4, nullptr);
    for (Control *control : window->findChildren<Control *>(name))
        controls[control->property("index").toInt()] = control;
    return controls;
}

// The main window with a listing dialog open on `directory`, the menu's support files
// taken from `programFolder`.
FileManDialog *openDialog(MainWindowHarness &h, const QString &directory,
                          const QString &programFolder)
{
    FeatureContext context = h.start().featureContext();
    context.programFolder = programFolder;
    FileManDialog *dialog = openFileManDialog(context);
    dialog->findChild<DirectoryList *>("MyDirectory")->setPath(directory);
    return dialog;
}

void startInto(FileManDialog *dialog, const QString &page)
{
    dialog->findChild<QLineEdit *>("txtFileName")->setText(page);
    dialog->findChild<QPushButton *>("cmdStart")->click();
}

const MessageRecord kCreated{"File Management Dialog", "The HTML File Has Been Created",
                             MsgButtons::Ok, MsgIcon::Information};

} // namespace

TEST(ListingFiles, OnlyTheSubdirectoriesFilesAreReadInThePanesOrder)
{
    QTemporaryDir root;
    for (const char *name : {"top.html", "b/x.html", "b/.hidden", "b/deep/y.html", "A/Z.txt",
                             "A/a.txt", ".private/p.html"})
        writeFile(root.filePath(name), "x");
    QDir().mkpath(root.filePath("c"));
    QStringList seen;
    int files = 0;
    const ListingTree tree = readListingTree(
        root.path(),
        [&](int index, int count, const QString &path) {
            seen << QString("%1/%2 %3").arg(index).arg(count).arg(QFileInfo(path).fileName());
            return true;
        },
        [&] { return ++files > 0; });
    EXPECT_TRUE(tree.unreadable.isEmpty());
    ASSERT_EQ(tree.subdirectories.size(), 3);
    EXPECT_EQ(tree.subdirectories[0].name, "A");
    EXPECT_EQ(tree.subdirectories[0].files, QStringList({"a.txt", "Z.txt"}));
    EXPECT_EQ(tree.subdirectories[1].files, QStringList({"x.html"}));
    EXPECT_TRUE(tree.subdirectories[2].files.isEmpty());
    EXPECT_EQ(seen, QStringList({"0/3 A", "1/3 b", "2/3 c"}));
    EXPECT_EQ(files, 3);

    // Stopping from a callback ends the reading at once.
    const ListingTree stopped = readListingTree(root.path(), {}, [] { return false; });
    EXPECT_TRUE(stopped.stopped);
    EXPECT_TRUE(stopped.subdirectories.isEmpty());
}

// Names that are not UTF-8 (a folder and a file, bytes 0xff 0xfe) are not put on the page,
// where no link could reach them, but named as skipped; everything else is listed as usual.
TEST(ListingFiles, NamesThatAreNotUtf8AreListedAsSkipped)
{
    QTemporaryDir root;
    writeFile(root.filePath("b/x.html"), "x");
    const QByteArray base = QFile::encodeName(root.path());
    ASSERT_EQ(::mkdir((base + "/\xff\xfe").constData(), 0755), 0);
    const int fd = ::open((base + "/b/\xfe.html").constData(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    const ListingTree tree = readListingTree(root.path(), {}, {});
    ASSERT_EQ(tree.subdirectories.size(), 1);
    EXPECT_EQ(tree.subdirectories[0].files, QStringList({"x.html"}));
    EXPECT_EQ(tree.skipped, QStringList({QString::fromUtf8("\xef\xbf\xbd\xef\xbf\xbd"),
                                         QString::fromUtf8("b/\xef\xbf\xbd.html")}));
}

TEST(ListingFiles, SupportFilesAreCopiedOnlyWhereNoneIsYetAndFailuresAreNamed)
{
    QTemporaryDir program;
    QTemporaryDir site;
    writeFile(program.filePath("true.gif"), "GIF89a-true");
    writeFile(program.filePath("false.gif"), "GIF89a-false");
    // list.js is missing from the program folder.
    writeFile(site.filePath("true.gif"), "the author's own");
    EXPECT_EQ(copyMissingFiles(kListingSupportFiles, program.path(), site.path()),
              QStringList({"list.js"}));
    EXPECT_EQ(readFile(site.filePath("true.gif")), "the author's own");
    EXPECT_EQ(readFile(site.filePath("false.gif")), "GIF89a-false");
    EXPECT_FALSE(QFile::exists(site.filePath("list.js")));

    // A page that cannot be written (a directory has its name) is named first; the support
    // files still go beside it.
    writeFile(program.filePath("list.js"), "function List() {}");
    QDir().mkpath(site.filePath("page.html"));
    EXPECT_EQ(writeListingFiles(site.filePath("page.html"), "<HTML>", kListingSupportFiles,
                                program.path()),
              QStringList({"page.html"}));
    EXPECT_EQ(readFile(site.filePath("list.js")), "function List() {}");
    EXPECT_TRUE(
        writeListingFiles(site.filePath("list.html"), "<HTML>", {}, program.path()).isEmpty());
    EXPECT_EQ(readFile(site.filePath("list.html")), "<HTML>\r\n");
}

TEST(ListingWindows, TheWizardChoosesTheFormatAndOpensTheDialog)
{
    MainWindowHarness h;
    MainWindow &window = h.start();
    window.findChild<QAbstractButton *>("cmdFileManDialog")->click();
    QPointer<ExportWizard> wizard = window.findChild<ExportWizard *>("frmExportWizard");
    ASSERT_FALSE(wizard.isNull());
    EXPECT_FALSE(wizard->isModal());
    EXPECT_EQ(wizard->windowTitle(), "File Management Dialog - Export Wizard");
    EXPECT_EQ(wizard->findChild<QPushButton *>("cmdNext")->text(), "Next  > >");
    const auto options = arrayOf<QRadioButton>(wizard, "optChoices");
    const auto previews = arrayOf<QLabel>(wizard, "imgPreview");
    EXPECT_TRUE(options[0]->isChecked());
    EXPECT_EQ(options[3]->text(), "Ordered List");
    auto shown = [&] {
        QList<int> visible;
        for (int i = 0; i < 4; ++i) {
            if (previews[i]->isVisible())
                visible << i;
        }
        return visible;
    };
    EXPECT_EQ(shown(), QList<int>({0}));
    options[2]->click();
    EXPECT_EQ(shown(), QList<int>({2}));

    wizard->findChild<QPushButton *>("cmdNext")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(wizard.isNull());
    EXPECT_EQ(h.state.listingStyle, "UList");
    auto *dialog = window.findChild<FileManDialog *>("frmFileManDialog");
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    EXPECT_TRUE(dialog->findChild<QCheckBox *>("chkUnderline")->isChecked());
    EXPECT_EQ(dialog->findChild<DirectoryList *>("MyDirectory")->path(),
              QDir::cleanPath(QDir::currentPath()));

    // Back opens the wizard afresh on its first option and closes the dialog.
    dialog->findChild<QPushButton *>("cmdBack")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window.findChildren<FileManDialog *>().size(), 0);
    wizard = window.findChild<ExportWizard *>("frmExportWizard");
    ASSERT_FALSE(wizard.isNull());
    EXPECT_TRUE(arrayOf<QRadioButton>(wizard, "optChoices")[0]->isChecked());
    window.findChild<QAbstractButton *>("cmdFileManDialog")->click();
    EXPECT_EQ(window.findChildren<ExportWizard *>().size(), 1);
}

TEST(ListingWindows, StartWritesTheChosenFormatAndMovesTheProgressBar)
{
    MainWindowHarness h;
    QTemporaryDir site;
    writeFile(site.filePath("Alpha/one.html"), "1");
    writeFile(site.filePath("Beta/two.html"), "2");
    QDir().mkpath(site.filePath("Gamma"));
    FileManDialog *dialog = openDialog(h, site.path(), h.path(""));
    dialog->findChild<QPushButton *>("cmdStart")->click();
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>({{"File Management Dialog", "You must supply a file to create",
                                       MsgButtons::Ok, MsgIcon::Information}}));
    h.platform.messages.clear();

    h.state.listingStyle = "IList";
    dialog->findChild<QCheckBox *>("chkUnderline")->setChecked(false);
    startInto(dialog, site.filePath("index.html"));
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({kCreated}));
    EXPECT_EQ(readFile(site.filePath("index.html")),
              "<HTML>\r\n<HEAD>\r\n     <TITLE></TITLE>\r\n</HEAD>\r\n<BODY>\r\n"
              "<B>Alpha</B> <BR>\r\n"
              "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp; "
              "<A HREF=\"Alpha/one.html\" >one.html</A> <BR>\r\n"
              "<B>Beta</B> <BR>\r\n"
              "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp; "
              "<A HREF=\"Beta/two.html\" >two.html</A> <BR>\r\n"
              "<B>Gamma</B> <BR>\r\n"
              "</BODY>\r\n</HTML>\r\n");
    const auto *progress = dialog->findChild<QProgressBar *>("MyProgress");
    EXPECT_EQ(progress->minimum(), 0);
    EXPECT_EQ(progress->maximum(), 2);
    EXPECT_EQ(progress->value(), 2);
    EXPECT_GT(h.platform.processEventsCalls, 0);
    EXPECT_EQ(h.platform.busyDepth, 0);
    // The panes are back on the chosen directory, and the dialog stays open.
    EXPECT_EQ(dialog->findChild<FileList *>("MyFiles")->fileNames(), QStringList({"index.html"}));
    EXPECT_TRUE(dialog->isVisible());
}

TEST(ListingWindows, AnEmptyStyleWritesTheMenuWithItsSupportFilesAndFailuresAreListed)
{
    MainWindowHarness h;
    QTemporaryDir program;
    QTemporaryDir site;
    writeFile(program.filePath("true.gif"), "T");
    writeFile(program.filePath("false.gif"), "F");
    writeFile(site.filePath("Docs/a.b.c"), "x");
    FileManDialog *dialog = openDialog(h, site.path(), program.path());
    ASSERT_TRUE(h.state.listingStyle.isEmpty());
    startInto(dialog, site.filePath("menu.html"));
    EXPECT_EQ(h.state.listingStyle, "EMenu");
    EXPECT_TRUE(readFile(site.filePath("menu.html"))
                    .contains("mySubList1.addItem(\"<A Target=_self HREF='Docs/a.b.c'  style="));
    EXPECT_EQ(readFile(site.filePath("true.gif")), "T");
    // The page and the pictures were written, the script could not be: no success.
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>({{"Sorry...", "These Files Could Not Be Saved:\r\nlist.js",
                                       MsgButtons::Ok, MsgIcon::Information}}));

    h.platform.messages.clear();
    writeFile(program.filePath("list.js"), "function List() {}");
    writeFile(site.filePath("true.gif"), "changed by the author");
    h.platform.messageAnswers = {MsgAnswer::Yes}; // the page made before is replaced
    startInto(dialog, site.filePath("menu.html"));
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>({{"File Management Dialog",
                                       "These Files Already Exist:\r\nmenu.html\r\nReplace Them?",
                                       MsgButtons::YesNo, MsgIcon::Question},
                                      kCreated}));
    EXPECT_EQ(readFile(site.filePath("true.gif")), "changed by the author");
    EXPECT_EQ(readFile(site.filePath("list.js")), "function List() {}");
}

// The listing page over one that exists: asked once before the walk; No writes nothing.
TEST(ListingWindows, StartOverAnExistingPageAsksFirst)
{
    MainWindowHarness h;
    h.writeFile("site/sub/a.html", "a");
    const QString page = h.writeFile("out/list.html", "<P>hand made</P>");
    FileManDialog *dialog = openDialog(h, h.path("site"), PAGEWICK_BIN_DIR);
    h.platform.messageAnswers = {MsgAnswer::No};
    startInto(dialog, page);
    const MessageRecord question{"File Management Dialog",
                                 "These Files Already Exist:\r\nlist.html\r\nReplace Them?",
                                 MsgButtons::YesNo, MsgIcon::Question};
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({question}));
    EXPECT_EQ(readFile(page), "<P>hand made</P>");
    EXPECT_EQ(QDir(h.path("out")).entryList(QDir::Files), QStringList{"list.html"});
    EXPECT_TRUE(dialog->findChild<QPushButton *>("cmdStart")->isEnabled());

    h.platform.messageAnswers = {MsgAnswer::Yes};
    startInto(dialog, page);
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({question, question, kCreated}));
    EXPECT_TRUE(readFile(page).contains("a.html"));
    dialog->close();
}

TEST(ListingWindows, AnUnreadableSubdirectoryEndsTheRunWithoutAPage)
{
    MainWindowHarness h;
    QTemporaryDir site;
    writeFile(site.filePath("Open/a.html"), "x");
    writeFile(site.filePath("Shut/b.html"), "x");
    openToEveryone(site.path());
    QFile::setPermissions(site.filePath("Shut"), {});
    FileManDialog *dialog = openDialog(h, site.path(), h.path(""));
    h.state.listingStyle = "OList";
    {
        AsUnprivilegedUser nobody;
        startInto(dialog, site.filePath("list.html"));
    }
    openToEveryone(site.path());
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>({{"Sorry...", "There was an error in creating the file",
                                       MsgButtons::Ok, MsgIcon::Information}}));
    EXPECT_FALSE(QFile::exists(site.filePath("list.html")));
    EXPECT_TRUE(dialog->findChild<QPushButton *>("cmdStart")->isEnabled());
}

TEST(ListingWindows, AboutAndClosingDuringARun)
{
    MainWindowHarness h;
    QTemporaryDir site;
    for (int i = 0; i < 3; ++i)
        writeFile(site.filePath(QString("Dir%1/f.html").arg(i)), "x");
    QPointer<FileManDialog> dialog = openDialog(h, site.path(), h.path(""));
    dialog->findChild<QAction *>("mnuAbout")->trigger();
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>(
                  {{"About ...",
                    "Program: File Management Dialog\r\nVersion: 1.0\r\n\r\nAuthor : Brenlow",
                    MsgButtons::Ok, MsgIcon::Information}}));
    h.platform.messages.clear();

    // Exit while the walk lets events run: the walk stops, nothing is written, and the
    // window goes once the walk has ended.
    h.state.listingStyle = "UList";
    h.platform.onProcessEvents = [&] {
        EXPECT_FALSE(dialog->findChild<QPushButton *>("cmdBack")->isEnabled());
        dialog->findChild<QPushButton *>("cmdCancel")->click();
    };
    startInto(dialog, site.filePath("list.html"));
    h.platform.onProcessEvents = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());
    EXPECT_FALSE(QFile::exists(site.filePath("list.html")));
    EXPECT_TRUE(h.platform.messages.isEmpty());
}

// The menu format in headless Chromium, opened from disk with the support files the dialog
// copied from the program folder: the directories show as topics, a click on one shows its
// files by their stems, linked by encoded addresses.
TEST(ListingWindows, TheExpandableMenuWorksInABrowser)
{
    MainWindowHarness h;
    QTemporaryDir site;
    for (const char *name : {"Docs/a.b.c", "Docs/my page.html", "Docs/README", "Pictures/x.gif"})
        writeFile(site.filePath(name), "x");
    QDir().mkpath(site.filePath("Empty"));
    FileManDialog *dialog = openDialog(h, site.path(), QStringLiteral(PAGEWICK_BIN_DIR));
    startInto(dialog, site.filePath("index.html"));
    ASSERT_EQ(h.platform.messages, QVector<MessageRecord>({kCreated}));
    const QJsonObject params{
        {"topics", QJsonArray{"Docs", "Empty", "Pictures"}},
        {"open", "Docs"},
        {"subPoints",
         QJsonArray{QJsonObject{{"text", "a"}, {"href", "Docs/a.b.c"}},
                    QJsonObject{{"text", "my page"}, {"href", "Docs/my%20page.html"}}}},
    };
    const BrowserCheck check =
        runBrowserCheck(site.filePath("index.html"), "menu-checks.js", "listing-menu.png", params);
    EXPECT_TRUE(check.passed) << check.output.toStdString();
    EXPECT_TRUE(QFile::exists(check.screenshot)) << check.screenshot.toStdString();
}

// Folders and files named to break a listing (a scheme, quotes, markup, a line separator),
// read from disk and written in the menu and the list formats, then opened in headless
// Chromium: every name shows as text, every link stays a file link to that file, and no name
// runs as script.
TEST(ListingWindows, HostileNamesShowAsTextAndRunNothingInABrowser)
{
    QTemporaryDir site;
    const QString scheme = "javascript:(document.title=7)";
    const QString quoted = "x\" onmouseover=\"window.pwned=1";
    const QString markup = "<img src=x onerror=window.pwned=1>";
    const QString separator = "Sep" + QString(QChar(0x2028)) + "window.pwned=1;//";
    const QString file = "it's \"q\" <b>&.html";
    for (const QString &folder : {scheme, quoted, markup, separator})
        writeFile(site.filePath(folder + "/page.html"), "x");
    // Files of one folder alone, so each text names one link.
    writeFile(site.filePath(scheme + "/only.html"), "x");
    writeFile(site.filePath(scheme + "/" + file), "x");
    const ListingTree tree = readListingTree(site.path());
    ASSERT_EQ(tree.subdirectories.size(), 4);
    ASSERT_TRUE(copyMissingFiles(kListingSupportFiles, PAGEWICK_BIN_DIR, site.path()).isEmpty());

    for (const ListingFormat format :
         {ListingFormat::ExpandableMenu, ListingFormat::UnorderedList}) {
        const bool menu = format == ListingFormat::ExpandableMenu;
        SCOPED_TRACE(menu ? "menu" : "list");
        const QString page = site.filePath(menu ? "menu.html" : "list.html");
        writeFile(page, listingPage(format, tree.subdirectories, true).toUtf8());
        // The menu shows a folder's files by their stems once the folder is opened.
        const QString stem = menu ? QString("only") : QString("only.html");
        const QString odd = menu ? QString("it's \"q\" <b>&") : file;
        const QJsonObject params{
            {"open", menu ? QJsonArray{scheme} : QJsonArray{}},
            {"shown", QJsonArray{scheme, quoted, markup, stem, odd}},
            {"links",
             QJsonArray{
                 QJsonObject{{"text", stem}, {"href", listingLinkAddress(scheme, "only.html")}},
                 QJsonObject{{"text", odd}, {"href", listingLinkAddress(scheme, file)}}}},
        };
        const BrowserCheck check =
            runBrowserCheck(page, "hostile-checks.js",
                            menu ? "listing-hostile-menu.png" : "listing-hostile-list.png", params);
        EXPECT_TRUE(check.passed) << check.output.toStdString();
    }
}
