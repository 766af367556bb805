#include "shell/editor_behaviours.h"

#include "document/feature_context.h"
#include "files/paths.h"
#include "shared/edit_box.h"
#include "shared/file_panes.h"
#include "shared/insertion.h"
#include "shared/platform.h"
#include "shared/program_state.h"
#include "shared/settings_store.h"

#include <QImageReader>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QUrl>

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
    QFont font(settings.read(kFonts, QStringLiteral("Name"), QStringLiteral("Arial")));
    bool ok = false;
    const double size =
        settings.read(kFonts, QStringLiteral("Size"), QStringLiteral("12")).toDouble(&ok);
    font.setPointSizeF(ok && size > 0 ? size : 12.0);
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

bool dropPicture(FeatureContext &context, const QMimeData &data)
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
    insertAround(context.edit, droppedPictureTag(name, size), QStringLiteral("</IMG>"));
    return true;
}

} // namespace pw
