// The options dialog, the About window and the picture viewer, opened from the main window's
// menus with the scripted platform.
#include "support/main_window_harness.h"
#include "support/qt_print.h"
#include "support/named_controls.h"
#include "shared/file_panes.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <gtest/gtest.h>

using namespace pw;
using namespace pw::test;

namespace {

void trigger(MainWindow &w, const char *menuItem)
{
    w.findChild<QAction *>(QString::fromUtf8(menuItem))->trigger();
}

template <typename Control>
Control *child(QDialog &dialog, const char *name)
{
    auto *control = dialog.findChild<Control *>(QString::fromUtf8(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
}

} // namespace

TEST(Options, TheCloseBoxRereadsTheTagOptionsButStoresNothing)
{
    MainWindowHarness h;
    h.settings->write("Settings", "IDAttribute", "True");
    MainWindow &w = h.start();
    h.settings->sync();
    const QByteArray before = MainWindowHarness::readFile(h.settingsFile());
    // The program-wide options drifted from the store; opening the dialog reads them again.
    h.state.idAttribute = false;
    h.state.heightWidth = true;

    h.platform.dialogHandlers.push_back([&](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Pagewick Options");
        EXPECT_EQ(child<QGroupBox>(dialog, "fraRegister")->title(), "Registry Options");
        expectTexts<QLabel>(dialog,
                            {{"lblInstruct", "Click the button on the right so that when you right "
                                             "click on an HTML file, you will have an Edit with "
                                             "Pagewick option.  HTML files will also have the "
                                             "Pagewick icon."}});
        EXPECT_TRUE(child<QCheckBox>(dialog, "chkID")->isChecked());
        EXPECT_FALSE(child<QCheckBox>(dialog, "chkHeightWidth")->isChecked());
        EXPECT_EQ(child<QLineEdit>(dialog, "txtCommentSymbol")->text(), "//");
        child<QCheckBox>(dialog, "chkHeightWidth")->setChecked(true);
        child<QLineEdit>(dialog, "txtCommentSymbol")->setText("'");
        dialog.show();
        dialog.close();
        return dialog.result();
    });
    trigger(w, "mnuOptions");
    EXPECT_TRUE(h.state.idAttribute);
    EXPECT_FALSE(h.state.heightWidth);
    EXPECT_EQ(h.state.BlockComment, "//");
    h.settings->sync();
    EXPECT_EQ(MainWindowHarness::readFile(h.settingsFile()), before);
}

TEST(Options, OkStoresTheOptionsAndAnEmptyCommentSymbolSurvivesARestart)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    h.platform.dialogHandlers.push_back([&](QDialog &dialog) {
        child<QCheckBox>(dialog, "chkID")->setChecked(true);
        child<QLineEdit>(dialog, "txtCommentSymbol")->clear();
        child<QPushButton>(dialog, "cmdOK")->click();
        return dialog.result();
    });
    trigger(w, "mnuOptions");
    EXPECT_TRUE(h.state.idAttribute);
    EXPECT_EQ(h.state.BlockComment, "");

    h.restart();
    EXPECT_TRUE(h.state.idAttribute);
    EXPECT_FALSE(h.state.heightWidth);
    EXPECT_EQ(h.state.BlockComment, "");
    EXPECT_EQ(h.storedValue("Settings", "HeightWidth"), "False");
}

TEST(Options, RegisteringTwiceReportsTwiceAndLeavesOneAssociation)
{
    MainWindowHarness h;
    // The user's own desktop files are not touched: the desktop's folders point into the test's.
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    const auto restore = qScopeGuard([&] {
        qputenv("XDG_DATA_HOME", oldData);
        qputenv("XDG_CONFIG_HOME", oldConfig);
    });
    qputenv("XDG_DATA_HOME", h.path("data").toUtf8());
    qputenv("XDG_CONFIG_HOME", h.path("config").toUtf8());
    MainWindow &w = h.start();

    QByteArray firstList;
    h.platform.dialogHandlers.push_back([&](QDialog &dialog) {
        child<QPushButton>(dialog, "cmdRegister")->click();
        firstList = MainWindowHarness::readFile(h.path("config/mimeapps.list"));
        child<QPushButton>(dialog, "cmdRegister")->click();
        EXPECT_EQ(dialog.result(), 0) << "the dialog stays open";
        return dialog.result();
    });
    trigger(w, "mnuOptions");
    const MessageRecord registered{"Register Pagewick...",
                                   "Pagewick has been registered with HTML files!", MsgButtons::Ok,
                                   MsgIcon::Information};
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({registered, registered}));
    const QByteArray list = MainWindowHarness::readFile(h.path("config/mimeapps.list"));
    EXPECT_EQ(list, firstList);
    EXPECT_EQ(list.count("pagewick.desktop"), 1);
    EXPECT_TRUE(QFile::exists(h.path("data/applications/pagewick.desktop")));
}

