// The directory replace dialog on real files, opened from the main window's button.
#include "files/paths.h"
#include "support/qt_print.h"
#include "support/unprivileged.h"
#include "support/main_window_harness.h"
#include "support/named_controls.h"
#include "support/test_files.h"
#include "tools/directory_replace_dialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <fcntl.h>
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
        const qsizetype before = h.platform.dialogsRun.size();
        button->click();
        EXPECT_EQ(h.platform.dialogsRun.value(before), "frmDirectoryReplace");
    }

    static void select(QDialog &dialog, const QStringList &names)
    {
        auto *files = dialog.findChild<QListWidget *>("MyFileList");
        for (int row = 0; row < files->count(); ++row)
            files->item(row)->setSelected(names.contains(files->item(row)->text()));
    }
    // Starts a run; the summary of what will change (when there is one) is kept in
    // `summaries` as "name=count" rows and answered with `answer`.
    void start(QDialog &dialog, const QString &what, const QString &with,
               const char *answer = "cmdReplace")
    {
        dialog.findChild<QLineEdit *>("txtFind")->setText(what);
        dialog.findChild<QLineEdit *>("txtReplace")->setText(with);
        const size_t queued = h.platform.dialogHandlers.size();
        h.platform.dialogHandlers.push_back([this, answer](QDialog &summary) {
            EXPECT_EQ(summary.objectName(), "frmReplaceSummary");
            EXPECT_EQ(summary.windowTitle(), "Directory Replace Dialog");
            auto *list = summary.findChild<QTreeWidget *>("lstSummary");
            QStringList rows;
            for (int i = 0; list && i < list->topLevelItemCount(); ++i)
                rows << list->topLevelItem(i)->text(0) + "=" + list->topLevelItem(i)->text(1);
            summaries << rows;
            summary.findChild<QPushButton *>(answer)->click();
            return summary.result();
        });
        dialog.findChild<QPushButton *>("cmdStart")->click();
        // No file to change: no summary was shown.
        if (h.platform.dialogHandlers.size() > queued)
            h.platform.dialogHandlers.pop_back();
    }

    MainWindowHarness h;
    MainWindow *window = nullptr;
    QList<QStringList> summaries;
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
    // The way back is kept where the unprivileged user may write.
    QDir().mkpath(h.path("state"));
    const QByteArray state = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", QFile::encodeName(h.path("state")));
    openToEveryone(h.path(""));
    QFile::setPermissions(locked, QFileDevice::WriteOwner);
    {
        AsUnprivilegedUser nobody;
        run([&](QDialog &dialog) {
            dialog.findChild<QPushButton *>("cmdSelectAll")->click();
            start(dialog, "img", "IMG");
        });
    }
    qputenv("XDG_STATE_HOME", state);
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
    // A text header in front of binary data: the first NUL byte lies far into the file.
    QByteArray late(80'000, 'x');
    late.replace(0, 3, "img");
    late[70'000] = '\0';
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
    EXPECT_EQ(h.readFile(lateFile), late);
    EXPECT_EQ(summaries, QList<QStringList>({{"page.html=1"}}));
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>(
                  {{"Sorry...",
                    "These Files Were Skipped Because They Are Not Text Files:\r\nlate.txt\r\n"
                    "logo.gif\r\nz.bin",
                    MsgButtons::Ok, MsgIcon::Information},
                   kCompleted}));
}

