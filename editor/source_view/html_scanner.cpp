#include "source_view/html_scanner.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>

namespace pw {

namespace {

// Where the markup reader is at the end of a line.
enum class Html : unsigned {
    Text,
    TagAttrs,    // after a tag's name, among its attributes
    AfterEquals, // after "=", before the value
    ValueDq,     // inside a "..." value
    ValueSq,     // inside a '...' value
    Comment,
    Declaration,
    Content, // the body of a SCRIPT or STYLE element
};
// The tag being read; for Content, what the element holds.
enum class Kind : unsigned { Plain, Script, Style, Cf };
enum class Lang : unsigned { JavaScript, VBScript, CfScript };
// A construct of an embedded language that may go on past the line.
enum class Open : unsigned { None, BlockComment, Template, StringDq, StringSq };
enum class Server : unsigned { None, Php, Asp };

struct State {
    Html html = Html::Text;
    Kind kind = Kind::Plain;
    Lang lang = Lang::JavaScript;
    Open open = Open::None; // in the content of SCRIPT or STYLE
    bool braces = false;    // CSS: inside a rule's { }
    bool closing = false;   // the tag being read is a closing tag
    Server server = Server::None;
    Open serverOpen = Open::None; // in the PHP or ASP block
};

// The state as bits: html 0-2, kind 3-4, lang 5-6, open 7-9, braces 10, closing 11,
// server 12-13, serverOpen 14-16. Values no reader produces read as the nearest sane one.
int pack(const State &s)
{
    return int(s.html) | int(s.kind) << 3 | int(s.lang) << 5 | int(s.open) << 7
           | int(s.braces) << 10 | int(s.closing) << 11 | int(s.server) << 12
           | int(s.serverOpen) << 14;
}

State unpack(int v)
{
    State s;
    if (v < 0)
        return s;
    auto open = [](unsigned bits) { return bits <= 4 ? Open(bits) : Open::None; };
    s.html = Html(v & 7);
    s.kind = Kind(v >> 3 & 3);
    s.lang = (v >> 5 & 3) <= 2 ? Lang(v >> 5 & 3) : Lang::JavaScript;
    s.open = open(v >> 7 & 7);
    s.braces = v >> 10 & 1;
    s.closing = v >> 11 & 1;
    s.server = (v >> 12 & 3) <= 2 ? Server(v >> 12 & 3) : Server::None;
    s.serverOpen = open(v >> 14 & 7);
    return s;
}

bool isAsciiLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
}

bool isDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

bool isNameChar(QChar c)
{
    return isAsciiLetter(c) || isDigit(c) || c == u'-' || c == u'_' || c == u':' || c == u'.';
}

bool isWordStart(QChar c)
{
    return isAsciiLetter(c) || c == u'_' || c.unicode() > 127;
}

bool isWordChar(QChar c)
{
    return isWordStart(c) || isDigit(c);
}

char16_t lower(char16_t u)
{
    return u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u;
}

// True when `text` is `ascii` (lower case), letters compared without case.
bool equalsCi(QStringView text, std::string_view ascii)
{
    if (size_t(text.size()) != ascii.size())
        return false;
    for (size_t k = 0; k < ascii.size(); ++k) {
        if (lower(text[qsizetype(k)].unicode()) != char16_t(ascii[k]))
            return false;
    }
    return true;
}

bool containsCi(QStringView text, std::string_view ascii)
{
    for (qsizetype k = 0; k + qsizetype(ascii.size()) <= text.size(); ++k) {
        if (equalsCi(text.sliced(k, qsizetype(ascii.size())), ascii))
            return true;
    }
    return false;
}

// A language's words, looked up without building strings.
class KeywordTable {
public:
    KeywordTable(std::initializer_list<std::string_view> words, bool caseSensitive)
        : words_(words), caseSensitive_(caseSensitive)
    {
        std::ranges::sort(words_);
    }
    bool contains(QStringView word) const
    {
        char buffer[24];
        if (word.size() > qsizetype(sizeof buffer))
            return false;
        for (qsizetype k = 0; k < word.size(); ++k) {
            const char16_t u = word[k].unicode();
            if (u > 127)
                return false;
            buffer[k] = char(caseSensitive_ ? u : lower(u));
        }
        return std::ranges::binary_search(words_, std::string_view(buffer, size_t(word.size())));
    }
    QStringList all() const
    {
        QStringList list;
        for (std::string_view word : words_)
            list << QString::fromLatin1(word.data(), qsizetype(word.size()));
        return list;
    }

private:
    std::vector<std::string_view> words_;
    bool caseSensitive_;
};

// clang-format off
const KeywordTable &javaScriptWords()
{
    static const KeywordTable table({
        "async", "await", "break", "case", "catch", "class", "const", "continue", "debugger",
        "default", "delete", "do", "else", "export", "extends", "false", "finally", "for",
        "function", "if", "import", "in", "instanceof", "let", "new", "null", "of", "return",
        "static", "super", "switch", "this", "throw", "true", "try", "typeof", "undefined",
        "var", "void", "while", "with", "yield"}, true);
    return table;
}

const KeywordTable &vbScriptWords()
{
    static const KeywordTable table({
        "and", "byref", "byval", "call", "case", "class", "const", "dim", "do", "each", "else",
        "elseif", "empty", "end", "eqv", "erase", "error", "exit", "explicit", "false", "for",
        "function", "get", "goto", "if", "imp", "in", "is", "let", "loop", "me", "mod", "new",
        "next", "not", "nothing", "null", "on", "option", "or", "preserve", "private",
        "property", "public", "randomize", "redim", "resume", "select", "set", "step", "sub",
        "then", "to", "true", "until", "wend", "while", "with", "xor"}, false);
    return table;
}

const KeywordTable &phpWords()
{
    static const KeywordTable table({
        "abstract", "and", "array", "as", "break", "callable", "case", "catch", "class",
        "clone", "const", "continue", "declare", "default", "die", "do", "echo", "else",
        "elseif", "empty", "enddeclare", "endfor", "endforeach", "endif", "endswitch",
        "endwhile", "eval", "exit", "extends", "false", "final", "finally", "fn", "for",
        "foreach", "function", "global", "goto", "if", "implements", "include", "include_once",
        "instanceof", "insteadof", "interface", "isset", "list", "match", "namespace", "new",
        "null", "or", "print", "private", "protected", "public", "require", "require_once",
        "return", "static", "switch", "throw", "trait", "true", "try", "unset", "use", "var",
        "while", "xor", "yield"}, false);
    return table;
}

// The operators of ColdFusion expressions, also the words of CFSCRIPT.
const KeywordTable &coldFusionWords()
{
    static const KeywordTable table({
        "and", "break", "case", "catch", "contains", "continue", "default", "do", "does",
        "else", "eq", "eqv", "false", "for", "function", "greater", "gt", "gte", "if", "imp",
        "in", "is", "less", "lt", "lte", "mod", "neq", "not", "or", "return", "switch", "than",
        "true", "try", "var", "while", "xor"}, false);
    return table;
}

const KeywordTable &cssWords()
{
    static const KeywordTable table({
        "absolute", "auto", "block", "bold", "bolder", "both", "bottom", "center", "dashed",
        "dotted", "double", "fixed", "hidden", "important", "inherit", "initial", "inline",
        "inline-block", "italic", "left", "lighter", "middle", "none", "normal", "nowrap",
        "pointer", "relative", "right", "scroll", "solid", "static", "top", "transparent",
        "underline", "uppercase", "lowercase", "visible"}, false);
    return table;
}
// clang-format on

// How an embedded language writes comments, strings and names.
struct Syntax {
    const KeywordTable &words;
    bool slashComments = false;    // // and /* */
    bool hashComments = false;     // # to the line end
    bool quoteComments = false;    // ' and REM to the line end; strings only in "..."
    bool backslashEscapes = false; // a backslash hides the next character of a string
    bool templates = false;        // `...`, also over lines
    bool multiLineStrings = false; // strings go on over lines
    bool variables = false;        // $name
    bool endInsideStrings = false; // the block's end also ends its strings and comments
};

const Syntax &javaScriptSyntax()
{
    static const Syntax syntax{.words = javaScriptWords(),
                               .slashComments = true,
                               .backslashEscapes = true,
                               .templates = true,
                               .endInsideStrings = true};
    return syntax;
}

const Syntax &coldFusionScriptSyntax()
{
    static const Syntax syntax{
        .words = coldFusionWords(), .slashComments = true, .endInsideStrings = true};
    return syntax;
}

const Syntax &vbScriptSyntax()
{
    static const Syntax syntax{
        .words = vbScriptWords(), .quoteComments = true, .endInsideStrings = true};
    return syntax;
}

const Syntax &phpSyntax()
{
    static const Syntax syntax{.words = phpWords(),
                               .slashComments = true,
                               .hashComments = true,
                               .backslashEscapes = true,
                               .multiLineStrings = true,
                               .variables = true};
    return syntax;
}

// What ends the code being read: the end tag of the element or the start of a server block
// (content), the server block's own end, or the start of a server block alone (markup).
enum class End { Content, Php, Asp, Server, Nothing };

// A string or line comment that the line holds open; it ends with the line, but a server
// block inside it does not end it.
struct Pending {
    enum Kind { None, String, LineComment } kind = None;
    QChar quote;
};

class Scanner {
public:
    Scanner(QStringView line, State state, LineScan *out)
        : s_(line), n_(line.size()), st_(state), out_(out)
    {
    }

