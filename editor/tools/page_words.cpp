#include "tools/page_words.h"

#include <QString>

#include <algorithm>

namespace pw {

namespace {

bool isWordLetter(QChar c)
{
    return c.isLetter() || c.isMark();
}

bool isApostrophe(QChar c)
{
    return c == u'\'' || c == u'\u2019';
}

// One past the end of the first `needle` at or after `from`; the end of the page when there is
// none (an unclosed comment or server block runs to the end, as a browser reads it).
qsizetype skipPast(QStringView page, qsizetype from, QStringView needle)
{
    const qsizetype at = page.indexOf(needle, from);
    return at < 0 ? page.size() : at + needle.size();
}

// One past the ">" that closes the tag opening at `from`. A quote opens a value only after
// "=", so an apostrophe in an unquoted value does not swallow the page; server blocks inside
// a tag ("<a href=\"<?php echo $u ?>\">") are passed over whole.
qsizetype tagEnd(QStringView page, qsizetype from)
{
    const qsizetype n = page.size();
    QChar quote;
    QChar previous; // the last character that is not blank, outside quotes
    qsizetype i = from + 1;
    while (i < n) {
        const QChar c = page[i];
        if (c == u'<' && i + 1 < n && (page[i + 1] == u'?' || page[i + 1] == u'%')) {
            i = skipPast(page, i + 2, page[i + 1] == u'?' ? u"?>" : u"%>");
            continue;
        }
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if ((c == u'"' || c == u'\'') && previous == u'=') {
            quote = c;
        } else if (c == u'>') {
            return i + 1;
        }
        if (!c.isSpace())
            previous = c;
        ++i;
    }
    return n;
}

// Elements whose contents are code, not text.
bool holdsCode(QStringView name)
{
    for (const char16_t *code : {u"script", u"style", u"cfscript", u"cfquery"}) {
        if (name.compare(QStringView(code), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isHexDigit(QChar c)
{
    return isAsciiDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

struct Entity {
    qsizetype length = 0; // 0: the "&" starts no entity
    bool letter = false;  // it stands for a letter ("&eacute;", "&#233;")
};

// Accented letters are written "&eacute;", "&Ouml;", "&ccedil;", "&aelig;", ...
bool namesLetter(QStringView name)
{
    for (const char16_t *accent :
         {u"acute", u"grave", u"circ", u"tilde", u"uml", u"ring", u"cedil", u"slash", u"lig"}) {
        if (name.size() > 1 && name.endsWith(QStringView(accent)))
            return true;
    }
    for (const char16_t *letter : {u"szlig", u"eth", u"thorn"}) {
        if (name.compare(QStringView(letter), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// The entity at `at` (a "&") inside [at, to): "&name;", "&#233;" or "&#xE9;", the semicolon
// optional as browsers read it.
Entity entityAt(QStringView page, qsizetype at, qsizetype to)
{
    qsizetype i = at + 1;
    Entity entity;
    if (i < to && page[i] == u'#') {
        ++i;
        const bool hex = i < to && (page[i] == u'x' || page[i] == u'X');
        if (hex)
            ++i;
        const qsizetype digits = i;
        while (i < to && (hex ? isHexDigit(page[i]) : isAsciiDigit(page[i])))
            ++i;
        if (i == digits)
            return {};
        bool ok = false;
        const uint code = page.mid(digits, i - digits).toUInt(&ok, hex ? 16 : 10);
        entity.letter = ok && code <= 0x10FFFF && QChar::isLetter(char32_t(code));
    } else if (i < to && page[i].isLetter()) {
        const qsizetype name = i;
        while (i < to && page[i].isLetterOrNumber())
            ++i;
        entity.letter = namesLetter(page.mid(name, i - name));
    } else {
        return {};
    }
    if (i < to && page[i] == u';')
        ++i;
    entity.length = i - at;
    return entity;
}

// A run of text between blanks that is an address, a file name or an expression.
bool looksLikeCode(QStringView run)
{
    for (qsizetype i = 0; i < run.size(); ++i) {
        const QChar c = run[i];
        switch (c.unicode()) {
        case u'&':
            if (const Entity entity = entityAt(run, i, run.size()); entity.length > 0)
                i += entity.length - 1;
            break;
        case u'@':
        case u'#':
        case u'_':
        case u'/':
        case u'\\':
        case u'=':
        case u'{':
        case u'}':
        case u'$':
            return true;
        case u'.':
        case u':':
            if (i > 0 && i + 1 < run.size() && run[i - 1].isLetterOrNumber()
                && run[i + 1].isLetterOrNumber())
                return true;
            break;
        default:
            break;
        }
    }
    return false;
}

// The words of a run of text. A word that holds a digit or a letter written as an entity
// cannot be judged and is left out; other entities ("&nbsp;", "&amp;") separate words.
void addWords(QStringView page, qsizetype from, qsizetype to, std::vector<WordSpan> &words)
{
    qsizetype j = from;
    while (j < to) {
        const qsizetype start = j;
        bool unjudged = false;
        while (j < to) {
            const QChar c = page[j];
            if (isWordLetter(c)) {
                ++j;
            } else if (c.isNumber()) {
                unjudged = true;
                ++j;
            } else if (const Entity entity = c == u'&' ? entityAt(page, j, to) : Entity();
                       entity.letter) {
                unjudged = true;
                j += entity.length;
            } else if (isApostrophe(c) && j > start && j + 1 < to && isWordLetter(page[j - 1])
                       && isWordLetter(page[j + 1])) {
                ++j;
            } else {
                break;
            }
        }
        if (j > start) {
            if (!unjudged)
                words.push_back({start, j - start});
            continue;
        }
        // A separator; an entity is passed whole, so its name is not taken for a word.
        const Entity entity = page[j] == u'&' ? entityAt(page, j, to) : Entity();
        j += std::max<qsizetype>(1, entity.length);
    }
}

// The words of the text in [from, to), run by run between blanks, leaving out the runs that
// are code.
void addTextWords(QStringView page, qsizetype from, qsizetype to, std::vector<WordSpan> &words)
{
    qsizetype i = from;
    while (i < to) {
        if (page[i].isSpace()) {
            ++i;
            continue;
        }
        qsizetype runEnd = i;
        while (runEnd < to && !page[runEnd].isSpace())
            ++runEnd;
        if (!looksLikeCode(page.mid(i, runEnd - i)))
            addWords(page, i, runEnd, words);
        i = runEnd;
    }
}

// Attributes whose values a reader sees or hears: the text of a picture that is not shown,
// and the tip of an element.
bool isReadAttribute(QStringView name)
{
    return name.compare(u"alt", Qt::CaseInsensitive) == 0
           || name.compare(u"title", Qt::CaseInsensitive) == 0;
}

// The words of the Alt and Title values of the tag whose attributes run from `from` to its
// end `to` (one past its ">"). A value with a server block in it is code, not text.
void addAttributeWords(QStringView page, qsizetype from, qsizetype to, std::vector<WordSpan> &words)
{
    const qsizetype end = to > from && page[to - 1] == u'>' ? to - 1 : to;
    qsizetype i = from;
    while (i < end) {
        const QChar c = page[i];
        if (!(c.isLetterOrNumber() || c == u'-' || c == u'_' || c == u':')) {
            ++i;
            continue;
        }
        const qsizetype nameStart = i;
        while (i < end
               && (page[i].isLetterOrNumber() || page[i] == u'-' || page[i] == u'_'
                   || page[i] == u':'))
            ++i;
        const QStringView name = page.mid(nameStart, i - nameStart);
        qsizetype j = i;
        while (j < end && page[j].isSpace())
            ++j;
        if (j >= end || page[j] != u'=')
            continue; // a name without a value
        ++j;
        while (j < end && page[j].isSpace())
            ++j;
        qsizetype valueStart = j;
        qsizetype valueEnd = j;
        if (j < end && (page[j] == u'"' || page[j] == u'\'')) {
            const QChar quote = page[j];
            valueStart = j + 1;
            valueEnd = valueStart;
            while (valueEnd < end && page[valueEnd] != quote)
                ++valueEnd;
            i = std::min(end, valueEnd + 1);
        } else {
            while (valueEnd < end && !page[valueEnd].isSpace())
                ++valueEnd;
            i = valueEnd;
        }
        const QStringView value = page.mid(valueStart, valueEnd - valueStart);
        if (isReadAttribute(name) && !value.contains(u"<?") && !value.contains(u"<%"))
            addTextWords(page, valueStart, valueEnd, words);
    }
}

} // namespace

std::vector<WordSpan> pageTextWords(QStringView page)
{
    std::vector<WordSpan> words;
    const qsizetype n = page.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = page[i];
        if (c == u'<') {
            const QStringView rest = page.mid(i);
            const QChar next = i + 1 < n ? page[i + 1] : QChar();
            if (rest.startsWith(u"<!--")) {
                i = skipPast(page, i + 4, u"-->");
            } else if (rest.startsWith(u"<![CDATA[")) {
                i = skipPast(page, i + 9, u"]]>");
            } else if (next == u'?' || next == u'%') {
                i = skipPast(page, i + 2, next == u'?' ? u"?>" : u"%>");
            } else if (next.isLetter() || next == u'/' || next == u'!') {
                const bool closing = next == u'/';
                qsizetype nameEnd = i + 1 + (closing ? 1 : 0);
                const qsizetype nameStart = nameEnd;
                while (nameEnd < n
                       && (page[nameEnd].isLetterOrNumber() || page[nameEnd] == u':'
                           || page[nameEnd] == u'-' || page[nameEnd] == u'_'))
                    ++nameEnd;
                const QStringView name = page.mid(nameStart, nameEnd - nameStart);
                const qsizetype end = tagEnd(page, i);
                const bool selfClosed = end - i >= 3 && page[end - 2] == u'/';
                if (!closing && next != u'!')
                    addAttributeWords(page, nameEnd, end, words);
                if (!closing && !selfClosed && holdsCode(name)) {
                    // Up to the closing tag, which is then read as any other tag.
                    const QString close = QStringLiteral("</") + name.toString();
                    const qsizetype at = page.indexOf(close, end, Qt::CaseInsensitive);
                    i = at < 0 ? n : at;
                } else {
                    i = end;
                }
            } else {
                ++i; // a "<" that opens nothing ("a < b") is punctuation
            }
            continue;
        }
        if (c.isSpace()) {
            ++i;
            continue;
        }
        qsizetype runEnd = i;
        while (runEnd < n && !page[runEnd].isSpace() && page[runEnd] != u'<')
            ++runEnd;
        if (!looksLikeCode(page.mid(i, runEnd - i)))
            addWords(page, i, runEnd, words);
        i = runEnd;
    }
    return words;
}

} // namespace pw
