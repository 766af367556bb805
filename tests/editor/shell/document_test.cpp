// The document's life: loading with its size limit, the save prompts, Save, Save As, Close,
// Print and the byte-exact round trips of the file's encoding and line breaks.
#include "support/main_window_harness.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QFocusEvent>
#include <QPlainTextEdit>
#include <QStatusBar>
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
    w.editBox().widget()->insertPlainText(text);
}

bool saveEnabled(MainWindow &w)
{
    return w.findChild<QToolButton *>("cmdSave")->isEnabled();
}

} // namespace

TEST(loadText, SizeLimitIsOneMillionBytes)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    const QString fits = h.writeFile("fits.html", QByteArray(999999, 'a'));
    const QString tooLarge = h.writeFile("large.html", QByteArray(1000000, 'b'));

    h.platform.fileAnswers = {fits};
    w.openDocument();
    EXPECT_EQ(w.editBox().length(), 999999);
    EXPECT_EQ(statusText(w), fits);
    EXPECT_TRUE(h.platform.messages.isEmpty());

    h.platform.fileAnswers = {tooLarge};
    w.openDocument();
    ASSERT_EQ(h.platform.messages.size(), 1);
    EXPECT_EQ(h.platform.messages[0], kTooLarge);
    // Nothing changed: the text, and the name a later Save writes to.
    EXPECT_EQ(w.editBox().length(), 999999);
    EXPECT_EQ(statusText(w), fits);
    EXPECT_EQ(w.windowTitle(), "Pagewick - " + fits);
}

TEST(loadText, UnreadableOrBinaryFilesAreRefusedAndNeverWrittenBack)
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
        w.openDocument();
        ASSERT_EQ(h.platform.messages.size(), 1) << bad.toStdString();
        EXPECT_EQ(h.platform.messages[0], kLoadError);
        EXPECT_EQ(statusText(w), doc);
        EXPECT_EQ(w.editBox().text(), "mine\r\n");
    }
    EXPECT_EQ(MainWindowHarness::readFile(binary), QByteArray("GIF89a\0\0x", 9));
    EXPECT_EQ(MainWindowHarness::readFile(separator), "one\xE2\x80\xA9two\r\n");
}

TEST(savePrompt, CancelInEveryPromptChangesNothing)
{
    MainWindowHarness h;
    const QString doc = h.writeFile("doc.html", "text\r\n");
    const QString other = h.writeFile("other.html", "other\r\n");
    MainWindow &w = h.start(doc);
    edit(w, "changed ");
    const QString before = w.editBox().text();

    h.platform.messageAnswers = {MsgAnswer::Cancel};
    w.newDocument();
    h.platform.messageAnswers = {MsgAnswer::Cancel};
    w.openDocument();
    w.recent().add(other);
    h.platform.messageAnswers = {MsgAnswer::Cancel};
    w.openRecentFile(0);
    h.platform.messageAnswers = {MsgAnswer::Cancel};
    w.document().close();

    EXPECT_EQ(h.platform.messages,
              (QVector<MessageRecord>{kOpenPrompt, kOpenPrompt, kOpenPrompt, kClosePrompt}));
    EXPECT_TRUE(h.platform.pickers.isEmpty());
    EXPECT_EQ(w.editBox().text(), before);
    EXPECT_EQ(statusText(w), doc);
    EXPECT_TRUE(w.document().isModified());
    EXPECT_TRUE(saveEnabled(w));
    EXPECT_EQ(MainWindowHarness::readFile(doc), "text\r\n");
}

TEST(savePrompt, YesSavesThenOpensNoDiscards)
{
    MainWindowHarness h;
    const QString doc = h.writeFile("doc.html", "text\r\n");
    const QString other = h.writeFile("other.html", "other\r\n");
    MainWindow &w = h.start(doc);
    edit(w, "A");
    h.platform.messageAnswers = {MsgAnswer::Yes};
    h.platform.fileAnswers = {other};
    w.openDocument();
    EXPECT_EQ(MainWindowHarness::readFile(doc), "Atext\r\n");
    EXPECT_EQ(statusText(w), other);
    EXPECT_FALSE(w.document().isModified());

    edit(w, "B");
    h.platform.messageAnswers = {MsgAnswer::No};
    h.platform.fileAnswers = {doc};
    w.openDocument();
    EXPECT_EQ(MainWindowHarness::readFile(other), "other\r\n");
    EXPECT_EQ(w.editBox().text(), "Atext\r\n");
}

