#pragma once
// The slider that counts list items (1 to 25) and the label that shows its value, as the
// list dialog and the list-items dialog both have them.
#include "shared/named_widgets.h"

#include <QSlider>

namespace pw {

// Names and sets up `slider` (`MySlider`) and returns its label (`lblItems`).
inline QLabel *setUpListItemSlider(QSlider *slider)
{
    slider->setObjectName(QStringLiteral("MySlider"));
    slider->setRange(1, 25);
    slider->setSingleStep(1);
    slider->setPageStep(5);
    slider->setValue(1);
    slider->setTickPosition(QSlider::TicksBelow);
    QLabel *count = namedLabel("lblItems", "1");
    count->setMinimumWidth(24);
    QObject::connect(slider, &QSlider::valueChanged, count,
                     [count](int value) { count->setText(QString::number(value)); });
    return count;
}

} // namespace pw
