#include "generators/listing_markup.h"

#include "files/paths.h"
#include "shared/escaping.h"

namespace pw {

namespace {

const QString kBreak = QStringLiteral("\r\n");

// The mouse-over underlining of a link: with double quotes in the list formats, with single
// quotes in the menu, whose links sit inside a script's double-quoted string.
const QString kListUnderline =
    QStringLiteral(" style=\"text-decoration: none\" "
                   "onMouseOver=\"this.style.textDecorationUnderline=true\" "
                   "onMouseOut=\"this.style.textDecorationNone=true\"");
const QString kMenuUnderline =
    QStringLiteral(" style='text-decoration: none' "
                   "onMouseOver='this.style.textDecorationUnderline=true' "
                   "onMouseOut='this.style.textDecorationNone=true'");

// Inside the menu's script lines.
const QString kMenuIndent = QString(13, u' ');

// A name as text inside the menu's double-quoted script strings, which the menu then writes
// into the page as markup.
QString menuText(const QString &name)
{
    return jsString(htmlText(name));
}

QString listPage(ListingFormat format, const QList<ListingSubdirectory> &subdirectories,
                 bool underline)
{
    const QString u2 = underline ? kListUnderline : QString();
    auto link = [&](const ListingSubdirectory &sub, const QString &file) {
        return QStringLiteral("<A HREF=\"") + listingLinkAddress(sub.name, file)
               + QStringLiteral("\" ") + u2 + u'>' + htmlText(file) + QStringLiteral("</A> <BR>");
    };
    QString page =
        QStringLiteral("<HTML>\r\n<HEAD>\r\n     <TITLE></TITLE>\r\n</HEAD>\r\n<BODY>\r\n");
    if (format == ListingFormat::IndentedList) {
        const QString indent = QStringLiteral("&nbsp;").repeated(9) + u' ';
        for (const ListingSubdirectory &sub : subdirectories) {
            page +=
                QStringLiteral("<B>") + htmlText(sub.name) + QStringLiteral("</B> <BR>") + kBreak;
            for (const QString &file : sub.files)
                page += indent + link(sub, file) + kBreak;
        }
    } else {
        const QString tag =
            format == ListingFormat::OrderedList ? QStringLiteral("OL") : QStringLiteral("UL");
        page += u'<' + tag + u'>' + kBreak;
        for (const ListingSubdirectory &sub : subdirectories) {
            page += QStringLiteral("   <LI><B>") + htmlText(sub.name) + QStringLiteral("</B> <BR>")
                    + kBreak;
            if (sub.files.isEmpty())
                continue;
            page += QStringLiteral("     <UL>") + kBreak;
            for (const QString &file : sub.files)
                page += QString(10, u' ') + QStringLiteral("<LI>") + link(sub, file) + kBreak;
            page += QStringLiteral("     </UL>") + kBreak;
        }
        page += QStringLiteral("</") + tag + u'>' + kBreak;
    }
    page += QStringLiteral("</BODY>\r\n</HTML>");
    return page;
}

QString menuPage(const QList<ListingSubdirectory> &subdirectories, bool underline)
{
    const QString u1 = underline ? kMenuUnderline : QString();
    QString page = QStringLiteral("<HTML>\r\n<HEAD>\r\n<TITLE></TITLE>\r\n"
                                  "<SCRIPT Language=\"JavaScript1.2\" Src=\"list.js\"></Script>\r\n"
                                  "<SCRIPT Language=\"JavaScript1.2\">\r\n"
                                  "      function init() {\r\n");
    page += kMenuIndent
            + QStringLiteral("var width = 3 * document.body.clientWidth / 4, height = 22;")
            + kBreak;
    page += kMenuIndent + QStringLiteral("myList = new List(true, width, height);") + kBreak;
    // Every entry of the menu, heading or link, takes one layer on the page, and so does
    // every sub-list.
    int subLists = 0;
    int layers = 0;
    for (const ListingSubdirectory &sub : subdirectories) {
        ++layers;
        const QString heading =
            QStringLiteral("\"<B>") + menuText(sub.name) + QStringLiteral("</B>\");");
        if (sub.files.isEmpty()) {
            page += kMenuIndent + QStringLiteral("myList.addItem(") + heading + kBreak;
            ++layers;
            continue;
        }
        ++subLists;
        const QString list = QStringLiteral("mySubList") + QString::number(subLists);
        page += kMenuIndent + list + QStringLiteral(" = new List(false, width, height);") + kBreak;
        ++layers;
        for (const QString &file : sub.files) {
            page += kMenuIndent + list + QStringLiteral(".addItem(\"<A Target=_self HREF='")
                    + jsString(listingLinkAddress(sub.name, file)) + QStringLiteral("' ") + u1
                    + u'>' + menuText(nameWithoutExtension(file)) + QStringLiteral("</A>\");")
                    + kBreak;
            ++layers;
        }
        page += kMenuIndent + QStringLiteral("myList.addList(") + list + u',' + heading + kBreak;
    }
    page += kMenuIndent + QStringLiteral("myList.build(25,25); }") + kBreak;
    page += QStringLiteral("</SCRIPT>\r\n<STYLE TYPE=\"text/css\">\r\n");
    for (int k = 0; k < layers; ++k)
        page += QStringLiteral("#lItem%1{ position:absolute; }").arg(k) + kBreak;
    page += QStringLiteral("\r\n</Style>\r\n</HEAD>\r\n<BODY onLoad=\"init();\">\r\n");
    for (int k = 0; k < layers; ++k)
        page += QStringLiteral("<DIV ID=\"lItem%1\" NAME=\"lItem%1\"></DIV>").arg(k) + kBreak;
    page += QStringLiteral("</BODY>\r\n</HTML>");
    return page;
}

} // namespace

std::optional<ListingFormat> listingFormatOf(const QString &style)
{
    if (style.isEmpty() || style == QLatin1String("EMenu"))
        return ListingFormat::ExpandableMenu;
    if (style == QLatin1String("IList"))
        return ListingFormat::IndentedList;
    if (style == QLatin1String("UList"))
        return ListingFormat::UnorderedList;
    if (style == QLatin1String("OList"))
        return ListingFormat::OrderedList;
    return std::nullopt;
}

QString listingStyleOf(ListingFormat format)
{
    switch (format) {
    case ListingFormat::ExpandableMenu:
        return QStringLiteral("EMenu");
    case ListingFormat::IndentedList:
        return QStringLiteral("IList");
    case ListingFormat::UnorderedList:
        return QStringLiteral("UList");
    case ListingFormat::OrderedList:
        return QStringLiteral("OList");
    }
    return QString();
}

QString listingPage(ListingFormat format, const QList<ListingSubdirectory> &subdirectories,
                    bool underline)
{
    if (format == ListingFormat::ExpandableMenu)
        return menuPage(subdirectories, underline);
    return listPage(format, subdirectories, underline);
}

QString listingLinkAddress(const QString &directory, const QString &file)
{
    return urlPath({directory, file});
}

} // namespace pw
