#pragma once
// Spelling while typing: the words of the page's text (the words the full check reads, see
// tools/page_words.h) that the dictionary does not know get a wavy underline, on the lines
// on screen only. The lines are read once the box has been still for a moment, so a key
// never waits for the dictionary; the underlines move with the text meanwhile. Right-clicking
// an underlined word offers its suggestions, Ignore (for the rest of the session) and Add
// (to the personal words).
#include <QColor>
#include <QObject>
#include <QTimer>

#include <functional>

class QMenu;
class QTextCursor;

namespace pw {

class SourceEdit;
class Speller;

class LiveSpelling : public QObject {
    Q_OBJECT
public:
    // `speller` gives the session's dictionary, or nullptr when there is none; `report` shows
    // a failure to write the personal words.
    LiveSpelling(SourceEdit &edit, std::function<Speller *()> speller,
                 std::function<void(const QString &)> report, QObject *parent = nullptr);

    // Off, the underlines go at once.
    void setEnabled(bool on);
    bool isEnabled() const { return enabled_; }
    // How long the box must be still before its lines are read.
    static constexpr int kQuietMs = 300;
    // Reads the lines on screen now (what the quiet moment runs).
    void checkShownLines();
    bool checkPending() const { return timer_.isActive(); }

private:
    void schedule();
    void extendMenu(QMenu *menu, const QTextCursor &at);

    SourceEdit &edit_;
    std::function<Speller *()> speller_;
    std::function<void(const QString &)> report_;
    QTimer timer_;
    bool enabled_ = false;
};

} // namespace pw
