// Start-up over a settings file that is not a regular file.
#include "support/main_window_harness.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
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

    w.AddToRecentlyUsed("/srv/www/a.html");
    QCloseEvent event;
    QCoreApplication::sendEvent(&w, &event);
    EXPECT_TRUE(event.isAccepted());
    struct stat info {};
    ASSERT_EQ(::lstat(name.constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(h.platform.messages.size(), 1);
}
