// The RTF batch never writes a page over its own source, whatever links lead there.
#include "tools/quorvel_loader.h"
#include "tools/rtf_batch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace pw;

TEST(RtfBatchTargets, ATargetThatIsTheSourceUnderAnotherNameIsRefused)
{
    QTemporaryDir dir;
    const QByteArray rtf = "{\\rtf1{\\colortbl}text}\r\n";
    for (const char *name : {"soft.rtf", "hard.rtf"}) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(rtf);
    }
    ASSERT_TRUE(QFile::link("soft.rtf", dir.filePath("soft.html")));
    ASSERT_EQ(::link(QFile::encodeName(dir.filePath("hard.rtf")).constData(),
                     QFile::encodeName(dir.filePath("hard.html")).constData()),
              0);
    QuorvelLibrary library{{QuorvelLibrary::fileNameIn(QStringLiteral(PAGEWICK_BIN_DIR))}};
    for (const QString name : {"soft", "hard"}) {
        const RtfBatchResult result = convertRtfFiles(library, dir.path(), {name + ".rtf"}, {});
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.failedName, name + ".rtf");
        EXPECT_EQ(result.error, "Quorvel: \"" + dir.filePath(name + ".html")
                                    + "\" is the source file itself. Conversion aborted.");
        QFile source(dir.filePath(name + ".rtf"));
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        EXPECT_EQ(source.readAll(), rtf);
    }
    EXPECT_TRUE(QFileInfo(dir.filePath("soft.html")).isSymLink());
}
