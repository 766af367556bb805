// The document on its own, with no main window: loaded, edited, saved and closed through its
// edit box, with the scripted platform answering its questions.
#include "document/document.h"
#include "shared/edit_box.h"
#include "shared/program_state.h"
#include "support/fake_platform.h"

#include <QFile>
#include <QTest>
#include <QDateTime>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>

using namespace pw;
using namespace pw::test;

namespace {

const MessageRecord kChangedOnDisk{
    "Save...", "The file has been changed by another program since it was opened. Overwrite it?",
    MsgButtons::YesNo, MsgIcon::Question};
const MessageRecord kPrompt{"Close...", "Save it?", MsgButtons::YesNoCancel, MsgIcon::Question};

class LoneDocument : public ::testing::Test {
protected:
    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }
    void type(const QString &text) { box.insertPlainText(text); }

    QTemporaryDir dir;
    QPlainTextEdit box;
    EditBox edit{&box};
    ProgramState state;
    FakePlatform platform;
    Document document{edit, platform, state};
};

} // namespace

// Bytes the editor never meant to change survive a load, an edit and a save: LF breaks, an
// 8-bit character, no final break. The signals tell the views each step.
TEST_F(LoneDocument, RoundTripKeepsTheFileAsItWasWritten)
{
    const QString path = write("page.html", "<P>caf\xe9</P>\nend");
    QSignalSpy identity(&document, &Document::identityChanged);
    QSignalSpy modified(&document, &Document::modifiedChanged);

    ASSERT_TRUE(document.open(path));
    EXPECT_EQ(document.path(), path);
    EXPECT_EQ(document.statusName(), path);
    EXPECT_EQ(identity.count(), 1);
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(modified.count(), 0); // loading is no change
    EXPECT_EQ(edit.text(), QString::fromLatin1("<P>caf\xe9</P>\r\nend"));

    type("x");
    EXPECT_TRUE(document.isModified());
    type("y"); // only the first change is news
    EXPECT_EQ(modified.count(), 1);

    ASSERT_TRUE(document.save());
    EXPECT_EQ(read(path), "xy<P>caf\xe9</P>\nend");
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(modified.count(), 2);
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(LoneDocument, AFileChangedOnDiskIsOverwrittenOnlyAtTheUsersWord)
{
    const QString path = write("page.html", "mine\r\n");
    ASSERT_TRUE(document.open(path));
    write("page.html", "another program's longer text\r\n");
    type("edit ");

    platform.messageAnswers = {MsgAnswer::No};
    EXPECT_FALSE(document.save());
    EXPECT_EQ(read(path), "another program's longer text\r\n");
    EXPECT_TRUE(document.isModified());

    platform.messageAnswers = {MsgAnswer::Yes};
    EXPECT_TRUE(document.save());
    EXPECT_EQ(read(path), "edit mine\r\n");
    EXPECT_EQ(platform.messages, QVector<MessageRecord>({kChangedOnDisk, kChangedOnDisk}));

    // Written by us, the file is ours again: no question at the next save.
    type("again ");
    EXPECT_TRUE(document.save());
    EXPECT_EQ(platform.messages.size(), 2);
}

TEST_F(LoneDocument, TheSavePromptsThreeAnswers)
{
    const QString path = write("page.html", "old\r\n");
    ASSERT_TRUE(document.open(path));
    EXPECT_TRUE(document.maybeSave("Close...", "Save it?")); // unmodified: nothing asked
    EXPECT_TRUE(platform.messages.isEmpty());

    type("new ");
    platform.messageAnswers = {MsgAnswer::Cancel, MsgAnswer::No};
    EXPECT_FALSE(document.maybeSave("Close...", "Save it?"));
    EXPECT_TRUE(document.maybeSave("Close...", "Save it?"));
    EXPECT_EQ(read(path), "old\r\n");
    EXPECT_TRUE(document.isModified());

    platform.messageAnswers = {MsgAnswer::Yes};
    EXPECT_TRUE(document.maybeSave("Close...", "Save it?"));
    EXPECT_EQ(read(path), "new old\r\n");
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(platform.messages, QVector<MessageRecord>({kPrompt, kPrompt, kPrompt}));
}

// An untitled document saves through Save As, in the folder the pickers start in; a cancelled
// picker keeps it untitled and unsaved, and Close then still asks.
TEST_F(LoneDocument, UntitledSavesThroughSaveAsAndCloseEndsIt)
{
    document.replace("<HTML>\r\n</HTML>\r\n");
    document.setPickerFolder([this] { return dir.path(); });
    EXPECT_TRUE(document.isUntitled());
    EXPECT_EQ(document.statusName(), "Untitled.html");
    EXPECT_TRUE(document.isModified()) << "a made page is not saved anywhere yet";
    edit.setCaret(0);
    type("<!-- -->");

    platform.fileAnswers = {QString()};
    EXPECT_FALSE(document.save());
    EXPECT_TRUE(document.isUntitled());
    ASSERT_EQ(platform.pickers.size(), 1);
    EXPECT_EQ(platform.pickers[0].directory, dir.path());

    QSignalSpy savedAs(&document, &Document::savedAs);
    const QString target = dir.filePath("new.html");
    platform.fileAnswers = {target};
    EXPECT_TRUE(document.save());
    EXPECT_EQ(document.path(), target);
    EXPECT_EQ(savedAs.count(), 1);
    EXPECT_EQ(read(target), "<!-- --><HTML>\r\n</HTML>\r\n");

    type("more");
    platform.messageAnswers = {MsgAnswer::Cancel};
    EXPECT_FALSE(document.close());
    EXPECT_EQ(document.path(), target);
    platform.messageAnswers = {MsgAnswer::No};
    EXPECT_TRUE(document.close());
    EXPECT_FALSE(document.isOpen());
    EXPECT_EQ(document.statusName(), "Ready...");
    EXPECT_EQ(edit.text(), "");
    EXPECT_EQ(read(target), "<!-- --><HTML>\r\n</HTML>\r\n");

    platform.messages.clear();
    EXPECT_FALSE(document.save());
    EXPECT_EQ(platform.messages,
              QVector<MessageRecord>({{"Save Aborted...", "There Is No Document To Save",
                                       MsgButtons::Ok, MsgIcon::Information}}));
}

// Another program's change that keeps the size and the modification time still shows: a
// file swapped in by renaming, and one rewritten in place with its time set back. Saving
// asks each time; a file only read or touched by no one does not.
TEST_F(LoneDocument, ASameSizeSameTimeChangeIsStillNoticed)
{
    const QString path = write("page.html", "mine\r\n");
    QFile original(path);
    const QDateTime time = QFileInfo(path).lastModified();
    ASSERT_TRUE(document.open(path));
    type("edit ");

    // Swapped: a new file of the same size and time renamed over the old one.
    const QString other = write("other.html", "your\r\n");
    {
        QFile swap(other);
        ASSERT_TRUE(swap.open(QIODevice::ReadWrite));
        ASSERT_TRUE(swap.setFileTime(time, QFileDevice::FileModificationTime));
    }
    ASSERT_EQ(::rename(QFile::encodeName(other).constData(), QFile::encodeName(path).constData()),
              0);
    ASSERT_EQ(QFileInfo(path).lastModified(), time);
    platform.messageAnswers = {MsgAnswer::No};
    EXPECT_FALSE(document.save());
    EXPECT_EQ(read(path), "your\r\n");

    // Rewritten in place, size and time as they were.
    platform.messageAnswers = {MsgAnswer::Yes};
    ASSERT_TRUE(document.save());
    const QDateTime saved = QFileInfo(path).lastModified();
    type("x");
    QTest::qWait(20); // the inode's own change time moves on
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.write("EDIT");
        ASSERT_TRUE(file.setFileTime(saved, QFileDevice::FileModificationTime));
    }
    platform.messageAnswers = {MsgAnswer::No};
    EXPECT_FALSE(document.save());
    EXPECT_EQ(read(path), "EDIT mine\r\n");
    EXPECT_EQ(platform.messages, QVector<MessageRecord>(3, kChangedOnDisk));

    // Read by another program: no change, no question.
    platform.messageAnswers = {MsgAnswer::Yes};
    ASSERT_TRUE(document.save());
    read(path);
    type("y");
    EXPECT_TRUE(document.save());
    EXPECT_EQ(platform.messages.size(), 4);
}

