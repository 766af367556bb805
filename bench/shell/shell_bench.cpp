// Start-up to the shown main window, loading the template, and opening and saving the
// largest document that loads (999,999 bytes); the source view opening such a page to its
// first painted frame with and without colouring, and typing into it.
#include "document/document.h"
#include "shared/edit_box.h"
#include "shared/platform.h"
#include "shared/program_state.h"
#include "shared/settings_store.h"
#include "shell/main_window.h"
#include "source_view/source_edit.h"
#include "source_view/source_highlighter.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBlock>
#include <benchmark/benchmark.h>

namespace {

// Answers every question as a user who saves to the file the benchmark names.
class SilentPlatform : public pw::Platform {
public:
    QString fileAnswer;
    pw::MsgAnswer messageBox(const QString &, const QString &, pw::MsgButtons, pw::MsgIcon,
                             const QString &) override
    {
        return pw::MsgAnswer::No;
    }
    QString inputBox(const QString &, const QString &, const QString &) override { return {}; }
    QString openFileName(const QString &, const QString &, const QString &) override
    {
        return fileAnswer;
    }
    QString saveFileName(const QString &, const QString &, const QString &,
                         const QString &) override
    {
        return fileAnswer;
    }
    std::optional<QColor> chooseColor(const QColor &) override { return std::nullopt; }
    std::optional<QFont> chooseFont(const QFont &) override { return std::nullopt; }
    bool choosePrinter(QPrinter &) override { return false; }
    bool startProgram(const QString &, const QStringList &, QString *) override { return false; }
    QString findProgram(const QString &) override { return {}; }
    QString openProgramName(const QString &, const QString &) override { return {}; }
    void setBusy(bool) override {}
    int runDialog(QDialog &) override { return QDialog::Rejected; }
    void processEvents() override {}
    void setParentWindow(QWidget *) override {}
};

// Exactly 999,999 bytes of markup with CR LF breaks.
QByteArray largestDocument()
{
    const QByteArray line = "<P Class=\"note\">Some text &amp; more, and a little more.</P>\r\n";
    QByteArray bytes;
    while (bytes.size() + line.size() <= 999999 - 3)
        bytes += line;
    bytes += QByteArray(999999 - 2 - bytes.size(), 'x') + "\r\n";
    return bytes;
}

// Exactly 999,999 bytes of a page with every language the source view colours, CR LF breaks.
QByteArray largestMixedPage()
{
    const QByteArray part =
        "<!-- A section of the page -->\r\n"
        "<DIV CLASS=\"box\" ID=\"s1\"><H2>Title &amp; more</H2>\r\n"
        "<P>Text with <A HREF=\"<?php echo $link; ?>\">a link</A> and <B>bold</B>.</P>\r\n"
        "<STYLE TYPE=\"text/css\">\r\n"
        "  DIV.box { color: #333333; margin: 4px; } /* a note */\r\n"
        "</STYLE>\r\n"
        "<SCRIPT LANGUAGE=\"JavaScript\">\r\n"
        "  function show(n) { var s = \"<B>\" + n; return s; } // shown\r\n"
        "</SCRIPT>\r\n"
        "<?php\r\n"
        "  $rows = array(1, 2, 3); /* over\r\n"
        "  two lines */ foreach ($rows as $r) { echo \"<TD>$r</TD>\"; }\r\n"
        "?>\r\n"
        "<% Response.Write \"ASP\" %><CFIF x EQ 1><CFSET y = 2></CFIF>\r\n"
        "</DIV>\r\n";
    QByteArray bytes;
    while (bytes.size() + part.size() <= 999999 - 3)
        bytes += part;
    bytes += QByteArray(999999 - 2 - bytes.size(), 'x') + "\r\n";
    return bytes;
}

// Counts the paintings of a widget, to wait for the first frame after a change.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    int count = 0;
    // Runs events until the widget has painted again; false after five seconds without.
    bool waitForPaint()
    {
        const int before = count;
        QElapsedTimer timer;
        timer.start();
        while (count == before && timer.elapsed() < 5000)
            QApplication::processEvents();
        return count != before;
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

struct Fixture {
    QTemporaryDir dir;
    pw::ProgramState state;
    pw::SettingsStore settings{dir.filePath("Pagewick.conf")};
    SilentPlatform platform;

    // Writes the largest document that loads and returns its path.
    QString largeFile()
    {
        const QString path = dir.filePath("large.html");
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(largestDocument());
        return path;
    }
    QString largeMixedPage()
    {
        const QString path = dir.filePath("mixed.html");
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(largestMixedPage());
        return path;
    }
};

void BM_StartUpToShownWindow(benchmark::State &state)
{
    Fixture f;
    for (auto _ : state) {
        pw::MainWindow window(f.state, f.settings, f.platform, QStringLiteral(PAGEWICK_BIN_DIR));
        window.loadMainWindow(QString(), true);
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.document().statusName());
    }
    state.SetLabel("construct, load, show, first events");
}
BENCHMARK(BM_StartUpToShownWindow)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_LoadTemplate(benchmark::State &state)
{
    Fixture f;
    pw::MainWindow window(f.state, f.settings, f.platform, QStringLiteral(PAGEWICK_BIN_DIR));
    window.loadMainWindow(QString(), false);
    const QString path = QStringLiteral(PAGEWICK_BIN_DIR "/Template.html");
    for (auto _ : state)
        benchmark::DoNotOptimize(window.document().load(path));
}
BENCHMARK(BM_LoadTemplate)->Unit(benchmark::kMicrosecond);

void BM_Open999999Bytes(benchmark::State &state)
{
    Fixture f;
    const QString path = f.largeFile();
    pw::MainWindow window(f.state, f.settings, f.platform, QStringLiteral(PAGEWICK_BIN_DIR));
    window.loadMainWindow(QString(), false);
    f.platform.fileAnswer = path;
    for (auto _ : state) {
        window.openDocument();
        QApplication::processEvents();
    }
    if (window.editBox().length() != 999999)
        state.SkipWithError("the document did not load whole");
}
BENCHMARK(BM_Open999999Bytes)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The peak resident memory of the process since the last reset, in bytes (Linux).
double peakMemorySinceReset()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() * 1024;
    }
    return 0;
}

void resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// 999,999 bytes that are all line breaks (LF): a million empty lines. Each open starts from
// an empty document; the peak memory counter is the process's peak during the last open.
void BM_OpenMillionLineBreaks(benchmark::State &state)
{
    Fixture f;
    const QString path = f.dir.filePath("breaks.html");
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray(999999, '\n'));
    }
    pw::MainWindow window(f.state, f.settings, f.platform, QStringLiteral(PAGEWICK_BIN_DIR));
    window.loadMainWindow(QString(), true);
    QApplication::processEvents();
    f.platform.fileAnswer = path;
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        window.editBox().setText(QString());
        QApplication::processEvents();
        resetPeakMemory();
        state.ResumeTiming();
        window.openDocument();
        QApplication::processEvents();
        state.PauseTiming();
        peak = peakMemorySinceReset();
        state.ResumeTiming();
    }
    if (window.editBox().lineCount() != 1'000'000)
        state.SkipWithError("the document did not load whole");
    state.counters["peak_MB"] = peak / 1e6;
}
BENCHMARK(BM_OpenMillionLineBreaks)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(3);

void BM_Save999999Bytes(benchmark::State &state)
{
    Fixture f;
    const QString path = f.largeFile();
    pw::MainWindow window(f.state, f.settings, f.platform, QStringLiteral(PAGEWICK_BIN_DIR));
    window.loadMainWindow(path, false);
    for (auto _ : state) {
        if (!window.document().save()) {
            state.SkipWithError("the save failed");
            break;
        }
    }
    QFile saved(path);
    saved.open(QIODevice::ReadOnly);
    if (saved.size() != 999999)
        state.SkipWithError("the saved file changed size");
}
BENCHMARK(BM_Save999999Bytes)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Open to the first painted frame, with the source view's colouring on (1) or off (0); off,
// the line states are still kept for the tag matching. For comparison, 2 takes the
// highlighter off the box altogether, as a box without a source view would be.
void BM_OpenMixedPageToFirstPaint(benchmark::State &state)
{
    Fixture f;
    const QString path = f.largeMixedPage();
    pw::MainWindow window(f.state, f.settings, f.platform, QStringLiteral(PAGEWICK_BIN_DIR));
    window.loadMainWindow(QString(), true);
    window.setColouring(state.range(0) == 1);
    if (state.range(0) == 2)
        window.findChild<pw::SourceEdit *>("txtEdit")->highlighter()->setDocument(nullptr);
    PaintCounter painted(window.editBox().widget()->viewport());
    painted.waitForPaint();
    f.platform.fileAnswer = path;
    for (auto _ : state) {
        window.openDocument();
        if (!painted.waitForPaint()) {
            state.SkipWithError("the box did not paint");
            break;
        }
    }
    if (window.editBox().length() != 999999)
        state.SkipWithError("the document did not load whole");
}
BENCHMARK(BM_OpenMixedPageToFirstPaint)
    ->ArgName("colouring")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

// One typed character in the middle of the page, through the box's own key handling, to the
// painted frame; with colouring on, that includes colouring the line again.
void BM_TypeInTheMiddleOfMixedPage(benchmark::State &state)
{
    Fixture f;
    pw::MainWindow window(f.state, f.settings, f.platform, QStringLiteral(PAGEWICK_BIN_DIR));
    window.loadMainWindow(f.largeMixedPage(), true);
    window.setColouring(state.range(0) != 0);
    QPlainTextEdit *box = window.editBox().widget();
    PaintCounter painted(box->viewport());
    // Into the text of a paragraph half way down.
    const int middle = window.editBox().length() / 2;
    const int line = window.editBox().lineOfPosition(middle);
    window.editBox().setCaret(window.editBox().lineStart(line) + 8);
    box->ensureCursorVisible();
    painted.waitForPaint();
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QApplication::sendEvent(box, &press);
        QApplication::sendEvent(box, &release);
        if (!painted.waitForPaint()) {
            state.SkipWithError("the box did not paint");
            break;
        }
    }
}
BENCHMARK(BM_TypeInTheMiddleOfMixedPage)
    ->ArgName("colouring")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

// The worst edit for the colouring: on a page without comments, a comment opened in the
// middle turns every line after it into comment, and closing it turns them back. Each
// iteration does both.
void BM_OpenAndCloseACommentInTheMiddle(benchmark::State &state)
{
    Fixture f;
    pw::MainWindow window(f.state, f.settings, f.platform, QStringLiteral(PAGEWICK_BIN_DIR));
    window.loadMainWindow(f.largeFile(), true);
    QPlainTextEdit *box = window.editBox().widget();
    PaintCounter painted(box->viewport());
    // Before a paragraph half way down.
    const QString text = window.editBox().text();
    window.editBox().setCaret(int(text.indexOf(QStringLiteral("<P"), text.size() / 2)));
    box->ensureCursorVisible();
    painted.waitForPaint();
    const QTextBlock last = box->document()->lastBlock();
    const int lastState = last.userState();
    window.editBox().replaceSelection(QStringLiteral("<!--"));
    if (last.userState() == lastState)
        state.SkipWithError("the comment did not reach the end of the page");
    window.editBox().setSelection(window.editBox().caret() - 4, 4);
    window.editBox().replaceSelection(QString());
    for (auto _ : state) {
        window.editBox().replaceSelection(QStringLiteral("<!--"));
        painted.waitForPaint();
        window.editBox().setSelection(window.editBox().caret() - 4, 4);
        window.editBox().replaceSelection(QString());
        if (!painted.waitForPaint()) {
            state.SkipWithError("the box did not paint");
            break;
        }
    }
}
BENCHMARK(BM_OpenAndCloseACommentInTheMiddle)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