    State run()
    {
        while (i_ < n_) {
            if (st_.server != Server::None) {
                readServer();
                continue;
            }
            switch (st_.html) {
            case Html::Text:
                readText();
                break;
            case Html::TagAttrs:
            case Html::AfterEquals:
                readTagAttrs();
                break;
            case Html::ValueDq:
            case Html::ValueSq:
                readValue();
                break;
            case Html::Comment:
                readMarkup(u"-->", SourceToken::Comment);
                break;
            case Html::Declaration:
                readMarkup(u">", SourceToken::Declaration);
                break;
            case Html::Content:
                if (st_.kind == Kind::Style)
                    readCss();
                else if (st_.kind == Kind::Script)
                    readCode(st_.lang == Lang::VBScript   ? vbScriptSyntax()
                             : st_.lang == Lang::CfScript ? coldFusionScriptSyntax()
                                                          : javaScriptSyntax(),
                             st_.open, pendingOuter_, End::Content);
                else
                    st_.html = Html::Text;
                break;
            }
        }
        return st_;
    }

private:
    QChar at(qsizetype p) const { return p < n_ ? s_[p] : QChar(); }

    bool startsCi(qsizetype p, std::string_view ascii) const
    {
        return p + qsizetype(ascii.size()) <= n_
               && equalsCi(s_.sliced(p, qsizetype(ascii.size())), ascii);
    }

