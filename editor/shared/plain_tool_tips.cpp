#include "shared/plain_tool_tips.h"

#include <QEvent>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

namespace pw {

namespace {

class PlainToolTipFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::ToolTip || !watched->isWidgetType())
            return false;
        auto *widget = static_cast<QWidget *>(watched);
        const QString text = widget->toolTip();
        if (text.isEmpty())
            return false;
        const auto *help = static_cast<QHelpEvent *>(event);
        QToolTip::showText(help->globalPos(), plainToolTipHtml(text), widget, QRect(),
                           widget->toolTipDuration());
        return true;
    }
};

} // namespace

QString plainToolTipHtml(const QString &text)
{
    return QStringLiteral("<p style=\"white-space:pre\">%1</p>").arg(text.toHtmlEscaped());
}

void showToolTipsAsPlainText(QWidget *window)
{
    auto *filter = new PlainToolTipFilter(window);
    window->installEventFilter(filter);
    for (QWidget *widget : window->findChildren<QWidget *>())
        widget->installEventFilter(filter);
}

} // namespace pw
