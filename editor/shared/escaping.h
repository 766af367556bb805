#pragma once
// Texts of the user or of the disk (file names, topics, messages, field names) put into the
// languages the program writes. Each routine makes the text mean itself, and nothing more, in
// one place of one language; a text that goes through two languages (a link inside a script
// string) goes through both routines, inner language first.
#include <QString>
#include <QStringList>

namespace pw {

// Text between HTML tags: "&", "<" and ">" as entities, everything else as it is.
QString htmlText(const QString &text);

// An HTML attribute value between double or single quotes: "&", "<", ">", '"' and "'" as
// entities.
QString htmlAttribute(const QString &text);

// A relative link address made of path names (a directory, a file in it): each name
// percent-encoded where it would end the address, change what it points to or start a
// scheme (":" is encoded, so no name reads as "javascript:"), joined by "/". Characters
// beyond ASCII that print stay as they are.
QString urlPath(const QStringList &names);

// The inside of a JavaScript string literal in a script element, between double or single
// quotes: quotes, backslash and every line terminator (U+2028 and U+2029 included) as
// escapes, and "<" and ">" as escapes so that neither "</script" nor "<!--" reaches the
// page's parser. The string's value is the text itself. The same text is safe in a "//"
// comment, which it cannot end.
QString jsString(const QString &text);

// The inside of a VBScript string literal: a double quote doubled, and a line break (which
// would end the statement) closed off and joined back as vbCr or vbLf.
QString vbString(const QString &text);

// The inside of a PHP string literal in double quotes: backslash, '"' and "$" escaped, so
// no variable is read and no escape sequence applies.
QString phpString(const QString &text);

// One argument of a desktop entry's Exec value as it is written in the file: quoted by the
// entry's rules when it holds anything but plain characters, then its backslashes doubled
// (the value is a string) and "%" doubled (field codes), so the launcher passes the text.
QString desktopExecArgument(const QString &argument);

} // namespace pw