    void add(qsizetype from, qsizetype to, SourceToken token)
    {
        if (!out_ || out_->tagsOnly || to <= from)
            return;
        auto &runs = out_->runs;
        if (!runs.empty() && runs.back().token == token
            && runs.back().start + runs.back().length == int(from)) {
            runs.back().length += int(to - from);
            return;
        }
        runs.push_back({int(from), int(to - from), token});
    }

    bool serverOpensAt(qsizetype p) const
    {
        return s_[p] == u'<' && (at(p + 1) == u'?' || at(p + 1) == u'%');
    }

    // The end tag of the SCRIPT or STYLE element being read starts at p.
    bool contentEndsAt(qsizetype p) const
    {
        if (s_[p] != u'<' || at(p + 1) != u'/')
            return false;
        const std::string_view name = st_.kind == Kind::Style      ? "style"
                                      : st_.lang == Lang::CfScript ? "cfscript"
                                                                   : "script";
        return startsCi(p + 2, name) && !isNameChar(at(p + 2 + qsizetype(name.size())));
    }

    bool endsAt(End end, qsizetype p) const
    {
        switch (end) {
        case End::Content:
            return s_[p] == u'<' && (contentEndsAt(p) || serverOpensAt(p));
        case End::Php:
            return s_[p] == u'?' && at(p + 1) == u'>';
        case End::Asp:
            return s_[p] == u'%' && at(p + 1) == u'>';
        case End::Server:
            return serverOpensAt(p);
        case End::Nothing:
            break;
        }
        return false;
    }

