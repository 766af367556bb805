#pragma once
// Dialog controls are found by their names (tests, and the program's own lookups), so they are
// made with their name from the start.
#include <QLabel>
#include <QPushButton>

namespace pw {

inline QLabel *namedLabel(const char *name, const char *caption)
{
    auto *label = new QLabel(QString::fromUtf8(caption));
    label->setObjectName(QString::fromUtf8(name));
    return label;
}

// A label that names the box: read with it, and its "&" key moves to it.
inline QLabel *labelFor(QWidget *box, const char *name, const char *caption)
{
    QLabel *label = namedLabel(name, caption);
    label->setBuddy(box);
    return label;
}

// A button that Enter in a text box does not press by accident.
inline QPushButton *namedButton(const char *name, const char *caption)
{
    auto *button = new QPushButton(QString::fromUtf8(caption));
    button->setObjectName(QString::fromUtf8(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace pw
