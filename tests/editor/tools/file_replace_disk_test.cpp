// Directory replace on a full disk: the file keeps its old text and the failure is reported.
#include "support/small_disk.h"
#include "tools/file_replace.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace pw;
using namespace pw::test;

TEST(FileReplaceOnAFullDisk, ReportsTheFailureAndKeepsTheFile)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("disk");
    QDir().mkpath(folder);
    SmallDisk disk(folder, 256 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << disk.reason().toStdString();
    const QByteArray old = "<IMG SRC=\"a.gif\">\r\n<IMG SRC=\"b.gif\">\r\n";
    const QString file = folder + "/page.html";
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(old);
    }
    ASSERT_TRUE(disk.fill());
    const QStringList before =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    const FileReplaceResult result = replaceInFile(file, "IMG", "img");
    EXPECT_EQ(result.status, FileReplaceResult::NotWritten);
    EXPECT_EQ(result.error, "No space left on device");
    QFile in(file);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    EXPECT_EQ(in.readAll(), old);
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              before);
}
