// The document's life: loading with its size limit, the save prompts, Save, Save As, Close,
// Print and the byte-exact round trips of the file's encoding and line breaks.
#include "support/main_window_harness.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QFocusEvent>
#include <QPlainTextEdit>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace pw;
using namespace pw::test;

namespace {

const MessageRecord kOpenPrompt{"Save on Open...", "Save Current Before Opening Another File?",
                                MsgButtons::YesNoCancel, MsgIcon::Question};
const MessageRecord kClosePrompt{"Save on Open...", "Save Current File Before Closing?",
                                 MsgButtons::YesNoCancel, MsgIcon::Question};
const MessageRecord kTooLarge{"Sorry...", "The File Is Too Large For Pagewick", MsgButtons::Ok,
                              MsgIcon::Information};
const MessageRecord kLoadError{"Sorry...", "Error Loading Text", MsgButtons::Ok,
                               MsgIcon::Information};
const MessageRecord kSaveFailed{
    "Sorry...",
    "The file may be read-only, you may not have enough permissions, \r\nor the disk is full or "
    "write-protected",
    MsgButtons::Ok, MsgIcon::Information};

void edit(MainWindow &w, const QString &text)
{
    w.textBox()->insertPlainText(text);
}

bool saveEnabled(MainWindow &w)
{
    return w.findChild<QToolButton *>("cmdSave")->isEnabled();
}

} // namespace

TEST(LoadText, SizeLimitIsOneMillionBytes)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    const QString fits = h.writeFile("fits.html", QByteArray(999999, 'a'));
    const QString tooLarge = h.writeFile("large.html", QByteArray(1000000, 'b'));

    h.platform.fileAnswers = {fits};
    w.Open();
    EXPECT_EQ(w.editBox().length(), 999999);
    EXPECT_EQ(w.statusText(), fits);
    EXPECT_TRUE(h.platform.messages.isEmpty());

    h.platform.fileAnswers = {tooLarge};
    w.Open();
    ASSERT_EQ(h.platform.messages.size(), 1);
    EXPECT_EQ(h.platform.messages[0], kTooLarge);
    // Nothing changed: the text, and the name a later Save writes to.
    EXPECT_EQ(w.editBox().length(), 999999);
    EXPECT_EQ(w.statusText(), fits);
    EXPECT_EQ(w.windowTitle(), "Pagewick - " + fits);
}

TEST(LoadText, UnreadableOrBinaryFilesAreRefusedAndNeverWrittenBack)
{
    MainWindowHarness h;
    const QString doc = h.writeFile("doc.html", "mine\r\n");
    MainWindow &w = h.start(doc);
    const QString binary = h.writeFile("picture.html", QByteArray("GIF89a\0\0x", 9));
    // The box would turn a paragraph separator into a line break, and save it as one.
    const QString separator = h.writeFile("separator.html", "one\xE2\x80\xA9two\r\n");
    // A device reports no length and may never end: refused like an unreadable file.
    for (const QString &bad :
         {h.path("missing.html"), binary, separator, QStringLiteral("/dev/null")}) {
        h.platform.messages.clear();
        h.platform.fileAnswers = {bad};
        w.Open();
        ASSERT_EQ(h.platform.messages.size(), 1) << bad.toStdString();
        EXPECT_EQ(h.platform.messages[0], kLoadError);
        EXPECT_EQ(w.statusText(), doc);
        EXPECT_EQ(w.editBox().text(), "mine\r\n");
    }
    EXPECT_EQ(MainWindowHarness::readFile(binary), QByteArray("GIF89a\0\0x", 9));
    EXPECT_EQ(MainWindowHarness::readFile(separator), "one\xE2\x80\xA9two\r\n");
}