TEST(ModifiedState, EveryEditEnablesSaveAndLoadsAndSavesDisableIt)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    EXPECT_FALSE(w.document().isModified());
    EXPECT_FALSE(saveEnabled(w));
    edit(w, "x");
    EXPECT_TRUE(w.document().isModified());
    EXPECT_TRUE(saveEnabled(w));
    h.platform.fileAnswers = {h.path("saved.html")};
    EXPECT_TRUE(w.document().save());
    EXPECT_FALSE(w.document().isModified());
    EXPECT_FALSE(saveEnabled(w));
}

TEST(save, UntitledOpensTheSavePickerInThePaneDirectory)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    w.panes().showDirectory(h.path(""));
    edit(w, "new page");
    h.platform.fileAnswers = {QString()};
    EXPECT_FALSE(w.document().save());
    ASSERT_EQ(h.platform.pickers.size(), 1);
    EXPECT_EQ(h.platform.pickers[0].kind, "save");
    EXPECT_EQ(h.platform.pickers[0].directory, h.path(""));
    EXPECT_EQ(h.platform.pickers[0].filter, h.state.fileFilter);
    EXPECT_FALSE(QFile::exists(h.path("Untitled.html")));
    EXPECT_EQ(statusText(w), "Untitled.html");

    const QString target = h.path("page.html");
    h.platform.fileAnswers = {" " + target + " "};
    EXPECT_TRUE(w.document().save());
    EXPECT_EQ(statusText(w), target);
    EXPECT_EQ(w.windowTitle(), "Pagewick - " + target);
    EXPECT_EQ(w.recent().files()[0], target);
    EXPECT_EQ(w.recent().tabFiles()[0], target);
    // Typed where the start-up caret stands: just after the template's "<TITLE>".
    EXPECT_TRUE(MainWindowHarness::readFile(target).contains("     <TITLE>new page</TITLE>\r\n"));
}

TEST(save, ReadOnlyFileIsLeftWholeAndSaveAsFollows)
{
    MainWindowHarness h;
    const QString locked = h.writeFile("locked.html", "original\r\n");
    MainWindow &w = h.start(locked);
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ReadUser);
    edit(w, "changed ");
    const QString copy = h.path("copy.html");
    h.platform.fileAnswers = {copy};
    EXPECT_TRUE(w.document().save());
    ASSERT_EQ(h.platform.messages.size(), 1);
    EXPECT_EQ(h.platform.messages[0], kSaveFailed);
    ASSERT_EQ(h.platform.pickers.size(), 1);
    EXPECT_EQ(h.platform.pickers[0].kind, "save");
    EXPECT_EQ(MainWindowHarness::readFile(locked), "original\r\n");
    EXPECT_EQ(MainWindowHarness::readFile(copy), "changed original\r\n");
    EXPECT_EQ(statusText(w), copy);
}

TEST(save, SaveAsOntoAnExistingFileReplacesItAtTheUsersWord)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    const QString existing = h.writeFile("existing.html", "old contents that are longer\r\n");
    w.editBox().setText("short");
    h.platform.fileAnswers = {existing};
    h.platform.messageAnswers = {MsgAnswer::Yes};
    EXPECT_TRUE(w.document().saveAs());
    EXPECT_EQ(h.platform.messages,
              QVector<MessageRecord>(
                  {{"Save As", "These Files Already Exist:\r\nexisting.html\r\nReplace Them?",
                    MsgButtons::YesNo, MsgIcon::Question}}));
    EXPECT_EQ(MainWindowHarness::readFile(existing), "short\r\n");
}

