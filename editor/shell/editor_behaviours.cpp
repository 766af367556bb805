#include "shell/editor_behaviours.h"

#include "document/feature_context.h"
#include "files/paths.h"
#include "shared/edit_box.h"
#include "shared/file_panes.h"
#include "shared/insertion.h"
#include "shared/platform.h"
#include "shared/program_state.h"
#include "shared/settings_store.h"

#include <QFontDatabase>
#include <QImageReader>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QUrl>

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace pw {

namespace {

const QString kFonts = QStringLiteral("Fonts");

} // namespace

double leadingNumber(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i].isSpace())
        ++i;
    const qsizetype start = i;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    while (i < n && text[i] >= u'0' && text[i] <= u'9')
        ++i;
    if (i < n && text[i] == u'.') {
        ++i;
        while (i < n && text[i] >= u'0' && text[i] <= u'9')
            ++i;
    }
    bool ok = false;
    const double value = QStringView(text).mid(start, i - start).toDouble(&ok);
    return ok ? value : 0.0;
}

void goToLine(FeatureContext &context)
{
    const QString answer = context.platform.inputBox(QStringLiteral("Enter Line Number To Jump To"),
                                                     QStringLiteral("Jump To Line"), QString());
    const double number = leadingNumber(answer);
    // Lines are whole numbers: a fraction names none.
    if (answer.isEmpty() || number < 1 || number != std::floor(number))
        return;
    const double target = number - 1;
    if (target >= context.edit.lineCount())
        return;
    context.edit.setCaret(context.edit.lineStart(int(target)));
    context.edit.widget()->ensureCursorVisible();
    context.edit.widget()->setFocus();
}

QFont storedDisplayFont(const SettingsStore &settings)
{
    // With no font stored the box shows the system's fixed-pitch font, so source lines up.
    const QString name = settings.read(kFonts, QStringLiteral("Name"), QString());
    QFont font = name.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QFont(name);
    bool ok = false;
    const double size =
        settings.read(kFonts, QStringLiteral("Size"), QStringLiteral("12")).toDouble(&ok);
    // A size no one could read or work with (a hand-edited file, a slip of the font
    // dialog) would cost the whole window its layout: kept within 4 to 96 points.
    font.setPointSizeF(ok && std::isfinite(size) ? std::clamp(size, 4.0, 96.0) : 12.0);
    font.setBold(settings.readBool(kFonts, QStringLiteral("Bold"), false));
    font.setItalic(settings.readBool(kFonts, QStringLiteral("Italic"), false));
    font.setUnderline(settings.readBool(kFonts, QStringLiteral("Underline"), false));
    font.setStrikeOut(settings.readBool(kFonts, QStringLiteral("Strikethru"), false));
    return font;
}

void storeDisplayFont(SettingsStore &settings, const QFont &font)
{
    // A font given in pixels has no point size; at 96 dots per inch a pixel is 3/4 point.
    const double size = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 0.75;
    settings.writeBool(kFonts, QStringLiteral("Bold"), font.bold());
    settings.writeBool(kFonts, QStringLiteral("Strikethru"), font.strikeOut());
    settings.write(kFonts, QStringLiteral("Name"), font.family());
    settings.write(kFonts, QStringLiteral("Size"), QString::number(size));
    settings.writeBool(kFonts, QStringLiteral("Underline"), font.underline());
    settings.writeBool(kFonts, QStringLiteral("Italic"), font.italic());
    settings.sync();
}

void chooseDisplayFont(FeatureContext &context)
{
    QPlainTextEdit *box = context.edit.widget();
    const std::optional<QFont> chosen = context.platform.chooseFont(box->font());
    box->setFocus();
    if (!chosen)
        return;
    box->setFont(*chosen);
    storeDisplayFont(context.settings, *chosen);
}

QString droppedPictureTag(const QString &name, std::optional<QSize> size)
{
    QString tag = QStringLiteral("<IMG Src=\"%1\"").arg(name);
    if (size) {
        tag += QStringLiteral(" Width=\"%1\" Height=\"%2\"")
                   .arg(QString::number(size->width()), QString::number(size->height()));
    }
    return tag + QStringLiteral(" Border=\"0\">");
}

bool dropPicture(FeatureContext &context, const QMimeData &data, std::optional<int> at)
{
    const QString format = QString::fromLatin1(kPictureDragFormat);
    if (!data.hasFormat(format))
        return false;
    const QString name = QString::fromUtf8(data.data(format)).trimmed();
    if (!isDraggablePicture(name))
        return true;
    QString path = data.urls().value(0).toLocalFile();
    if (path.isEmpty())
        path = joinPath(context.paneDirectory(), name);
    std::optional<QSize> size;
    if (context.state.heightWidth) {
        // A picture that cannot be read has no size to give: Width="0" would hide it.
        QImageReader reader(path);
        QSize measured = reader.size();
        if (!measured.isValid())
            measured = reader.read().size();
        if (measured.isValid() && !measured.isEmpty())
            size = measured;
    }
    EditBox &edit = context.edit;
    if (at && (*at < edit.selStart() || *at > edit.selStart() + edit.selLength()))
        edit.setCaret(*at);
    insertAround(edit, droppedPictureTag(name, size), QStringLiteral("</IMG>"));
    return true;
}

QString indentedLines(const QString &lines, bool outdent)
{
    QStringList result = lines.split(QStringLiteral("\r\n"));
    for (QString &line : result) {
        if (!outdent) {
            if (!line.isEmpty())
                line.prepend(kIndent);
            continue;
        }
        qsizetype blanks = 0;
        while (blanks < kIndent.size() && blanks < line.size() && line.at(blanks) == u' ')
            ++blanks;
        line.remove(0, blanks);
    }
    return result.join(QStringLiteral("\r\n"));
}

bool indentLines(EditBox &edit, bool outdent)
{
    const int start = edit.selStart();
    const int end = start + edit.selLength();
    const int firstLine = edit.lineOfPosition(start);
    int lastLine = edit.lineOfPosition(end);
    if (lastLine > firstLine && edit.lineStart(lastLine) == end)
        --lastLine;
    const int from = edit.lineStart(firstLine);
    const int to =
        lastLine + 1 < edit.lineCount() ? edit.lineStart(lastLine + 1) - 2 : edit.length();
    const QString lines = edit.textBetween(from, to);
    const QString changed = indentedLines(lines, outdent);
    if (changed == lines)
        return false;
    const bool selected = end > start;
    const int caret = edit.caret();
    edit.setSelection(from, to - from);
    edit.replaceSelection(changed);
    if (selected) {
        edit.setSelection(from, static_cast<int>(changed.size()));
    } else {
        // One line: the caret keeps its place in the line's text.
        edit.setCaret(std::max(from, caret + static_cast<int>(changed.size() - lines.size())));
    }
    return true;
}

} // namespace pw
