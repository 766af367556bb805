#include "shared/flow_layout.h"

#include <QWidget>

#include <algorithm>

namespace pw {

FlowLayout::FlowLayout(QWidget *parent, int spacing) : QLayout(parent)
{
    setSpacing(spacing);
    setContentsMargins(4, 3, 4, 3);
}

FlowLayout::~FlowLayout()
{
    while (QLayoutItem *item = takeAt(0))
        delete item;
}

void FlowLayout::addItem(QLayoutItem *item)
{
    items_.append(item);
}

int FlowLayout::count() const
{
    return int(items_.size());
}

QLayoutItem *FlowLayout::itemAt(int index) const
{
    return items_.value(index);
}

QLayoutItem *FlowLayout::takeAt(int index)
{
    return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
}

Qt::Orientations FlowLayout::expandingDirections() const
{
    return {};
}

bool FlowLayout::hasHeightForWidth() const
{
    return true;
}

int FlowLayout::heightForWidth(int width) const
{
    return arrange(QRect(0, 0, width, 0), false);
}

QSize FlowLayout::minimumSize() const
{
    QSize size;
    for (const QLayoutItem *item : items_)
        size = size.expandedTo(item->minimumSize());
    const QMargins m = contentsMargins();
    return size + QSize(m.left() + m.right(), m.top() + m.bottom());
}

QSize FlowLayout::sizeHint() const
{
    return minimumSize();
}

void FlowLayout::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

int FlowLayout::arrange(const QRect &rect, bool apply) const
{
    const QMargins m = contentsMargins();
    const QRect area = rect.adjusted(m.left(), m.top(), -m.right(), -m.bottom());
    int x = area.x();
    int y = area.y();
    int rowHeight = 0;
    for (QLayoutItem *item : items_) {
        const QSize hint = item->sizeHint();
        if (x + hint.width() > area.right() + 1 && x > area.x()) {
            x = area.x();
            y += rowHeight + spacing();
            rowHeight = 0;
        }
        if (apply)
            item->setGeometry(QRect(QPoint(x, y), hint));
        x += hint.width() + spacing();
        rowHeight = std::max(rowHeight, hint.height());
    }
    return y + rowHeight - rect.y() + m.bottom();
}

} // namespace pw
