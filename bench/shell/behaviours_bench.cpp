// Goto Line to line 20,000 of a 1 MB page, and spell checking a 1 MB page that has no
// mistakes (a fresh dictionary each run, so every distinct word is looked up once).
#include "shared/edit_box.h"
#include "document/document.h"
#include "document/feature_context.h"
#include "shared/program_state.h"
#include "shared/qt_platform.h"
#include "shared/settings_store.h"
#include "shell/editor_behaviours.h"
#include "tools/spell_check.h"
#include "tools/speller.h"

#include <QDialog>
#include <QFile>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// Answers Goto Line with a fixed number, and counts correction dialogs (each ends the check).
class AnsweringPlatform : public pw::QtPlatform {
public:
    QString answer;
    int dialogs = 0;
    QString inputBox(const QString &, const QString &, const QString &) override { return answer; }
    int runDialog(QDialog &) override
    {
        ++dialogs;
        return QDialog::Rejected;
    }
};

// 5,000 distinct words of the dictionary itself, so the page has no mistakes.
QStringList dictionaryWords()
{
    QFile file(pw::kDictionaryFolder + QStringLiteral("/en_US.dic"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression plain(QStringLiteral("^[a-z]{3,}$"));
    QStringList all;
    while (!file.atEnd()) {
        const QString word = QString::fromUtf8(file.readLine()).section(u'/', 0, 0).trimmed();
        if (plain.match(word).hasMatch())
            all << word;
    }
    QStringList chosen;
    const qsizetype step = std::max<qsizetype>(1, all.size() / 5000);
    for (qsizetype i = 0; i < all.size() && chosen.size() < 5000; i += step)
        chosen << all[i];
    return chosen;
}

// About 1 MB of table rows, ~45 characters to a line (over 20,000 lines), with a script
// block every 100 rows.
QString page(const QStringList &words)
{
    QString text;
    text.reserve(1'050'000);
    qsizetype w = 0;
    int row = 0;
    while (text.size() < 1'000'000 - 200) {
        text += QStringLiteral("<TR><TD Class=\"c\">");
        for (int k = 0; k < 3; ++k) {
            text += words.isEmpty() ? QStringLiteral("word") : words[w++ % words.size()];
            text += k < 2 ? QStringLiteral(" ") : QStringLiteral("</TD></TR>\r\n");
        }
        if (++row % 100 == 0)
            text += QStringLiteral("<SCRIPT>var x = y;</SCRIPT>\r\n");
    }
    return text;
}

struct Fixture {
    QPlainTextEdit widget;
    pw::EditBox box{&widget};
    pw::ProgramState programState;
    QTemporaryDir settingsDir;
    pw::SettingsStore settings{settingsDir.filePath(QStringLiteral("bench.conf"))};
    AnsweringPlatform platform;
    pw::Document document{box, platform, programState};
    pw::FeatureContext context{.edit = box,
                               .document = document,
                               .state = programState,
                               .settings = settings,
                               .platform = platform,
                               .parent = nullptr,
                               .programFolder = {},
                               .panes = nullptr};

    Fixture()
    {
        widget.resize(800, 600);
        widget.show();
    }
};

void BM_GotoLine20000(benchmark::State &state)
{
    Fixture f;
    f.box.setText(page(QStringList()));
    f.platform.answer = QStringLiteral("20000");
    for (auto _ : state) {
        state.PauseTiming();
        f.box.setCaret(0);
        state.ResumeTiming();
        pw::goToLine(f.context);
    }
    if (f.box.lineOfPosition(f.box.caret()) != 19'999)
        state.SkipWithError("the caret is not on line 20,000");
    state.counters["bytes"] = double(f.box.length());
    state.counters["lines"] = double(f.box.lineCount());
}
BENCHMARK(BM_GotoLine20000)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_SpellCheckCorrectPage1MB(benchmark::State &state)
{
    Fixture f;
    const QStringList words = dictionaryWords();
    if (words.size() < 5000) {
        state.SkipWithError("the en_US dictionary is not there");
        return;
    }
    f.box.setText(page(words));
    for (auto _ : state) {
        state.PauseTiming();
        QString error;
        std::unique_ptr<pw::Speller> speller =
            pw::Speller::open(pw::kDictionaryFolder, QStringLiteral("C"), QString(), &error);
        state.ResumeTiming();
        pw::checkSpelling(f.context, *speller);
    }
    if (f.platform.dialogs != 0)
        state.SkipWithError("a word of the page was offered for correction");
    state.counters["bytes"] = double(f.box.length());
    state.counters["words"] = double(words.size());
}
BENCHMARK(BM_SpellCheckCorrectPage1MB)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
