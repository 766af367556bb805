#pragma once
// How the source view reads a page, one line at a time: which stretches of a line are tags,
// attribute names and values, comments, entities, and the code of the embedded languages
// (CSS in STYLE, JavaScript or VBScript in SCRIPT, PHP in <?php ?> and <? ?>, ASP in <% %>,
// ColdFusion tags and CFSCRIPT). Whatever is still open at the end of a line (a comment, a
// script, a PHP block, a tag whose attributes go on) is folded into one int, the line's
// state, and the next line is read from it. A line read from the same state always reads the
// same, so after an edit only the lines whose starting state changed need reading again.
//
// Pure code: no widgets, no document; the highlighter and the tag matching sit on top.
#include <QStringList>
#include <QStringView>

#include <vector>

namespace pw {

enum class SourceToken : unsigned char {
    Tag,       // "<", "</", the element name, ">" and "/>"; CSS selectors
    ServerTag, // the name of a ColdFusion tag
    AttributeName,
    AttributeValue,
    Comment,     // markup comments and the comments of every embedded language
    Entity,      // &amp; &#160; &#xA0;
    Declaration, // <!DOCTYPE ...>
    Keyword,     // a word of the embedded language's keyword table
    String,      // a string of an embedded language
    Number,
    Variable,        // PHP's $name
    ServerDelimiter, // <?php <? <?= ?> <% <%= %>
    Property,        // a CSS property name
};
constexpr int kSourceTokenCount = 13;

struct SourceRun {
    int start = 0;
    int length = 0;
    SourceToken token = SourceToken::Tag;
    bool operator==(const SourceRun &) const = default;
};

// A tag that starts on the line; positions are columns of the line.
struct TagMark {
    int start = 0;            // its "<"
    int nameLength = 0;       // the element name after "<" or "</"
    int end = -1;             // one past its ">", or -1 when the tag goes on past the line
    bool closing = false;     // "</name"
    bool selfClosing = false; // ends with "/>"
};

// What reading a line found.
struct LineScan {
    std::vector<SourceRun> runs; // coloured stretches in order; what lies between is plain
    std::vector<TagMark> tags;   // the markup tags that start on the line
    bool tagsOnly = false;       // set by the caller: only `tags` is wanted
    void clear()
    {
        runs.clear();
        tags.clear();
    }
};

// The state before the first line of a page.
constexpr int kPageStartState = 0;

// Reads one line (without its line break) from `state`, the previous line's result, and
// returns the state at its end. With `out`, the line's runs and tags are added to it.
int scanLine(QStringView line, int state, LineScan *out = nullptr);

// What a state (scanLine's result, also for part of a line) is inside of.
enum class SourceArea {
    Text,    // the page's text, between tags
    Tag,     // a tag's name, attributes or values
    Comment, // a markup comment or declaration
    Code,    // a script, a style sheet or a server block
};
SourceArea areaOf(int state);
// The words of the language a Code state reads (JavaScript, VBScript, PHP, CSS, ...),
// sorted; empty for other states.
QStringList keywordsOf(int state);

} // namespace pw
