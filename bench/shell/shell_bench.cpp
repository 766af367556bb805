// Start-up to the shown main window, loading the template, and opening and saving the
// largest document that loads (999,999 bytes).
#include "shared/platform.h"
#include "shared/program_state.h"
#include "shared/settings_store.h"
#include "shell/main_window.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// Answers every question as a user who saves to the file the benchmark names.
class SilentPlatform : public pw::Platform {
public:
    QString fileAnswer;
    pw::MsgAnswer messageBox(const QString &, const QString &, pw::MsgButtons, pw::MsgIcon,
                             const QString &) override
    {
        return pw::MsgAnswer::No;
    }
    QString inputBox(const QString &, const QString &, const QString &) override { return {}; }
    QString openFileName(const QString &, const QString &, const QString &) override
    {
        return fileAnswer;
    }
    QString saveFileName(const QString &, const QString &, const QString &,
                         const QString &) override
    {
        return fileAnswer;
    }
    std::optional<QColor> chooseColor(const QColor &) override { return std::nullopt; }
    std::optional<QFont> chooseFont(const QFont &) override { return std::nullopt; }
    bool choosePrinter(QPrinter &) override { return false; }
    bool startProgram(const QString &, const QStringList &) override { return false; }
    void setBusy(bool) override {}
    int runDialog(QDialog &) override { return QDialog::Rejected; }
    void processEvents() override {}
    void setParentWindow(QWidget *) override {}
};

// Exactly 999,999 bytes of markup with CR LF breaks.
QByteArray largestDocument()
{
    const QByteArray line = "<P Class=\"note\">Some text &amp; more, and a little more.</P>\r\n";
    QByteArray bytes;
    while (bytes.size() + line.size() <= 999999 - 3)
        bytes += line;
    bytes += QByteArray(999999 - 2 - bytes.size(), 'x') + "\r\n";
    return bytes;
}

struct Fixture {
    QTemporaryDir dir;
    pw::ProgramState state;
    pw::SettingsStore settings{dir.filePath("Pagewick.conf")};
    SilentPlatform platform;

    // Writes the largest document that loads and returns its path.
    QString largeFile()
    {
        const QString path = dir.filePath("large.html");
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(largestDocument());
        return path;
    }
};

void BM_StartUpToShownWindow(benchmark::State &state)
{
    Fixture f;
    for (auto _ : state) {
        pw::MainWindow window(f.state, f.settings, f.platform, QStringLiteral(PAGEWICK_BIN_DIR));
        window.loadMainWindow(QString(), true);
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.statusText());
    }
    state.SetLabel("construct, load, show, first events");
}
BENCHMARK(BM_StartUpToShownWindow)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_LoadTemplate(benchmark::State &state)
{
    Fixture f;
    pw::MainWindow window(f.state, f.settings, f.platform, QStringLiteral(PAGEWICK_BIN_DIR));
    window.loadMainWindow(QString(), false);
    const QString path = QStringLiteral(PAGEWICK_BIN_DIR "/Template.html");
    for (auto _ : state)
        benchmark::DoNotOptimize(window.loadText(path));
}
BENCHMARK(BM_LoadTemplate)->Unit(benchmark::kMicrosecond);

void BM_Open999999Bytes(benchmark::State &state)
{
    Fixture f;
    const QString path = f.largeFile();
    pw::MainWindow window(f.state, f.settings, f.platform, QStringLiteral(PAGEWICK_BIN_DIR));
    window.loadMainWindow(QString(), false);
    f.platform.fileAnswer = path;
    for (auto _ : state) {
        window.openDocument();
        QApplication::processEvents();
    }
    if (window.editBox().length() != 999999)
        state.SkipWithError("the document did not load whole");
}
BENCHMARK(BM_Open999999Bytes)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_Save999999Bytes(benchmark::State &state)
{
    Fixture f;
    const QString path = f.largeFile();
    pw::MainWindow window(f.state, f.settings, f.platform, QStringLiteral(PAGEWICK_BIN_DIR));
    window.loadMainWindow(path, false);
    for (auto _ : state) {
        if (!window.save()) {
            state.SkipWithError("the save failed");
            break;
        }
    }
    QFile saved(path);
    saved.open(QIODevice::ReadOnly);
    if (saved.size() != 999999)
        state.SkipWithError("the saved file changed size");
}
BENCHMARK(BM_Save999999Bytes)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
