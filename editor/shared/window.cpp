#include "shared/window.h"

#include <algorithm>

#include <QPlainTextEdit>
#include <QScreen>
#include <QTextCursor>
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

void moveClearOf(QWidget *window, const QRect &area)
{
    if (!window || area.isEmpty())
        return;
    window = window->window();
    if (!window->isVisible() && !window->testAttribute(Qt::WA_Moved)) {
        // Not shown yet: it would open centred over its parent; start from there.
        window->adjustSize();
        if (const QWidget *parent = window->parentWidget()) {
            const QRect over = parent->window()->frameGeometry();
            window->move(over.center() - QPoint(window->width() / 2, window->height() / 2));
        }
    }
    const QRect frame = window->frameGeometry();
    if (!frame.intersects(area))
        return;
    const QScreen *screen = window->screen();
    const QRect room = screen ? screen->availableGeometry() : area.united(frame);
    const int gap = 8;
    // Keeps the window's left edge where it was, within the screen, when it goes below or
    // above; its top when it goes beside.
    const int left = std::clamp(frame.left(), room.left(),
                                std::max(room.left(), room.right() - frame.width() + 1));
    const int top = std::clamp(frame.top(), room.top(),
                               std::max(room.top(), room.bottom() - frame.height() + 1));
    QPoint to;
    if (area.bottom() + gap + frame.height() <= room.bottom() + 1)
        to = {left, area.bottom() + gap};
    else if (area.top() - gap - frame.height() >= room.top())
        to = {left, area.top() - gap - frame.height()};
    else if (area.right() + gap + frame.width() <= room.right() + 1)
        to = {area.right() + gap, top};
    else
        to = {std::max(room.left(), area.left() - gap - frame.width()), top};
    // move() places the frame's top left corner.
    window->move(to);
}

QRect textArea(const QPlainTextEdit *box, int qtFrom, int qtTo)
{
    QTextCursor cursor(box->document());
    cursor.setPosition(qtFrom);
    QRect area = box->cursorRect(cursor);
    cursor.setPosition(qtTo);
    area = area.united(box->cursorRect(cursor));
    // The line's height either side, so the text stays readable around it.
    area.adjust(0, -area.height() / 2, 0, area.height() / 2);
    area = area.intersected(box->viewport()->rect());
    if (area.isEmpty())
        return {};
    return QRect(box->viewport()->mapToGlobal(area.topLeft()), area.size());
}

void bringToFront(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace pw
