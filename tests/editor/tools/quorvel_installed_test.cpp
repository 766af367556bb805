// An installed editor finds the converter library in its own prefix's library folder.
#include "tools/quorvel_loader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace pw;

TEST(QuorvelInstalled, TheLibraryIsLookedForByItsSonameInThePrefixsLibraryFolder)
{
    EXPECT_EQ(QuorvelLibrary::installedFileName("/opt/pw/bin"),
              QDir::cleanPath("/opt/pw/bin/" PAGEWICK_LIBDIR_FROM_BINDIR) + "/libquorvel.so."
                  + QUORVEL_SOVERSION_TEXT);
}

TEST(QuorvelInstalled, AnInstalledLayoutLoads)
{
    // The build's library, laid out as an installation would lay it out: the soname only.
    QTemporaryDir prefix;
    const QString bin = prefix.filePath("bin");
    const QString installed = QuorvelLibrary::installedFileName(bin);
    ASSERT_TRUE(installed.startsWith(prefix.path() + "/"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(installed).absolutePath()) && QDir().mkpath(bin));
    ASSERT_TRUE(QFile::copy(
        QStringLiteral(PAGEWICK_BIN_DIR "/libquorvel.so." QUORVEL_SOVERSION_TEXT), installed));

    QuorvelLibrary library{{QuorvelLibrary::fileNameIn(bin), installed}};
    EXPECT_TRUE(library.load()) << library.errorString().toStdString();
}
