#pragma once
// The words of a page that a reader sees: the text between the tags. Everything that is code
// or markup is passed over, so spell checking a page never stops at a tag name:
// - tags, with their names, attribute names and values (quoted values may hold ">"), except
//   the values of Alt and Title, which a reader sees or hears: their words are checked;
// - comments "<!-- -->" (ColdFusion's "<!--- --->" too) and "<![CDATA[ ]]>" sections;
// - entities: "&nbsp;", "&amp;" and the like separate words, and a word with a letter
//   written as an entity ("caf&eacute;", "&#233;t&#233;") is left out, as it cannot be judged;
// - the contents of script, style, cfscript and cfquery elements, and of the server blocks
//   "<? ?>" (PHP), "<% %>" (ASP);
// - runs of text that are addresses or code rather than words: anything holding "@", "#"
//   (ColdFusion's "#name#"), "_", "/", "\", "=", "{", "}" or "$", or a "." or ":" followed
//   by a letter or digit ("www.site.com", "index.html", "e.g.").
// A word is a run of letters (with their combining marks) that may hold apostrophes between
// letters ("don't"); a run of letters that touches a digit ("h1", "2nd") is not a word.
// Positions count the text as given, so with CR LF breaks a break counts two.
#include <QStringView>

#include <vector>

namespace pw {

struct WordSpan {
    qsizetype start = 0;
    qsizetype length = 0;
    bool operator==(const WordSpan &) const = default;
};

std::vector<WordSpan> pageTextWords(QStringView page);

} // namespace pw