TEST(save, NothingToSaveAfterClose)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    w.document().close();
    EXPECT_FALSE(w.document().save());
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
    // Every byte value a document may hold (a NUL marks a binary file), in one break style.
    const QByteArray everyByteButNul = [] {
        QByteArray bytes;
        for (int b = 1; b < 256; ++b) {
            if (b != '\n')
                bytes += char(b);
            if (b == '\r')
                bytes += '\n';
        }
        return bytes;
    }();
    const std::pair<const char *, QByteArray> cases[] = {
        {"crlf.html", "<P>one</P>\r\n<P>two</P>\r\n"},
        {"lf.html", "<P>one</P>\n\n<P>two</P>\n"},
        {"cr.html", "one\rtwo\r"},
        {"utf8.html", "caf\xC3\xA9 \xE2\x82\xAC \xC2\xA0nbsp\r\n"},
        {"bom.html", "\xEF\xBB\xBFwith bom\n"},
        {"latin1.html", latin1High},
        {"empty.html", ""},
        {"nobreak.html", "<P>one</P>\r\n<P>two</P>"},
        {"doublebom.html", "\xEF\xBB\xBF\xEF\xBB\xBF<P>two marks</P>\r\n"},
        {"cp1252.html", "\x93quoted\x94 \x91single\x92 \x80 5 \x96 6 \x97 caf\xE9 \x85\r\n"},
        {"unassigned.html", "\x81\x8D\x8F\x90\x9D"},
        {"allbytes.html", everyByteButNul},
    };
    for (const auto &[name, bytes] : cases) {
        MainWindowHarness h;
        const QString file = h.writeFile(name, bytes);
        MainWindow &w = h.start(file);
        EXPECT_TRUE(w.document().save()) << name;
        EXPECT_EQ(MainWindowHarness::readFile(file), bytes) << name;
        // An edit made and taken back, and Save As to a new file, change nothing either.
        w.editBox().setCaret(0);
        edit(w, "x");
        w.editBox().widget()->undo();
        const QString copy = h.path(QStringLiteral("copy-") + name);
        h.platform.fileAnswers = {copy};
        EXPECT_TRUE(w.document().saveAs()) << name;
        EXPECT_EQ(MainWindowHarness::readFile(copy), bytes) << name;
        EXPECT_TRUE(h.platform.messages.isEmpty()) << name;
    }
}

TEST(RoundTrip, LineBreakStyleIsKeptForEditsAndSaveAsUnixSwitchesIt)
{
    MainWindowHarness h;
    const QString file = h.writeFile("lf.html", "a\nb\n");
    MainWindow &w = h.start(file);
    w.editBox().setCaret(3); // the start of line 2: "a", CR, LF
    edit(w, "x\ny");
    EXPECT_TRUE(w.document().save());
    EXPECT_EQ(MainWindowHarness::readFile(file), "a\nx\nyb\n");

    MainWindow &w2 = h.restart();
    const QString unix = h.path("unix.html");
    h.platform.fileAnswers = {unix};
    w2.document().saveAsUnix();
    const QByteArray written = MainWindowHarness::readFile(unix);
    EXPECT_FALSE(written.contains('\r'));
    EXPECT_TRUE(written.startsWith("<HTML>\n\n<HEAD>\n"));
    // Later saves keep the style.
    edit(w2, "z");
    EXPECT_TRUE(w2.document().save());
    EXPECT_FALSE(MainWindowHarness::readFile(unix).contains('\r'));
    EXPECT_TRUE(h.platform.messages.isEmpty());
}

TEST(RoundTrip, FileWithoutFinalBreakIsSavedWithoutOneAndNewDocumentsEndWithOne)
{
    MainWindowHarness h;
    // The largest document that loads, without a final break: after an edit in the middle
    // it is still that size, and loads again.
    const QByteArray large = QByteArray(499999, 'a') + "\r\n" + QByteArray(499998, 'b');
    const QString file = h.writeFile("nobreak.html", large);
    MainWindow &w = h.start(file);
    w.editBox().setCaret(10);
    edit(w, "x");
    w.editBox().setSelection(10, 1);
    w.editBox().replaceSelection(QString());
    EXPECT_TRUE(w.document().isModified());
    EXPECT_TRUE(w.document().save());
    EXPECT_EQ(MainWindowHarness::readFile(file), large);
    h.platform.fileAnswers = {file};
    w.openDocument();
    EXPECT_EQ(statusText(w), file);
    EXPECT_TRUE(h.platform.messages.isEmpty());

    // A new document (the template) still ends with one CR LF, even when its last break
    // is deleted.
    w.newDocument();
    const int length = w.editBox().length();
    w.editBox().setSelection(length - 2, 2);
    w.editBox().replaceSelection(QString());
    ASSERT_FALSE(w.editBox().text().endsWith("\r\n"));
    const QString page = h.path("page.html");
    h.platform.fileAnswers = {page};
    EXPECT_TRUE(w.document().save());
    const QByteArray saved = MainWindowHarness::readFile(page);
    EXPECT_TRUE(saved.endsWith(">\r\n"));
    EXPECT_FALSE(saved.endsWith("\r\n\r\n"));
}

namespace {

const MessageRecord kCannotHold{
    "Save...", "This document contains characters that its encoding cannot hold. Save it as UTF-8?",
    MsgButtons::YesNo, MsgIcon::Question};
const MessageRecord kChangedOnDisk{
    "Save...", "The file has been changed by another program since it was opened. Overwrite it?",
    MsgButtons::YesNo, MsgIcon::Question};

QString euro()
{
    return QString::fromUtf8("\xE2\x82\xAC");
}

} // namespace

