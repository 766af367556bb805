#pragma once
// What the source view offers while a tag is typed, and the reading of a page it needs: the
// elements open at the caret, the element around it, and whether the page writes its tags in
// upper case. Pure code over the page's lines (tag_matching.h): no widgets.
#include "source_view/tag_matching.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace pw {

struct CompletionItem {
    QString text; // what goes in for the typed prefix
    QString description;
    bool operator==(const CompletionItem &) const = default;
};

struct Completion {
    enum Kind {
        None,
        ElementName,    // after "<"
        EndTag,         // after "</": the texts end with ">"
        AttributeName,  // among a start tag's attributes
        AttributeValue, // a value of a fixed set
        Keyword,        // inside a script, a style sheet or server code
    } kind = None;
    QString prefix;  // what is typed of the name, value or word before the caret
    QString element; // AttributeName, AttributeValue: the tag's element as written
    QString attribute;
    bool quoted = false; // AttributeValue: the value stands in quotes
    QList<CompletionItem> items;
};

// The offer at the caret. `before` is the caret's line up to the caret, read from `state`
// (the reader's state at the line's start). Names follow `upperCase` (upper-case elements
// and capitalised attributes, else lower case). `openElements` are the elements open at the
// caret, innermost first, as written: "</" offers their end tags first. Keywords are offered
// only when `keywords` is set (on request, not while typing).
Completion completionAt(QStringView before, int state, bool upperCase,
                        const QStringList &openElements, bool keywords);

// True when most element names on the lines near `line` are in upper case (also when the
// page has no tags yet, as the toolbar writes them in upper case).
bool pageUsesUpperCase(const SourceLines &lines, int line);

// A start tag that is open at a place in the page.
struct OpenTag {
    QString name; // as written
    int line = 0;
    int start = 0; // column of its "<"
};
// The start tags still open at (line, column), innermost first, at most `count`; the walk
// looks back at most `reach` lines. Void elements and self-closing tags are never open; an
// element whose end tag may be left out is open until its end tag.
std::vector<OpenTag> openTagsAt(const SourceLines &lines, int line, int column, int count,
                                int reach = 5000);

// The element around (line, column) from the "<" of its start tag through the ">" of its end
// tag; the tag under the caret counts as around it. A void element's tag alone. `found` is
// false when the caret is in no element.
struct ElementRange {
    bool found = false;
    TagSpan start;
    TagSpan end;
};
ElementRange elementAt(const SourceLines &lines, int line, int column);
// The element that holds `inner` (not found when none does).
ElementRange enclosingElement(const SourceLines &lines, const ElementRange &inner);

// The texts that wrap a selection in a tag as the user names it: "div", "<div>" and
// "div class=x" give the start tag as written and the end tag of its element; a void
// element ("br") has no end tag. Both empty when the answer names no element.
struct TagPair {
    QString open;
    QString close;
};
TagPair tagPairFor(QStringView answer);

} // namespace pw
