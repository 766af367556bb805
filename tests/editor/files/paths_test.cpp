#include "files/paths.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

using pw::pathPart;

TEST(pathPart, SplitsADrivePathWithBackslashes)
{
    const QString path = QStringLiteral("c:\\a\\b\\f.htm");
    EXPECT_EQ(pathPart(path, 1), QStringLiteral("c:"));
    EXPECT_EQ(pathPart(path, 2), QStringLiteral("\\a\\b\\"));
    EXPECT_EQ(pathPart(path, 3), QStringLiteral("f.htm"));
    EXPECT_EQ(pathPart(path, 4), QStringLiteral("f"));
    EXPECT_EQ(pathPart(path, 5), QString());
    EXPECT_EQ(pathPart(path, 0), QString());
    EXPECT_EQ(pathPart(QStringLiteral("c:\\f.htm"), 2), QStringLiteral("\\"));
}

TEST(pathPart, SplitsSlashPathsWithAndWithoutADrive)
{
    const QString path = QStringLiteral("/home/a/f.htm");
    EXPECT_EQ(pathPart(path, 1), QString());
    EXPECT_EQ(pathPart(path, 2), QStringLiteral("/home/a/"));
    EXPECT_EQ(pathPart(path, 3), QStringLiteral("f.htm"));
    EXPECT_EQ(pathPart(path, 4), QStringLiteral("f"));
    EXPECT_EQ(pathPart(path, 5), QString());
    EXPECT_EQ(pathPart(QStringLiteral("/f.htm"), 2), QStringLiteral("/"));

    const QString drive = QStringLiteral("c:/a/b/f.htm");
    EXPECT_EQ(pathPart(drive, 1), QStringLiteral("c:"));
    EXPECT_EQ(pathPart(drive, 2), QStringLiteral("/a/b/"));
    // Mixed separators: the last of either kind counts.
    EXPECT_EQ(pathPart(QStringLiteral("c:\\a/b\\f.tar.gz"), 2), QStringLiteral("\\a/b\\"));
    EXPECT_EQ(pathPart(QStringLiteral("c:\\a/b\\f.tar.gz"), 4), QStringLiteral("f"));
}

TEST(pathPart, EmptyWhenThePieceIsMissing)
{
    // No separator: parts 2 to 4 are empty.
    for (int part : {2, 3, 4})
        EXPECT_EQ(pathPart(QStringLiteral("c:f.htm"), part), QString()) << part;
    EXPECT_EQ(pathPart(QStringLiteral("f.htm"), 3), QString());
    // No full stop, or a name that starts with one.
    EXPECT_EQ(pathPart(QStringLiteral("/a/README"), 4), QString());
    EXPECT_EQ(pathPart(QStringLiteral("/a/.profile"), 4), QString());
    EXPECT_EQ(pathPart(QStringLiteral("/a/dir/"), 3), QString());
    // Only a letter and a colon make a drive.
    EXPECT_EQ(pathPart(QStringLiteral("1:\\x"), 1), QString());
    EXPECT_EQ(pathPart(QStringLiteral("1:\\x"), 2), QStringLiteral("1:\\"));
    EXPECT_EQ(pathPart(QString(), 1), QString());
    EXPECT_EQ(pathPart(QStringLiteral("c"), 1), QString());
}

TEST(PathRoutines, DirectoryFileNameAndNameWithoutExtension)
{
    EXPECT_EQ(pw::directoryOfPath(QStringLiteral("c:\\a\\f.htm")), QStringLiteral("c:\\a\\"));
    EXPECT_EQ(pw::directoryOfPath(QStringLiteral("/home/a/f.htm")), QStringLiteral("/home/a/"));
    EXPECT_EQ(pw::directoryOfPath(QStringLiteral("f.htm")), QString());
    EXPECT_EQ(pw::fileNameOfPath(QStringLiteral("c:\\a\\f.htm")), QStringLiteral("f.htm"));
    EXPECT_EQ(pw::fileNameOfPath(QStringLiteral("/home/a/f.htm")), QStringLiteral("f.htm"));
    EXPECT_EQ(pw::fileNameOfPath(QStringLiteral("f.htm")), QString());
    EXPECT_EQ(pw::nameWithoutExtension(QStringLiteral("page.old.htm")), QStringLiteral("page"));
    EXPECT_EQ(pw::nameWithoutExtension(QStringLiteral(".htaccess")), QString());
    EXPECT_EQ(pw::nameWithoutExtension(QStringLiteral("Makefile")), QString());
}

TEST(withTrailingBackslash, TrimsAndAppendsTheSeparatorThePathUses)
{
    QString path = QStringLiteral("  c:\\web\\site  ");
    EXPECT_EQ(pw::withTrailingBackslash(path), QStringLiteral("c:\\web\\site\\"));
    EXPECT_EQ(path, QStringLiteral("c:\\web\\site\\")); // changed in place

    path = QStringLiteral("c:\\");
    EXPECT_EQ(pw::withTrailingBackslash(path), QStringLiteral("c:\\"));

    path = QStringLiteral(" /home/a ");
    EXPECT_EQ(pw::withTrailingBackslash(path), QStringLiteral("/home/a/"));
    path = QStringLiteral("/");
    EXPECT_EQ(pw::withTrailingBackslash(path), QStringLiteral("/"));

    path = QStringLiteral("c:");
    EXPECT_EQ(pw::withTrailingBackslash(path), QStringLiteral("c:") + QDir::separator());
}