TEST(RoundTrip, CharacterTheEncodingCannotHoldAsksBeforeChangingIt)
{
    MainWindowHarness h;
    const QByteArray latin1 = "caf\xE9 \xA9 \xB1\r\n";
    const QString file = h.writeFile("latin.html", latin1);
    MainWindow &w = h.start(file);
    w.editBox().setCaret(0);
    edit(w, euro());

    // No: nothing is written and nothing else is offered.
    h.platform.messageAnswers = {MsgAnswer::No};
    EXPECT_FALSE(w.document().save());
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>{kCannotHold});
    EXPECT_TRUE(h.platform.pickers.isEmpty());
    EXPECT_EQ(MainWindowHarness::readFile(file), latin1);
    EXPECT_TRUE(w.document().isModified());
    // The same from the save prompt: the command ends and the edits stay.
    h.platform.messageAnswers = {MsgAnswer::Yes, MsgAnswer::No};
    w.newDocument();
    EXPECT_EQ(statusText(w), file);
    EXPECT_EQ(MainWindowHarness::readFile(file), latin1);
    // Save As asks too.
    h.platform.messages.clear();
    h.platform.messageAnswers = {MsgAnswer::No};
    h.platform.fileAnswers = {h.path("copy.html")};
    EXPECT_FALSE(w.document().saveAs());
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>{kCannotHold});
    EXPECT_FALSE(QFile::exists(h.path("copy.html")));
    EXPECT_EQ(statusText(w), file);

    // Yes: the whole document is written as UTF-8, and stays so without asking again.
    h.platform.messages.clear();
    h.platform.messageAnswers = {MsgAnswer::Yes};
    EXPECT_TRUE(w.document().save());
    EXPECT_EQ(MainWindowHarness::readFile(file), "\xE2\x82\xAC"
                                                 "caf\xC3\xA9 \xC2\xA9 \xC2\xB1\r\n");
    EXPECT_EQ(w.document().encoding().charset, Charset::Utf8);
    edit(w, euro());
    EXPECT_TRUE(w.document().save());
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>{kCannotHold});
}

TEST(RoundTrip, CodePageFileTakesItsOwnCharactersWithoutAsking)
{
    MainWindowHarness h;
    const QString file = h.writeFile("quotes.html", "\x93"
                                                    "caf\xE9\x94\r\n");
    MainWindow &w = h.start(file);
    EXPECT_EQ(w.editBox().text(), QString::fromUtf8("\xE2\x80\x9C"
                                                    "caf\xC3\xA9\xE2\x80\x9D\r\n"));
    w.editBox().setCaret(0);
    edit(w, euro() + QString::fromUtf8("\xE2\x80\x94"));
    EXPECT_TRUE(w.document().save());
    EXPECT_TRUE(h.platform.messages.isEmpty());
    EXPECT_EQ(MainWindowHarness::readFile(file), "\x80\x97\x93"
                                                 "caf\xE9\x94\r\n");
}

TEST(RoundTrip, MixedLineBreaksKeepTheCommonestStyleAndSaySoOnce)
{
    MainWindowHarness h;
    const QString file = h.writeFile("mixed.html", "a\nb\r\nc\nd");
    MainWindow &w = h.start(file);
    QStatusBar *bar = w.statusBar();
    EXPECT_TRUE(bar->currentMessage().isEmpty());
    EXPECT_TRUE(w.document().save());
    EXPECT_EQ(MainWindowHarness::readFile(file), "a\nb\nc\nd");
    EXPECT_EQ(bar->currentMessage(), "Mixed line breaks saved as LF, the file's most common style");
    // The document's name is still what Save writes to.
    EXPECT_EQ(statusText(w), file);

    bar->clearMessage();
    edit(w, "x");
    EXPECT_TRUE(w.document().save());
    EXPECT_TRUE(bar->currentMessage().isEmpty());
    EXPECT_TRUE(h.platform.messages.isEmpty());
}

