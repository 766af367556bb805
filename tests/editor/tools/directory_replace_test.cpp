// The directory replace dialog on real files, opened from the main window's button.
#include "support/qt_print.h"
#include "support/unprivileged.h"
#include "support/main_window_harness.h"
#include "support/named_controls.h"
#include "tools/directory_replace_dialog.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace pw;
using namespace pw::test;

namespace {

const MessageRecord kCompleted{"Directory Replace Dialog", "Replace Completed", MsgButtons::Ok,
                               MsgIcon::Information};

class DirectoryReplaceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = &h.start();
        QDir().mkpath(h.path("site"));
        window->panes().showDirectory(h.path("site"));
    }

    QString file(const char *name, const QByteArray &bytes)
    {
        return h.writeFile(QStringLiteral("site/") + name, bytes);
    }

    // Opens the dialog from its toolbar button and runs `steps` in it while it is shown.
    void run(const std::function<void(QDialog &)> &steps)
    {
        h.platform.dialogHandlers.push_back([&](QDialog &dialog) {
            steps(dialog);
            return int(QDialog::Rejected);
        });
        auto *button = window->findChild<QAbstractButton *>("cmdDirDialog");
        ASSERT_NE(button, nullptr);
        button->click();
        EXPECT_EQ(h.platform.dialogsRun.back(), "frmDirectoryReplace");
    }

    static void select(QDialog &dialog, const QStringList &names)
    {
        auto *files = dialog.findChild<QListWidget *>("MyFileList");
        for (int row = 0; row < files->count(); ++row)
            files->item(row)->setSelected(names.contains(files->item(row)->text()));
    }
    static void start(QDialog &dialog, const QString &what, const QString &with)
    {
        dialog.findChild<QLineEdit *>("txtFind")->setText(what);
        dialog.findChild<QLineEdit *>("txtReplace")->setText(with);
        dialog.findChild<QPushButton *>("cmdStart")->click();
    }

    MainWindowHarness h;
    MainWindow *window = nullptr;
};

} // namespace

TEST_F(DirectoryReplaceTest, ReplacesInTheSelectedFilesOnly)
{
    const QString bb = file("bb.txt", "bb");
    const QString img = file("img.html", "<Img>\n<p>img</p>");
    const QString last = file("last.html", "\r\nxb");
    const QString other = file("other.html", "bb");
    run([&](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Directory Replace Dialog");
        EXPECT_EQ(dialog.findChild<QLabel *>("lblStatus")->text(), "Press Start To Begin...");
        auto *files = dialog.findChild<QListWidget *>("MyFileList");
        EXPECT_EQ(files->count(), 4); // opened on the main window's directory
        dialog.findChild<QPushButton *>("cmdSelectAll")->click();
        EXPECT_EQ(files->selectedItems().size(), 4);
        dialog.findChild<QPushButton *>("cmdSelectNone")->click();
        EXPECT_TRUE(files->selectedItems().isEmpty());

        select(dialog, {"bb.txt", "last.html"});
        start(dialog, "b", "ab");
        select(dialog, {"img.html"});
        start(dialog, "img", "IMG");
        EXPECT_EQ(dialog.findChild<QLabel *>("lblStatus")->text(), "Press Start To Begin...");
        EXPECT_EQ(dialog.findChild<QProgressBar *>("MyProgress")->value(), 0);
    });
    EXPECT_EQ(h.readFile(bb), "abab");      // inserted text is not searched again
    EXPECT_EQ(h.readFile(last), "\r\nxab"); // a match at the last character; no CR LF added
    EXPECT_EQ(h.readFile(img), "<IMG>\n<p>IMG</p>"); // case ignored, LF breaks kept
    EXPECT_EQ(h.readFile(other), "bb");
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({kCompleted, kCompleted}));
    EXPECT_EQ(h.platform.busyDepth, 0);
    EXPECT_GE(h.platform.processEventsCalls, 3); // between files
}

TEST_F(DirectoryReplaceTest, ControlsCarryTheirNamesAndCaptions)
{
    run([&](QDialog &dialog) {
        expectTexts<QLabel>(dialog, {
                                        {"Label1", "STEP 1 - Choose The Drive and Directory"},
                                        {"Label2", "STEP 2 - Select File(s) To Replace"},
                                        {"Label4", "STEP 3 - Enter Text To Find and Replace"},
                                        {"Label5", "STEP 4 - Click Start To Perform The Replace"},
                                        {"Label6", "Find"},
                                        {"Label7", "Replace"},
                                        {"Label8", "Status"},
                                        {"Label9", "View Port - Ignore Please"},
                                        {"Label10", "STEP 5 - Click Cancel When Finished"},
                                    });
        expectTexts<QPushButton>(dialog, {
                                             {"cmdSelectAll", "Select &All"},
                                             {"cmdSelectNone", "Select &None"},
                                             {"cmdStart", "&Start"},
                                             {"cmdCancel", "&Cancel"},
                                         });
        for (const char *name : {"MyDrive", "MyDirectory", "MyFileList", "txtFind", "txtReplace",
                                 "lblStatus", "MyProgress", "txtEdit", "Line1"})
            EXPECT_NE(dialog.findChild<QWidget *>(name), nullptr) << name;
        // The scratch box and its caption are kept but never shown.
        EXPECT_TRUE(dialog.findChild<QWidget *>("txtEdit")->isHidden());
        EXPECT_TRUE(dialog.findChild<QWidget *>("Label9")->isHidden());
        EXPECT_FALSE(dialog.findChild<QWidget *>("txtFind")->isHidden());
    });
}