    // At the end of the code being read (endsAt was true): go where it leads.
    void leave(End end)
    {
        if (end == End::Php || end == End::Asp) {
            add(i_, i_ + 2, SourceToken::ServerDelimiter);
            i_ += 2;
            st_.server = Server::None;
            st_.serverOpen = Open::None;
        } else if (serverOpensAt(i_)) {
            openServer();
        } else {
            // The element's end tag: the markup reader reads it as a tag.
            st_.html = Html::Text;
            st_.kind = Kind::Plain;
            st_.lang = Lang::JavaScript;
            st_.open = Open::None;
            st_.braces = false;
            pendingOuter_ = {};
        }
    }

    enum class Stop { Closed, LineEnd, Ended };

    // Reads a stretch of `token` from i_ through `close` (none reads to the line end),
    // stopping before the end of the code it is part of.
    Stop readSpan(std::u16string_view close, SourceToken token, bool escapes, End end)
    {
        const qsizetype from = i_;
        while (i_ < n_) {
            const QChar c = s_[i_];
            if (endsAt(end, i_)) {
                add(from, i_, token);
                return Stop::Ended;
            }
            if (escapes && c == u'\\') {
                i_ += 2;
                continue;
            }
            if (!close.empty() && c == close[0]
                && s_.sliced(i_).startsWith(QStringView(close.data(), qsizetype(close.size())))) {
                i_ += qsizetype(close.size());
                add(from, i_, token);
                return Stop::Closed;
            }
            ++i_;
        }
        i_ = n_;
        add(from, n_, token);
        return Stop::LineEnd;
    }

    // Reads code of an embedded language up to the end of the line or of the code. `open`
    // keeps what goes on over lines, `pending` what the line holds open.
    void readCode(const Syntax &syntax, Open &open, Pending &pending, End end)
    {
        const End inside = syntax.endInsideStrings ? end : End::Nothing;
        while (i_ < n_) {
            if (open != Open::None || pending.kind != Pending::None) {
                Stop stop = Stop::Closed;
                if (open == Open::BlockComment) {
                    stop = readSpan(u"*/", SourceToken::Comment, false, inside);
                } else if (open == Open::Template) {
                    stop = readSpan(u"`", SourceToken::String, true, inside);
                } else if (open == Open::StringDq || open == Open::StringSq) {
                    stop = readSpan(open == Open::StringDq ? u"\"" : u"'", SourceToken::String,
                                    syntax.backslashEscapes, inside);
                } else if (pending.kind == Pending::String) {
                    const char16_t quote[] = {pending.quote.unicode(), 0};
                    stop = readSpan(quote, SourceToken::String, syntax.backslashEscapes, inside);
                } else {
                    stop = readSpan({}, SourceToken::Comment, false, end);
                }
                if (stop == Stop::Ended) {
                    leave(end);
                    return;
                }
                if (stop == Stop::LineEnd)
                    return;
                open = Open::None;
                pending = {};
                continue;
            }
            const QChar c = s_[i_];
            if (endsAt(end, i_)) {
                leave(end);
                return;
            }
            const QChar next = at(i_ + 1);
            if ((syntax.slashComments && c == u'/' && next == u'/')
                || (syntax.hashComments && c == u'#') || (syntax.quoteComments && c == u'\'')
                || (end == End::Content && c == u'<' && next == u'!' && at(i_ + 2) == u'-'
                    && at(i_ + 3) == u'-')) {
                pending.kind = Pending::LineComment;
            } else if (syntax.slashComments && c == u'/' && next == u'*') {
                add(i_, i_ + 2, SourceToken::Comment);
                i_ += 2;
                open = Open::BlockComment;
            } else if (c == u'"' || (c == u'\'' && !syntax.quoteComments)) {
                add(i_, i_ + 1, SourceToken::String);
                ++i_;
                if (syntax.multiLineStrings) {
                    open = c == u'"' ? Open::StringDq : Open::StringSq;
                } else {
                    pending.kind = Pending::String;
                    pending.quote = c;
                }
            } else if (syntax.templates && c == u'`') {
                add(i_, i_ + 1, SourceToken::String);
                ++i_;
                open = Open::Template;
            } else if (syntax.variables && c == u'$' && isWordStart(next)) {
                qsizetype j = i_ + 1;
                while (j < n_ && isWordChar(s_[j]))
                    ++j;
                add(i_, j, SourceToken::Variable);
                i_ = j;
            } else if (isDigit(c)) {
                readNumber();
            } else if (isWordStart(c) || c == u'$') {
                qsizetype j = i_ + 1;
                while (j < n_ && (isWordChar(s_[j]) || s_[j] == u'$'))
                    ++j;
                const QStringView word = s_.sliced(i_, j - i_);
                if (syntax.quoteComments && equalsCi(word, "rem") && (j == n_ || s_[j].isSpace())) {
                    pending.kind = Pending::LineComment;
                    continue;
                }
                if (syntax.words.contains(word))
                    add(i_, j, SourceToken::Keyword);
                i_ = j;
            } else {
                ++i_;
            }
        }
    }

    void readNumber()
    {
        qsizetype j = i_;
        while (j < n_ && (isDigit(s_[j]) || isAsciiLetter(s_[j]) || s_[j] == u'.'))
            ++j;
        add(i_, j, SourceToken::Number);
        i_ = j;
    }

    void openServer()
    {
        qsizetype length = 2;
        if (s_[i_ + 1] == u'?') {
            st_.server = Server::Php;
            if (startsCi(i_ + 2, "php"))
                length = 5;
            else if (at(i_ + 2) == u'=')
                length = 3;
        } else {
            st_.server = Server::Asp;
            if (at(i_ + 2) == u'=' || at(i_ + 2) == u'@')
                length = 3;
        }
        add(i_, i_ + length, SourceToken::ServerDelimiter);
        i_ += length;
        st_.serverOpen = Open::None;
        pendingServer_ = {};
    }

    void readServer()
    {
        if (st_.server == Server::Php)
            readCode(phpSyntax(), st_.serverOpen, pendingServer_, End::Php);
        else
            readCode(vbScriptSyntax(), st_.serverOpen, pendingServer_, End::Asp);
    }

    // One past an entity (&amp; &#160; &#xA0;) starting at p, or -1 when there is none.
    qsizetype entityEnd(qsizetype p) const
    {
        qsizetype j = p + 1;
        qsizetype first = j;
        if (at(j) == u'#') {
            ++j;
            if (at(j) == u'x' || at(j) == u'X') {
                first = ++j;
                while (isDigit(at(j))
                       || (lower(at(j).unicode()) >= u'a' && lower(at(j).unicode()) <= u'f'))
                    ++j;
            } else {
                first = j;
                while (isDigit(at(j)))
                    ++j;
            }
        } else {
            while (isAsciiLetter(at(j)) || isDigit(at(j)))
                ++j;
        }
        return j > first && at(j) == u';' ? j + 1 : -1;
    }

    void readText()
    {
        while (i_ < n_) {
            const QChar c = s_[i_];
            if (c == u'&') {
                if (const qsizetype end = entityEnd(i_); end > 0) {
                    add(i_, end, SourceToken::Entity);
                    i_ = end;
                    continue;
                }
            }
            if (c != u'<') {
                ++i_;
                continue;
            }
            if (serverOpensAt(i_)) {
                openServer();
                return;
            }
            const QChar next = at(i_ + 1);
            if (next == u'!') {
                const bool comment = at(i_ + 2) == u'-' && at(i_ + 3) == u'-';
                const qsizetype length = comment ? 4 : 2;
                add(i_, i_ + length, comment ? SourceToken::Comment : SourceToken::Declaration);
                i_ += length;
                st_.html = comment ? Html::Comment : Html::Declaration;
                return;
            }
            if (isAsciiLetter(next) || (next == u'/' && isAsciiLetter(at(i_ + 2)))) {
                readTagStart();
                return;
            }
            ++i_;
        }
    }

    void readTagStart()
    {
        const qsizetype start = i_;
        const bool closing = s_[i_ + 1] == u'/';
        const qsizetype nameStart = i_ + 1 + (closing ? 1 : 0);
        qsizetype j = nameStart;
        while (j < n_ && isNameChar(s_[j]))
            ++j;
        const QStringView name = s_.sliced(nameStart, j - nameStart);
        st_.kind = Kind::Plain;
        st_.lang = Lang::JavaScript;
        if (equalsCi(name, "script")) {
            st_.kind = Kind::Script;
        } else if (equalsCi(name, "style")) {
            st_.kind = Kind::Style;
        } else if (equalsCi(name, "cfscript")) {
            st_.kind = Kind::Script;
            st_.lang = Lang::CfScript;
        } else if (name.size() > 2 && equalsCi(name.first(2), "cf")) {
            st_.kind = Kind::Cf;
        }
        const bool coldFusion = st_.kind == Kind::Cf || st_.lang == Lang::CfScript;
        add(start, nameStart, SourceToken::Tag);
        add(nameStart, j, coldFusion ? SourceToken::ServerTag : SourceToken::Tag);
        if (out_) {
            out_->tags.push_back({int(start), int(j - nameStart), -1, closing, false});
            openTag_ = int(out_->tags.size()) - 1;
        }
        st_.html = Html::TagAttrs;
        st_.closing = closing;
        st_.open = Open::None;
        st_.braces = false;
        attribute_ = {};
        i_ = j;
    }

    // The tag ends with the `length` characters at i_ (">" or "/>").
    void endTag(qsizetype length)
    {
        const bool selfClosing = length == 2;
        add(i_, i_ + length, SourceToken::Tag);
        i_ += length;
        if (openTag_ >= 0) {
            out_->tags[size_t(openTag_)].end = int(i_);
            out_->tags[size_t(openTag_)].selfClosing = selfClosing;
            openTag_ = -1;
        }
        if (!st_.closing && !selfClosing && (st_.kind == Kind::Script || st_.kind == Kind::Style)) {
            st_.html = Html::Content;
        } else {
            st_.html = Html::Text;
            st_.kind = Kind::Plain;
            st_.lang = Lang::JavaScript;
        }
        st_.closing = false;
    }

    // A value was read: SCRIPT's LANGUAGE or TYPE chooses the language of its content.
    void noteValue(QStringView value)
    {
        if (st_.kind != Kind::Script || st_.closing || st_.lang == Lang::CfScript
            || !(equalsCi(attribute_, "language") || equalsCi(attribute_, "type")))
            return;
        if (containsCi(value, "vbs"))
            st_.lang = Lang::VBScript;
        else if (containsCi(value, "java") || containsCi(value, "ecma"))
            st_.lang = Lang::JavaScript;
    }

