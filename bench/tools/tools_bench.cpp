// Replace All on a 1 MB page with 100,000 matches (through the document box, as the find
// window does it, and the text pass alone), the directory replace over 2,000 files of
// 20 KB each (files per second), and the RTF dialog's Select All over 10,000 files.
#include "shared/edit_box.h"
#include "shared/file_panes.h"
#include "document/document.h"
#include "document/feature_context.h"
#include "shared/program_state.h"
#include "shared/qt_platform.h"
#include "shared/settings_store.h"
#include "tools/file_replace.h"
#include "tools/find_window.h"
#include "tools/quorvel_loader.h"
#include "tools/rtf_dialog.h"
#include "tools/text_replace.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// About 1 MB of markup with 100,000 occurrences of "img" in mixed case, lines of ~100
// characters with CR LF breaks.
QString pageWithMatches()
{
    const QString pieces[] = {QStringLiteral("<Img>.."), QStringLiteral("<IMG>.."),
                              QStringLiteral("a img. ")};
    QString text;
    text.reserve(1'050'000);
    for (int i = 0; i < 100'000; ++i) {
        text += pieces[i % 3];
        text += QStringLiteral("xy ");
        if (i % 10 == 9)
            text += QStringLiteral("\r\n");
    }
    return text;
}

const QString &Page()
{
    static const QString text = pageWithMatches();
    return text;
}

// The same page with a single occurrence of a word, half way down.
const QString &PageWithOneHit()
{
    static const QString text = [] {
        QString page = Page();
        page.insert(page.indexOf(QStringLiteral("\r\n"), page.size() / 2),
                    QStringLiteral(" unique"));
        return page;
    }();
    return text;
}

// Replace All on a page, the caret at `caretPart` of its length: with 100,000 occurrences the
// page is rebuilt and swapped in whole; with one, only the occurrence is edited.
void BM_ReplaceAllInDocument(benchmark::State &state, const QString &(*page)(), int caretPart,
                             const char *what, const char *with, qint64 expected)
{
    QPlainTextEdit widget;
    widget.resize(800, 600);
    widget.show();
    pw::EditBox box(&widget);
    qint64 count = 0;
    for (auto _ : state) {
        state.PauseTiming();
        box.setText(page());
        box.setCaret(box.length() / caretPart);
        state.ResumeTiming();
        count = pw::replaceAllInDocument(box, QString::fromUtf8(what), QString::fromUtf8(with));
    }
    if (count != expected)
        state.SkipWithError("wrong number of replacements");
    state.counters["bytes"] = double(page().size());
    state.counters["matches"] = double(count);
}
BENCHMARK_CAPTURE(BM_ReplaceAllInDocument, 100000Hits, Page, 2, "img", "image", 100'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ReplaceAllInDocument, OneHit, PageWithOneHit, 3, "unique", "single", 1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Find Next pressed 100 times on the 1 MB page, each press selecting the next match.
void BM_FindNext100Times(benchmark::State &state)
{
    QPlainTextEdit widget;
    widget.resize(800, 600);
    widget.show();
    pw::EditBox box(&widget);
    box.setText(Page());
    pw::QtPlatform platform;
    pw::FindWindow window(box, platform);
    window.findChild<QLineEdit *>(QStringLiteral("txtFind"))->setText(QStringLiteral("img"));
    window.find();
    for (auto _ : state) {
        for (int i = 0; i < 100; ++i)
            window.findNext();
    }
    if (box.selectedText().compare(QStringLiteral("img"), Qt::CaseInsensitive) != 0)
        state.SkipWithError("Find Next did not select a match");
}
BENCHMARK(BM_FindNext100Times)->Unit(benchmark::kMillisecond);

void BM_ReplaceAllText(benchmark::State &state)
{
    for (auto _ : state) {
        const pw::ReplaceAllResult result =
            pw::replaceAll(Page(), QStringLiteral("img"), QStringLiteral("image"), 500'000);
        benchmark::DoNotOptimize(result.text.size());
    }
}
BENCHMARK(BM_ReplaceAllText)->Unit(benchmark::kMillisecond);

// 2,000 files of 20 KB, each with a handful of matches; every run replaces one word by
// another of the same length and the next run turns it back, so each run rewrites every
// file. Events run between files as in the dialog.
void BM_DirectoryReplace(benchmark::State &state)
{
    QTemporaryDir dir;
    QStringList paths;
    QByteArray body;
    while (body.size() < 20 * 1024 - 64)
        body += "<P Class=\"note\">Some text about the alpha version.</P>\r\n";
    for (int i = 0; i < 2000; ++i) {
        const QString path =
            dir.filePath(QStringLiteral("page%1.html").arg(i, 4, 10, QLatin1Char('0')));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(body);
        paths << path;
    }
    bool forward = true;
    qint64 changed = 0;
    for (auto _ : state) {
        const QString what = forward ? QStringLiteral("alpha") : QStringLiteral("omega");
        const QString with = forward ? QStringLiteral("omega") : QStringLiteral("alpha");
        for (const QString &path : std::as_const(paths)) {
            if (pw::replaceInFile(path, what, with).status == pw::FileReplaceResult::Changed)
                ++changed;
            QApplication::processEvents();
        }
        forward = !forward;
    }
    if (changed != state.iterations() * paths.size())
        state.SkipWithError("not every file was changed");
    state.counters["files_per_second"] =
        benchmark::Counter(double(state.iterations() * paths.size()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DirectoryReplace)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(4);

// Select All in the RTF dialog over 10,000 files whose names alternate between RTF and other
// files: the worst case for selection ranges (5,000 runs of one name each).
void BM_RtfDialogSelectAll(benchmark::State &state)
{
    QTemporaryDir dir;
    for (int i = 0; i < 10'000; ++i) {
        QFile file(dir.filePath(QStringLiteral("doc%1.%2")
                                    .arg(i, 5, 10, QLatin1Char('0'))
                                    .arg(i % 2 ? QStringLiteral("txt") : QStringLiteral("rtf"))));
        file.open(QIODevice::WriteOnly);
    }
    QPlainTextEdit widget;
    pw::EditBox box(&widget);
    pw::ProgramState programState;
    QTemporaryDir settingsDir;
    pw::SettingsStore settings(settingsDir.filePath(QStringLiteral("bench.conf")));
    pw::QtPlatform platform;
    const QString path = dir.path();
    pw::Document document(box, platform, programState);
    pw::FeatureContext context{box,      document, programState, settings,
                               platform, nullptr,  QString(),    nullptr};
    pw::QuorvelLibrary library({});
    pw::RtfDialog dialog(context, library);
    dialog.findChild<pw::DirectoryList *>(QStringLiteral("MyDirectory"))->setPath(path);
    auto *files = dialog.findChild<QListWidget *>(QStringLiteral("MyFileList"));
    auto *selectAll = dialog.findChild<QPushButton *>(QStringLiteral("cmdSelectAll"));
    if (!files || !selectAll || files->count() != 10'000) {
        state.SkipWithError("the dialog does not list the 10,000 files");
        return;
    }
    qsizetype selected = 0;
    for (auto _ : state) {
        selectAll->click();
        state.PauseTiming();
        selected = static_cast<pw::FileList *>(files)->selectedNames().size();
        files->clearSelection();
        state.ResumeTiming();
    }
    if (selected != 5'000)
        state.SkipWithError("not every RTF file was selected");
}
// Few iterations per repetition: the untimed check and clearing cost more than the click.
BENCHMARK(BM_RtfDialogSelectAll)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace
