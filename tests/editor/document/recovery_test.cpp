// Recovery copies: kept while the document has unsaved changes, gone when nothing is unsaved,
// left behind only by a run that did not end normally, and offered to the next run alone.
#include "document/document.h"
#include "document/recovery_keeper.h"
#include "shared/edit_box.h"
#include "shared/program_state.h"
#include "shared/recovery_store.h"
#include "shell/recovery_dialog.h"
#include "support/fake_platform.h"
#include "support/test_files.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace pw;
using namespace pw::test;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The folders of runs under the recovery folder.
QStringList runFolders(const QString &folder)
{
    return QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

// A run that keeps a copy of `text` for `path` and ends without clearing up, as a crash or
// kill -9 leaves it: a child process that never runs its destructors. Without `text` the run
// had nothing unsaved.
void crashedRun(const QString &folder, const QString &path, const std::optional<QString> &text)
{
    const RecoveryHeader header{
        path, TextEncoding{Charset::Windows1252, false, LineStyle::Lf, false, false},
        FileStamp{true, 12, 345}};
    const QByteArray bytes = recoveryCopyBytes(header, text.value_or(QString()));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        auto *store = new RecoveryStore(folder);
        QFile file(store->copyPath());
        const bool ok =
            !text || (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

class Recovery : public ::testing::Test {
protected:
    void type(const QString &text) { box.insertPlainText(text); }
    // Lets the keeper's timers run until `done` holds or two seconds pass.
    bool waitFor(const std::function<bool()> &done)
    {
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < 2000) {
            QTest::qWait(5);
            keeper->waitForWrites();
        }
        return done();
    }
    std::optional<std::pair<RecoveryHeader, QString>> copy()
    {
        keeper->waitForWrites();
        return parseRecoveryCopy(readAll(store->copyPath()));
    }

    QTemporaryDir dir;
    QString folder = dir.filePath("state/Pagewick/recovery");
    QPlainTextEdit box;
    EditBox edit{&box};
    ProgramState state;
    FakePlatform platform;
    Document document{edit, platform, state};
    std::unique_ptr<RecoveryStore> store = std::make_unique<RecoveryStore>(folder);
    std::unique_ptr<RecoveryKeeper> keeper = std::make_unique<RecoveryKeeper>(document, *store);
};

} // namespace

// The copy carries everything a later run needs to put the document back: a file name that
// is not UTF-8, the encoding, the disk stamp and the text byte for byte. Anything else is
// not taken for a copy.
TEST(RecoveryCopy, RoundTripsNameEncodingStampAndText)
{
    const QString path = QFile::decodeName("/tmp/caf\xe9 \xff\xfe/page=1.html");
    const RecoveryHeader header{path,
                                TextEncoding{Charset::Latin1, false, LineStyle::Cr, true, false},
                                FileStamp{true, 99999, -5}};
    const QString text = QString::fromUtf8("line\r\n\r\n\xc3\xa9\xe2\x82\xac\r\nend");
    const QByteArray bytes = recoveryCopyBytes(header, text);
    const auto parsed = parseRecoveryCopy(bytes);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(QFile::encodeName(parsed->first.path), QFile::encodeName(path));
    EXPECT_EQ(parsed->first.encoding, header.encoding);
    EXPECT_EQ(parsed->first.stamp, header.stamp);
    EXPECT_EQ(parsed->second, text);

    EXPECT_FALSE(parseRecoveryCopy(QByteArray()));
    EXPECT_FALSE(parseRecoveryCopy("<HTML>\n\n</HTML>"));
    // Cut short inside its header.
    EXPECT_FALSE(parseRecoveryCopy(bytes.left(bytes.indexOf("lines="))));
    QByteArray badCharset = bytes;
    badCharset.replace("charset=1", "charset=7");
    EXPECT_FALSE(parseRecoveryCopy(badCharset));
}

TEST(RecoveryFolder, FollowsTheXdgStateHome)
{
    const QByteArray kept = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", "/somewhere/state");
    EXPECT_EQ(RecoveryStore::defaultFolder(), "/somewhere/state/Pagewick/recovery");
    qputenv("XDG_STATE_HOME", "relative/state"); // not absolute: not taken
    EXPECT_EQ(RecoveryStore::defaultFolder(), QDir::homePath() + "/.local/state/Pagewick/recovery");
    if (kept.isNull())
        qunsetenv("XDG_STATE_HOME");
    else
        qputenv("XDG_STATE_HOME", kept);
}

// Typing makes a copy once typing pauses, with the document's name and encoding; saving
// takes it away, and so does closing without saving.
TEST_F(Recovery, CopyFollowsUnsavedChangesUntilSavedOrClosed)
{
    keeper->setDelays(30, 10000);
    const QString path = dir.filePath("page.html");
    writeFile(path, "old\n");
    ASSERT_TRUE(document.open(path));
    QTest::qWait(60);
    EXPECT_FALSE(QFile::exists(store->copyPath())) << "nothing unsaved yet";

    type("new ");
    ASSERT_TRUE(waitFor([&] { return QFile::exists(store->copyPath()); }));
    auto kept = copy();
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->first.path, path);
    EXPECT_EQ(kept->first.encoding.lines, LineStyle::Lf);
    EXPECT_EQ(kept->first.stamp, document.diskStamp());
    EXPECT_EQ(kept->second, "new old\r\n");
    EXPECT_EQ(QFile::permissions(store->copyPath()) & 0x0077, 0) << "for the owner's eyes only";

    ASSERT_TRUE(document.save());
    keeper->waitForWrites();
    EXPECT_FALSE(QFile::exists(store->copyPath()));

    type("again ");
    ASSERT_TRUE(waitFor([&] { return QFile::exists(store->copyPath()); }));
    platform.messageAnswers = {MsgAnswer::No};
    ASSERT_TRUE(document.close());
    keeper->waitForWrites();
    EXPECT_FALSE(QFile::exists(store->copyPath()));
    EXPECT_EQ(readAll(path), "new old\n");
}

