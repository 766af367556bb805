// Edit box figures on a 1 MB page: loading it, converting positions both ways, and
// selecting and reading back a range, at the start, middle and end of the text.
#include "shared/edit_box.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <benchmark/benchmark.h>

#include <random>

namespace {

// About 1 MB of markup-like text: lines of 20 to 100 characters with CR LF breaks.
QString megabyteText()
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> lineLength(20, 100);
    const QString pattern = QStringLiteral("<P Class=\"note\">Some text &amp; more, ");
    QString text;
    text.reserve(1'050'000);
    while (text.size() < 1'000'000) {
        const int n = lineLength(rng);
        for (int i = 0; i < n; ++i)
            text += pattern.at((text.size() + i) % pattern.size());
        text += QStringLiteral("\r\n");
    }
    return text;
}

const QString &sampleText()
{
    static const QString text = megabyteText();
    return text;
}

void BM_SetText(benchmark::State &state)
{
    QPlainTextEdit widget;
    pw::EditBox box(&widget);
    for (auto _ : state) {
        box.setText(sampleText());
        benchmark::DoNotOptimize(box.length());
    }
    state.SetBytesProcessed(state.iterations() * sampleText().size() * 2);
}
BENCHMARK(BM_SetText)->Unit(benchmark::kMillisecond);

void BM_Text(benchmark::State &state)
{
    QPlainTextEdit widget;
    pw::EditBox box(&widget);
    box.setText(sampleText());
    for (auto _ : state)
        benchmark::DoNotOptimize(box.text());
}
BENCHMARK(BM_Text)->Unit(benchmark::kMillisecond);

class Loaded : public benchmark::Fixture {
public:
    void SetUp(const benchmark::State &) override
    {
        if (!widget) {
            widget = new QPlainTextEdit;
            box = new pw::EditBox(widget);
            box->setText(sampleText());
        }
    }
    static inline QPlainTextEdit *widget = nullptr;
    static inline pw::EditBox *box = nullptr;
};

// Positions spread over the whole text, so every conversion walks to a different block.
std::vector<int> samplePositions(int length)
{
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> at(0, length);
    std::vector<int> positions(4096);
    for (int &p : positions)
        p = at(rng);
    return positions;
}

BENCHMARK_F(Loaded, ToQt)(benchmark::State &state)
{
    const std::vector<int> positions = samplePositions(box->length());
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(box->toQt(positions[i++ % positions.size()]));
}

BENCHMARK_F(Loaded, FromQt)(benchmark::State &state)
{
    const std::vector<int> positions = samplePositions(widget->document()->characterCount() - 1);
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(box->fromQt(positions[i++ % positions.size()]));
}

BENCHMARK_F(Loaded, LineOfPosition)(benchmark::State &state)
{
    const std::vector<int> positions = samplePositions(box->length());
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(box->lineOfPosition(positions[i++ % positions.size()]));
}

BENCHMARK_F(Loaded, SelectAndRead)(benchmark::State &state)
{
    const std::vector<int> positions = samplePositions(box->length() - 200);
    std::size_t i = 0;
    for (auto _ : state) {
        box->setSelection(positions[i++ % positions.size()], 200);
        benchmark::DoNotOptimize(box->selStart());
        benchmark::DoNotOptimize(box->selLength());
        benchmark::DoNotOptimize(box->selectedText());
    }
}

BENCHMARK_F(Loaded, ReplaceSelectionAndUndo)(benchmark::State &state)
{
    const std::vector<int> positions = samplePositions(box->length() - 20);
    std::size_t i = 0;
    for (auto _ : state) {
        box->setSelection(positions[i++ % positions.size()], 10);
        box->replaceSelection(QStringLiteral("<B>x</B>\r\n"));
        widget->undo();
    }
}

} // namespace
