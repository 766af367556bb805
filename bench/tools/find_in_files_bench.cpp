// Find in Files over 10,000 files in 100 folders (about 2 KB each, one in ten with a match):
// the time from Find to the last result, and the longest pause of the window's event loop
// while the search runs (a 1 ms timer measures the gaps between its runs).
#include "document/document.h"
#include "document/feature_context.h"
#include "shared/edit_box.h"
#include "shared/program_state.h"
#include "shared/qt_platform.h"
#include "shared/settings_store.h"
#include "tools/find_in_files_window.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

namespace {

void writeSite(const QString &root)
{
    QByteArray filler;
    for (int i = 0; filler.size() < 2000; ++i)
        filler += "<TR><TD>row " + QByteArray::number(i) + "</TD><TD>text</TD></TR>\r\n";
    for (int i = 0; i < 10'000; ++i) {
        const QString folder = QStringLiteral("%1/d%2").arg(root).arg(i % 100);
        if (i < 100)
            QDir().mkpath(folder);
        QFile file(QStringLiteral("%1/page%2.html").arg(folder).arg(i));
        file.open(QIODevice::WriteOnly);
        file.write(filler);
        if (i % 10 == 0)
            file.write("<P>the needle 42 is here</P>\r\n");
    }
}

void BM_FindInFiles10000(benchmark::State &state)
{
    QTemporaryDir site;
    writeSite(site.path());
    QPlainTextEdit widget;
    pw::EditBox box(&widget);
    pw::ProgramState programState;
    QTemporaryDir settingsDir;
    pw::SettingsStore settings(settingsDir.filePath(QStringLiteral("bench.conf")));
    pw::QtPlatform platform;
    pw::Document document(box, platform, programState);
    const pw::FeatureContext context{box,      document, programState, settings,
                                     platform, nullptr,  QString(),    nullptr};
    qint64 longestPause = 0;
    qint64 toLastResult = 0;
    qsizetype hits = 0;
    for (auto _ : state) {
        pw::FindInFilesWindow window(context);
        window.show();
        window.findChild<QLineEdit *>(QStringLiteral("txtFolder"))->setText(site.path());
        window.findChild<QLineEdit *>(QStringLiteral("txtPatterns"))
            ->setText(QStringLiteral("*.html"));
        window.findChild<QLineEdit *>(QStringLiteral("txtFind"))
            ->setText(QStringLiteral("needle (\\d+)"));
        window.findChild<QCheckBox *>(QStringLiteral("chkRegularExpression"))->setChecked(true);
        // The window's first layout and paint are not the search's: done before the clock.
        QCoreApplication::processEvents();
        QEventLoop loop;
        QObject::connect(&window, &pw::FindInFilesWindow::finished, &loop, &QEventLoop::quit);
        QElapsedTimer clock;
        qint64 lastTick = 0;
        QTimer ticks;
        ticks.setInterval(1);
        QObject::connect(&ticks, &QTimer::timeout, &loop, [&] {
            const qint64 now = clock.elapsed();
            longestPause = std::max(longestPause, now - lastTick);
            lastTick = now;
        });
        clock.start();
        ticks.start();
        if (!window.start()) {
            state.SkipWithError("the search did not start");
            return;
        }
        loop.exec();
        toLastResult = clock.elapsed();
        longestPause = std::max(longestPause, toLastResult - lastTick);
        hits = window.hits().size();
        state.SetIterationTime(double(toLastResult) / 1000.0);
    }
    if (hits != 1'000)
        state.SkipWithError("not every match was found");
    state.counters["files"] = 10'000;
    state.counters["last_result_ms"] = double(toLastResult);
    state.counters["longest_pause_ms"] = double(longestPause);
}
BENCHMARK(BM_FindInFiles10000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

} // namespace
