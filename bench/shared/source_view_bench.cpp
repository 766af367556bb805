// Caret moves in the source view of a 20,000-line page: onto plain text, onto a tag whose
// partner is 20,000 lines on, and onto a tag that has no partner. Each figure is the move
// alone (the box marks the tag and its partner before the move returns); the caret goes
// back to a plain line in the middle between moves, outside the measured time.
#include "source_view/source_edit.h"

#include <QApplication>
#include <QTextBlock>
#include <benchmark/benchmark.h>

#include <chrono>

namespace {

constexpr int kLines = 20'000;

// Line 0 opens a DIV closed on the last line; line 1 opens a SPAN that nothing closes; every
// line between holds a DIV and a SPAN opened and closed, so each names the elements sought.
QString page()
{
    QString text;
    text += QStringLiteral("<DIV ID=\"outer\">\n");
    text += QStringLiteral("<SPAN CLASS=\"lost\">\n");
    for (int i = 0; i < kLines; ++i)
        text += QStringLiteral("<DIV CLASS=\"row\"><SPAN>Some text &amp; more</SPAN></DIV>\n");
    text += QStringLiteral("</DIV>");
    return text;
}

struct View {
    pw::SourceEdit edit;
    View()
    {
        edit.resize(800, 600);
        edit.setPlainText(page());
        edit.show();
        QApplication::processEvents();
    }
    void moveTo(int line, int column)
    {
        QTextCursor cursor(edit.document()->findBlockByNumber(line));
        cursor.setPosition(cursor.position() + column);
        edit.setTextCursor(cursor);
    }
};

void runMoves(benchmark::State &state, int line, int column, pw::TagMatch::Kind expected)
{
    View view;
    for (auto _ : state) {
        view.moveTo(kLines / 2, 30); // plain text, far from the target
        const auto start = std::chrono::steady_clock::now();
        view.moveTo(line, column);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    if (view.edit.tagMatch().kind != expected)
        state.SkipWithError("the caret is not where the benchmark meant it");
}

// Onto plain text near the top and near the end: the same jump as onto the tags below, view
// scrolling included.
void BM_CaretOntoPlainText(benchmark::State &state)
{
    runMoves(state, 3, 35, pw::TagMatch::NoTag);
}
BENCHMARK(BM_CaretOntoPlainText)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_CaretOntoPlainTextAtTheEnd(benchmark::State &state)
{
    runMoves(state, kLines, 35, pw::TagMatch::NoTag);
}
BENCHMARK(BM_CaretOntoPlainTextAtTheEnd)->UseManualTime()->Unit(benchmark::kMicrosecond);

// For reference: a tag whose partner is on its own line, so both marks are on screen.
void BM_CaretOntoTagWithPartnerOnItsLine(benchmark::State &state)
{
    runMoves(state, 3, 19, pw::TagMatch::Paired);
}
BENCHMARK(BM_CaretOntoTagWithPartnerOnItsLine)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_CaretOntoTagWithFarPartner(benchmark::State &state)
{
    runMoves(state, 0, 2, pw::TagMatch::Paired);
}
BENCHMARK(BM_CaretOntoTagWithFarPartner)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_CaretOntoTagWithoutPartner(benchmark::State &state)
{
    runMoves(state, 1, 2, pw::TagMatch::Unmatched);
}
BENCHMARK(BM_CaretOntoTagWithoutPartner)->UseManualTime()->Unit(benchmark::kMicrosecond);

// From the closing tag at the end back to its opening tag on line 0.
void BM_CaretOntoClosingTagWithFarPartner(benchmark::State &state)
{
    runMoves(state, kLines + 2, 3, pw::TagMatch::Paired);
}
BENCHMARK(BM_CaretOntoClosingTagWithFarPartner)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace
