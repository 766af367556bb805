#include <QApplication>
#include <gtest/gtest.h>

// Every editor test runs inside one QApplication. The offscreen platform is chosen here
// because test discovery starts the binary without ctest's environment.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