TEST(SavePrompt, CancelInEveryPromptChangesNothing)
{
    MainWindowHarness h;
    const QString doc = h.writeFile("doc.html", "text\r\n");
    const QString other = h.writeFile("other.html", "other\r\n");
    MainWindow &w = h.start(doc);
    edit(w, "changed ");
    const QString before = w.editBox().text();

    h.platform.messageAnswers = {MsgAnswer::Cancel};
    w.New();
    h.platform.messageAnswers = {MsgAnswer::Cancel};
    w.Open();
    w.AddToRecentlyUsed(other);
    h.platform.messageAnswers = {MsgAnswer::Cancel};
    w.OpenRecentFile(0);
    h.platform.messageAnswers = {MsgAnswer::Cancel};
    w.Close();

    EXPECT_EQ(h.platform.messages,
              (QVector<MessageRecord>{kOpenPrompt, kOpenPrompt, kOpenPrompt, kClosePrompt}));
    EXPECT_TRUE(h.platform.pickers.isEmpty());
    EXPECT_EQ(w.editBox().text(), before);
    EXPECT_EQ(w.statusText(), doc);
    EXPECT_TRUE(w.documentModified());
    EXPECT_TRUE(saveEnabled(w));
    EXPECT_EQ(MainWindowHarness::readFile(doc), "text\r\n");
}

TEST(SavePrompt, YesSavesThenOpensNoDiscards)
{
    MainWindowHarness h;
    const QString doc = h.writeFile("doc.html", "text\r\n");
    const QString other = h.writeFile("other.html", "other\r\n");
    MainWindow &w = h.start(doc);
    edit(w, "A");
    h.platform.messageAnswers = {MsgAnswer::Yes};
    h.platform.fileAnswers = {other};
    w.Open();
    EXPECT_EQ(MainWindowHarness::readFile(doc), "Atext\r\n");
    EXPECT_EQ(w.statusText(), other);
    EXPECT_FALSE(w.documentModified());

    edit(w, "B");
    h.platform.messageAnswers = {MsgAnswer::No};
    h.platform.fileAnswers = {doc};
    w.Open();
    EXPECT_EQ(MainWindowHarness::readFile(other), "other\r\n");
    EXPECT_EQ(w.editBox().text(), "Atext\r\n");
}

TEST(ModifiedState, EveryEditEnablesSaveAndLoadsAndSavesDisableIt)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    EXPECT_FALSE(w.documentModified());
    EXPECT_FALSE(saveEnabled(w));
    edit(w, "x");
    EXPECT_TRUE(w.documentModified());
    EXPECT_TRUE(saveEnabled(w));
    h.platform.fileAnswers = {h.path("saved.html")};
    EXPECT_TRUE(w.Save());
    EXPECT_FALSE(w.documentModified());
    EXPECT_FALSE(saveEnabled(w));
}

TEST(Save, UntitledOpensTheSavePickerInThePaneDirectory)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    w.setPaneDirectory(h.path(""));
    edit(w, "new page");
    h.platform.fileAnswers = {QString()};
    EXPECT_FALSE(w.Save());
    ASSERT_EQ(h.platform.pickers.size(), 1);
    EXPECT_EQ(h.platform.pickers[0].kind, "save");
    EXPECT_EQ(h.platform.pickers[0].directory, h.path(""));
    EXPECT_EQ(h.platform.pickers[0].filter, h.state.FileFilter);
    EXPECT_FALSE(QFile::exists(h.path("Untitled.html")));
    EXPECT_EQ(w.statusText(), "Untitled.html");

    const QString target = h.path("page.html");
    h.platform.fileAnswers = {" " + target + " "};
    EXPECT_TRUE(w.Save());
    EXPECT_EQ(w.statusText(), target);
    EXPECT_EQ(w.windowTitle(), "Pagewick - " + target);
    EXPECT_EQ(w.recentFiles()[0], target);
    EXPECT_EQ(w.tabFiles()[0], target);
    EXPECT_TRUE(MainWindowHarness::readFile(target).startsWith("new page<HTML>\r\n"));
}