// Typing that never pauses still gets a copy once the longest wait has passed, and the copy
// keeps up with the text.
TEST_F(Recovery, SteadyTypingIsKeptAtTheLongestInterval)
{
    keeper->setDelays(100000, 80);
    document.replace("<P>");
    QElapsedTimer typing;
    typing.start();
    while (!QFile::exists(store->copyPath()) && typing.elapsed() < 2000) {
        type("x");
        QTest::qWait(10);
        keeper->waitForWrites();
    }
    ASSERT_TRUE(QFile::exists(store->copyPath()));
    EXPECT_GE(typing.elapsed(), 70);
    const auto kept = copy();
    ASSERT_TRUE(kept);
    EXPECT_TRUE(kept->second.startsWith("<P>x")) << kept->second.toStdString();
    EXPECT_TRUE(kept->first.path.isEmpty()) << "an untitled document has no file";
}

// A run that ends normally leaves nothing; a crashed run leaves its copy, which only a run
// started later is offered, and a running program's copy is never anyone else's.
TEST_F(Recovery, OnlyCopiesOfEndedRunsAreOffered)
{
    keeper->setDelays(10, 10000);
    document.replace("<P>");
    type("unsaved");
    ASSERT_TRUE(waitFor([&] { return QFile::exists(store->copyPath()); }));
    {
        RecoveryStore second(folder);
        EXPECT_TRUE(second.isActive());
        EXPECT_TRUE(second.leftovers().isEmpty()) << "the first run is still running";
    }
    EXPECT_TRUE(QFile::exists(store->copyPath())) << "a second run takes nothing away";
    keeper.reset();
    store.reset();
    EXPECT_TRUE(runFolders(folder).isEmpty()) << "a normal end clears up";

    crashedRun(folder, "/home/user/a.html", "kept text");
    crashedRun(folder, QString(), std::nullopt);
    ASSERT_EQ(runFolders(folder).size(), 2);
    RecoveryStore next(folder);
    const QList<RecoveryCopy> copies = next.leftovers();
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(copies[0].header.path, "/home/user/a.html");
    EXPECT_EQ(copies[0].size, 9);
    EXPECT_EQ(RecoveryStore::readCopy(copies[0]), "kept text");
    EXPECT_EQ(runFolders(folder).size(), 2) << "the empty run's folder is cleared, ours added";
    {
        RecoveryStore concurrent(folder);
        EXPECT_TRUE(concurrent.leftovers().isEmpty()) << "claimed by the run that found it";
    }
    next.discard(copies[0]);
    EXPECT_EQ(runFolders(folder).size(), 1);
}

// The start-up offer: Later keeps the copy for the next start, Discard removes it, Restore
// opens it under its own name, modified and written as before, and keeps it at once as this
// run's copy.
TEST_F(Recovery, OfferRestoresDiscardsOrKeepsForLater)
{
    const QString path = dir.filePath("site/index.html");
    crashedRun(folder, path, "restored\r\ntext");
    crashedRun(folder, dir.filePath("other.html"), "other");
    keeper.reset();
    store = std::make_unique<RecoveryStore>(folder);
    keeper = std::make_unique<RecoveryKeeper>(document, *store);
    const auto press = [&](const char *button, const QString &row) {
        platform.dialogHandlers.push_back([=](QDialog &dialog) {
            auto *list = dialog.findChild<QTreeWidget *>("lstCopies");
            EXPECT_EQ(dialog.windowTitle(), "Recover Unsaved Work");
            for (int i = 0; i < list->topLevelItemCount(); ++i) {
                QTreeWidgetItem *item = list->topLevelItem(i);
                if (item->text(0) == row)
                    list->setCurrentItem(item);
                EXPECT_TRUE(item->text(2).endsWith(" bytes"));
            }
            dialog.findChild<QPushButton *>(button)->click();
            return dialog.result();
        });
    };
    press("cmdLater", path);
    offerRecovery(document, *store, *keeper, platform, nullptr);
    EXPECT_EQ(platform.dialogsRun, QStringList{"frmRecovery"});
    EXPECT_FALSE(document.isOpen());

    // A later start offers both again.
    keeper.reset();
    store = std::make_unique<RecoveryStore>(folder);
    keeper = std::make_unique<RecoveryKeeper>(document, *store);
    press("cmdDiscard", dir.filePath("other.html"));
    press("cmdRestore", path);
    offerRecovery(document, *store, *keeper, platform, nullptr);
    EXPECT_EQ(platform.dialogsRun.size(), 3);
    EXPECT_EQ(edit.text(), "restored\r\ntext");
    EXPECT_EQ(document.path(), path);
    EXPECT_TRUE(document.isModified());
    EXPECT_EQ(document.encoding().lines, LineStyle::Lf);
    EXPECT_EQ(runFolders(folder).size(), 1) << "only this run's folder is left";
    const auto kept = copy();
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->second, "restored\r\ntext");

    // Save writes where the user expects, with no question, and the copy goes.
    QDir().mkpath(dir.filePath("site"));
    ASSERT_TRUE(document.save());
    keeper->waitForWrites();
    EXPECT_EQ(readAll(path), "restored\ntext");
    EXPECT_FALSE(QFile::exists(store->copyPath()));
    EXPECT_TRUE(platform.messages.isEmpty());
}
