#include "shared/escaping.h"

#include <QUrl>

namespace pw {

namespace {

// Code points that some parser takes as the end of a line.
bool isLineTerminator(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029 || c == 0x85;
}

bool isControl(char16_t c)
{
    return c < 0x20 || (c >= 0x7f && c < 0xa0);
}

QString hexEscape(char16_t c, const char *prefix, int digits)
{
    return QLatin1String(prefix)
           + QString::number(c, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

} // namespace

QString htmlText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += QLatin1String("&amp;");
            break;
        case u'<':
            out += QLatin1String("&lt;");
            break;
        case u'>':
            out += QLatin1String("&gt;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString htmlAttribute(const QString &text)
{
    QString out = htmlText(text);
    out.replace(QLatin1Char('"'), QLatin1String("&quot;"));
    out.replace(QLatin1Char('\''), QLatin1String("&#39;"));
    return out;
}

QString urlPath(const QStringList &names)
{
    static const QString breaking = QStringLiteral(" \"#%&'<>?\\:/`{}|^[]");
    QStringList parts;
    for (const QString &name : names) {
        QString part;
        part.reserve(name.size());
        for (const QChar c : name) {
            const char16_t u = c.unicode();
            if (isControl(u) || isLineTerminator(u) || breaking.contains(c) || u == 0xfeff)
                part += QString::fromLatin1(QUrl::toPercentEncoding(QString(c)));
            else
                part += c;
        }
        parts << part;
    }
    return parts.join(QLatin1Char('/'));
}

QString jsString(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case u'\\':
            out += QLatin1String("\\\\");
            break;
        case u'"':
            out += QLatin1String("\\\"");
            break;
        case u'\'':
            out += QLatin1String("\\'");
            break;
        case u'\n':
            out += QLatin1String("\\n");
            break;
        case u'\r':
            out += QLatin1String("\\r");
            break;
        case u'<':
        case u'>':
            out += hexEscape(u, "\\x", 2);
            break;
        default:
            if (isControl(u))
                out += hexEscape(u, "\\x", 2);
            else if (isLineTerminator(u))
                out += hexEscape(u, "\\u", 4);
            else
                out += c;
        }
    }
    return out;
}

QString vbString(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'"')
            out += QLatin1String("\"\"");
        else if (c == u'\r')
            out += QLatin1String("\" & vbCr & \"");
        else if (c == u'\n')
            out += QLatin1String("\" & vbLf & \"");
        else
            out += c;
    }
    return out;
}

QString phpString(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\' || c == u'"' || c == u'$')
            out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

QString desktopExecArgument(const QString &argument)
{
    static const QString plain =
        QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/._-+,=@");
    bool quoted = argument.isEmpty();
    for (const QChar c : argument)
        quoted |= !plain.contains(c);
    QString out;
    if (quoted) {
        // Inside the quotes, these four are the only ones the launcher takes specially.
        out += QLatin1Char('"');
        for (const QChar c : argument) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                out += QLatin1Char('\\');
            out += c;
        }
        out += QLatin1Char('"');
    } else {
        out = argument;
    }
    // The value is then read as a string of the entry, where a backslash escapes, and as a
    // command line, where "%" starts a field code.
    QString written;
    written.reserve(out.size());
    for (const QChar c : out) {
        switch (c.unicode()) {
        case u'\\':
            written += QLatin1String("\\\\");
            break;
        case u'%':
            written += QLatin1String("%%");
            break;
        case u'\n':
            written += QLatin1String("\\n");
            break;
        case u'\r':
            written += QLatin1String("\\r");
            break;
        case u'\t':
            written += QLatin1String("\\t");
            break;
        default:
            written += c;
        }
    }
    return written;
}

} // namespace pw
