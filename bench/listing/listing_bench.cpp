// The directory listing dialog's Start over 1,000 subdirectories of 50 files each: files
// listed per second, and the longest time the window went without running its events (what
// the user feels as a freeze).
#include "generators/listing_dialogs.h"
#include "shared/edit_box.h"
#include "document/document.h"
#include "document/feature_context.h"
#include "shared/file_panes.h"
#include "shared/program_state.h"
#include "shared/qt_platform.h"
#include "shared/settings_store.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

// The program's platform, with message boxes answered at once and the gaps between event
// runs measured.
class TimingPlatform : public pw::QtPlatform {
public:
    pw::MsgAnswer messageBox(const QString &, const QString &text, pw::MsgButtons, pw::MsgIcon,
                             const QString &) override
    {
        lastMessage = text;
        return pw::MsgAnswer::Ok;
    }
    void processEvents() override
    {
        longestGapNs = std::max(longestGapNs, sinceEvents.nsecsElapsed());
        pw::QtPlatform::processEvents();
        sinceEvents.restart();
    }
    QString lastMessage;
    QElapsedTimer sinceEvents;
    qint64 longestGapNs = 0;
};

void BM_ListingDialogStart(benchmark::State &state)
{
    QTemporaryDir site;
    constexpr int kDirectories = 1000;
    constexpr int kFiles = 50;
    for (int d = 0; d < kDirectories; ++d) {
        const QString sub = site.filePath(QStringLiteral("folder%1").arg(d, 4, 10, QChar(u'0')));
        QDir().mkpath(sub);
        for (int f = 0; f < kFiles; ++f) {
            QFile file(QDir(sub).filePath(QStringLiteral("page %1.html").arg(f)));
            file.open(QIODevice::WriteOnly);
        }
    }
    QPlainTextEdit widget;
    pw::EditBox box(&widget);
    pw::ProgramState programState;
    programState.listingStyle = QStringLiteral("UList");
    QTemporaryDir settingsDir;
    pw::SettingsStore settings(settingsDir.filePath(QStringLiteral("bench.conf")));
    TimingPlatform platform;
    pw::Document document(box, platform, programState);
    pw::FeatureContext context{box,      document, programState, settings,
                               platform, nullptr,  QString(),    nullptr};
    pw::FileManDialog dialog(context);
    dialog.show();
    dialog.findChild<pw::DirectoryList *>(QStringLiteral("MyDirectory"))->setPath(site.path());
    dialog.findChild<QLineEdit *>(QStringLiteral("txtFileName"))
        ->setText(QDir::temp().filePath(QStringLiteral("pagewick-listing-bench.html")));
    auto *start = dialog.findChild<QPushButton *>(QStringLiteral("cmdStart"));
    for (auto _ : state) {
        platform.longestGapNs = 0;
        platform.sinceEvents.start();
        start->click();
    }
    QFile::remove(QDir::temp().filePath(QStringLiteral("pagewick-listing-bench.html")));
    if (platform.lastMessage != QLatin1String("The HTML File Has Been Created"))
        state.SkipWithError("the page was not written");
    state.counters["files_per_second"] = benchmark::Counter(
        double(state.iterations()) * kDirectories * kFiles, benchmark::Counter::kIsRate);
    state.counters["longest_gap_ms"] = double(platform.longestGapNs) / 1e6;
}
BENCHMARK(BM_ListingDialogStart)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
