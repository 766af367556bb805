// Files of the user's configuration that are not regular files: read by no one, left as they are.
#include "shell/register_html.h"
#include "support/main_window_harness.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace pw;
using namespace pw::test;

TEST(SettingsFileStartUp, APipeInsteadOfTheFileStartsOnDefaultsAndSaysSo)
{
    MainWindowHarness h;
    const QByteArray name = QFile::encodeName(h.settingsFile());
    ASSERT_EQ(::mkfifo(name.constData(), 0666), 0);
    MainWindow &w = h.restart(); // reading the pipe would never end
    ASSERT_EQ(h.platform.messages.size(), 1);
    EXPECT_EQ(h.platform.messages[0],
              (MessageRecord{"Pagewick",
                             "The settings file " + h.settingsFile()
                                 + " is not a regular file. Pagewick starts with its default "
                                   "settings and leaves the file as it is.",
                             MsgButtons::Ok, MsgIcon::Exclamation}));
    EXPECT_EQ(h.state.BlockComment, "//");

    w.recent().add("/srv/www/a.html");
    QCloseEvent event;
    QCoreApplication::sendEvent(&w, &event);
    EXPECT_TRUE(event.isAccepted());
    struct stat info {};
    ASSERT_EQ(::lstat(name.constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(h.platform.messages.size(), 1);
}

TEST(registerHTMLFiles, APipeAsTheAssociationListIsLeftAlone)
{
    QTemporaryDir dir;
    FakePlatform platform;
    const QByteArray list = QFile::encodeName(dir.filePath("mimeapps.list"));
    ASSERT_EQ(::mkfifo(list.constData(), 0666), 0);
    registerHTMLFiles(platform, "/opt/pagewick", dir.filePath("applications"),
                      dir.filePath("mimeapps.list")); // reading the pipe would never end
    EXPECT_TRUE(QFile::exists(dir.filePath("applications/pagewick.desktop")));
    struct stat info {};
    ASSERT_EQ(::lstat(list.constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(QDir(dir.path())
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
              QStringList({"applications", "mimeapps.list"}));
}
