#include "shell/encoding_menus.h"

#include "document/document.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>

namespace pw {

namespace {

// The character sets a user may choose; the captions are the status line's names for them.
struct CharsetChoice {
    const char *name; // objectName suffix
    Charset charset;
    bool bom;
};
constexpr CharsetChoice kCharsets[] = {
    {"Utf8", Charset::Utf8, false},
    {"Utf8Bom", Charset::Utf8, true},
    {"Windows1252", Charset::Windows1252, false},
    {"Iso88591", Charset::Iso88591, false},
    {"Iso885915", Charset::Iso885915, false},
};

struct LineChoice {
    const char *name;
    LineStyle style;
};
constexpr LineChoice kLineStyles[] = {
    {"CrLf", LineStyle::CrLf}, {"Lf", LineStyle::Lf}, {"Cr", LineStyle::Cr}};

QString captionOf(const CharsetChoice &choice)
{
    TextEncoding encoding;
    encoding.charset = choice.charset;
    encoding.bom = choice.bom;
    return charsetName(encoding);
}

} // namespace

EncodingMenus::EncodingMenus(Document &document, QLabel *encodingField, QLabel *lineBreaksField,
                             QWidget *window)
    : QObject(window), document_(document), encodingField_(encodingField),
      lineBreaksField_(lineBreaksField), encodingMenu_(new QMenu(window)),
      lineBreaksMenu_(new QMenu(window)), reopenMenu_(new QMenu(window))
{
    setObjectName(QStringLiteral("encodingMenus"));
    encodingMenu_->setObjectName(QStringLiteral("mnuEncodingChoice"));
    lineBreaksMenu_->setObjectName(QStringLiteral("mnuLineBreaksChoice"));
    reopenMenu_->setObjectName(QStringLiteral("mnuReopenChoice"));
    auto *charsets = new QActionGroup(encodingMenu_);
    for (const CharsetChoice &choice : kCharsets) {
        const QString suffix = QString::fromUtf8(choice.name);
        QAction *item = encodingMenu_->addAction(captionOf(choice));
        item->setObjectName(QStringLiteral("mnuEncoding") + suffix);
        item->setCheckable(true);
        charsets->addAction(item);
        connect(item, &QAction::triggered, this,
                [this, choice] { document_.setCharset(choice.charset, choice.bom); });
        QAction *reopen = reopenMenu_->addAction(captionOf(choice));
        reopen->setObjectName(QStringLiteral("mnuReopen") + suffix);
        connect(reopen, &QAction::triggered, this,
                [this, choice] { document_.reopenAs(choice.charset, choice.bom); });
    }
    auto *styles = new QActionGroup(lineBreaksMenu_);
    for (const LineChoice &choice : kLineStyles) {
        QAction *item = lineBreaksMenu_->addAction(lineStyleName(choice.style));
        item->setObjectName(QStringLiteral("mnuLineBreaks") + QString::fromUtf8(choice.name));
        item->setCheckable(true);
        styles->addAction(item);
        connect(item, &QAction::triggered, this,
                [this, choice] { document_.setLineStyle(choice.style); });
    }
    for (QLabel *field : {encodingField_, lineBreaksField_}) {
        field->installEventFilter(this);
        field->setCursor(Qt::PointingHandCursor);
    }
    encodingField_->setToolTip(QStringLiteral("The encoding the next Save writes"));
    lineBreaksField_->setToolTip(QStringLiteral("The line breaks the next Save writes"));
    connect(encodingMenu_, &QMenu::aboutToShow, this, &EncodingMenus::checkCurrent);
    connect(lineBreaksMenu_, &QMenu::aboutToShow, this, &EncodingMenus::checkCurrent);
    connect(&document_, &Document::encodingChanged, this, &EncodingMenus::checkCurrent);
    connect(&document_, &Document::identityChanged, this, &EncodingMenus::checkCurrent);
    checkCurrent();
}

void EncodingMenus::checkCurrent()
{
    const TextEncoding &encoding = document_.encoding();
    const bool open = document_.isOpen();
    const QString current = charsetName(encoding);
    for (QAction *item : encodingMenu_->actions()) {
        item->setEnabled(open);
        item->setChecked(open && item->text() == current);
    }
    const QString lines = encoding.mixedLines ? QString() : lineStyleName(encoding.lines);
    for (QAction *item : lineBreaksMenu_->actions()) {
        item->setEnabled(open);
        item->setChecked(open && item->text() == lines);
    }
    for (QAction *item : reopenMenu_->actions())
        item->setEnabled(!document_.path().isEmpty());
}

void EncodingMenus::popup(QMenu *menu, QLabel *field)
{
    checkCurrent();
    // Above the field: the status line is the window's bottom edge.
    const QPoint corner = field->mapToGlobal(QPoint(0, 0));
    menu->popup(corner - QPoint(0, menu->sizeHint().height()));
}

void EncodingMenus::popupEncoding()
{
    popup(encodingMenu_, encodingField_);
}

void EncodingMenus::popupLineBreaks()
{
    popup(lineBreaksMenu_, lineBreaksField_);
}

void EncodingMenus::popupReopen()
{
    popup(reopenMenu_, encodingField_);
}

bool EncodingMenus::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == encodingField_)
            popupEncoding();
        else if (watched == lineBreaksField_)
            popupLineBreaks();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace pw