TEST(FileSystemPaths, BlankEdgedAndBackslashNamesAreKeptWhole)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString root = dir.path();
    // Neighbours that differ only by a trailing blank, and a name holding a backslash.
    for (const char *name : {"s", "s ", "we\\b"})
        ASSERT_TRUE(QDir(root).mkdir(QString::fromUtf8(name)));

    EXPECT_EQ(pw::joinPath(root + "/s ", "a.html"), root + "/s /a.html");
    EXPECT_EQ(pw::joinPath(root + "/we\\b", "a.html"), root + "/we\\b/a.html");
    EXPECT_EQ(pw::joinPath("/", " a.html "), "/ a.html ");
    EXPECT_EQ(pw::joinPath("", "a.html"), "a.html");

    // An existing directory as written: no trimming, "/" appended.
    QString path = root + "/s ";
    EXPECT_EQ(pw::withTrailingBackslash(path), root + "/s /");
    path = root + "/we\\b";
    EXPECT_EQ(pw::withTrailingBackslash(path), root + "/we\\b/");
    path = root + "/s /";
    EXPECT_EQ(pw::withTrailingBackslash(path), root + "/s /");

    // In a Linux path a backslash is part of the name.
    const QString inside = root + "/we\\b/page\\one.htm";
    EXPECT_EQ(pw::directoryOfPath(inside), root + "/we\\b/");
    EXPECT_EQ(pw::fileNameOfPath(inside), "page\\one.htm");
    EXPECT_EQ(pathPart(inside, 2), root + "/we\\b/");
    EXPECT_EQ(pathPart(inside, 4), "page\\one");
}

TEST(FileSystemPaths, TypedTextIsTrimmedOnlyWhenNothingExistsAsTyped)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString plain = dir.filePath("a.html");
    const QString blank = dir.filePath("a.html ");
    for (const QString &name : {plain, blank}) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(pw::typedPath(blank), blank);        // the file with the blank
    EXPECT_EQ(pw::typedPath(plain + "  "), plain); // nothing there as typed
    EXPECT_EQ(pw::typedPath(" " + plain), plain);
    EXPECT_EQ(pw::typedPath(""), "");
    // A link whose target is gone still names an entry.
    const QString dangling = dir.filePath("link ");
    ASSERT_TRUE(QFile::link(dir.filePath("missing"), dangling));
    EXPECT_EQ(pw::typedPath(dangling), dangling);
}

TEST(fileIsPresent, FindsFilesOnly)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("page one.htm"));
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.close();

    EXPECT_TRUE(pw::fileIsPresent(file));
    EXPECT_FALSE(pw::fileIsPresent(dir.path()));
    EXPECT_FALSE(pw::fileIsPresent(dir.filePath(QStringLiteral("missing.htm"))));
    EXPECT_FALSE(pw::fileIsPresent(dir.filePath(QStringLiteral("no/such/dir/x.htm"))));
    EXPECT_FALSE(pw::fileIsPresent(QString()));
    EXPECT_FALSE(pw::fileIsPresent(QStringLiteral("q:\\not\\here.htm")));
}

// A name shown with U+FFFD is unreadable only when nothing answers to it as spelt: a name that
// really holds U+FFFD (valid UTF-8) opens like any other, and so does a link of that name
// that leads nowhere. Names without it are never taken out. The rest keep their order.
TEST(UnreadableNames, AreTheShownNamesNothingAnswersTo)
{
    QTemporaryDir dir;
    pw::test::BytesNamedEntries named(dir.path());
    named.file("bytes\xff.html", "b");
    named.folder("folder\xfe");
    const QString literal = QString::fromUtf8("literal\xef\xbf\xbd.html");
    pw::test::writeFile(dir.filePath(literal), "l");
    const QString link = QString::fromUtf8("link\xef\xbf\xbd");
    ASSERT_EQ(::symlink("nowhere", QFile::encodeName(dir.filePath(link)).constData()), 0);
    const QString bytes = QString::fromUtf8("bytes\xff.html");
    const QString folder = QString::fromUtf8("folder\xfe");

    EXPECT_EQ(pw::unreadableEntries(dir.path(), pw::EntryKind::Files), QStringList({bytes}));
    EXPECT_EQ(pw::unreadableEntries(dir.path(), pw::EntryKind::Directories), QStringList({folder}));
    EXPECT_FALSE(pw::nameIsReadable(dir.path(), bytes));
    EXPECT_FALSE(pw::nameIsReadable(dir.path(), folder));
    EXPECT_TRUE(pw::nameIsReadable(dir.path(), literal));
    EXPECT_TRUE(pw::nameIsReadable(dir.path(), link));
    EXPECT_TRUE(pw::nameIsReadable(dir.path(), "missing.html"));

    QStringList names = {"a.html", bytes, literal, folder, "missing.html", link};
    EXPECT_EQ(pw::takeUnreadableNames(dir.path(), names), QStringList({bytes, folder}));
    EXPECT_EQ(names, QStringList({"a.html", literal, "missing.html", link}));
}

} // namespace
