#pragma once
// Pieces the tag dialogs share: named fields, editable attribute lists, the colour swatch with
// its picker, and a group of numbered fields (one name, told apart by the "index" property).
#include <QColor>
#include <QFrame>
#include <QStringList>

#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace pw {

class Platform;

QLineEdit *namedLineEdit(const char *name);

// A drop-down list with the given entries, the first one chosen. An editable list lets the
// user clear its text, which drops the attribute it stands for.
QComboBox *namedList(const char *name, const QStringList &entries, bool editable = true);

// `count` fields all named `name`, with "index" 0 .. count - 1.
std::vector<QLineEdit *> fieldGroup(const char *name, int count);

// Enter in any of these fields does what the button does, and only that (the dialog's
// default button stays unpressed). Each field names the button in its "enterPresses".
void pressOnEnter(const std::vector<QLineEdit *> &fields, QPushButton *button);

// Gives each label of the window that names no box yet the box it stands before: the next
// cell of its grid row (or the cell below it), or the next item of its row or column. The
// label then names the box for the reader, and its "&" key moves to it. Call it once the
// window's layout is built.
void nameBoxesByLabels(QWidget *window);

// Wrapped text takes the most lines at the window's least width: the window keeps the height
// it needs there, so nothing else is squeezed. Call it once the layout is built.
void keepRoomForWrappedText(QWidget &window);

// Tab stops at the chosen option of each exclusive group of the window (at every option
// while none is chosen); the arrow keys move between the options.
void tabToCheckedOptions(QWidget *window);

// A patch of colour. The colour is also readable as the "colour" property.
class ColourSwatch : public QFrame {
    Q_OBJECT
    Q_PROPERTY(QColor colour READ colour WRITE setColour)
public:
    explicit ColourSwatch(const char *name, const QColor &colour = Qt::white,
                          QWidget *parent = nullptr);
    QColor colour() const { return colour_; }
    void setColour(const QColor &colour);

private:
    QColor colour_;
};

// The system colour picker as a dialog uses it: it opens on the colour chosen last in it
// during this showing of the dialog (black before the first choice).
class ColourPicker {
public:
    explicit ColourPicker(Platform &platform) : platform_(platform) {}
    // The chosen colour; false when the picker was cancelled.
    bool pick(QColor &chosen);

private:
    Platform &platform_;
    QColor last_ = Qt::black;
};

} // namespace pw