TEST_F(DirectoryReplaceTest, TheViewPortShowsTheTextOfTheLastFileHandled)
{
    file("a.html", "first img");
    file("b.html", "second\r\nimg");
    file("c.html", QByteArray(1'000'000, 'x')); // too large: not shown
    run([&](QDialog &dialog) {
        dialog.findChild<QPushButton *>("cmdSelectAll")->click();
        start(dialog, "IMG", "pic");
        auto *viewPort = dialog.findChild<QPlainTextEdit *>("txtEdit");
        ASSERT_NE(viewPort, nullptr);
        EXPECT_EQ(viewPort->toPlainText(), "second\npic");
    });
    EXPECT_EQ(h.readFile(h.path("site/b.html")), "second\r\npic");
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>({{"Sorry...", "The File Is Too Large For Pagewick",
                                       MsgButtons::Ok, MsgIcon::Information},
                                      kCompleted}));
}

TEST_F(DirectoryReplaceTest, FilesThatCannotBeLoadedAreReportedAndLeftAlone)
{
    const QString first = file("a.html", "img");
    const QByteArray largeBytes = QByteArray(1'000'000, 'i') + "img";
    const QString large = file("b.html", largeBytes);
    const QString gone = file("c.html", "img");
    const QString after = file("d.html", "x");
    run([&](QDialog &dialog) {
        dialog.findChild<QPushButton *>("cmdSelectAll")->click();
        QFile::remove(gone); // listed, but gone by the time it is read
        start(dialog, "img", "IMG");
    });
    EXPECT_EQ(h.readFile(first), "IMG");
    EXPECT_EQ(h.readFile(large), largeBytes); // not written with the previous file's text
    EXPECT_FALSE(QFile::exists(gone));
    EXPECT_EQ(h.readFile(after), "x");
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>(
                  {{"Sorry...", "The File Is Too Large For Pagewick", MsgButtons::Ok,
                    MsgIcon::Information},
                   {"Sorry...", "Error Loading Text", MsgButtons::Ok, MsgIcon::Information},
                   kCompleted}));
    EXPECT_EQ(h.platform.busyDepth, 0);
}

TEST_F(DirectoryReplaceTest, UnreadableFileStaysByteIdentical)
{
    const QString locked = file("locked.html", "img img");
    const QString open = file("open.html", "img");
    openToEveryone(h.path(""));
    QFile::setPermissions(locked, QFileDevice::WriteOwner);
    {
        AsUnprivilegedUser nobody;
        run([&](QDialog &dialog) {
            dialog.findChild<QPushButton *>("cmdSelectAll")->click();
            start(dialog, "img", "IMG");
        });
    }
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(h.readFile(locked), "img img");
    EXPECT_EQ(h.readFile(open), "IMG");
    EXPECT_EQ(h.platform.messages.front().text, "Error Loading Text");
}

TEST_F(DirectoryReplaceTest, EmptySearchOrNoSelectionChangesNothing)
{
    const QString a = file("a.html", "abc");
    run([&](QDialog &dialog) {
        start(dialog, "a", "b"); // nothing selected
        dialog.findChild<QPushButton *>("cmdSelectAll")->click();
        start(dialog, "", "b");
    });
    EXPECT_EQ(h.readFile(a), "abc");
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({kCompleted, kCompleted}));
}

TEST_F(DirectoryReplaceTest, UnwritableReplacementIsReportedNotHidden)
{
    const QString latin = file("latin.html", "caf\xE9 img");
    run([&](QDialog &dialog) {
        dialog.findChild<QPushButton *>("cmdSelectAll")->click();
        start(dialog, "img", QString::fromUtf8("\xE2\x82\xAC"));
    });
    EXPECT_EQ(h.readFile(latin), "caf\xE9 img");
    ASSERT_EQ(h.platform.messages.size(), 2);
    EXPECT_EQ(h.platform.messages[0],
              (MessageRecord{"Sorry...", "These Files Could Not Be Saved:\r\nlatin.html",
                             MsgButtons::Ok, MsgIcon::Information}));
    EXPECT_EQ(h.platform.messages[1], kCompleted);
}

