#pragma once
// The partner of the tag under the caret: the closing tag of an opening one and the opening
// tag of a closing one, counting nesting of the same element. Tags are what the source
// reader (html_scanner.h) finds, so markup inside comments, scripts, styles and server
// blocks is not taken for tags.
#include <QString>
#include <QStringView>

#include <vector>

namespace pw {

// The lines of a page as the matcher reads them.
class SourceLines {
public:
    virtual ~SourceLines() = default;
    virtual int lineCount() const = 0;
    virtual QString line(int index) const = 0;
    // The state the line is read from (the previous line's result of scanLine).
    virtual int stateBefore(int index) const = 0;
};

// The lines of a text held in memory; breaks may be CR LF, CR or LF.
class TextLines : public SourceLines {
public:
    explicit TextLines(const QString &text);
    int lineCount() const override { return int(lines_.size()); }
    QString line(int index) const override { return lines_[size_t(index)]; }
    int stateBefore(int index) const override { return states_[size_t(index)]; }

private:
    std::vector<QString> lines_;
    std::vector<int> states_;
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
