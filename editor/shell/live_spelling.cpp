#include "shell/live_spelling.h"

#include "source_view/html_scanner.h"
#include "source_view/source_edit.h"
#include "tools/page_words.h"
#include "tools/speller.h"

#include <QAction>
#include <QMenu>
#include <QScrollBar>
#include <QTextBlock>

namespace pw {

namespace {

// How far above the first line on screen the reading may start, to begin where the page is
// between tags (inside a script or a tag the words would be misread).
constexpr int kContextLines = 200;
constexpr int kMostSuggestions = 8;

} // namespace

LiveSpelling::LiveSpelling(SourceEdit &edit, std::function<Speller *()> speller,
                           std::function<void(const QString &)> report, QObject *parent)
    : QObject(parent), edit_(edit), speller_(std::move(speller)), report_(std::move(report))
{
    timer_.setSingleShot(true);
    timer_.setInterval(kQuietMs);
    connect(&timer_, &QTimer::timeout, this, &LiveSpelling::checkShownLines);
    connect(edit_.document(), &QTextDocument::contentsChanged, this, &LiveSpelling::schedule);
    connect(edit_.verticalScrollBar(), &QScrollBar::valueChanged, this, &LiveSpelling::schedule);
    connect(&edit_, &QPlainTextEdit::textChanged, this, &LiveSpelling::schedule);
}

void LiveSpelling::setEnabled(bool on)
{
    enabled_ = on;
    if (on) {
        edit_.setMenuExtension(
            [this](QMenu *menu, const QTextCursor &at) { extendMenu(menu, at); });
        schedule();
    } else {
        timer_.stop();
        edit_.setMenuExtension({});
        edit_.setUnderlines({}, QColor());
    }
}

void LiveSpelling::schedule()
{
    if (enabled_)
        timer_.start();
}

void LiveSpelling::checkShownLines()
{
    timer_.stop();
    Speller *speller = enabled_ ? speller_() : nullptr;
    if (!speller) {
        edit_.setUnderlines({}, QColor());
        return;
    }
    const QTextBlock first = edit_.cursorForPosition(QPoint(0, 0)).block();
    const QTextBlock last = edit_.cursorForPosition(QPoint(0, edit_.viewport()->height())).block();
    // Start where the line before leaves the reader in the page's text.
    QTextBlock start = first;
    for (int back = 0; back < kContextLines && start.previous().isValid(); ++back) {
        if (areaOf(std::max(start.previous().userState(), kPageStartState)) == SourceArea::Text)
            break;
        start = start.previous();
    }
    QString text;
    for (QTextBlock block = start; block.isValid(); block = block.next()) {
        text += block.text();
        if (block == last)
            break;
        text += u'\n'; // one character, as the box counts a break
    }
    const int base = start.position();
    std::vector<std::pair<int, int>> unknown;
    for (const WordSpan &word : pageTextWords(text)) {
        if (base + word.start < first.position())
            continue;
        if (!speller->isCorrect(text.mid(word.start, word.length)))
            unknown.emplace_back(base + int(word.start), int(word.length));
    }
    edit_.setUnderlines(unknown, QColor(220, 30, 30));
}

void LiveSpelling::extendMenu(QMenu *menu, const QTextCursor &at)
{
    Speller *speller = speller_();
    if (!speller)
        return;
    const int position = at.position();
    for (const auto &[start, length] : edit_.underlines()) {
        if (position < start || position > start + length)
            continue;
        QTextCursor word(edit_.document());
        word.setPosition(start);
        word.setPosition(start + length, QTextCursor::KeepAnchor);
        const QString text = word.selectedText();
        QAction *before = menu->actions().value(0);
        auto add = [&](const QString &caption, auto run) {
            auto *item = new QAction(caption, menu);
            connect(item, &QAction::triggered, this, run);
            menu->insertAction(before, item);
            return item;
        };
        const QStringList suggestions = speller->suggestions(text).mid(0, kMostSuggestions);
        for (const QString &suggestion : suggestions) {
            add(QString(suggestion).replace(u'&', QStringLiteral("&&")), [this, word, suggestion] {
                QTextCursor replace = word; // one edit: one undo step
                replace.insertText(suggestion);
                checkShownLines();
            });
        }
        if (suggestions.isEmpty())
            add(QStringLiteral("(No Suggestions)"), [] {})->setEnabled(false);
        menu->insertSeparator(before);
        add(QStringLiteral("Ignore"), [this, text] {
            if (Speller *s = speller_())
                s->ignoreAll(text);
            checkShownLines();
        });
        add(QStringLiteral("Add"), [this, text] {
            if (Speller *s = speller_()) {
                if (QString error; !s->addToPersonal(text, &error) && report_)
                    report_(error);
            }
            checkShownLines();
        });
        menu->insertSeparator(before);
        return;
    }
}

} // namespace pw