TEST(save, FileChangedByAnotherProgramIsOverwrittenOnlyOnYes)
{
    MainWindowHarness h;
    const QString file = h.writeFile("doc.html", "mine\r\n");
    MainWindow &w = h.start(file);
    edit(w, "edit ");
    h.writeFile("doc.html", "theirs, longer\r\n");

    h.platform.messageAnswers = {MsgAnswer::No};
    EXPECT_FALSE(w.document().save());
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>{kChangedOnDisk});
    EXPECT_TRUE(h.platform.pickers.isEmpty());
    EXPECT_EQ(MainWindowHarness::readFile(file), "theirs, longer\r\n");
    EXPECT_TRUE(w.document().isModified());

    h.platform.messages.clear();
    h.platform.messageAnswers = {MsgAnswer::Yes};
    EXPECT_TRUE(w.document().save());
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>{kChangedOnDisk});
    EXPECT_EQ(MainWindowHarness::readFile(file), "edit mine\r\n");

    // The program's own save is no change by another program.
    h.platform.messages.clear();
    edit(w, "again ");
    EXPECT_TRUE(w.document().save());
    EXPECT_TRUE(h.platform.messages.isEmpty());

    // A change that keeps the size shows in the modification time.
    QFile other(file);
    ASSERT_TRUE(other.open(QIODevice::ReadWrite));
    other.write("AGAIN");
    ASSERT_TRUE(other.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                  QFileDevice::FileModificationTime));
    other.close();
    const QByteArray theirs = MainWindowHarness::readFile(file);
    edit(w, "y");
    h.platform.messageAnswers = {MsgAnswer::No};
    EXPECT_FALSE(w.document().save());
    EXPECT_EQ(h.platform.messages, QVector<MessageRecord>{kChangedOnDisk});
    EXPECT_EQ(MainWindowHarness::readFile(file), theirs);
}

TEST(closeDocument, WithNoDocumentAndThenClickingIntoTheEditor)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    w.document().close();
    EXPECT_EQ(statusText(w), "Ready...");
    EXPECT_EQ(w.windowTitle(), "Pagewick");
    EXPECT_EQ(w.editBox().text(), "");
    w.document().close();
    EXPECT_TRUE(h.platform.messages.isEmpty());
    EXPECT_EQ(statusText(w), "Ready...");

    // Focus coming back to the editor when the window is activated again or a menu or
    // message box closes is no entering: the document stays closed.
    for (Qt::FocusReason returning : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
        QFocusEvent back(QEvent::FocusIn, returning);
        QCoreApplication::sendEvent(w.editBox().widget(), &back);
        EXPECT_EQ(statusText(w), "Ready...") << returning;
    }
    EXPECT_EQ(w.editBox().text(), "");

    // The box has had the focus since start-up: the user is elsewhere before coming back.
    w.findChild<QWidget *>("MyFileList")->setFocus();
    w.show();
    w.activateWindow();
    QCoreApplication::processEvents();
    w.editBox().widget()->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    EXPECT_EQ(statusText(w), "Untitled.html");
    EXPECT_EQ(w.windowTitle(), "Pagewick - Untitled.html");
    EXPECT_TRUE(w.editBox().text().startsWith("<HTML>\r\n"));
    EXPECT_FALSE(w.document().isModified());
}

TEST(closeDocument, YesSavesNoDiscards)
{
    MainWindowHarness h;
    const QString doc = h.writeFile("doc.html", "text\r\n");
    MainWindow &w = h.start(doc);
    edit(w, "1");
    h.platform.messageAnswers = {MsgAnswer::Yes};
    w.document().close();
    EXPECT_EQ(MainWindowHarness::readFile(doc), "1text\r\n");
    EXPECT_EQ(statusText(w), "Ready...");
    EXPECT_FALSE(w.document().isModified());
}

TEST(NewDocument, LoadsTheTemplateAsUntitledAndMovesThePanesToTheProgramFolder)
{
    MainWindowHarness h;
    const QString doc = h.writeFile("doc.html", "text\r\n");
    MainWindow &w = h.start(doc);
    w.newDocument();
    EXPECT_EQ(statusText(w), "Untitled.html");
    EXPECT_TRUE(w.editBox().text().startsWith("<HTML>\r\n\r\n<HEAD>\r\n     <TITLE>"));
    // The directory pane names a directory without a trailing separator.
    EXPECT_EQ(w.panes().directoryList()->path(), QDir::cleanPath(QStringLiteral(PAGEWICK_BIN_DIR)));
}

TEST(print, CancelledDialogShowsThePrinterMessage)
{
    MainWindowHarness h;
    MainWindow &w = h.start();
    h.platform.printerAnswers = {false};
    w.print();
    ASSERT_EQ(h.platform.messages.size(), 1);
    EXPECT_EQ(h.platform.messages[0],
              (MessageRecord{"Sorry, I Cannot Print...",
                             "Make Sure The Printer Has Paper And Is Online...", MsgButtons::Ok,
                             MsgIcon::Information}));
    EXPECT_EQ(h.platform.busyDepth, 0);

    w.document().close();
    w.print(); // no document: nothing happens
    EXPECT_EQ(h.platform.messages.size(), 1);
}
