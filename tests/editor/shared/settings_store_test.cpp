// The settings file as the store reads and writes it: lines it cannot read, lines it does not
// know, and files that are not regular files.
#include "shared/settings_store.h"
#include "support/fake_platform.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace pw;
using namespace pw::test;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(SettingsFile, ABadLineLosesOnlyItself)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("Pagewick.conf");
    writeAll(file, "[Settings]\r\n"
                   "RU0=/www/first.html\r\n"
                   "RU1=\"/www/stray quote.html\r\n"
                   "RU2=/www/third.html\r\n"
                   "no equals sign here\r\n"
                   "RU3=\"/www/a, b.html\"\r\n"
                   "RU4=  /www/blank edges.html  \r\n"
                   "RU5=trailing backslash\\\r\n"
                   "RU6=/www/sixth.html\r\n");
    {
        SettingsStore store(file);
        EXPECT_TRUE(store.problem().isEmpty());
        EXPECT_EQ(store.read("Settings", "RU0", "-"), "/www/first.html");
        EXPECT_EQ(store.read("Settings", "RU1", "-"), "-");
        EXPECT_EQ(store.read("Settings", "RU2", "-"), "/www/third.html");
        EXPECT_EQ(store.read("Settings", "RU3", "-"), "/www/a, b.html");
        EXPECT_EQ(store.read("Settings", "RU4", "-"), "/www/blank edges.html");
        EXPECT_EQ(store.read("Settings", "RU5", "-"), "-");
        EXPECT_EQ(store.read("Settings", "RU6", "-"), "/www/sixth.html");
        // Writing the values back as they were read changes nothing in the file.
        for (int i = 0; i <= 6; ++i) {
            const QString key = QStringLiteral("RU%1").arg(i);
            const QString value = store.read("Settings", key, "-");
            if (value != "-")
                store.write("Settings", key, value);
        }
        EXPECT_TRUE(store.sync());
    }
    EXPECT_EQ(readAll(file).count("RU1=\"/www/stray quote.html"), 1);
    {
        SettingsStore store(file);
        store.write("Settings", "RU1", "/www/mended.html");
        EXPECT_TRUE(store.sync());
    }
    // The bad line gives way to the new value in its place; everything else stays.
    EXPECT_EQ(readAll(file), "[Settings]\n"
                             "RU0=/www/first.html\n"
                             "RU1=/www/mended.html\n"
                             "RU2=/www/third.html\n"
                             "no equals sign here\n"
                             "RU3=\"/www/a, b.html\"\n"
                             "RU4=  /www/blank edges.html  \n"
                             "RU5=trailing backslash\\\n"
                             "RU6=/www/sixth.html\n");
}

TEST(SettingsFile, UnknownLinesKeepTheirPlaceAndNewKeysJoinTheirSection)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("Pagewick.conf");
    writeAll(file, "; written by hand\n"
                   "[Settings]\n"
                   "Dir=/old\n"
                   "# a comment\n"
                   "Other=kept \xff bytes\n"
                   "\n"
                   "[Someone Else]\n"
                   "x=1\n");
    {
        SettingsStore store(file);
        store.write("Settings", "Dir", "/new");
        store.write("Settings", "Drive", "/");
        store.write("Fonts", "Bold", "True");
        EXPECT_TRUE(store.sync());
    }
    EXPECT_EQ(readAll(file), "; written by hand\n"
                             "[Settings]\n"
                             "Dir=/new\n"
                             "# a comment\n"
                             "Other=kept \xff bytes\n"
                             "Drive=/\n"
                             "\n"
                             "[Someone Else]\n"
                             "x=1\n"
                             "\n"
                             "[Fonts]\n"
                             "Bold=True\n");

    // Another running copy's change made meanwhile is kept: only changed keys are written.
    SettingsStore first(file);
    {
        SettingsStore second(file);
        second.write("Settings", "Dir", "/from the second");
    }
    first.write("Fonts", "Bold", "False");
    EXPECT_TRUE(first.sync());
    EXPECT_EQ(first.read("Settings", "Dir", "-"), "/from the second");
    EXPECT_EQ(SettingsStore(file).read("Fonts", "Bold", "-"), "False");
}

TEST(SettingsFile, OnlyARegularFileIsReadOrWritten)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("fifo.conf");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0666), 0);
    ASSERT_TRUE(QFile::link("fifo.conf", dir.filePath("link.conf")));
    for (const QString &file : {fifo, dir.filePath("link.conf")}) {
        SettingsStore store(file); // would block on reading a pipe
        EXPECT_EQ(store.problem(),
                  QStringLiteral("The settings file %1 is not a regular file. Pagewick starts "
                                 "with its default settings and leaves the file as it is.")
                      .arg(file));
        EXPECT_EQ(store.read("Settings", "Dir", "default"), "default");
        store.write("Settings", "Dir", "/x");
        EXPECT_FALSE(store.sync());
        FakePlatform platform;
        reportSettingsProblem(store, platform);
        ASSERT_EQ(platform.messages.size(), 1);
        EXPECT_EQ(platform.messages[0], (MessageRecord{"Pagewick", store.problem(), MsgButtons::Ok,
                                                       MsgIcon::Exclamation}));
    }
    struct stat info {};
    ASSERT_EQ(::lstat(QFile::encodeName(fifo).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));

    // A link to a regular file (a shared dotfile) stays a link when the settings are written.
    const QString real = dir.filePath("real.conf");
    writeAll(real, "[Settings]\nDir=/a\n");
    ASSERT_TRUE(QFile::link("real.conf", dir.filePath("linked.conf")));
    {
        SettingsStore store(dir.filePath("linked.conf"));
        EXPECT_TRUE(store.problem().isEmpty());
        store.write("Settings", "Dir", "/b");
        EXPECT_TRUE(store.sync());
    }
    EXPECT_TRUE(QFileInfo(dir.filePath("linked.conf")).isSymLink());
    EXPECT_EQ(readAll(real), "[Settings]\nDir=/b\n");

    // Nothing written, nothing created.
    {
        SettingsStore untouched(dir.filePath("sub/new.conf"));
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("sub/new.conf")));
}

} // namespace
