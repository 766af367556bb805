#pragma once
// The partner of the tag under the caret: the closing tag of an opening one and the opening
// tag of a closing one, counting nesting of the same element. Tags are what the source
// reader (html_scanner.h) finds, so markup inside comments, scripts, styles and server
// blocks is not taken for tags.
#include "source_view/html_scanner.h"

#include <QString>
#include <QStringView>

#include <utility>
#include <vector>

namespace pw {

// What the tags of one element on a line (or a run of lines) do to the search for a partner:
// how many open and close it, and how far the run reaches below its starting depth read
// forward (closes in excess of the opens before them) and read backward (opens in excess of
// the closes after them). Self-closing tags are left out, as the matching passes them by.
struct TagCount {
    int opens = 0;
    int closes = 0;
    int forwardReach = 0;
    int backwardReach = 0;

    // Adds a tag at the end of the run.
    void add(bool closing);
    // Appends the run `next` to this one.
    void append(const TagCount &next);
    // Whether the run can bring a search `depth` deep to zero, and the depth after it.
    bool reachesZero(bool forward, int depth) const
    {
        return (forward ? forwardReach : backwardReach) >= depth;
    }
    int depthAfter(bool forward, int depth) const
    {
        return depth + (forward ? opens - closes : closes - opens);
    }
    bool operator==(const TagCount &) const = default;
};

// The element names a line's tags use, folded for comparison without regard to case, and what
// each does (see TagCount). `scan` is the line read with its tags.
std::vector<std::pair<QString, TagCount>> countTags(QStringView line, const LineScan &scan);

// The lines of a page as the matcher reads them.
class SourceLines {
public:
    virtual ~SourceLines() = default;
    virtual int lineCount() const = 0;
    virtual QString line(int index) const = 0;
    // The state the line is read from (the previous line's result of scanLine).
    virtual int stateBefore(int index) const = 0;
    // Passes the lines from `from` on (or back, when not `forward`) that cannot hold the tag
    // that brings a search for `foldedName` at `depth` to zero, adding what their tags do to
    // `depth`; returns the first line that may, or -1 when none is left. This one reads the
    // lines' text; a page that keeps its tags counted skips lines without reading them.
    virtual int nextCandidate(int from, bool forward, const QString &foldedName, int &depth) const;
};

// The lines of a text held in memory; breaks may be CR LF, CR or LF.
class TextLines : public SourceLines {
public:
    explicit TextLines(const QString &text);
    int lineCount() const override { return int(lines_.size()); }
    QString line(int index) const override { return lines_[size_t(index)]; }
    int stateBefore(int index) const override { return states_[size_t(index)]; }
    int nextCandidate(int from, bool forward, const QString &foldedName, int &depth) const override;

private:
    std::vector<QString> lines_;
    std::vector<int> states_;
    std::vector<std::vector<std::pair<QString, TagCount>>> counts_;
};

// Where a tag is: its line, and the columns from its "<" through its ">" (or through its
// name when the tag goes on past its line).
struct TagSpan {
    int line = -1;
    int start = 0;
    int length = 0;
    bool operator==(const TagSpan &) const = default;
};

struct TagMatch {
    enum Kind {
        NoTag,     // the caret is not on a tag's name
        Paired,    // `partner` is the tag's partner
        Single,    // a tag that has no partner: a void element, "/>", an open tag whose end
                   // tag may be left out, a ColdFusion tag
        Unmatched, // a tag that should have a partner but has none
    } kind = NoTag;
    TagSpan tag;
    TagSpan partner;
};

// The tag whose "<" or name holds the caret (the caret just after the name counts), and its
// partner. `column` is the caret's column in `line`.
TagMatch matchTag(const SourceLines &lines, int line, int column);

// Elements that never have an end tag (br, img, ...), named without regard to case.
bool isVoidElement(QStringView name);

} // namespace pw