// Save As onto a file that exists asks first, naming it; No leaves that file byte for byte
// and the document as it was, Yes writes it.
TEST_F(LoneDocument, SaveAsOverAnExistingFileAsksFirst)
{
    const QString other = write("other.html", "<P>someone's page</P>\n");
    const QString path = write("page.html", "mine\r\n");
    ASSERT_TRUE(document.open(path));
    type("edited ");
    const MessageRecord question{"Save As",
                                 "These Files Already Exist:\r\nother.html\r\nReplace Them?",
                                 MsgButtons::YesNo, MsgIcon::Question};
    platform.fileAnswers = {other};
    platform.messageAnswers = {MsgAnswer::No};
    EXPECT_FALSE(document.saveAs());
    EXPECT_EQ(read(other), "<P>someone's page</P>\n");
    EXPECT_EQ(document.path(), path);
    EXPECT_TRUE(document.isModified());
    EXPECT_EQ(platform.messages, QVector<MessageRecord>({question}));

    // A name that is free needs no question.
    platform.fileAnswers = {dir.filePath("free.html")};
    EXPECT_TRUE(document.saveAsUnix());
    EXPECT_EQ(read(dir.filePath("free.html")), "edited mine\n");
    EXPECT_EQ(platform.messages.size(), 1);

    platform.fileAnswers = {other};
    platform.messageAnswers = {MsgAnswer::Yes};
    EXPECT_TRUE(document.saveAs());
    EXPECT_EQ(read(other), "edited mine\n");
    EXPECT_EQ(document.path(), other);
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(platform.messages, QVector<MessageRecord>({question, question}));
}

// A file that cannot be read leaves the document as it was; while messages are held (at
// start-up) its message waits until the window shows them.
TEST_F(LoneDocument, AnUnreadableFileChangesNothingAndItsMessageCanWait)
{
    const QString path = write("page.html", "kept\r\n");
    ASSERT_TRUE(document.open(path));
    type("typed ");

    document.holdMessages(true);
    EXPECT_FALSE(document.open(dir.filePath("missing.html")));
    document.holdMessages(false);
    EXPECT_TRUE(platform.messages.isEmpty());
    EXPECT_EQ(document.path(), path);
    EXPECT_EQ(edit.text(), "typed kept\r\n");
    EXPECT_TRUE(document.isModified());

    document.showHeldMessages();
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0].text, "Error Loading Text");
    document.showHeldMessages(); // shown once
    EXPECT_EQ(platform.messages.size(), 1);
}
