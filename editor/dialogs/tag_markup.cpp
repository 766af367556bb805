#include "dialogs/tag_markup.h"

#include "shared/escaping.h"

#include <QRegularExpression>

#include <algorithm>

namespace pw {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QChar kQuote = QLatin1Char('"');

// Appends ` name="value"` when the field is filled.
void appendAttribute(QString &out, const char *name, const QString &field)
{
    if (field.isEmpty())
        return;
    out += QLatin1String(name) + kQuote + trimBlanks(field) + kQuote;
}

QString colourAttribute(const char *name, const QColor &colour)
{
    return QLatin1String(name) + kQuote + QLatin1Char('#') + sixDigitColour(colour) + kQuote;
}

// The locale's time with seconds but without the time zone, as a date-and-time line shows it.
QString timeWithSeconds(const QTime &time, const QLocale &locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b"));
    format.remove(zone);
    return locale.toString(time, format.trimmed());
}

} // namespace

QString trimBlanks(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

QString sixDigitColour(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return QStringLiteral("%1%2%3")
        .arg(rgb.red(), 2, 16, QLatin1Char('0'))
        .arg(rgb.green(), 2, 16, QLatin1Char('0'))
        .arg(rgb.blue(), 2, 16, QLatin1Char('0'))
        .toUpper();
}

QString tableMarkup(const TableFields &fields)
{
    QString out = QStringLiteral("<TABLE");
    appendAttribute(out, " Width=", fields.width);
    appendAttribute(out, " Border=", fields.borderWidth);
    appendAttribute(out, " CellSpacing=", fields.cellSpacing);
    appendAttribute(out, " CellPadding=", fields.cellPadding);
    appendAttribute(out, " Align=", fields.align);
    appendAttribute(out, " VAlign=", fields.vAlign);
    out += colourAttribute(" BgColor=", fields.background) + QLatin1Char('>') + kCrLf;
    if (!fields.caption.isEmpty())
        out += QStringLiteral("<CAPTION>") + trimBlanks(fields.caption)
               + QStringLiteral("</CAPTION>") + kCrLf;

    const int rows = std::clamp(fields.rows, 0, kTableStoreSize);
    const int columns = std::clamp(fields.columns, 0, kTableStoreSize);
    for (int r = 0; r < rows; ++r) {
        out += QStringLiteral("     <TR>") + kCrLf;
        // The first row is the table's header.
        const QString cell = r == 0 ? QStringLiteral("TH") : QStringLiteral("TD");
        for (int c = 0; c < columns; ++c)
            out += QStringLiteral("          <%1>%2</%1>").arg(cell, trimBlanks(fields.cells[r][c]))
                   + kCrLf;
        out += QStringLiteral("     </TR>") + kCrLf;
    }
    out += QStringLiteral("</TABLE>");
    return out;
}

QString imageTag(const ImageFields &fields)
{
    static const char *const kNames[] = {
        " Alt=", " Height=", " Width=", " HSpace=", " VSpace=", " Border=", " DynSrc=", " Loop="};
    QString out = QStringLiteral("<IMG Src=") + kQuote + trimBlanks(fields.attributes[0]) + kQuote;
    for (std::size_t k = 1; k < fields.attributes.size(); ++k)
        appendAttribute(out, kNames[k - 1], fields.attributes[k]);
    appendAttribute(out, " Align=", fields.align);
    appendAttribute(out, " Id=", fields.id);
    return out + QLatin1Char('>');
}

QString anchorMarkup(const AnchorFields &fields)
{
    QString out = QStringLiteral("<A HREF=") + kQuote + trimBlanks(fields.url) + kQuote;
    appendAttribute(out, " Target=", fields.target);
    appendAttribute(out, " Name=", fields.name);
    appendAttribute(out, " Id=", fields.id);
    if (fields.linkText.isEmpty())
        return out + QStringLiteral("></A>");
    return out + QLatin1Char('>') + trimBlanks(fields.linkText) + QStringLiteral("</A>");
}

QString commentMarkup(const QString &comments)
{
    return QStringLiteral("<!-- ") + trimBlanks(comments) + QStringLiteral(" -->");
}

QString ruleTag(const RuleFields &fields)
{
    QString out = QStringLiteral("<HR");
    appendAttribute(out, " Align=", fields.align);
    appendAttribute(out, " Size=", fields.size);
    appendAttribute(out, " Width=", fields.width);
    out += colourAttribute(" Color=", fields.colour);
    appendAttribute(out, " Id=", fields.id);
    return out + QLatin1Char('>');
}

QString marqueeMarkup(const MarqueeFields &fields)
{
    QString out = QStringLiteral("<MARQUEE");
    appendAttribute(out, " Height=", fields.height);
    appendAttribute(out, " Width=", fields.width);
    appendAttribute(out, " HSpace=", fields.hSpace);
    appendAttribute(out, " VSpace=", fields.vSpace);
    appendAttribute(out, " ScrollAmount=", fields.scrollAmount);
    appendAttribute(out, " ScrollDelay=", fields.scrollDelay);
    appendAttribute(out, " Align=", fields.align);
    appendAttribute(out, " Behavior=", fields.behavior);
    appendAttribute(out, " Direction=", fields.direction);
    appendAttribute(out, " Loop=", fields.loop);
    out += colourAttribute(" Color=", fields.colour);
    appendAttribute(out, " Id=", fields.id);
    // Without a text the tag stays open for the author to fill.
    if (fields.text.isEmpty())
        return out + QLatin1Char('>');
    return out + QLatin1Char('>') + trimBlanks(fields.text) + QStringLiteral("</MARQUEE>");
}

QString quotedColourValue(bool useName, const QString &name, const QColor &picked)
{
    if (useName)
        return kQuote + name + kQuote;
    return kQuote + QLatin1Char('#') + sixDigitColour(picked) + kQuote;
}

QString validationValue(const QString &value)
{
    const QString trimmed = trimBlanks(value);
    return trimmed.isEmpty() ? QStringLiteral("\"\"") : trimmed;
}

QString validationScript(const ValidationFields &fields)
{
    const bool vb = fields.language == ScriptLanguage::VBScript;
    QString op;
    switch (fields.comparison) {
    case Comparison::EqualTo:
        op = vb ? QStringLiteral("=") : QStringLiteral("==");
        break;
    case Comparison::NotEqualTo:
        op = vb ? QStringLiteral("<>") : QStringLiteral("!=");
        break;
    case Comparison::GreaterThan:
        op = QStringLiteral(">");
        break;
    case Comparison::LessThan:
        op = QStringLiteral("<");
        break;
    case Comparison::GreaterOrEqual:
        op = QStringLiteral(">=");
        break;
    case Comparison::LessOrEqual:
        op = QStringLiteral("<=");
        break;
    }
    const QString name = trimBlanks(fields.controlName);
    const QString value = validationValue(fields.value);
    const QString message = trimBlanks(fields.message);
    if (vb)
        return QStringLiteral("If ") + name + QStringLiteral(".Value") + op + value
               + QStringLiteral(" Then") + kCrLf + QStringLiteral("     Msgbox ") + kQuote
               + vbString(message) + kQuote + QStringLiteral(",0, \"Validation Error\"") + kCrLf
               + QStringLiteral("End If") + kCrLf;
    return QStringLiteral("if (") + name + QStringLiteral(".value") + op + value + QLatin1Char(')')
           + kCrLf + QStringLiteral("     {") + kCrLf + QStringLiteral("          alert('")
           + jsString(message) + QStringLiteral("')") + kCrLf + QStringLiteral("     }") + kCrLf;
}

QStringList dateRenderings(const QDateTime &now, const QLocale &locale)
{
    const QDate date = now.date();
    return {
        locale.toString(date, QLocale::LongFormat),
        locale.toString(date, QStringLiteral("dd-MMM-yy")),
        locale.toString(date, QLocale::ShortFormat),
        locale.toString(date, QLocale::ShortFormat) + QLatin1Char(' ')
            + timeWithSeconds(now.time(), locale),
        date.toString(QStringLiteral("MM/dd/yy")),
        date.toString(QStringLiteral("MM/dd/yyyy")),
        date.toString(QStringLiteral("MM-dd-yy")),
        date.toString(QStringLiteral("MM-dd-yyyy")),
        date.toString(QStringLiteral("MMddyy")),
        date.toString(QStringLiteral("MMddyyyy")),
    };
}

} // namespace pw
