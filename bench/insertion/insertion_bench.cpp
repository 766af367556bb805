// Toolbar insertion and block comments on a document of about 1 MB (20,000 lines): one
// toolbar command run through the command table, and commenting / uncommenting 10,000
// selected lines. Each timing includes the box's own update (pending events run); each
// figure is the median of repeated runs, in milliseconds.
#include "insertion/block_comment.h"
#include "insertion/insertion_toolbar.h"
#include "insertion/toolbar_commands.h"
#include "insertion/vocabulary.h"
#include "shared/edit_box.h"
#include "shared/platform.h"
#include "shared/program_state.h"
#include "shared/settings_store.h"

#include <QApplication>
#include <QComboBox>
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
    bool startProgram(const QString &, const QStringList &) override { return false; }
    QString findProgram(const QString &) override { return {}; }
    QString openProgramName(const QString &, const QString &) override { return {}; }
    void setBusy(bool) override {}
    int runDialog(QDialog &) override { return QDialog::Rejected; }
    void processEvents() override {}
    void setParentWindow(QWidget *) override {}
};

class Document : public benchmark::Fixture {
public:
    void SetUp(const benchmark::State &) override
    {
        widget = std::make_unique<QPlainTextEdit>();
        widget->setLineWrapMode(QPlainTextEdit::NoWrap);
        box = std::make_unique<pw::EditBox>(widget.get());
        box->setText(sampleText());
        // Shown, so the box lays out and repaints what changes as it does for the author.
        widget->resize(800, 600);
        widget->show();
        QCoreApplication::processEvents();
        settings = std::make_unique<pw::SettingsStore>(dir.filePath(QStringLiteral("b.conf")));
        page = std::make_unique<QWidget>();
        pw::FeatureContext context{*box, state, *settings, platform, nullptr, QString(),
                                   {},   {},    {},        {},       {},      {}};
        toolbar = std::make_unique<pw::InsertionToolbar>(context, nullptr);
        // The page owns the lists, as the main window's pages do.
        for (const pw::VocabularyList &list : pw::vocabularyLists())
            toolbar->list(QString::fromUtf8(list.name))->setParent(page.get());
    }
    void TearDown(const benchmark::State &) override
    {
        toolbar.reset();
        page.reset();
        box.reset();
        widget.reset();
    }

    QTemporaryDir dir;
    pw::ProgramState state;
    QuietPlatform platform;
    std::unique_ptr<pw::SettingsStore> settings;
    std::unique_ptr<QPlainTextEdit> widget;
    std::unique_ptr<pw::EditBox> box;
    std::unique_ptr<QWidget> page;
    std::unique_ptr<pw::InsertionToolbar> toolbar;
};

// cmdBold over a word in the middle of the document, then undone (outside the timing).
BENCHMARK_DEFINE_F(Document, ToolbarInsertion)(benchmark::State &st)
{
    const pw::ToolbarCommand &bold = *pw::findToolbarCommand(QStringLiteral("cmdBold"));
    const int middle = box->lineStart(10'000) + 16;
    for (auto _ : st) {
        box->setSelection(middle, 4);
        toolbar->run(bold);
        QCoreApplication::processEvents();
        st.PauseTiming();
        widget->undo();
        QCoreApplication::processEvents();
        st.ResumeTiming();
    }
}
BENCHMARK_REGISTER_F(Document, ToolbarInsertion)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// A script block inserted at the caret in the middle of the document.
BENCHMARK_DEFINE_F(Document, ToolbarSnippet)(benchmark::State &st)
{
    const pw::ToolbarCommand &script = *pw::findToolbarCommand(QStringLiteral("cmdJavaScript"));
    const int middle = box->lineStart(10'000);
    for (auto _ : st) {
        box->setCaret(middle);
        toolbar->run(script);
        QCoreApplication::processEvents();
        st.PauseTiming();
        widget->undo();
        QCoreApplication::processEvents();
        st.ResumeTiming();
    }
}
BENCHMARK_REGISTER_F(Document, ToolbarSnippet)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// 10,000 lines selected from line 5,000: commented, then (untimed) undone.
BENCHMARK_DEFINE_F(Document, CommentBlock10000Lines)(benchmark::State &st)
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
BENCHMARK_REGISTER_F(Document, CommentBlock10000Lines)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// The same 10,000 lines, commented beforehand, uncommented.
BENCHMARK_DEFINE_F(Document, UnCommentBlock10000Lines)(benchmark::State &st)
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
BENCHMARK_REGISTER_F(Document, UnCommentBlock10000Lines)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace
