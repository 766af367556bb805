// The editor's writeFileSafely hands its write to the shared checked write (whose rules are
// tested in tests/safe_write): the bytes, the owner-only choice and the reason of a failure
// pass through it unchanged.
#include "shared/safe_write.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace pw;

namespace {

QByteArray read(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

TEST(SafeWriteWrapper, PassesBytesAndFailuresThrough)
{
    QTemporaryDir dir;
    // A name outside ASCII, and bytes with a NUL and a line break in them.
    const QString file = dir.filePath(QStringLiteral("gr\u00fc\u00dfe.html"));
    const QByteArray bytes("a\0b\r\n\xff", 6);
    QString error;
    ASSERT_TRUE(writeFileSafely(file, bytes, &error)) << error.toStdString();
    EXPECT_EQ(read(file), bytes);
    EXPECT_TRUE(error.isEmpty());

    EXPECT_FALSE(writeFileSafely(QString(), "x", &error));
    EXPECT_EQ(error, "No file name was given");
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.html"));
    EXPECT_FALSE(writeFileSafely(dir.filePath("folder.html"), "x", &error));
    EXPECT_EQ(error, "The name belongs to a folder, not a file");
    // Without a place for the reason the answer is the same.
    EXPECT_FALSE(writeFileSafely(dir.filePath("folder.html"), "x"));

    const QString secret = dir.filePath("secret.def");
    ASSERT_TRUE(writeFileSafely(secret, "old", &error, FileAccess::Usual));
    ASSERT_TRUE(QFile::setPermissions(secret, QFile::ReadOwner | QFile::WriteOwner
                                                  | QFile::ReadGroup | QFile::ReadOther));
    ASSERT_TRUE(writeFileSafely(secret, "secret", &error, FileAccess::OwnerOnly))
        << error.toStdString();
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(secret).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_EQ(read(secret), "secret");
}

} // namespace