TEST(Save, ReadOnlyFileIsLeftWholeAndSaveAsFollows)
{
    MainWindowHarness h;
    const QString locked = h.writeFile("locked.html", "original\r\n");
    MainWindow &w = h.start(locked);
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ReadUser);
    edit(w, "changed ");
    const QString copy = h.path("copy.html");
    h.platform.fileAnswers = {copy};
    EXPECT_TRUE(w.Save());
    ASSERT_EQ(h.platform.messages.size(), 1);
    EXPECT_EQ(h.platform.messages[0], kSaveFailed);
    ASSERT_EQ(h.platform.pickers.size(), 1);
    EXPECT_EQ(h.platform.pickers[0].kind, "save");
    EXPECT_EQ(MainWindowHarness::readFile(locked), "original\r\n");
    EXPECT_EQ(MainWindowHarness::readFile(copy), "changed original\r\n");
    EXPECT_EQ(w.statusText(), copy);
}

TEST(Save, SaveAsOntoAnExistingFileReplacesItWithoutAsking)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    const QString existing = h.writeFile("existing.html", "old contents that are longer\r\n");
    w.editBox().setText("short");
    h.platform.fileAnswers = {existing};
    EXPECT_TRUE(w.SaveAs());
    EXPECT_TRUE(h.platform.messages.isEmpty());
    EXPECT_EQ(MainWindowHarness::readFile(existing), "short\r\n");
}

TEST(Save, NothingToSaveAfterClose)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    w.Close();
    EXPECT_FALSE(w.Save());
    ASSERT_EQ(h.platform.messages.size(), 1);
    EXPECT_EQ(h.platform.messages[0],
              (MessageRecord{"Save Aborted...", "There Is No Document To Save", MsgButtons::Ok,
                             MsgIcon::Information}));
}

TEST(RoundTrip, UnchangedFilesSaveByteForByte)
{
    const QByteArray latin1High = [] {
        QByteArray bytes("8-bit: ");
        for (int b = 128; b < 256; ++b)
            bytes += char(b);
        return bytes + "\r\nend\r\n";
    }();
    const std::pair<const char *, QByteArray> cases[] = {
        {"crlf.html", "<P>one</P>\r\n<P>two</P>\r\n"},
        {"lf.html", "<P>one</P>\n\n<P>two</P>\n"},
        {"cr.html", "one\rtwo\r"},
        {"utf8.html", "caf\xC3\xA9 \xE2\x82\xAC \xC2\xA0nbsp\r\n"},
        {"bom.html", "\xEF\xBB\xBFwith bom\n"},
        {"latin1.html", latin1High},
    };
    for (const auto &[name, bytes] : cases) {
        MainWindowHarness h;
        const QString file = h.writeFile(name, bytes);
        MainWindow &w = h.start(file);
        EXPECT_TRUE(w.Save()) << name;
        EXPECT_EQ(MainWindowHarness::readFile(file), bytes) << name;
    }
}

TEST(RoundTrip, LineBreakStyleIsKeptForEditsAndSaveAsUnixSwitchesIt)
{
    MainWindowHarness h;
    const QString file = h.writeFile("lf.html", "a\nb\n");
    MainWindow &w = h.start(file);
    w.editBox().setCaret(3); // the start of line 2: "a", CR, LF
    edit(w, "x\ny");
    EXPECT_TRUE(w.Save());
    EXPECT_EQ(MainWindowHarness::readFile(file), "a\nx\nyb\n");

    MainWindow &w2 = h.restart();
    const QString unix = h.path("unix.html");
    h.platform.fileAnswers = {unix};
    w2.SaveAsUnix();
    const QByteArray written = MainWindowHarness::readFile(unix);
    EXPECT_FALSE(written.contains('\r'));
    EXPECT_TRUE(written.startsWith("<HTML>\n\n<HEAD>\n"));
    // Later saves keep the style.
    edit(w2, "z");
    EXPECT_TRUE(w2.Save());
    EXPECT_FALSE(MainWindowHarness::readFile(unix).contains('\r'));
    EXPECT_TRUE(h.platform.messages.isEmpty());
}

