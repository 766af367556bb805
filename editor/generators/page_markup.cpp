#include "generators/page_markup.h"

#include "shared/colour.h"

#include <QStringList>

#include <span>

namespace pw {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Every page starts alike; only the title differs.
QStringList pageHead(const QString &title)
{
    return {QStringLiteral("<HTML>"),
            QString(),
            QStringLiteral("<HEAD>"),
            QStringLiteral("     <TITLE>") + title + QStringLiteral("</TITLE>"),
            QStringLiteral("</HEAD>"),
            QString()};
}

// "#" and two upper-case hexadecimal digits each for red, green and blue.
QString hexColour(std::int32_t colour)
{
    QString hex = QStringLiteral("#");
    for (int part = 1; part <= 3; ++part)
        hex += QStringLiteral("%1").arg(rgbPart(colour, part), 2, 16, QLatin1Char('0')).toUpper();
    return hex;
}

// One line of a frameset layout: a frame, or any other line written as it is.
struct LayoutLine {
    const char *text;     // the line, or the name of the frame
    int frameIndent = -1; // a frame line when not negative: this many spaces before it
};

// The layouts differ in how the right side is split and in the empty line before the last
// "</FRAMESET>", which the second layout lacks.
// clang-format off
const LayoutLine kLayout1[] = {
    {"<FRAMESET COLS=120,*>"},
    {"NavFrame", 5},
    {"     <FRAMESET ROWS=*,*>"},
    {"MainContentsTop", 10},
    {"MainContentsBottom", 10},
    {"     </FRAMESET>"},
    {""},
    {"</FRAMESET>"},
};
const LayoutLine kLayout2[] = {
    {"<FRAMESET COLS=120,*>"},
    {"NavFrameLeft", 5},
    {"          <FRAMESET ROWS=*,*, 70>"},
    {"TopRight", 15},
    {"MidFrame", 15},
    {"NavFrameBottom", 15},
    {"          </FRAMESET>"},
    {"</FRAMESET>"},
};
const LayoutLine kLayout3[] = {
    {"<FRAMESET COLS=120,*>"},
    {"     <FRAMESET ROWS=15%,*>"},
    {"NavFrameTop", 10},
    {"NavFrameBottom", 10},
    {"     </FRAMESET>"},
    {"     <FRAMESET ROWS=*,*>"},
    {"MainContentsTop", 10},
    {"MainContentsBottom", 10},
    {"     </FRAMESET>"},
    {""},
    {"</FRAMESET>"},
};
// clang-format on

const std::span<const LayoutLine> kLayouts[kFramesetLayouts] = {kLayout1, kLayout2, kLayout3};

QString layoutLine(const LayoutLine &line)
{
    const QString text = QString::fromUtf8(line.text);
    if (line.frameIndent < 0)
        return text;
    return QString(line.frameIndent, QLatin1Char(' '))
           + QStringLiteral("<FRAME Src=\"dummy.html\" Name=\"%1\">").arg(text);
}

} // namespace

const char *pageColourName(int colour)
{
    static const char *const kNames[PageColourCount] = {"BgColor", "Text", "Link", "VLink",
                                                        "ALink"};
    return colour >= 0 && colour < PageColourCount ? kNames[colour] : "";
}

QString jumpStartPage(const PageFields &fields)
{
    QStringList colours;
    for (int k = 0; k < PageColourCount; ++k) {
        colours << QString::fromUtf8(pageColourName(k)) + QStringLiteral("=\"")
                       + hexColour(fields.colours[k]) + QLatin1Char('"');
    }
    QString body = QStringLiteral("<BODY ");
    if (!fields.backgroundImage.isEmpty())
        body += QStringLiteral("Background=\"") + fields.backgroundImage + QStringLiteral("\" ");
    body += colours.join(QLatin1Char(' ')) + QLatin1Char('>');

    QStringList lines = pageHead(fields.title);
    lines << body;
    for (int k = 0; k < 5; ++k)
        lines << QString();
    lines << QStringLiteral("</BODY>") << QStringLiteral("</HTML>");
    return lines.join(kCrLf);
}

QString framesetPage(int layout)
{
    if (layout < 1 || layout > kFramesetLayouts)
        return {};
    QStringList lines = pageHead(QString());
    for (const LayoutLine &line : kLayouts[layout - 1])
        lines << layoutLine(line);
    lines << QString()
          << QStringLiteral("<NOFRAMES>This Page Requires A Frames Capable Browser</NOFRAMES>")
          << QStringLiteral("</HTML>");
    return lines.join(kCrLf);
}

} // namespace pw
