#include "generators/js_menu_markup.h"

#include "shared/escaping.h"

#include <QRegularExpression>
#include <QStringList>

namespace pw {

namespace {

const QString kBreak = QStringLiteral("\r\n");

// A link sits in a single-quoted attribute of the markup that the script writes.
QString inLink(const QString &link)
{
    return jsString(htmlAttribute(link));
}

} // namespace

QString jsMenuPage(const QString &outline)
{
    QStringList page{
        QStringLiteral("<HTML>"),
        QStringLiteral("<HEAD><TITLE></TITLE></HEAD>"),
        QStringLiteral("<SCRIPT Language=JavaScript1.2 Src=resize.js></SCRIPT>"),
        QStringLiteral("<SCRIPT Language=JavaScript1.2 Src=list.js></SCRIPT>"),
        QStringLiteral("<SCRIPT Language=JavaScript1.2>"),
        QStringLiteral("     function init() {"),
        QStringLiteral("          var width, height=22;"),
        QStringLiteral("          if (isNav4) width = 3*window.innerWidth/4;"),
        QStringLiteral("          else width = 3*document.body.clientWidth/4;"),
        QStringLiteral("          myList = new List(true, width, height);"),
        QString(),
    };
    // One position holder per topic and two per sub-point, numbered from 0 to `layers`.
    int layers = 0;
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    const QStringList lines = outline.split(lineBreak);
    for (qsizetype number = 0; number < lines.size(); ++number) {
        if (lines[number].isEmpty())
            continue;
        const QStringList items = lines[number].split(u'|');
        const QString topic = items.first();
        const QString list = QStringLiteral("mySubList%1").arg(number);
        page << QStringLiteral("// ") + jsString(topic) << QString()
             << list + QStringLiteral(" = new List(false, width, height);");
        ++layers;
        for (qsizetype k = 1; k + 1 < items.size(); k += 2) {
            page << list
                        + QStringLiteral(".addItem(\"<A Target='_self' Href='%1' Style='text-"
                                         "decoration: none' onMouseOver='this.style."
                                         "textDecorationUnderline=true' onMouseOut='this.style."
                                         "textDecorationNone=true'>%2</A>\");")
                              .arg(inLink(items[k + 1]), jsString(items[k]));
            layers += 2;
        }
        page << QStringLiteral("myList.addList(%1,\"<B>%2</B>\");").arg(list, jsString(topic))
             << QString();
    }
    page << QStringLiteral("// Build The List") << QStringLiteral("myList.build(10,70); }")
         << QStringLiteral("</SCRIPT>") << QStringLiteral("<STYLE Type=\"text/css\">")
         << QStringLiteral("#Spacer{position: absolute;}");
    for (int k = 0; k <= layers; ++k)
        page << QStringLiteral("#lItem%1{position:absolute}").arg(k);
    page << QStringLiteral("</STYLE></HEAD>") << QString()
         << QStringLiteral("<BODY onLoad='init();'>")
         << QStringLiteral("<DIV ID=Spacer Name=Spacer></DIV>") << QString();
    for (int k = 0; k <= layers; ++k)
        page << QStringLiteral("<DIV ID=\"lItem%1\" Name=\"lItem%1\"></DIV>").arg(k);
    page << QStringLiteral("</BODY></HTML>");
    return page.join(kBreak);
}

QString jsMenuFormatHelp()
{
    return QStringList{
        QStringLiteral("Here Is The Format For The Text File:"),
        QString(),
        QStringLiteral("\"Topic 1|SubPoint 1|Link For Subpoint 1|etc...\""),
        QStringLiteral("\"Topic 2|SubPoint 1|Link For Subpoint 1|etc...\""),
        QString(),
        QString(),
        QStringLiteral("Here Is An Example:"),
        QString(),
        QStringLiteral("\"Download Sites|Example Mirror|https://mirror.example.org/|Example "
                       "Archive|https://archive.example.net/\""),
    }
        .join(kBreak);
}

} // namespace pw
