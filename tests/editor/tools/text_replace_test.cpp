// Searching and replacing in texts and in the bytes of files.
#include "support/qt_print.h"
#include "tools/file_replace.h"
#include "tools/text_replace.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace pw;

TEST(findIgnoringCase, PositionsAreOneBasedAndCaseIsIgnored)
{
    EXPECT_EQ(findIgnoringCase("xxABCxx", "abc"), 3);
    EXPECT_EQ(findIgnoringCase("abc abc", "ABC", 2), 5);
    EXPECT_EQ(findIgnoringCase("abc abc", "abc", 6), 0);
    EXPECT_EQ(findIgnoringCase("abcd", "cd", 3), 3); // ends at the last character
    EXPECT_EQ(findIgnoringCase("abc", "", 1), 0);
    EXPECT_EQ(findIgnoringCase("abc", "abcd", 1), 0);
    EXPECT_EQ(findIgnoringCase(QString::fromUtf8("Ça VA"), QString::fromUtf8("ça va")), 1);
}

TEST(replaceAll, InsertedTextIsNeverSearchedAgain)
{
    struct Case {
        const char *text, *what, *with, *expected;
        qint64 count;
    };
    const Case cases[] = {
        {"bb", "b", "ab", "abab", 2},
        {"aaa", "a", "aa", "aaaaaa", 3},
        {"<Img Src=x><IMG>", "img", "IMG", "<IMG Src=x><IMG>", 2},
        {"one two", "two", "2", "one 2", 1}, // occurrence at the very end
        {"abcabc", "ABC", "", "", 2},        // replaced by nothing
        {"nothing here", "zz", "y", "nothing here", 0},
        {"abc", "", "x", "abc", 0}, // empty search text changes nothing
    };
    for (const Case &c : cases) {
        const ReplaceAllResult result = replaceAll(c.text, c.what, c.with);
        EXPECT_EQ(result.text, QString::fromUtf8(c.expected)) << c.text << " / " << c.what;
        EXPECT_EQ(result.count, c.count) << c.text << " / " << c.what;
    }
}

TEST(replaceAll, KeptPositionMovesWithTheTextAroundIt)
{
    // "xx AB yy AB zz": replacing "ab" by "1234" grows each occurrence by two.
    const QString text = "xx AB yy AB zz";
    EXPECT_EQ(replaceAll(text, "ab", "1234", 1).kept, 1);   // before every occurrence
    EXPECT_EQ(replaceAll(text, "ab", "1234", 3).kept, 3);   // right at the first one
    EXPECT_EQ(replaceAll(text, "ab", "1234", 4).kept, 7);   // inside: after its replacement
    EXPECT_EQ(replaceAll(text, "ab", "1234", 6).kept, 8);   // between the two
    EXPECT_EQ(replaceAll(text, "ab", "1234", 14).kept, 18); // at the end
    EXPECT_EQ(replaceAll(text, "ab", "", 14).kept, 10);
}

TEST(replaceInBytes, OnlyTheReplacedBytesChange)
{
    qint64 count = 0;
    // LF-only and mixed breaks stay exactly as they were; no break is added at the end.
    EXPECT_EQ(*replaceInBytes("a\nb\r\nc\rb", "b", "X", &count), QByteArray("a\nX\r\nc\rX"));
    EXPECT_EQ(count, 2);
    // UTF-8 with a byte-order mark keeps it, and non-ASCII text around the match.
    EXPECT_EQ(*replaceInBytes("\xEF\xBB\xBF"
                              "caf\xC3\xA9 img",
                              "IMG", "pic", &count),
              QByteArray("\xEF\xBB\xBF"
                         "caf\xC3\xA9 pic"));
    // An 8-bit file stays 8-bit: the byte 0xE9 is not turned into UTF-8.
    EXPECT_EQ(*replaceInBytes("caf\xE9 img", "img", QString::fromUtf8("\xC3\xA9"), &count),
              QByteArray("caf\xE9 \xE9"));
    // NUL bytes are kept.
    EXPECT_EQ(*replaceInBytes(QByteArray("a\0b", 3), "b", "c", &count), QByteArray("a\0c", 3));
    // A replacement an 8-bit file cannot hold is refused rather than re-encoding the file.
    EXPECT_FALSE(replaceInBytes("caf\xE9 img", "img", QString::fromUtf8("\xE2\x82\xAC"), &count));
    // Without a match the very same bytes come back.
    EXPECT_EQ(*replaceInBytes("\r\nabc", "zz", "y", &count), QByteArray("\r\nabc"));
    EXPECT_EQ(count, 0);
}

