#include "shared/dialog_parts.h"

#include "shared/platform.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QButtonGroup>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCompleter>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLayout>
#include <QPlainTextEdit>
#include <QSet>
#include <QTextEdit>
#include <QKeyEvent>
#include <QPointer>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

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
    // Completion offers its entries in a list below the box: inline completion takes the
    // Enter that should press the dialog's default button whenever the text is selected
    // (as it is after Tab).
    if (QCompleter *completer = list->completer())
        completer->setCompletionMode(QCompleter::PopupCompletion);
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

namespace {

// Takes Enter in the widget it watches: the button is pressed, and the key goes no further
// (the dialog's default button is not pressed as well).
class EnterPresses : public QObject {
public:
    EnterPresses(QWidget *field, QPushButton *button) : QObject(field), button_(button)
    {
        field->installEventFilter(this);
        field->setProperty("enterPresses", button->objectName());
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if ((key == Qt::Key_Return || key == Qt::Key_Enter) && button_) {
                button_->click();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QPushButton> button_;
};

} // namespace

void pressOnEnter(const std::vector<QLineEdit *> &fields, QPushButton *button)
{
    for (QLineEdit *field : fields)
        new EnterPresses(field, button);
}

namespace {

// A control that holds a value and shows no caption of its own.
bool isBox(const QWidget *widget)
{
    return qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QComboBox *>(widget)
           || qobject_cast<const QAbstractSpinBox *>(widget)
           || qobject_cast<const QAbstractSlider *>(widget)
           || qobject_cast<const QAbstractItemView *>(widget)
           || qobject_cast<const QPlainTextEdit *>(widget)
           || qobject_cast<const QTextEdit *>(widget);
}

// The first box of a layout item: the widget itself, or the first box inside a nested layout.
QWidget *firstBox(QLayoutItem *item)
{
    if (!item)
        return nullptr;
    if (QWidget *widget = item->widget())
        return isBox(widget) ? widget : nullptr;
    if (QLayout *inner = item->layout()) {
        for (int i = 0; i < inner->count(); ++i) {
            if (QWidget *box = firstBox(inner->itemAt(i)))
                return box;
            if (inner->itemAt(i)->widget())
                return nullptr; // a caption or button comes first
        }
    }
    return nullptr;
}

QWidget *boxAfter(QLayout *layout, int index)
{
    if (auto *grid = qobject_cast<QGridLayout *>(layout)) {
        int row = 0, column = 0, rows = 0, columns = 0;
        grid->getItemPosition(index, &row, &column, &rows, &columns);
        if (QWidget *right = firstBox(grid->itemAtPosition(row, column + columns)))
            return right;
        return firstBox(grid->itemAtPosition(row + rows, column));
    }
    if (auto *form = qobject_cast<QFormLayout *>(layout)) {
        int row = 0;
        QFormLayout::ItemRole role;
        form->getItemPosition(index, &row, &role);
        return role == QFormLayout::LabelRole ? firstBox(form->itemAt(row, QFormLayout::FieldRole))
                                              : nullptr;
    }
    return firstBox(layout->itemAt(index + 1));
}

} // namespace

void nameBoxesByLabels(QWidget *window)
{
    QList<QLayout *> layouts = window->findChildren<QLayout *>();
    for (QWidget *child : window->findChildren<QWidget *>()) {
        if (child->layout() && !layouts.contains(child->layout()))
            layouts << child->layout();
    }
    QSet<const QWidget *> named;
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        if (label->buddy())
            named.insert(label->buddy());
    }
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (label->buddy() || label->text().isEmpty())
            continue;
        for (QLayout *layout : layouts) {
            const int index = layout->indexOf(label);
            if (index < 0)
                continue;
            QWidget *box = boxAfter(layout, index);
            if (box && !named.contains(box)) {
                label->setBuddy(box);
                named.insert(box);
            }
            break;
        }
    }
}

void keepRoomForWrappedText(QWidget &window)
{
    QLayout *layout = window.layout();
    if (!layout || !layout->hasHeightForWidth())
        return;
    layout->activate();
    const int width = std::max(window.minimumWidth(), layout->minimumSize().width());
    window.setMinimumHeight(layout->totalHeightForWidth(width));
}

void tabToCheckedOptions(QWidget *window)
{
    for (QButtonGroup *group : window->findChildren<QButtonGroup *>()) {
        if (!group->exclusive())
            continue;
        auto follow = [group] {
            const bool chosen = group->checkedButton() != nullptr;
            for (QAbstractButton *option : group->buttons())
                option->setFocusPolicy(!chosen || option->isChecked() ? Qt::StrongFocus
                                                                      : Qt::ClickFocus);
        };
        follow();
        QObject::connect(group, &QButtonGroup::buttonToggled, window, follow);
    }
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
