#pragma once
// Directory listing pages: one HTML page that lists every subdirectory of a chosen directory
// as a heading and every file in it as a link, in one of four formats. The builder is pure:
// the names in, the page text out.
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace pw {

enum class ListingFormat { ExpandableMenu, IndentedList, UnorderedList, OrderedList };

// The format a `listingStyle` value names: "EMenu", "IList", "UList", "OList"; an empty
// value is the menu. Nothing for any other value.
std::optional<ListingFormat> listingFormatOf(const QString &style);
// The `listingStyle` value of a format.
QString listingStyleOf(ListingFormat format);

// One subdirectory of the chosen directory: its name and its files' names, in the order
// they are listed.
struct ListingSubdirectory {
    QString name;
    QStringList files;
};

// The page text with CR LF line breaks; the last line has no break of its own (the writer
// adds it). `underline` adds the mouse-over underlining attributes to every link.
QString listingPage(ListingFormat format, const QList<ListingSubdirectory> &subdirectories,
                    bool underline);

// A relative link address to `directory`/`file`: each name percent-encoded where it would
// end the address, change what it points to or read as a scheme (":"); every other character
// is kept as it is.
QString listingLinkAddress(const QString &directory, const QString &file);

// The files the menu format's page needs beside it, copied from the program folder.
inline const QStringList kListingSupportFiles = {
    QStringLiteral("true.gif"), QStringLiteral("false.gif"), QStringLiteral("list.js")};

} // namespace pw