TEST(replaceInFile, WritesOnlyChangedFilesAndRefusesLargeOnes)
{
    QTemporaryDir dir;
    auto write = [&](const char *name, const QByteArray &bytes) {
        QFile file(dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return dir.filePath(name);
    };
    auto read = [](const QString &path) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    };

    const QString changed = write("a.html", "<Img>\n");
    FileReplaceResult result = replaceInFile(changed, "img", "IMG");
    EXPECT_EQ(result.status, FileReplaceResult::Changed);
    EXPECT_EQ(result.count, 1);
    EXPECT_EQ(read(changed), "<IMG>\n");

    // A file without a match is not rewritten (its time stamp stays).
    const QString untouched = write("b.html", "nothing");
    const QDateTime before = QFileInfo(untouched).lastModified();
    QFile stamp(untouched);
    stamp.open(QIODevice::ReadWrite);
    stamp.setFileTime(before.addSecs(-3600), QFileDevice::FileModificationTime);
    stamp.close();
    EXPECT_EQ(replaceInFile(untouched, "img", "IMG").status, FileReplaceResult::NoMatch);
    EXPECT_EQ(QFileInfo(untouched).lastModified(), before.addSecs(-3600));

    const QString large = write("big.html", QByteArray(1'000'000, 'b'));
    EXPECT_EQ(replaceInFile(large, "b", "a").status, FileReplaceResult::TooLarge);
    EXPECT_EQ(read(large), QByteArray(1'000'000, 'b'));
    const QString justSmallEnough = write("ok.html", QByteArray(999'999, 'b'));
    EXPECT_EQ(replaceInFile(justSmallEnough, "b", "a").count, 999'999);

    EXPECT_EQ(replaceInFile(dir.filePath("missing.html"), "b", "a").status,
              FileReplaceResult::Unreadable);
    EXPECT_FALSE(QFile::exists(dir.filePath("missing.html")));
    EXPECT_EQ(replaceInFile(changed, "", "x").status, FileReplaceResult::NoMatch);
    EXPECT_EQ(read(changed), "<IMG>\n");
}

TEST(replaceInBytes, EightBitFilesAreReplacedInTheirCodePage)
{
    qint64 count = 0;
    const QString quoted = QString::fromUtf8("\xE2\x80\x9Cnew\xE2\x80\x9D");
    // Curly quotes in the file are found as the characters they show, and a replacement
    // the code page holds is written as its bytes; every other byte stays as it was.
    EXPECT_EQ(*replaceInBytes("\x81\x93old\x94 caf\xE9\r\n", QString::fromUtf8("\xE2\x80\x9Cold"),
                              quoted, &count),
              QByteArray("\x81\x93new\x94\x94 caf\xE9\r\n"));
    EXPECT_EQ(count, 1);
    // A Latin1 file keeps clear of 0x80-0x9F, as the editor keeps it.
    EXPECT_FALSE(replaceInBytes("caf\xE9 old", "old", quoted, &count));
    // Double byte-order marks stay two.
    EXPECT_EQ(*replaceInBytes("\xEF\xBB\xBF\xEF\xBB\xBFold", "old", "new", &count),
              QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFnew"));
}

TEST(replaceInFile, FileChangedSinceItWasReadIsNotWritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("page.html");
    auto write = [&](const QByteArray &bytes) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    };
    auto read = [&] {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    };

    write("<img>\r\n");
    const FileStamp stamp = stampOfFile(path);
    QString error;
    EXPECT_EQ(writeUnlessChanged(path, "<IMG>\r\n", stamp, &error), FileReplaceResult::Changed);
    EXPECT_EQ(read(), "<IMG>\r\n");

    // Another program writes between the read and the write: its bytes stay.
    const FileStamp before = stampOfFile(path);
    write("theirs\r\n");
    EXPECT_EQ(writeUnlessChanged(path, "mine\r\n", before, &error), FileReplaceResult::NotWritten);
    EXPECT_EQ(error, "The file was changed by another program");
    EXPECT_EQ(read(), "theirs\r\n");
    // Deleted meanwhile: not created again.
    const FileStamp present = stampOfFile(path);
    QFile::remove(path);
    EXPECT_EQ(writeUnlessChanged(path, "mine\r\n", present, &error), FileReplaceResult::NotWritten);
    EXPECT_FALSE(QFile::exists(path));
}