// Names that are not UTF-8 are listed in the dialog (U+FFFD for the bytes that do not decode),
// and a run over them, with a file whose first NUL lies at byte 70,000 beside them, names
// every file it skipped and why, and leaves them byte-identical on disk. A name that really
// holds U+FFFD is replaced in like any other.
TEST_F(DirectoryReplaceTest, FilesWithNamesThatAreNotUtf8AreListedThenSkippedAndNamed)
{
    BytesNamedEntries named(h.path("site"));
    named.file("\xff\xfe", "img");
    named.file("page\xff\xfe.html", "<img src=a.gif>");
    QByteArray late(80'000, 'y');
    late.replace(0, 3, "img");
    late[70'000] = '\0';
    const QString lateFile = file("late.txt", late);
    const QString page = file("page.html", "<img src=a.gif>");
    const QString literal = h.writeFile(QString::fromUtf8("site/real\xef\xbf\xbd.html"), "img");
    const QString bare = shownName("\xff\xfe");
    const QString odd = shownName("page\xff\xfe.html");
    run([&](QDialog &dialog) {
        auto *files = dialog.findChild<FileList *>("MyFileList");
        EXPECT_EQ(files->fileNames(),
                  QStringList({"late.txt", "page.html", fileNameOfPath(literal), odd, bare}));
        dialog.findChild<QPushButton *>("cmdSelectAll")->click();
        EXPECT_EQ(files->selectedNames().size(), 5);
        start(dialog, "img", "IMG");
    });
    EXPECT_EQ(named.read("\xff\xfe"), "img");
    EXPECT_EQ(named.read("page\xff\xfe.html"), "<img src=a.gif>");
    EXPECT_EQ(h.readFile(lateFile), late);
    EXPECT_EQ(h.readFile(page), "<IMG src=a.gif>");
    EXPECT_EQ(h.readFile(literal), "IMG");
    // Nothing was written under the name as shown.
    EXPECT_FALSE(QFile::exists(h.path("site/") + bare));
    EXPECT_FALSE(QFile::exists(h.path("site/") + odd));
    EXPECT_EQ(summaries, QList<QStringList>({{"page.html=1", fileNameOfPath(literal) + "=1"}}));
    EXPECT_EQ(
        h.platform.messages,
        QVector<MessageRecord>(
            {{"Sorry...", "These Files Were Skipped Because They Are Not Text Files:\r\nlate.txt",
              MsgButtons::Ok, MsgIcon::Information},
             {"Sorry...",
              "These Files Were Skipped Because Their Names Are Not Valid UTF-8:\r\n" + odd + "\r\n"
                  + bare,
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
    // Three files read and counted, then the same three written.
    EXPECT_EQ(seen, QStringList(6, "1 1"));
    for (const QString &path : {a, b, c})
        EXPECT_EQ(h.readFile(path), "IMG") << path.toStdString();
}

// Start shows what will change before anything is written: the files and the number of
// replacements in each, which are the replacements then made. Cancel writes nothing.
TEST_F(DirectoryReplaceTest, TheSummaryComesFirstAndItsCountsAreTheReplacementsMade)
{
    const QString a = file("a.html", "img IMG iMg");
    const QString b = file("b.html", "no match");
    const QString c = file("c.html", "<img>\r\n<img>");
    run([&](QDialog &dialog) {
        dialog.findChild<QPushButton *>("cmdSelectAll")->click();
        start(dialog, "img", "picture", "cmdCancel");
        EXPECT_EQ(h.readFile(a), "img IMG iMg") << "nothing written before the answer";
        EXPECT_EQ(h.readFile(c), "<img>\r\n<img>");
        start(dialog, "img", "picture");
    });
    EXPECT_EQ(summaries, QList<QStringList>({{"a.html=3", "c.html=2"}, {"a.html=3", "c.html=2"}}));
    EXPECT_EQ(h.readFile(a), "picture picture picture");
    EXPECT_EQ(h.readFile(b), "no match");
    EXPECT_EQ(h.readFile(c), "<picture>\r\n<picture>");
    // Cancel in the summary ends the run without "Replace Completed".
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>({kCompleted}));
}

// Undo puts every file of the last replace back byte for byte, from the dialog's button or
// the Edit menu; a file changed after the replace is named and keeps that change.
TEST_F(DirectoryReplaceTest, UndoPutsTheFilesBackUnlessChangedSince)
{
    const QByteArray latin("caf\xE9 img\r\nimg", 13);
    const QString a = file("a.html", latin);
    const QString b = file("b.html", "\xEF\xBB\xBFimg\nimg\n"); // UTF-8 with a BOM, LF breaks
    const QString c = file("c.html", "img");
    run([&](QDialog &dialog) {
        auto *undo = dialog.findChild<QPushButton *>("cmdUndo");
        ASSERT_NE(undo, nullptr);
        EXPECT_EQ(undo->text(), "&Undo Last Directory Replace");
        EXPECT_FALSE(undo->isEnabled()) << "nothing to undo yet";
        dialog.findChild<QPushButton *>("cmdSelectAll")->click();
        start(dialog, "img", "IMAGE");
        EXPECT_TRUE(undo->isEnabled());
        EXPECT_EQ(h.readFile(b), "\xEF\xBB\xBFIMAGE\nIMAGE\n");
        undo->click();
        EXPECT_FALSE(undo->isEnabled());
    });
    EXPECT_EQ(h.readFile(a), latin);
    EXPECT_EQ(h.readFile(b), "\xEF\xBB\xBFimg\nimg\n");
    EXPECT_EQ(h.readFile(c), "img");
    const QString undoTitle = "Undo Last Directory Replace";
    EXPECT_EQ(h.platform.messages.last(), (MessageRecord{undoTitle, "3 Files Have Been Put Back",
                                                         MsgButtons::Ok, MsgIcon::Information}));

    // Again, and this time one file is edited by someone after the replace.
    run([&](QDialog &dialog) {
        dialog.findChild<QPushButton *>("cmdSelectAll")->click();
        start(dialog, "img", "IMAGE");
    });
    h.writeFile("site/b.html", "edited since");
    QAction *menu = window->findChild<QAction *>("mnuUndoDirectoryReplace");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->text(), undoTitle);
    menu->trigger();
    EXPECT_EQ(h.readFile(a), latin);
    EXPECT_EQ(h.readFile(b), "edited since");
    EXPECT_EQ(h.readFile(c), "img");
    EXPECT_EQ(h.platform.messages.last(),
              (MessageRecord{undoTitle,
                             "2 Files Have Been Put Back\r\n\r\nThese Files Were Changed Since And "
                             "Were Left Alone:\r\n"
                                 + b,
                             MsgButtons::Ok, MsgIcon::Information}));
    // Once undone there is nothing more to undo.
    menu->trigger();
    EXPECT_EQ(h.platform.messages.last(),
              (MessageRecord{undoTitle, "There Is No Directory Replace To Undo", MsgButtons::Ok,
                             MsgIcon::Information}));
}
