// Toolbar insertion and block comments on a document of about 1 MB (20,000 lines): one
// toolbar command run through the command table, and commenting / uncommenting 10,000
// selected lines. Each timing includes the box's own update (pending events run); each
// figure is the median of repeated runs, in milliseconds.
#include "insertion/block_comment.h"
#include "shared/edit_box.h"
#include "shared/platform.h"
#include "shared/program_state.h"
#include "shared/settings_store.h"
#include "shell/commands.h"
#include "shell/main_window.h"

#include <QApplication>
#include <QDialog>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

// About 1 MB of markup: 20,000 lines of 48 characters and CR LF.
QString megabyteText()
{
    QString text;
    text.reserve(1'000'100);
    for (int i = 0; i < 20'000; ++i)
        text += QStringLiteral("<P Class=\"note\">Line %1 of the page &amp; more</P>\r\n")
                    .arg(i, 5, 10, QLatin1Char('0'));
    return text;
}

const QString &sampleText()
{
    static const QString text = megabyteText();
    return text;
}

// A platform that answers nothing: the benchmarked commands ask no questions.
class QuietPlatform : public pw::Platform {
public:
    pw::MsgAnswer messageBox(const QString &, const QString &, pw::MsgButtons, pw::MsgIcon,
                             const QString &) override
    {
        return pw::MsgAnswer::Ok;
    }
    QString inputBox(const QString &, const QString &, const QString &) override { return {}; }
    QString openFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &,
                         const QString &) override
    {
        return {};
    }
    std::optional<QColor> chooseColor(const QColor &) override { return {}; }
    std::optional<QFont> chooseFont(const QFont &) override { return {}; }
    bool choosePrinter(QPrinter &) override { return false; }
    bool startProgram(const QString &, const QStringList &, QString *) override { return false; }
    QString findProgram(const QString &) override { return {}; }
    QString openProgramName(const QString &, const QString &) override { return {}; }
    void setBusy(bool) override {}
    int runDialog(QDialog &) override { return QDialog::Rejected; }
    void processEvents() override {}
    void setParentWindow(QWidget *) override {}
};

class Page : public benchmark::Fixture {
public:
    void SetUp(const benchmark::State &) override
    {
        settings = std::make_unique<pw::SettingsStore>(dir.filePath(QStringLiteral("b.conf")));
        // The commands run as the buttons run them: through the main window's command table.
        window = std::make_unique<pw::MainWindow>(state, *settings, platform,
                                                  QStringLiteral(PAGEWICK_BIN_DIR));
        window->loadMainWindow(QString(), false);
        box = &window->editBox();
        widget = box->widget();
        box->setText(sampleText());
        // Shown, so the box lays out and repaints what changes as it does for the author.
        window->resize(800, 600);
        window->show();
        QCoreApplication::processEvents();
    }
    void TearDown(const benchmark::State &) override
    {
        window.reset();
        settings.reset();
    }

    QTemporaryDir dir;
    pw::ProgramState state;
    QuietPlatform platform;
    std::unique_ptr<pw::SettingsStore> settings;
    std::unique_ptr<pw::MainWindow> window;
    pw::EditBox *box = nullptr;
    QPlainTextEdit *widget = nullptr;
};

// cmdBold over a word in the middle of the document, then undone (outside the timing).
BENCHMARK_DEFINE_F(Page, ToolbarInsertion)(benchmark::State &st)
{
    const int middle = box->lineStart(10'000) + 16;
    for (auto _ : st) {
        box->setSelection(middle, 4);
        window->commands().run(QStringLiteral("cmdBold"));
        QCoreApplication::processEvents();
        st.PauseTiming();
        widget->undo();
        QCoreApplication::processEvents();
        st.ResumeTiming();
    }
}
BENCHMARK_REGISTER_F(Page, ToolbarInsertion)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// A script block inserted at the caret in the middle of the document.
BENCHMARK_DEFINE_F(Page, ToolbarSnippet)(benchmark::State &st)
{
    const int middle = box->lineStart(10'000);
    for (auto _ : st) {
        box->setCaret(middle);
        window->commands().run(QStringLiteral("cmdJavaScript"));
        QCoreApplication::processEvents();
        st.PauseTiming();
        widget->undo();
        QCoreApplication::processEvents();
        st.ResumeTiming();
    }
}
BENCHMARK_REGISTER_F(Page, ToolbarSnippet)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// 10,000 lines selected from line 5,000: commented, then (untimed) undone.
BENCHMARK_DEFINE_F(Page, CommentBlock10000Lines)(benchmark::State &st)
{
    const int start = box->lineStart(5'000);
    const int end = box->lineStart(15'000) - 2; // the end of line 14,999
    for (auto _ : st) {
        box->setSelection(start, end - start);
        pw::commentBlock(*box, QStringLiteral("//"));
        QCoreApplication::processEvents();
        st.PauseTiming();
        widget->undo();
        QCoreApplication::processEvents();
        st.ResumeTiming();
    }
}
BENCHMARK_REGISTER_F(Page, CommentBlock10000Lines)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// The same 10,000 lines, commented beforehand, uncommented.
BENCHMARK_DEFINE_F(Page, UnCommentBlock10000Lines)(benchmark::State &st)
{
    const int start = box->lineStart(5'000);
    const int end = box->lineStart(15'000) - 2;
    box->setSelection(start, end - start);
    pw::commentBlock(*box, QStringLiteral("//"));
    const int commentedEnd = box->lineStart(15'000) - 2;
    for (auto _ : st) {
        box->setSelection(start, commentedEnd - start);
        pw::unCommentBlock(*box, QStringLiteral("//"));
        QCoreApplication::processEvents();
        st.PauseTiming();
        widget->undo();
        QCoreApplication::processEvents();
        st.ResumeTiming();
    }
}
BENCHMARK_REGISTER_F(Page, UnCommentBlock10000Lines)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace
