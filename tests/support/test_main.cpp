#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Every editor test runs inside one QApplication. The offscreen platform is chosen here
// because test discovery starts the binary without ctest's environment.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // What the program keeps in the user's state folder (recovery copies, the way back from
    // a directory replace) goes to a folder of the run's own, never the user's.
    const QTemporaryDir state;
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