    void readTagAttrs()
    {
        while (i_ < n_) {
            const QChar c = s_[i_];
            if (c == u'>') {
                endTag(1);
                return;
            }
            if (c == u'/' && at(i_ + 1) == u'>') {
                endTag(2);
                return;
            }
            if (serverOpensAt(i_)) {
                openServer();
                return;
            }
            if (c == u'"' || c == u'\'') {
                st_.html = c == u'"' ? Html::ValueDq : Html::ValueSq;
                add(i_, i_ + 1, SourceToken::AttributeValue);
                ++i_;
                return;
            }
            if (c == u'=') {
                st_.html = Html::AfterEquals;
                ++i_;
                continue;
            }
            if (c.isSpace()) {
                ++i_;
                continue;
            }
            qsizetype j = i_ + 1;
            while (j < n_) {
                const QChar d = s_[j];
                if (d.isSpace() || d == u'>' || d == u'=' || d == u'"' || d == u'\''
                    || (d == u'/' && at(j + 1) == u'>') || serverOpensAt(j))
                    break;
                ++j;
            }
            const QStringView word = s_.sliced(i_, j - i_);
            if (st_.html == Html::AfterEquals) {
                add(i_, j, SourceToken::AttributeValue);
                noteValue(word);
                st_.html = Html::TagAttrs;
            } else if (st_.kind == Kind::Cf && coldFusionWords().contains(word)) {
                add(i_, j, SourceToken::Keyword);
            } else {
                add(i_, j, SourceToken::AttributeName);
                attribute_ = word;
            }
            i_ = j;
        }
    }

    void readValue()
    {
        const QChar quote = st_.html == Html::ValueDq ? u'"' : u'\'';
        qsizetype from = i_;
        while (i_ < n_) {
            const QChar c = s_[i_];
            if (c == quote) {
                noteValue(s_.sliced(from, i_ - from));
                add(from, i_ + 1, SourceToken::AttributeValue);
                ++i_;
                st_.html = Html::TagAttrs;
                return;
            }
            if (serverOpensAt(i_)) {
                add(from, i_, SourceToken::AttributeValue);
                openServer();
                return;
            }
            if (c == u'&') {
                if (const qsizetype end = entityEnd(i_); end > 0) {
                    add(from, i_, SourceToken::AttributeValue);
                    add(i_, end, SourceToken::Entity);
                    from = i_ = end;
                    continue;
                }
            }
            ++i_;
        }
        add(from, n_, SourceToken::AttributeValue);
    }

    // A markup comment or declaration, which ends with `close`; a server block may sit inside.
    void readMarkup(std::u16string_view close, SourceToken token)
    {
        switch (readSpan(close, token, false, End::Server)) {
        case Stop::Closed:
            st_.html = Html::Text;
            break;
        case Stop::Ended:
            openServer();
            break;
        case Stop::LineEnd:
            break;
        }
    }

    void readCss()
    {
        while (i_ < n_) {
            if (st_.open == Open::BlockComment || pendingOuter_.kind == Pending::String) {
                const bool comment = st_.open == Open::BlockComment;
                const char16_t quote[] = {pendingOuter_.quote.unicode(), 0};
                const Stop stop = readSpan(comment ? u"*/" : std::u16string_view(quote),
                                           comment ? SourceToken::Comment : SourceToken::String,
                                           !comment, End::Content);
                if (stop == Stop::Ended)
                    return leave(End::Content);
                if (stop == Stop::LineEnd)
                    return;
                st_.open = Open::None;
                pendingOuter_ = {};
                continue;
            }
            const QChar c = s_[i_];
            if (endsAt(End::Content, i_))
                return leave(End::Content);
            if (c == u'<' && at(i_ + 1) == u'!' && at(i_ + 2) == u'-' && at(i_ + 3) == u'-') {
                add(i_, i_ + 4, SourceToken::Comment);
                i_ += 4;
            } else if (c == u'-' && at(i_ + 1) == u'-' && at(i_ + 2) == u'>') {
                add(i_, i_ + 3, SourceToken::Comment);
                i_ += 3;
            } else if (c == u'/' && at(i_ + 1) == u'*') {
                add(i_, i_ + 2, SourceToken::Comment);
                i_ += 2;
                st_.open = Open::BlockComment;
            } else if (c == u'"' || c == u'\'') {
                add(i_, i_ + 1, SourceToken::String);
                ++i_;
                pendingOuter_.kind = Pending::String;
                pendingOuter_.quote = c;
            } else if (c == u'{' || c == u'}') {
                st_.braces = c == u'{';
                ++i_;
            } else if (c == u'@' || c == u'!') {
                qsizetype j = i_ + 1;
                while (j < n_ && (isWordChar(s_[j]) || s_[j] == u'-'))
                    ++j;
                add(i_, j, SourceToken::Keyword);
                i_ = j;
            } else if (st_.braces) {
                readDeclarationPart();
            } else if (isWordStart(c) || c == u'.' || c == u'#' || c == u'*') {
                // A selector.
                qsizetype j = i_ + 1;
                while (j < n_
                       && (isWordChar(s_[j]) || s_[j] == u'-' || s_[j] == u'.' || s_[j] == u'#'
                           || s_[j] == u':'))
                    ++j;
                add(i_, j, SourceToken::Tag);
                i_ = j;
            } else {
                ++i_;
            }
        }
    }

