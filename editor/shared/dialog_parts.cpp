#include "shared/dialog_parts.h"

#include "shared/platform.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace pw {

QLineEdit *namedLineEdit(const char *name)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(QString::fromUtf8(name));
    return edit;
}

QComboBox *namedList(const char *name, const QStringList &entries, bool editable)
{
    auto *list = new QComboBox;
    list->setObjectName(QString::fromUtf8(name));
    list->setEditable(editable);
    // Typed text must not become a new entry on Enter.
    list->setInsertPolicy(QComboBox::NoInsert);
    list->addItems(entries);
    list->setCurrentIndex(0);
    return list;
}

std::vector<QLineEdit *> fieldGroup(const char *name, int count)
{
    std::vector<QLineEdit *> fields;
    for (int k = 0; k < count; ++k) {
        QLineEdit *field = namedLineEdit(name);
        field->setProperty("index", k);
        fields.push_back(field);
    }
    return fields;
}

void pressOnEnter(const std::vector<QLineEdit *> &fields, QPushButton *button)
{
    for (QLineEdit *field : fields)
        QObject::connect(field, &QLineEdit::returnPressed, button, &QPushButton::click);
}

ColourSwatch::ColourSwatch(const char *name, const QColor &colour, QWidget *parent) : QFrame(parent)
{
    setObjectName(QString::fromUtf8(name));
    setFrameShape(QFrame::Box);
    setMinimumSize(48, 24);
    setAutoFillBackground(true);
    setColour(colour);
}

void ColourSwatch::setColour(const QColor &colour)
{
    colour_ = colour;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colour);
    setPalette(palette);
}

bool ColourPicker::pick(QColor &chosen)
{
    const std::optional<QColor> answer = platform_.chooseColor(last_);
    if (!answer || !answer->isValid())
        return false;
    last_ = *answer;
    chosen = *answer;
    return true;
}

} // namespace pw
