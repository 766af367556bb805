// File pane figures on a directory of 10,000 files and 200 subdirectories: listing it, listing
// it through a pattern, refreshing with half the names selected, and reading the selection.
#include "shared/file_panes.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

const QString &bigDirectory()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const char *const ext[] = {"htm", "html", "gif", "jpg", "txt"};
        for (int i = 0; i < 10'000; ++i) {
            QFile f(dir.filePath(QStringLiteral("file%1.%2")
                                     .arg(i, 5, 10, QLatin1Char('0'))
                                     .arg(QLatin1String(ext[i % 5]))));
            f.open(QIODevice::WriteOnly);
        }
        for (int i = 0; i < 200; ++i)
            QDir(dir.path()).mkdir(QStringLiteral("dir%1").arg(i));
        return dir.path();
    }();
    return path;
}

void BM_FileListSetPath(benchmark::State &state)
{
    pw::FileList list;
    for (auto _ : state) {
        list.setPath(bigDirectory());
        benchmark::DoNotOptimize(list.count());
    }
}
BENCHMARK(BM_FileListSetPath)->Unit(benchmark::kMillisecond);

void BM_FileListPattern(benchmark::State &state)
{
    pw::FileList list;
    list.setPattern(QStringLiteral("*.gif;*.bmp;*.jpg"));
    for (auto _ : state) {
        list.setPath(bigDirectory());
        benchmark::DoNotOptimize(list.count());
    }
}
BENCHMARK(BM_FileListPattern)->Unit(benchmark::kMillisecond);

void BM_FileListRefreshKeepingSelection(benchmark::State &state)
{
    pw::FileList list;
    list.setMultiSelect(true);
    list.setPath(bigDirectory());
    for (int i = 0; i < list.count(); i += 2)
        list.item(i)->setSelected(true);
    for (auto _ : state) {
        list.refresh();
        benchmark::DoNotOptimize(list.count());
    }
}
BENCHMARK(BM_FileListRefreshKeepingSelection)->Unit(benchmark::kMillisecond);

void BM_FileListSelectAllAndRead(benchmark::State &state)
{
    pw::FileList list;
    list.setMultiSelect(true);
    list.setPath(bigDirectory());
    for (auto _ : state) {
        list.selectAll();
        benchmark::DoNotOptimize(list.selectedPaths().size());
        list.clearSelection();
    }
}
BENCHMARK(BM_FileListSelectAllAndRead)->Unit(benchmark::kMillisecond);

void BM_DirectoryListSetPath(benchmark::State &state)
{
    pw::DirectoryList dirs;
    for (auto _ : state) {
        dirs.setPath(QStringLiteral("/"));
        dirs.setPath(bigDirectory());
        benchmark::DoNotOptimize(dirs.count());
    }
}
BENCHMARK(BM_DirectoryListSetPath)->Unit(benchmark::kMillisecond);

} // namespace