TEST(RoundTrip, TextWithoutFinalBreakGainsExactlyOne)
{
    MainWindowHarness h;
    const QString file = h.writeFile("nobreak.html", "abc");
    MainWindow &w = h.start(file);
    EXPECT_TRUE(w.Save());
    EXPECT_EQ(MainWindowHarness::readFile(file), "abc\r\n");
    EXPECT_TRUE(w.Save());
    EXPECT_EQ(MainWindowHarness::readFile(file), "abc\r\n");
}

TEST(RoundTrip, CharactersBeyondEightBitsTurnAnEightBitFileIntoUtf8)
{
    MainWindowHarness h;
    const QString file = h.writeFile("latin.html", "caf\xE9\r\n");
    MainWindow &w = h.start(file);
    w.editBox().setCaret(0);
    edit(w, QString::fromUtf8("\xE2\x82\xAC"));
    EXPECT_TRUE(w.Save());
    EXPECT_EQ(MainWindowHarness::readFile(file), "\xE2\x82\xAC" "caf\xC3\xA9\r\n");
}

TEST(Close, WithNoDocumentAndThenClickingIntoTheEditor)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    w.Close();
    EXPECT_EQ(w.statusText(), "Ready...");
    EXPECT_EQ(w.windowTitle(), "Pagewick");
    EXPECT_EQ(w.editBox().text(), "");
    w.Close();
    EXPECT_TRUE(h.platform.messages.isEmpty());
    EXPECT_EQ(w.statusText(), "Ready...");

    // Focus coming back to the editor when the window is activated again or a menu or
    // message box closes is no entering: the document stays closed.
    for (Qt::FocusReason returning : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
        QFocusEvent back(QEvent::FocusIn, returning);
        QCoreApplication::sendEvent(w.textBox(), &back);
        EXPECT_EQ(w.statusText(), "Ready...") << returning;
    }
    EXPECT_EQ(w.editBox().text(), "");

    w.show();
    w.activateWindow();
    QCoreApplication::processEvents();
    w.textBox()->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.statusText(), "Untitled.html");
    EXPECT_EQ(w.windowTitle(), "Pagewick - Untitled.html");
    EXPECT_TRUE(w.editBox().text().startsWith("<HTML>\r\n"));
    EXPECT_FALSE(w.documentModified());
}

TEST(Close, YesSavesNoDiscards)
{
    MainWindowHarness h;
    const QString doc = h.writeFile("doc.html", "text\r\n");
    MainWindow &w = h.start(doc);
    edit(w, "1");
    h.platform.messageAnswers = {MsgAnswer::Yes};
    w.Close();
    EXPECT_EQ(MainWindowHarness::readFile(doc), "1text\r\n");
    EXPECT_EQ(w.statusText(), "Ready...");
    EXPECT_FALSE(w.documentModified());
}

TEST(NewDocument, LoadsTheTemplateAsUntitledAndMovesThePanesToTheProgramFolder)
{
    MainWindowHarness h;
    const QString doc = h.writeFile("doc.html", "text\r\n");
    MainWindow &w = h.start(doc);
    w.New();
    EXPECT_EQ(w.statusText(), "Untitled.html");
    EXPECT_TRUE(w.editBox().text().startsWith("<HTML>\r\n\r\n<HEAD>\r\n     <TITLE>"));
    // The directory pane names a directory without a trailing separator.
    EXPECT_EQ(w.paneDirectory(), QDir::cleanPath(QStringLiteral(PAGEWICK_BIN_DIR)));
}

TEST(Print, CancelledDialogShowsThePrinterMessage)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    h.platform.printerAnswers = {false};
    w.Print();
    ASSERT_EQ(h.platform.messages.size(), 1);
    EXPECT_EQ(h.platform.messages[0],
              (MessageRecord{"Sorry, I Cannot Print...",
                             "Make Sure The Printer Has Paper And Is Online...", MsgButtons::Ok,
                             MsgIcon::Information}));
    EXPECT_EQ(h.platform.busyDepth, 0);

    w.Close();
    w.Print(); // no document: nothing happens
    EXPECT_EQ(h.platform.messages.size(), 1);
}
