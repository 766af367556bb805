#pragma once
// Colours the document box's source: the reader of html_scanner.h gives every line its runs
// and its state, kept as the block's user state, so an edit re-reads the lines from the
// edited one only while their states change.
//
// The states are kept for every line, but only the lines on screen are coloured: a page of a
// megabyte opens as fast as the box lays it out, and an edit that opens a comment over the
// rest of the page re-reads the lines below without building their colours. Lines that come
// on screen later are coloured by the box before it paints them (showBlocks).
//
// It reads the document's change notices itself rather than through QSyntaxHighlighter, which
// hands every line it reads a text layout of its own: on a page of a million short lines
// those layouts alone took hundreds of megabytes. Here only the lines on screen get one.
//
// The same pass keeps the tag index the tag matching reads: each line's user data holds what
// the tags of each element on it do (tag_matching.h's TagCount), and runs of lines have their
// sums, so a search for a partner passes thousands of lines without reading their text.
//
// Colours are foreground colours only, chosen from the palette to stand out from its base:
// the display font, every position and the text stay as they are, and neither the undo
// history nor the document's modified state hears of it.
#include "source_view/html_scanner.h"
#include "source_view/tag_matching.h"

#include <QColor>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTextCharFormat>

#include <array>
#include <vector>

class QPalette;
class QTextBlock;
class QTextDocument;

namespace pw {

class SourceHighlighter : public QObject {
    Q_OBJECT
public:
    explicit SourceHighlighter(QTextDocument *document);

    QTextDocument *document() const { return document_; }
    // Reads every line of the document (nullptr: none) and follows its edits from then on.
    void setDocument(QTextDocument *document);

    // Off, the line states are still kept (the tag matching reads them) and no line is
    // coloured; the lines coloured before lose their colours at once.
    void setColouring(bool on);
    bool colouring() const { return colouring_; }
    // The colours for a palette; the lines are coloured anew when they are next shown.
    void setPalette(const QPalette &palette);
    QColor colour(SourceToken token) const;

    // The lines from `first` through `last` are on screen: those whose colours are not
    // current are coloured now, directly in their layouts.
    void showBlocks(const QTextBlock &first, const QTextBlock &last);
    // True when the block has the colours of its current text.
    static bool isColoured(const QTextBlock &block);

    // SourceLines::nextCandidate from the tag index of the document's lines.
    int nextCandidate(int from, bool forward, const QString &foldedName, int &depth);
    // What the tags of an element (folded name) do on one line, from the index.
    TagCount lineTags(int line, const QString &foldedName) const;

private:
    // What each element's tags do, by name id (elementIds_), ordered by id.
    using ElementCounts = std::vector<std::pair<int, TagCount>>;
    // The sums of a run of kRunLines lines, rebuilt from the lines' data when needed.
    struct Run {
        bool current = false;
        ElementCounts counts;
    };
    static constexpr int kRunLines = 256;

    // Reads a line's state and tags from the state of the line before; a line on screen is
    // coloured as well. Returns whether the line's state changed.
    bool readBlock(QTextBlock block, int number);
    void colourBlock(QTextBlock block);
    void contentsChanged(int from, int removed, int added);
    void forgetRuns(int firstLine, int lastLine);
    const Run &run(int index);
    ElementCounts countsOf(const QString &text, const LineScan &scan);
    // Forgets the colours of every coloured block; `clear` also removes them.
    void forgetColours(bool clear);

    QPointer<QTextDocument> document_;
    bool colouring_ = true;
    int firstShown_ = 0; // the block numbers last on screen
    int lastShown_ = -1;
    std::array<QTextCharFormat, kSourceTokenCount> formats_;
    LineScan scan_;
    QHash<QString, int> elementIds_;
    std::vector<Run> runs_;
    int blockCount_ = 1;
};

// The colour of a token on a palette: its hue, as light or as dark as it needs to be to
// read well on the palette's base colour.
QColor sourceColour(SourceToken token, const QPalette &palette);
// The contrast ratio of two colours (1 to 21), as readability guidelines measure it.
double contrastRatio(const QColor &a, const QColor &b);

} // namespace pw