TEST(About, ShowsTheLogoAndVersionAndStartsTheFirstSystemTool)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    const auto clickSysInfo = [](QDialog &dialog) {
        child<QPushButton>(dialog, "cmdSysInfo")->click();
        child<QPushButton>(dialog, "cmdOK")->click();
        return dialog.result();
    };
    h.platform.dialogHandlers.push_back([&](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), "About Pagewick");
        EXPECT_FALSE(child<QLabel>(dialog, "imgLogo")->pixmap().isNull());
        expectTexts<QLabel>(dialog, {{"lblVersion", "Version 4.5.2"}});
        expectTexts<QPushButton>(dialog, {{"cmdSysInfo", "&System Info..."}, {"cmdOK", "OK"}});
        return clickSysInfo(dialog);
    });
    trigger(w, "mnuHelpAbout");
    // Nothing found: only the message, with no icon and the program's name as its title.
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>({{"Pagewick", "System Information Is Unavailable At This Time",
                                       MsgButtons::Ok, MsgIcon::None}}));
    EXPECT_TRUE(h.platform.startedPrograms.isEmpty());

    h.platform.messages.clear();
    h.platform.programsOnPath.insert("kinfocenter", "/usr/bin/kinfocenter");
    h.platform.programsOnPath.insert("gnome-system-monitor", "/usr/bin/gnome-system-monitor");
    h.platform.dialogHandlers.push_back(clickSysInfo);
    trigger(w, "mnuHelpAbout");
    EXPECT_EQ(h.platform.startedPrograms,
              (QVector<QPair<QString, QStringList>>({{"/usr/bin/gnome-system-monitor", {}}})));
    EXPECT_TRUE(h.platform.messages.isEmpty());
}

TEST(ImageViewer, ShowsAPictureAndNothingForAFileItCannotRead)
{
    MainWindowHarness h;
    QDir().mkpath(h.path("pics"));
    QFile::copy(QDir(PAGEWICK_BIN_DIR).filePath("Pagewick_Logo.gif"), h.path("pics/logo.gif"));
    h.writeFile("pics/drawing.wmf", "not a picture this program reads");
    h.writeFile("pics/notes.txt", "text");
    MainWindow &w = h.start();
    w.panes().showDirectory(h.path("pics"));

    h.platform.dialogHandlers.push_back([&](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Image Viewer");
        auto *files = child<FileList>(dialog, "MyFileList");
        EXPECT_EQ(files->fileNames(), QStringList({"drawing.wmf", "logo.gif"}));
        auto *view = child<QLabel>(dialog, "imgView");
        const auto clickOn = [files](const QString &name) {
            ASSERT_TRUE(files->selectName(name));
            emit files->itemClicked(files->currentItem());
        };
        clickOn("logo.gif");
        EXPECT_FALSE(view->pixmap().isNull());
        clickOn("drawing.wmf");
        EXPECT_TRUE(view->pixmap().isNull());
        clickOn("logo.gif");
        EXPECT_FALSE(view->pixmap().isNull()) << "the viewer stays usable";
        // It does not shrink below its least size.
        dialog.resize(100, 100);
        EXPECT_GE(dialog.width(), 440);
        EXPECT_GE(dialog.height(), 403);
        child<QPushButton>(dialog, "cmdOk")->click();
        return dialog.result();
    });
    trigger(w, "mnuViewPic");
    EXPECT_EQ(h.platform.dialogsRun, QStringList({"frmImageView"}));
}

// Every kind of picture this Qt reads is listed (PNG above all), and the picture area is
// usable at the window's least size: a large picture is scaled down into it keeping its
// proportions, a small one keeps its own size.
TEST(ImageViewer, ListsEveryReadableKindAndFitsThePictureToAUsableArea)
{
    MainWindowHarness h;
    QDir().mkpath(h.path("pics"));
    QStringList expected;
    for (const char *kind : {"png", "jpg", "gif", "bmp", "svg", "webp"}) {
        if (!QImageReader::supportedImageFormats().contains(kind))
            continue;
        h.writeFile(QStringLiteral("pics/sample.%1").arg(kind), "x");
        expected << QStringLiteral("sample.%1").arg(kind);
    }
    ASSERT_TRUE(expected.contains("sample.png"));
    QImage wide(1000, 500, QImage::Format_RGB32);
    wide.fill(Qt::darkGreen);
    ASSERT_TRUE(wide.save(h.path("pics/wide.png")));
    QImage small(40, 30, QImage::Format_RGB32);
    small.fill(Qt::red);
    ASSERT_TRUE(small.save(h.path("pics/small.png")));
    h.writeFile("pics/notes.txt", "text");
    MainWindow &w = h.start();
    w.panes().showDirectory(h.path("pics"));

    h.platform.dialogHandlers.push_back([&](QDialog &dialog) {
        dialog.show();
        dialog.resize(dialog.minimumSize());
        QApplication::processEvents();
        auto *files = child<FileList>(dialog, "MyFileList");
        QStringList listed = files->fileNames();
        for (const QString &name : expected)
            EXPECT_TRUE(listed.contains(name)) << name.toStdString();
        EXPECT_FALSE(listed.contains("notes.txt"));
        auto *view = child<QLabel>(dialog, "imgView");
        EXPECT_GE(view->width(), 200);
        EXPECT_GE(view->height(), 200);

        const auto shown = [&](const QString &name) {
            EXPECT_TRUE(files->selectName(name));
            emit files->itemClicked(files->currentItem());
            return view->pixmap().size();
        };
        QSize fitted = shown("wide.png");
        EXPECT_LE(fitted.width(), view->contentsRect().width());
        EXPECT_LE(fitted.height(), view->contentsRect().height());
        EXPECT_NEAR(double(fitted.width()) / fitted.height(), 2.0, 0.02);
        // A larger window shows it larger.
        dialog.resize(dialog.width() + 300, dialog.height() + 300);
        QApplication::processEvents();
        EXPECT_GT(view->pixmap().width(), fitted.width());
        EXPECT_EQ(shown("small.png"), small.size());
        return int(QDialog::Accepted);
    });
    trigger(w, "mnuViewPic");
    EXPECT_TRUE(h.platform.messages.isEmpty());
}
