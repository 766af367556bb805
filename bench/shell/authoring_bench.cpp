// Typing into a 1 MB page with spelling while typing on: each keystroke is timed from the key
// to the end of the events it sets off (the box's edit, the offer of names, the watch over a
// tag's name, and whatever falls due meanwhile), median and longest. The reading of the lines
// on screen that runs once typing stops is timed alone: it is the longest a key can wait when
// it comes just as that reading starts.
#include "shell/live_spelling.h"
#include "source_view/source_edit.h"
#include "tools/speller.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QKeyEvent>
#include <QTextBlock>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// About 1 MB: paragraphs of text with a few unknown words, tags with attributes, and a
// script every 200 lines.
QString page()
{
    QString text;
    text.reserve(1'050'000);
    for (int line = 0; text.size() < 1'000'000; ++line) {
        if (line % 200 == 0)
            text += QStringLiteral("<SCRIPT>\nfunction f(a) { return a < 2; }\n</SCRIPT>\n");
        text += QStringLiteral("<P Class=\"row\">Some ordinary words with an occasional "
                               "mistaek and <B>bold</B> text, line %1.</P>\n")
                    .arg(line);
    }
    return text;
}

struct Setup {
    QTemporaryDir folder;
    std::unique_ptr<pw::Speller> speller;
    pw::SourceEdit edit;
    std::unique_ptr<pw::LiveSpelling> live;
    bool ready = false;

    Setup()
    {
        QString error;
        speller = pw::Speller::open(pw::kDictionaryFolder, QStringLiteral("en_US"),
                                    folder.filePath(QStringLiteral("Pagewick.dic")), &error);
        if (!speller)
            return;
        edit.resize(900, 700);
        edit.setPlainText(page());
        edit.show();
        live = std::make_unique<pw::LiveSpelling>(
            edit, [this] { return speller.get(); }, [](const QString &) {});
        live->setEnabled(true);
        // The caret in the middle of the page, on screen.
        QTextCursor middle(edit.document()->findBlockByNumber(edit.blockCount() / 2));
        edit.setTextCursor(middle);
        edit.ensureCursorVisible();
        QApplication::processEvents();
        live->checkShownLines();
        ready = true;
    }
};

// A key as the keyboard gives it: pressed and released.
void typeKey(QWidget &widget, QChar key)
{
    const int code = key.isLetter() ? int(key.toUpper().unicode()) : int(key.unicode());
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, QString(key));
    QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, QString(key));
    QApplication::sendEvent(&widget, &press);
    QApplication::sendEvent(&widget, &release);
}

void waitFor(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

double median(std::vector<double> values)
{
    std::ranges::sort(values);
    return values.empty() ? 0 : values[values.size() / 2];
}

void runKeystrokes(benchmark::State &state, bool spelling)
{
    Setup setup;
    if (!setup.ready) {
        state.SkipWithError("no en_US dictionary");
        return;
    }
    setup.live->setEnabled(spelling);
    // Text, a tag with an attribute (names are offered), its end tag added, and a mistake.
    const QString keys = QStringLiteral("Typing <B Class=\"x\">wrods</B> here. ");
    std::vector<double> pauses;
    qsizetype next = 0;
    for (auto _ : state) {
        const QChar key = keys[next++ % keys.size()];
        QElapsedTimer timer;
        timer.start();
        typeKey(setup.edit, key);
        QApplication::processEvents();
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        state.SetIterationTime(seconds);
        pauses.push_back(seconds * 1000);
        if (next % 60 == 0) {
            // Now and then the typist stops and the lines on screen are read (not timed).
            state.PauseTiming();
            waitFor(pw::LiveSpelling::kQuietMs + 50);
            state.ResumeTiming();
        }
    }
    state.counters["median_ms"] = median(pauses);
    state.counters["longest_ms"] = pauses.empty() ? 0 : *std::ranges::max_element(pauses);
    state.counters["underlined"] = double(setup.edit.underlines().size());
}
void BM_KeystrokeWithSpellingOn(benchmark::State &state)
{
    runKeystrokes(state, true);
}
BENCHMARK(BM_KeystrokeWithSpellingOn)
    ->UseManualTime()
    ->Iterations(600)
    ->Unit(benchmark::kMillisecond);

// The same keys with spelling off, for comparison.
void BM_KeystrokeWithSpellingOff(benchmark::State &state)
{
    runKeystrokes(state, false);
}
BENCHMARK(BM_KeystrokeWithSpellingOff)
    ->UseManualTime()
    ->Iterations(600)
    ->Unit(benchmark::kMillisecond);

void BM_ReadingTheLinesOnScreen(benchmark::State &state)
{
    Setup setup;
    if (!setup.ready) {
        state.SkipWithError("no en_US dictionary");
        return;
    }
    std::vector<double> times;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        setup.live->checkShownLines();
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        state.SetIterationTime(seconds);
        times.push_back(seconds * 1000);
    }
    state.counters["median_ms"] = median(times);
    state.counters["longest_ms"] = times.empty() ? 0 : *std::ranges::max_element(times);
    state.counters["underlined"] = double(setup.edit.underlines().size());
}
BENCHMARK(BM_ReadingTheLinesOnScreen)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