    // Inside a CSS rule: a property name, a value's number or colour, or a value word.
    void readDeclarationPart()
    {
        const QChar c = s_[i_];
        if (isDigit(c) || (c == u'#' && i_ + 1 < n_ && isWordChar(s_[i_ + 1]))
            || (c == u'.' && isDigit(at(i_ + 1)))) {
            qsizetype j = i_ + 1;
            while (j < n_ && (isWordChar(s_[j]) || s_[j] == u'.' || s_[j] == u'%'))
                ++j;
            add(i_, j, SourceToken::Number);
            i_ = j;
            return;
        }
        if (!isWordStart(c) && c != u'-') {
            ++i_;
            return;
        }
        qsizetype j = i_ + 1;
        while (j < n_ && (isWordChar(s_[j]) || s_[j] == u'-'))
            ++j;
        qsizetype k = j;
        while (k < n_ && s_[k].isSpace())
            ++k;
        if (at(k) == u':')
            add(i_, j, SourceToken::Property);
        else if (cssWords().contains(s_.sliced(i_, j - i_)))
            add(i_, j, SourceToken::Keyword);
        i_ = j;
    }

    QStringView s_;
    qsizetype n_;
    qsizetype i_ = 0;
    State st_;
    LineScan *out_;
    int openTag_ = -1;      // the tag started on this line whose end is not read yet
    QStringView attribute_; // the last attribute name read on this line
    Pending pendingOuter_;  // in the content of SCRIPT or STYLE
    Pending pendingServer_; // in the PHP or ASP block
};

} // namespace

int scanLine(QStringView line, int state, LineScan *out)
{
    return pack(Scanner(line, unpack(state), out).run());
}

SourceArea areaOf(int state)
{
    const State s = unpack(state);
    if (s.server != Server::None || s.html == Html::Content)
        return SourceArea::Code;
    switch (s.html) {
    case Html::Text:
        return SourceArea::Text;
    case Html::Comment:
    case Html::Declaration:
        return SourceArea::Comment;
    default:
        return SourceArea::Tag;
    }
}

QStringList keywordsOf(int state)
{
    const State s = unpack(state);
    if (s.server == Server::Php)
        return phpWords().all();
    if (s.server == Server::Asp)
        return vbScriptWords().all();
    if (s.html != Html::Content)
        return {};
    switch (s.kind) {
    case Kind::Style:
        return cssWords().all();
    case Kind::Script:
        return s.lang == Lang::VBScript   ? vbScriptWords().all()
               : s.lang == Lang::CfScript ? coldFusionWords().all()
                                          : javaScriptWords().all();
    case Kind::Cf:
        return coldFusionWords().all();
    case Kind::Plain:
        break;
    }
    return {};
}

} // namespace pw
