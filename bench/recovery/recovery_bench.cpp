// The recovery copy of a 999,999-byte document: the time the user-interface thread spends
// taking the copy (what typing waits for), the whole write with its flush to disk, and the
// longest pause between keystrokes while copies are written during steady typing.
#include "document/document.h"
#include "document/recovery_keeper.h"
#include "shared/edit_box.h"
#include "shared/program_state.h"
#include "shared/qt_platform.h"
#include "shared/recovery_store.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

// 999,999 bytes of page text: lines of 48 characters and CR LF.
QString largestDocument()
{
    const QString line =
        QStringLiteral("<TR><TD>cell</TD><TD>another cell of text</TD></TR>").left(48);
    QString text;
    while (text.size() + line.size() + 2 <= 999'999)
        text += line + QStringLiteral("\r\n");
    text += QString(999'999 - text.size(), u'x');
    return text;
}

struct Setup {
    QTemporaryDir dir;
    QPlainTextEdit box;
    pw::EditBox edit{&box};
    pw::ProgramState state;
    pw::QtPlatform platform;
    pw::Document document{edit, platform, state};
    pw::RecoveryStore store{dir.filePath(QStringLiteral("recovery"))};
    pw::RecoveryKeeper keeper{document, store};

    Setup()
    {
        document.replace(largestDocument());    // unsaved: a copy is kept
        keeper.setDelays(1'000'000, 1'000'000); // only the benchmark asks for copies
    }
};

// What typing waits for: the text taken from the box and handed to the writing thread.
void BM_RecoveryCopyTakenOnTheInterfaceThread(benchmark::State &state)
{
    Setup s;
    for (auto _ : state) {
        s.keeper.update();
        state.PauseTiming();
        s.keeper.waitForWrites();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RecoveryCopyTakenOnTheInterfaceThread)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

// The whole copy, on the disk (flushed) before it counts.
void BM_RecoveryCopyWrittenToDisk(benchmark::State &state)
{
    Setup s;
    for (auto _ : state) {
        s.keeper.update();
        s.keeper.waitForWrites();
    }
}
BENCHMARK(BM_RecoveryCopyWrittenToDisk)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

// Steady typing at 50 keys a second for three seconds into the 999,999-byte document, with
// the copy written 50 ms after each pause and at least every 200 ms: the median and the
// longest pause between two keystrokes the box handled, against the 20 ms they were sent
// apart.
void BM_TypingWhileCopiesAreWritten(benchmark::State &state)
{
    Setup s;
    s.keeper.setDelays(50, 200);
    s.box.setFocus();
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        qint64 last = -1;
        std::vector<qint64> pauses;
        int keys = 0;
        const int writesBefore = s.keeper.writes();
        QTimer typist;
        typist.setTimerType(Qt::PreciseTimer);
        QObject::connect(&typist, &QTimer::timeout, [&] {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
            QApplication::sendEvent(&s.box, &press);
            const qint64 now = clock.nsecsElapsed();
            if (last >= 0)
                pauses.push_back(now - last);
            last = now;
            ++keys;
        });
        typist.start(20);
        while (clock.elapsed() < 3000)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        typist.stop();
        s.keeper.waitForWrites();
        std::sort(pauses.begin(), pauses.end());
        const auto ms = [](qint64 ns) { return static_cast<double>(ns) / 1e6; };
        state.counters["median_pause_ms"] = pauses.empty() ? 0 : ms(pauses[pauses.size() / 2]);
        state.counters["longest_pause_ms"] = pauses.empty() ? 0 : ms(pauses.back());
        state.counters["keys"] = keys;
        state.counters["copies"] = s.keeper.writes() - writesBefore;
    }
}
BENCHMARK(BM_TypingWhileCopiesAreWritten)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
