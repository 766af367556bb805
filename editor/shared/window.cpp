#include "shared/window.h"

#include <QWidget>

namespace pw {

void keepOnTop(QWidget *window, bool onTop)
{
    if (!window)
        return;
    window = window->window();
    if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop)
        return;
    // Changing a window flag re-creates the native window and hides it: show it again
    // where it was, without taking the focus from the window the user is working in.
    const bool visible = window->isVisible();
    const QRect geometry = window->geometry();
    const bool withoutActivating = window->testAttribute(Qt::WA_ShowWithoutActivating);
    window->setAttribute(Qt::WA_ShowWithoutActivating, true);
    window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (visible)
        window->show();
    window->setGeometry(geometry);
    window->setAttribute(Qt::WA_ShowWithoutActivating, withoutActivating);
}

QWidget *shownChildWindow(QWidget *parent, const QString &name)
{
    if (!parent)
        return nullptr;
    QWidget *shown = nullptr;
    for (QWidget *candidate : parent->findChildren<QWidget *>(name, Qt::FindDirectChildrenOnly)) {
        if (candidate->isVisible())
            shown = candidate;
    }
    return shown;
}

void bringToFront(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace pw
