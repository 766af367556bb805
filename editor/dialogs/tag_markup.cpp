#include "dialogs/tag_markup.h"

#include <QRegularExpression>

#include <algorithm>

namespace pw {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QChar kQuote = QLatin1Char('"');

// Appends ` name="value"` when the field is filled.
void AppendAttribute(QString &out, const char *name, const QString &field)
{
    if (field.isEmpty())
        return;
    out += QLatin1String(name) + kQuote + TrimBlanks(field) + kQuote;
}

QString ColourAttribute(const char *name, const QColor &colour)
{
    return QLatin1String(name) + kQuote + QLatin1Char('#') + SixDigitColour(colour) + kQuote;
}

// The locale's time with seconds but without the time zone, as a date-and-time line shows it.
QString TimeWithSeconds(const QTime &time, const QLocale &locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b"));
    format.remove(zone);
    return locale.toString(time, format.trimmed());
}

} // namespace

QString TrimBlanks(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

QString SixDigitColour(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return QStringLiteral("%1%2%3")
        .arg(rgb.red(), 2, 16, QLatin1Char('0'))
        .arg(rgb.green(), 2, 16, QLatin1Char('0'))
        .arg(rgb.blue(), 2, 16, QLatin1Char('0'))
        .toUpper();
}

QString TableMarkup(const TableFields &fields)
{
    QString out = QStringLiteral("<TABLE");
    AppendAttribute(out, " Width=", fields.width);
    AppendAttribute(out, " Border=", fields.borderWidth);
    AppendAttribute(out, " CellSpacing=", fields.cellSpacing);
    AppendAttribute(out, " CellPadding=", fields.cellPadding);
    AppendAttribute(out, " Align=", fields.align);
    AppendAttribute(out, " VAlign=", fields.vAlign);
    out += ColourAttribute(" BackColor=", fields.background) + QLatin1Char('>') + kCrLf;
    if (!fields.caption.isEmpty())
        out += QStringLiteral("<CAPTION>") + TrimBlanks(fields.caption)
               + QStringLiteral("</CAPTION>") + kCrLf;

    const int rows = std::clamp(fields.rows, 0, kTableStoreSize);
    const int columns = std::clamp(fields.columns, 0, kTableStoreSize);
    for (int r = 0; r < rows; ++r) {
        out += QStringLiteral("     <TR>") + kCrLf;
        // The first row is the table's header.
        const QString cell = r == 0 ? QStringLiteral("TH") : QStringLiteral("TD");
        for (int c = 0; c < columns; ++c)
            out += QStringLiteral("          <%1>%2</%1>").arg(cell, TrimBlanks(fields.cells[r][c]))
                   + kCrLf;
        out += QStringLiteral("     </TR>") + kCrLf;
    }
    out += QStringLiteral("</TABLE>");
    return out;
}

QString ImageTag(const ImageFields &fields)
{
    static const char *const kNames[] = {
        " Alt=", " Height=", " Width=", " HSpace=", " VSpace=", " Border=", " DynSrc=", " Loop="};
    QString out = QStringLiteral("<IMG Src=") + kQuote + TrimBlanks(fields.attributes[0]) + kQuote;
    for (std::size_t k = 1; k < fields.attributes.size(); ++k)
        AppendAttribute(out, kNames[k - 1], fields.attributes[k]);
    AppendAttribute(out, " Align=", fields.align);
    AppendAttribute(out, " Id=", fields.id);
    return out + QLatin1Char('>');
}

QString AnchorMarkup(const AnchorFields &fields)
{
    QString out = QStringLiteral("<A HREF=") + kQuote + TrimBlanks(fields.url) + kQuote;
    AppendAttribute(out, " Target=", fields.target);
    AppendAttribute(out, " Name=", fields.name);
    AppendAttribute(out, " Id=", fields.id);
    if (fields.linkText.isEmpty())
        return out + QStringLiteral("></A>");
    return out + QLatin1Char('>') + TrimBlanks(fields.linkText) + QStringLiteral("</A>");
}

QString CommentMarkup(const QString &comments)
{
    return QStringLiteral("<!-- ") + TrimBlanks(comments) + QStringLiteral(" -->");
}

QString RuleTag(const RuleFields &fields)
{
    QString out = QStringLiteral("<HR");
    AppendAttribute(out, " Align=", fields.align);
    AppendAttribute(out, " Size=", fields.size);
    AppendAttribute(out, " Width=", fields.width);
    out += ColourAttribute(" Color=", fields.colour);
    AppendAttribute(out, " Id=", fields.id);
    return out + QLatin1Char('>');
}

QString MarqueeMarkup(const MarqueeFields &fields)
{
    QString out = QStringLiteral("<MARQUEE");
    AppendAttribute(out, " Height=", fields.height);
    AppendAttribute(out, " Width=", fields.width);
    AppendAttribute(out, " HSpace=", fields.hSpace);
    AppendAttribute(out, " VSpace=", fields.vSpace);
    AppendAttribute(out, " ScrollAmount=", fields.scrollAmount);
    AppendAttribute(out, " ScrollDelay=", fields.scrollDelay);
    AppendAttribute(out, " Align=", fields.align);
    AppendAttribute(out, " Behavior=", fields.behavior);
    AppendAttribute(out, " Direction=", fields.direction);
    AppendAttribute(out, " Loop=", fields.loop);
    out += ColourAttribute(" Color=", fields.colour);
    AppendAttribute(out, " Id=", fields.id);
    // Without a text the tag stays open for the author to fill.
    if (fields.text.isEmpty())
        return out + QLatin1Char('>');
    return out + QLatin1Char('>') + TrimBlanks(fields.text) + QStringLiteral("</MARQUEE>");
}

QString QuotedColourValue(bool useName, const QString &name, const QColor &picked)
{
    if (useName)
        return kQuote + name + kQuote;
    return kQuote + QLatin1Char('#') + SixDigitColour(picked) + kQuote;
}

QString ValidationValue(const QString &value)
{
    const QString trimmed = TrimBlanks(value);
    return trimmed.isEmpty() ? QStringLiteral("\"\"") : trimmed;
}

QString ValidationScript(const ValidationFields &fields)
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
    const QString name = TrimBlanks(fields.controlName);
    const QString value = ValidationValue(fields.value);
    const QString message = TrimBlanks(fields.message);
    if (vb)
        return QStringLiteral("If ") + name + QStringLiteral(".Value") + op + value
               + QStringLiteral(" Then") + kCrLf + QStringLiteral("     Msgbox ") + kQuote + message
               + kQuote + QStringLiteral(",0, \"Validation Error\"") + kCrLf
               + QStringLiteral("End If") + kCrLf;
    return QStringLiteral("if (") + name + QStringLiteral(".value") + op + value + QLatin1Char(')')
           + kCrLf + QStringLiteral("     {") + kCrLf + QStringLiteral("          alert('")
           + message + QStringLiteral("')") + kCrLf + QStringLiteral("     }") + kCrLf;
}

QStringList DateRenderings(const QDateTime &now, const QLocale &locale)
{
    const QDate date = now.date();
    return {
        locale.toString(date, QLocale::LongFormat),
        locale.toString(date, QStringLiteral("dd-MMM-yy")),
        locale.toString(date, QLocale::ShortFormat),
        locale.toString(date, QLocale::ShortFormat) + QLatin1Char(' ')
            + TimeWithSeconds(now.time(), locale),
        date.toString(QStringLiteral("MM/dd/yy")),
        date.toString(QStringLiteral("MM/dd/yyyy")),
        date.toString(QStringLiteral("MM-dd-yy")),
        date.toString(QStringLiteral("MM-dd-yyyy")),
        date.toString(QStringLiteral("MMddyy")),
        date.toString(QStringLiteral("MMddyyyy")),
    };
}

} // namespace pw
