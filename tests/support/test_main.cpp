#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Each test gets a state folder of its own, as it has when ctest runs it alone: what one
// test leaves there (the way back from a directory replace, a recovery copy) is not the
// next one's.
class FreshStateFolder : public ::testing::EmptyTestEventListener {
public:
    explicit FreshStateFolder(QString root) : root_(std::move(root)) {}

    void OnTestStart(const ::testing::TestInfo &) override
    {
        const QString folder = root_ + QStringLiteral("/%1").arg(++count_);
        QDir().mkpath(folder);
        qputenv("XDG_STATE_HOME", QFile::encodeName(folder));
    }

private:
    QString root_;
    int count_ = 0;
};

} // namespace

// Every editor test runs inside one QApplication. The offscreen platform is chosen here
// because test discovery starts the binary without ctest's environment.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // What the program keeps in the user's state folder goes to a folder of the run's own,
    // never the user's.
    const QTemporaryDir state;
    qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshStateFolder(state.path()));
    return RUN_ALL_TESTS();
}
