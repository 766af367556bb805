#pragma once
// The script menu page built from an outline. An outline has one topic to a line:
// "topic|sub-point|link|sub-point|link|...". A sub-point counts only with a link after it;
// empty lines are skipped but keep their number, which names the topic's sub-list.
#include <QString>

namespace pw {

// The whole page for an outline (line breaks CR LF, CR or LF), with CR LF breaks and no
// break after its last line. Texts go in as typed, except where a character would end the
// script string or the link they sit in: a backslash or double quote in a text is escaped
// for the script, a single quote in a link is written %27, and "</script" is written
// "<\/script" so that no text ends the page's script early.
QString jsMenuPage(const QString &outline);

// The help message's text: the outline format and an example.
QString jsMenuFormatHelp();

} // namespace pw
