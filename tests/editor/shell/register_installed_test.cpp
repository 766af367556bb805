#include "shell/register_html.h"
#include "support/fake_platform.h"
#include "support/test_files.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using namespace pw;
using namespace pw::test;

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// An installation under <dir>/usr: the program in bin/, its desktop entry in
// share/applications/.
struct Installation {
    QTemporaryDir dir;
    QString executable = dir.filePath("usr/bin/pagewick");
    QString applications = dir.filePath("usr/share/applications");
    Installation()
    {
        writeFile(executable, "program");
        writeFile(applications + "/pagewick.desktop", "[Desktop Entry]\nName=Pagewick\n");
    }
};

// XDG_DATA_DIRS for the time of one test, so the desktop "looks" where the test says.
class DataDirs {
public:
    explicit DataDirs(const QString &value) : old_(qgetenv("XDG_DATA_DIRS"))
    {
        qputenv("XDG_DATA_DIRS", value.toLocal8Bit());
    }
    ~DataDirs() { qputenv("XDG_DATA_DIRS", old_); }

private:
    QByteArray old_;
};

} // namespace

TEST(installedDesktopEntry, IsTheInstallationsEntryWhereTheDesktopLooks)
{
    Installation install;
    EXPECT_EQ(installedDesktopEntry(install.executable, {"/nowhere", install.applications}),
              QDir(install.applications).canonicalPath() + "/pagewick.desktop");
    // The same folder named another way (with a "..") is still the same folder.
    EXPECT_FALSE(installedDesktopEntry(install.executable,
                                       {install.dir.filePath("usr/bin/../share/applications")})
                     .isEmpty());
}

TEST(installedDesktopEntry, IsEmptyWhereTheDesktopDoesNotLookOrThereIsNone)
{
    Installation install;
    EXPECT_TRUE(installedDesktopEntry(install.executable, {"/usr/share/applications"}).isEmpty());
    EXPECT_TRUE(installedDesktopEntry(install.executable, {}).isEmpty());
    QFile::remove(install.applications + "/pagewick.desktop");
    EXPECT_TRUE(installedDesktopEntry(install.executable, {install.applications}).isEmpty());
}

TEST(installedDesktopEntry, IsEmptyForABuildFolder)
{
    // A build folder holds the program files beside the program, whatever lies around it.
    Installation install;
    writeFile(install.dir.filePath("usr/bin/Template.html"), "<html>");
    EXPECT_TRUE(installedDesktopEntry(install.executable, {install.applications}).isEmpty());
}

TEST(registerHTMLFiles, AnInstalledProgramOnlySetsTheAssociation)
{
    Installation install;
    const DataDirs dataDirs(install.dir.filePath("usr/share"));
    QTemporaryDir user;
    const QString apps = user.filePath("applications");
    const QString mimeapps = user.filePath("config/mimeapps.list");
    // What an earlier registration from a build folder left behind.
    writeFile(apps + "/pagewick.desktop", desktopEntryText("/home/me/build/bin/pagewick").toUtf8());

    FakePlatform platform;
    registerHTMLFiles(platform, install.executable, apps, mimeapps);

    EXPECT_FALSE(QFile::exists(apps + "/pagewick.desktop"));
    EXPECT_EQ(readFile(mimeapps), "[Added Associations]\ntext/html=pagewick.desktop;\n");
    EXPECT_EQ(readFile(install.applications + "/pagewick.desktop"),
              "[Desktop Entry]\nName=Pagewick\n");
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0].title, "Register Pagewick...");
}

TEST(registerHTMLFiles, AnInstalledProgramLeavesTheUsersOwnEntry)
{
    Installation install;
    const DataDirs dataDirs(install.dir.filePath("usr/share"));
    QTemporaryDir user;
    const QString apps = user.filePath("applications");
    writeFile(apps + "/pagewick.desktop", "[Desktop Entry]\nName=My Pagewick\nExec=pw %f\n");

    FakePlatform platform;
    registerHTMLFiles(platform, install.executable, apps, user.filePath("mimeapps.list"));

    EXPECT_EQ(readFile(apps + "/pagewick.desktop"),
              "[Desktop Entry]\nName=My Pagewick\nExec=pw %f\n");
}

TEST(registerHTMLFiles, AnInstallationTheDesktopDoesNotSeeGetsTheUsersEntry)
{
    // Installed under a prefix the desktop does not search: the user's entry is what makes
    // the association work.
    Installation install;
    const DataDirs dataDirs("/usr/share");
    QTemporaryDir user;
    const QString apps = user.filePath("applications");

    FakePlatform platform;
    registerHTMLFiles(platform, install.executable, apps, user.filePath("mimeapps.list"));

    EXPECT_EQ(QString::fromUtf8(readFile(apps + "/pagewick.desktop")),
              desktopEntryText(install.executable));
}

// The entry written for a program in a folder of awkward characters passes the desktop's own
// validator, and the desktop starts that very program from it with the file as one argument.
TEST(desktopEntryText, AProgramFolderOfAnyNameGivesAValidEntryThatStartsIt)
{
    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    const QString gio = QStandardPaths::findExecutable("gio");
    ASSERT_FALSE(validator.isEmpty() || gio.isEmpty()) << "run scripts/install-deps";
    QTemporaryDir dir;
    const QString log = dir.filePath("arguments.log");
    const QStringList folders = {
        "plain",          "with blank",  "100% sure",           "say \"hi\"", "it's",
        "$HOME and `id`", "back\\slash", "semi;colon&amp|pipe", "tab\there",  "ünïcode ✓",
    };
    for (const QString &folder : folders) {
        SCOPED_TRACE(folder.toStdString());
        const QString program = dir.filePath(folder + "/pagewick");
        writeFile(program, ("#!/bin/sh\nprintf '[%s]\\n' \"$@\" > '" + log + "'\n").toUtf8());
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString entry = dir.filePath("pagewick.desktop");
        writeFile(entry, desktopEntryText(program).toUtf8());

        QProcess validate;
        validate.setProcessChannelMode(QProcess::MergedChannels);
        validate.start(validator, {entry});
        ASSERT_TRUE(validate.waitForFinished(30000));
        EXPECT_EQ(validate.exitCode(), 0) << validate.readAll().toStdString();
        EXPECT_TRUE(validate.readAll().isEmpty());

        // The desktop's launcher looks for the program by its Exec text before it expands
        // "%%", so a folder with "%" is only validated.
        if (folder.contains(u'%'))
            continue;
        QFile::remove(log);
        QProcess launch;
        launch.start(gio, {"launch", entry, "/tmp/-page.html"});
        ASSERT_TRUE(launch.waitForFinished(30000));
        EXPECT_EQ(launch.exitCode(), 0) << launch.readAllStandardError().toStdString();
        QDeadlineTimer deadline(10000);
        while (readFile(log).isEmpty() && !deadline.hasExpired())
            QThread::msleep(20);
        EXPECT_EQ(readFile(log), "[/tmp/-page.html]\n");
    }
}