TEST_F(DirectoryReplaceTest, AFolderIsItsOwnWhateverBlanksOrBackslashesItsNameHolds)
{
    // "s " and "s" are neighbours; "we\b" is one folder, not two.
    const QString blank = h.writeFile("s /page.html", "img");
    const QString plain = h.writeFile("s/page.html", "img");
    const QString plainOnly = h.writeFile("s/only.html", "img");
    const QString slashed = h.writeFile("we\\b/page.html", "img");
    window->panes().showDirectory(h.path("s "));
    run([&](QDialog &dialog) {
        EXPECT_EQ(dialog.findChild<FileList *>("MyFileList")->fileNames(),
                  QStringList({"page.html"}));
        dialog.findChild<QPushButton *>("cmdSelectAll")->click();
        start(dialog, "img", "IMG");
    });
    window->panes().showDirectory(h.path("we\\b"));
    run([&](QDialog &dialog) {
        dialog.findChild<QPushButton *>("cmdSelectAll")->click();
        start(dialog, "img", "PIC");
    });
    EXPECT_EQ(h.readFile(blank), "IMG");
    EXPECT_EQ(h.readFile(plain), "img");
    EXPECT_EQ(h.readFile(plainOnly), "img");
    EXPECT_EQ(h.readFile(slashed), "PIC");
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({kCompleted, kCompleted}));
}

TEST_F(DirectoryReplaceTest, BinaryFilesAreSkippedListedAndLeftByteIdentical)
{
    QByteArray gif("GIF89a\x01\x00\x01\x00\x80\x00\x00", 13);
    gif += "img and more img";
    gif += QByteArray("\xFF\x00\x3B", 3);
    const QString picture = file("logo.gif", gif);
    // A NUL byte only after the first 64 KiB: the file counts as text.
    QByteArray late(70 * 1024, 'x');
    late[68 * 1024] = '\0';
    late += "img";
    const QString lateFile = file("late.txt", late);
    const QString page = file("page.html", "<img src=logo.gif>");
    const QString archive = file("z.bin", QByteArray("img\0img", 7));
    run([&](QDialog &dialog) {
        dialog.findChild<QPushButton *>("cmdSelectAll")->click();
        start(dialog, "img", "IMG");
    });
    EXPECT_EQ(h.readFile(picture), gif);
    EXPECT_EQ(h.readFile(archive), QByteArray("img\0img", 7));
    EXPECT_EQ(h.readFile(page), "<IMG src=logo.gif>");
    QByteArray lateChanged = late;
    lateChanged.replace("img", "IMG");
    EXPECT_EQ(h.readFile(lateFile), lateChanged);
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>(
                  {{"Sorry...",
                    "These Files Were Skipped Because They Are Not Text Files:\r\nlogo.gif\r\n"
                    "z.bin",
                    MsgButtons::Ok, MsgIcon::Information},
                   kCompleted}));
}

TEST_F(DirectoryReplaceTest, DuringARunTheBoxesAndPanesTakeNoInput)
{
    const QString a = file("a.html", "img");
    const QString b = file("b.html", "img");
    const QString c = file("c.html", "img");
    QStringList seen;
    run([&](QDialog &dialog) {
        auto *find = dialog.findChild<QLineEdit *>("txtFind");
        auto *replace = dialog.findChild<QLineEdit *>("txtReplace");
        QList<QWidget *> panes;
        for (const char *name :
             {"MyDrive", "MyDirectory", "MyFileList", "cmdSelectAll", "cmdSelectNone"})
            panes << dialog.findChild<QWidget *>(name);
        h.platform.onProcessEvents = [&] {
            seen << QStringLiteral("%1 %2").arg(find->isReadOnly()).arg(replace->isReadOnly());
            for (QWidget *pane : panes)
                EXPECT_FALSE(pane->isEnabled()) << pane->objectName().toStdString();
            // Keys typed now do not reach the boxes, and even a text set in them anyway
            // is not used before the next run.
            QTest::keyClicks(replace, "half");
            replace->setText("HA");
        };
        dialog.findChild<QPushButton *>("cmdSelectAll")->click();
        start(dialog, "img", "IMG");
        h.platform.onProcessEvents = nullptr;
        EXPECT_FALSE(find->isReadOnly());
        EXPECT_FALSE(replace->isReadOnly());
        for (QWidget *pane : panes)
            EXPECT_TRUE(pane->isEnabled()) << pane->objectName().toStdString();
    });
    EXPECT_EQ(seen, QStringList({"1 1", "1 1", "1 1"}));
    for (const QString &path : {a, b, c})
        EXPECT_EQ(h.readFile(path), "IMG") << path.toStdString();
}
